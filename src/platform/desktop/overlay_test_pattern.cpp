// Colour bars and the source and channel numbers, drawn at the overlay window's size.
#include "platform/desktop/overlay_test_pattern.h"

#include <QFont>
#include <QPainter>
#include <algorithm>

namespace velcrum::platform {
namespace {

// Below this height the picture holds only the bars.
constexpr int kLowestHeightWithText = 40;

}  // namespace

QImage OverlayTestPattern(QSize size, int source, int channel) {
  QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  const int width = image.width();
  const int height = image.height();
  const int barsHeight = height >= kLowestHeightWithText ? height * 3 / 4 : height;
  const int bars = static_cast<int>(kOverlayTestBars.size());
  for (int i = 0; i < bars; ++i) {
    const int left = width * i / bars;
    const int right = width * (i + 1) / bars;
    painter.fillRect(left, 0, right - left, barsHeight, QColor(kOverlayTestBars[i]));
  }
  if (barsHeight < height) {
    QFont font = painter.font();
    font.setPixelSize(std::max(8, (height - barsHeight) * 2 / 3));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, barsHeight, width, height - barsHeight), Qt::AlignCenter,
                     QStringLiteral("SOURCE %1  CHANNEL %2").arg(source).arg(channel));
  }
  return image;
}

}  // namespace velcrum::platform
