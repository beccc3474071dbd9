// The debug window of a running panel, worked with the desktop tool's real input: opened by
// ShowDebugWindow, filled by the parser trace, paused and resumed by left clicks (lines
// written meanwhile are lost), pushed out of view by a right click, scrolled by keys,
// saved with Ctrl+S, and switched off and on again by menu item 502.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "panel_fixture.h"

namespace velcrum::testing {
namespace {

using platform::Hwnd;
using platform::kNoWindow;
using platform::testing::Peer;

constexpr uint32_t kWmCommand = 0x0111;
constexpr uint32_t kRunLine = 2029;
constexpr char kInstance[] = "DESK____.001";
constexpr char kStartupDone[] = "Trace: 100, 'NA d% 1 d%'\n";

class DebugWindowTest : public PanelTest {
 protected:
  // The panel: STARTUP runs line 30000 forty times, then line 100 once; lines 200 and 300
  // each run five times when message 2029 asks for them. Every run writes one "Trace:"
  // line.
  Peer& StartTracingPanel() {
    StartNxi();
    WriteVelcrumIni({"[Debug]", "ShowDebugWindow=1", "OutputDebug=1", "OutputParserTrace=1",
                     "DebugWindowPositionX=20", "DebugWindowPositionY=30", "DebugWindowSizeW=480",
                     "DebugWindowSizeH=320"});
    const std::string panel = MakePanel(
        "DESK", {R"(30000, "NA a% 1 a%:JL a% 40 30000 100")", R"(100, "NA d% 1 d%")",
                 R"(200, "NA b% 1 b%:JL b% 5 200 0")", R"(300, "NA c% 1 c%:JL c% 5 300 0")"});
    // Ctrl+S asks for a file: the headless answer is the name the dialog proposes, in the
    // panel's current directory.
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(root_);
    setenv("VELCRUM_FILEDIALOG", (std::string(kInstance) + ".debug.txt").c_str(), 1);
    Peer& started = StartPanel(panel);
    unsetenv("VELCRUM_FILEDIALOG");
    std::filesystem::current_path(here);
    return started;
  }

  void Post(Hwnd hwnd, uint32_t message, uint32_t wParam) {
    Tool({"post", HandleText(hwnd), std::to_string(message), std::to_string(wParam)});
  }

  // Ctrl+S, then the saved file once it holds `wanted`.
  std::string Saved(Hwnd window, const std::string& wanted) {
    const std::filesystem::path file = root_ / (std::string(kInstance) + ".debug.txt");
    std::filesystem::remove(file);
    Tool({"key", HandleText(window), "{Ctrl+s}"});
    std::string text;
    WaitUntil([&] {
      std::ifstream in(file, std::ios::binary);
      std::stringstream read;
      read << in.rdbuf();
      text = read.str();
      return text.find(wanted) != std::string::npos;
    });
    return text;
  }

  QImage Shot(Hwnd window, const std::string& name) {
    const std::string path = (root_ / name).string();
    Tool({"shot", HandleText(window), path});
    return QImage(QString::fromStdString(path));
  }
};

TEST_F(DebugWindowTest, ShowsTheTraceAndPausesResumesPushesOutAndSaves) {
  Peer& panel = StartTracingPanel();
  const Hwnd main = AwaitWindow(kInstance);
  const Hwnd window = AwaitWindow("Velcrum Debug");
  ASSERT_NE(window, kNoWindow) << ErrorOutput(panel);

  // Newest last in the file: STARTUP runs from the message loop, after the start-up's
  // lines.
  std::string text = Saved(window, kStartupDone);
  EXPECT_EQ(Occurrences(text, "Trace: 30000, 'NA a% 1 a%:JL a% 40 30000 100'\n"), 40) << text;
  EXPECT_LT(Position(text, "Initialisation is complete."), Position(text, "Trace: 30000")) << text;

  // Black text on light grey, the newest on the bottom rows.
  const QImage picture = Shot(window, "running.png");
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.pixelColor(5, 5), QColor(192, 192, 192));
  bool inkNearBottom = false;
  for (int y = picture.height() * 2 / 3; y < picture.height() - 20 && !inkNearBottom; ++y) {
    for (int x = 0; x < 200 && !inkNearBottom; ++x) {
      inkNearBottom = picture.pixelColor(x, y) == QColor(0, 0, 0);
    }
  }
  EXPECT_TRUE(inkNearBottom);

