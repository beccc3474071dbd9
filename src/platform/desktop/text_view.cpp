// The text view on a Qt widget that paints its rows itself and carries two QScrollBar
// children along its right and bottom edges.
#include "platform/desktop/text_view.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <string>

#include "platform/desktop/desktop.h"
#include "platform/desktop/slider_requests.h"
#include "platform/desktop/text_conversion.h"
#include "platform/dialog.h"

namespace velcrum::platform {
namespace {

constexpr int kLinesPerWheelNotch = 3;
constexpr int kWheelNotch = 120;
// The shortest time between two paintings of new text: 50 a second.
constexpr qint64 kPaintIntervalMs = 20;

QColor ToQColor(Colour colour) {
  return QColor(colour.red, colour.green, colour.blue);
}

// A row's text as painted: control characters (a line's own line feed) show as blanks.
QString Printable(std::string_view text) {
  std::string shown(text);
  std::replace_if(
      shown.begin(), shown.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
  return ToQString(shown);
}

class TextViewWidget final : public QWidget {
 public:
  TextViewWidget(const TextViewStyle& look, TextView::RowSource rows)
      : look_(look),
        rows_(std::move(rows)),
        vertical_(Qt::Vertical, this),
        horizontal_(Qt::Horizontal, this) {
    font_.setFamilies({"DejaVu Sans Mono", "Liberation Mono", "Monospace"});
    font_.setStyleHint(QFont::Monospace);
    font_.setFixedPitch(true);
    font_.setWeight(QFont::Normal);
    font_.setPixelSize(look.fontPixelSize);
    const QFontMetrics metrics(font_);
    cellWidth_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('0')));
    cellHeight_ = std::max(1, metrics.height());
    ascent_ = metrics.ascent();
    extent_ = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (QScrollBar* bar : {&vertical_, &horizontal_}) {
      bar->setFocusPolicy(Qt::NoFocus);
      bar->setTracking(false);
      bar->setRange(0, 0);
      const uint32_t message = bar == &vertical_ ? WM_VSCROLL : WM_HSCROLL;
      QObject::connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, message](int a) {
        uint16_t request = 0;
        if (!SliderRequestOf(a, request)) return;
        // Qt applies the action's position after this signal; the owner sets the thumb.
        bar->setSliderPosition(bar->value());
        Tell(message, request, bar->value());
      });
      QObject::connect(bar, &QAbstractSlider::sliderMoved, this,
                       [this, message](int position) { Tell(message, SB_THUMBTRACK, position); });
      QObject::connect(bar, &QAbstractSlider::sliderReleased, this, [this, bar, message] {
        const int released = bar->sliderPosition();
        bar->setSliderPosition(bar->value());
        Tell(message, SB_THUMBPOSITION, released);
      });
    }
  }

  Window* window = nullptr;
  int firstColumn = 0;

  int CellWidth() const { return cellWidth_; }
  int CellHeight() const { return cellHeight_; }
  QRect TextArea() const {
    return QRect(0, 0, std::max(0, width() - extent_), std::max(0, height() - extent_));
  }

  void SetScrollBars(const TextViewScrollBar& vertical, const TextViewScrollBar& horizontal) {
    wantedVertical_ = vertical;
    wantedHorizontal_ = horizontal;
    Schedule();
  }

  void TextMovedUp(int rows) {
    movedUp_ += rows;
    Schedule();
  }

  void TextChanged() {
    changed_ = true;
    Schedule();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    const QRect area = TextArea();
    vertical_.setGeometry(area.width(), 0, extent_, area.height());
    horizontal_.setGeometry(0, area.height(), area.width(), extent_);
    changed_ = true;
    Tell(WM_SIZE, 0, 0, static_cast<int32_t>(MakeLong(area.width(), area.height())));
    update();
  }

  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    const QRect area = TextArea();
    // The square between the two scroll bars.
    painter.fillRect(
        QRect(area.width(), area.height(), width() - area.width(), height() - area.height()),
        palette().window());
    const QRect exposed = event->rect() & area;
    if (exposed.isEmpty()) return;
    painter.setClipRect(exposed);
    painter.fillRect(exposed, ToQColor(look_.background));
    painter.setFont(font_);
    const int x = -firstColumn * cellWidth_;
    const int lowest = (area.height() - 1 - exposed.bottom()) / cellHeight_;
    const int highest = (area.height() - 1 - exposed.top()) / cellHeight_;
    for (int row = std::max(0, lowest); row <= highest; ++row) {
      const std::optional<TextRow> text = rows_(row);
      if (!text) break;
      const int top = area.height() - (row + 1) * cellHeight_;
      QColor ink = ToQColor(look_.text);
      if (text->selected) {
        painter.fillRect(QRect(0, top, area.width(), cellHeight_), ink);
        ink = ToQColor(look_.background);
      }
      painter.setPen(ink);
      painter.drawText(x, top + ascent_, Printable(text->text));
    }
  }

  void wheelEvent(QWheelEvent* event) override {
    const QPoint delta = event->angleDelta();
    const bool sideways = delta.x() != 0 && delta.y() == 0;
    const int notches = (sideways ? delta.x() : delta.y()) / kWheelNotch;
    const uint32_t message = sideways ? WM_HSCROLL : WM_VSCROLL;
    const uint16_t request = notches > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (int n = 0; n < std::abs(notches) * kLinesPerWheelNotch; ++n) Tell(message, request, 0);
    event->accept();
  }

 private:
  void Tell(uint32_t message, uint16_t request, int position, int32_t lParam = 0) {
    if (window)
      Send(window->Handle(),
           Message::Plain(message, MakeLong(request, static_cast<uint32_t>(position)), lParam));
  }

  // The painting follows when the event loop next runs, or, within kPaintIntervalMs of
  // the last one, once that time is up: a stream of lines is painted at most so often.
  void Schedule() {
    if (scheduled_) return;
    scheduled_ = true;
    const qint64 since = sincePaint_.isValid() ? sincePaint_.elapsed() : kPaintIntervalMs;
    const int wait = since >= kPaintIntervalMs ? 0 : static_cast<int>(kPaintIntervalMs - since);
    QTimer::singleShot(wait, this, [this] { Flush(); });
  }

  static void Apply(QScrollBar& bar, const TextViewScrollBar& wanted) {
    const QSignalBlocker blocker(bar);
    bar.setRange(0, std::max(0, wanted.maximum));
    bar.setPageStep(std::max(1, wanted.page));
    bar.setValue(wanted.position);
    bar.setEnabled(wanted.maximum > 0);
  }

  // One painting for whatever changed since the last: the text moved up by fewer rows than
  // fit is scrolled on the screen, and only the exposed strip is painted.
  void Flush() {
    scheduled_ = false;
    sincePaint_.start();
    Apply(vertical_, wantedVertical_);
    Apply(horizontal_, wantedHorizontal_);
    const QRect area = TextArea();
    if (!changed_ && movedUp_ > 0 && movedUp_ * cellHeight_ < area.height()) {
      scroll(0, -movedUp_ * cellHeight_, area);
    } else if (changed_ || movedUp_ > 0) {
      update(area);
    }
    changed_ = false;
    movedUp_ = 0;
  }

  TextViewStyle look_;
  TextView::RowSource rows_;
  QScrollBar vertical_;
  QScrollBar horizontal_;
  QFont font_;
  int cellWidth_ = 1;
  int cellHeight_ = 1;
  int ascent_ = 0;
  int extent_ = 0;  // the scroll bars' thickness
  TextViewScrollBar wantedVertical_;
  TextViewScrollBar wantedHorizontal_;
  bool scheduled_ = false;
  QElapsedTimer sincePaint_;
  bool changed_ = false;
  int movedUp_ = 0;
};

}  // namespace

