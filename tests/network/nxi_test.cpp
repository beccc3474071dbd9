// Framed calls and discovery against a real nxi process on a private desktop, read back
// from nxi's log.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "desktop_fixture.h"
#include "interpreter/host.h"
#include "interpreter/settings.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "network/net_link.h"
#include "platform/desktop/window.h"
#include "runtime/process_state.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class NxiTest : public platform::testing::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    ResetProcessState();
    ResetNetLink();
    SetHost(&host_);
    main_ = platform::Window::Create(platform::Window::Kind::kTopLevel, "Velcrum");
    ASSERT_TRUE(main_);
    self_ = main_->Handle();
    main_->SetProc([this](const platform::Message& m) -> platform::Result {
      if (m.message == platform::WM_COPYDATA) {
        VLNetSup_OnCopyData(self_, m.wParam, m);
        return 1;
      }
      if (m.message == KAL_NXI_HANDLE) g_hwndNxi = m.wParam;
      return 0;
    });
  }
  void TearDown() override {
    main_.reset();
    ResetProcessState();
    ResetNetLink();
    SetHost(nullptr);
    g_settings = InterpreterSettings{};
    platform::SetSendBounds({});
    DesktopTest::TearDown();
  }

  platform::testing::Peer& StartNxi(std::vector<std::string> arguments = {}) {
    logPath_ = logs_ + "/nxi" + std::to_string(peers_.size()) + ".log";
    arguments.insert(arguments.begin(), {"--log", logPath_});
    platform::testing::Peer& nxi = Start(arguments, NXI_PATH);
    EXPECT_NE(AwaitHandle(nxi), platform::kNoWindow) << ErrorOutput(nxi);
    return nxi;
  }

  std::vector<std::string> Log() const {
    std::ifstream file(logPath_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }
  // The line of the last message nxi received (lines of what it sent begin with "> ").
  std::string LastLog() const {
    const std::vector<std::string> lines = Log();
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
      if (line->rfind("> ", 0) != 0) return *line;
    }
    return "";
  }

  // A reply as if from a peer: sets the link's reply value and text.
  void FakeReply(uint32_t value, const char* text) {
    VLNetSup_OnCopyData(
        self_, 0, platform::Message::CopyData(0, PackFrameData(KAL_REPLY, value), TextFrame(text)));
  }

  testing::RecordingHost host_;  // the debug output
  std::unique_ptr<platform::Window> main_;
  platform::Hwnd self_ = platform::kNoWindow;
  std::string logPath_;
};

TEST_F(NxiTest, NumericCallIsAnsweredWithItsOwnValue) {
  platform::testing::Peer& nxi = StartNxi();
  FakeReply(7, "old");
  EXPECT_EQ(VLNetSup_Send(self_, nxi.hwnd, 2500, 5, -1), 0);
  EXPECT_EQ(VLNetSup_ReplyValue(), 0);
  EXPECT_STREQ(VLNetSup_ReplyText(), "");  // a numeric reply carries no text
  EXPECT_EQ(LastLog(),
            "2500 5 -1 num " + std::to_string(self_) + " 16 66666666666666660000000000000000");
  // The fixed requests are acknowledged; WT's reply is its number's low 16 bits.
  EXPECT_EQ(VLNetSup_Send(self_, nxi.hwnd, 2036, 1, 0), 1);
  EXPECT_EQ(VLNetSup_Send(self_, nxi.hwnd, 2037, 5, 0x00030002), 2);
}

TEST_F(NxiTest, TextCallGetsItsTextBack) {
  platform::testing::Peer& nxi = StartNxi();
  FakeReply(7, "old");
  char buffer[600];
  std::memset(buffer, '#', sizeof buffer);
  std::strcpy(buffer, "PANEL \"1\"");
  EXPECT_EQ(VLNetSup_Send(self_, nxi.hwnd, 2164, 0xABCD, buffer, 513), 0);
  EXPECT_STREQ(buffer, "PANEL \"1\"");
  EXPECT_EQ(std::string(buffer + 10, 503), std::string(503, '\0'));  // rest of 513 zeroed
  EXPECT_EQ(buffer[513], '#');                                       // nothing beyond
  EXPECT_STREQ(VLNetSup_ReplyText(), "PANEL \"1\"");
  // The garbage after the terminator never went out.
  EXPECT_EQ(LastLog(), "2164 43981 0 text " + std::to_string(self_) + " 513 \"PANEL \\\"1\\\"\"");

  // A short copy-back stays terminated within the length given; a length of 0 copies nothing.
  std::memset(buffer, '#', sizeof buffer);
  std::strcpy(buffer, "ROUTER");
  VLNetSup_Send(self_, nxi.hwnd, 2164, 0, buffer, 4);
  EXPECT_EQ(std::string(buffer, 6), std::string("ROU\0ER", 6));
  std::strcpy(buffer, "X");
  VLNetSup_Send(self_, nxi.hwnd, 2191, 0, buffer, 0);
  EXPECT_STREQ(buffer, "X");
  EXPECT_STREQ(VLNetSup_ReplyText(), "X");
}

