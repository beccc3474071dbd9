// Brightness and contrast on each channel, then colour and tint in HSV.
#include "platform/desktop/picture_adjustment.h"

#include <QColor>
#include <algorithm>

namespace velcrum::platform {
namespace {

int Channel(int value, const PictureAdjustment& adjustment) {
  const int scaled = 128 + (value - 128) * adjustment.contrast / PictureAdjustment::kNeutral;
  return std::clamp(scaled + adjustment.brightness - PictureAdjustment::kNeutral, 0, 255);
}

}  // namespace

QImage AdjustedPicture(const QImage& picture, const PictureAdjustment& adjustment) {
  if (adjustment.IsNeutral()) return picture;
  QImage image = picture.convertToFormat(QImage::Format_RGB32);
  const bool colourChanged = adjustment.colour != PictureAdjustment::kNeutral ||
                             adjustment.tint != PictureAdjustment::kNeutral;
  const int turn = (adjustment.tint - PictureAdjustment::kNeutral) * 180 / 128;
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      QColor colour(Channel(qRed(line[x]), adjustment), Channel(qGreen(line[x]), adjustment),
                    Channel(qBlue(line[x]), adjustment));
      if (colourChanged) {
        int hue = 0;
        int saturation = 0;
        int value = 0;
        colour.getHsv(&hue, &saturation, &value);
        if (hue >= 0) hue = ((hue + turn) % 360 + 360) % 360;
        saturation =
            std::clamp(saturation * adjustment.colour / PictureAdjustment::kNeutral, 0, 255);
        colour.setHsv(hue < 0 ? 0 : hue, saturation, value);
      }
      line[x] = colour.rgb();
    }
  }
  return image;
}

}  // namespace velcrum::platform
