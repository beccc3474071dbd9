// The overlay's picture controls: brightness, contrast, colour (saturation) and tint
// (hue), each 0 to 255 with 128 leaving the picture as it is.
#pragma once

#include <QImage>

namespace velcrum::platform {

struct PictureAdjustment {
  static constexpr int kNeutral = 128;
  int brightness = kNeutral;  // adds (value - 128) to each channel
  int contrast = kNeutral;    // scales each channel's distance from mid grey by value / 128
  int colour = kNeutral;      // scales the saturation by value / 128
  int tint = kNeutral;        // turns the hue by (value - 128) * 180 / 128 degrees

  bool IsNeutral() const {
    return brightness == kNeutral && contrast == kNeutral && colour == kNeutral && tint == kNeutral;
  }
};

// The picture with the adjustment applied (the picture itself when it is neutral).
QImage AdjustedPicture(const QImage& picture, const PictureAdjustment& adjustment);

}  // namespace velcrum::platform
