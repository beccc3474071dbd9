// EW, EN, EL, EZ and EF through the executor, on a private drive C whose configuration
// directory is c:\windows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "runtime/subsystem_settings.h"
#include "support/files.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;
using testing::ReadWholeFile;

class SystemCommandsTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    char pattern[] = "/tmp/velcrum-system-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    base_ = pattern;
    fs::create_directories(Drive() / "windows");
    fs::create_directories(Drive() / "data");
    fs::create_directories(base_ / "work");
    setenv("VELCRUM_ROOT", base_.c_str(), 1);
    unsetenv("VELCRUM_DRIVE_C");
    unsetenv("CC_ROOT");
    unsetenv("CC_SYSTEM");
    previousDirectory_ = fs::current_path();
    fs::current_path(base_ / "work");
  }

  void TearDown() override {
    fs::current_path(previousDirectory_);
    std::error_code ignored;
    fs::remove_all(base_, ignored);
    unsetenv("VELCRUM_ROOT");
    InterpreterTest::TearDown();
  }

  fs::path Drive() const { return base_ / "drive_c"; }
  static std::string Str(char letter) { return g_szStringVariables[VariableIndex(letter)]; }
  static int32_t& Int(char letter) { return g_lIntegerVariables[VariableIndex(letter)]; }

  fs::path base_;
  fs::path previousDirectory_;
};

TEST_F(SystemCommandsTest, EwGivesTheWorkstationNumberToAnIntegerVariable) {
  g_instanceSettings.workstation = 7;
  Int('w') = -1;
  Run("EW w%");
  EXPECT_EQ(Int('w'), 7);
  Run("EW 5");  // not a variable: nothing to write, and said so
  EXPECT_TRUE(DebuggerSaid("EW"));
}

TEST_F(SystemCommandsTest, EnGivesTheWeekdayAndItsName) {
  const std::time_t now = std::time(nullptr);
  std::tm today{};
  localtime_r(&now, &today);
  static const char* const kNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  struct Case {
    const char* line;
    int weekday;
    const char* name;
    bool rangeReported;
  };
  const Case cases[] = {
      {"EN 1 1 2000 d% D$", 6, "Sat", false},
      {"EN 29 2 2004 d% D$", 0, "Sun", false},
      {"EN 1 1 99 d% D$", 5, "Fri", false},    // 99 counts from 1900: 1999
      {"EN 32 1 2000 d% D$", 2, "Tue", true},  // 1 February, after the report
      {"EN 0 0 0 d% D$", today.tm_wday, kNames[today.tm_wday], true},
      {"EN 1 13 2000 d% D$", 1, "Mon", true},  // month 13 is January 2001
  };
  for (const Case& c : cases) {
    host.debugger.clear();
    Int('d') = -1;
    Run(c.line);
    EXPECT_EQ(Int('d'), c.weekday) << c.line;
    EXPECT_EQ(Str('D'), c.name) << c.line;
    EXPECT_EQ(DebuggerSaid("is out of range"), c.rangeReported) << c.line;
  }
}

TEST_F(SystemCommandsTest, ElAppendsALineToAnExistingFileOnly) {
  std::ofstream(Drive() / "data" / "log.txt") << "first\n";
  Run("EL 'c;/data/log.txt' 'second line'");
  Run("EL 'C;/DATA/LOG.TXT' 'third'");
  EXPECT_EQ(ReadWholeFile(Drive() / "data" / "log.txt"), "first\nsecond line\nthird\n");

  Run("EL 'c;/data/missing.txt' 'x'");
  EXPECT_FALSE(fs::exists(Drive() / "data" / "missing.txt"));
  EXPECT_TRUE(DebuggerSaid("File does not exist: 'c:\\data\\missing.txt' "));
}

TEST_F(SystemCommandsTest, ElSaysWhenTheAppendFails) {
  // Drive D is /dev: d:\full is a file that exists and takes no byte.
  setenv("VELCRUM_DRIVE_D", "/dev", 1);
  Run("EL 'd;/full' 'x'");
  unsetenv("VELCRUM_DRIVE_D");
  EXPECT_TRUE(DebuggerSaid("File could not be written: 'd:\\full' (No space left on device) "));
}

TEST_F(SystemCommandsTest, EzWritesTheFormattedTextToTheSystemDebugger) {
  g_settings.enableOutputDbwin = false;  // EZ writes there whatever the switch says
  Run("EZ 'n=%ld s=%s %%' 42 'abc'");
  ASSERT_FALSE(host.debugger.empty());
  EXPECT_EQ(host.debugger.back(), "<TEST____.000> Debug: n=42 s=abc %\n");

  g_settings.enableOutputDbwin = true;
  host.debugger.clear();
  Run("EZ '%300d' 1");
  const std::string head = "<TEST____.000> Debug: ";
  const auto line = std::find_if(host.debugger.begin(), host.debugger.end(),
                                 [&](const std::string& said) { return said.starts_with(head); });
  ASSERT_NE(line, host.debugger.end());
  EXPECT_EQ(line->size(), head.size() + 255 + 1);
  EXPECT_TRUE(DebuggerSaid("cmd: 'EZ' resulting string length exceeds 255. Truncating."));
}

