// The daily log file under c:\vornlogs.
#include "runtime/log_file.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "interpreter/host.h"
#include "platform/platform_fixture.h"
#include "support/file_size_limit.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class LogFileTest : public testing::PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    SetHost(&host);
  }
  void TearDown() override {
    ResetLogFile();
    SetHost(nullptr);
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

  // The log's name as the messages give it.
  std::string TodaysLogName() const { return "c:\\vornlogs\\" + TodaysLog().filename().string(); }

  testing::RecordingHost host;
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

TEST_F(LogFileTest, AFailureIsSaidOnceUntilARecordLandsAgain) {
  g_bLogToFile = true;
  WriteLogLine("first dropped");
  WriteLogLine("second dropped");
  const std::string cannotOpen = "Cannot open log file " + TodaysLogName() +
                                 ": No such file or directory. Log records are dropped until it "
                                 "can be written.";
  EXPECT_EQ(host.debugger, std::vector<std::string>{cannotOpen});

  std::filesystem::create_directories(DriveC() / "vornlogs");
  WriteLogLine("lands");
  const std::string before = ReadFile(TodaysLog());
  host.debugger.clear();
  {
    // A full disk: every record is dropped, and said once.
    const testing::FileSizeLimit full(before.size() + 4);
    WriteLogLine("does not fit");
    WriteLogLine("nor does this");
  }
  EXPECT_EQ(host.debugger, std::vector<std::string>{"Cannot write log file " + TodaysLogName() +
                                                    ": File too large. Log records are dropped "
                                                    "until it can be written."});
  EXPECT_TRUE(ReadFile(TodaysLog()).starts_with(before));

  // With room again, the file is opened afresh and records land.
  WriteLogLine("room again");
  EXPECT_TRUE(ReadFile(TodaysLog()).ends_with(" - room again\r\n"));
  EXPECT_EQ(host.debugger.size(), 1u);
}

}  // namespace
}  // namespace velcrum
