// The S commands, run as script lines through the real executor.
#include "commands/string_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <regex>
#include <string>

#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "runtime/module_path.h"
#include "runtime/subsystem_settings.h"
#include "shell/configuration.h"
#include "support/foreign_locale.h"
#include "support/line_running_host.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class StringCommandsTest : public testing::InterpreterTest {
 protected:
  static std::string Str(char letter) { return g_szStringVariables[VariableIndex(letter)]; }
  static int32_t& Int(char letter) { return g_lIntegerVariables[VariableIndex(letter)]; }
  static void SetStr(char letter, std::string_view text) {
    SetStringVariable(VariableIndex(letter), text);
  }
  static void PutMemory(int index, std::string_view text) {
    char* memory = StringMemory(index);
    std::memcpy(memory, text.data(), text.size());
    memory[text.size()] = '\0';
  }
  static std::string Memory(int index) { return StringMemory(index); }

  // Whether the debug output holds exactly this line.
  bool DebuggerLine(std::string_view text) const {
    for (const std::string& line : host.debugger) {
      if (line == text) return true;
    }
    return false;
  }
};

struct LineCase {
  const char* line;
  const char* expected;
};

TEST_F(StringCommandsTest, SAGivesTheProgramFileNameInUpperCase) {
  const struct {
    std::string path;
    const char* expected;
  } cases[] = {
      {"/opt/panels/Desk 4.exe", "DESK 4.EXE"},
      {"c:\\vorn\\Router.Exe", "ROUTER.EXE"},
      {"plain", "PLAIN"},
      {"/" + std::string(300, 'd') + "/name.exe", "NAME.EXE"},
      {"", ""},
  };
  for (const auto& c : cases) {
    g_modulePath = c.path;
    SetStr('A', "old");
    Run("SA A$");
    EXPECT_EQ(Str('A'), c.expected) << c.path;
  }
}

TEST_F(StringCommandsTest, UpperCaseIsASCIIWhateverTheLocale) {
  // In the Turkish locale the C library upper-cases i to 0xDD and 0xE9 to 0xC9; the
  // commands change only the ASCII letters.
  const testing::ForeignLocale turkish;
  if (!turkish.Active()) GTEST_SKIP() << "no Turkish ISO 8859-9 locale on this machine";
  ASSERT_EQ(std::toupper('i'), 0xDD);

  g_modulePath = "/opt/panels/mix\xe9r.exe";
  Run("SA A$");
  EXPECT_EQ(Str('A'), "MIX\xe9R.EXE");

  setenv("VELCRUM_TEST_LINE", "found", 1);
  Run("SE 'velcrum_test_line' B$");
  EXPECT_EQ(Str('B'), "found");
  unsetenv("VELCRUM_TEST_LINE");

  setenv("CC_WORKSTATION", "7", 1);
  host.windowTitles = {"MIXERI__.007"};
  Run("SQ mixer.exe i n%");
  EXPECT_EQ(Int('n'), 1);
  unsetenv("CC_WORKSTATION");

  // SI writes both month names as it reads them, upper-cased.
  Run("SI '01-dic-2004' '0' '01-ene-2004' '0' C$");
  EXPECT_TRUE(DebuggerLine("DIC"));
}

TEST_F(StringCommandsTest, SCFormatsWithTheArgumentsItsScanTakes) {
  const LineCase cases[] = {
      {"SC A$ 'n=%ld s=%s' 42 'x'", "n=42 s=x"},
      {"SC A$ '%%'", "%"},
      {"SC A$ '%s-%s' B$ 'y'", "bee-y"},
      {"SC A$ '%x/%X/%08lx' 255 255 -1", "ff/FF/ffffffff"},
      {"SC A$ '%s' 12", "12"},
      {"SC A$ '[%-4d|%4s]' 7 'ab'", "[7   |  ab]"},
      // "%c" and "%f" take no argument in the scan, so they print what is left: "%c" here
      // takes 65, the only argument the "%d" gathered, and "%d" finds none.
      {"SC A$ '%c%d' 65 66", "A0"},
      {"SC A$ '%5.1f|%d' 3 4", "  3.0|0"},
      {"SC A$ 'a%nb' 5", "ab"},
      {"SC A$ '%s|%d'", "|0"},
      {"SC A$ 'x%'", "x%"},
      {"SC A$ '%*d' 5 42", "    0"},
      {"SC A$ '%d %d %d %d %d %d %d %d %d' 1 2 3 4 5 6 7 8 9", "1 2 3 4 5 6 7 8 0"},
  };
  for (const LineCase& c : cases) {
    SetStr('A', "old");
    SetStr('B', "bee");
    Run(c.line);
    EXPECT_EQ(Str('A'), c.expected) << c.line;
  }
  EXPECT_FALSE(DebuggerSaid("Truncating"));
}

