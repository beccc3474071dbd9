// The memory commands, run through the executor.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "interpreter/executor.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "support/file_size_limit.h"
#include "support/files.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class MemoryCommandsTest : public testing::InterpreterTest {
 protected:
  static int32_t& Int(char letter) { return g_lIntegerVariables[VariableIndex(letter)]; }
  static std::string Str(char letter) { return g_szStringVariables[VariableIndex(letter)]; }
  static int32_t Mem(int index) { return GetMem("MG", index); }
  static void SetCells(int first, std::initializer_list<int32_t> values) {
    for (const int32_t value : values) SetMem("MP", first++, value);
  }
  static std::vector<int32_t> Cells(int first, int last) {
    std::vector<int32_t> cells;
    for (int i = first; i <= last; ++i) cells.push_back(Mem(i));
    return cells;
  }

  std::vector<std::string> ReportsOf(const std::string& line) {
    host.debugger.clear();
    Run(line);
    return Reports();
  }

  static std::string Range(const char* cmd, int n, int value) {
    return "<TEST____.000> WARNING: line: 100, cmd: '" + std::string(cmd) + "'  Parameter " +
           std::to_string(n) + " is out of range. Value found: " + std::to_string(value);
  }
};

TEST_F(MemoryCommandsTest, SingleCells) {
  Run("MP 5 1:MP -9 65536:MI 1:MG 1 A%:MG 65536 B%");
  EXPECT_EQ(Int('A'), 6);
  EXPECT_EQ(Int('B'), -9);

  SetCells(10, {2147483647, 1, 0});
  Run("MI 10:MD 11:MD 11:MD 12");
  EXPECT_EQ(Mem(10), -2147483647 - 1);  // wraps
  EXPECT_EQ(Cells(11, 12), (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(ReportsOf("MD 12"),
            (std::vector<std::string>{
                "<TEST____.000> WARNING: line: 100, cmd: 'MD' No location specified."}));
  // A negative cell is not decremented either, however negative.
  SetCells(13, {-2147483647 - 1});
  Run("MD 13");
  EXPECT_EQ(Mem(13), -2147483647 - 1);
}

TEST_F(MemoryCommandsTest, SingleCellIndicesOutOfRange) {
  EXPECT_EQ(ReportsOf("MP 5 0"), (std::vector<std::string>{Range("MP", 2, 0)}));
  EXPECT_EQ(ReportsOf("MP 5 65537"), (std::vector<std::string>{Range("MP", 2, 65537)}));
  EXPECT_EQ(ReportsOf("MI -1"), (std::vector<std::string>{Range("MI", 1, -1)}));
  Int('A') = 7;
  EXPECT_EQ(ReportsOf("MG 0 A%"), (std::vector<std::string>{Range("MG", 1, 0)}));
  EXPECT_EQ(Int('A'), 7);
  // MD: the range report, then the cell counts as 0 (GetMem says so) and is not stored.
  EXPECT_EQ(ReportsOf("MD 65537"),
            (std::vector<std::string>{
                Range("MD", 1, 65537),
                "<TEST____.000> line: 100, cmd: 'MD' <TEST____.000> WARNING: line: 100, cmd: 'MD' "
                "GetMem() mem location is out of range.",
                "<TEST____.000> WARNING: line: 100, cmd: 'MD' No location specified."}));
  g_settings.parameterInspection = Inspection::kStrict;
  EXPECT_EQ(ReportsOf("MD 0"), (std::vector<std::string>{Range("MD", 1, 0)}));
  // MG's target must be a variable.
  g_settings.parameterInspection = Inspection::kOn;
  SetCells(1, {3});
  Run("MG 1 5");
  EXPECT_TRUE(Reports().back().find("Parameter 2 is not a NUMERIC.") != std::string::npos);
}

TEST_F(MemoryCommandsTest, SetAndSearchRanges) {
  Run("MS 4 1 10");
  EXPECT_EQ(Cells(1, 11), (std::vector<int32_t>{4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 0}));
  // An empty range changes nothing.
  Run("MS 9 10 5");
  EXPECT_EQ(Cells(5, 10), (std::vector<int32_t>{4, 4, 4, 4, 4, 4}));
  // The highest cell is in range; above it MS reports after its (empty) work only.
  Run("MS 7 65535 65536");
  EXPECT_EQ(Cells(65535, 65536), (std::vector<int32_t>{7, 7}));
  EXPECT_EQ(ReportsOf("MS 7 65536 65537"), (std::vector<std::string>{Range("MS", 3, 65537)}));
  EXPECT_EQ(Mem(65536), 7);
  EXPECT_TRUE(ReportsOf("MS 7 0 5").empty());

  SetCells(7, {9, 0, 9});
  Int('F') = 99;
  Run("MF 9 1 10 F%");
  EXPECT_EQ(Int('F'), 7);
  Run("MF 5 1 10 F%");
  EXPECT_EQ(Int('F'), 0);
  Int('F') = 99;
  EXPECT_EQ(ReportsOf("MF 4 0 10 F%"), (std::vector<std::string>{Range("MF", 2, 0)}));
  EXPECT_EQ(Int('F'), 0);  // set to 0 before the (skipped) search
  EXPECT_EQ(ReportsOf("MF 7 65536 65537 F%"),
            (std::vector<std::string>{Range("MF", 3, 65537)}));  // 65537 passes the first step
  EXPECT_EQ(ReportsOf("MF 7 1 65538 F%"),
            (std::vector<std::string>{Range("MF", 3, 65538), Range("MF", 3, 65538)}));
  g_settings.parameterInspection = Inspection::kStrict;
  Int('F') = 99;
  EXPECT_EQ(ReportsOf("MF 4 0 70000 F%"), (std::vector<std::string>{Range("MF", 2, 0)}));
  EXPECT_EQ(Int('F'), 99);  // stopped before anything
}

TEST_F(MemoryCommandsTest, LogicalReductions) {
  SetCells(1, {5, 0, 40000, -3});
  SetCells(11, {1, 2, 3});
  SetCells(21, {40000, 50000});
  struct Case {
    const char* command;  // into R%
    int32_t expected;
  };
  const Case cases[] = {
      {"ML 'AND' 1 4 R%", 0},        {"ML 'NAND' 1 4 R%", 1},      {"ML 'AND' 11 13 R%", 1},
      {"ML 'NAND' 11 13 R%", 0},     {"ML 'OR' 1 2 R%", 1},        {"ML 'NOR' 1 2 R%", 0},
      {"ML 'OR' 2 2 R%", 0},         {"ML 'NOR' 2 2 R%", 1},       {"ML 'MIN' 1 4 R%", -3},
      {"ML 'MAX' 1 4 R%", 40000},    {"ML 'MIN' 21 22 R%", 32767}, {"ML 'MAX' 31 32 R%", 0},
      {"ML 'MAX' 41 40 R%", -32767},  // an empty range keeps the starting value
      {"ML 'and' 1 4 R%", -1},       {"ML 'XOR' 1 4 R%", -1},      {"ML 'M' 1 4 R%", -1},
      {"ML 'N' 1 4 R%", -1},         {"ML '' 1 4 R%", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    Int('R') = 1234;
    Run(c.command);
    EXPECT_EQ(Int('R'), c.expected);
  }
  // The target must be a variable.
  Int('R') = 1234;
  Run("ML 'AND' 1 4 9");
  EXPECT_EQ(Int('R'), 1234);
}

TEST_F(MemoryCommandsTest, CopyReadsEveryValueBeforeWriting) {
  SetCells(1, {1, 2, 3, 4});
  Run("MM 1 3 2");
  EXPECT_EQ(Cells(1, 5), (std::vector<int32_t>{1, 1, 2, 3, 0}));
  SetCells(1, {1, 2, 3, 4});
  Run("MM 2 4 1");
  EXPECT_EQ(Cells(1, 4), (std::vector<int32_t>{2, 3, 4, 4}));
  // Destinations above the last cell are skipped.
  SetCells(10, {7, 8, 9});
  Run("MM 10 12 65535");
  EXPECT_EQ(Cells(65535, 65536), (std::vector<int32_t>{7, 8}));
  // The source must be in range, and an empty source copies nothing.
  EXPECT_EQ(ReportsOf("MM 65537 65537 1"), (std::vector<std::string>{Range("MM", 1, 65537)}));
  EXPECT_EQ(ReportsOf("MM 0 3 10"),
            (std::vector<std::string>{Range("MM", 1, 0), Range("MM", 1, 0)}));
  Run("MM 12 10 1");
  EXPECT_EQ(Mem(1), 2);
}

TEST_F(MemoryCommandsTest, ListingARangeIntoAString) {
  SetCells(1, {1, 22, 333, -4});
  Run("MA 1 3 L$");
  EXPECT_EQ(Str('L'), "1 22 333");
  Run("MA 4 4 L$");
  EXPECT_EQ(Str('L'), "-4");
  // An empty range leaves the target as it was.
  Run("MA 3 1 L$");
  EXPECT_EQ(Str('L'), "-4");
  // Only whole pieces that fit in 255 characters: 23 pieces of "1234567890 ".
  Run("MS 1234567890 100 200:MA 100 200 L$");
  std::string expected;
  for (int i = 0; i < 23; ++i) expected += "1234567890 ";
  expected.pop_back();
  EXPECT_EQ(Str('L'), expected);
  EXPECT_LE(Str('L').size(), 255u);
  // Bounds out of range are reported and stop the command.
  EXPECT_EQ(ReportsOf("MA 0 3 L$"), (std::vector<std::string>{Range("MA", 1, 0)}));
  EXPECT_EQ(ReportsOf("MA 1 65537 L$"), (std::vector<std::string>{Range("MA", 2, 65537)}));
}

// Memory files live on drive C of a private root, so that tests never meet each other's
// files or the user's.
class MemoryFilesTest : public MemoryCommandsTest {
 protected:
  void SetUp() override {
    MemoryCommandsTest::SetUp();
    char pattern[] = "/tmp/velcrum-memory-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ / "drive_c" / "data");
    setenv("VELCRUM_ROOT", root_.c_str(), 1);
    unsetenv("VELCRUM_DRIVE_C");
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    MemoryCommandsTest::TearDown();
  }

  std::filesystem::path OnDriveC(const std::string& relative) const {
    return root_ / "drive_c" / relative;
  }
  static void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string ReadFile(const std::filesystem::path& path) {
    return testing::ReadWholeFile(path);
  }

  std::filesystem::path root_;
};

TEST_F(MemoryFilesTest, WriteAndReadBack) {
  SetCells(5, {12, -7, 2147483647, -2147483647 - 1, 0});
  // ";" stands for ":" and "/" for "\" in scripts; the drive letter's case is free.
  Run("MW 'C;/data/mem.txt' 5 9");
  EXPECT_EQ(ReadFile(OnDriveC("data/mem.txt")), "12\n-7\n2147483647\n-2147483648\n0\n");

  Run("MR 'c;/DATA/Mem.txt' 105 109");
  EXPECT_EQ(Cells(105, 109), Cells(5, 9));
  EXPECT_TRUE(Reports().empty());

  // Writing again replaces the file.
  Run("MW 'c;/data/mem.txt' 5 6");
  EXPECT_EQ(ReadFile(OnDriveC("data/mem.txt")), "12\n-7\n");
}

TEST_F(MemoryFilesTest, ReadingPastTheEndOfTheFileGivesZeros) {
  WriteFile(OnDriveC("two.txt"), "5\r\n-6 apples\r\n");
  SetCells(1, {9, 9, 9, 9, 9, 9});
  Run("MR 'c;/two.txt' 1 5");
  EXPECT_EQ(Cells(1, 6), (std::vector<int32_t>{5, -6, 0, 0, 0, 9}));

  // Lines that are no number read as 0; an over-long line counts once.
  WriteFile(OnDriveC("odd.txt"), "x\n" + std::string(300, '4') + "\n7\n\n8");
  Run("MR 'c;/odd.txt' 1 5");
  EXPECT_EQ(Cells(1, 5), (std::vector<int32_t>{0, 2147483647, 7, 0, 8}));
}

TEST_F(MemoryFilesTest, BadFilesAndNames) {
  SetCells(1, {3, 3});
  EXPECT_EQ(ReportsOf("MR 'c;/missing.txt' 1 2"),
            (std::vector<std::string>{
                "File does not exist: 'c:\\missing.txt' ",
                "<TEST____.000> WARNING: line: 100, cmd: 'MR' Parameter 1 File does not exist: "
                "'c:\\missing.txt'  (MR 'c;/missing.txt' 1 2)"}));
  EXPECT_EQ(Cells(1, 2), (std::vector<int32_t>{3, 3}));

  // A directory that does not exist cannot take a new file.
  EXPECT_EQ(ReportsOf("MW 'c;/nowhere/m.txt' 1 2").front(),
            "File does not exist: 'c:\\nowhere\\m.txt' ");
  EXPECT_FALSE(std::filesystem::exists(OnDriveC("nowhere")));

  const std::vector<std::string> noName = ReportsOf("MW '' 1 2");
  EXPECT_EQ(noName.back(),
            "<TEST____.000> WARNING: line: 100, cmd: 'MW' Parameter 1 file name parameter is NULL "
            "(MW '' 1 2)");

  // A range that cannot be used leaves the file alone.
  WriteFile(OnDriveC("keep.txt"), "1\n");
  Run("MW 'c;/keep.txt' 5 2");
  EXPECT_EQ(ReportsOf("MW 'c;/keep.txt' 0 2"), (std::vector<std::string>{Range("MW", 2, 0)}));
  EXPECT_EQ(ReportsOf("MR 'c;/keep.txt' 65536 65537"),
            (std::vector<std::string>{Range("MR", 3, 65537)}));
  EXPECT_EQ(ReadFile(OnDriveC("keep.txt")), "1\n");
}

TEST_F(MemoryFilesTest, MWOntoAFullDiskKeepsTheOldFileAndSaysSo) {
  WriteFile(OnDriveC("data/mem.txt"), "1\n2\n");
  SetCells(1, {-2147483647 - 1, -2147483647 - 1, -2147483647 - 1});
  std::vector<std::string> reports;
  {
    const testing::FileSizeLimit full(16);
    reports = ReportsOf("MW 'c;/data/mem.txt' 1 3");
  }
  EXPECT_EQ(ReadFile(OnDriveC("data/mem.txt")), "1\n2\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(OnDriveC("data")),
                          std::filesystem::directory_iterator()),
            1);  // no temporary file left
  EXPECT_EQ(reports,
            (std::vector<std::string>{
                "File could not be written: 'c:\\data\\mem.txt' (File too large) ",
                "<TEST____.000> WARNING: line: 100, cmd: 'MW' Parameter 1 File could not be "
                "written: 'c:\\data\\mem.txt' (File too large)  (MW 'c;/data/mem.txt' 1 3)"}));
}

}  // namespace
}  // namespace velcrum
