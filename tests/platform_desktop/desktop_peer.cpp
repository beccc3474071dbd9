// desktop_peer: a small desktop participant that the platform tests and benchmarks start.
//
// It opens the desktop named by VELCRUM_DESKTOP, creates one window, prints "hwnd XXXX"
// on standard output and answers the messages of peer_protocol.h until told to quit. It
// dies with the process that started it.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "peer_protocol.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/window.h"

using namespace velcrum::platform;
using namespace velcrum::platform::testing;

namespace {

// The descriptors kPeerUseUpDescriptors opened, and the limit it lowered.
std::vector<int> g_spent;
rlimit g_limit{};

// Lowers the soft limit to a little above the descriptors in use (so that few need
// opening), then opens /dev/null until the limit is reached.
int UseUpDescriptors() {
  getrlimit(RLIMIT_NOFILE, &g_limit);
  int highest = 0;
  for (int fd = 0; fd < 4096; ++fd) {
    if (fcntl(fd, F_GETFD) != -1) highest = fd;
  }
  rlimit lowered = g_limit;
  lowered.rlim_cur = static_cast<rlim_t>(highest + 8);
  setrlimit(RLIMIT_NOFILE, &lowered);
  for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) g_spent.push_back(fd);
  return static_cast<int>(g_spent.size());
}

void FreeDescriptors() {
  for (const int fd : g_spent) close(fd);
  g_spent.clear();
  setrlimit(RLIMIT_NOFILE, &g_limit);
}

}  // namespace

int main(int argc, char** argv) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  std::string title = "peer";
  bool messageOnly = false;
  bool widget = false;
  bool exitWhenRegistered = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--title" && i + 1 < argc) {
      title = argv[++i];
    } else if (arg == "--message-only") {
      messageOnly = true;
    } else if (arg == "--widget") {
      widget = true;
    } else if (arg == "--exit-when-registered") {
      exitWhenRegistered = true;
    } else {
      std::fprintf(stderr, "desktop_peer: unknown argument %s\n", arg.c_str());
      return 2;
    }
  }

  std::unique_ptr<QCoreApplication> application;
  if (widget) {
    application = std::make_unique<QApplication>(argc, argv);
  } else {
    application = std::make_unique<QCoreApplication>(argc, argv);
  }
  std::string error;
  if (!OpenDesktop(&error)) {
    std::fprintf(stderr, "desktop_peer: %s\n", error.c_str());
    return 1;
  }
  std::unique_ptr<QWidget> view;
  if (widget) {
    view = std::make_unique<QWidget>();
    view->show();
  }
  std::unique_ptr<Window> window = Window::Create(
      messageOnly ? Window::Kind::kMessageOnly : Window::Kind::kTopLevel, title, view.get());
  if (!window) {
    std::fprintf(stderr, "desktop_peer: no window\n");
    return 1;
  }
  const Hwnd own = window->Handle();
  Window* self = window.get();
  window->SetProc([own, self](const Message& m) -> Result {
    switch (m.message) {
      case kPeerQuit:
        PostQuit(0);
        return 1;
      case kPeerSetTitle:
        return self->SetTitle(m.data) ? 1 : 0;
      case kPeerEcho:
        return static_cast<Result>(m.wParam) + m.lParam;
      case kPeerCallBack: {
        const auto answer = Send(m.wParam, Message::Plain(kTestPong, own, m.lParam));
        return answer ? *answer + 1 : -1;
      }
      case kPeerDie:
        _exit(7);
      case kPeerAnnounce:
        Send(m.wParam, Message::Plain(kTestAnswer, own, m.lParam));
        return 0;
      case kPeerPostThenSend: {
        Post(m.wParam, Message::Plain(kTestPosted, own, 0));
        const auto answer = Send(m.wParam, Message::Plain(kTestPong, own, 0));
        return answer ? *answer : -1;
      }
      case kPeerPostBurst:
        for (int32_t i = 0; i < m.lParam; ++i)
          Post(m.wParam, Message::Plain(kTestSequence, own, i));
        return m.lParam;
      case kPeerSendTo: {
        const auto answer = Send(m.wParam, Message::Plain(static_cast<uint32_t>(m.lParam), own));
        return answer ? *answer : -1;
      }
      case kPeerBusy:
        // Posted: a sender waiting for an answer would take our call in meanwhile.
        if (m.wParam != kNoWindow) Post(m.wParam, Message::Plain(kTestAnswer, own, 0));
        std::this_thread::sleep_for(std::chrono::milliseconds(m.lParam));
        return m.lParam;
      case kPeerUseUpDescriptors:
        return UseUpDescriptors();
      case kPeerFreeDescriptors:
        FreeDescriptors();
        return 1;
      case WM_COPYDATA:
        Send(m.wParam, Message::CopyData(own, kReplyDwData, m.data));
        return 1;
      default:
        return 0;
    }
  });
  std::printf("hwnd %04x\n", own);
  std::fflush(stdout);
  if (exitWhenRegistered) return 0;
  const int code = RunMessageLoop();
  window.reset();
  CloseDesktop();
  return code;
}
