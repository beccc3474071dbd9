// desktop: lists and watches the windows of a Velcrum desktop.
//
// A diagnostic for operators and for us: which top-level windows are registered (handle,
// owning process, title), and, like a window-spy tool, every message sent or posted on the
// desktop and every line of system-debugger output, as they happen. It can also send or
// post one message to a window.
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/debug_monitor.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_directory.h"
#include "platform/desktop/window_registry.h"

namespace velcrum::platform {
namespace {

constexpr char kUsage[] =
    "usage: desktop [--dir DIR] [COMMAND]\n"
    "\n"
    "Lists and watches the windows of a Velcrum desktop: the directory DIR, else\n"
    "$VELCRUM_DESKTOP, else $XDG_RUNTIME_DIR/velcrum-desktop, else\n"
    "/tmp/velcrum-desktop-$UID.\n"
    "\n"
    "commands:\n"
    "  list [--all] [--bottom-up]\n"
    "        (the default) the top-level windows, top of the z-order first, one a line:\n"
    "        handle (four hex digits), owning process, title. --all adds the message-only\n"
    "        windows, marked \"(message-only)\"; --bottom-up lists from the bottom.\n"
    "  watch\n"
    "        prints, until interrupted, every message sent (S), answered (R) or posted (P)\n"
    "        to a window of the desktop and every line of system-debugger output (D), each\n"
    "        after the id of the process it happened in. Timer ticks are not shown.\n"
    "  send HWND MESSAGE [WPARAM [LPARAM [TEXT]]]\n"
    "        sends a message and prints the answer. HWND is hexadecimal as listed; the\n"
    "        numbers are decimal or 0x-hexadecimal; TEXT is carried as a string lParam.\n"
    "  post HWND MESSAGE [WPARAM [LPARAM [TEXT]]]\n"
    "        posts a message.\n"
    "  --help\n"
    "        shows this text.\n"
    "\n"
    "Exit status: 0 on success; 1 when the desktop cannot be opened, or the window to send\n"
    "or post to does not exist; 2 for bad usage.\n";

[[noreturn]] void Usage(const std::string& problem) {
  std::fprintf(stderr, "desktop: %s (see --help)\n", problem.c_str());
  std::exit(2);
}

std::optional<uint32_t> ParseNumber(const char* text, int base) {
  if (!text || !*text) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text, &end, base);
  if (errno || *end || value < -2147483648LL || value > 0xFFFFFFFFLL) return std::nullopt;
  return static_cast<uint32_t>(value);
}

int List(const std::string& dir, bool all, bool bottomUp) {
  std::string error;
  if (access(dir.c_str(), F_OK) != 0) {
    std::fprintf(stderr, "desktop: no desktop at %s\n", dir.c_str());
    return 1;
  }
  WindowRegistry registry(dir);
  std::vector<WindowInfo> windows = registry.List();
  if (!bottomUp) std::reverse(windows.begin(), windows.end());
  for (const WindowInfo& window : windows) {
    if (!window.topLevel && !all) continue;
    std::printf("%04x  %-7d  %s%s\n", window.hwnd, window.pid, window.title.c_str(),
                window.topLevel ? "" : " (message-only)");
  }
  return 0;
}

volatile sig_atomic_t g_interrupted = 0;

int Watch(const std::string& dir) {
  std::string error;
  if (!PrepareDesktopDirectory(dir, &error)) {
    std::fprintf(stderr, "desktop: %s\n", error.c_str());
    return 1;
  }
  struct sigaction action {};
  action.sa_handler = [](int) { g_interrupted = 1; };
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  DebugMonitor monitor(dir);
  if (!monitor.Open(&error)) {
    std::fprintf(stderr, "desktop: %s\n", error.c_str());
    return 1;
  }
  std::fprintf(stderr, "desktop: watching %s (interrupt to stop)\n", dir.c_str());
  while (!g_interrupted) {
    for (const MonitorRecord& record : monitor.Read(200)) {
      std::printf("%-7d %c %s\n", record.pid, record.kind, record.text.c_str());
    }
    std::fflush(stdout);
  }
  return 0;
}

int SendOrPost(const std::string& dir, bool send, const std::vector<const char*>& arguments,
               int argc, char** argv) {
  if (arguments.size() < 2 || arguments.size() > 5) Usage("send and post take 2 to 5 values");
  const std::optional<uint32_t> hwnd = ParseNumber(arguments[0], 16);
  const std::optional<uint32_t> message = ParseNumber(arguments[1], 0);
  const std::optional<uint32_t> wParam =
      arguments.size() > 2 ? ParseNumber(arguments[2], 0) : std::optional<uint32_t>(0);
  const std::optional<uint32_t> lParam =
      arguments.size() > 3 ? ParseNumber(arguments[3], 0) : std::optional<uint32_t>(0);
  if (!hwnd || *hwnd == kNoWindow || *hwnd > kBroadcast) Usage("HWND is 1 to ffff in hex");
  if (!message || !wParam || !lParam) Usage("MESSAGE, WPARAM and LPARAM are numbers");

  QCoreApplication application(argc, argv);
  std::string error;
  if (!OpenDesktop(dir, &error)) {
    std::fprintf(stderr, "desktop: %s\n", error.c_str());
    return 1;
  }
  Message m = arguments.size() > 4 ? Message::Text(*message, *wParam, arguments[4])
                                   : Message::Plain(*message, *wParam);
  m.lParam = static_cast<int32_t>(*lParam);
  int status = 0;
  if (send) {
    const std::optional<Result> answer = Send(*hwnd, m);
    if (answer) {
      std::printf("%d (0x%08x)\n", *answer, static_cast<uint32_t>(*answer));
    } else {
      std::fprintf(stderr, "desktop: no answer from window %04x\n", *hwnd);
      status = 1;
    }
  } else if (!Post(*hwnd, m)) {
    std::fprintf(stderr, "desktop: cannot post to window %04x\n", *hwnd);
    status = 1;
  }
  CloseDesktop();
  return status;
}

int Main(int argc, char** argv) {
  std::string dir;
  std::vector<const char*> words;
  bool all = false;
  bool bottomUp = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--dir") {
      if (i + 1 >= argc) Usage("--dir needs a directory");
      dir = argv[++i];
    } else if (arg == "--all") {
      all = true;
    } else if (arg == "--bottom-up") {
      bottomUp = true;
    } else if (arg.starts_with("--")) {
      Usage("unknown option " + std::string(arg));
    } else {
      words.push_back(argv[i]);
    }
  }
  if (dir.empty()) dir = DesktopDirectoryFromEnvironment();
  const std::string command = words.empty() ? "list" : words.front();
  if (!words.empty()) words.erase(words.begin());
  if (command == "list") {
    if (!words.empty()) Usage("list takes no values");
    return List(dir, all, bottomUp);
  }
  if (all || bottomUp) Usage("--all and --bottom-up are for list");
  if (command == "watch") {
    if (!words.empty()) Usage("watch takes no values");
    return Watch(dir);
  }
  if (command == "send" || command == "post") {
    return SendOrPost(dir, command == "send", words, argc, argv);
  }
  Usage("unknown command " + command);
}

}  // namespace
}  // namespace velcrum::platform

int main(int argc, char** argv) {
  return velcrum::platform::Main(argc, argv);
}
