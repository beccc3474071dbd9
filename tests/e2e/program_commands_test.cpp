// EA, EF and ER between real panels on a private desktop: arguments handed to a panel that
// runs, a panel started by another, one INI file written by two panels at once, and the
// session commands of ER.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "network/kal_messages.h"
#include "panel_fixture.h"
#include "support/files.h"

namespace velcrum::testing {
namespace {

using platform::Hwnd;
using platform::kNoWindow;
using platform::Message;
using platform::testing::Peer;

const std::vector<std::string> kTracing = {
    "[Debug]", "EnableOutputDBWIN=1", "OutputDebug=1", "[System]", "FastClose=1",
};

// A panel that stays up; line 600, run by message 2029, shows its event parameter.
const std::vector<std::string> kTargetPanel = {
    R"(30000, "EI up")",
    R"(600, "EZ 'param=%s n=%d' S$ S%")",
};

class ProgramCommandsE2eTest : public PanelTest {
 protected:
  // Closes every panel window still on the desktop (those the panels started included).
  void CloseRemainingPanels(const std::vector<std::string>& titles) {
    for (const std::string& title : titles) {
      const Hwnd hwnd = platform::FindWindow(title);
      if (hwnd == kNoWindow) continue;
      platform::Post(hwnd, Message::Plain(platform::WM_CLOSE));
      EXPECT_TRUE(WaitUntil([&] { return !platform::IsWindow(hwnd); })) << title;
    }
  }
};

TEST_F(ProgramCommandsE2eTest, EaHandsItsArgumentsToThePanelWhoseTitleMatches) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  Peer& target = StartPanel(MakePanel("TARGET", kTargetPanel));
  const Hwnd targetWindow = AwaitWindow("TARGET__.001");
  ASSERT_NE(targetWindow, kNoWindow) << ErrorOutput(target);
  ASSERT_TRUE(AwaitOutput(target, "Line 30000"));

  // T1 is c:\panels\target.001, which nothing has; T2, TARGET__.001, is the panel's.
  Peer& launcher = StartPanel(MakePanel(
      "LAUNCHER", {R"(30000, "EA 'c;/panels/target.exe 17 go'")", R"(30001, "EI handed")"}));
  ASSERT_TRUE(AwaitOutput(launcher, "Line 30001")) << ErrorOutput(launcher);
  EXPECT_EQ(ErrorOutput(launcher).find("EA Launch failure"), std::string::npos);
  EXPECT_EQ(ErrorOutput(launcher).find("cannot be raised"), std::string::npos)
      << "the running copy was brought to the top";

  platform::Send(targetWindow, Message::Plain(kMsgRunLine, 600));
  EXPECT_TRUE(AwaitOutput(target, "<TARGET__.001> Debug: param=17 go n=17")) << ErrorOutput(target);
  CloseRemainingPanels({"LAUNCHER.001", "TARGET__.001"});
}

TEST_F(ProgramCommandsE2eTest, EaStartsAPanelAndWaitsForItsWindow) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  MakePanel("TARGET", kTargetPanel);
  // TARGET.EXE is found beside the launcher, and the next command already sees its window.
  Peer& launcher = StartPanel(
      MakePanel("LAUNCHER", {R"(30000, "EA 'target.exe 5'")", R"(30001, "SQ 'TARGET' '' q%")",
                             R"(30002, "EZ 'window=%d' q%")"}));
  EXPECT_TRUE(AwaitOutput(launcher, "<LAUNCHER.001> Debug: window=1", 30000))
      << ErrorOutput(launcher);
  const Hwnd targetWindow = AwaitWindow("TARGET__.001");
  ASSERT_NE(targetWindow, kNoWindow);
  // Its title is set before its script is loaded: line 600 is there once 30000 has run.
  ASSERT_TRUE(AwaitOutput(launcher, "Line='EI up'")) << ErrorOutput(launcher);
  // The started panel writes to the launcher's standard error, which it inherited.
  platform::Send(targetWindow, Message::Plain(kMsgRunLine, 600));
  EXPECT_TRUE(AwaitOutput(launcher, "<TARGET__.001> Debug: param=5 n=5")) << ErrorOutput(launcher);

