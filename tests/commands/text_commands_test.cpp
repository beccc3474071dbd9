// The text commands, run as script lines through the real executor.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "support/file_size_limit.h"
#include "support/files.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

constexpr const char* kHead = "<TEST____.000> ";

void SetStringMemoryText(char* field, const std::string& text) {
  text.copy(field, kMaxStringLength);
  field[std::min(text.size(), static_cast<size_t>(kMaxStringLength))] = '\0';
}

class TextCommandsTest : public testing::InterpreterTest {
 protected:
  // Runs a command text directly, as the extension library's callback does; the only way
  // a command can carry a text longer than a script line.
  void Dispatch(const std::string& command) {
    g_iCurrentLine = 7;
    DispatchCommand(command, 7, 0);
  }

  static void SetStr(char letter, const std::string& text) {
    SetStringVariable(VariableIndex(letter), text);
  }
  static std::string Str(char letter) { return g_szStringVariables[VariableIndex(letter)]; }
  static int32_t& Int(char letter) { return g_lIntegerVariables[VariableIndex(letter)]; }
  static std::string StrMem(int index) { return StringMemory(index); }
  static void PutStrMem(int index, const std::string& text) {
    SetStringMemoryText(StringMemory(index), text);
  }
};

// A text of n characters cycling through the alphabet, so that cuts are visible.
std::string Letters(size_t n) {
  std::string text;
  for (size_t i = 0; i < n; ++i) text += static_cast<char>('a' + i % 26);
  return text;
}

TEST_F(TextCommandsTest, TbInsertsABarAfterThePosition) {
  struct Case {
    const char* text;
    int position;
    const char* expected;
  };
  const Case cases[] = {
      {"ABCDEF", 3, "ABC|DEF"},
      {"ABCDEF", 1, "A|BCDEF"},
      {"ABCDEF", 6, "ABCDEF|"},
      {"ABCDEF", 0, "ABCDEF"},
      {"ABCDEF", 7, "ABCDEF"},
      {"ABCDEF", -2, "ABCDEF"},
      {"", 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.position));
    SetStr('B', "old");
    Run("TB '" + std::string(c.text) + "' " + std::to_string(c.position) + " B$");
    EXPECT_EQ(Str('B'), c.expected);
  }
}

TEST_F(TextCommandsTest, TbWritesItsTrace) {
  Run("TB 'ABCDEF' 3 B$");
  EXPECT_TRUE(DebuggerSaid("TextBreak: len:6"));
  EXPECT_TRUE(DebuggerSaid("TextBreak: string:'ABC|DEF' len:7\n"));
}

TEST_F(TextCommandsTest, TbOnAFullVariableDropsTheLastCharacter) {
  const std::string full = Letters(255);
  SetStr('A', full);
  Run("TB A$ 100 B$");
  EXPECT_EQ(Str('B'), full.substr(0, 100) + "|" + full.substr(100, 154));
  EXPECT_TRUE(DebuggerSaid("TextBreak: len:255"));
}

TEST_F(TextCommandsTest, TargetOfTheWrongKindStopsTheCommand) {
  SetStr('B', "kept");
  Int('B') = 5;
  Run("TB 'ABC' 1 'x':TD 'a.b' '.' 'x' B$:TQ 'abc' 9");
  EXPECT_EQ(Str('B'), "kept");  // TD empties its targets only once both are variables
  EXPECT_TRUE(DebuggerSaid(std::string(kHead) +
                           "ERROR: line: 100, cmd: 'TB'  Parameter 3 is not a STRING. Found a "
                           "string literal."));
  EXPECT_TRUE(DebuggerSaid("cmd: 'TD'  Parameter 3 is not a STRING. Found a string literal."));
  EXPECT_TRUE(DebuggerSaid("cmd: 'TQ'  Parameter 2 is not a NUMERIC. Found a numeric literal."));
  EXPECT_FALSE(DebuggerSaid("TextBreak"));
}

TEST_F(TextCommandsTest, TargetOfTheWrongKindIsNeverWrittenWithInspectionOff) {
  g_settings.parameterInspection = Inspection::kOff;
  SetStr('A', "first");
  Int('A') = 5;
  // With the checks off, a literal in a target's place must not be taken for A$ or A%,
  // the variable a parameter slot names by default.
  Run("TL 'x' 'y':TQ 'abc' 9:TE 'C' 'z' 1:TX 'a;b' 0:TS '1,2' ',' 0 0");
  EXPECT_EQ(Str('A'), "first");
  EXPECT_EQ(Int('A'), 5);
}

