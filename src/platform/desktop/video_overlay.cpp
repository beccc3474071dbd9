// The overlay device: a widget that paints the current picture at its own size, fed by a
// camera (through a video sink) or by the test pattern, and the MCI words that drive it.
#include "platform/desktop/video_overlay.h"

#include <QBuffer>
#include <QCamera>
#include <QImageReader>
#include <QImageWriter>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QPainter>
#include <QPointer>
#include <QVideoFrame>
#include <QVideoSink>
#include <QWidget>
#include <charconv>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/atomic_file.h"
#include "platform/desktop/local_dialogs.h"
#include "platform/desktop/overlay_test_pattern.h"
#include "platform/desktop/picture_adjustment.h"
#include "platform/desktop/window.h"
#include "platform/mci.h"
#include "platform/paths.h"

namespace velcrum::platform {
namespace {

constexpr const char* kOverlayTitle = "Video Overlay";

std::optional<int> Number(const std::string& word) {
  int value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

// The words after `keyword` as a rectangle "X Y W H"; nothing when they are not there.
std::optional<QRect> RectangleAfter(const std::vector<std::string>& words, const char* keyword) {
  for (size_t i = 0; i + 4 < words.size(); ++i) {
    if (LowerAsciiText(words[i]) != keyword) continue;
    const auto x = Number(words[i + 1]);
    const auto y = Number(words[i + 2]);
    const auto w = Number(words[i + 3]);
    const auto h = Number(words[i + 4]);
    if (!x || !y || !w || !h) return std::nullopt;
    return QRect(*x, *y, *w, *h);
  }
  return std::nullopt;
}

// The picture at the widget's size: the camera's last frame, a loaded still, or the test
// pattern, adjusted.
class OverlayWidget final : public QWidget {
 public:
  explicit OverlayWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
  }

  void SetLiveFrame(const QImage& frame) {
    if (frozen_) return;
    live_ = frame;
    update();
  }
  void SetStill(const QImage& still) {
    still_ = still;
    frozen_ = true;
    update();
  }
  void SetFrozen(bool frozen) {
    if (frozen && !frozen_) still_ = Source();
    if (!frozen) still_ = QImage();
    frozen_ = frozen;
    update();
  }
  void SetNumbers(int source, int channel) {
    source_ = source;
    channel_ = channel;
    update();
  }
  void SetLive(bool live) {
    if (!live) live_ = QImage();
    update();
  }
  PictureAdjustment& Adjustment() { return adjustment_; }

  // The picture as it is shown.
  QImage Picture() const {
    const QImage source = Source().scaled(size().expandedTo(QSize(1, 1)), Qt::IgnoreAspectRatio,
                                          Qt::SmoothTransformation);
    return AdjustedPicture(source, adjustment_);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(rect(), Picture());
  }

 private:
  QImage Source() const {
    if (frozen_ && !still_.isNull()) return still_;
    if (!live_.isNull()) return live_;
    return OverlayTestPattern(size(), source_, channel_);
  }

  QImage live_;
  QImage still_;
  bool frozen_ = false;
  int source_ = 0;
  int channel_ = 0;
  PictureAdjustment adjustment_;
};

class OverlayDevice final : public MciDevice {
 public:
  OverlayDevice(std::unique_ptr<OverlayWidget> widget, std::unique_ptr<Window> window)
      : widget_(widget.release()), window_(std::move(window)) {
    SelectSource(0);
  }
  ~OverlayDevice() override {
    StopCamera();
    window_.reset();
    delete widget_.data();
  }

