// The controls with a position in a range: SCROLLBAR, msctls_trackbar32,
// msctls_updown32 and msctls_progress32, addressed by SetScrollRange, SetScrollPos and
// ScrollPos.
//
// A scroll bar tells its dialog what the user does (WM_VSCROLL or WM_HSCROLL: SB_LINEUP
// and its relatives, SB_THUMBTRACK with the dragged position while the thumb is dragged,
// SB_THUMBPOSITION on release, then SB_ENDSCROLL) and keeps its position until the
// program sets it: the dragged thumb follows the mouse, and goes back to the program's
// position when released. A trackbar moves its own thumb and tells the same way (TB_ codes
// have the SB_ numbers). An up-down control steps its position and sends SB_THUMBPOSITION
// with it; a progress bar only shows.
#include <QHBoxLayout>
#include <QProgressBar>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/desktop/dialog_control.h"
#include "platform/desktop/slider_requests.h"

namespace velcrum::platform {
namespace {

constexpr uint32_t SBS_VERT = 0x0001;
constexpr uint32_t TBS_VERT = 0x0002;
constexpr uint32_t UDS_WRAP = 0x0001;
constexpr uint32_t UDS_HORZ = 0x0040;
constexpr uint32_t PBS_VERTICAL = 0x0004;

// Scroll bars and trackbars: one Qt slider, and whether it keeps the program's position.
class SliderControl final : public DialogControl {
 public:
  SliderControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    const uint32_t style = blueprint.controlTemplate.style;
    std::unique_ptr<QAbstractSlider> slider;
    if (blueprint.behaviour == "SCROLLBAR") {
      vertical_ = style & SBS_VERT;
      programOwnsThumb_ = true;
      slider =
          std::make_unique<QScrollBar>(vertical_ ? Qt::Vertical : Qt::Horizontal, blueprint.parent);
      slider->setRange(0, 0);  // a scroll bar control's range is empty until it is set
      slider->setTracking(false);
    } else {
      vertical_ = style & TBS_VERT;
      auto trackbar =
          std::make_unique<QSlider>(vertical_ ? Qt::Vertical : Qt::Horizontal, blueprint.parent);
      trackbar->setRange(0, 100);
      trackbar->setTickPosition(QSlider::TicksBelow);
      // Windows puts a vertical trackbar's minimum at the top.
      trackbar->setInvertedAppearance(vertical_);
      trackbar->setInvertedControls(vertical_);
      slider = std::move(trackbar);
    }
    slider_ = slider.get();
    QObject::connect(slider_, &QAbstractSlider::sliderMoved, &context_,
                     [this](int position) { Scroll(vertical_, SB_THUMBTRACK, position); });
    QObject::connect(slider_, &QAbstractSlider::sliderReleased, &context_, [this] {
      const int released = slider_->sliderPosition();
      if (programOwnsThumb_) slider_->setSliderPosition(slider_->value());
      Scroll(vertical_, SB_THUMBPOSITION, released);
      Scroll(vertical_, SB_ENDSCROLL, 0);
    });
    QObject::connect(slider_, &QAbstractSlider::actionTriggered, &context_, [this](int action) {
      uint16_t request = 0;
      if (!SliderRequestOf(action, request)) return;
      // Qt applies the action's position after this signal: a scroll bar keeps its own.
      if (programOwnsThumb_) slider_->setSliderPosition(slider_->value());
      Scroll(vertical_, request, slider_->sliderPosition());
      Scroll(vertical_, SB_ENDSCROLL, 0);
    });
    if (programOwnsThumb_) {
      // Whatever else Qt would move (the release of a drag) the position stays the
      // program's.
      QObject::connect(slider_, &QAbstractSlider::valueChanged, &context_, [this](int value) {
        if (!settingPosition_ && value != position_) {
          settingPosition_ = true;
          slider_->setValue(position_);
          settingPosition_ = false;
        }
      });
    }
    Adopt(std::move(slider), blueprint.rect);
  }

  void SetRange(int minimum, int maximum) override {
    settingPosition_ = true;
    slider_->setRange(minimum, std::max(minimum, maximum));
    slider_->setPageStep(std::max(1, (slider_->maximum() - slider_->minimum()) / 10));
    position_ = slider_->value();
    settingPosition_ = false;
  }
  void SetPosition(int position) override {
    settingPosition_ = true;
    slider_->setValue(position);  // clamped to the range, as Windows clamps it
    position_ = slider_->value();
    settingPosition_ = false;
  }
  int Position() const override { return slider_->value(); }