  // Paused: the five runs of line 200 are lost; resumed: those of line 300 are kept.
  Tool({"press", HandleText(window), "left", "100", "100"});
  EXPECT_TRUE(WaitUntil([&] { return platform::FindWindow("Debug paused!") == window; }));
  Post(main, kRunLine, 200);
  Tool({"press", HandleText(window), "left", "100", "100"});
  EXPECT_TRUE(WaitUntil([&] { return platform::FindWindow("Debug running...") == window; }));
  Post(main, kRunLine, 300);
  text = Saved(window, "Trace: 300");
  EXPECT_EQ(Occurrences(text, "Trace: 200"), 0) << text;
  EXPECT_EQ(Occurrences(text, "Trace: 300, 'NA c% 1 c%:JL c% 5 300 0'\n"), 5) << text;

  // A right click adds 199 lines of one blank, after what came before.
  Tool({"press", HandleText(window), "right", "100", "100"});
  text = Saved(window, std::string(kInstance) + ".debug.txt', ");
  const size_t blanks = text.rfind("Trace: 300");
  ASSERT_NE(blanks, std::string::npos);
  EXPECT_EQ(Occurrences(text.substr(blanks), "\n \n"), 199) << text;
}

TEST_F(DebugWindowTest, KeysScrollTheViewAndTheEndKeyComesBackToTheNewest) {
  Peer& panel = StartTracingPanel();
  const Hwnd window = AwaitWindow("Velcrum Debug");
  ASSERT_NE(window, kNoWindow) << ErrorOutput(panel);
  Saved(window, kStartupDone);
  // The view paints at most 50 times a second: pictures are compared once they settle.
  QImage newest = Shot(window, "newest.png");
  ASSERT_TRUE(WaitUntil([&] {
    const QImage again = Shot(window, "newest.png");
    const bool settled = again == newest;
    newest = again;
    return settled;
  }));
  Tool({"key", HandleText(window), "{PageUp}"});
  EXPECT_TRUE(WaitUntil([&] { return Shot(window, "paged_up.png") != newest; }, 3000));
  Tool({"key", HandleText(window), "{End}"});
  EXPECT_TRUE(WaitUntil([&] { return Shot(window, "end.png") == newest; }, 3000));
}

TEST_F(DebugWindowTest, MenuItem502ClosesTheWindowAndOpensItAgainWithItsLines) {
  Peer& panel = StartTracingPanel();
  const Hwnd main = AwaitWindow(kInstance);
  Hwnd window = AwaitWindow("Velcrum Debug");
  ASSERT_NE(window, kNoWindow) << ErrorOutput(panel);
  Tool({"press", HandleText(window), "left", "100", "100"});
  ASSERT_TRUE(WaitUntil([&] { return platform::FindWindow("Debug paused!") == window; }));

  Post(main, kWmCommand, 502);
  EXPECT_TRUE(WaitUntil([&] { return platform::FindWindow("Debug paused!") == kNoWindow; }));
  EXPECT_TRUE(
      WaitUntil([&] { return ReadVelcrumIni().find("ShowDebugWindow=0") != std::string::npos; }));

  // Opened again: running, with the lines from before.
  Post(main, kWmCommand, 502);
  window = AwaitWindow("Velcrum Debug");
  ASSERT_NE(window, kNoWindow);
  const std::string text = Saved(window, kStartupDone);
  EXPECT_EQ(Occurrences(text, "Trace: 30000"), 40) << text;
  Tool({"press", HandleText(window), "left", "100", "100"});
  EXPECT_TRUE(WaitUntil([&] { return platform::FindWindow("Debug paused!") == window; }));
}

}  // namespace
}  // namespace velcrum::testing
