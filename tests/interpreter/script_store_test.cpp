// The script store, the script file and the bound string table.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <cstring>
#include <string>

#include "interpreter/diagnostics.h"
#include "interpreter/script_store.h"
#include "support/file_size_limit.h"
#include "support/files.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;

std::string Line(int n) {
  char buffer[kLineBufferSize];
  const int length = VLSTMSup_GetMem(n, buffer);
  EXPECT_EQ(length, static_cast<int>(std::strlen(buffer)));
  return buffer;
}

class ScriptStoreTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    dir_ = fs::temp_directory_path() / ("velcrum-store-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    InterpreterTest::TearDown();
  }

  std::string WriteFile(const std::string& name, const std::string& content) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }

  fs::path dir_;
};

TEST_F(ScriptStoreTest, SetAndGetRespectTheLineRange) {
  EXPECT_EQ(VLSTMSup_SetMem(0, "x"), 0);
  EXPECT_EQ(VLSTMSup_SetMem(32769, "x"), 0);
  EXPECT_EQ(VLSTMSup_SetMem(1, "first"), 1);
  EXPECT_EQ(VLSTMSup_SetMem(32768, "last"), 1);
  EXPECT_EQ(Line(1), "first");
  EXPECT_EQ(Line(32768), "last");
  char buffer[kLineBufferSize];
  EXPECT_EQ(VLSTMSup_GetMem(0, buffer), 0);
  EXPECT_EQ(VLSTMSup_GetMem(32769, buffer), 0);
  EXPECT_EQ(VLSTMSup_GetMem(2, buffer), 0);
  // An over-long text is cut to 255; an empty one is stored but reads as length 0.
  VLSTMSup_SetMem(3, std::string(300, 'z'));
  EXPECT_EQ(Line(3), std::string(255, 'z'));
  VLSTMSup_SetMem(3, "");
  EXPECT_EQ(Line(3), "");
  VLSTMSup_FreeAll();
  EXPECT_EQ(Line(1), "");
}

TEST_F(ScriptStoreTest, LoadFileReadsRecordsAndSkipsTheRest) {
  const std::string path = WriteFile("panel.AST",
                                     "// a comment\r\n"
                                     "120, \"NA a% 1 a%:JA 0\"\r\n"
                                     "   130, \"EI spaced\"\n"
                                     "no number here\n"
                                     "140, no quotes at all\n"
                                     "150, \"\"\n"
                                     "99999, \"out of range\"\n"
                                     "/120, \"commented out\"\n"
                                     "160, \"");
  VLSTMSup_SetMem(120, "old text");
  VLSTMSup_SetMem(5, "kept");
  EXPECT_EQ(VLSTMSup_LoadFile(path), 1);
  EXPECT_EQ(Line(120), "NA a% 1 a%:JA 0");
  EXPECT_EQ(Line(130), "EI spaced");
  EXPECT_EQ(Line(140), "140, no quotes at all");
  EXPECT_EQ(Line(150), "");
  EXPECT_EQ(Line(160), "");
  EXPECT_EQ(Line(5), "kept");
  EXPECT_EQ(host.debugger.front(), path);
}

TEST_F(ScriptStoreTest, LongRecordsKeepTheFirst255CharactersLessOne) {
  const std::string text(300 - 7, 'x');  // "100, \"" + text + "\"" is 300 characters
  const std::string path = WriteFile("long.AST", "100, \"" + text + "\"\n200, \"after\"\n");
  VLSTMSup_LoadFile(path);
  // 255 characters of the record, less the 6 of its head, less one for the missing quote.
  EXPECT_EQ(Line(100), std::string(255 - 6 - 1, 'x'));
  EXPECT_EQ(Line(200), "after");
}

TEST_F(ScriptStoreTest, TheRestOfAVeryLongPhysicalLineIsNeverARecord) {
  // The line's length is that of its bytes: a NUL early in the line (where a C string
  // would end) must not let the tail past the 511th byte through as a record.
  const std::string tail = "700, \"smuggled\"";
  const std::string heads[] = {
      "100, \"" + std::string(505, 'y'),
      "// a comment" + std::string(1, '\0') + std::string(498, 'y'),
      "100, \"y" + std::string(1, '\0') + std::string(503, 'y'),
  };
  for (const std::string& head : heads) {
    VLSTMSup_FreeAll();
    ASSERT_EQ(head.size(), 511u);
    VLSTMSup_LoadFile(WriteFile("huge.AST", head + tail + "\"\n800, \"next\"\n"));
    EXPECT_EQ(Line(700), "") << head.substr(0, 12);
    EXPECT_EQ(Line(800), "next");
  }
}

