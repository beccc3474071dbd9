// The desktop bus across processes: finding windows, sends, nested sends.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

#include "desktop_fixture.h"
#include "peer_protocol.h"
#include "platform/desktop/bus_frame.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_directory.h"
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

TEST_F(DesktopBusTest, ProcessesStartingTogetherNeverShareAHandle) {
  constexpr int kPeers = 20;
  std::vector<Peer*> started;
  for (int i = 0; i < kPeers; ++i) {
    std::string title = "p";
    title += std::to_string(i);
    started.push_back(&Start({"--title", title}));
  }
  std::set<Hwnd> handles;
  for (Peer* peer : started) {
    ASSERT_NE(AwaitHandle(*peer), kNoWindow) << ErrorOutput(*peer);
    EXPECT_LE(peer->hwnd, kHighestHandle);
    handles.insert(peer->hwnd);
  }
  EXPECT_EQ(handles.size(), static_cast<size_t>(kPeers));
  const std::vector<WindowInfo> windows = TopLevelWindows();
  EXPECT_EQ(windows.size(), static_cast<size_t>(kPeers));
  for (const WindowInfo& window : windows) EXPECT_EQ(handles.count(window.hwnd), 1u);
}

TEST_F(DesktopBusTest, EnumerationFollowsCreationOrderAcrossProcesses) {
  const Hwnd first = StartPeer({"--title", "first"}).hwnd;
  std::unique_ptr<Window> local = Window::Create(Window::Kind::kTopLevel, "local");
  std::unique_ptr<Window> messageOnly = Window::Create(Window::Kind::kMessageOnly, "hidden");
  const Hwnd second = StartPeer({"--title", "second"}).hwnd;
  const Hwnd third = StartPeer({"--title", "third"}).hwnd;

  std::vector<Hwnd> bottomUp;
  for (const WindowInfo& w : TopLevelWindows(ZOrder::kBottomFirst)) bottomUp.push_back(w.hwnd);
  EXPECT_EQ(bottomUp, (std::vector<Hwnd>{first, local->Handle(), second, third}));
  std::vector<Hwnd> topDown;
  for (const WindowInfo& w : TopLevelWindows(ZOrder::kTopFirst)) topDown.push_back(w.hwnd);
  EXPECT_EQ(topDown, (std::vector<Hwnd>{third, second, local->Handle(), first}));
  EXPECT_EQ(AllWindows().size(), 5u);
}

TEST_F(DesktopBusTest, BroadcastReachesEveryTopLevelWindowAndTakesTheirAnswersMeanwhile) {
  std::unique_ptr<Window> window = Window::Create(Window::Kind::kTopLevel, "discovery");
  std::vector<Message> answers;
  int announcementsSeen = 0;
  window->SetProc([&](const Message& m) -> Result {
    if (m.message == kTestAnswer) answers.push_back(m);
    if (m.message == kPeerAnnounce) ++announcementsSeen;
    return 0;
  });
  std::set<Hwnd> peers;
  for (int i = 0; i < 3; ++i) peers.insert(StartPeer().hwnd);
  StartPeer({"--message-only"});  // not reached by broadcasts

  EXPECT_EQ(Send(kBroadcast, Message::Plain(kPeerAnnounce, window->Handle(), 5)), 0);
  // Every answer came while the broadcast was in progress.
  EXPECT_EQ(announcementsSeen, 1);  // our own top-level window is on the desktop too
  ASSERT_EQ(answers.size(), 3u);
  std::set<Hwnd> answered;
  for (const Message& m : answers) {
    answered.insert(m.wParam);
    EXPECT_EQ(m.lParam, 5);
  }
  EXPECT_EQ(answered, peers);
}

TEST_F(DesktopBusTest, WhileASendWaitsOnlySentMessagesAreDispatched) {
  std::unique_ptr<Window> window = Window::Create(Window::Kind::kTopLevel, "waiting");
  bool postedHandled = false;
  bool postedBeforePong = true;
  window->SetProc([&](const Message& m) -> Result {
    if (m.message == kTestPosted) postedHandled = true;
    if (m.message == kTestPong) postedBeforePong = postedHandled;
    return 7;
  });
  const Peer& peer = StartPeer();

  // The peer posts to us, then sends to us, while we wait for it.
  EXPECT_EQ(Send(peer.hwnd, Message::Plain(kPeerPostThenSend, window->Handle())), 7);
  EXPECT_FALSE(postedBeforePong);
  EXPECT_FALSE(postedHandled);
  EXPECT_TRUE(WaitUntil([&] { return postedHandled; }));
}

