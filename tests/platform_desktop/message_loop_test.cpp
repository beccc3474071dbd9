// The message loop of one process: posted messages, timers, message boxes.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <memory>
#include <thread>
#include <vector>

#include "desktop_fixture.h"
#include "peer_protocol.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/message_box.h"
#include "platform/desktop/window.h"

namespace velcrum::platform::testing {
namespace {

constexpr uint32_t kWork = WM_USER + 200;

// Keeps the thread busy without sleeping, so that timers fall due meanwhile.
void Spin(int microseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.nsecsElapsed() < microseconds * 1000LL) {
  }
}

// A window that records what it receives, in order, with the time.
class RecordingWindow {
 public:
  explicit RecordingWindow(Window::Kind kind = Window::Kind::kTopLevel)
      : window_(Window::Create(kind, "recorder")) {
    clock_.start();
    window_->SetProc([this](const Message& m) -> Result {
      received.push_back(m);
      when.push_back(clock_.nsecsElapsed() / 1000);
      if (onMessage) onMessage(m);
      return 0;
    });
  }
  Window& operator*() { return *window_; }
  Window* operator->() { return window_.get(); }
  size_t Count(uint32_t message, uint32_t wParam = 0xFFFFFFFF) const {
    size_t count = 0;
    for (const Message& m : received) {
      count += m.message == message && (wParam == 0xFFFFFFFF || m.wParam == wParam);
    }
    return count;
  }

  std::vector<Message> received;
  std::vector<int64_t> when;  // microseconds since creation
  std::function<void(const Message&)> onMessage;

