// The BUTTON class in all its styles (push, default push, check boxes, radio buttons, group
// box, owner-drawn) and the platform's broadcast controls LATCHBUTTON and TALLYLAMP.
//
// Clicks follow Win32: a click (mouse release on the button, or Space) sends BN_CLICKED;
// the "auto" styles change their own check state first, the others leave it to the
// program. An owner-drawn button asks its dialog to paint it (WM_DRAWITEM) on top of what
// it showed before, as a window keeps its pixels.
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <type_traits>

#include "platform/desktop/dialog_control.h"
#include "platform/desktop/text_conversion.h"

namespace velcrum::platform {
namespace {

constexpr uint32_t BS_TYPEMASK = 0x0F;
constexpr uint32_t BS_PUSHBUTTON = 0x00;
constexpr uint32_t BS_DEFPUSHBUTTON = 0x01;
constexpr uint32_t BS_CHECKBOX = 0x02;
constexpr uint32_t BS_AUTOCHECKBOX = 0x03;
constexpr uint32_t BS_RADIOBUTTON = 0x04;
constexpr uint32_t BS_3STATE = 0x05;
constexpr uint32_t BS_AUTO3STATE = 0x06;
constexpr uint32_t BS_GROUPBOX = 0x07;
constexpr uint32_t BS_AUTORADIOBUTTON = 0x09;
constexpr uint32_t BS_OWNERDRAW = 0x0B;
constexpr uint32_t BS_PUSHLIKE = 0x1000;

// The broadcast controls' colours (docs/CONTROLS.md).
const QColor kTallyRed(0xE0, 0x20, 0x20);
const QColor kTallyGreen(0x20, 0xB0, 0x40);
const QColor kLampOff(0x3A, 0x3A, 0x3A);

// A Qt button whose next check state on a click is Win32's for its style.
template <class Base>
class Win32Button : public Base {
 public:
  using Base::Base;
  std::function<void()> onClickState;  // null: the state stays as the program set it

 protected:
  void nextCheckState() override {
    if (onClickState) onClickState();
  }
};

// The check box's three states as Win32 numbers them.
int ToWin32(Qt::CheckState state) {
  return state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
}
Qt::CheckState FromWin32(int state, bool threeState) {
  if (state == 2 && threeState) return Qt::PartiallyChecked;
  return state != 0 ? Qt::Checked : Qt::Unchecked;
}

class PushButtonControl final : public DialogControl {
 public:
  PushButtonControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    auto button = std::make_unique<QPushButton>(ToQString(text_), blueprint.parent);
    defaultButton_ = (blueprint.controlTemplate.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    button->setDefault(defaultButton_);
    button->setAutoDefault(false);
    QObject::connect(button.get(), &QPushButton::clicked, &context_,
                     [this] { Command(BN_CLICKED); });
    button_ = button.get();
    Adopt(std::move(button), blueprint.rect);
  }
  ControlKind Kind() const override {
    return defaultButton_ ? ControlKind::kDefaultPushButton : ControlKind::kPushButton;
  }
  void SetText(std::string_view text) override {
    DialogControl::SetText(text);
    button_->setText(ToQString(text_));
  }

 private:
  QPushButton* button_;
  bool defaultButton_ = false;
};

// Check boxes and radio buttons, also push-like ones.
class CheckControl final : public DialogControl {
 public:
  CheckControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    const uint32_t style = blueprint.controlTemplate.style;
    const uint32_t type = style & BS_TYPEMASK;
    radio_ = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    autoRadio_ = type == BS_AUTORADIOBUTTON;
    threeState_ = type == BS_3STATE || type == BS_AUTO3STATE;
    const QString text = ToQString(text_);
    std::unique_ptr<QAbstractButton> widget;
    if (style & BS_PUSHLIKE) {
      auto button = std::make_unique<Win32Button<QPushButton>>(text, blueprint.parent);
      button->setCheckable(true);
      button->setAutoDefault(false);
      SetClickState(*button, type);
      widget = std::move(button);
    } else if (radio_) {
      auto button = std::make_unique<Win32Button<QRadioButton>>(text, blueprint.parent);
      button->setAutoExclusive(false);
      SetClickState(*button, type);
      widget = std::move(button);
    } else {
      auto box = std::make_unique<Win32Button<QCheckBox>>(text, blueprint.parent);
      box->setTristate(threeState_);
      SetClickState(*box, type);
      widget = std::move(box);
    }
    QObject::connect(widget.get(), &QAbstractButton::clicked, &context_,
                     [this] { Command(BN_CLICKED); });
    button_ = widget.get();
    Adopt(std::move(widget), blueprint.rect);
  }