TEST_F(DesktopBusTest, PostsFromAnotherProcessArriveInOrder) {
  std::unique_ptr<Window> window = Window::Create(Window::Kind::kMessageOnly);
  std::vector<int32_t> sequence;
  window->SetProc([&](const Message& m) -> Result {
    if (m.message == kTestSequence) sequence.push_back(m.lParam);
    return 0;
  });
  const Peer& peer = StartPeer();
  constexpr int kCount = 3000;  // more than a socket buffer holds at once
  ASSERT_EQ(Send(peer.hwnd, Message::Plain(kPeerPostBurst, window->Handle(), kCount)), kCount);
  ASSERT_TRUE(WaitUntil([&] { return sequence.size() == kCount; })) << sequence.size();
  for (int i = 0; i < kCount; ++i) ASSERT_EQ(sequence[i], i);
}

TEST_F(DesktopBusTest, APeerThatDiesDuringASendEndsTheSendAndLeavesTheDesktop) {
  Peer& peer = StartPeer({"--title", "mortal"});
  EXPECT_EQ(Send(peer.hwnd, Message::Plain(kPeerDie)), std::nullopt);
  ASSERT_TRUE(AwaitExit(peer));
  EXPECT_EQ(WEXITSTATUS(peer.status), 7);
  EXPECT_EQ(FindWindow("mortal"), kNoWindow);
  EXPECT_FALSE(IsWindow(peer.hwnd));
  EXPECT_EQ(Send(peer.hwnd, Message::Plain(kPeerEcho)), std::nullopt);
}

TEST_F(DesktopBusTest, ATitleChangeIsSeenByOtherProcesses) {
  const Peer& peer = StartPeer({"--title", "Before"});
  EXPECT_EQ(Send(peer.hwnd, Message::Text(kPeerSetTitle, 0, "After Title")), 1);
  EXPECT_EQ(FindWindow("AFTER TITLE"), peer.hwnd);
  EXPECT_EQ(FindWindow("Before"), kNoWindow);
  EXPECT_EQ(WindowTitle(peer.hwnd), "After Title");
}

// Connects to a process's bus socket as a stranger would.
int ConnectRaw(const std::string& dir, pid_t pid) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = BusSocketPath(dir, pid);
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

size_t Occurrences(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++count;
  return count;
}

TEST_F(DesktopBusTest, MalformedFramesAreDroppedAndTheReceiverGoesOn) {
  const Peer& peer = StartPeer({"--title", "receiver"});
  Frame post;
  post.kind = FrameKind::kPost;
  post.target = peer.hwnd;
  post.message = Message::Text(kPeerSetTitle, 0, "still listening");
  const std::string valid = EncodeFrame(post);
  Frame copyData = post;
  copyData.message = Message::CopyData(0, 1, std::string(513, 'x'));
  const std::string cut = EncodeFrame(copyData).substr(0, 100);  // 60 of 513 bytes
  std::string hugeLength = valid;
  hugeLength[38] = 2;  // the header announces 128 KiB
  const struct {
    const char* name;
    std::string bytes;
    const char* said;
  } cases[] = {
      {"a few bytes, then the end", "short", "dropped a truncated frame of 5 bytes"},
      {"a header announcing more than comes", cut, "dropped a truncated frame of 100 bytes"},
      {"no frame header at all", std::string(kFrameHeaderBytes, 'Z'), "not a desktop-bus frame"},
      {"a payload over the limit", hugeLength, "payload longer than allowed"},
  };
  for (const auto& c : cases) {
    const int fd = ConnectRaw(dir_, peer.pid);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(send(fd, c.bytes.data(), c.bytes.size(), 0), static_cast<ssize_t>(c.bytes.size()));
    close(fd);
    // The receiver goes on answering, and has said what it dropped.
    EXPECT_EQ(Send(peer.hwnd, Message::Plain(kPeerEcho, 2, 3)), 5) << c.name;
    EXPECT_TRUE(WaitUntil([&] { return ErrorOutput(peer).find(c.said) != std::string::npos; }))
        << c.name << ": " << ErrorOutput(peer);
  }

  // A frame with a sound header but wrong contents is dropped alone; the next one counts.
  Frame noTarget = post;
  noTarget.target = kNoWindow;
  const std::string both = EncodeFrame(noTarget) + valid;
  const int fd = ConnectRaw(dir_, peer.pid);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(send(fd, both.data(), both.size(), 0), static_cast<ssize_t>(both.size()));
  EXPECT_TRUE(WaitUntil([&] { return FindWindow("still listening") == peer.hwnd; }));
  close(fd);
  EXPECT_EQ(Occurrences(ErrorOutput(peer), "no valid target window"), 1u);
  EXPECT_EQ(Occurrences(ErrorOutput(peer), "desktop bus: dropped"), std::size(cases) + 1);
}

