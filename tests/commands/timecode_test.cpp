// Timecodes at 25 frames a second: reading, writing and wrapping.
#include "commands/timecode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace velcrum {
namespace {

TEST(TimecodeTest, FramesAcrossADayRoundTrip) {
  // Every 7th frame: 7 shares no factor with 25 or 1500, so every field value is met.
  for (int64_t frames = 0; frames < kFramesPerDay; frames += 7) {
    const int64_t seconds = frames / 25;
    char expected[16];
    std::snprintf(expected, sizeof expected, "%02d.%02d.%02d.%02d",
                  static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60), static_cast<int>(frames % 25));
    const std::string text = TimecodeText(frames);
    ASSERT_EQ(text, expected);
    ASSERT_EQ(ReadTimecode(text), frames) << text;
  }
}

TEST(TimecodeTest, ReadingTakesTwoCharactersAField) {
  struct Case {
    const char* text;
    int64_t frames;
  };
  const Case cases[] = {
      {"01:00:00:00", 90000},
      {"01;00;00;00", 90000},
      {"01.00.00.00", 90000},
      {"23;59;59;24", 2159999},
      {"1:2:3:4", 90000 + 3000 + 75 + 4},
      {"10", 900000},
      {"10:30", 900000 + 45000},
      {"123:00:00:00", 12 * 90000},
      {"x", 0},
      {"", 0},
      {" 01: 02", 93000},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadTimecode(c.text), c.frames) << c.text;
}

TEST(TimecodeTest, WrappingKeepsOneDay) {
  EXPECT_EQ(WrapTimecode(0), 0);
  EXPECT_EQ(WrapTimecode(kFramesPerDay), 0);
  EXPECT_EQ(WrapTimecode(kFramesPerDay - 1), kFramesPerDay - 1);
  EXPECT_EQ(WrapTimecode(-1), kFramesPerDay - 1);
  EXPECT_EQ(WrapTimecode(5 * kFramesPerDay + 7), 7);
  EXPECT_EQ(WrapTimecode(-5 * kFramesPerDay - 7), kFramesPerDay - 7);
}

// Sets TZ for one test and puts the old value back.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) saved_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (saved_.empty()) {
      unsetenv("TZ");
    } else {
      setenv("TZ", saved_.c_str(), 1);
    }
    tzset();
  }

 private:
  std::string saved_;
};

TEST(TimecodeTest, LocalTimeFollowsTheTimeZone) {
  const std::time_t moment = 1700000000;  // 22:13:20 UTC
  {
    ScopedTimeZone zone("UTC0");
    EXPECT_EQ(LocalTimeTimecode(moment), "22.13.20.00");
  }
  {
    ScopedTimeZone zone("ABC-3");  // three hours east of UTC
    EXPECT_EQ(LocalTimeTimecode(moment), "01.13.20.00");
  }
}

}  // namespace
}  // namespace velcrum