TEST_F(StringCommandsTest, SCCutsLongResultsAt255) {
  Run("SC A$ '%999999d' 7");
  EXPECT_EQ(Str('A'), std::string(255, ' '));
  EXPECT_TRUE(DebuggerLine(
      "<TEST____.000> WARNING: line: 100, cmd: 'SC' resulting string length exceeds 255. "
      "Truncating."));

  // A format of 300 characters can only come from outside a script line.
  host.debugger.clear();
  DispatchCommand("SC A$ '" + std::string(300, 'f') + "'", 0, 0);
  EXPECT_EQ(Str('A'), std::string(255, 'f'));
  EXPECT_TRUE(DebuggerSaid("resulting string length exceeds 255. Truncating."));

  // The scan takes no argument for "%f", so it formats a missing one: 0.
  host.debugger.clear();
  Run("SC A$ '%.999999f' 1");
  EXPECT_EQ(Str('A'), "0." + std::string(253, '0'));
  EXPECT_TRUE(DebuggerSaid("Truncating."));
}

TEST_F(StringCommandsTest, SCReportsAFailedFormatAndEmptiesTheTarget) {
  SetStr('A', "old");
  Run("SC A$ '%2147483647d%2147483647d' 1");
  EXPECT_EQ(Str('A'), "");
  EXPECT_TRUE(
      DebuggerLine("<TEST____.000> ERROR: line: 100, cmd: 'SC' vprintf() failed to print."));
}

TEST_F(StringCommandsTest, TargetsMustBeVariablesOfTheirKind) {
  const LineCase cases[] = {
      {"SC 'x' '%d' 1", "cmd: 'SC'  Parameter 1 is not a STRING. Found a string literal."},
      // A number where a string variable belongs is only warned about, and gets nothing.
      {"SH 255 4 4 0",
       "cmd: 'SH'  Parameter 2 is not a STRING variable or literal. Found a NUMERIC literal."},
      {"SD '01-Jan-2004' 1 A$ 5 M% Y%",
       "cmd: 'SD'  Parameter 4 is not a NUMERIC. Found a numeric literal."},
      {"SF 'x' 1 10 5", "cmd: 'SF'  Parameter 4 is not a NUMERIC. Found a numeric literal."},
      {"SE 'HOME' 'x'", "cmd: 'SE'  Parameter 2 is not a STRING. Found a string literal."},
      {"ST 0 25", "cmd: 'ST'  Parameter 3 is not a STRING. No Parameter found."},
      {"SL 1 2 ',' 9",
       "cmd: 'SL'  Parameter 4 is not a STRING variable or literal. Found a NUMERIC literal."},
  };
  for (const LineCase& c : cases) {
    SetStr('A', "keep");
    Int('M') = 99;
    host.debugger.clear();
    Run(c.line);
    EXPECT_TRUE(DebuggerSaid(c.expected)) << c.line;
    EXPECT_EQ(Str('A'), "keep") << c.line;
    EXPECT_EQ(Int('M'), 99) << c.line;
  }
}

