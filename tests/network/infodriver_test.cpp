// The infodriver stand-in on a private desktop, driven from windows of the test process
// that act as panels: connects, framed calls and their replies, the revertives it sends,
// the operator's commands and the end of the program.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "desktop_fixture.h"
#include "interpreter/host.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "network/net_link.h"
#include "platform/desktop/window.h"
#include "runtime/process_state.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

using platform::Hwnd;

// A window of the test process in a panel's place: it answers frames as a panel's main
// window does and keeps the revertives it receives as "device:text".
struct TestPanel {
  std::unique_ptr<platform::Window> window;
  std::vector<std::string> revertives;
  Hwnd Handle() const { return window->Handle(); }
};

class InfodriverTest : public platform::testing::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    ResetProcessState();
    ResetNetLink();
    SetHost(&host_);
  }
  void TearDown() override {
    panels_.clear();
    ResetProcessState();
    ResetNetLink();
    SetHost(nullptr);
    DesktopTest::TearDown();
  }

  TestPanel& AddPanel() {
    auto panel = std::make_unique<TestPanel>();
    panel->window = platform::Window::Create(platform::Window::Kind::kTopLevel, "PANEL");
    TestPanel* self = panel.get();
    panel->window->SetProc([self](const platform::Message& m) -> platform::Result {
      if (m.message == platform::WM_COPYDATA) {
        VLNetSup_OnCopyData(self->Handle(), m.wParam, m);
        return 1;
      }
      if (m.message == KAL_DRIVER_HANDLE) g_hwndConnectCandidate = m.wParam;
      if (m.message == KAL_INFO_REVERTIVE) {
        self->revertives.push_back(std::to_string(m.wParam) + ":" + m.data);
        return 1;
      }
      return 0;
    });
    panels_.push_back(std::move(panel));
    return *panels_.back();
  }

  platform::testing::Peer& StartDriver(std::vector<std::string> arguments) {
    logPath_ = logs_ + "/driver" + std::to_string(peers_.size()) + ".log";
    arguments.insert(arguments.end(), {"--log", logPath_});
    platform::testing::Peer& driver = Start(arguments, INFODRIVER_PATH);
    EXPECT_NE(AwaitHandle(driver), platform::kNoWindow) << ErrorOutput(driver);
    return driver;
  }

  // `infodriver do ...` to its end: its exit status and what it printed.
  std::pair<int, std::string> Do(const std::vector<std::string>& arguments) {
    platform::testing::Peer& tool = Start(arguments, INFODRIVER_PATH);
    EXPECT_TRUE(AwaitExit(tool));
    ReadOutput(tool);
    return {WEXITSTATUS(tool.status), tool.outputText + ErrorOutput(tool)};
  }

  std::vector<std::string> Log() const {
    std::ifstream file(logPath_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }
  bool Logged(const std::string& line) const {
    for (const std::string& logged : Log()) {
      if (logged == line) return true;
    }
    return false;
  }

  static int32_t Write(const TestPanel& from, Hwnd driver, int slot, const char* text) {
    char buffer[kTextFrameBytes] = {};
    std::strcpy(buffer, text);
    return VLNetSup_Send(from.Handle(), driver, KAL_DRIVER_WRITE, static_cast<uint32_t>(slot),
                         buffer, 0);
  }
  static std::string Read(const TestPanel& from, Hwnd driver, int slot, int32_t* result) {
    char buffer[kTextFrameBytes] = {};
    *result = VLNetSup_Send(from.Handle(), driver, KAL_DRIVER_READ, static_cast<uint32_t>(slot),
                            buffer, sizeof buffer);
    return buffer;
  }
  static int32_t Command(const TestPanel& from, Hwnd driver, const char* text) {
    char buffer[kTextFrameBytes] = {};
    std::strcpy(buffer, text);
    return VLNetSup_Send(from.Handle(), driver, KAL_DRIVER_CMD, 0, buffer, 0);
  }

  testing::RecordingHost host_;
  std::vector<std::unique_ptr<TestPanel>> panels_;
  std::string logPath_;
};

TEST_F(InfodriverTest, TheConnectBroadcastIsAnsweredDuringItByTheDriverOfThatDevice) {
  platform::testing::Peer& other = StartDriver({"--device", "21"});
  platform::testing::Peer& driver = StartDriver({"--device", "20"});
  TestPanel& panel = AddPanel();
  for (const auto& [device, expected] : {std::pair{20, driver.hwnd}, std::pair{21, other.hwnd},
                                         std::pair{22, platform::kNoWindow}}) {
    g_hwndConnectCandidate = 0;
    platform::Send(platform::kBroadcast,
                   platform::Message::Plain(KAL_DRIVER_CONNECT, panel.Handle(), device));
    EXPECT_EQ(g_hwndConnectCandidate, expected) << device;
  }
  EXPECT_TRUE(Logged("> 2042 " + std::to_string(driver.hwnd) + " 0 plain 0 0 -"));
  EXPECT_EQ(platform::WindowTitle(driver.hwnd), "INFODRIVER 20");
}