TEST_F(ScriptStoreTest, MissingFileOrEmptyPath) {
  EXPECT_EQ(VLSTMSup_LoadFile(""), 0);
  const std::string missing = (dir_ / "none.AST").string();
  EXPECT_EQ(VLSTMSup_LoadFile(missing), 0);
  EXPECT_EQ(host.debugger.back(), "VLSTMSup_LoadFile: File does not exist: '" + missing + "' ");
  EXPECT_EQ(VLSTMSup_SaveFile(""), 0);
  const std::string nowhere = (dir_ / "no-such-dir" / "x.AST").string();
  EXPECT_EQ(VLSTMSup_SaveFile(nowhere), 0);
  EXPECT_EQ(host.debugger.back(), "VLSTMSup_SaveFile: File does not exist: '" + nowhere + "' ");
}

TEST_F(ScriptStoreTest, ASaveThatDoesNotFitLeavesTheFileAsItWas) {
  const std::string path = WriteFile("panel.AST", "100, \"EI kept\"\n");
  Script({{100, "EI a longer line than the file can take"}});
  {
    const testing::FileSizeLimit full(64);
    EXPECT_EQ(VLSTMSup_SaveFile(path), 0);
  }
  EXPECT_EQ(testing::ReadWholeFile(path), "100, \"EI kept\"\n");
  EXPECT_EQ(host.debugger.back(),
            "VLSTMSup_SaveFile: File could not be written: '" + path + "' (File too large) ");
}

TEST_F(ScriptStoreTest, SaveWritesSectionsAndReadsBackTheSameStore) {
  Script({{1, "EI first"}, {29999, "EI last main"}, {30000, "EC 2"}, {30500, "EI wake"},
          {31000, "EI close"}, {31500, ""}, {32000, "EI db"}, {32768, "EV scratch"}});
  const std::string path = (dir_ / "saved.AST").string();
  ASSERT_EQ(VLSTMSup_SaveFile(path), 1);
  std::ifstream in(path);
  std::stringstream content;
  content << in.rdbuf();
  const std::string expected =
      "// ************************************************************** //\n"
      "// *                Velcrum Stringtable File                   * //\n"
      "// *      Records: line number, a comma, a space, quoted text   * //\n"
      "// ************************************************************** //\n"
      "//\n"
      "//\n"
      "// ************************ Main Section ************************ //\n"
      "1, \"EI first\"\n"
      "29999, \"EI last main\"\n"
      "//\n"
      "// ************************ STARTUP Section ********************* //\n"
      "30000, \"EC 2\"\n"
      "//\n"
      "// ************************ WAKEUP Section  ********************* //\n"
      "30500, \"EI wake\"\n"
      "//\n"
      "// ************************ CLOSEDOWN Section ******************* //\n"
      "31000, \"EI close\"\n"
      "//\n"
      "// ************************ SLEEP Section *********************** //\n"
      "31500, \"\"\n"
      "//\n"
      "// ************************ DATABASE Section ******************** //\n"
      "32000, \"EI db\"\n"
      "32768, \"EV scratch\"\n"
      "//\n";
  EXPECT_EQ(content.str(), expected);

  VLSTMSup_FreeAll();
  ASSERT_EQ(VLSTMSup_LoadFile(path), 1);
  EXPECT_EQ(Line(1), "EI first");
  EXPECT_EQ(Line(29999), "EI last main");
  EXPECT_EQ(Line(32768), "EV scratch");
  char buffer[kLineBufferSize];
  EXPECT_EQ(VLSTMSup_GetMem(31500, buffer), 0);
}

TEST_F(ScriptStoreTest, ALongTextOnAFiveDigitLineLosesItsEndOnTheWayBack) {
  VLSTMSup_SetMem(30000, std::string(250, 'w'));
  const std::string path = (dir_ / "five.AST").string();
  VLSTMSup_SaveFile(path);
  VLSTMSup_FreeAll();
  VLSTMSup_LoadFile(path);
  EXPECT_EQ(Line(30000), std::string(255 - 8 - 1, 'w'));
}