TEST_F(StringCommandsTest, SDAddsDaysToADate) {
  struct Case {
    const char* line;
    const char* text;
    int day, month, year;
  };
  const Case cases[] = {
      {"SD '28-Feb-2004' 1 A$ D% M% Y%", "29-Feb-2004", 29, 2, 2004},
      {"SD '31-Dec-1999' 1 A$ D% M% Y%", "01-Jan-2000", 1, 1, 2000},
      {"SD '01-Mar-2004' -1 A$ D% M% Y%", "29-Feb-2004", 29, 2, 2004},
      {"SD '15-june-2010' 365 A$ D% M% Y%", "15-Jun-2011", 15, 6, 2011},
      {"SD '05-Xyz-2004' 0 A$ D% M% Y%", "05-Jan-2004", 5, 1, 2004},  // month 0
      {"SD '01-Jan-1900' -1 A$ D% M% Y%", "00-----1900", 0, 0, 1900},
      {"SD '31-Dec-2000' 0 A$ D% M% Y%", "31-Dec-2000", 31, 12, 2000},
  };
  for (const Case& c : cases) {
    host.debugger.clear();
    Run(c.line);
    EXPECT_EQ(Str('A'), c.text) << c.line;
    EXPECT_EQ(Int('D'), c.day) << c.line;
    EXPECT_EQ(Int('M'), c.month) << c.line;
    EXPECT_EQ(Int('Y'), c.year) << c.line;
    EXPECT_EQ(host.debugger.front(), c.line);  // the command text comes first
    EXPECT_TRUE(DebuggerLine(c.text));
  }
}

TEST_F(StringCommandsTest, SDAgreesWithTheReferenceOnEveryDayFrom1900To2100) {
  using namespace std::chrono;
  g_settings.enableOutputDbwin = false;  // 73,000 lines of debug output would only slow it
  const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const sys_days dayZero{1899y / December / 31};
  int i = 0;
  for (sys_days day = sys_days{1900y / January / 1}; day <= sys_days{2100y / December / 31};
       day += days{1}, ++i) {
    const year_month_day date{day};
    const int offset = (i * 7919) % 2001 - 1000;
    char line[64];
    std::snprintf(line, sizeof line, "SD '%02u-%s-%d' %d A$ D%% M%% Y%%",
                  static_cast<unsigned>(date.day()), names[static_cast<unsigned>(date.month()) - 1],
                  static_cast<int>(date.year()), offset);
    Run(line);
    const sys_days result = day + days{offset};
    char expected[16] = "00-----1900";
    if (result > dayZero) {
      const year_month_day ymd{result};
      std::snprintf(expected, sizeof expected, "%02u-%s-%04d", static_cast<unsigned>(ymd.day()),
                    names[static_cast<unsigned>(ymd.month()) - 1], static_cast<int>(ymd.year()));
    }
    ASSERT_EQ(Str('A'), expected) << line;
  }
}

TEST_F(StringCommandsTest, SEReadsTheEnvironment) {
  setenv("VELCRUM_SE_TEST", "the value", 1);
  setenv("VELCRUM_SE_LONG", std::string(300, 'v').c_str(), 1);
  unsetenv("VELCRUM_SE_NONE");

  Run("SE 'velcrum_se_test' A$");
  EXPECT_EQ(Str('A'), "the value");

  Run("SE 'VELCRUM_SE_NONE' A$");
  EXPECT_EQ(Str('A'), " ");
  EXPECT_TRUE(
      DebuggerLine("<TEST____.000> WARNING: line: 100, cmd: 'SE' environment variable "
                   "does not exist: 'VELCRUM_SE_NONE'"));

  Run("SE 'VELCRUM_SE_LONG' A$");
  EXPECT_EQ(Str('A'), std::string(255, 'v'));
  EXPECT_TRUE(
      DebuggerLine("<TEST____.000> WARNING: line: 100, cmd: 'SE' resulting string length "
                   "exceeds 255. Truncating."));
  unsetenv("VELCRUM_SE_TEST");
  unsetenv("VELCRUM_SE_LONG");
}

TEST_F(StringCommandsTest, SFFindsTheFirstEqualMemory) {
  PutMemory(3, "beta");
  PutMemory(5, "beta");
  PutMemory(4097, "last");
  const struct {
    const char* line;
    int found;
  } cases[] = {
      {"SF 'beta' 1 10 F%", 3}, {"SF 'beta' 4 10 F%", 5},      {"SF 'BETA' 1 10 F%", 0},
      {"SF 'bet' 1 10 F%", 0},  {"SF 'last' 1 4097 F%", 4097}, {"SF 'beta' 5 5 F%", 5},
      {"SF 'beta' 0 10 F%", 0},  // first 0: nothing searched
      {"SF 'beta' 6 5 F%", 0},   // first above last
  };
  for (const auto& c : cases) {
    Int('F') = -1;
    Run(c.line);
    EXPECT_EQ(Int('F'), c.found) << c.line;
  }
  EXPECT_FALSE(DebuggerSaid("out of range"));
}