  ControlKind Kind() const override {
    if (autoRadio_) return ControlKind::kAutoRadio;
    return radio_ ? ControlKind::kRadio : ControlKind::kButton;
  }
  void SetText(std::string_view text) override {
    DialogControl::SetText(text);
    button_->setText(ToQString(text_));
  }
  int CheckState() const override {
    if (auto* box = qobject_cast<QCheckBox*>(button_)) return ToWin32(box->checkState());
    return button_->isChecked() ? 1 : 0;
  }
  void SetCheckState(int state) override {
    if (auto* box = qobject_cast<QCheckBox*>(button_)) {
      box->setCheckState(FromWin32(state, threeState_));
    } else {
      button_->setChecked(state != 0);
    }
    DropOverlays();
  }

 private:
  template <class Button>
  void SetClickState(Win32Button<Button>& button, uint32_t type) {
    switch (type) {
      case BS_AUTOCHECKBOX:
        button.onClickState = [&button] { button.setChecked(!button.isChecked()); };
        break;
      case BS_AUTO3STATE:
        // Win32 goes unchecked, checked, indeterminate and round again.
        if constexpr (std::is_same_v<Button, QCheckBox>) {
          button.onClickState = [&button] {
            const int next = (ToWin32(button.checkState()) + 1) % 3;
            button.setCheckState(FromWin32(next, true));
          };
        } else {
          button.onClickState = [&button] { button.setChecked(!button.isChecked()); };
        }
        break;
      case BS_AUTORADIOBUTTON:
        button.onClickState = [this, &button] {
          button.setChecked(true);
          host_.RadioChecked(*this);
        };
        break;
      default:  // BS_CHECKBOX, BS_3STATE, BS_RADIOBUTTON: the program decides
        break;
    }
  }

  QAbstractButton* button_;
  bool radio_ = false;
  bool autoRadio_ = false;
  bool threeState_ = false;
};

class GroupBoxControl final : public DialogControl {
 public:
  GroupBoxControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    auto box = std::make_unique<QGroupBox>(ToQString(text_), blueprint.parent);
    // A group box lets clicks through to what lies under it, as on Windows.
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
    box_ = box.get();
    Adopt(std::move(box), blueprint.rect);
  }
  ControlKind Kind() const override { return ControlKind::kStatic; }
  void SetText(std::string_view text) override {
    DialogControl::SetText(text);
    box_->setTitle(ToQString(text_));
  }

 private:
  QGroupBox* box_;
};

// A button its dialog paints: every painting starts from the picture the last one left.
class OwnerDrawnButton final : public QAbstractButton {
 public:
  using Draw = std::function<void(QPainter&, uint32_t state)>;
  OwnerDrawnButton(QWidget* parent, Draw draw) : QAbstractButton(parent), draw_(std::move(draw)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    if (canvas_.size() != size()) {
      canvas_ = QPixmap(size());
      canvas_.fill(palette().color(QPalette::Button));
    }
    uint32_t state = 0;
    if (isDown()) state |= ODS_SELECTED;
    if (hasFocus()) state |= ODS_FOCUS;
    if (!isEnabled()) state |= ODS_DISABLED;
    {
      QPainter onCanvas(&canvas_);
      draw_(onCanvas, state);
    }
    QPainter(this).drawPixmap(0, 0, canvas_);
  }

 private:
  Draw draw_;
  QPixmap canvas_;
};

class OwnerDrawControl final : public DialogControl {
 public:
  OwnerDrawControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    auto button = std::make_unique<OwnerDrawnButton>(
        blueprint.parent,
        [this](QPainter& painter, uint32_t state) { OwnerDraw(painter, ODT_BUTTON, state); });
    QObject::connect(button.get(), &QAbstractButton::clicked, &context_,
                     [this] { Command(BN_CLICKED); });
    Adopt(std::move(button), blueprint.rect);
  }
  ControlKind Kind() const override { return ControlKind::kPushButton; }
  void SetText(std::string_view text) override {
    DialogControl::SetText(text);
    Widget()->update();
  }
};

