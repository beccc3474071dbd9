// The picture the video overlay shows without a capture device: colour bars with the
// selected source and channel numbers, so that a panel on a machine without a card shows
// the overlay at work (headless runs, screenshots).
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <array>

namespace velcrum::platform {

// The seven bars from left to right at 75 % of full level: white, yellow, cyan, green,
// magenta, red, blue.
inline constexpr std::array<QRgb, 7> kOverlayTestBars = {
    qRgb(191, 191, 191), qRgb(191, 191, 0), qRgb(0, 191, 191), qRgb(0, 191, 0),
    qRgb(191, 0, 191),   qRgb(191, 0, 0),   qRgb(0, 0, 191)};

// The bars over the upper three quarters of the picture; below them, on black, the text
// "SOURCE n  CHANNEL m" (bars over the whole picture when it is too low for text).
QImage OverlayTestPattern(QSize size, int source, int channel);

}  // namespace velcrum::platform