 private:
  QAbstractSlider* slider_;
  bool vertical_ = false;
  bool programOwnsThumb_ = false;
  bool settingPosition_ = false;
  int position_ = 0;
};

// msctls_updown32: two arrow buttons stepping a position.
class UpDownControl final : public DialogControl {
 public:
  UpDownControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    const uint32_t style = blueprint.controlTemplate.style;
    horizontal_ = style & UDS_HORZ;
    wrap_ = style & UDS_WRAP;
    auto widget = std::make_unique<QWidget>(blueprint.parent);
    QBoxLayout* layout = horizontal_ ? static_cast<QBoxLayout*>(new QHBoxLayout(widget.get()))
                                     : static_cast<QBoxLayout*>(new QVBoxLayout(widget.get()));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* less = new QToolButton(widget.get());
    auto* more = new QToolButton(widget.get());
    less->setArrowType(horizontal_ ? Qt::LeftArrow : Qt::DownArrow);
    more->setArrowType(horizontal_ ? Qt::RightArrow : Qt::UpArrow);
    for (QToolButton* button : {less, more}) {
      button->setAutoRepeat(true);
      button->setFocusPolicy(Qt::NoFocus);
      button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    }
    // The up arrow is above, the down arrow below; left and right side by side.
    if (horizontal_) {
      layout->addWidget(less);
      layout->addWidget(more);
    } else {
      layout->addWidget(more);
      layout->addWidget(less);
    }
    QObject::connect(less, &QToolButton::clicked, &context_, [this] { Step(-1); });
    QObject::connect(more, &QToolButton::clicked, &context_, [this] { Step(+1); });
    Adopt(std::move(widget), blueprint.rect);
  }

  void SetRange(int minimum, int maximum) override {
    minimum_ = minimum;
    maximum_ = maximum;
    position_ = std::clamp(position_, std::min(minimum, maximum), std::max(minimum, maximum));
  }
  void SetPosition(int position) override {
    position_ = std::clamp(position, std::min(minimum_, maximum_), std::max(minimum_, maximum_));
  }
  int Position() const override { return position_; }

 private:
  void Step(int towardsMaximum) {
    const int low = std::min(minimum_, maximum_);
    const int high = std::max(minimum_, maximum_);
    // The up (right) arrow goes towards the maximum, even when it is below the minimum.
    int next = position_ + (maximum_ >= minimum_ ? towardsMaximum : -towardsMaximum);
    if (next > high) next = wrap_ ? low : high;
    if (next < low) next = wrap_ ? high : low;
    position_ = next;
    Scroll(!horizontal_, SB_THUMBPOSITION, position_);
    Scroll(!horizontal_, SB_ENDSCROLL, position_);
  }

  bool horizontal_ = false;
  bool wrap_ = false;
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
};

class ProgressControl final : public DialogControl {
 public:
  ProgressControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    auto bar = std::make_unique<QProgressBar>(blueprint.parent);
    bar->setOrientation((blueprint.controlTemplate.style & PBS_VERTICAL) ? Qt::Vertical
                                                                         : Qt::Horizontal);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setFocusPolicy(Qt::NoFocus);
    bar_ = bar.get();
    Adopt(std::move(bar), blueprint.rect);
  }
  ControlKind Kind() const override { return ControlKind::kStatic; }
  void SetRange(int minimum, int maximum) override {
    bar_->setRange(minimum, std::max(minimum, maximum));
  }
  void SetPosition(int position) override {
    bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
  }
  int Position() const override { return bar_->value(); }

 private:
  QProgressBar* bar_;
};

}  // namespace

std::unique_ptr<DialogControl> MakeRange(ControlHost& host, const ControlBlueprint& blueprint) {
  if (blueprint.behaviour == "msctls_updown32")
    return std::make_unique<UpDownControl>(host, blueprint);
  if (blueprint.behaviour == "msctls_progress32")
    return std::make_unique<ProgressControl>(host, blueprint);
  return std::make_unique<SliderControl>(host, blueprint);
}

}  // namespace velcrum::platform