TEST_F(StringCommandsTest, MemoryRangesReportOnlyFarOutsideValues) {
  const LineCase cases[] = {
      {"SF 'x' -1 10 F%", "cmd: 'SF'  Parameter 2 is out of range. Value found: -1"},
      {"SF 'x' 1 65537 F%", "cmd: 'SF'  Parameter 3 is out of range. Value found: 65537"},
      {"SS 'x' 70000 1", "cmd: 'SS'  Parameter 2 is out of range. Value found: 70000"},
      {"SS 'x' 1 -5", "cmd: 'SS'  Parameter 3 is out of range. Value found: -5"},
      {"SF 'x' 4098 4098 F%", nullptr},  // invalid but within 0 to 65536: silent
      {"SS 'x' 1 65536", nullptr},
      {"SF 'x' 0 0 F%", nullptr},
  };
  for (const LineCase& c : cases) {
    host.debugger.clear();
    Run(c.line);
    if (c.expected != nullptr) {
      EXPECT_TRUE(DebuggerSaid(c.expected)) << c.line;
    } else {
      EXPECT_FALSE(DebuggerSaid("WARNING")) << c.line;
    }
  }
  for (int index = 1; index <= kStringMemoryCount; ++index) ASSERT_EQ(Memory(index), "") << index;
}

TEST_F(StringCommandsTest, SPSGAndSSStoreAndReadMemoriesWithinTheirBounds) {
  Run("SP 'first' 1:SP 'last' 4097:SS 'fill' 10 12");
  EXPECT_EQ(Memory(1), "first");
  EXPECT_EQ(Memory(4097), "last");
  EXPECT_EQ(Memory(9), "");
  EXPECT_EQ(Memory(10), "fill");
  EXPECT_EQ(Memory(12), "fill");
  EXPECT_EQ(Memory(13), "");

  Run("SG 4097 A$:SG 10 B$:SG 2 C$");
  EXPECT_EQ(Str('A'), "last");
  EXPECT_EQ(Str('B'), "fill");
  EXPECT_EQ(Str('C'), "");

  Run("SP 'again' 1");
  EXPECT_EQ(Memory(1), "again");

  const LineCase refused[] = {
      {"SP 'x' 0", "cmd: 'SP'  Parameter 2 is out of range. Value found: 0"},
      {"SP 'x' 4098", "cmd: 'SP'  Parameter 2 is out of range. Value found: 4098"},
      {"SG 0 A$", "cmd: 'SG'  Parameter 1 is out of range. Value found: 0"},
      {"SG 4098 A$", "cmd: 'SG'  Parameter 1 is out of range. Value found: 4098"},
  };
  for (const LineCase& c : refused) {
    SetStr('A', "keep");
    host.debugger.clear();
    Run(c.line);
    EXPECT_TRUE(DebuggerSaid(c.expected)) << c.line;
    EXPECT_EQ(Str('A'), "keep") << c.line;
  }
}

TEST_F(StringCommandsTest, OverLongTextsAreReportedAndNeverOverflowAMemory) {
  // A parameter longer than 255 characters can only come from outside a script line.
  const std::string text(300, 't');
  DispatchCommand("SP '" + text + "' 7", 0, 0);
  EXPECT_EQ(Memory(7), "");
  DispatchCommand("SS '" + text + "' 8 9", 0, 0);
  EXPECT_EQ(Memory(8), std::string(255, 't'));
  EXPECT_EQ(Memory(9), std::string(255, 't'));
  DispatchCommand("SO '" + text + "' 200", 0, 0);
  char line[kLineBufferSize];
  EXPECT_EQ(VLSTMSup_GetMem(200, line), 255);
}

TEST_F(StringCommandsTest, StrictInspectionStopsAtALongText) {
  g_settings.parameterInspection = Inspection::kStrict;
  DispatchCommand("SS '" + std::string(300, 't') + "' 1 1", 0, 0);
  EXPECT_EQ(Memory(1), "");
  DispatchCommand("SC A$ '" + std::string(300, 'f') + "'", 0, 0);
  EXPECT_EQ(Str('A'), "");
}

