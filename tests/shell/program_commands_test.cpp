// EA, EK, EU and ER through the executor against the recording host, and EA's reading of
// its command line; the programs EA and ER start are real processes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "interpreter/settings.h"
#include "network/kal_messages.h"
#include "platform/desktop/message.h"
#include "runtime/process_state.h"
#include "runtime/subsystem_settings.h"
#include "shell/configuration.h"
#include "shell/program_launch.h"
#include "support/files.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;

TEST(ProgramLaunchTest, ArgumentsAndTheThreeTitles) {
  struct Case {
    const char* commandLine;
    bool keep;
    int workstation;
    const char* line;
    const char* arguments;
    const char* t1;
    const char* t2;
    const char* t3;
  };
  const Case cases[] = {
      {"notepad c;/data/x.txt", false, 1, "notepad c:\\data\\x.txt", "c:\\data\\x.txt",
       "notepad c:\\data\\x.001", "NOTEPAD_.001", "notepad.001"},
      {"notepad c;/data/x.txt", true, 1, "notepad c;/data/x.txt", "c;/data/x.txt",
       "notepad c;/data/x.001", "NOTEPAD_.001", "notepad.001"},
      {"c;/panels/desk.exe 17", false, 7, "c:\\panels\\desk.exe 17", "17", "c:\\panels\\desk.007",
       "DESK____.007", "desk.007"},
      {"c:\\panels\\Router Panel.exe", false, 12, "c:\\panels\\Router Panel.exe", "Panel.exe",
       "c:\\panels\\Router Panel.012", "ROUTER PANEL.012", "Router Panel.012"},
      {"app", false, 3, "app", "", "app_____.003", "APP_____.003", "app.003"},
  };
  for (const Case& c : cases) {
    const LaunchPlan plan = PlanLaunch(c.commandLine, c.keep, c.workstation);
    EXPECT_EQ(plan.commandLine, c.line) << c.commandLine;
    EXPECT_EQ(plan.arguments, c.arguments) << c.commandLine;
    EXPECT_EQ(plan.titles[0], c.t1) << c.commandLine;
    EXPECT_EQ(plan.titles[1], c.t2) << c.commandLine;
    EXPECT_EQ(plan.titles[2], c.t3) << c.commandLine;
  }
}

class ProgramCommandsTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    char pattern[] = "/tmp/velcrum-programs-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    base_ = pattern;
    fs::create_directories(base_ / "drive_c" / "bin");
    fs::create_directories(base_ / "drive_c" / "data");
    setenv("VELCRUM_ROOT", base_.c_str(), 1);
    unsetenv("VELCRUM_DRIVE_C");
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(base_, ignored);
    unsetenv("VELCRUM_ROOT");
    ResetProcessState();
    InterpreterTest::TearDown();
  }

  // A shell script on drive C, c:\bin\NAME.
  void MakeScript(const std::string& name, const std::string& body) const {
    const fs::path path = base_ / "drive_c" / "bin" / name;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(path, fs::perms::owner_all);
  }
  fs::path Data(const char* name) const { return base_ / "drive_c" / "data" / name; }

  fs::path base_;
};

TEST_F(ProgramCommandsTest, EaHandsTheArgumentsToTheWindowOfTheFirstTitleFound) {
  g_instanceSettings.workstation = 7;
  struct Case {
    std::set<std::string> windows;
    const char* line;
    uint32_t hwnd;  // place in `windows`, from 1
    uint32_t wParam;
    const char* text;
  };
  const Case cases[] = {
      {{"DESK____.007"}, "EA 'c;/panels/desk.exe 17'", 1, 17, "17"},
      {{"desk.007"}, "EA 'c;/panels/desk.exe 70000 x'", 1, 70000 & 0xFFFF, "70000 x"},
      {{"DESK____.007", "c:\\panels\\desk.007"}, "EA 'c;/panels/desk.exe go'", 2, 0, "go"},
      {{"DESK____.007"}, "EA 'c;/panels/desk.exe a/b' 1 1", 0, 0, ""},  // c;/... kept: no match
  };
  for (const Case& c : cases) {
    host.windowTitles = c.windows;
    host.framesSent.clear();
    host.raisedWindows.clear();
    host.boxes.clear();
    Run(c.line);
    if (c.hwnd == 0) {
      EXPECT_TRUE(host.framesSent.empty()) << c.line;
      continue;
    }
    ASSERT_EQ(host.framesSent.size(), 1u) << c.line;
    EXPECT_EQ(host.framesSent[0].hwnd, c.hwnd) << c.line;
    EXPECT_EQ(host.framesSent[0].message, kMsgSetParameter) << c.line;
    EXPECT_EQ(host.framesSent[0].wParam, c.wParam) << c.line;
    EXPECT_EQ(host.framesSent[0].text, c.text) << c.line;
    EXPECT_EQ(host.raisedWindows, std::vector<uint32_t>{c.hwnd}) << c.line;
    EXPECT_TRUE(host.boxes.empty()) << c.line;  // nothing was started
  }
}

