// Files replaced whole: what a replacement keeps, what it refuses, and the file lock.
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/platform_fixture.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using AtomicFileTest = testing::PlatformTest;

TEST_F(AtomicFileTest, ReplacementKeepsTheModeAndReplacesALinksTarget) {
  const fs::path file = base_ / "panel.ini";
  WriteFile(file, "old contents, longer than the new ones\n");
  ASSERT_EQ(chmod(file.c_str(), 0640), 0);
  EXPECT_EQ(ReplaceFile(file.string(), "new\n"), FileWrite::kWritten);
  EXPECT_EQ(ReadFile(file), "new\n");
  EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));

  const fs::path link = base_ / "link.ini";
  fs::create_symlink(file, link);
  EXPECT_EQ(ReplaceFile(link.string(), "through the link\n"), FileWrite::kWritten);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(file), "through the link\n");

  // Windows paths are mapped; a new file is created.
  EXPECT_EQ(ReplaceWindowsFile("c:\\New.txt", "created"), FileWrite::kWritten);
  EXPECT_EQ(ReadFile(DriveC() / "New.txt"), "created");
}

TEST_F(AtomicFileTest, WhatCannotBeReplaced) {
  fs::create_directories(DriveC() / "folder");
  const struct {
    const char* windowsPath;
    FileWrite outcome;
    int error;
  } cases[] = {
      {"c:\\folder", FileWrite::kNotOpened, EISDIR},
      {"c:\\missing\\x.txt", FileWrite::kNotOpened, ENOENT},
      {"c:\\bad|name.txt", FileWrite::kNotOpened, EINVAL},
      {"", FileWrite::kNotOpened, EINVAL},
  };
  for (const auto& c : cases) {
    errno = 0;
    const FileWrite outcome = ReplaceWindowsFile(c.windowsPath, "x");
    const int error = errno;
    EXPECT_EQ(outcome, c.outcome) << c.windowsPath;
    EXPECT_EQ(error, c.error) << c.windowsPath;
  }
  EXPECT_TRUE(fs::is_directory(DriveC() / "folder"));
  EXPECT_TRUE(fs::is_empty(DriveC() / "folder"));
}

TEST_F(AtomicFileTest, SomethingOtherThanAFileIsWrittenInPlace) {
  // A FIFO stands for the devices (NUL is /dev/null): renaming over one would put a plain
  // file in its place.
  const fs::path fifo = base_ / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(ReplaceFile(fifo.string(), "through"), FileWrite::kWritten);
  char buffer[16] = {};
  EXPECT_EQ(read(reader, buffer, sizeof buffer), 7);
  EXPECT_STREQ(buffer, "through");
  close(reader);
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(AtomicFileTest, ALockIsExclusiveBoundedAndLeavesNoFileItCreated) {
  const std::string path = (base_ / "locked.ini").string();
  {
    const FileLock first(path, 0ms);
    ASSERT_TRUE(first.Locked());
    EXPECT_TRUE(fs::exists(path));

    const auto start = std::chrono::steady_clock::now();
    errno = 0;
    const FileLock second(path, 50ms);
    const int error = errno;
    EXPECT_FALSE(second.Locked());
    EXPECT_EQ(error, EWOULDBLOCK);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
  }
  // Created empty for the lock and never written: gone again.
  EXPECT_FALSE(fs::exists(path));

  // A file that was replaced while locked stays, and the next lock is on the new one.
  {
    const FileLock lock(path, 0ms);
    ASSERT_TRUE(lock.Locked());
    EXPECT_EQ(ReplaceFile(path, "kept\n"), FileWrite::kWritten);
  }
  EXPECT_EQ(ReadFile(path), "kept\n");
  const FileLock again(path, 0ms);
  EXPECT_TRUE(again.Locked());
}

}  // namespace
}  // namespace velcrum