TEST_F(TextCommandsTest, TdSplitsAtTheFirstSeparatorCharacter) {
  struct Case {
    const char* text;
    const char* separator;
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"12.30", ".", "12", "30"}, {"a.b.c", ".", "a", "b.c"}, {"12.30", ".x", "12", "30"},
      {"1230", ".", "1230", ""},  {"12.30", "", "12.30", ""}, {"", ".", "", ""},
      {"12.", ".", "12", ""},     {".5", ".", "", "5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " / " + c.separator);
    SetStr('B', "old");
    SetStr('C', "old");
    Run("TD '" + std::string(c.text) + "' '" + c.separator + "' B$ C$");
    EXPECT_EQ(Str('B'), c.before);
    EXPECT_EQ(Str('C'), c.after);
  }
}

TEST_F(TextCommandsTest, TeEditsTheVariableInPlace) {
  struct Case {
    const char* operation;
    const char* text;
    int count;
    const char* expected;
  };
  const Case cases[] = {
      {"B", "abcd", 2, "ab"},
      {"B", "abcd", 10, ""},
      {"B", "abcd", -1, "abcd"},
      {"C", "MiXeD 1", 0, "mixed 1"},
      {"C", "MiXeD 1", 1, "MIXED 1"},
      {"C", "hELLO wORLD", 2, "Hello World"},
      {"C", "x", 2, "x"},
      {"C", "two  blanks", 2, "Two  Blanks"},
      {"C", "MiXeD", 3, "MiXeD"},
      {"C", "\xe9t\xc9", 1, "\xe9T\xc9"},  // only a to z change case
      {"D", "abcd", 1, "bcd"},
      {"D", "abcd", 99, ""},
      {"S", "/x", 0, "x"},
      {"S", "x", 0, "x"},
      {"S", "/x", 1, "//x"},
      {"S", "", 5, "/"},
      {"Q", "abc", 1, "abc"},
      {"", "abc", 1, "abc"},
      {"Bye", "abcd", 1, "abc"},  // only the first letter selects
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.operation) + " " + std::to_string(c.count) + " on " + c.text);
    SetStr('A', c.text);
    Run("TE '" + std::string(c.operation) + "' A$ " + std::to_string(c.count));
    EXPECT_EQ(Str('A'), c.expected);
  }
}

TEST_F(TextCommandsTest, TeSlashOnAFullVariableKeepsItsLength) {
  SetStr('A', Letters(255));
  Run("TE S A$ 1");
  EXPECT_EQ(Str('A'), "/" + Letters(254));
}

TEST_F(TextCommandsTest, TfRemovesLineEndsAndQuotes) {
  SetStr('A', "it's\r\na\rline\n");
  Run("TF A$");
  EXPECT_EQ(Str('A'), "itsaline");
}

TEST_F(TextCommandsTest, ThTurnsACharacterIntoTabsAndBack) {
  SetStr('A', "a,b,,c");
  Run("TH A$ ','");  // mode not given: to tabs
  EXPECT_EQ(Str('A'), "a\tb\t\tc");
  Run("TH A$ ';x' 1");
  EXPECT_EQ(Str('A'), "a;b;;c");
  Run("TH A$ ';' 0");
  EXPECT_EQ(Str('A'), "a\tb\t\tc");
  // Without a character nothing changes, in either direction.
  Run("TH A$ '' 1:TH A$ '' 0");
  EXPECT_EQ(Str('A'), "a\tb\t\tc");
}

TEST_F(TextCommandsTest, AMissingModeOrDirectionIsQuietAsInSL) {
  // Each is 0 when not given, which is no mistake; a parameter of the wrong kind still is.
  const struct {
    const char* line;
    bool reported;
  } cases[] = {
      {"TH A$ ','", false},    {"TX A$", false},    {"SL 1 1 ',' A$", false},
      {"TH A$ ',' 'x'", true}, {"TX A$ 'x'", true}, {"SL 1 1 ',' A$ 'x'", true},
  };
  for (const auto& c : cases) {
    host.debugger.clear();
    SetStr('A', "a,b");
    Run(c.line);
    EXPECT_EQ(!Reports().empty(), c.reported) << c.line;
  }
}