// The replies that come back on a raw connection, read until `count` are there.
std::vector<Frame> ReadReplies(int fd, size_t count) {
  std::vector<Frame> replies;
  std::string input;
  char buffer[4096];
  while (replies.size() < count) {
    pollfd readable{fd, POLLIN, 0};
    if (poll(&readable, 1, 10000) != 1) break;
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    input.append(buffer, static_cast<size_t>(n));
    while (input.size() >= kFrameHeaderBytes) {
      const std::optional<size_t> size = FrameSize(input, nullptr);
      if (!size || input.size() < *size) break;
      if (std::optional<Frame> frame =
              DecodeFrame(std::string_view(input).substr(0, *size), nullptr)) {
        replies.push_back(std::move(*frame));
      }
      input.erase(0, *size);
    }
  }
  return replies;
}

TEST_F(DesktopBusTest, FramesArrivingInPiecesOrLargerThanOneReadAreReassembled) {
  const Peer& peer = StartPeer();
  auto call = [&](uint32_t callId, int32_t lParam, size_t payloadBytes) {
    Frame frame;
    frame.kind = FrameKind::kSend;
    frame.callId = callId;
    frame.target = peer.hwnd;
    frame.message = Message::Plain(kPeerEcho, 1, lParam);
    if (payloadBytes) {
      frame.message.payload = Payload::kCopyData;
      frame.message.data.assign(payloadBytes, 'p');
    }
    return EncodeFrame(frame);
  };
  // The largest frame (more than one read's worth) written in pieces: a header cut short,
  // then most of it, then its end in the same write as a small frame and the start of a
  // third, whose rest comes last.
  const std::string large = call(7, 10, kMaxPayloadBytes);
  const std::string small = call(8, 20, 0);
  const std::string text = call(9, 30, 513);
  const std::string pieces[] = {
      large.substr(0, 11),
      large.substr(11, 40000),
      large.substr(40011) + small + text.substr(0, 60),
      text.substr(60),
  };
  const int fd = ConnectRaw(dir_, peer.pid);
  ASSERT_GE(fd, 0);
  for (const std::string& piece : pieces) {
    for (size_t sent = 0; sent < piece.size();) {
      const ssize_t n = send(fd, piece.data() + sent, piece.size() - sent, 0);
      ASSERT_GT(n, 0);
      sent += static_cast<size_t>(n);
    }
    usleep(20000);  // let the receiver read what is there so far
  }
  const std::vector<Frame> replies = ReadReplies(fd, 3);
  close(fd);
  ASSERT_EQ(replies.size(), 3u) << ErrorOutput(peer);
  const std::pair<uint32_t, int32_t> expected[] = {{7, 11}, {8, 21}, {9, 31}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(replies[i].kind, FrameKind::kReply);
    EXPECT_EQ(replies[i].callId, expected[i].first);
    EXPECT_EQ(replies[i].status, ReplyStatus::kAnswered);
    EXPECT_EQ(replies[i].message.lParam, expected[i].second);
  }
  EXPECT_EQ(ErrorOutput(peer).find("desktop bus: dropped"), std::string::npos);
}

TEST_F(DesktopBusTest, APeerOfAnotherUserIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to run a process as another user";
  std::unique_ptr<Window> window = Window::Create(Window::Kind::kTopLevel, "guarded");
  int calls = 0;
  window->SetProc([&](const Message&) -> Result {
    ++calls;
    return 1;
  });
  // Let the stranger reach the socket at all; the credentials check is what must stop it.
  ASSERT_EQ(chmod(dir_.c_str(), 0711), 0);
  ASSERT_EQ(chmod(BusSocketPath(dir_, getpid()).c_str(), 0666), 0);
  Frame frame;
  frame.kind = FrameKind::kSend;
  frame.callId = 1;
  frame.target = window->Handle();
  frame.message = Message::Plain(WM_USER);
  const std::string packet = EncodeFrame(frame);
  const std::string dir = dir_;

  Peer& stranger = peers_.emplace_back();
  stranger.pid = fork();
  if (stranger.pid == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    const int fd = ConnectRaw(dir, getppid());
    if (fd < 0) _exit(2);
    send(fd, packet.data(), packet.size(), MSG_NOSIGNAL);
    char reply[64];
    // The connection is closed (or reset) without an answer.
    _exit(recv(fd, reply, sizeof reply, 0) <= 0 ? 0 : 1);
  }
  ASSERT_TRUE(AwaitExit(stranger));
  chmod(dir_.c_str(), 0700);
  EXPECT_TRUE(WIFEXITED(stranger.status));
  EXPECT_EQ(WEXITSTATUS(stranger.status), 0);
  EXPECT_EQ(calls, 0);
}

