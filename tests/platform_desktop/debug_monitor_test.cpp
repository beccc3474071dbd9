// Debug monitors: the system-debugger output and the messages of a whole desktop.
#include "platform/desktop/debug_monitor.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "desktop_fixture.h"
#include "peer_protocol.h"
#include "platform/desktop/debug_output.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/window.h"

namespace velcrum::platform::testing {
namespace {

class DebugMonitorTest : public DesktopTest {
 protected:
  // Reads records until one of this kind from this process contains the text.
  bool AwaitRecord(DebugMonitor& monitor, pid_t pid, char kind, const std::string& text) {
    return WaitUntil([&] {
      for (MonitorRecord& record : monitor.Read(0)) records_.push_back(std::move(record));
      for (const MonitorRecord& record : records_) {
        if (record.pid == pid && record.kind == kind &&
            record.text.find(text) != std::string::npos) {
          return true;
        }
      }
      return false;
    });
  }
  std::vector<MonitorRecord> records_;
};

TEST_F(DebugMonitorTest, DebugOutputGoesToStandardErrorAndToTheMonitor) {
  DebugMonitor monitor(dir_);
  std::string error;
  ASSERT_TRUE(monitor.Open(&error)) << error;

  // This process was running before the monitor came: it links to the monitor when it
  // handles the announcement, and what it writes from then on reaches the monitor.
  ASSERT_TRUE(WaitUntil([&] {
    OutputDebugString("ping");
    for (MonitorRecord& record : monitor.Read(0)) records_.push_back(std::move(record));
    return !records_.empty();
  }));

  ::testing::internal::CaptureStderr();
  OutputDebugString("<DESK____.001> : Version 3.08.41 - Starting.\n");
  OutputDebugString("second line");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "<DESK____.001> : Version 3.08.41 - Starting.\nsecond line\n");
  EXPECT_TRUE(
      AwaitRecord(monitor, getpid(), kRecordDebug, "<DESK____.001> : Version 3.08.41 - Starting."));
  EXPECT_TRUE(AwaitRecord(monitor, getpid(), kRecordDebug, "second line"));
}

TEST_F(DebugMonitorTest, TheMonitorSeesMessagesSentAndPostedOnTheDesktop) {
  DebugMonitor monitor(dir_);
  std::string error;
  ASSERT_TRUE(monitor.Open(&error)) << error;
  std::unique_ptr<Window> window = Window::Create(Window::Kind::kTopLevel, "spied");
  window->SetProc([](const Message&) -> Result { return 0; });
  // A process that starts after the monitor finds it by itself.
  const Peer& peer = StartPeer();

  ASSERT_EQ(Send(peer.hwnd, Message::Plain(kPeerEcho, 0x12, 3)), 0x15);
  char sent[64];
  std::snprintf(sent, sizeof sent, "%04x message %u wParam=00000012 lParam=00000003", peer.hwnd,
                kPeerEcho);
  EXPECT_TRUE(AwaitRecord(monitor, peer.pid, kRecordSent, sent));
  EXPECT_TRUE(AwaitRecord(monitor, peer.pid, kRecordResult, "= 21"));

  ASSERT_TRUE(Post(window->Handle(), Message::Text(2085, 0, "start param")));
  EXPECT_TRUE(AwaitRecord(monitor, getpid(), kRecordPosted, "text \"start param\""));
  Send(peer.hwnd, Message::CopyData(window->Handle(), 0x0ba80001, std::string("hello\0\0\0", 8)));
  char copyData[128];
  std::snprintf(copyData, sizeof copyData,
                "%04x WM_COPYDATA wParam=%08x lParam=00000000 copydata dwData=0ba80001 cb=8 "
                "\"hello\" from %d",
                peer.hwnd, window->Handle(), getpid());
  EXPECT_TRUE(AwaitRecord(monitor, peer.pid, kRecordSent, copyData));
}

}  // namespace
}  // namespace velcrum::platform::testing