TEST_F(TextCommandsTest, TiAppendsAsFarAsTheVariableAllows) {
  SetStr('A', "abc");
  Run("TI 'def' A$");
  EXPECT_EQ(Str('A'), "abcdef");
  SetStr('A', Letters(250));
  Run("TI '0123456789' A$");
  EXPECT_EQ(Str('A'), Letters(250) + "01234");
  Run("TI 'more' A$");
  EXPECT_EQ(Str('A'), Letters(250) + "01234");
  Run("TI A$ A$");  // appending a variable to itself
  EXPECT_EQ(Str('A'), Letters(250) + "01234");
  SetStr('A', "ab");
  Run("TI A$ A$");
  EXPECT_EQ(Str('A'), "abab");
}

TEST_F(TextCommandsTest, TlLoadsAndCutsWithAWarning) {
  Run("TL 'hello' A$:TL '' B$");
  EXPECT_EQ(Str('A'), "hello");
  EXPECT_EQ(Str('B'), "");
  EXPECT_FALSE(DebuggerSaid("Truncating"));

  Dispatch("TL '" + Letters(300) + "' A$");
  EXPECT_EQ(Str('A'), Letters(255));
  EXPECT_TRUE(DebuggerSaid(std::string(kHead) +
                           "WARNING: line: 7, cmd: 'TL' string length exceeds 255. Truncating."));
}

TEST_F(TextCommandsTest, TqGivesTheLength) {
  SetStr('A', Letters(255));
  Run("TQ 'hello' L%:TQ '' M%:TQ A$ N%:TQ 12345 O%");
  EXPECT_EQ(Int('L'), 5);
  EXPECT_EQ(Int('M'), 0);
  EXPECT_EQ(Int('N'), 255);
  EXPECT_EQ(Int('O'), 5);
}

TEST_F(TextCommandsTest, OverlongTextGoesOnExceptInStrictInspection) {
  const std::string command = "TQ '" + Letters(300) + "' L%";
  Dispatch(command);
  EXPECT_EQ(Int('L'), 300);

  Int('L') = 0;
  g_settings.parameterInspection = Inspection::kStrict;
  Dispatch(command);
  EXPECT_EQ(Int('L'), 0);
}