TEST_F(InfodriverTest, WritesReachOnlyConnectedPanelsAndReadsGiveTheSlot) {
  platform::testing::Peer& driver = StartDriver({"--device", "20", "--slots", "100"});
  TestPanel& connected = AddPanel();
  TestPanel& other = AddPanel();

  // The framed connect: the device number, bit 15 for an addition; another device is refused.
  EXPECT_EQ(VLNetSup_Send(connected.Handle(), driver.hwnd, KAL_DRIVER_CONNECT, 0, 21), 0);
  EXPECT_EQ(VLNetSup_Send(connected.Handle(), driver.hwnd, KAL_DRIVER_CONNECT, 0, 20), 1);

  EXPECT_EQ(Write(connected, driver.hwnd, 7, "ON AIR"), 1);
  EXPECT_EQ(connected.revertives, std::vector<std::string>{"20:7,ON AIR"});
  EXPECT_TRUE(other.revertives.empty());
  EXPECT_EQ(Write(connected, driver.hwnd, 101, "beyond"), 0);  // no such slot

  int32_t result = -1;
  EXPECT_EQ(Read(other, driver.hwnd, 7, &result), "ON AIR");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(Read(other, driver.hwnd, 101, &result), "");
  EXPECT_EQ(result, 0);

  // Command texts: a write, a poll answered to the panel that asks, state kept.
  connected.revertives.clear();
  EXPECT_EQ(Command(other, driver.hwnd, "XW 20 'HELLO THERE' 4 "), 1);
  EXPECT_EQ(connected.revertives, std::vector<std::string>{"20:4,HELLO THERE"});
  EXPECT_EQ(Command(other, driver.hwnd, "XP 20 3 4 7"), 1);
  EXPECT_EQ(other.revertives, (std::vector<std::string>{"20:3,", "20:4,HELLO THERE"}));
  EXPECT_EQ(Command(other, driver.hwnd, "XP 20 9 3 7"), 0);
  EXPECT_EQ(Command(other, driver.hwnd, "XW 21 'X' 4 "), 0);  // another device's
  EXPECT_EQ(Command(other, driver.hwnd, "XC 20 3 9 ',A' 5"), 1);
  EXPECT_EQ(Command(other, driver.hwnd, "XS 20 6 1"), 1);
  EXPECT_EQ(VLNetSup_Send(other.Handle(), driver.hwnd, KAL_DRIVER_XPOINT, 11, 2), 1);
  EXPECT_EQ(VLNetSup_Send(other.Handle(), driver.hwnd, KAL_DRIVER_IOLINE, 8, 0), 1);
  EXPECT_EQ(Command(other, driver.hwnd, "RC 20 5 7 'x' 0"), 0);  // only logged

  // An addition connects the second panel as well; both get the next change.
  EXPECT_EQ(VLNetSup_Send(other.Handle(), driver.hwnd, KAL_DRIVER_CONNECT, 0, 20 | 0x8000), 1);
  connected.revertives.clear();
  other.revertives.clear();
  const auto [status, output] = Do({"--device", "20", "do", "slot", "9", " two  blanks"});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(output, "ok\n");
  EXPECT_EQ(connected.revertives, std::vector<std::string>{"20:9, two  blanks"});
  EXPECT_EQ(other.revertives, std::vector<std::string>{"20:9, two  blanks"});

  const auto [shown, state] = Do({"--device", "20", "do", "show"});
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(state, "device 20 mode 1 slots 100\npanels " + std::to_string(connected.Handle()) +
                       ' ' + std::to_string(other.Handle()) +
                       "\nslot 4 HELLO THERE\nslot 7 ON AIR\nslot 9  two  blanks\n"
                       "xpoint 9 3 ',A' 5\nxpoint 11 2 ''\nioline 6 1\nioline 8 0\nok\n");

  // The plain disconnect names the device, not the panel: every connection ends.
  platform::Send(driver.hwnd, platform::Message::Plain(KAL_DRIVER_DISCONNECT, driver.hwnd, 21));
  EXPECT_EQ(Write(connected, driver.hwnd, 1, "still"), 1);
  EXPECT_EQ(connected.revertives.size(), 2u);
  platform::Send(driver.hwnd, platform::Message::Plain(KAL_DRIVER_DISCONNECT, driver.hwnd, 20));
  EXPECT_EQ(Write(connected, driver.hwnd, 1, "gone"), 1);
  EXPECT_EQ(connected.revertives.size(), 2u);
  EXPECT_EQ(other.revertives.size(), 2u);

  // Every received message is logged, every sent one after "> ".
  EXPECT_TRUE(Logged("2731 7 0 text " + std::to_string(connected.Handle()) + " 513 \"ON AIR\""));
  EXPECT_TRUE(Logged("> 2722 20 0 text " + std::to_string(driver.hwnd) + " 513 \"7,ON AIR\""));
  EXPECT_TRUE(Logged("> 2984 1 0 text " + std::to_string(driver.hwnd) + " 513 \"ON AIR\""));
}

