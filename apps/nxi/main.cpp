// nxi: a stand-in for the site's network interface program, NXI.EXE, on a Velcrum desktop.
//
// It does what the runtime relies on NXI for, and nothing more: it answers the discovery
// broadcasts with its window handle, answers the subscription messages, and answers every
// framed call (WM_COPYDATA) with a KAL_REPLY frame before the call returns. It routes
// nothing to devices. With --log it writes one line for every message it receives, so that
// tests and operators can see what a panel sent.

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "nxi_log.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/termination_signals.h"
#include "platform/desktop/window.h"

namespace velcrum::nxi {
namespace {

constexpr char kUsage[] =
    "usage: nxi [--log FILE|-] [--find-only] [--help]\n"
    "\n"
    "A stand-in for NXI, the network interface program, on the Velcrum desktop named by\n"
    "$VELCRUM_DESKTOP (else $XDG_RUNTIME_DIR/velcrum-desktop, else\n"
    "/tmp/velcrum-desktop-$UID). It creates a top-level window titled \"NXI\", prints\n"
    "\"hwnd XXXX\" (its handle, four hex digits) on standard output and runs until its\n"
    "window receives WM_CLOSE or the process receives SIGTERM or SIGINT.\n"
    "\n"
    "It answers:\n"
    "  KAL_CLIENT_HELLO (2034) with lParam 4 and KAL_NXI_FIND (49153): sends\n"
    "      KAL_NXI_HANDLE (2032, wParam = its window) to the window in wParam at once;\n"
    "  KAL_NETMSG_QUERY (49229): 0; KAL_NETMSG_REGISTER (49225) and\n"
    "      KAL_NETMSG_UNREGISTER (49226): accepted, 0;\n"
    "  every framed WM_COPYDATA: a KAL_REPLY (2984) frame to the sender before the call\n"
    "      returns, wParam 0, a numeric frame with the call's own value or a text frame\n"
    "      with the call's own 513 bytes; a KAL_REPLY frame is only logged.\n"
    "\n"
    "options:\n"
    "  --log FILE   write one line per message received to FILE (- for standard\n"
    "               output), flushed at once:\n"
    "                 MSG WPARAM VALUE KIND FROM SIZE DATA\n"
    "               MSG and WPARAM decimal (a frame's from dwData); VALUE decimal, signed:\n"
    "               lParam, a numeric frame's value, 0 for a text frame; KIND plain,\n"
    "               string (lParam is a text), num (16-byte frame) or text (other frame);\n"
    "               FROM the frame's sending window, decimal, else 0; SIZE the bytes\n"
    "               carried; DATA - for plain, the frame's bytes in hex for num, and for\n"
    "               string and text the text up to its first NUL in double quotes with\n"
    "               \\\\, \\\" and \\xHH escapes for bytes outside 0x20 to 0x7e.\n"
    "  --find-only  answer only KAL_NXI_FIND, not KAL_CLIENT_HELLO: an NXI that is not in\n"
    "               client mode.\n"
    "  --help       show this text.\n"
    "\n"
    "Exit status: 0 when ended by WM_CLOSE or a signal; 1 when the desktop, the log or the\n"
    "window cannot be opened; 2 for bad usage.\n";

class Nxi {
 public:
  Nxi(FILE* log, bool findOnly) : log_(log), findOnly_(findOnly) {}

  platform::Result Handle(const platform::Message& m) {
    Log(m);
    switch (m.message) {
      case platform::WM_CLOSE:
        platform::PostQuit(0);
        return 0;
      case platform::WM_COPYDATA:
        OnFrame(m);
        return 1;
      case KAL_CLIENT_HELLO:
        if (!findOnly_ && m.payload == platform::Payload::kNone &&
            m.lParam == kClientHelloDiscover) {
          Announce(m.wParam);
        }
        return 0;
      case KAL_NXI_FIND:
        Announce(m.wParam);
        return 0;
      case KAL_NETMSG_QUERY:
      case KAL_NETMSG_REGISTER:
      case KAL_NETMSG_UNREGISTER:
      default:
        return 0;
    }
  }

  void SetHandle(platform::Hwnd own) { own_ = own; }

 private:
  void Log(const platform::Message& m) {
    if (!log_) return;
    std::fprintf(log_, "%s\n", LogLine(m).c_str());
    std::fflush(log_);
  }

  // The discovery answer, sent while the broadcast is still in progress.
  void Announce(uint32_t client) {
    if (client != platform::kNoWindow) {
      platform::Send(client, platform::Message::Plain(KAL_NXI_HANDLE, own_, 0));
    }
  }

  // Every frame but a reply is answered with a reply frame carrying its own value or bytes.
  void OnFrame(const platform::Message& m) {
    if (FrameMessage(m.dwData) == KAL_REPLY) return;
    const uint32_t reply = PackFrameData(KAL_REPLY, 0);
    std::string bytes;
    if (IsNumericFrame(m.data.size())) {
      bytes = NumericFrame(ReadNumericFrame(m.data));
    } else {
      bytes = m.data;
      bytes.resize(kTextFrameBytes, '\0');
    }
    platform::Send(m.wParam, platform::Message::CopyData(own_, reply, bytes));
  }

  FILE* log_;
  bool findOnly_;
  platform::Hwnd own_ = platform::kNoWindow;
};

[[noreturn]] void Usage(const char* problem) {
  std::fprintf(stderr, "nxi: %s (see --help)\n", problem);
  std::exit(2);
}

int Run(int argc, char** argv) {
  std::string logPath;
  bool findOnly = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--log") {
      if (i + 1 >= argc) Usage("--log needs a file");
      logPath = argv[++i];
    } else if (arg == "--find-only") {
      findOnly = true;
    } else {
      Usage(("unknown argument " + arg).c_str());
    }
  }

  FILE* log = nullptr;
  if (logPath == "-") {
    log = stdout;
  } else if (!logPath.empty()) {
    log = std::fopen(logPath.c_str(), "w");
    if (!log) {
      std::fprintf(stderr, "nxi: cannot write %s: %s\n", logPath.c_str(), std::strerror(errno));
      return 1;
    }
  }

  QCoreApplication application(argc, argv);
  std::string error;
  if (!platform::OpenDesktop(&error)) {
    std::fprintf(stderr, "nxi: %s\n", error.c_str());
    return 1;
  }

  // Signals end the message loop from the loop itself.
  if (!platform::RouteTerminationSignals([] { platform::PostQuit(0); }, &error)) {
    std::fprintf(stderr, "nxi: %s\n", error.c_str());
    return 1;
  }

  Nxi nxi(log, findOnly);
  std::unique_ptr<platform::Window> window =
      platform::Window::Create(platform::Window::Kind::kTopLevel, "NXI");
  if (!window) {
    std::fprintf(stderr, "nxi: no window\n");
    return 1;
  }
  nxi.SetHandle(window->Handle());
  window->SetProc([&nxi](const platform::Message& m) { return nxi.Handle(m); });
  std::printf("hwnd %04x\n", window->Handle());
  std::fflush(stdout);

  const int code = platform::RunMessageLoop();
  window.reset();
  platform::CloseDesktop();
  if (log && log != stdout) std::fclose(log);
  return code;
}

}  // namespace
}  // namespace velcrum::nxi

int main(int argc, char** argv) {
  return velcrum::nxi::Run(argc, argv);
}