TEST_F(TextCommandsTest, TrRemovesTheFirstOccurrence) {
  struct Case {
    const char* text;
    const char* remove;
    const char* expected;
  };
  const Case cases[] = {
      {"abcabc", "bc", "aabc"},
      {"abcabc", "x", "abcabc"},
      {"abc", "", "abc"},
      {"abc", "abc", ""},
      {"", "a", ""},
      {"ab", "abc", "ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.remove) + " from " + c.text);
    SetStr('A', c.text);
    Run("TR '" + std::string(c.remove) + "' A$");
    EXPECT_EQ(Str('A'), c.expected);
  }
}

TEST_F(TextCommandsTest, TtCopiesOneVariableToAnother) {
  SetStr('A', Letters(255));
  Run("TT A$ b$");
  EXPECT_EQ(Str('b'), Letters(255));
  SetStr('C', "kept");
  Run("TT 'literal' C$");
  EXPECT_EQ(Str('C'), "kept");
  EXPECT_TRUE(DebuggerSaid("cmd: 'TT'  Parameter 1 is not a STRING. Found a string literal."));
}

TEST_F(TextCommandsTest, TsSplitsIntoBothBlocks) {
  Run("TS '10,20,,40' ',' 100 200");
  const std::vector<int32_t> integers = {4, 10, 20, 0, 40};
  const std::vector<std::string> strings = {"4", "10", "20", " ", "40"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(GetMem("TS", 100 + i), integers[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(StrMem(200 + i), strings[static_cast<size_t>(i)]) << i;
  }
  EXPECT_EQ(GetMem("TS", 105), 0);
  EXPECT_EQ(StrMem(205), "");
}

TEST_F(TextCommandsTest, TsFieldRules) {
  struct Case {
    const char* text;
    const char* separators;
    std::vector<std::string> expected;  // string memories 10, 11, ...
  };
  const Case cases[] = {
      {",a", ",", {"1", "", "a"}},                // a leading separator is an empty field
      {"a,b,", ",", {"2", "a", "b"}},             // no empty last field
      {"a,,,b", ",", {"4", "a", " ", " ", "b"}},  // every doubled separator a blank field
      {"a;b,c", ",;", {"3", "a", "b", "c"}},      // every character separates
      {"a,;b", ",;", {"2", "a", "b"}},            // mixed runs cut once
      {"a b", "", {"1", "a b"}},                  // no separator: one field
      {",", ",", {"0", ""}},                      // only the leading empty field
      {"", ",", {"0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " / " + c.separators);
    for (int i = 10; i < 20; ++i) PutStrMem(i, "untouched");
    Run("TS '" + std::string(c.text) + "' '" + c.separators + "' 0 10");
    for (size_t i = 0; i < c.expected.size(); ++i)
      EXPECT_EQ(StrMem(10 + static_cast<int>(i)), c.expected[i]) << i;
    EXPECT_EQ(StrMem(10 + static_cast<int>(c.expected.size())), "untouched");
  }
}

TEST_F(TextCommandsTest, TsIntegerBlockAndLeadingField) {
  SetMem("TS", 52, 99);
  Run("TS ',7,x,-3' ',' 50");  // the string base is not given: no string block
  const std::vector<int32_t> expected = {3, 0, 7, 0, -3, 0};
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(GetMem("TS", 50 + i), expected[static_cast<size_t>(i)]) << i;
  EXPECT_EQ(StrMem(1), "");
}

TEST_F(TextCommandsTest, TsEmptyTextAndUnwantedBlocks) {
  SetMem("TS", 30, 5);
  PutStrMem(40, "x");
  Run("TS '' ',' 30 40");
  EXPECT_EQ(GetMem("TS", 30), 0);
  EXPECT_EQ(StrMem(40), "0");

  Run("TS '1,2' ',' 0 0");  // both bases 0: nothing anywhere
  EXPECT_EQ(GetMem("TS", 1), 0);
  EXPECT_EQ(StrMem(1), "");
  EXPECT_FALSE(DebuggerSaid("cmd: 'TS'"));
}

TEST_F(TextCommandsTest, TsStopsAtTheLastMemory) {
  Run("TS '1,2,3' ',' 65535 4095");
  EXPECT_EQ(GetMem("TS", 65535), 3);
  EXPECT_EQ(GetMem("TS", 65536), 1);
  EXPECT_EQ(StrMem(4095), "3");
  EXPECT_EQ(StrMem(4096), "1");
  EXPECT_EQ(StrMem(4097), "2");
  // A leading empty field at the very top has no memory either.
  Run("TS ',5' ',' 65536 4097");
  EXPECT_EQ(GetMem("TS", 65536), 1);
  EXPECT_EQ(StrMem(4097), "1");
  EXPECT_FALSE(DebuggerSaid("out of range"));
}

TEST_F(TextCommandsTest, TsReportsABaseOutOfRange) {
  Run("TS '1,2' ',' 65537 4098");
  EXPECT_TRUE(DebuggerSaid(std::string(kHead) +
                           "WARNING: line: 100, cmd: 'TS'  Parameter 3 is out of range. Value "
                           "found: 65537"));
  EXPECT_TRUE(DebuggerSaid("cmd: 'TS'  Parameter 4 is out of range. Value found: 4098"));
  EXPECT_FALSE(DebuggerSaid("mem location is out of range"));

  // A bad base spoils only its own block, except in strict inspection.
  Run("TS '1,2' ',' -1 20");
  EXPECT_EQ(StrMem(20), "2");
  g_settings.parameterInspection = Inspection::kStrict;
  Run("TS '1,2' ',' -1 30");
  EXPECT_EQ(StrMem(30), "");
}

TEST_F(TextCommandsTest, TsCutsLongFieldsToTheMemorySize) {
  SetStr('A', "x," + Letters(253));
  Run("TS A$ ',' 0 10");
  EXPECT_EQ(StrMem(12), Letters(253));
  Dispatch("TS '" + Letters(300) + ",y' ',' 0 10");
  EXPECT_EQ(StrMem(10), "2");
  EXPECT_EQ(StrMem(11), Letters(255));
  EXPECT_EQ(StrMem(12), "y");
}

TEST_F(TextCommandsTest, TxTranslatesBothWays) {
  struct Case {
    const char* text;
    int direction;
    int crlfSetting;
    const char* expected;
  };
  const Case cases[] = {
      {"c;/data|x`y", 0, 0, "c:\\data\rx'y"},
      {"c:\\data\rx'y", 1, 0, "c;/data|x`y"},
      {"a\r\nb", 1, 0, "a|b"},
      {"a\r\nb", 1, 1, "a|\nb"},
      {"a\nb\r", 7, 0, "a\nb|"},  // a lone line feed stays
      {"a:b;c", 0, 0, "a:b:c"},   // direction 0 leaves colons alone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " direction " + std::to_string(c.direction));
    g_settings.txVerticalBarCrlf = c.crlfSetting;
    SetStr('A', c.text);
    Run("TX A$ " + std::to_string(c.direction));
    EXPECT_EQ(Str('A'), c.expected);
  }
  SetStr('A', "x/y");
  Run("TX A$");  // direction not given: 0
  EXPECT_EQ(Str('A'), "x\\y");
}

// TW writes through the path mapping into a private drive C.
class TwTest : public TextCommandsTest {
 protected:
  void SetUp() override {
    TextCommandsTest::SetUp();
    char pattern[] = "/tmp/velcrum-tw-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(DriveC() / "Logs");
    setenv("VELCRUM_ROOT", root_.c_str(), 1);
    unsetenv("VELCRUM_DRIVE_C");
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    TextCommandsTest::TearDown();
  }

  std::filesystem::path DriveC() const { return root_ / "drive_c"; }

  static std::string ReadFile(const std::filesystem::path& path) {
    return testing::ReadWholeFile(path);
  }

  std::filesystem::path root_;
};

TEST_F(TwTest, AppendsWithBarsAsLineEnds) {
  Run("TW 'a|b' 'c;/logs/out.txt'");
  EXPECT_EQ(ReadFile(DriveC() / "Logs" / "out.txt"), "a\nb");
  SetStr('A', "c\xff\r|");
  Run("TW A$ 'C;/LOGS/OUT.TXT'");  // existing names are found whatever their case
  EXPECT_EQ(ReadFile(DriveC() / "Logs" / "out.txt"), "a\nbc\xff\r\n");
  EXPECT_FALSE(DebuggerSaid("cmd: 'TW'"));
}

TEST_F(TwTest, MissingDirectoryOrNameWritesNothing) {
  Run("TW 'x' 'c;/nodir/out.txt':TW 'x' ''");
  EXPECT_FALSE(std::filesystem::exists(DriveC() / "nodir"));
  EXPECT_TRUE(DebuggerSaid("File does not exist: 'c:\\nodir\\out.txt' "));
  EXPECT_TRUE(DebuggerSaid(std::string(kHead) +
                           "WARNING: line: 100, cmd: 'TW' Parameter 2 File does not exist: "
                           "'c:\\nodir\\out.txt'  (TW 'x' 'c;/nodir/out.txt')"));
  EXPECT_TRUE(DebuggerSaid(std::string(kHead) +
                           "WARNING: line: 100, cmd: 'TW' Parameter 2 file name parameter is "
                           "NULL (TW 'x' '')"));
}

TEST_F(TwTest, AFullDiskIsSaidAndWhatWasThereStays) {
  Run("TW 'earlier|' 'c;/logs/out.txt'");
  {
    const testing::FileSizeLimit full(12);
    Run("TW 'much more than fits' 'c;/logs/out.txt'");
  }
  EXPECT_TRUE(ReadFile(DriveC() / "Logs" / "out.txt").starts_with("earlier\n"));
  EXPECT_TRUE(DebuggerSaid("File could not be written: 'c:\\logs\\out.txt' (File too large) "));
  EXPECT_TRUE(DebuggerSaid(std::string(kHead) +
                           "WARNING: line: 100, cmd: 'TW' Parameter 2 File could not be written: "
                           "'c:\\logs\\out.txt' (File too large)  (TW 'much more than fits' "
                           "'c;/logs/out.txt')"));
}

}  // namespace
}  // namespace velcrum
