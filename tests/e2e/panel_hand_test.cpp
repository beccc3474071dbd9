// A real panel process driven by the desktop tool as an operator's hand: its dialog from a
// resource script beside it, its controls pressed with real input in its own process, and
// what the lines they ran show on its controls.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "panel_fixture.h"

namespace velcrum::testing {
namespace {

using platform::Hwnd;
using platform::kNoWindow;
using platform::testing::Peer;

constexpr char kResources[] = R"(#include <windows.h>
#define IDC_TAKES 3001
1 DIALOGEX 10, 10, 200, 100
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "Hand panel"
FONT 8, "MS Sans Serif"
BEGIN
    PUSHBUTTON "Take", 1001, 5, 5, 40, 14
    CONTROL "Cam", 2002, "VornLatch", WS_TABSTOP, 50, 5, 40, 14
    CONTROL "", 1101, "msctls_trackbar32", TBS_VERT | WS_TABSTOP, 170, 5, 20, 80
    LTEXT "", IDC_TAKES, 5, 30, 60, 10
    LTEXT "", 3002, 5, 45, 60, 10
    LTEXT "", 3003, 5, 60, 60, 10
    LTEXT "", 3004, 5, 75, 60, 10
    LTEXT "Takes", IDC_STATIC, 70, 30, 30, 10
    LTEXT "Fader", IDC_STATIC, 70, 45, 30, 10
END
)";

const std::vector<std::string> kScript = {
    R"(30000, "PS 1:EO 2001 2003 500 C%")", R"(1001, "NA a% 1 a%:NP a% 1 3001")",
    R"(1101, "NA f% 1 f%:NP f% 1 3002")",   R"(500, "NP C% 1 3003")",
    R"(2, "TP 'escape' 1 3004")",
};

class PanelHandTest : public PanelTest {
 protected:
  std::string Tool(const std::vector<std::string>& arguments, int* status = nullptr) {
    return RunTool(arguments, status);
  }
  // The line of `desktop controls` for the control, waiting until it shows `expected`.
  bool ControlShows(const std::string& hwnd, const std::string& expected) {
    return WaitUntil(
        [&] {
          return Tool({"controls", hwnd}).find(expected) != std::string::npos;
        },
        5000);
  }
};

TEST_F(PanelHandTest, PressesRunTheLinesTheControlsName) {
  WriteVelcrumIni({"[System]", "KALNXIEnable=0"});
  const std::string program = MakePanel("HAND", kScript);
  MakeResourceScript("HAND", kResources);
  const Peer& process = StartPanel(program);
  const Hwnd panel = AwaitWindow("Hand panel");
  ASSERT_NE(panel, kNoWindow) << ErrorOutput(process);
  const std::string hwnd = HandleText(panel);

  const std::string listed = Tool({"controls", hwnd});
  // The first control with WS_TABSTOP has the focus.
  EXPECT_NE(listed.find("1001 BUTTON 8 8 60 23 VEF 0 \"Take\"\n"), std::string::npos) << listed;
  EXPECT_NE(listed.find("2002 VornLatch 75 8 60 23 VE 0 \"Cam\"\n"), std::string::npos) << listed;

  // Controls that share an identifier are each listed with their own place and text.
  EXPECT_NE(listed.find("65535 STATIC 105 49 45 16 VE 0 \"Takes\"\n"), std::string::npos);
  EXPECT_NE(listed.find("65535 STATIC 105 73 45 16 VE 0 \"Fader\"\n"), std::string::npos);

  int status = -1;
  Tool({"click", hwnd, "1001"}, &status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(ControlShows(hwnd, "3001 STATIC 8 49 90 16 VE 0 \"1\"")) << Tool({"controls", hwnd});

  Tool({"click", hwnd, "2002"});
  EXPECT_TRUE(ControlShows(hwnd, "3003 STATIC 8 98 90 16 VE 0 \"2002\"")) << "the override";
  EXPECT_TRUE(ControlShows(hwnd, "2002 VornLatch 75 8 60 23 VEC")) << "it latched";

  Tool({"drag", hwnd, "1101", "40"});
  EXPECT_TRUE(ControlShows(hwnd, "3002 STATIC 8 73 90 16 VE 0 \"1\"")) << "thumb tracking";
  EXPECT_TRUE(ControlShows(hwnd, " 40 \"\"\n")) << Tool({"controls", hwnd});

  Tool({"key", hwnd, "{Escape}"});
  EXPECT_TRUE(ControlShows(hwnd, "3004 STATIC 8 122 90 16 VE 0 \"escape\""));

  const std::string picture = (std::filesystem::path(logs_) / "hand.png").string();
  Tool({"shot", hwnd, picture}, &status);
  EXPECT_EQ(status, 0);
  EXPECT_GT(std::filesystem::file_size(picture), 100u);
}

// A panel file bound by velcrum-bind carries its resources: with no companion .rc beside
// it, its dialog still comes up.
TEST_F(PanelHandTest, ABoundPanelShowsTheDialogsBoundIntoIt) {
  WriteVelcrumIni({"[System]", "KALNXIEnable=0"});
  MakeResourceScript("SOURCE", kResources);
  const std::string program = MakePanel("BOUND", kScript);
  Peer& bind = Start({"--runtime", VELCRUM_PATH, (panels_ / "SOURCE.rc").string(), program},
                     VELCRUM_BIND_PATH);
  ASSERT_TRUE(AwaitExit(bind));
  ASSERT_EQ(WEXITSTATUS(bind.status), 0) << ErrorOutput(bind);
  std::filesystem::remove(panels_ / "SOURCE.rc");

  const Peer& process = StartPanel(program);
  const Hwnd panel = AwaitWindow("Hand panel");
  ASSERT_NE(panel, kNoWindow) << ErrorOutput(process);
  EXPECT_NE(Tool({"controls", HandleText(panel)}).find("1001 BUTTON"), std::string::npos);
}

}  // namespace
}  // namespace velcrum::testing
