// The desktop bus across processes: finding windows, sends, nested sends.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "desktop_fixture.h"
#include "peer_protocol.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/window.h"

namespace velcrum::platform::testing {
namespace {

class DesktopBusTest : public DesktopTest {};

TEST_F(DesktopBusTest, FindWindowComparesTitlesWithoutCaseAndSeesTopLevelWindowsOnly) {
  const Peer& panel = StartPeer({"--title", "Desk_4__.012"});
  const Peer& hidden = StartPeer({"--title", "hidden", "--message-only"});

  EXPECT_EQ(FindWindow("DESK_4__.012"), panel.hwnd);
  EXPECT_EQ(FindWindow("desk_4__.012"), panel.hwnd);
  EXPECT_EQ(FindWindow("DESK_4__.01"), kNoWindow);
  EXPECT_EQ(FindWindow("hidden"), kNoWindow);
  // A message-only window is still there to be sent to.
  EXPECT_TRUE(IsWindow(hidden.hwnd));
  EXPECT_EQ(Send(hidden.hwnd, Message::Plain(kPeerEcho, 1, 2)), 3);
}

TEST_F(DesktopBusTest, SendReturnsTheAnswerOfAnotherProcessAndNothingForNoWindow) {
  const Peer& peer = StartPeer();
  EXPECT_EQ(Send(peer.hwnd, Message::Plain(kPeerEcho, 40, 2)), 42);
  EXPECT_EQ(Send(peer.hwnd, Message::Plain(kPeerEcho, 0xFFFFFFFF, 0)), -1);

  Hwnd unused = 1;
  while (IsWindow(unused)) ++unused;
  EXPECT_EQ(Send(unused, Message::Plain(kPeerEcho, 1, 1)), std::nullopt);
  EXPECT_FALSE(Post(unused, Message::Plain(kPeerEcho)));
}

TEST_F(DesktopBusTest, APeerMaySendBackWhileTheSenderWaits) {
  std::unique_ptr<Window> window = Window::Create(Window::Kind::kTopLevel, "test");
  ASSERT_TRUE(window);
  std::vector<Message> received;
  window->SetProc([&](const Message& m) -> Result {
    received.push_back(m);
    return m.message == kTestPong ? m.lParam * 2 : 0;
  });
  const Peer& peer = StartPeer();

  // The peer sends kTestPong(21) back to us while we wait; we answer 42, it answers 43.
  EXPECT_EQ(Send(peer.hwnd, Message::Plain(kPeerCallBack, window->Handle(), 21)), 43);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, kTestPong);
  EXPECT_EQ(received[0].wParam, peer.hwnd);
  EXPECT_EQ(received[0].hwnd, window->Handle());
}

}  // namespace
}  // namespace velcrum::platform::testing