TEST_F(StringCommandsTest, MissingMemoryBlocksAreReported) {
  FreeMemories();
  Run("SG 1 A$");
  EXPECT_TRUE(DebuggerLine("<TEST____.000> WARNING: line: 100, cmd: 'SG'  hStrMem[] is NULL"));
  host.debugger.clear();
  Int('F') = 5;
  Run("SF 'x' 1 2 F%");
  EXPECT_EQ(Int('F'), 0);
  EXPECT_EQ(std::count(host.debugger.begin(), host.debugger.end(),
                       "<TEST____.000> WARNING: line: 100, cmd: 'SF'  hStrMem[] is NULL"),
            2);
  Run("SP 'x' 1");
  EXPECT_TRUE(DebuggerLine("<TEST____.000> ERROR: line: 100, cmd: 'SP'  GlobalAlloc() failed"));
}

TEST_F(StringCommandsTest, SHWritesHexadecimal) {
  const LineCase cases[] = {
      {"SH 255 A$ 4 0", "00ff"},
      {"SH 255 A$ 4 1", "00FF"},
      {"SH 305419896 A$ 4 0", "12345678"},
      {"SH 255 A$ 0 0", "000000ff"},
      {"SH 255 A$ 17 0", "000000ff"},
      {"SH -1 A$ 2 1", "FFFFFFFF"},
      {"SH 1 A$ 16 0", "0000000000000001"},
      {"SH 0 A$ 1 0", "0"},
      {"SH -2147483648 A$ 8 0", "80000000"},
  };
  for (const LineCase& c : cases) {
    Run(c.line);
    EXPECT_EQ(Str('A'), c.expected) << c.line;
  }
}

TEST_F(StringCommandsTest, SIGivesTheSignedDifference) {
  const struct {
    const char* date1;
    const char* time1;
    const char* date2;
    const char* time2;
    const char* expected;
  } cases[] = {
      {"01-Jan-2004", "10:00:00", "02-Jan-2004", "10:00:00", "-24:00:00"},
      {"02-Jan-2004", "23:00:00", "01-Jan-2004", "01:00:00", "46:00:00"},
      {"02-Jan-2004", "01:00:00", "01-Jan-2004", "23:00:00", "02:00:00"},
      {"01-Jan-2004", "23:00:00", "02-Jan-2004", "01:00:00", "-02:00:00"},
      {"01-Mar-2004", "00:00:01", "28-Feb-2004", "00:00:00", "48:00:01"},
      {"05-Jan-2004", "12:30:45", "05-Jan-2004", "12:30:45", "00:00:00"},
  };
  for (const auto& c : cases) {
    SetStr('D', c.date1);
    SetStr('T', c.time1);
    SetStr('E', c.date2);
    SetStr('U', c.time2);
    host.debugger.clear();
    // Times hold ":", which a script line cannot, so they come in variables.
    Run("SI D$ T$ E$ U$ A$");
    EXPECT_EQ(Str('A'), c.expected) << c.date1 << " " << c.time1;
    const auto result = std::find(host.debugger.begin(), host.debugger.end(), c.expected);
    ASSERT_NE(result, host.debugger.end());
    EXPECT_EQ(*(result - 1), "--------------");
    EXPECT_EQ(*(result + 1), "--------------");
  }
  EXPECT_EQ(host.debugger.front(), "SI D$ T$ E$ U$ A$");
}

TEST_F(StringCommandsTest, SLListsMemories) {
  SetMem("MS", 1, 10);
  SetMem("MS", 2, 20);
  SetMem("MS", 3, 30);
  SetMem("MS", 65536, -4);
  PutMemory(1, "one");
  PutMemory(2, "two");
  const LineCase cases[] = {
      {"SL 1 3 ',' A$", "10,20,30"},
      {"SL 1 3 '' A$", "102030"},
      {"SL 1 3 ',;' A$ 0", "10,20,30"},  // only the first character separates
      {"SL 3 3 ',' A$", "30"},
      {"SL 65535 65536 '/' A$", "0/-4"},
      {"SL 1 2 '+' A$ 1", "one+two"},
      {"SL 1 3 '+' A$ 1", "one+two"},  // memory 3 was never stored: no item
      {"SL 1 2 '' A$ 1", "onetwo"},
  };
  for (const LineCase& c : cases) {
    Run(c.line);
    EXPECT_EQ(Str('A'), c.expected) << c.line;
  }
}

