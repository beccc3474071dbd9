// The STATIC class: text (left, centred, right, single line), filled rectangles, frames and
// etched lines, icons and bitmaps from the dialog's resources, and owner-drawn statics.
// A static lets clicks through to the dialog unless it has SS_NOTIFY; then a click sends
// STN_CLICKED (0).
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <functional>

#include "platform/desktop/dialog_control.h"
#include "platform/desktop/text_conversion.h"

namespace velcrum::platform {
namespace {

constexpr uint32_t SS_TYPEMASK = 0x1F;
constexpr uint32_t SS_LEFT = 0x00;
constexpr uint32_t SS_CENTER = 0x01;
constexpr uint32_t SS_RIGHT = 0x02;
constexpr uint32_t SS_ICON = 0x03;
constexpr uint32_t SS_BLACKRECT = 0x04;
constexpr uint32_t SS_GRAYRECT = 0x05;
constexpr uint32_t SS_WHITERECT = 0x06;
constexpr uint32_t SS_BLACKFRAME = 0x07;
constexpr uint32_t SS_GRAYFRAME = 0x08;
constexpr uint32_t SS_WHITEFRAME = 0x09;
constexpr uint32_t SS_SIMPLE = 0x0B;
constexpr uint32_t SS_LEFTNOWORDWRAP = 0x0C;
constexpr uint32_t SS_OWNERDRAW = 0x0D;
constexpr uint32_t SS_BITMAP = 0x0E;
constexpr uint32_t SS_ETCHEDHORZ = 0x10;
constexpr uint32_t SS_ETCHEDVERT = 0x11;
constexpr uint32_t SS_ETCHEDFRAME = 0x12;
constexpr uint32_t SS_NOPREFIX = 0x0080;
constexpr uint32_t SS_NOTIFY = 0x0100;
constexpr uint32_t SS_CENTERIMAGE = 0x0200;
constexpr uint32_t SS_SUNKEN = 0x1000;
constexpr uint16_t STN_CLICKED = 0;

const QColor kGray(0x80, 0x80, 0x80);

class StaticWidget final : public QWidget {
 public:
  StaticWidget(QWidget* parent, uint32_t style) : QWidget(parent), style_(style) {}
  QString text;
  QImage image;
  std::function<void(QPainter&)> ownerDraw;
  std::function<void()> clicked;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect area = rect();
    switch (style_ & SS_TYPEMASK) {
      case SS_BLACKRECT:
        painter.fillRect(area, Qt::black);
        break;
      case SS_GRAYRECT:
        painter.fillRect(area, kGray);
        break;
      case SS_WHITERECT:
        painter.fillRect(area, Qt::white);
        break;
      case SS_BLACKFRAME:
        Frame(painter, Qt::black);
        break;
      case SS_GRAYFRAME:
        Frame(painter, kGray);
        break;
      case SS_WHITEFRAME:
        Frame(painter, Qt::white);
        break;
      case SS_ETCHEDHORZ:
        painter.fillRect(0, 0, width(), 1, kGray);
        painter.fillRect(0, 1, width(), 1, Qt::white);
        break;
      case SS_ETCHEDVERT:
        painter.fillRect(0, 0, 1, height(), kGray);
        painter.fillRect(1, 0, 1, height(), Qt::white);
        break;
      case SS_ETCHEDFRAME:
        painter.setPen(Qt::white);
        painter.drawRect(area.adjusted(1, 1, -1, -1));
        painter.setPen(kGray);
        painter.drawRect(area.adjusted(0, 0, -2, -2));
        break;
      case SS_ICON:
      case SS_BITMAP:
        if (!image.isNull()) {
          const QPoint at = (style_ & SS_CENTERIMAGE)
                                ? area.center() - QPoint(image.width() / 2, image.height() / 2)
                                : QPoint(0, 0);
          painter.drawImage(at, image);
        }
        break;
      case SS_OWNERDRAW:
        if (ownerDraw) ownerDraw(painter);
        break;
      default:
        PaintText(painter);
        break;
    }
    if (style_ & SS_SUNKEN) {
      painter.setPen(kGray);
      painter.drawLine(0, 0, width() - 1, 0);
      painter.drawLine(0, 0, 0, height() - 1);
      painter.setPen(Qt::white);
      painter.drawLine(0, height() - 1, width() - 1, height() - 1);
      painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    }
    if (style_ & WS_BORDER) Frame(painter, Qt::black);
  }
  void mousePressEvent(QMouseEvent* event) override { event->accept(); }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        clicked) {
      clicked();
    }
  }

 private:
  void Frame(QPainter& painter, const QColor& colour) {
    painter.setPen(colour);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  void PaintText(QPainter& painter) {
    int flags = (style_ & SS_NOPREFIX) ? 0 : Qt::TextShowMnemonic;
    switch (style_ & SS_TYPEMASK) {
      case SS_CENTER:
        flags |= Qt::AlignHCenter | Qt::TextWordWrap;
        break;
      case SS_RIGHT:
        flags |= Qt::AlignRight | Qt::TextWordWrap;
        break;
      case SS_SIMPLE:
      case SS_LEFTNOWORDWRAP:
        flags |= Qt::AlignLeft | Qt::TextSingleLine;
        break;
      default:
        flags |= Qt::AlignLeft | Qt::TextWordWrap;
        break;
    }
    flags |= (style_ & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(rect(), flags, text);
  }

  uint32_t style_;
};

class StaticControl final : public DialogControl {
 public:
  StaticControl(ControlHost& host, const ControlBlueprint& blueprint)
      : DialogControl(host, blueprint.controlTemplate, blueprint.behaviour) {
    const uint32_t style = blueprint.controlTemplate.style;
    auto widget = std::make_unique<StaticWidget>(blueprint.parent, style);
    widget->setFocusPolicy(Qt::NoFocus);
    if (style & SS_NOTIFY) {
      widget->clicked = [this] { Command(STN_CLICKED); };
    } else {
      widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    const uint32_t type = style & SS_TYPEMASK;
    if (type == SS_OWNERDRAW) {
      widget->ownerDraw = [this](QPainter& painter) { OwnerDraw(painter, ODT_STATIC, 0); };
    }
    widget_ = widget.get();
    QRect rect = blueprint.rect;
    if (type == SS_ICON || type == SS_BITMAP) {
      // The caption names the picture; the control takes the picture's size unless it
      // centres it.
      std::string bytes;
      if (host.LoadResourceImage(text_, type == SS_ICON, bytes)) {
        widget->image = DecodeImage(bytes);
      }
      if (!widget->image.isNull() && !(style & SS_CENTERIMAGE)) {
        rect.setSize(widget->image.size());
      }
    } else {
      widget->text = ToQString(text_);
    }
    Adopt(std::move(widget), rect);
  }
  ControlKind Kind() const override { return ControlKind::kStatic; }
  void SetText(std::string_view text) override {
    DialogControl::SetText(text);
    widget_->text = ToQString(text_);
    widget_->update();
  }

 private:
  StaticWidget* widget_;
};

}  // namespace

std::unique_ptr<DialogControl> MakeStatic(ControlHost& host, const ControlBlueprint& blueprint) {
  return std::make_unique<StaticControl>(host, blueprint);
}

}  // namespace velcrum::platform
