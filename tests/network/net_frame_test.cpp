// The tunnel's frames: numbers as eight hex digits, texts in 513 bytes, and frames from
// peers that are not what they should be.
#include "network/net_frame.h"

#include <gtest/gtest.h>

#include <string>

namespace velcrum {
namespace {

TEST(NetFrameTest, DwDataCarriesMessageAndSixteenBitWParam) {
  EXPECT_EQ(PackFrameData(2984, 0x12345), 0x0BA82345u);
  EXPECT_EQ(FrameMessage(PackFrameData(49229, 7)), 49229u);
  EXPECT_EQ(FrameWParam(PackFrameData(49229, 0xFFFF)), 0xFFFFu);
}

TEST(NetFrameTest, NumericFramesRoundTrip) {
  const struct {
    int32_t value;
    const char* digits;
  } cases[] = {{-1, "ffffffff"},          {0, "00000000"},         {1, "00000001"},
               {0x7FFFFFFF, "7fffffff"},  {INT32_MIN, "80000000"}, {0x00ABCDEF, "00abcdef"},
               {-2147483647, "80000001"}, {42, "0000002a"}};
  for (const auto& c : cases) {
    const std::string frame = NumericFrame(c.value);
    ASSERT_EQ(frame.size(), kNumericFrameBytes);
    EXPECT_EQ(std::string(frame.c_str()), c.digits);
    EXPECT_EQ(frame.find_first_not_of('\0', 8), std::string::npos) << c.digits;
    EXPECT_EQ(ReadNumericFrame(frame), c.value) << c.digits;
  }
}

TEST(NetFrameTest, MalformedNumericFramesReadTheirLeadingDigits) {
  using namespace std::string_literals;
  const struct {
    std::string bytes;
    int32_t value;
  } cases[] = {
      {"", 0},
      {std::string(16, '\0'), 0},
      {"zzzzzzzz"s, 0},
      {"12zz"s, 0x12},
      {"FFFFFFFF"s, -1},                    // upper case reads as well
      {"  \t00000010"s, 0x10},              // leading white space is skipped
      {"123456789abc"s, 0x12345678},        // never more than eight digits
      {"ff"s, 0xff},                        // a short frame reads what it has
      {"-1"s, 0},                           // no sign: senders never write one
      {std::string("\xff\x80\x01", 3), 0},  // arbitrary bytes
  };
  for (const auto& c : cases) EXPECT_EQ(ReadNumericFrame(c.bytes), c.value) << c.bytes;
}

TEST(NetFrameTest, TextFramesAreAlways513BytesWithTheTextTerminated) {
  const std::string shortFrame = TextFrame("RTR 1,2");
  ASSERT_EQ(shortFrame.size(), kTextFrameBytes);
  EXPECT_EQ(FrameText(shortFrame), "RTR 1,2");
  EXPECT_EQ(shortFrame.find_first_not_of('\0', 7), std::string::npos);

  EXPECT_EQ(TextFrame("").size(), kTextFrameBytes);

  const std::string longFrame = TextFrame(std::string(600, 'x'));
  ASSERT_EQ(longFrame.size(), kTextFrameBytes);
  EXPECT_EQ(FrameText(longFrame), std::string(512, 'x'));
  EXPECT_EQ(longFrame[512], '\0');

  // What follows an embedded terminator is not part of the text.
  EXPECT_EQ(FrameText(TextFrame(std::string("ab\0cd", 5))), "ab");
}

TEST(NetFrameTest, FrameTextNeverReadsPastTheFrame) {
  EXPECT_EQ(FrameText(""), "");
  EXPECT_EQ(FrameText("abc"), "abc");  // short, no terminator
  // A peer's frame without any terminator: the text stops where the terminator belongs.
  EXPECT_EQ(FrameText(std::string(513, 'y')), std::string(512, 'y'));
  EXPECT_EQ(FrameText(std::string(2000, 'y')).size(), 512u);
}

}  // namespace
}  // namespace velcrum
