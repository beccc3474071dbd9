// The EM message window of a running panel, worked with the desktop tool: its "Ok" resumes
// the suspended line, and so does its time-out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel_fixture.h"

namespace velcrum::testing {
namespace {

using platform::Hwnd;
using platform::kNoWindow;
using platform::testing::Peer;

// Debug output on standard error with the executor's line trace: a line resumed after EM
// shows that it skipped the commands before it.
const std::vector<std::string> kTracing = {"[Debug]", "EnableOutputDBWIN=1", "OutputDebug=1"};
constexpr char kResumed[] = "Skipping : i=0, iCmd=1";

class MessageWindowTest : public PanelTest {};

TEST_F(MessageWindowTest, OkPressedWithTheDesktopToolResumesTheLine) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  Peer& panel = StartPanel(MakePanel("DESK", {R"(30000, "EM 'Note' 'Tape 4 ready' 0 0:EI")"}));
  const Hwnd window = AwaitWindow("Note");
  ASSERT_NE(window, kNoWindow) << ErrorOutput(panel);
  EXPECT_EQ(ErrorOutput(panel).find(kResumed), std::string::npos);

  const std::string controls = RunTool({"controls", HandleText(window)});
  EXPECT_NE(controls.find("1 BUTTON 60 120 80 24 VEF 0 \"Ok\""), std::string::npos) << controls;
  EXPECT_NE(controls.find("\"Tape 4 ready\""), std::string::npos) << controls;
  RunTool({"click", HandleText(window), "1"});
  EXPECT_TRUE(AwaitOutput(panel, kResumed)) << ErrorOutput(panel);
  EXPECT_TRUE(WaitUntil([&] { return platform::FindWindow("Note") == kNoWindow; }));
}

TEST_F(MessageWindowTest, TheTimeOutResumesTheLineAndClosesTheWindow) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  Peer& panel = StartPanel(MakePanel("DESK", {R"(30000, "EM 'Note' 'Back soon' 0 1000:EI")"}));
  ASSERT_NE(AwaitWindow("Note"), kNoWindow) << ErrorOutput(panel);
  EXPECT_TRUE(AwaitOutput(panel, kResumed)) << ErrorOutput(panel);
  EXPECT_TRUE(WaitUntil([&] { return platform::FindWindow("Note") == kNoWindow; }));
}

}  // namespace
}  // namespace velcrum::testing
