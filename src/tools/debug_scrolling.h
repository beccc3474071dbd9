// The debug window's scrolling arithmetic: how many whole lines and characters fit the
// client area, the vertical range (0 to the line count less the lines that fit) and the
// horizontal range (0 to the longest line less the characters that fit), neither below 0,
// the positions clamped to them, and what a scroll request or a new line does to them.
//
// Vertical positions count lines from the oldest end: the position at its maximum is the
// newest end, where line 0 (the newest) stands on the bottom row. Horizontal positions
// count characters the text is shifted to the left.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velcrum {

struct ScrollAxis {
  int position = 0;
  int maximum = 0;
  int page = 0;  // whole units that fit the client area
};

// The scroll requests of WM_VSCROLL and WM_HSCROLL, as Windows numbers them.
enum ScrollRequest : uint16_t {
  kScrollLineUp = 0,
  kScrollLineDown = 1,
  kScrollPageUp = 2,
  kScrollPageDown = 3,
  kScrollThumbPosition = 4,
  kScrollThumbTrack = 5,
  kScrollTop = 6,
  kScrollBottom = 7,
  kScrollEnd = 8,
};

class DebugScrolling {
 public:
  // The client area in pixels and the font's cell; the ranges follow (WM_SIZE), and a view
  // at the newest end stays there.
  void SetClient(int width, int height, int cellWidth, int cellHeight);
  // The store's line count and longest line; the ranges follow.
  void SetContent(int lineCount, size_t longestLine);
  // A line was appended (the store now holds lineCount lines): true when the view was at
  // the newest end and stays there, so the text moves up by one line; false when the view
  // stays where it was.
  bool LineAppended(int lineCount, size_t longestLine);
  // A scroll request with the thumb's position (used by the thumb requests); true when
  // the position changed.
  bool ScrollVertical(uint16_t request, int thumb);
  bool ScrollHorizontal(uint16_t request, int thumb);

  const ScrollAxis& Vertical() const { return vertical_; }
  const ScrollAxis& Horizontal() const { return horizontal_; }
  bool AtNewestEnd() const { return vertical_.position == vertical_.maximum; }
  // The line painted on the bottom row.
  int BottomLine() const { return vertical_.maximum - vertical_.position; }
  // The line (0 the newest) whose row holds client point y; at or beyond the line count on
  // the empty rows above the oldest line, -1 outside the client area.
  int LineAt(int y) const;

 private:
  void Recompute();

  int clientHeight_ = 0;
  int cellHeight_ = 1;
  int lineCount_ = 0;
  size_t longestLine_ = 0;
  ScrollAxis vertical_;
  ScrollAxis horizontal_;
};

}  // namespace velcrum