// LATCHBUTTON: a push button that each click latches on or off; on, it shows the tally red.
class LatchButton final : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override {
    if (!isChecked()) {
      QPushButton::paintEvent(event);
      return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kTallyRed.darker(150), 1));
    painter.setBrush(isDown() ? kTallyRed.darker(120) : kTallyRed);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, text());
    if (hasFocus()) {
      painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(rect().adjusted(3, 3, -4, -4));
    }
  }
};

class LatchButtonControl final : public DialogControl {
 public:
  LatchButtonControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    auto button = std::make_unique<LatchButton>(ToQString(text_), blueprint.parent);
    button->setCheckable(true);
    button->setAutoDefault(false);
    QObject::connect(button.get(), &QPushButton::clicked, &context_,
                     [this] { Command(BN_CLICKED); });
    button_ = button.get();
    Adopt(std::move(button), blueprint.rect);
  }
  ControlKind Kind() const override { return ControlKind::kButton; }
  void SetText(std::string_view text) override {
    DialogControl::SetText(text);
    button_->setText(ToQString(text_));
  }
  int CheckState() const override { return button_->isChecked() ? 1 : 0; }
  void SetCheckState(int state) override {
    button_->setChecked(state != 0);
    DropOverlays();
  }

 private:
  QPushButton* button_;
};

// TALLYLAMP: a lamp, off (0), red (1) or green (2), its caption across it. A click on it
// sends BN_CLICKED; only the program changes its state.
class TallyLamp final : public QWidget {
 public:
  explicit TallyLamp(QWidget* parent) : QWidget(parent) {}
  QString text;
  int state = 0;
  std::function<void()> clicked;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor fill = state == 1 ? kTallyRed : state == 2 ? kTallyGreen : kLampOff;
    painter.setPen(QPen(fill.darker(160), 1));
    painter.setBrush(isEnabled() ? fill : fill.darker(140));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.setPen(state == 2 ? Qt::black : state == 1 ? Qt::white : QColor(0xC8, 0xC8, 0xC8));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, text);
  }
  void mousePressEvent(QMouseEvent* event) override { event->accept(); }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        clicked) {
      clicked();
    }
  }
};

class TallyLampControl final : public DialogControl {
 public:
  TallyLampControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    auto lamp = std::make_unique<TallyLamp>(blueprint.parent);
    lamp->text = ToQString(text_);
    lamp->setFocusPolicy(Qt::NoFocus);
    lamp->clicked = [this] { Command(BN_CLICKED); };
    lamp_ = lamp.get();
    Adopt(std::move(lamp), blueprint.rect);
  }
  ControlKind Kind() const override { return ControlKind::kStatic; }
  void SetText(std::string_view text) override {
    DialogControl::SetText(text);
    lamp_->text = ToQString(text_);
    lamp_->update();
  }
  int CheckState() const override { return lamp_->state; }
  void SetCheckState(int state) override {
    lamp_->state = state == 1 || state == 2 ? state : 0;
    lamp_->update();
    DropOverlays();
  }

 private:
  TallyLamp* lamp_;
};

}  // namespace

std::unique_ptr<DialogControl> MakeButton(ControlHost& host, const ControlBlueprint& blueprint) {
  if (blueprint.behaviour == "LATCHBUTTON")
    return std::make_unique<LatchButtonControl>(host, blueprint);
  if (blueprint.behaviour == "TALLYLAMP")
    return std::make_unique<TallyLampControl>(host, blueprint);
  switch (blueprint.controlTemplate.style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
      return std::make_unique<CheckControl>(host, blueprint);
    case BS_GROUPBOX:
      return std::make_unique<GroupBoxControl>(host, blueprint);
    case BS_OWNERDRAW:
      return std::make_unique<OwnerDrawControl>(host, blueprint);
    default:  // push, default push, and the obsolete user and push-box styles
      return std::make_unique<PushButtonControl>(host, blueprint);
  }
}

}  // namespace velcrum::platform
