// The background window on a plain Qt widget that fills itself with one colour.
#include "platform/desktop/background_window.h"

#include <QImage>
#include <QMoveEvent>
#include <QPainter>
#include <QWidget>

namespace velcrum::platform {
namespace {

class FilledWidget final : public QWidget {
 public:
  explicit FilledWidget(BackgroundWindow::FillColour fill) : fill_(fill) {}

  QImage picture;
  bool moveLocked = false;
  // Where the owner last put the window's client area; a locked window is brought back
  // here. The client area, not the frame: a frame that comes, goes or is reported late
  // moves the frame's corner, not the window.
  QPoint placedAt;

 protected:
  void paintEvent(QPaintEvent*) override {
    const Colour colour = fill_();
    QPainter painter(this);
    painter.fillRect(rect(), QColor(colour.red, colour.green, colour.blue));
    if (!picture.isNull()) painter.drawImage(QPoint(0, 0), picture);
  }

  void moveEvent(QMoveEvent* event) override {
    QWidget::moveEvent(event);
    if (!moveLocked || geometry().topLeft() == placedAt) return;
    // Undone from the event loop: the window manager's own move is finished by then.
    QMetaObject::invokeMethod(
        this, [this] { setGeometry(QRect(placedAt, size())); }, Qt::QueuedConnection);
  }

 private:
  BackgroundWindow::FillColour fill_;
};

}  // namespace

struct BackgroundWindow::Parts {
  std::unique_ptr<FilledWidget> widget;
  std::unique_ptr<Window> window;
};

std::unique_ptr<BackgroundWindow> BackgroundWindow::Create(std::string_view title,
                                                           FillColour fill) {
  auto parts = std::make_unique<Parts>();
  parts->widget = std::make_unique<FilledWidget>(fill);
  parts->window = Window::Create(Window::Kind::kTopLevel, title, parts->widget.get());
  if (!parts->window) return nullptr;
  return std::unique_ptr<BackgroundWindow>(new BackgroundWindow(std::move(parts)));
}

BackgroundWindow::BackgroundWindow(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

BackgroundWindow::~BackgroundWindow() {
  // The window (its registration) goes before the widget it stands for.
  parts_->window.reset();
  parts_->widget.reset();
}

Window& BackgroundWindow::GetWindow() {
  return *parts_->window;
}

void BackgroundWindow::SetMaximumSize(int width, int height) {
  parts_->widget->setMaximumSize(width, height);
}

void BackgroundWindow::SetGeometry(int left, int top, int width, int height) {
  parts_->widget->placedAt = QPoint(left, top);
  parts_->widget->setGeometry(left, top, width, height);
}

void BackgroundWindow::Move(int left, int top) {
  parts_->widget->move(left, top);
  parts_->widget->placedAt = parts_->widget->geometry().topLeft();
}

void BackgroundWindow::Resize(int width, int height) {
  parts_->widget->resize(width, height);
}

void BackgroundWindow::Show() {
  parts_->widget->show();
  parts_->widget->update();
}

void BackgroundWindow::SetFrame(const Frame& frame) {
  QWidget& widget = *parts_->widget;
  Qt::WindowFlags flags = Qt::Window;
  if (frame.titleBar) {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    // Win32 puts the close box on the system menu's side of the title bar.
    if (frame.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (frame.minimiseBox) flags |= Qt::WindowMinimizeButtonHint;
    if (frame.maximiseBox) flags |= Qt::WindowMaximizeButtonHint;
  } else {
    flags |= Qt::FramelessWindowHint;
  }
  if (widget.windowFlags() == flags) return;
  // Qt hides a window whose flags change; it comes back where it was.
  const bool shown = widget.isVisible();
  widget.setWindowFlags(flags);
  if (shown) widget.show();
}

void BackgroundWindow::Minimise() {
  parts_->widget->showMinimized();
}

void BackgroundWindow::Maximise() {
  parts_->widget->showMaximized();
}

bool BackgroundWindow::IsMinimised() const {
  return parts_->widget->isMinimized();
}

bool BackgroundWindow::IsMaximised() const {
  return parts_->widget->isMaximized();
}

bool BackgroundWindow::IsVisible() const {
  return parts_->widget->isVisible();
}

void BackgroundWindow::BringToTop() {
  parts_->widget->raise();
  parts_->widget->activateWindow();
}

void BackgroundWindow::TakeFocus() {
  parts_->widget->activateWindow();
  parts_->widget->setFocus(Qt::OtherFocusReason);
}

void BackgroundWindow::SendToBottom() {
  parts_->widget->lower();
}

void BackgroundWindow::SetMoveLock(bool locked) {
  parts_->widget->moveLocked = locked;
}

bool BackgroundWindow::SetPicture(std::string_view imageBytes) {
  QImage& picture = parts_->widget->picture;
  picture = QImage();
  if (!imageBytes.empty()) {
    picture.loadFromData(reinterpret_cast<const uchar*>(imageBytes.data()),
                         static_cast<int>(imageBytes.size()));
  }
  parts_->widget->update();
  return imageBytes.empty() || !picture.isNull();
}

void BackgroundWindow::Repaint() {
  parts_->widget->update();
}

bool BackgroundWindow::SavePicture(const std::string& path) {
  return parts_->widget->grab().save(QString::fromLocal8Bit(path.c_str()), "PNG");
}

}  // namespace velcrum::platform