TEST_F(SystemCommandsTest, EfWritesAndReadsBothFormsByTheFileNameRules) {
  struct Case {
    const char* write;
    const char* read;
    fs::path file;  // where the entry lands
  };
  const Case cases[] = {
      {"EF 'S' 'K' 'text' 1 ''", "EF 'S' 'K' A$ 0 ''", Drive() / "windows" / "VELCRUM.INI"},
      {"EF 'S' 'K' 'text' 1 'x.ini'", "EF 'S' 'K' A$ 0 'x.ini'", Drive() / "windows" / "x.ini"},
      {"EF 'S' 'K' 'text' 1 ' my file.ini'", "EF 'S' 'K' A$ 0 'myfile.ini'",
       Drive() / "windows" / "myfile.ini"},
      {"EF 'S' 'K' 'text' 1 'c;/data/d.ini'", "EF 'S' 'K' A$ 0 'C;/DATA/D.INI'",
       Drive() / "data" / "d.ini"},
      {"EF 'S' 'K' 'text' 1 '/r.ini'", "EF 'S' 'K' A$ 0 '/r.ini'", Drive() / "r.ini"},
      {"EF 'S' 'K' 'text' 1 './here.ini'", "EF 'S' 'K' A$ 0 './here.ini'",
       base_ / "work" / "here.ini"},
  };
  for (const Case& c : cases) {
    Run(c.write);
    EXPECT_EQ(ReadWholeFile(c.file), "[S]\nK=text\n") << c.write;
    SetStringVariable(VariableIndex('A'), "");
    Run(c.read);
    EXPECT_EQ(Str('A'), "text") << c.read;
  }

  Run("EF 'Num' 'Count' 5 1 'x.ini'");
  EXPECT_EQ(ReadWholeFile(Drive() / "windows" / "x.ini"), "[S]\nK=text\n\n[Num]\nCount=5\n");
  Int('n') = 0;
  Run("EF 'Num' 'Count' n% 0 'x.ini'");
  EXPECT_EQ(Int('n'), 5);
}

TEST_F(SystemCommandsTest, EfMissingEntriesReadAsTheDefaults) {
  SetStringVariable(VariableIndex('A'), "old");
  Int('n') = 9;
  Run("EF 'S' 'Nothing' A$ 0 'none.ini'");
  Run("EF 'S' 'Nothing' n% 0 'none.ini'");
  EXPECT_EQ(Str('A'), "0");
  EXPECT_EQ(Int('n'), 0);
  EXPECT_FALSE(fs::exists(Drive() / "windows" / "none.ini"));
}

TEST_F(SystemCommandsTest, EfWritesOneDebugLineForEachForm) {
  const std::string file = "c:\\windows\\f.ini";
  struct Case {
    const char* line;
    std::string said;
  };
  const Case cases[] = {
      {"EF 'S' 'K' 'v' 1 'f.ini'",
       "VLXEF: WR0 Sect:'S' Key:'K' File written:'" + file + "', Written value: 'v'"},
      {"EF 'S' 'K' A$ 0 'f.ini'",
       "VLXEF: RD0 Sect: 'S' Key: 'K' File read: '" + file + "' Value Read: 'v'"},
      {"EF 'S' 'K' 'lit' 0 'f.ini'",
       "VLXEF: RD0 Sect: 'S' Key: 'K'  File read:'" + file + "' No target return variable.\n"},
      {"EF 'S' 'N' -3 1 'f.ini'",
       "VLXEF: WR1 Sect: 'S' Key: 'N' File written: '" + file + "', Value written: '-3'"},
      {"EF 'S' 'N' n% 0 'f.ini'",
       "VLXEF: RD1 Sect: 'S' Key: 'N' File read: '" + file + "', Value read: -3"},
      {"EF 'S' 'N' 4 0 'f.ini'",
       "VLXEF: RD1 Sect: 'S' Key: 'N' File read: '" + file + "',  No target return variable.\n"},
      {"EF 'S' 'K' 'v' 1 'c;/nodir/f.ini'",
       "VLXEF: WR0 Sect:'S' Key:'K' Write to file:'c:\\nodir\\f.ini' FAILED (Win32 error code: "},
      {"EF 'S' 'N' 1 1 'c;/nodir/f.ini'",
       "VLXEF: WR1 Sect: 'S' Key: 'N' Write to file:'c:\\nodir\\f.ini' FAILED (Win32 error code: "},
  };
  for (const Case& c : cases) {
    host.debugger.clear();
    Run(c.line);
    EXPECT_TRUE(DebuggerSaid(c.said)) << c.line << "\nwanted: " << c.said;
  }
}

}  // namespace
}  // namespace velcrum