class StringTableTest : public ScriptStoreTest {
 protected:
  InMemoryResources resources;
};

TEST_F(StringTableTest, WithoutLine30000TheTableIsIgnored) {
  resources.Add(100, "EI ignored");
  EXPECT_EQ(LoadScript(resources, "/panels/DESK.EXE"), ScriptLoad::kLoaded);
  EXPECT_EQ(Line(100), "");
}

TEST_F(StringTableTest, NormalisesSeparatorsAndSkipsComments) {
  resources.Add(30000, "EC 2");
  resources.Add(100, "NA a% 1 a%::JA 0::");
  resources.Add(101, "EI one:");
  resources.Add(102, "EI a:::EI b");
  resources.Add(103, "--a comment line");
  resources.Add(104, "");
  resources.Add(32768, "EI never loaded");
  ASSERT_EQ(LoadStringTables(resources), ScriptLoad::kLoaded);
  EXPECT_EQ(Line(100), "NA a% 1 a%:JA 0");
  EXPECT_EQ(Line(101), "EI one");
  EXPECT_EQ(Line(102), "EI a:EI b");
  EXPECT_EQ(Line(103), "");
  EXPECT_EQ(Line(32768), "");
}

TEST_F(StringTableTest, ASyntaxErrorStopsWithTheBox) {
  resources.Add(30000, "EC 2");
  resources.Add(10, "EI fine");
  resources.Add(20, "#comment");
  resources.Add(40, "EI never reached");
  EXPECT_EQ(LoadScript(resources, "/x/DESK.EXE"), ScriptLoad::kSyntaxStop);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption.rfind("Velcrum V", 0), 0u);
  EXPECT_EQ(host.boxes[0].text,
            "This application contains a syntax error in line: 20, and may contain illegal "
            "characters in: '#c'. Last line string: 'EI fine'");
  EXPECT_EQ(Line(40), "");
  EXPECT_TRUE(DebuggerSaid("Last line string: 'EI fine'"));
}

TEST_F(StringTableTest, OneCharacterLinesAlwaysFailTheCheck) {
  resources.Add(30000, "EC 2");
  resources.Add(5, "E");
  EXPECT_EQ(LoadStringTables(resources), ScriptLoad::kSyntaxStop);
  EXPECT_NE(host.boxes.at(0).text.find("Last line string: ''"), std::string::npos);
}

TEST_F(StringTableTest, LongAndNonAsciiEntriesAreReportedAndKept) {
  g_instanceName = "DESK____.000";
  resources.Add(30000, "EC 2");
  resources.Add(7, "EI " + std::string(297, 'm'));
  resources.Add(8, "EI caf\xe9");
  ASSERT_EQ(LoadStringTables(resources), ScriptLoad::kLoaded);
  EXPECT_EQ(Line(7).size(), 255u);
  EXPECT_TRUE(DebuggerSaid("<DESK____.000> ERROR: line: 7, cmd: 'Loading STRING TABLES' String "
                           "table entry is longer than 255.\n"));
  EXPECT_TRUE(DebuggerSaid("<DESK____.000> ERROR: line: 7 (Found 300 characters). Truncated.\n"));
  EXPECT_TRUE(DebuggerSaid("<DESK____.000> WARNING: line: 8, cmd: 'Loading STRING TABLES' "
                           "Parameter error NON-ASCII character present.\n"));
  EXPECT_EQ(Line(8), "EI caf\xe9");
}

TEST_F(StringTableTest, TheScriptFileWinsOverTheTable) {
  resources.Add(30000, "EI from table");
  resources.Add(100, "EI table only");
  WriteFile("DESK 4.AST", "30000, \"EI from file\"\n200, \"EI file only\"\n");
  EXPECT_EQ(LoadScript(resources, (dir_ / "DESK 4.EXE").string()), ScriptLoad::kLoaded);
  EXPECT_EQ(Line(30000), "EI from file");
  EXPECT_EQ(Line(100), "EI table only");
  EXPECT_EQ(Line(200), "EI file only");
}

TEST_F(StringTableTest, ALowerCaseExeLoadsNoScriptFile) {
  WriteFile("desk.AST", "200, \"EI file only\"\n");
  WriteFile("desk.ast", "200, \"EI file only\"\n");
  LoadScript(resources, (dir_ / "desk.exe").string());
  EXPECT_EQ(Line(200), "");
}

}  // namespace
}  // namespace velcrum