TEST_F(StringCommandsTest, SLPassesOverStringMemoriesNeverStoredWithAnError) {
  Run("SP 'a' 5:SP 'c' 7:SL 5 7 ',' I$ 1");
  EXPECT_EQ(Str('I'), "a,c");
  EXPECT_EQ(Reports(), std::vector<std::string>{"<TEST____.000> ERROR: line: 100, cmd: 'SL'  "
                                                "GlobalLock() failed - no string memory"});
}

TEST_F(StringCommandsTest, SLLimitsAndReports) {
  for (int index = 1; index <= 3; ++index) PutMemory(index, std::string(200, 'a' + index));
  Run("SL 1 3 ',' A$ 1");
  EXPECT_EQ(Str('A'), std::string(200, 'b') + "," + std::string(54, 'c'));

  SetStr('A', "keep");
  Run("SL 5 4 ',' A$");  // first above last: nothing at all
  EXPECT_EQ(Str('A'), "keep");

  const LineCase reports[] = {
      {"SL 0 5 ',' A$", "cmd: 'SL'  Parameter 1 is out of range. Value found: 0"},
      {"SL 1 65537 ',' A$", "cmd: 'SL'  Parameter 2 is out of range. Value found: 65537"},
      {"SL 0 65537 ',' A$", "cmd: 'SL'  Parameter 1 is out of range. Value found: 0"},
  };
  for (const LineCase& c : reports) {
    host.debugger.clear();
    Run(c.line);
    EXPECT_TRUE(DebuggerSaid(c.expected)) << c.line;
    EXPECT_FALSE(DebuggerSaid("Parameter 2") && DebuggerSaid("Parameter 1")) << c.line;
    EXPECT_EQ(Str('A'), "keep");
  }

  // String memories exist up to 4097; beyond, each index is a missing memory.
  PutMemory(4097, "end");
  host.debugger.clear();
  Run("SL 4097 4099 ',' A$ 1");
  EXPECT_EQ(Str('A'), "end");
  EXPECT_EQ(std::count(host.debugger.begin(), host.debugger.end(),
                       "<TEST____.000> ERROR: line: 100, cmd: 'SL'  GlobalLock() failed - no "
                       "string memory"),
            2);
}

TEST_F(StringCommandsTest, SOReplacesAScriptLine) {
  Run("SO 'SH 255 A$ 4 0' 200");
  RunLine(200, 0);
  EXPECT_EQ(Str('A'), "00ff");
  Run("SO 'SH 1 A$ 4 0' 32768:SO 'SH 2 A$ 4 0' 0:SO 'SH 3 A$ 4 0' 32769");
  char line[kLineBufferSize];
  EXPECT_EQ(VLSTMSup_GetMem(32768, line), 11);
  EXPECT_EQ(VLSTMSup_GetMem(0, line), 0);
  EXPECT_EQ(VLSTMSup_GetMem(32769, line), 0);
}

TEST_F(StringCommandsTest, STConvertsTimecodes) {
  const struct {
    const char* before;
    const char* line;
    const char* expected;
  } cases[] = {
      {"", "ST 1 '01;00;00;00' A$", "90000"},
      {"", "ST 1 '00.00.01.05' A$", "30"},
      {"", "ST 0 2159999 A$", "23.59.59.24"},
      {"", "ST 0 0 A$", "00.00.00.00"},
      {"10.00.00.00", "ST 2 2160000 A$", "10.00.00.00"},
      {"23.59.59.24", "ST 2 1 A$", "00.00.00.00"},
      {"00.00.00.00", "ST 3 1 A$", "23.59.59.24"},
      {"00.00.00.10", "ST 3 4320011 A$", "23.59.59.24"},
      {"01;00;00;00", "ST 3 1500 A$", "00.59.00.00"},
  };
  for (const auto& c : cases) {
    SetStr('A', c.before);
    Run(c.line);
    EXPECT_EQ(Str('A'), c.expected) << c.line;
  }

  Run("ST 4 B$");
  EXPECT_TRUE(std::regex_match(Str('B'), std::regex(R"(\d\d\.\d\d\.\d\d\.00)"))) << Str('B');

  SetStr('A', "keep");
  Run("ST 7 A$");
  EXPECT_TRUE(DebuggerLine("Unsupported parameter"));
  EXPECT_EQ(Str('A'), "keep");
}