TEST_F(InfodriverTest, TheModeAnswerAndItsChange) {
  platform::testing::Peer& driver = StartDriver({"--device", "20", "--mode", "2"});
  EXPECT_EQ(platform::Send(driver.hwnd, platform::Message::Plain(KAL_IDGETTXRXMODE)), 2);
  EXPECT_EQ(Do({"--device", "20", "do", "mode", "1"}), (std::pair<int, std::string>{0, "ok\n"}));
  EXPECT_EQ(platform::Send(driver.hwnd, platform::Message::Plain(KAL_IDGETTXRXMODE)), 1);

  // Refusals and mistakes.
  EXPECT_EQ(Do({"--device", "20", "do", "mode", "3"}).first, 1);
  EXPECT_EQ(Do({"--device", "20", "do", "slot", "0", "x"}),
            (std::pair<int, std::string>{1, "error: slot index outside 1 to 4096\n"}));
  const auto [status, output] = Do({"--device", "30", "do", "show"});
  EXPECT_EQ(status, 1);
  EXPECT_NE(output.find("no infodriver of device 30"), std::string::npos) << output;
  EXPECT_EQ(Do({"--device", "1000"}).first, 2);
  EXPECT_EQ(Do({"--slots", "5"}).first, 2);
}

TEST_F(InfodriverTest, CommandsFromAPipeAndTheEndOfInputLeaveItRunning) {
  const std::string fifo = logs_ + "/input";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  platform::testing::Peer& driver =
      Start({"-c", "exec \"$0\" --device 20 < \"$1\"", INFODRIVER_PATH, fifo}, "/bin/sh");
  // Opening the pipe waits for the driver's side to open it.
  const int input = open(fifo.c_str(), O_WRONLY);
  ASSERT_GE(input, 0);
  ASSERT_NE(AwaitHandle(driver), platform::kNoWindow) << ErrorOutput(driver);
  const std::string commands = "slot 2 FROM PIPE\nbogus\n";
  ASSERT_EQ(write(input, commands.data(), commands.size()), static_cast<ssize_t>(commands.size()));
  close(input);
  EXPECT_TRUE(WaitUntil([&] {
    ReadOutput(driver);
    return driver.outputText.find("error: unknown command 'bogus'") != std::string::npos;
  }));
  EXPECT_NE(driver.outputText.find("\nok\n"), std::string::npos);

  TestPanel& panel = AddPanel();
  int32_t result = 0;
  EXPECT_EQ(Read(panel, driver.hwnd, 2, &result), "FROM PIPE");
  EXPECT_EQ(platform::Send(driver.hwnd, platform::Message::Plain(KAL_IDGETTXRXMODE)), 1);
  EXPECT_FALSE(waitpid(driver.pid, &driver.status, WNOHANG) == driver.pid);
}

TEST_F(InfodriverTest, EndsCleanlyOnCloseAndOnSignals) {
  platform::testing::Peer& closed = StartDriver({"--device", "20"});
  platform::Send(closed.hwnd, platform::Message::Plain(platform::WM_CLOSE));
  platform::testing::Peer& terminated = StartDriver({"--device", "21"});
  kill(terminated.pid, SIGTERM);
  platform::testing::Peer& interrupted = StartDriver({"--device", "22"});
  kill(interrupted.pid, SIGINT);
  for (platform::testing::Peer* driver : {&closed, &terminated, &interrupted}) {
    ASSERT_TRUE(AwaitExit(*driver));
    EXPECT_TRUE(WIFEXITED(driver->status) && WEXITSTATUS(driver->status) == 0);
  }
  EXPECT_FALSE(platform::IsWindow(closed.hwnd));
}

}  // namespace
}  // namespace velcrum
