// EX against real shared libraries: the example calc.dll and a probe that shows what it
// was handed, placed in a private drive C and current directory.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "commands/commands_module.h"
#include "commands/kept_libraries.h"
#include "interpreter/executor.h"
#include "interpreter/variables.h"
#include "runtime/module.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;

class ExtensionCommandsTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    savedCwd_ = fs::current_path();
    char pattern[] = "/tmp/velcrum-ex-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    base_ = fs::canonical(pattern);
    setenv("VELCRUM_ROOT", (base_ / "root").c_str(), 1);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      unsetenv((std::string("VELCRUM_DRIVE_") + letter).c_str());
    }
    for (const char* name : {"CC_ROOT", "CC_SYSTEM"}) unsetenv(name);
    fs::create_directories(Windows());
    fs::create_directories(Work());
    fs::current_path(Work());
  }
  void TearDown() override {
    ReleaseKeptLibraries();
    for (const char* name : {"CC_ROOT", "CC_SYSTEM"}) unsetenv(name);
    fs::current_path(savedCwd_);
    std::error_code ignored;
    fs::remove_all(base_, ignored);
    InterpreterTest::TearDown();
  }

  fs::path DriveC() const { return base_ / "root" / "drive_c"; }
  fs::path Windows() const { return DriveC() / "windows"; }
  fs::path Work() const { return base_ / "work"; }

  static void Place(const char* built, const fs::path& path) {
    fs::create_directories(path.parent_path());
    fs::copy_file(built, path, fs::copy_options::overwrite_existing);
  }

  static void SetStr(char letter, const std::string& text) {
    SetStringVariable(VariableIndex(letter), text);
  }
  static std::string Str(char letter) { return g_szStringVariables[VariableIndex(letter)]; }
  static int32_t& Int(char letter) { return g_lIntegerVariables[VariableIndex(letter)]; }

  // The debug lines EX wrote.
  std::vector<std::string> ExLines() const {
    std::vector<std::string> lines;
    for (const std::string& line : host.debugger) {
      if (line.starts_with("EX: ")) lines.push_back(line);
    }
    return lines;
  }

  fs::path savedCwd_;
  fs::path base_;
};

TEST_F(ExtensionCommandsTest, ModeOneCallsAddWithTheBlockAndItsCount) {
  Place(CALC_LIBRARY_PATH, Windows() / "calc.dll");
  Run("EX 1 'calc' 'Add' N% R$ '2' '3'");
  EXPECT_EQ(Int('N'), 5);
  EXPECT_EQ(Str('R'), "5");
  EXPECT_EQ(ExLines(),
            (std::vector<std::string>{
                "EX: (cmd: EX 1 'calc' 'Add' N% R$ '2' '3' 0 0 0 0 0 0 0). DLL: 'calc.dll', "
                "path to DLL: 'c:\\windows\\calc.dll'",
                "EX: argCount: 2"}));
}