TEST_F(StringCommandsTest, NoStringCommandEndsItsLine) {
  Run("SG 0 A$:SF 'x' -1 5 F%:ST 9:SC A$ '%2147483647d%2147483647d':SH 1 B$ 2 0");
  EXPECT_EQ(Str('B'), "01");
}

TEST_F(StringCommandsTest, SNRenamesTheInstanceAndTheMainWindow) {
  const struct {
    const char* line;
    int compatible;
    const char* expected;
  } cases[] = {
      {"SN 'Desk 4'", 0, "DESK_4__.012"},
      {"SN c;/panels/Router.exe", 0, "ROUTER__.012"},
      {"SN Switcherpanel", 0, "SWITCHERPANEL.012"},
      {"SN Switcherpanel", 1, "SWITCHER.012"},
      {"SN ''", 0, "________.012"},
  };
  g_instanceSettings.workstation = 12;
  for (const auto& c : cases) {
    g_instanceSettings.v2CompatibleVelcrumNames = c.compatible;
    Run(c.line);
    EXPECT_EQ(g_instanceName, c.expected) << c.line;
    EXPECT_EQ(host.windowTitle, c.expected) << c.line;
    EXPECT_TRUE(DebuggerLine(c.expected)) << c.line;
  }
  ResetConfiguration();
}

TEST_F(StringCommandsTest, SQLooksForBothTitleFormsWithTheWorkstationNumber) {
  setenv("CC_WORKSTATION", "7", 1);
  const struct {
    const char* title;
    const char* line;
    int expected;
  } cases[] = {
      {"DESKB___.007", "SQ 'c;/vorn/desk.exe' B n%", 1},  // name and suffix, padded
      {"ROUTERpanel.007", "SQ router.exe panel n%", 1},   // name upper, suffix as given
      {"DESKB___.008", "SQ desk.exe B n%", 0},            // another workstation
      {"DESKB___.007", "SQ '' B n%", -1},                 // no program named
  };
  for (const auto& c : cases) {
    host.windowTitles = {c.title};
    Int('n') = 99;
    Run(c.line);
    EXPECT_EQ(Int('n'), c.expected) << c.line << " with " << c.title;
  }
  unsetenv("CC_WORKSTATION");
}

// SQ on a workstation whose NXI.INI has no number: reading it shows a warning box, and the
// box's modal loop runs line 200 meanwhile, whose commands parse their own parameters.
class SQWhileABoxRunsALineTest : public testing::LineRunningTest {
 protected:
  void SetUp() override {
    LineRunningTest::SetUp();
    char pattern[] = "/tmp/velcrum-sq-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    setenv("VELCRUM_ROOT", root_.c_str(), 1);
    unsetenv("CC_WORKSTATION");
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      unsetenv((std::string("VELCRUM_DRIVE_") + letter).c_str());
    }
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    unsetenv("VELCRUM_ROOT");
    LineRunningTest::TearDown();
  }

  static int32_t& Int(char letter) { return g_lIntegerVariables[VariableIndex(letter)]; }

  std::filesystem::path root_;
};

TEST_F(SQWhileABoxRunsALineTest, TheResultGoesToSQsOwnVariable) {
  // The inner line's third parameter is m%, where SQ's result would land if SQ read its
  // target after the box.
  Script({{200, "SH 255 q$ 4 1:SF 'none' 1 m% k%"}});
  boxes.RunLineWhileOpen(200);
  host.windowTitles = {"DESKB___.-01"};  // no number reads as -1
  Int('n') = 99;
  Int('m') = 77;
  Run("SQ 'c;/vorn/desk.exe' B n%");
  ASSERT_EQ(boxes.boxesThatRan, 1);
  EXPECT_EQ(host.boxes.at(0).text, "Workstation ID not set in NXI.INI");
  EXPECT_EQ(Int('n'), 1);
  EXPECT_EQ(Int('m'), 77);
  EXPECT_EQ(g_szStringVariables[VariableIndex('q')], std::string("00FF"));  // the line ran
}

}  // namespace
}  // namespace velcrum
