// The V commands through the executor: the MCI strings they send (to a probe device type
// that records them), VF's placing of the overlay window, the clamping and range checks,
// and VE's capture application lookup and start.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "interpreter/host.h"
#include "platform/mci.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "runtime/configuration_files.h"
#include "runtime/module.h"
#include "support/files.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;

// What the probe overlay devices were sent, in order; "closed" when one went.
std::vector<std::string> g_sent;
// What "status overlay window handle" answers (an error when empty).
std::string g_windowHandleReply;

class ProbeOverlay final : public MciDevice {
 public:
  ~ProbeOverlay() override { g_sent.push_back("closed"); }
  uint32_t Execute(const MciCommand& command, std::string& returned) override {
    g_sent.push_back(command.text);
    if (command.command != "status") return 0;
    if (g_windowHandleReply.empty()) return MCIERR_UNSUPPORTED_FUNCTION;
    returned = g_windowHandleReply;
    return 0;
  }
};

std::unique_ptr<MciDevice> OpenProbe(const MciOpen& open, uint32_t*) {
  g_sent.push_back(open.text);
  return std::make_unique<ProbeOverlay>();
}

// Panel 1 has control 1001 (handle 0x4d, 120 by 90); every other panel or control is
// missing, reported as the panels report it.
class VideoHost final : public testing::RecordingHost {
 public:
  PanelControlWindow FindPanelControlWindow(const CommandCall&, int panel, int control) override {
    if (panel == 1 && control == 1001) return {0x4d, 120, 90};
    return {};
  }
  bool MoveWindow(uint32_t hwnd, int x, int y, int width, int height) override {
    moves.push_back({hwnd, x, y, width, height});
    return true;
  }
  struct Move {
    uint32_t hwnd;
    int x, y, width, height;
    bool operator==(const Move&) const = default;
  };
  std::vector<Move> moves;
};

class VideoCommandsTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    SetHost(&video_);
    RegisterMciDeviceType("overlay", &OpenProbe);
    g_sent.clear();
    g_windowHandleReply = "4242";
    char pattern[] = "/tmp/velcrum-video-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    base_ = pattern;
    fs::create_directories(base_ / "drive_c" / "windows");
    fs::create_directories(base_ / "drive_c" / "bin");
    setenv("VELCRUM_ROOT", base_.c_str(), 1);
    unsetenv("VELCRUM_DRIVE_C");
    unsetenv("CC_ROOT");
  }
  void TearDown() override {
    CloseAllMciDevices();
    std::error_code ignored;
    fs::remove_all(base_, ignored);
    unsetenv("VELCRUM_ROOT");
    SetHost(&host);
    InterpreterTest::TearDown();
  }
  // Whether a debug output line (which goes to the installed host) contains the text.
  bool Said(std::string_view text) const {
    for (const std::string& line : video_.debugger) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  }

  VideoHost video_;
  fs::path base_;
};

TEST_F(VideoCommandsTest, EachCommandSendsItsString) {
  struct Case {
    const char* line;
    std::vector<std::string> sent;
  };
  const Case cases[] = {
      {"VA 0 'BRIGHTNESS' 80", {"setvideo overlay brightness to 80"}},
      {"VA 0 'Contrast' 300", {"setvideo overlay contrast to 255"}},
      {"VA 0 'colour' -5", {"setvideo overlay color to 0"}},
      {"VA 0 'TINT' 128", {"setvideo overlay tint to 128"}},
      {"VA 0 'COLOR' 10", {}},
      {"VA 0 'HUE' 10", {}},
      {"VC 0 3", {"set overlay channel to 3"}},
      {"VS 0 2", {"setvideo overlay source to 2"}},
      {"VR 0 'c;/stills/a.bmp'",
       {"freeze overlay", "load overlay c:\\stills\\a.bmp at 1 1 100 100  type 14"}},
      {"VW 1 'd;/grab/b.bmp' 7", {"save overlay d:\\grab\\b.bmp at 1 1 100 100 type 7"}},
      {"VW 65 'd;/grab/b.bmp' 7", {}},
  };
  // The device is open throughout, as after VF.
  ASSERT_EQ(MciSendString("open overlay", nullptr, 0, 0), 0u);
  for (const Case& c : cases) {
    g_sent.clear();
    Run(c.line);
    EXPECT_EQ(g_sent, c.sent) << c.line;
  }
  EXPECT_TRUE(Said("VW")) << "panel 65 is out of range";
}