TEST_F(ExtensionCommandsTest, TheBlockHoldsTheWrittenArgumentsAndEmptyTextsAfterThem) {
  Place(EX_PROBE_PATH, Windows() / "probe.dll");
  Int('B') = -12;
  SetStr('C', "from C$");
  Int('M') = 1;
  const struct {
    const char* line;
    const char* described;
  } cases[] = {
      {"EX 1 'probe' 'Describe' N% R$", "0:,,,,"},
      {"EX 1 'probe' 'Describe' N% R$ '2' '3'", "2:2,3,,,"},
      {"EX 1 'probe' 'Describe' N% R$ 'a' B% C$ 7 word", "5:a,-12,from C$,7,word"},
      {"EX 1 'probe' 'Describe' N% R$ 1 2 3 4 5 6", "5:1,2,3,4,5"},
      // The mode in a variable counts the same as a written mode.
      {"EX M% 'probe' 'Describe' N% R$ 'x'", "1:x,,,,"},
      // An unclosed quote runs to the end of the text, the padding with it.
      {"EX 1 'probe' 'Describe' N% R$ 'x", "1:x 0 0 0 0 0 0 0,,,,"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    SetStr('R', "");
    host.debugger.clear();
    Run(c.line);
    EXPECT_EQ(Str('R'), c.described);
    EXPECT_EQ(ExLines().back(), "EX: argCount: " + std::to_string(Int('N')));
  }
}

TEST_F(ExtensionCommandsTest, TheResultFieldIsRsOwnAndStaysAText) {
  Place(EX_PROBE_PATH, Windows() / "probe.dll");
  SetStr('R', "before ");
  Run("EX 1 'probe' 'Describe' N% R$ 'a'");
  EXPECT_EQ(Str('R'), "before 1:a,,,,") << "the function sees R$ as it was";
  Run("EX 1 'probe' 'FillResult' N% R$");
  EXPECT_EQ(Str('R'), std::string(255, 'y'));
  Run("EX 1 'probe' 'FillResult' N% 'literal'");
  EXPECT_EQ(Int('N'), 1) << "a scratch field stands in for a parameter 5 that is no variable";
}

TEST_F(ExtensionCommandsTest, ModeZeroHandsTheJoinedTextAndTakesBackTheBuffer) {
  Place(CALC_LIBRARY_PATH, Windows() / "calc.dll");
  Place(EX_PROBE_PATH, Windows() / "probe.dll");
  Run("EX 0 'calc' 'Upper' N% R$ 'ab' 'cd' 'ef'");
  EXPECT_EQ(Str('R'), "AB CD EF");
  EXPECT_EQ(Int('N'), 8);
  Run("EX 0 'calc' 'Upper' N% R$ 'ab'");
  EXPECT_EQ(Str('R'), "AB 0 0") << "arguments left out read as 0";
  Run("EX 0 'probe' 'Ok' N% R$ 'a' 'b' 'c'");
  EXPECT_EQ(Str('R'), "OK");
  EXPECT_EQ(Int('N'), 5);
  Run("EX 0 'probe' 'FillText' N% R$");
  EXPECT_EQ(Str('R'), std::string(255, 'x'));

  // Three arguments of 512 characters are cut to the 1027 the buffer holds.
  const std::string long512 = "'" + std::string(512, 'q') + "'";
  DispatchCommand("EX 0 'calc' 'Upper' N% R$ " + long512 + " " + long512 + " " + long512, 7, 0);
  EXPECT_EQ(Int('N'), 1027);
  EXPECT_EQ(Str('R'), std::string(255, 'Q'));
}

TEST_F(ExtensionCommandsTest, ALiteralNumberAsParameterFourCallsNothing) {
  Place(CALC_LIBRARY_PATH, Windows() / "calc.dll");
  Place(EX_PROBE_PATH, Windows() / "probe.dll");
  SetStr('R', "before");
  Run("EX 1 'probe' 'Describe' 5 R$ 'a'");
  EXPECT_EQ(Str('R'), "before");
  // Mode 0 does not call either, but R$ still receives the text it would have handed on.
  Run("EX 0 'calc' 'Upper' 5 R$ 'ab'");
  EXPECT_EQ(Str('R'), "ab 0 0");
  // Nor does a kept library's function.
  Run("EX 2 'probe' '' H% R$");
  Run("EX 2 H% 'Calls' 9 R$");
  Run("EX 2 H% 'Calls' N% R$");
  EXPECT_EQ(Int('N'), 1);
}

TEST_F(ExtensionCommandsTest, ModeTwoKeepsTheLibraryUntilUnload) {
  Place(EX_PROBE_PATH, Windows() / "probe.dll");
  SetStr('R', "emptied");
  Run("EX 2 'probe.dll' '' H% R$");
  EXPECT_EQ(Int('H'), 1);
  EXPECT_EQ(Str('R'), "");
  ASSERT_NE(KeptLibrary(1), nullptr);
  for (int call = 1; call <= 2; ++call) {
    Run("EX 2 H% 'Calls' N% R$");
    EXPECT_EQ(Int('N'), call) << "the library stays loaded between calls";
  }
  Run("EX 2 1 'Describe' N% R$ 'a' 'b'");
  EXPECT_EQ(Str('R'), "2:a,b,,,") << "the number written as a literal";

  Run("EX 2 H% 'unload' H% R$");
  EXPECT_EQ(KeptLibrary(1), nullptr);
  Int('N') = 77;
  Run("EX 2 H% 'Calls' N% R$");
  EXPECT_EQ(Int('N'), 77) << "a number that names nothing does nothing";

  Run("EX 2 'probe.dll' '' H% R$");
  EXPECT_EQ(Int('H'), 2) << "a number is not handed out again";
  Run("EX 2 H% 'Calls' N% R$");
  EXPECT_EQ(Int('N'), 1) << "loaded afresh";
}

TEST_F(ExtensionCommandsTest, TheSameLibraryKeptTwiceHasOneNumberAndTwoLoads) {
  Place(EX_PROBE_PATH, Windows() / "probe.dll");
  Run("EX 2 'probe.dll' '' H% R$");
  Run("EX 2 'c;/windows/PROBE.DLL' '' G% R$");
  EXPECT_EQ(Int('G'), Int('H'));
  Run("EX 2 H% 'UNLOAD' N% R$");
  ASSERT_NE(KeptLibrary(Int('H')), nullptr);
  Run("EX 2 H% 'UnLoad' N% R$");
  EXPECT_EQ(KeptLibrary(Int('H')), nullptr);
}

TEST_F(ExtensionCommandsTest, KeptLibrariesGoAtTheResetAndAtShutDown) {
  Place(EX_PROBE_PATH, Windows() / "probe.dll");
  Run("EX 2 'probe.dll' '' H% R$");
  ResetModules();
  EXPECT_EQ(KeptLibrary(1), nullptr);
  Run("EX 2 'probe.dll' '' H% R$");
  EXPECT_EQ(Int('H'), 1) << "numbering starts again";
  kCommandsModule.shutDown(ShutDownStep::kLeftNxi);
  EXPECT_NE(KeptLibrary(1), nullptr) << "the CLOSEDOWN section is over, the script not yet freed";
  kCommandsModule.shutDown(ShutDownStep::kFreed);
  EXPECT_EQ(KeptLibrary(1), nullptr);
}

TEST_F(ExtensionCommandsTest, TheLibraryIsLookedForInTheCurrentWindowsAndSystemDirectories) {
  const fs::path system = base_ / "cc" / "site" / "windows" / "lib";
  setenv("CC_ROOT", (base_ / "cc").c_str(), 1);
  setenv("CC_SYSTEM", "site", 1);
  const std::string systemPath = (base_ / "cc").string() + "\\site\\windows\\lib\\lib.dll";
  const std::string windowsPath = "c:\\windows\\lib.dll";
  const std::string currentPath = (Work() / "lib.dll").string();

  const auto pathSaid = [this](const std::string& line) {
    host.debugger.clear();
    Run(line);
    return ExLines().at(0);
  };
  const std::string head = "EX: (cmd: EX 1 'lib' 'Calls' N% R$ 0 0 0 0 0 0 0). ";
  EXPECT_EQ(pathSaid("EX 1 'lib' 'Calls' N% R$"), head + "path to the DLL is invalid.");
  Place(EX_PROBE_PATH, system / "lib.dll");
  EXPECT_EQ(pathSaid("EX 1 'lib' 'Calls' N% R$"),
            head + "DLL: 'lib.dll', path to DLL: '" + systemPath + "'");
  Place(EX_PROBE_PATH, Windows() / "LIB.DLL");
  EXPECT_EQ(pathSaid("EX 1 'lib' 'Calls' N% R$"),
            head + "DLL: 'lib.dll', path to DLL: '" + windowsPath + "'");
  Place(EX_PROBE_PATH, Work() / "lib.dll");
  EXPECT_EQ(pathSaid("EX 1 'lib' 'Calls' N% R$"),
            head + "DLL: 'lib.dll', path to DLL: '" + currentPath + "'");
  EXPECT_EQ(Int('N'), 1) << "and called from there";

  // A name in script notation is a path; a name that holds ".dll" in any case gets none.
  Place(EX_PROBE_PATH, DriveC() / "site" / "Probe.Dll");
  EXPECT_EQ(pathSaid("EX 1 'c;/site/Probe.Dll' 'Calls' N% R$"),
            "EX: (cmd: EX 1 'c;/site/Probe.Dll' 'Calls' N% R$ 0 0 0 0 0 0 0). DLL: "
            "'c;/site/Probe.Dll', path to DLL: 'c:\\site\\Probe.Dll'");
  EXPECT_EQ(pathSaid("EX 1 'c;/elsewhere/probe' 'Calls' N% R$"),
            "EX: (cmd: EX 1 'c;/elsewhere/probe' 'Calls' N% R$ 0 0 0 0 0 0 0). path to the DLL "
            "is invalid.");
}

TEST_F(ExtensionCommandsTest, MissingEntryPointsAreSaidInModesOneAndTwoOnly) {
  Place(EX_PROBE_PATH, Windows() / "probe.dll");
  SetStr('R', "kept");
  Int('N') = 77;
  Run("EX 0 'probe' 'Nope' N% R$");
  Run("EX 1 'probe' 'Nope' N% R$");
  Run("EX 2 'probe' '' H% R$");
  SetStr('R', "kept");
  Run("EX 2 H% 'Nope' N% R$");
  EXPECT_EQ(Int('N'), 77);
  EXPECT_EQ(Str('R'), "kept");
  std::vector<std::string> missing;
  for (const std::string& line : ExLines()) {
    if (line.find("GetProcAddress") != std::string::npos) missing.push_back(line);
  }
  EXPECT_EQ(missing, (std::vector<std::string>{
                         "EX: '1' GetProcAddress() failed. EntryPointFuntionName: 'Nope'",
                         "EX: '2' GetProcAddress() failed. (EntryPointFuntionName: 'Nope')"}));
}

TEST_F(ExtensionCommandsTest, OnlyTheLibrarysOwnFunctionsCanBeCalled) {
  // calc.dll uses the C library, whose functions its loader would also find through it.
  Place(CALC_LIBRARY_PATH, Windows() / "calc.dll");
  Int('N') = 77;
  Run("EX 1 'calc' 'getpid' N% R$");
  EXPECT_EQ(Int('N'), 77);
  EXPECT_TRUE(DebuggerSaid("EX: '1' GetProcAddress() failed. EntryPointFuntionName: 'getpid'"));
}

TEST_F(ExtensionCommandsTest, ALibraryThatCannotBeLoadedDoesNothingOrGivesHandleZero) {
  std::ofstream(Windows() / "broken.dll") << "not a library";
  for (const char* name : {"broken", "absent"}) {
    SCOPED_TRACE(name);
    SetStr('R', "kept");
    Int('N') = 77;
    Int('H') = 5;
    const std::string quoted = std::string("'") + name + "'";
    Run("EX 0 " + quoted + " 'Ok' N% R$");
    Run("EX 1 " + quoted + " 'Calls' N% R$");
    EXPECT_EQ(Int('N'), 77);
    EXPECT_EQ(Str('R'), "kept");
    Run("EX 2 " + quoted + " '' H% R$");
    EXPECT_EQ(Int('H'), 0);
    EXPECT_EQ(Str('R'), "");
  }
}

TEST_F(ExtensionCommandsTest, OtherModesDoNothing) {
  Place(EX_PROBE_PATH, Windows() / "probe.dll");
  Int('N') = 77;
  Run("EX 3 'probe' 'Calls' N% R$");
  Run("EX -1 'probe' 'Calls' N% R$");
  EXPECT_EQ(Int('N'), 77);
}

}  // namespace
}  // namespace velcrum