// The test process's own standard error (where its debug lines go) in a file, while alive.
class CapturedErrors {
 public:
  explicit CapturedErrors(std::string path) : path_(std::move(path)) {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    dup2(fd, STDERR_FILENO);
    close(fd);
  }
  ~CapturedErrors() {
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  std::string Text() const {
    std::ifstream file(path_);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

 private:
  std::string path_;
  int saved_ = -1;
};

// Sends bounded by short times, so that waiting for a hung window is quick.
class BusBoundsTest : public DesktopBusTest {
 protected:
  void TearDown() override {
    SetSendBounds(SendBounds{});
    DesktopBusTest::TearDown();
  }

  // Milliseconds a call takes.
  template <typename F>
  static qint64 Timed(F&& call) {
    QElapsedTimer clock;
    clock.start();
    call();
    return clock.elapsed();
  }
};

TEST_F(BusBoundsTest, ASlowPeerThatAnswersWithinTheBoundGetsItsAnswerThrough) {
  SetSendBounds({2000, 100});
  const Peer& peer = StartPeer();
  EXPECT_EQ(Send(peer.hwnd, Message::Plain(kPeerBusy, kNoWindow, 400)), 400);
  EXPECT_EQ(Send(peer.hwnd, Message::Plain(kPeerEcho, 2, 3)), 5);
}

// The two ways a window stops answering: its process is busy in a procedure (a script in
// a loop) or stopped (SIGSTOP).
enum class Hang { kBusy, kStopped };

TEST_F(BusBoundsTest, ASendToAWindowThatDoesNotAnswerGivesUpAfterTheBound) {
  for (const Hang hang : {Hang::kBusy, Hang::kStopped}) {
    SCOPED_TRACE(hang == Hang::kBusy ? "busy" : "stopped");
    SetSendBounds({400, 100});
    std::unique_ptr<Window> window = Window::Create(Window::Kind::kTopLevel, "sender");
    bool busy = false;
    window->SetProc([&](const Message& m) -> Result {
      if (m.message == kTestAnswer) busy = true;
      return 0;
    });
    Peer& peer = StartPeer();
    if (hang == Hang::kBusy) {
      ASSERT_TRUE(Post(peer.hwnd, Message::Plain(kPeerBusy, window->Handle(), 1500)));
      ASSERT_TRUE(WaitUntil([&] { return busy; }));
    } else {
      kill(peer.pid, SIGSTOP);
    }

    const CapturedErrors errors(logs_ + "/own.err");
    std::optional<Result> answer = 0;
    const qint64 waited = Timed([&] { answer = Send(peer.hwnd, Message::Plain(kPeerEcho, 2, 3)); });
    EXPECT_EQ(answer, std::nullopt);
    EXPECT_GE(waited, 390);
    EXPECT_LT(waited, 3000);
    char hwnd[8];
    std::snprintf(hwnd, sizeof hwnd, "%04x", peer.hwnd);
    EXPECT_NE(errors.Text().find("desktop bus: no answer from process " + std::to_string(peer.pid) +
                                 " within 400 ms, gave up: " + hwnd),
              std::string::npos)
        << errors.Text();

    // Taken as hung: the next send gives up at once, until the peer is heard from again.
    EXPECT_LT(Timed([&] { answer = Send(peer.hwnd, Message::Plain(kPeerEcho, 2, 3)); }), 300);
    EXPECT_EQ(answer, std::nullopt);
    EXPECT_NE(errors.Text().find("is not responding, not sent: " + std::string(hwnd)),
              std::string::npos)
        << errors.Text();
    if (hang == Hang::kStopped) kill(peer.pid, SIGCONT);
    EXPECT_TRUE(WaitUntil([&] { return Send(peer.hwnd, Message::Plain(kPeerEcho, 2, 3)) == 5; }));
    EXPECT_NE(errors.Text().find("answered a send after it was given up"), std::string::npos);
  }
}

TEST_F(BusBoundsTest, ABroadcastPassesOverWindowsThatDoNotAnswerAndGoesOn) {
  SetSendBounds({5000, 300});
  std::unique_ptr<Window> window = Window::Create(Window::Kind::kTopLevel, "discovery");
  std::vector<Hwnd> answers;
  bool busy = false;
  window->SetProc([&](const Message& m) -> Result {
    if (m.message == kTestAnswer && m.lParam == 0) busy = true;
    if (m.message == kTestAnswer && m.lParam == 5) answers.push_back(m.wParam);
    return 0;
  });
  // The one that answers is at the bottom of the z-order, so it is reached last.
  const Hwnd answering = StartPeer({"--title", "answering"}).hwnd;
  const Peer& stopped = StartPeer({"--title", "stopped"});
  const Peer& looping = StartPeer({"--title", "looping"});
  ASSERT_TRUE(Post(looping.hwnd, Message::Plain(kPeerBusy, window->Handle(), 5000)));
  ASSERT_TRUE(WaitUntil([&] { return busy; }));
  kill(stopped.pid, SIGSTOP);

  const qint64 waited =
      Timed([&] { Send(kBroadcast, Message::Plain(kPeerAnnounce, window->Handle(), 5)); });
  EXPECT_GE(waited, 590);  // both given up, one after the other
  EXPECT_LT(waited, 3000);
  EXPECT_EQ(answers, std::vector<Hwnd>{answering});
}

TEST_F(BusBoundsTest, APeerThatSendsWithoutReadingTheAnswersIsDisconnected) {
  const Peer& peer = StartPeer();
  const int fd = ConnectRaw(dir_, peer.pid);
  ASSERT_GE(fd, 0);
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  Frame call;
  call.kind = FrameKind::kSend;
  call.target = peer.hwnd;
  call.message = Message::Plain(kPeerEcho, 1, 1);
  std::string burst;
  for (uint32_t i = 1; i <= 1000; ++i) {
    call.callId = i;
    burst += EncodeFrame(call);
  }
  // Calls without end, never reading an answer, until the receiver hangs up (bounded: far
  // more calls than the receiver may hold answers for).
  bool closed = false;
  QElapsedTimer clock;
  clock.start();
  for (size_t sent = 0; !closed && sent < 200 * burst.size() && clock.elapsed() < 30000;) {
    const ssize_t n = send(fd, burst.data() + sent % burst.size(),
                           burst.size() - sent % burst.size(), MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
    } else if (errno == EAGAIN) {
      pollfd writable{fd, POLLOUT, 0};
      poll(&writable, 1, 100);
    } else {
      closed = true;
    }
  }
  close(fd);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(WaitUntil([&] {
    return ErrorOutput(peer).find("reads nothing of what is sent to it") != std::string::npos;
  })) << ErrorOutput(peer);
  // The others are still served.
  EXPECT_EQ(Send(peer.hwnd, Message::Plain(kPeerEcho, 2, 3)), 5);
}

// The processor time a process has used, in clock ticks.
long CpuTicks(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long ticks = 0;
  // After the name: state is field 3; utime and stime are fields 14 and 15.
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i >= 14) ticks += std::stol(field);
  }
  return ticks;
}

