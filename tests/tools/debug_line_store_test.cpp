// The debug window's line store: at most 1000 lines newest first, each cut to 256
// characters, the longest length seen, paused lines lost, and the serials a selection uses.
#include "tools/debug_line_store.h"

#include <gtest/gtest.h>

#include <string>

namespace velcrum {
namespace {

TEST(DebugLineStoreTest, TheThousandAndFirstLinePushesOutTheOldest) {
  DebugLineStore store;
  for (int n = 1; n <= 1001; ++n) ASSERT_TRUE(store.Append("line " + std::to_string(n)));
  EXPECT_EQ(store.Count(), 1000);
  EXPECT_EQ(store.Line(0), "line 1001");
  EXPECT_EQ(store.Line(999), "line 2");
  EXPECT_EQ(store.Line(1000), "");
  // The oldest line's serial is gone; the others still name their lines.
  EXPECT_EQ(store.IndexOf(0), -1);
  EXPECT_EQ(store.IndexOf(1), 999);
  EXPECT_EQ(store.IndexOf(1000), 0);
  EXPECT_EQ(store.IndexOf(1001), -1);
  EXPECT_EQ(store.SerialOf(0), 1000);
}

TEST(DebugLineStoreTest, LinesAppendedWhilePausedAreLostNotQueued) {
  DebugLineStore store;
  store.Append("before");
  store.SetPaused(true);
  EXPECT_FALSE(store.Append("while paused"));
  store.SetPaused(false);
  store.Append("after");
  EXPECT_EQ(store.Count(), 2);
  EXPECT_EQ(store.Text(), "before\nafter\n");
}

TEST(DebugLineStoreTest, LinesAreCutTo256AndTheLongestSeenIsKept) {
  DebugLineStore store;
  store.Append(std::string(300, 'x'));
  EXPECT_EQ(store.Line(0), std::string(256, 'x'));
  EXPECT_EQ(store.LongestLength(), 256u);
  // The record stays when the long line has left the store.
  for (int n = 0; n < 1000; ++n) store.Append("short");
  EXPECT_EQ(store.Line(999), "short");
  EXPECT_EQ(store.LongestLength(), 256u);
}

TEST(DebugLineStoreTest, TextRunsOldestFirstWithOneLineFeedEach) {
  DebugLineStore store;
  EXPECT_EQ(store.Text(), "");
  store.Append("<DESK____.001> : Debug Mode...\n");
  store.Append("Trace: 100, 'NA a% 1 a%'");
  store.Append(" ");
  store.Append("carriage\r\n");
  EXPECT_EQ(store.Text(),
            "<DESK____.001> : Debug Mode...\nTrace: 100, 'NA a% 1 a%'\n \ncarriage\n");
  // A range of serials; one beyond the stored lines is skipped.
  EXPECT_EQ(store.Text(1, 2), "Trace: 100, 'NA a% 1 a%'\n \n");
  EXPECT_EQ(store.Text(3, 7), "carriage\n");
}

}  // namespace
}  // namespace velcrum
