// The displays' messages, byte for byte.
#include "peripherals/umd_messages.h"

#include <gtest/gtest.h>

#include "pty_chain.h"

namespace velcrum {
namespace {

using testing::Bytes;

TEST(UmdMessagesTest, CaptionsAreCentredAndCut) {
  struct Case {
    const char* caption;
    int width;
    const char* laidOut;
  };
  const Case cases[] = {
      {"AB", 16, "       AB       "},
      {"ABC", 16, "      ABC       "},
      {"", 16, "                "},
      {"ABCDEFGHIJKLMNOPQR", 16, "ABCDEFGHIJKLMNOP"},
      {"AB", 8, "   AB   "},
      {"ABCDEFGHIJ", 8, "ABCDEFGH"},
      {"0123456789ABCDEF", 16, "0123456789ABCDEF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LayOutCaption(c.caption, c.width), c.laidOut) << c.caption << " in " << c.width;
  }
}

TEST(UmdMessagesTest, ASlashCaptionWithCuesFourAsksForTheAlternativeTally) {
  const UmdCaption alternative = CaptionForCues("/CAM 1", 4);
  EXPECT_EQ(alternative.text, "CAM 1");
  EXPECT_TRUE(alternative.alternativeTally);
  EXPECT_FALSE(CaptionForCues("/CAM 1", 3).alternativeTally);
  EXPECT_EQ(CaptionForCues("/CAM 1", 3).text, "/CAM 1");
  EXPECT_EQ(CaptionForCues("ABCDEFGHIJKLMNOPQRST", 0).text, "ABCDEFGHIJKLMNOP");
}

TEST(UmdMessagesTest, BasicMessagesCarryTheTallyCharacter) {
  struct Case {
    int cues;
    const char* caption;
    char tally;
  };
  const Case cases[] = {{0, "AB", 15},  {4, "AB", 15},  {1, "AB", 31},
                        {2, "AB", '/'}, {3, "AB", '?'}, {4, "/AB", '?'}};
  for (const Case& c : cases) {
    const std::string message = BasicUmdMessage(3, c.cues, CaptionForCues(c.caption, c.cues), 16);
    EXPECT_EQ(message, Bytes({210, 15, c.tally}) + "       AB       ") << "cues " << c.cues;
  }
  EXPECT_EQ(BasicUmdMessage(1, 0, CaptionForCues("AB", 0), 8),
            Bytes({208, 15, 15}) + "        " + "   AB   ");
}

TEST(UmdMessagesTest, TslMessagesFollowTheTslProtocolThreePointOne) {
  // Address 0x80 + display - 1; control byte: tally bits 0-1, brightness bits 4-5.
  struct Case {
    int cues, brightness;
    bool alternative;
    int control;
  };
  const Case cases[] = {{0, 0, false, 0x00}, {1, 0, false, 0x01}, {2, 1, false, 0x12},
                        {3, 3, false, 0x33}, {4, 2, false, 0x20}, {4, 3, true, 0x04},
                        {9, 7, false, 0x00}};
  for (const Case& c : cases) {
    EXPECT_EQ(TslControl(c.cues, c.brightness, c.alternative), c.control)
        << c.cues << "/" << c.brightness;
  }
  EXPECT_EQ(TslControl(3, 1, false, 2), 0x1c) << "a right half's tally bits, shifted";
  const std::string message = TslUmdMessage(1, 0x31, "       AB");
  EXPECT_EQ(message.size(), 18u);
  EXPECT_EQ(message, Bytes({0x80, 0x31}) + "       AB       ");
  EXPECT_EQ(TslUmdMessage(128, 0, "").substr(0, 1), Bytes({0xff}));
}

TEST(UmdMessagesTest, AmazonMessagesRaiseHighCharactersByOne) {
  const std::string message = AmazonUmdMessage(2, 1, "\xe9t\xe9\x7f\xff");
  ASSERT_EQ(message.size(), 19u);
  EXPECT_EQ(message, Bytes({0x02, 0x81, 0x85, 0xea, 't', 0xea, 0x7f, 0xff}) + "           ");
  EXPECT_EQ(static_cast<uint8_t>(AmazonUmdMessage(1, 3, "")[2]), 0x8f);
  EXPECT_EQ(static_cast<uint8_t>(AmazonUmdMessage(1, 0, "")[2]), 0x80);
}

}  // namespace
}  // namespace velcrum