 private:
  std::unique_ptr<Window> window_;
  QElapsedTimer clock_;
};

class MessageLoopTest : public DesktopTest {};

TEST_F(MessageLoopTest, PostedMessagesArriveInOrderAlsoFromOtherThreads) {
  RecordingWindow window(Window::Kind::kMessageOnly);
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(Post(window->Handle(), Message::Plain(kWork, 0, i)));
  std::thread worker([&] {
    for (int i = 0; i < 1000; ++i) Post(window->Handle(), Message::Plain(kWork, 1, i));
  });
  worker.join();
  EXPECT_TRUE(window.received.empty());  // nothing is handled until the loop runs
  ASSERT_TRUE(WaitUntil([&] { return window.received.size() == 1100; }));
  int32_t next[2] = {0, 0};
  for (const Message& m : window.received) EXPECT_EQ(m.lParam, next[m.wParam]++);
}

TEST_F(MessageLoopTest, AnotherThreadReachesOtherProcessesThroughTheLoop) {
  RecordingWindow window;
  const Peer& peer = StartPeer({"--title", "before"});
  std::thread worker([&] {
    Post(peer.hwnd, Message::Text(kPeerSetTitle, 0, "set by a worker"));
    Post(kBroadcast, Message::Plain(kWork, 0, 7));
  });
  worker.join();
  EXPECT_TRUE(WaitUntil([&] { return FindWindow("set by a worker") == peer.hwnd; }));
  EXPECT_TRUE(WaitUntil([&] { return window.Count(kWork) == 1; }));
}

TEST_F(MessageLoopTest, ATimerTicksUntilKilledAndSettingItAgainReplacesIt) {
  RecordingWindow window;
  ASSERT_TRUE(window->SetTimer(1, 100000));
  ASSERT_TRUE(window->SetTimer(1, 5));  // replaces the 100-second timer
  ASSERT_TRUE(WaitUntil([&] { return window.Count(WM_TIMER, 1) >= 3; }, 5000));
  EXPECT_EQ(window.received.back().lParam, 0);
  EXPECT_TRUE(window->KillTimer(1));
  EXPECT_FALSE(window->KillTimer(1));
  const size_t ticks = window.Count(WM_TIMER, 1);
  ASSERT_TRUE(window->SetTimer(2, 5));
  ASSERT_TRUE(WaitUntil([&] { return window.Count(WM_TIMER, 2) >= 5; }, 5000));
  EXPECT_EQ(window.Count(WM_TIMER, 1), ticks);
}

TEST_F(MessageLoopTest, TimersWaitUntilNoPostedMessageIsLeft) {
  RecordingWindow window;
  ASSERT_TRUE(window->SetTimer(1, 1));
  window.onMessage = [](const Message& m) {
    if (m.message == kWork) Spin(300);
  };
  constexpr int kPosts = 100;  // 30 ms of work with a 1 ms timer
  for (int i = 0; i < kPosts; ++i) Post(window->Handle(), Message::Plain(kWork, 0, i));
  ASSERT_TRUE(WaitUntil([&] { return window.Count(kWork) == kPosts && window.Count(WM_TIMER); }));
  size_t first = 0;
  while (window.received[first].message != kWork) ++first;
  for (int i = 0; i < kPosts; ++i) {
    ASSERT_EQ(window.received[first + i].message, kWork) << "a tick came between posts at " << i;
  }
}

TEST_F(MessageLoopTest, TicksThatCannotBeDeliveredAreLostNotQueued) {
  RecordingWindow window;
  ASSERT_TRUE(window->SetTimer(1, 10));
  window.onMessage = [](const Message& m) {
    if (m.message == kWork) Spin(80000);  // eight periods
  };
  Post(window->Handle(), Message::Plain(kWork));
  ASSERT_TRUE(WaitUntil([&] { return window.Count(WM_TIMER) >= 2 && window.Count(kWork); }));
  // After the work, one tick comes at once, and the next only a good part of a period later.
  size_t at = 0;
  while (window.received[at].message != kWork) ++at;
  std::vector<int64_t> ticks;
  for (size_t i = at; i < window.received.size(); ++i) {
    if (window.received[i].message == WM_TIMER) ticks.push_back(window.when[i]);
  }
  ASSERT_GE(ticks.size(), 2u);
  EXPECT_GE(ticks[1] - ticks[0], 5000);
}

TEST_F(MessageLoopTest, AKilledTimerLosesATickThatWasWaitingForThePostedQueue) {
  RecordingWindow window;
  ASSERT_TRUE(window->SetTimer(1, 1));
  window.onMessage = [&](const Message& m) {
    if (m.message != kWork) return;
    if (m.lParam < 2) Spin(3000);
    if (m.lParam == 2) window->KillTimer(1);
  };
  for (int i = 0; i < 3; ++i) Post(window->Handle(), Message::Plain(kWork, 0, i));
  ASSERT_TRUE(window->SetTimer(2, 2));
  ASSERT_TRUE(WaitUntil([&] { return window.Count(WM_TIMER, 2) >= 3; }));
  EXPECT_EQ(window.Count(WM_TIMER, 1), 0u);
}

TEST_F(MessageLoopTest, PostQuitEndsTheLoopAfterThePostedMessages) {
  RecordingWindow window;
  Post(window->Handle(), Message::Plain(kWork, 0, 1));
  PostQuit(5);
  Post(window->Handle(), Message::Plain(kWork, 0, 2));
  EXPECT_EQ(RunMessageLoop(), 5);
  EXPECT_EQ(window.Count(kWork), 2u);
}

TEST_F(MessageLoopTest, HeadlessMessageBoxesAnswerAtOnceAndSayWhatTheyShowed) {
  const struct {
    const char* setting;
    BoxButtons buttons;
    BoxAnswer expected;
  } cases[] = {
      {"ok", BoxButtons::kOk, BoxAnswer::kOk},
      {"cancel", BoxButtons::kOkCancel, BoxAnswer::kCancel},
      {"cancel", BoxButtons::kOk, BoxAnswer::kOk},
      {"yes", BoxButtons::kYesNo, BoxAnswer::kYes},
      {"no", BoxButtons::kYesNoCancel, BoxAnswer::kNo},
      {"YES", BoxButtons::kOkCancel, BoxAnswer::kOk},
      {"no", BoxButtons::kOkCancel, BoxAnswer::kCancel},
      {"cancel", BoxButtons::kYesNo, BoxAnswer::kNo},
      {"ok", BoxButtons::kYesNo, BoxAnswer::kYes},
      {"whatever", BoxButtons::kYesNoCancel, BoxAnswer::kYes},
  };
  for (const auto& c : cases) {
    setenv("VELCRUM_MESSAGEBOX", c.setting, 1);
    ::testing::internal::CaptureStderr();
    const BoxAnswer answer = MessageBox(kNoWindow, "! Error !", "line one\nline two", {c.buttons});
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, c.expected) << c.setting;
    EXPECT_EQ(said, "MESSAGEBOX ! Error !: line one\\nline two\n");
  }
  unsetenv("VELCRUM_MESSAGEBOX");
}

TEST_F(MessageLoopTest, WhileABoxIsOpenPostsTimersAndSendsGoOn) {
  unsetenv("VELCRUM_MESSAGEBOX");
  const Peer& peer = StartPeer();
  RecordingWindow window;
  bool boxOpen = false;
  int handledInBox = 0;
  window.onMessage = [&](const Message& m) {
    if (!boxOpen) return;
    if (m.message == kWork || m.message == kTestPong || m.message == WM_TIMER) ++handledInBox;
    // Once all three kinds have come, press the box's button.
    if (window.Count(kWork) && window.Count(kTestPong) && window.Count(WM_TIMER)) {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
          box->button(QMessageBox::Cancel)->click();
        }
      }
    }
  };
  Post(window->Handle(), Message::Plain(kWork));
  window->SetTimer(1, 20);
  // The peer sends to us while the box is open.
  Post(peer.hwnd, Message::Plain(kPeerSendTo, window->Handle(), static_cast<int32_t>(kTestPong)));

  boxOpen = true;
  const BoxAnswer answer =
      MessageBox(window->Handle(), "Information", "waiting", {BoxButtons::kOkCancel});
  boxOpen = false;
  EXPECT_EQ(answer, BoxAnswer::kCancel);
  EXPECT_GE(handledInBox, 3);
}

}  // namespace
}  // namespace velcrum::platform::testing
