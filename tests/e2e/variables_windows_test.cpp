// The variables windows of a running panel, opened and worked with real input: the pop-up
// menu of a right click on the panel, Alt with Shift then "D", and what the two lists show
// as the script changes its variables and the menu clears them.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "panel_fixture.h"

namespace velcrum::testing {
namespace {

using platform::Hwnd;
using platform::kNoWindow;
using platform::testing::Peer;

constexpr char kResources[] = R"(#include <windows.h>
1 DIALOGEX 10, 10, 200, 100
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION
CAPTION "Vars panel"
FONT 8, "MS Sans Serif"
BEGIN
    PUSHBUTTON "Count", 1001, 5, 5, 40, 14
END
)";

const std::vector<std::string> kScript = {
    R"(30000, "PS 1:NL 5 A%:TL 'cam 2' b$")",
    R"(1001, "NA A% 1 A%")",
};

class VariablesWindowsTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    StartNxi();
    const std::string program = MakePanel("DESK", kScript);
    MakeResourceScript("DESK", kResources);
    panel_ = &StartPanel(program);
    const Hwnd window = AwaitWindow("Vars panel");
    ASSERT_NE(window, kNoWindow) << ErrorOutput(*panel_);
    panelWindow_ = HandleText(window);
  }
  // A right click on the panel where no control is, then the item's mnemonic.
  void ChooseFromPanelMenu(const std::string& mnemonic) {
    Tool({"press", panelWindow_, "right", "250", "120"});
    Tool({"key", panelWindow_, mnemonic});
  }
  // Whether the list of the window titled `title` shows `line` as item `index`, soon.
  bool ListShows(const std::string& title, int list, int index, const std::string& line) {
    return WaitUntil(
        [&] {
          const Hwnd window = platform::FindWindow(title);
          if (window == kNoWindow) return false;
          const std::string items = RunTool({"items", HandleText(window), std::to_string(list)});
          return items.find(std::to_string(index) + " \"" + line + "\"\n") != std::string::npos;
        },
        5000);
  }

  Peer* panel_ = nullptr;
  std::string panelWindow_;
};

TEST_F(VariablesWindowsTest, TheMenuOpensThemAndTheyFollowTheScriptAndClearVariables) {
  ChooseFromPanelMenu("v");
  ASSERT_NE(AwaitWindow("Debug 1"), kNoWindow) << ErrorOutput(*panel_);
  ASSERT_NE(AwaitWindow("Debug 2"), kNoWindow);
  EXPECT_TRUE(ListShows("Debug 1", 21000, 0, "A%=    5    A$=NULL"));
  EXPECT_TRUE(ListShows("Debug 1", 21000, 25, "Z%=    0    Z$=NULL"));
  EXPECT_TRUE(ListShows("Debug 2", 21001, 1, "b%=    0    b$=cam 2"));

  // The once-a-second refresh shows what a line changed.
  Tool({"click", panelWindow_, "1001"});
  EXPECT_TRUE(ListShows("Debug 1", 21000, 0, "A%=    6    A$=NULL"));

  ChooseFromPanelMenu("c");
  EXPECT_TRUE(ListShows("Debug 1", 21000, 0, "A%=    0    A$=NULL"));
  EXPECT_TRUE(ListShows("Debug 2", 21001, 1, "b%=    0    b$=NULL"));

  // The same item closes them again.
  ChooseFromPanelMenu("v");
  EXPECT_TRUE(WaitUntil([] { return platform::FindWindow("Debug 1") == kNoWindow; }, 5000));
  EXPECT_EQ(platform::FindWindow("Debug 2"), kNoWindow);
}

TEST_F(VariablesWindowsTest, AltWithShiftThenDTogglesThemFromEveryWindow) {
  const Hwnd main = AwaitWindow("DESK____.001");
  ASSERT_NE(main, kNoWindow);
  Tool({"key", HandleText(main), "{Alt+Shift+d}"});
  const Hwnd first = AwaitWindow("Debug 1");
  ASSERT_NE(first, kNoWindow) << ErrorOutput(*panel_);
  // From the variables window itself (its list has the focus), then from the panel.
  Tool({"key", HandleText(first), "{Alt+Shift+d}"});
  EXPECT_TRUE(WaitUntil([] { return platform::FindWindow("Debug 1") == kNoWindow; }, 5000));
  Tool({"key", panelWindow_, "{Alt+Shift+d}"});
  EXPECT_NE(AwaitWindow("Debug 1"), kNoWindow);
  // Shift pressed before Alt is not the shortcut.
  Tool({"key", panelWindow_, "{Shift+Alt+d}"});
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_NE(platform::FindWindow("Debug 1"), kNoWindow);
}

}  // namespace
}  // namespace velcrum::testing
