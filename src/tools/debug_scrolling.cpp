// The debug window's scroll ranges and positions.
#include "tools/debug_scrolling.h"

#include <algorithm>

namespace velcrum {
namespace {

int WholeCells(int pixels, int cell) {
  return cell > 0 ? std::max(0, pixels / cell) : 0;
}

void SetMaximum(ScrollAxis& axis, int total) {
  axis.maximum = std::max(0, total - axis.page);
  axis.position = std::clamp(axis.position, 0, axis.maximum);
}

// A page is the whole units that fit, at least one so that paging always moves.
bool Scroll(ScrollAxis& axis, uint16_t request, int thumb) {
  const int page = std::max(1, axis.page);
  int position = axis.position;
  switch (request) {
    case kScrollLineUp:
      --position;
      break;
    case kScrollLineDown:
      ++position;
      break;
    case kScrollPageUp:
      position -= page;
      break;
    case kScrollPageDown:
      position += page;
      break;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
      position = thumb;
      break;
    case kScrollTop:
      position = 0;
      break;
    case kScrollBottom:
      position = axis.maximum;
      break;
    default:
      return false;
  }
  position = std::clamp(position, 0, axis.maximum);
  if (position == axis.position) return false;
  axis.position = position;
  return true;
}

}  // namespace

void DebugScrolling::SetClient(int width, int height, int cellWidth, int cellHeight) {
  const bool atNewestEnd = AtNewestEnd();
  clientHeight_ = std::max(0, height);
  cellHeight_ = std::max(1, cellHeight);
  vertical_.page = WholeCells(height, cellHeight_);
  horizontal_.page = WholeCells(width, std::max(1, cellWidth));
  Recompute();
  // A view on the newest lines stays on them when the window changes size.
  if (atNewestEnd) vertical_.position = vertical_.maximum;
}

void DebugScrolling::SetContent(int lineCount, size_t longestLine) {
  lineCount_ = lineCount;
  longestLine_ = longestLine;
  Recompute();
}

bool DebugScrolling::LineAppended(int lineCount, size_t longestLine) {
  const bool atNewestEnd = AtNewestEnd();
  SetContent(lineCount, longestLine);
  if (atNewestEnd) vertical_.position = vertical_.maximum;
  return atNewestEnd;
}

bool DebugScrolling::ScrollVertical(uint16_t request, int thumb) {
  return Scroll(vertical_, request, thumb);
}

bool DebugScrolling::ScrollHorizontal(uint16_t request, int thumb) {
  return Scroll(horizontal_, request, thumb);
}

int DebugScrolling::LineAt(int y) const {
  if (y < 0 || y >= clientHeight_) return -1;
  const int rowFromBottom = (clientHeight_ - 1 - y) / cellHeight_;
  return BottomLine() + rowFromBottom;
}

void DebugScrolling::Recompute() {
  SetMaximum(vertical_, lineCount_);
  SetMaximum(horizontal_, static_cast<int>(longestLine_));
}

}  // namespace velcrum
