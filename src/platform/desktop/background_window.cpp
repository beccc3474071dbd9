// The background window on a plain Qt widget that fills itself with one colour.
#include "platform/desktop/background_window.h"

#include <QPainter>
#include <QWidget>

namespace velcrum::platform {
namespace {

class FilledWidget final : public QWidget {
 public:
  explicit FilledWidget(BackgroundWindow::FillColour fill) : fill_(fill) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    const Colour colour = fill_();
    QPainter(this).fillRect(rect(), QColor(colour.red, colour.green, colour.blue));
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
  parts_->widget->setGeometry(left, top, width, height);
}

void BackgroundWindow::Move(int left, int top) {
  parts_->widget->move(left, top);
}

void BackgroundWindow::Resize(int width, int height) {
  parts_->widget->resize(width, height);
}

void BackgroundWindow::Show() {
  parts_->widget->show();
  parts_->widget->update();
}

void BackgroundWindow::Repaint() {
  parts_->widget->update();
}

bool BackgroundWindow::SavePicture(const std::string& path) {
  return parts_->widget->grab().save(QString::fromLocal8Bit(path.c_str()), "PNG");
}

}  // namespace velcrum::platform
