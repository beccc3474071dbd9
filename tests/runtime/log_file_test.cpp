// The daily log file under c:\vornlogs.
#include "runtime/log_file.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "platform/platform_fixture.h"

namespace velcrum {
namespace {

class LogFileTest : public testing::PlatformTest {
 protected:
  void TearDown() override {
    ResetLogFile();
    PlatformTest::TearDown();
  }

  std::filesystem::path TodaysLog() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char name[64];
    std::snprintf(name, sizeof name, "velcrum.%04d%02d%02d.log", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday);
    return DriveC() / "vornlogs" / name;
  }
};

TEST_F(LogFileTest, WritesTimedRecordsOnlyWhileEnabled) {
  std::filesystem::create_directories(DriveC() / "vornlogs");
  WriteLogLine("not written");
  EXPECT_FALSE(std::filesystem::exists(TodaysLog()));
  g_bLogToFile = true;
  WriteLogLine("<DESK____.001> : Version 3.08.41 - Starting.");
  WriteLogLine("second");
  const std::string content = ReadFile(TodaysLog());
  ASSERT_EQ(content.size(), 8 + 3 + 44 + 2 + 8 + 3 + 6 + 2) << content;
  EXPECT_EQ(content[2], ':');
  EXPECT_EQ(content.substr(8, 47), " - <DESK____.001> : Version 3.08.41 - Starting.");
  EXPECT_EQ(content.substr(55, 2), "\r\n");
  EXPECT_TRUE(content.ends_with(" - second\r\n"));
}

TEST_F(LogFileTest, AMissingDirectoryDropsTheRecordAndALaterOneStillLands) {
  g_bLogToFile = true;
  WriteLogLine("dropped");
  std::filesystem::create_directories(DriveC() / "vornlogs");
  WriteLogLine("kept");
  const std::string content = ReadFile(TodaysLog());
  EXPECT_EQ(content.find("dropped"), std::string::npos);
  EXPECT_NE(content.find("kept"), std::string::npos);
}

}  // namespace
}  // namespace velcrum