TEST_F(VideoCommandsTest, OverlayOnAControlTwiceClosesTheFirstAndPlacesTheWindow) {
  Run("VF 0 1 1001");
  Run("VF 0 1 1001");
  const std::vector<std::string> once = {"open overlay parent 77 style child",
                                         "status overlay window handle",
                                         "window overlay state show"};
  std::vector<std::string> expected = once;
  expected.push_back("closed");
  expected.insert(expected.end(), once.begin(), once.end());
  EXPECT_EQ(g_sent, expected);
  const VideoHost::Move move = {4242, 0, 0, 120, 90};
  EXPECT_EQ(video_.moves, (std::vector<VideoHost::Move>{move, move}));
  g_sent.clear();
  RunShutDownStep(ShutDownStep::kCloseDownSectionRun);
  EXPECT_EQ(g_sent, (std::vector<std::string>{"closed"})) << "the shut-down closes the overlay";
}

TEST_F(VideoCommandsTest, OverlayOnAMissingControlOpensOnANullWindowAndMovesNothing) {
  g_windowHandleReply.clear();  // the status query fails
  Run("VF 0 1 33000");
  EXPECT_EQ(g_sent, (std::vector<std::string>{"open overlay parent 0 style child",
                                              "status overlay window handle",
                                              "window overlay state show"}));
  EXPECT_TRUE(video_.moves.empty());
  EXPECT_TRUE(Said("VF")) << "control 33000 is out of range";
  g_sent.clear();
  Run("VF 0 70 1001");
  EXPECT_TRUE(g_sent.empty()) << "a panel out of range does nothing";
}

TEST_F(VideoCommandsTest, CapturePingsReachEveryWindowOnlyForAControlThatExists) {
  Run("VD 1 1001");
  Run("VD 1 1002");
  Run("VD 65 1001");
  ASSERT_EQ(video_.postedTo.size(), 1u);
  EXPECT_EQ(video_.postedTo[0].hwnd, 0xFFFFu);
  EXPECT_EQ(video_.postedTo[0].message, 0xC03Cu);
  EXPECT_EQ(video_.postedTo[0].wParam, 0u);
}

TEST_F(VideoCommandsTest, ObsoleteCommandsShowTheirBox) {
  Run("VI:VP");
  ASSERT_EQ(video_.boxes.size(), 2u);
  for (const testing::RecordedBox& box : video_.boxes) {
    EXPECT_EQ(box.caption, "Obsolete Command");
    EXPECT_EQ(box.text, "Command no longer needed for MCI controlled cards");
  }
}

TEST_F(VideoCommandsTest, CaptureApplicationWithoutAKeyStartsNoneAndLeavesATemplate) {
  Run("VE 1 1001 'cam'");
  EXPECT_EQ(GetPrivateProfileString("System", "VideoCaptureApplication", "", 256, VelcrumIniPath()),
            "overlay.exe");
  EXPECT_TRUE(Said("VE: WinExec failed, file not found."));
  ASSERT_EQ(video_.postedTo.size(), 1u) << "the control exists: the ping goes out";
}

TEST_F(VideoCommandsTest, CaptureApplicationGetsTheArgumentAndTheControlHandleInHex) {
  const fs::path program = base_ / "drive_c" / "bin" / "capture";
  const fs::path output = base_ / "args.txt";
  std::ofstream(program) << "#!/bin/sh\necho \"$@\" > " << output.string() << ".tmp && mv "
                         << output.string() << ".tmp " << output.string() << "\n";
  fs::permissions(program, fs::perms::owner_all);
  ASSERT_TRUE(WritePrivateProfileString("System", "VideoCaptureApplication", "c:\\bin\\capture",
                                        VelcrumIniPath()));
  Run("VE 1 1001 'studio-2'");
  for (int i = 0; i < 200 && !fs::exists(output); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(testing::ReadWholeFile(output), "studio-2 4d\n");
  Run("VE 1 1002 'x'");  // a missing control: handle 0, no ping
  EXPECT_EQ(video_.postedTo.size(), 1u);
}

}  // namespace
}  // namespace velcrum