  // A second EA of the same panel hands it the arguments instead of starting it twice.
  Peer& second = StartPanel(
      MakePanel("SECOND", {R"(30000, "EA 'target.exe 9 more'")", R"(30001, "EI done")"}));
  ASSERT_TRUE(AwaitOutput(second, "Line 30001")) << ErrorOutput(second);
  platform::Send(targetWindow, Message::Plain(kMsgRunLine, 600));
  EXPECT_TRUE(AwaitOutput(launcher, "<TARGET__.001> Debug: param=9 more n=9"));
  int targets = 0;
  for (const platform::WindowInfo& window : platform::TopLevelWindows()) {
    if (window.title == "TARGET__.001") ++targets;
  }
  EXPECT_EQ(targets, 1);
  CloseRemainingPanels({"LAUNCHER.001", "SECOND__.001", "TARGET__.001"});
}

TEST_F(ProgramCommandsE2eTest, TwoPanelsWritingOneIniFileKeepEachOthersEntries) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  constexpr int kEntries = 25;
  const auto panelScript = [&](const std::string& name) {
    std::vector<std::string> records;
    for (int i = 0; i < kEntries; ++i) {
      records.push_back(std::to_string(30000 + i) + R"(, "EF 'Shared' ')" + name + "_" +
                        std::to_string(i) + "' " + std::to_string(i) + R"( 1 'shared.ini'")");
    }
    records.push_back(std::to_string(30000 + kEntries) + R"(, "EI written")");
    records.push_back(R"(600, "EF 'Shared' 'ONE_7' n% 0 'shared.ini':EZ 'read=%d' n%")");
    return records;
  };
  Peer& one = StartPanel(MakePanel("ONE", panelScript("ONE")));
  Peer& two = StartPanel(MakePanel("TWO", panelScript("TWO")));
  ASSERT_TRUE(AwaitOutput(one, "EI written", 20000)) << ErrorOutput(one);
  ASSERT_TRUE(AwaitOutput(two, "EI written", 20000)) << ErrorOutput(two);

  const std::string file = ReadWholeFile(root_ / "drive_c" / "windows" / "shared.ini");
  for (const char* name : {"ONE", "TWO"}) {
    for (int i = 0; i < kEntries; ++i) {
      const std::string entry =
          std::string(name) + "_" + std::to_string(i) + "=" + std::to_string(i) + "\n";
      EXPECT_NE(file.find(entry), std::string::npos) << entry << file;
    }
  }
  EXPECT_EQ(Occurrences(file, "[Shared]"), 1);

  const Hwnd twoWindow = AwaitWindow("TWO_____.001");
  platform::Send(twoWindow, Message::Plain(kMsgRunLine, 600));
  EXPECT_TRUE(AwaitOutput(two, "<TWO_____.001> Debug: read=7"));
  EXPECT_TRUE(AwaitOutput(two, "VLXEF: RD1 Sect: 'Shared' Key: 'ONE_7' File read: "));
  CloseRemainingPanels({"ONE_____.001", "TWO_____.001"});
}

TEST_F(ProgramCommandsE2eTest, ErRunsTheRebootCommandAndThePanelCloses) {
  StartNxi();
  const std::filesystem::path made = root_ / "rebooted";
  std::vector<std::string> ini = kTracing;
  ini.push_back("RebootCommand=touch " + made.string());
  WriteVelcrumIni(ini);
  Peer& panel =
      StartPanel(MakePanel("DESK", {R"(30000, "ER 'reboot now'")", R"(31000, "EI closing")"}));
  ASSERT_TRUE(AwaitExit(panel, 20000)) << ErrorOutput(panel);
  EXPECT_TRUE(std::filesystem::exists(made));
  EXPECT_NE(ErrorOutput(panel).find("Line 31000"), std::string::npos);
  // The missing logoff command was written back with its default.
  EXPECT_NE(ReadVelcrumIni().find("LogoffCommand=loginctl terminate-session ${XDG_SESSION_ID}"),
            std::string::npos);
}

}  // namespace
}  // namespace velcrum::testing