  uint32_t Execute(const MciCommand& command, std::string& returned) override {
    if (!widget_) return MCIERR_DEVICE_NOT_READY;  // the control it lay over is gone
    const std::string& verb = command.command;
    std::vector<std::string> lower;
    for (const std::string& word : command.words) lower.push_back(LowerAsciiText(word));
    if (verb == "status") {
      if (lower.size() == 2 && lower[0] == "window" && lower[1] == "handle") {
        returned = std::to_string(window_->Handle());
        return 0;
      }
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if (verb == "setvideo" || verb == "set") return Setting(lower);
    if (verb == "freeze" || verb == "unfreeze") {
      widget_->SetFrozen(verb == "freeze");
      return 0;
    }
    if (verb == "load" || verb == "save") {
      if (command.words.empty()) return MCIERR_FILENAME_REQUIRED;
      const std::string file = HostPath(command.words[0]);
      return verb == "load" ? Load(file) : Save(file, RectangleAfter(lower, "at"));
    }
    if (verb == "window") {
      if (lower.size() == 2 && lower[0] == "state" && (lower[1] == "show" || lower[1] == "hide")) {
        widget_->setVisible(lower[1] == "show");
        if (widget_->isVisible()) widget_->raise();
        return 0;
      }
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if (verb == "put") {
      const std::optional<QRect> place = RectangleAfter(lower, "at");
      if (lower.empty() || (lower[0] != "window" && lower[0] != "destination") || !place) {
        return MCIERR_MISSING_PARAMETER;
      }
      widget_->setGeometry(*place);
      return 0;
    }
    return MCIERR_UNRECOGNIZED_COMMAND;
  }

 private:
  // "brightness|contrast|color|tint|source|channel to N".
  uint32_t Setting(const std::vector<std::string>& words) {
    if (words.size() != 3 || words[1] != "to") return MCIERR_MISSING_PARAMETER;
    const std::optional<int> value = Number(words[2]);
    if (!value) return MCIERR_BAD_INTEGER;
    PictureAdjustment& adjustment = widget_->Adjustment();
    const std::string& what = words[0];
    const bool picture =
        what == "brightness" || what == "contrast" || what == "color" || what == "tint";
    if (picture && (*value < 0 || *value > 255)) return MCIERR_OUTOFRANGE;
    if (what == "brightness") {
      adjustment.brightness = *value;
    } else if (what == "contrast") {
      adjustment.contrast = *value;
    } else if (what == "color") {
      adjustment.colour = *value;
    } else if (what == "tint") {
      adjustment.tint = *value;
    } else if (what == "source") {
      if (*value < 0) return MCIERR_OUTOFRANGE;
      SelectSource(*value);
      return 0;
    } else if (what == "channel") {
      if (*value < 0) return MCIERR_OUTOFRANGE;
      channel_ = *value;
      widget_->SetNumbers(source_, channel_);
      return 0;
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    widget_->update();
    return 0;
  }

  // The capture device numbered `source` (in the order Qt lists them), else the pattern.
  void SelectSource(int source) {
    StopCamera();
    source_ = source;
    widget_->SetNumbers(source_, channel_);
    const QList<QCameraDevice> devices = QMediaDevices::videoInputs();
    if (source >= devices.size()) return;
    camera_ = std::make_unique<QCamera>(devices[source]);
    session_ = std::make_unique<QMediaCaptureSession>();
    sink_ = std::make_unique<QVideoSink>();
    session_->setCamera(camera_.get());
    session_->setVideoSink(sink_.get());
    QPointer<OverlayWidget> widget = widget_;
    QObject::connect(sink_.get(), &QVideoSink::videoFrameChanged,
                     [widget](const QVideoFrame& frame) {
                       if (widget) widget->SetLiveFrame(frame.toImage());
                     });
    camera_->start();
  }

  void StopCamera() {
    if (camera_) camera_->stop();
    session_.reset();
    sink_.reset();
    camera_.reset();
    if (widget_) widget_->SetLive(false);
  }

  uint32_t Load(const std::string& hostPath) {
    QImageReader reader(QString::fromLocal8Bit(hostPath.c_str()));
    const QImage still = reader.read();
    if (still.isNull()) {
      return reader.error() == QImageReader::FileNotFoundError ? MCIERR_FILE_NOT_FOUND
                                                               : MCIERR_INVALID_FILE;
    }
    widget_->SetStill(still);
    return 0;
  }

  // The picture (the part the rectangle names, within it), in the format the file's
  // extension names (BMP when it names none Qt writes), replacing the file whole.
  uint32_t Save(const std::string& hostPath, const std::optional<QRect>& part) {
    if (hostPath.empty()) return MCIERR_FILENAME_REQUIRED;
    QImage picture = widget_->Picture();
    if (part) {
      const QRect inside = part->intersected(picture.rect());
      if (inside.isEmpty()) return MCIERR_OUTOFRANGE;
      picture = picture.copy(inside);
    }
    const QString path = QString::fromLocal8Bit(hostPath.c_str());
    QByteArray format = QImageWriter::imageFormatsForMimeType("image/bmp").value(0, "bmp");
    const QByteArray suffix = path.section('.', -1).toLower().toLatin1();
    if (path.contains('.') && QImageWriter::supportedImageFormats().contains(suffix)) {
      format = suffix;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, format.constData())) return MCIERR_FILE_NOT_SAVED;
    return ReplaceFile(hostPath, std::string_view(bytes.constData(), bytes.size())) ==
                   FileWrite::kWritten
               ? 0
               : MCIERR_FILE_WRITE;
  }

  QPointer<OverlayWidget> widget_;
  std::unique_ptr<Window> window_;
  std::unique_ptr<QCamera> camera_;
  std::unique_ptr<QMediaCaptureSession> session_;
  std::unique_ptr<QVideoSink> sink_;
  int source_ = 0;
  int channel_ = 0;
};

// "parent H" and "style child" of the open.
std::unique_ptr<MciDevice> OpenOverlay(const MciOpen& open, uint32_t* error) {
  std::optional<uint32_t> parentHandle;
  bool child = false;
  for (size_t i = 0; i < open.words.size(); ++i) {
    const std::string word = LowerAsciiText(open.words[i]);
    const bool last = i + 1 >= open.words.size();
    if ((word == "parent" || word == "style") && last) {
      *error = MCIERR_MISSING_PARAMETER;
      return nullptr;
    }
    if (word == "parent") {
      const std::optional<int> handle = Number(open.words[++i]);
      if (!handle) {
        *error = MCIERR_BAD_INTEGER;
        return nullptr;
      }
      parentHandle = static_cast<uint32_t>(*handle);
    } else if (word == "style") {
      child = LowerAsciiText(open.words[++i]) == "child";
    } else {
      *error = MCIERR_UNRECOGNIZED_KEYWORD;
      return nullptr;
    }
  }
  QWidget* parent = parentHandle ? LocalControlWidgetOfHandle(*parentHandle) : nullptr;
  // A child window needs a parent that exists, as CreateWindow's does.
  if (child && !parent) {
    *error = MCIERR_OUTOFRANGE;
    return nullptr;
  }
  auto widget = std::make_unique<OverlayWidget>(child ? parent : nullptr);
  widget->hide();
  if (!child) widget->resize(320, 240);
  std::unique_ptr<Window> window =
      Window::Create(Window::Kind::kMessageOnly, kOverlayTitle, widget.get());
  if (!window) {
    *error = MCIERR_DEVICE_NOT_READY;  // no desktop
    return nullptr;
  }
  return std::make_unique<OverlayDevice>(std::move(widget), std::move(window));
}

}  // namespace

void RegisterVideoOverlayDevice() {
  RegisterMciDeviceType("overlay", &OpenOverlay);
}

}  // namespace velcrum::platform