TEST_F(NxiTest, ACallThatGetsNoReplyGivesZeroAndAnEmptyTextNotThePreviousReply) {
  g_settings.enableOutputDbwin = true;
  platform::SetSendBounds({300, 100});
  platform::testing::Peer& stopped = StartNxi();
  platform::testing::Peer& nxi = StartNxi();
  const platform::Hwnd gone = nxi.hwnd;
  kill(nxi.pid, SIGTERM);
  ASSERT_TRUE(AwaitExit(nxi));
  EXPECT_TRUE(WIFEXITED(nxi.status) && WEXITSTATUS(nxi.status) == 0);
  kill(stopped.pid, SIGSTOP);

  // A window that is gone, no window at all, and one whose process does not answer.
  for (const platform::Hwnd to : {gone, platform::kNoWindow, stopped.hwnd}) {
    SCOPED_TRACE(to);
    host_.debugger.clear();
    FakeReply(7, "previous");
    EXPECT_EQ(VLNetSup_Send(self_, to, 2037, 0, 1), 0);
    EXPECT_EQ(VLNetSup_ReplyValue(), 0);
    FakeReply(7, "previous");
    char buffer[513] = "CAM 2";
    EXPECT_EQ(VLNetSup_Send(self_, to, 2164, 0, buffer, 513), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_STREQ(VLNetSup_ReplyText(), "");
    char window[8];
    std::snprintf(window, sizeof window, "%04x", to);
    const std::string said = std::string("no reply from window ") + window + " to message ";
    ASSERT_EQ(host_.debugger.size(), 2u);
    EXPECT_NE(host_.debugger[0].find(said + "2037: 0 and an empty text"), std::string::npos)
        << host_.debugger[0];
    EXPECT_NE(host_.debugger[1].find(said + "2164: 0 and an empty text"), std::string::npos)
        << host_.debugger[1];
  }
}

TEST_F(NxiTest, DiscoveryIsAnsweredDuringTheBroadcast) {
  platform::testing::Peer& nxi = StartNxi();
  platform::Send(platform::kBroadcast,
                 platform::Message::Plain(KAL_CLIENT_HELLO, self_, kClientHelloDiscover));
  EXPECT_EQ(g_hwndNxi, nxi.hwnd);
  EXPECT_EQ(LastLog(), "2034 " + std::to_string(self_) + " 4 plain 0 0 -");

  // The subscription: the query answers 0, registering is accepted.
  EXPECT_EQ(platform::Send(nxi.hwnd, platform::Message::Plain(KAL_NETMSG_QUERY)), 0);
  EXPECT_EQ(platform::Send(nxi.hwnd, platform::Message::Plain(KAL_NETMSG_REGISTER, self_)), 0);
  EXPECT_EQ(LastLog(), "49225 " + std::to_string(self_) + " 0 plain 0 0 -");

  // The leave-taking hello (framed, value 2) is replied to but announces nothing.
  g_hwndNxi = 0;
  VLNetSup_Send(self_, nxi.hwnd, KAL_CLIENT_HELLO, 0, kClientHelloLeave);
  EXPECT_EQ(g_hwndNxi, 0u);

  platform::Send(nxi.hwnd, platform::Message::Plain(platform::WM_CLOSE));
  ASSERT_TRUE(AwaitExit(nxi));
  EXPECT_TRUE(WIFEXITED(nxi.status) && WEXITSTATUS(nxi.status) == 0);
}

TEST_F(NxiTest, AnNxiNotInClientModeAnswersOnlyTheFind) {
  platform::testing::Peer& nxi = StartNxi({"--find-only"});
  platform::Send(platform::kBroadcast,
                 platform::Message::Plain(KAL_CLIENT_HELLO, self_, kClientHelloDiscover));
  EXPECT_EQ(g_hwndNxi, 0u);
  platform::Send(platform::kBroadcast,
                 platform::Message::Plain(KAL_NXI_FIND, self_, kClientHelloDiscover));
  EXPECT_EQ(g_hwndNxi, nxi.hwnd);
}

}  // namespace
}  // namespace velcrum