TEST_F(ProgramCommandsTest, EaStartsTheProgramWithMappedPathsAndWaitsForItsEnd) {
  std::ofstream(Data("in.txt")) << "payload";
  MakeScript("copier", "cp \"$1\" \"$2\"");
  const auto start = std::chrono::steady_clock::now();
  Run("EA 'c;/bin/copier.exe c;/data/in.txt \"c;/data/out.txt\"'");
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(testing::ReadWholeFile(Data("out.txt")), "payload");
  EXPECT_LT(waited, std::chrono::milliseconds(1900));  // its end, not the bound, ended the wait
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_TRUE(DebuggerSaid("c:\\bin\\copier.exe c:\\data\\in.txt \"c:\\data\\out.txt\""));
}

TEST_F(ProgramCommandsTest, EaWaitsAShortBoundForAProgramThatShowsNoWindow) {
  MakeScript("sleeper", "sleep 5");
  const auto start = std::chrono::steady_clock::now();
  Run("EA 'c;/bin/sleeper'");
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(1900));
  EXPECT_LT(waited, std::chrono::milliseconds(4000));
}

TEST_F(ProgramCommandsTest, EaShowsAFailedStartOnlyWhenAsked) {
  struct Case {
    const char* line;
    bool shown;
  };
  const Case cases[] = {
      {"EA 'c;/bin/none.exe 1'", true},
      {"EA 'c;/bin/none.exe 1' 1", true},
      {"EA 'c;/bin/none.exe 1' 0", false},
      {"EA '~'", false},
      {"EA ''", false},
  };
  for (const Case& c : cases) {
    host.boxes.clear();
    Run(c.line);
    if (!c.shown) {
      EXPECT_TRUE(host.boxes.empty()) << c.line;
      continue;
    }
    ASSERT_EQ(host.boxes.size(), 1u) << c.line;
    EXPECT_EQ(host.boxes[0].text,
              "EA Launch failure...\n'c:\\bin\\none.exe 1'\nNo such file or directory")
        << c.line;
  }
}

TEST_F(ProgramCommandsTest, EkAsksForTheCheckAndRepeatsItWhenACopyClosed) {
  for (const bool closes : {false, true}) {
    host.surplusChecks.clear();
    host.posted.clear();
    host.surplusCopyCloses = closes;
    Run("EK 50");
    EXPECT_EQ(host.surplusChecks, std::vector<int>{50});
    if (closes) {
      EXPECT_EQ(host.posted,
                (std::vector<std::pair<uint32_t, uint32_t>>{{kMsgCloseSurplusCopies, 50u}}));
    } else {
      EXPECT_TRUE(host.posted.empty());
    }
  }
}

TEST_F(ProgramCommandsTest, EuForbidsRemoteCloseOnlyWithOne) {
  for (const auto& [line, allowed] :
       {std::pair{"EU 1", false}, {"EU 0", true}, {"EU 1", false}, {"EU 2", true}}) {
    Run(line);
    EXPECT_EQ(g_bRemoteCloseAllowed, allowed) << line;
  }
}

TEST_F(ProgramCommandsTest, ErRunsTheConfiguredCommandsAndClosesAfterOneSucceeded) {
  g_hwndNxi = 0x0042;
  struct Case {
    const char* line;
    std::string reboot;
    std::string logoff;
    const char* made;  // the file the command that ran touched, or null
    bool closes;
    bool nxiClosed;
  };
  const std::string touch = "touch " + Data("").string();
  const Case cases[] = {
      {"ER 'reboot now'", touch + "rebooted", touch + "ended", "rebooted", true, false},
      {"ER 'LogOff'", touch + "rebooted", touch + "ended", "ended", true, false},
      {"ER 'logout'", touch + "rebooted", touch + "ended2", "ended2", true, false},
      {"ER 'killnxi'", touch + "rebooted", touch + "ended", nullptr, false, true},
      {"ER 'reboot'", "exit 3", "", nullptr, false, false},
      {"ER 'reboot'", "", "", nullptr, false, false},
      {"ER 'restart'", touch + "rebooted", touch + "ended", nullptr, false, false},
  };
  for (const Case& c : cases) {
    for (const char* name : {"rebooted", "ended", "ended2"}) fs::remove(Data(name));
    host.posted.clear();
    host.postedTo.clear();
    g_config.rebootCommand = c.reboot;
    g_config.logoffCommand = c.logoff;
    Run(c.line);
    if (c.made) {
      EXPECT_TRUE(fs::exists(Data(c.made))) << c.line;
    }
    const std::vector<std::pair<uint32_t, uint32_t>> closeDown{{KAL_CLOSEDOWN, 0u}};
    EXPECT_EQ(host.posted, c.closes ? closeDown : decltype(closeDown){}) << c.line;
    ASSERT_EQ(host.postedTo.size(), c.nxiClosed ? 1u : 0u) << c.line;
    if (c.nxiClosed) {
      EXPECT_EQ(host.postedTo[0].hwnd, 0x0042u);
      EXPECT_EQ(host.postedTo[0].message, platform::WM_CLOSE);
    }
  }
  EXPECT_TRUE(DebuggerSaid("ER: RebootCommand 'exit 3' failed"));
  EXPECT_TRUE(DebuggerSaid("ER: no RebootCommand in VELCRUM.INI; nothing done"));
}

}  // namespace
}  // namespace velcrum
