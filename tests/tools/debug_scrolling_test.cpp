// The debug window's scroll arithmetic: ranges from whole lines and characters that fit,
// never below 0, positions clamped, the newest end followed by new lines, and requests.
#include "tools/debug_scrolling.h"

#include <gtest/gtest.h>

namespace velcrum {
namespace {

// A client area of 10 whole lines of 16 pixels (and a part line) and 40 characters of 8.
DebugScrolling Scrolling(int lines, size_t longest) {
  DebugScrolling scrolling;
  scrolling.SetClient(40 * 8 + 5, 10 * 16 + 7, 8, 16);
  scrolling.SetContent(lines, longest);
  return scrolling;
}

TEST(DebugScrollingTest, RangesAreWhatDoesNotFitAndNeverBelowZero) {
  struct Case {
    int lines;
    size_t longest;
    int verticalMaximum;
    int horizontalMaximum;
  };
  for (const Case& c :
       {Case{0, 0, 0, 0}, Case{10, 40, 0, 0}, Case{11, 41, 1, 1}, Case{1000, 256, 990, 216}}) {
    const DebugScrolling scrolling = Scrolling(c.lines, c.longest);
    EXPECT_EQ(scrolling.Vertical().page, 10);
    EXPECT_EQ(scrolling.Horizontal().page, 40);
    EXPECT_EQ(scrolling.Vertical().maximum, c.verticalMaximum) << c.lines;
    EXPECT_EQ(scrolling.Horizontal().maximum, c.horizontalMaximum) << c.longest;
  }
}

TEST(DebugScrollingTest, PositionsAreClampedWhenTheWindowChangesSize) {
  DebugScrolling scrolling = Scrolling(100, 100);
  scrolling.ScrollVertical(kScrollBottom, 0);
  scrolling.ScrollHorizontal(kScrollBottom, 0);
  EXPECT_EQ(scrolling.Vertical().position, 90);
  EXPECT_EQ(scrolling.Horizontal().position, 60);
  scrolling.SetClient(200 * 8, 95 * 16, 8, 16);
  EXPECT_EQ(scrolling.Vertical().maximum, 5);
  EXPECT_EQ(scrolling.Vertical().position, 5);
  EXPECT_EQ(scrolling.Horizontal().position, 0);
  // No room at all: every line is beyond what fits; the view stays on the newest lines.
  scrolling.SetClient(0, 0, 8, 16);
  EXPECT_EQ(scrolling.Vertical().maximum, 100);
  EXPECT_EQ(scrolling.Vertical().position, 100);
  // A view away from the newest end keeps its place.
  scrolling.ScrollVertical(kScrollThumbPosition, 30);
  scrolling.SetClient(40 * 8, 10 * 16, 8, 16);
  EXPECT_EQ(scrolling.Vertical().position, 30);
}

TEST(DebugScrollingTest, RequestsMoveByLinePageThumbAndStayInTheRange) {
  struct Case {
    uint16_t request;
    int thumb;
    int from;
    int expected;
  };
  for (const Case& c :
       {Case{kScrollLineUp, 0, 50, 49}, Case{kScrollLineDown, 0, 50, 51},
        Case{kScrollPageUp, 0, 50, 40}, Case{kScrollPageDown, 0, 50, 60},
        Case{kScrollLineUp, 0, 0, 0}, Case{kScrollPageDown, 0, 85, 90},
        Case{kScrollThumbTrack, 33, 50, 33}, Case{kScrollThumbPosition, 500, 50, 90},
        Case{kScrollTop, 0, 50, 0}, Case{kScrollBottom, 0, 50, 90}, Case{kScrollEnd, 0, 50, 50}}) {
    DebugScrolling scrolling = Scrolling(100, 0);
    scrolling.ScrollVertical(kScrollThumbPosition, c.from);
    EXPECT_EQ(scrolling.ScrollVertical(c.request, c.thumb), c.expected != c.from);
    EXPECT_EQ(scrolling.Vertical().position, c.expected) << c.request << " from " << c.from;
  }
}

TEST(DebugScrollingTest, TheNewestEndFollowsNewLinesAndAnEarlierPlaceStays) {
  DebugScrolling scrolling = Scrolling(5, 0);
  // Fewer lines than fit: still the newest end, the text moves up.
  EXPECT_TRUE(scrolling.LineAppended(6, 0));
  EXPECT_TRUE(scrolling.LineAppended(11, 0));
  EXPECT_EQ(scrolling.Vertical().position, 1);
  EXPECT_EQ(scrolling.BottomLine(), 0);

  scrolling.ScrollVertical(kScrollLineUp, 0);
  EXPECT_FALSE(scrolling.LineAppended(12, 0));
  EXPECT_EQ(scrolling.Vertical().position, 0);
  EXPECT_EQ(scrolling.Vertical().maximum, 2);
  EXPECT_EQ(scrolling.BottomLine(), 2);  // the same lines as before the new one
}

TEST(DebugScrollingTest, LineAtCountsRowsUpFromTheBottom) {
  DebugScrolling scrolling = Scrolling(100, 0);
  scrolling.ScrollVertical(kScrollThumbPosition, 80);  // bottom line 10
  const int height = 10 * 16 + 7;
  EXPECT_EQ(scrolling.LineAt(height - 1), 10);
  EXPECT_EQ(scrolling.LineAt(height - 16), 10);
  EXPECT_EQ(scrolling.LineAt(height - 17), 11);
  EXPECT_EQ(scrolling.LineAt(0), 20);  // the part row at the top
  EXPECT_EQ(scrolling.LineAt(height), -1);
  EXPECT_EQ(scrolling.LineAt(-1), -1);
}

}  // namespace
}  // namespace velcrum
