// SR and SW through the executor, on a private drive C.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "interpreter/executor.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "support/file_size_limit.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;

class StringFileCommandsTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    char pattern[] = "/tmp/velcrum-strings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    base_ = pattern;
    fs::create_directories(base_ / "drive_c" / "data");
    setenv("VELCRUM_ROOT", base_.c_str(), 1);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      unsetenv((std::string("VELCRUM_DRIVE_") + letter).c_str());
    }
  }

  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(base_, ignored);
    unsetenv("VELCRUM_ROOT");
    InterpreterTest::TearDown();
  }

  fs::path DataFile(const char* name) const { return base_ / "drive_c" / "data" / name; }

  void WriteData(const char* name, const std::string& bytes) const {
    std::ofstream(DataFile(name), std::ios::binary) << bytes;
  }

  std::string ReadData(const char* name) const {
    std::ifstream in(DataFile(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static void PutMemory(int index, std::string_view text) {
    char* memory = StringMemory(index);
    std::memcpy(memory, text.data(), text.size());
    memory[text.size()] = '\0';
  }
  static std::string Memory(int index) { return StringMemory(index); }

  fs::path base_;
};

TEST_F(StringFileCommandsTest, SRFillsOneMemoryPerLineAndLeavesTheRest) {
  WriteData("list.txt", "alpha\nbeta\ngamma\n");
  for (int index = 1; index <= 10; ++index) PutMemory(index, "old");
  Run("SR 'c;/data/list.txt' 1 10");
  EXPECT_EQ(Memory(1), "alpha");
  EXPECT_EQ(Memory(2), "beta");
  EXPECT_EQ(Memory(3), "gamma");
  for (int index = 4; index <= 10; ++index) EXPECT_EQ(Memory(index), "old") << index;
  EXPECT_FALSE(DebuggerSaid("WARNING"));
}

TEST_F(StringFileCommandsTest, SRLineEndsAndLongLines) {
  struct Case {
    const char* file;
    std::string bytes;
    std::string memories[4];
  };
  const Case cases[] = {
      {"nolf.txt", "one\ntwo", {"one", "two", "old", "old"}},  // a last line without its end
      {"crlf.txt", "one\r\ntwo\r\n", {"one", "two", "old", "old"}},
      {"blank.txt", "one\n\nthree\n", {"one", "", "three", "old"}},
      // A line longer than a memory fills one memory, cut at 255 characters.
      {"long.txt",
       std::string(300, 'x') + "\nnext\n",
       {std::string(255, 'x'), "next", "old", "old"}},
      {"exact.txt", std::string(255, 'y') + "\nz\n", {std::string(255, 'y'), "z", "old", "old"}},
      {"empty.txt", "", {"old", "old", "old", "old"}},
  };
  for (const Case& c : cases) {
    WriteData(c.file, c.bytes);
    for (int index = 1; index <= 4; ++index) PutMemory(index, "old");
    Run(std::string("SR 'C;/DATA/") + c.file + "' 1 4");
    for (int index = 1; index <= 4; ++index) {
      EXPECT_EQ(Memory(index), c.memories[index - 1]) << c.file << " memory " << index;
    }
  }
}

TEST_F(StringFileCommandsTest, SRStopsAtTheLastMemoryOfTheRange) {
  WriteData("list.txt", "a\nb\nc\nd\n");
  Run("SR 'c;/data/list.txt' 4097 4097:SR 'c;/data/list.txt' 2 3");
  EXPECT_EQ(Memory(4097), "a");
  EXPECT_EQ(Memory(1), "");
  EXPECT_EQ(Memory(2), "a");
  EXPECT_EQ(Memory(3), "b");
  EXPECT_EQ(Memory(4), "");
}

TEST_F(StringFileCommandsTest, FileCommandsReportMissingFilesAndNames) {
  struct Case {
    const char* line;
    const char* said;
  };
  const Case cases[] = {
      {"SR 'c;/data/none.txt' 1 3", "File does not exist: 'c:\\data\\none.txt' "},
      {"SR 'c;/data/none.txt' 1 3",
       "<TEST____.000> WARNING: line: 100, cmd: 'SR' Parameter 1 File does not exist: "
       "'c:\\data\\none.txt'  (SR 'c;/data/none.txt' 1 3)"},
      {"SR '' 1 3",
       "<TEST____.000> WARNING: line: 100, cmd: 'SR' Parameter 1 file name parameter is NULL "
       "(SR '' 1 3)"},
      {"SW 'c;/nodir/out.txt' 1 3", "File does not exist: 'c:\\nodir\\out.txt' "},
      {"SW '' 1 3",
       "<TEST____.000> WARNING: line: 100, cmd: 'SW' Parameter 1 file name parameter is NULL "
       "(SW '' 1 3)"},
      {"SW 'c;/data' 1 3", "File does not exist: 'c:\\data' "},  // a directory
  };
  for (const Case& c : cases) {
    host.debugger.clear();
    Run(c.line);
    EXPECT_TRUE(std::find(host.debugger.begin(), host.debugger.end(), c.said) !=
                host.debugger.end())
        << c.line << "\nwanted: " << c.said;
  }
  for (int index = 1; index <= 3; ++index) EXPECT_EQ(Memory(index), "");
}

TEST_F(StringFileCommandsTest, SWWritesMemoriesAsLinesAndOverwrites) {
  WriteData("out.txt", "previous contents that are longer\n");
  PutMemory(1, "first");
  PutMemory(3, "third");
  PutMemory(4097, "last");
  Run("SW 'c;/data/out.txt' 1 3");
  EXPECT_EQ(ReadData("out.txt"), "first\n\nthird\n");
  Run("SW 'c;/data/edge.txt' 4097 4097");
  EXPECT_EQ(ReadData("edge.txt"), "last\n");

  // An invalid range within 0 to 65537 says nothing and touches no file: an existing one
  // keeps its contents, a missing one is not created.
  host.debugger.clear();
  WriteData("kept.txt", "kept\n");
  Run("SW 'c;/data/kept.txt' 0 65537:SW 'c;/data/kept.txt' 3 2:SW 'c;/data/none.txt' 0 0");
  EXPECT_EQ(ReadData("kept.txt"), "kept\n");
  EXPECT_FALSE(fs::exists(DataFile("none.txt")));
  EXPECT_FALSE(DebuggerSaid("WARNING"));

  // Written, then read back.
  for (int index = 1; index <= 3; ++index) PutMemory(index, "");
  Run("SR 'c;/data/out.txt' 1 3");
  EXPECT_EQ(Memory(1), "first");
  EXPECT_EQ(Memory(2), "");
  EXPECT_EQ(Memory(3), "third");
}

TEST_F(StringFileCommandsTest, SWRangeReportsStopOnlyInStrictInspection) {
  // Reported, then the command goes on to its name check; the range is invalid, so no file
  // is written.
  Run("SW '' -1 3");
  EXPECT_TRUE(DebuggerSaid("cmd: 'SW'  Parameter 2 is out of range. Value found: -1"));
  EXPECT_TRUE(DebuggerSaid("file name parameter is NULL"));
  Run("SW 'c;/data/b.txt' 1 65538");
  EXPECT_TRUE(DebuggerSaid("cmd: 'SW'  Parameter 3 is out of range. Value found: 65538"));
  EXPECT_FALSE(fs::exists(DataFile("b.txt")));

  g_settings.parameterInspection = Inspection::kStrict;
  host.debugger.clear();
  Run("SW '' 1 65538");
  EXPECT_TRUE(DebuggerSaid("cmd: 'SW'  Parameter 3 is out of range. Value found: 65538"));
  EXPECT_FALSE(DebuggerSaid("file name parameter is NULL"));
}

TEST_F(StringFileCommandsTest, SWOntoAFullDiskKeepsTheOldFileAndSaysSo) {
  const std::string before = "the list as it was\n";
  WriteData("out.txt", before);
  PutMemory(1, std::string(200, 'x'));
  {
    const testing::FileSizeLimit full(64);
    Run("SW 'c;/data/out.txt' 1 1");
  }
  EXPECT_EQ(ReadData("out.txt"), before);
  EXPECT_EQ(
      std::distance(fs::directory_iterator(base_ / "drive_c" / "data"), fs::directory_iterator()),
      1);  // no temporary file left
  const char* said = "File could not be written: 'c:\\data\\out.txt' (File too large) ";
  EXPECT_TRUE(std::find(host.debugger.begin(), host.debugger.end(), said) != host.debugger.end());
  EXPECT_TRUE(
      DebuggerSaid("<TEST____.000> WARNING: line: 100, cmd: 'SW' Parameter 1 File could "
                   "not be written: 'c:\\data\\out.txt' (File too large)  (SW "));
}

TEST_F(StringFileCommandsTest, SWWritesAnEmptyLineForAMissingMemory) {
  FreeMemories();
  Run("SW 'c;/data/out.txt' 1 2");
  EXPECT_EQ(ReadData("out.txt"), "\n\n");
  EXPECT_EQ(std::count(host.debugger.begin(), host.debugger.end(),
                       "<TEST____.000> ERROR: line: 100, cmd: 'SW'  hStrMem[] is NULL"),
            2);
}

}  // namespace
}  // namespace velcrum