TEST_F(BusBoundsTest, AcceptingPausesWhileDescriptorsRunOutAndResumesAfterwards) {
  const Peer& peer = StartPeer();
  ASSERT_GT(Send(peer.hwnd, Message::Plain(kPeerUseUpDescriptors)).value_or(0), 0);

  // A newcomer waits in the backlog, with a call already written.
  const int fd = ConnectRaw(dir_, peer.pid);
  ASSERT_GE(fd, 0);
  Frame call;
  call.kind = FrameKind::kSend;
  call.callId = 1;
  call.target = peer.hwnd;
  call.message = Message::Plain(kPeerEcho, 20, 22);
  const std::string packet = EncodeFrame(call);
  ASSERT_EQ(send(fd, packet.data(), packet.size(), MSG_NOSIGNAL),
            static_cast<ssize_t>(packet.size()));

  // The receiver does not spin meanwhile (a spinning one uses the whole interval).
  const long before = CpuTicks(peer.pid);
  usleep(500000);
  const long used = CpuTicks(peer.pid) - before;
  EXPECT_LT(used, sysconf(_SC_CLK_TCK) / 10) << used << " ticks in half a second";
  // It still serves the connections it has, and the newcomer once descriptors are free.
  EXPECT_EQ(Send(peer.hwnd, Message::Plain(kPeerEcho, 2, 3)), 5);
  EXPECT_EQ(Send(peer.hwnd, Message::Plain(kPeerFreeDescriptors)), 1);
  const std::vector<Frame> replies = ReadReplies(fd, 1);
  close(fd);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].message.lParam, 42);
  const std::string said = ErrorOutput(peer);
  EXPECT_EQ(Occurrences(said, "desktop bus: cannot accept connections"), 1u) << said;
  EXPECT_EQ(Occurrences(said, "desktop bus: accepting connections again"), 1u) << said;
}

}  // namespace
}  // namespace velcrum::platform::testing