struct TextView::Parts {
  std::unique_ptr<TextViewWidget> widget;
  std::unique_ptr<Window> window;
};

std::unique_ptr<TextView> TextView::Create(std::string_view title, const TextViewStyle& style,
                                           RowSource rows) {
  auto parts = std::make_unique<Parts>();
  parts->widget = std::make_unique<TextViewWidget>(style, std::move(rows));
  parts->window = Window::Create(Window::Kind::kTopLevel, title, parts->widget.get());
  if (!parts->window) return nullptr;
  parts->widget->window = parts->window.get();
  return std::unique_ptr<TextView>(new TextView(std::move(parts)));
}

TextView::TextView(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

TextView::~TextView() {
  // The window (its registration) goes before the widget it stands for.
  parts_->widget->window = nullptr;
  parts_->window.reset();
  parts_->widget.reset();
}

Window& TextView::GetWindow() {
  return *parts_->window;
}

void TextView::SetGeometry(int left, int top, int width, int height) {
  parts_->widget->setGeometry(left, top, width, height);
}

void TextView::Show() {
  parts_->widget->show();
}

void TextView::BringToTop() {
  parts_->widget->raise();
}

int TextView::CellWidth() const {
  return parts_->widget->CellWidth();
}

int TextView::CellHeight() const {
  return parts_->widget->CellHeight();
}

int TextView::ClientWidth() const {
  return parts_->widget->TextArea().width();
}

int TextView::ClientHeight() const {
  return parts_->widget->TextArea().height();
}

void TextView::SetFirstColumn(int column) {
  parts_->widget->firstColumn = column;
}

void TextView::SetScrollBars(const TextViewScrollBar& vertical,
                             const TextViewScrollBar& horizontal) {
  parts_->widget->SetScrollBars(vertical, horizontal);
}

void TextView::TextMovedUp(int rows) {
  parts_->widget->TextMovedUp(rows);
}

void TextView::TextChanged() {
  parts_->widget->TextChanged();
}

}  // namespace velcrum::platform
