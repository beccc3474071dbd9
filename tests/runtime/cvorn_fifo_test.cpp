// The message queue: order, wrap-around, bounds, payload copies and the full queue.
#include "runtime/cvorn_fifo.h"

#include <gtest/gtest.h>

#include <string>

#include "support/recording_host.h"

namespace velcrum {
namespace {

class CvornFifoTest : public testing::InterpreterTest {};

TEST_F(CvornFifoTest, InitRefusesBadSettings) {
  Cvorn_fifo fifo;
  EXPECT_EQ(fifo.Init("PANEL", "", 16, 4), 0);
  EXPECT_EQ(fifo.Init("PANEL", std::string(257, 'n'), 16, 4), 0);
  EXPECT_EQ(fifo.Init("PANEL", "Q", 0, 4), 0);
  EXPECT_EQ(fifo.Init("PANEL", "Q", 1025, 4), 0);
  EXPECT_EQ(fifo.Init("PANEL", "Q", 16, 0), 0);
  EXPECT_EQ(fifo.Init("PANEL", "Q", 16, 65536), 0);
  EXPECT_EQ(fifo.Put(0, 1, 2, 0, 3), 0);  // never set up: stores nothing
  FifoEntry entry;
  EXPECT_EQ(fifo.Get(entry), 0);
  EXPECT_EQ(fifo.Init("PANEL", std::string(256, 'n'), 1024, 65535), 1);
}

TEST_F(CvornFifoTest, KeepsOrderAcrossTheWrap) {
  Cvorn_fifo fifo;
  ASSERT_EQ(fifo.Init("PANEL", "CmdFifo", 16, 3), 1);
  uint32_t next = 1;
  uint32_t expected = 1;
  for (int round = 0; round < 5; ++round) {
    EXPECT_EQ(fifo.Put(0, 0, next++, 0, 0), 1);
    EXPECT_EQ(fifo.Put(0, 0, next++, 0, 0), 1);
    FifoEntry entry;
    for (int i = 0; i < 2; ++i) {
      ASSERT_EQ(fifo.Get(entry), 1);
      EXPECT_EQ(entry.wParam, expected++);
    }
  }
  EXPECT_EQ(fifo.GetCount(), 0);
  EXPECT_EQ(fifo.GetHighWaterMark(), 2);
}

TEST_F(CvornFifoTest, PayloadsAreCopiedAndCut) {
  Cvorn_fifo fifo;
  ASSERT_EQ(fifo.Init("PANEL", "RevFifo", 1024, 4), 1);
  std::string text = "2,17,'CAM 1'";
  ASSERT_EQ(fifo.PutData(0, 2224, 7, 0, 0, text.c_str(), static_cast<int>(text.size()) + 1), 1);
  text[0] = 'X';  // the queue holds its own copy
  const std::string big(2000, 'b');
  ASSERT_EQ(fifo.PutData(0, 2224, 8, 0, 0, big.data(), static_cast<int>(big.size())), 1);
  EXPECT_EQ(fifo.PutData(0, 2224, 9, 0, 0, big.data(), 0), 0);
  EXPECT_EQ(fifo.GetCount(), 2);

  FifoEntry entry;
  ASSERT_EQ(fifo.Get(entry), 1);
  EXPECT_EQ(entry.message, 2224u);
  EXPECT_STREQ(entry.payload.data(), "2,17,'CAM 1'");
  ASSERT_EQ(fifo.Get(entry), 1);
  EXPECT_EQ(entry.payload.size(), 1024u);
}

TEST_F(CvornFifoTest, AFullQueueDropsTheNewEntryAndSaysSo) {
  Cvorn_fifo fifo;
  ASSERT_EQ(fifo.Init("DESK____.001", "RevFifo", 1024, 1024), 1);
  for (int i = 0; i < 1024; ++i) ASSERT_EQ(fifo.Put(0, 2742, static_cast<uint32_t>(i), 0, 0), 1);
  EXPECT_EQ(fifo.Put(0, 2742, 9999, 0, 0), 0);
  EXPECT_EQ(fifo.PutData(0, 2224, 1, 0, 0, "x", 2), 0);
  EXPECT_EQ(host.debugger.at(0),
            "<DESK____.001> RevFifo: write buffer is full, discarding new data: 0, 0");
  EXPECT_EQ(fifo.GetCount(), 1024);
  FifoEntry entry;
  ASSERT_EQ(fifo.Get(entry), 1);
  EXPECT_EQ(entry.wParam, 0u);
  fifo.Reset();
  EXPECT_EQ(fifo.GetCount(), 0);
  EXPECT_EQ(fifo.GetHighWaterMark(), 0);
  EXPECT_EQ(fifo.Get(entry), 0);
}

}  // namespace
}  // namespace velcrum
