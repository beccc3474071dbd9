// desktop: lists and watches the windows of a Velcrum desktop, and drives its panels.
//
// A diagnostic for operators and for us: which top-level windows are registered (handle,
// owning process, title), and, like a window-spy tool, every message sent or posted on the
// desktop and every line of system-debugger output, as they happen. It can also send or
// post one message to a window, and act as an operator's hand on a panel: list a dialog's
// controls and a list's items, click, select, drag, type, take a picture. The
// hand's work is done inside the process that owns the window (platform/desktop/remote_hand.h).
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/debug_monitor.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_directory.h"
#include "platform/desktop/remote_hand.h"
#include "platform/desktop/remote_hand_keys.h"
#include "platform/desktop/window.h"
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
    "The hand (HWND a dialog, or for key, shot and press any top-level window with a\n"
    "widget;\n"
    "ID a control's identifier, decimal):\n"
    "  controls HWND\n"
    "        one line per control, in creation order: ID CLASS X Y WIDTH HEIGHT STATE\n"
    "        VALUE \"TEXT\". X and Y are pixels of the dialog's client area; STATE is\n"
    "        V visible, E enabled, C checked, F focus, or - for none; VALUE is a button's\n"
    "        check state, a scroll bar's or trackbar's position, a list's or combo box's\n"
    "        selected index (-1 for none), else 0. TEXT has \\\\, \\\" and \\xHH escapes.\n"
    "  items HWND ID\n"
    "        the items of a list box or combo box, one a line: INDEX \"TEXT\", with * after\n"
    "        the index of a selected item.\n"
    "  click HWND ID\n"
    "        presses and releases the left mouse button at the control's centre.\n"
    "  select HWND ID INDEX\n"
    "        presses on the item's row of a list box (scrolled into view first); opens a\n"
    "        combo box's list with a press and lets go on the item.\n"
    "  drag HWND ID POSITION\n"
    "        presses a scroll bar's or trackbar's thumb, moves it to POSITION, lets go.\n"
    "  key HWND KEYS...\n"
    "        types into the window's focused control. KEYS (several are joined with\n"
    "        spaces): characters as they stand, and named keys in braces, with Shift+,\n"
    "        Ctrl+ or Alt+ before them: {Tab} {Shift+Tab} {Return} {Escape} {Space}\n"
    "        {Backspace} {Delete} {Insert} {Home} {End} {PageUp} {PageDown} {Up} {Down}\n"
    "        {Left} {Right} {F1}..{F24} {Ctrl+a}; {{} and {}} type braces. While a\n"
    "        pop-up menu of the window's process is open, the keys go to the menu, as\n"
    "        the window system gives them.\n"
    "  shot HWND FILE\n"
    "        writes a PNG picture of the window as it is on the screen.\n"
    "  press HWND BUTTON X Y\n"
    "        presses and releases the left or right mouse button (BUTTON left or right) at\n"
    "        X, Y of the window's client area, on whatever control or window is there.\n"
    "click, select, drag, key and press are real mouse and key input, delivered inside\n"
    "the process that owns the window, so the dialog answers as it answers an operator.\n"
    "\n"
    "Exit status: 0 on success; 1 when the desktop cannot be opened, the window does not\n"
    "exist or does not answer, or the hand's request is refused (not a dialog, no such\n"
    "control, ...: the reason is on standard error); 2 for bad usage.\n";

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

std::optional<Hwnd> ParseWindow(const char* text) {
  const std::optional<uint32_t> hwnd = ParseNumber(text, 16);
  if (!hwnd || *hwnd == kNoWindow || *hwnd > kHighestHandle) return std::nullopt;
  return *hwnd;
}

std::optional<int> ParseInteger(const char* text) {
  if (!text || !*text) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text, &end, 10);
  if (errno || *end || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int>(value);
}

// Sends one request to the hand in the window's process and collects its answer.
int Hand(const std::string& dir, Hwnd hwnd, const std::string& request, std::string* answer,
         int argc, char** argv) {
  QCoreApplication application(argc, argv);
  std::string error;
  if (!OpenDesktop(dir, &error)) {
    std::fprintf(stderr, "desktop: %s\n", error.c_str());
    return 1;
  }
  std::unique_ptr<Window> own = Window::Create(Window::Kind::kMessageOnly, "desktop tool");
  if (!own) {
    std::fprintf(stderr, "desktop: no window for the answer\n");
    CloseDesktop();
    return 1;
  }
  std::string received;
  own->SetProc([&received](const Message& m) -> Result {
    if (m.message != WM_COPYDATA || m.dwData != kHandAnswer) return 0;
    received += m.data;
    return 1;
  });
  const std::optional<Result> result =
      Send(hwnd, Message::Text(kHandRequest, own->Handle(), request));
  const bool exists = result || IsWindow(hwnd);
  own.reset();
  CloseDesktop();
  if (!result) {
    std::fprintf(stderr,
                 exists ? "desktop: window %04x did not answer\n" : "desktop: no window %04x\n",
                 hwnd);
    return 1;
  }
  if (*result == kHandDone) {
    *answer = std::move(received);
    return 0;
  }
  if (*result == kHandRefused) {
    std::fprintf(stderr, "desktop: %s\n", received.c_str());
  } else {
    std::fprintf(stderr, "desktop: the answer of window %04x did not arrive whole\n", hwnd);
  }
  return 1;
}

int HandCommand(const std::string& dir, const std::string& command,
                const std::vector<const char*>& arguments, int argc, char** argv) {
  // The values each command takes after HWND; key takes one or more.
  const size_t values = command == "controls"                      ? 0
                        : command == "select" || command == "drag" ? 2
                        : command == "press"                       ? 3
                                                                   : 1;
  if (command == "key" ? arguments.size() < 2 : arguments.size() != values + 1) {
    Usage(command + " takes HWND and " + std::to_string(values) + " value(s)");
  }
  const std::optional<Hwnd> hwnd = ParseWindow(arguments[0]);
  if (!hwnd) Usage("HWND is 1 to fffe in hex");
  std::string request = command;
  if (command == "key") {
    std::string keys;
    for (size_t i = 1; i < arguments.size(); ++i)
      keys += (i > 1 ? " " : "") + std::string(arguments[i]);
    std::string error;
    if (!ParseHandKeys(keys, &error)) Usage("KEYS: " + error);
    request += ' ' + keys;
  } else if (command != "shot") {
    size_t first = 1;
    if (command == "press") {
      const std::string_view button = arguments[1];
      if (button != "left" && button != "right") Usage("BUTTON is left or right");
      request += ' ' + std::string(button);
      first = 2;
    }
    for (size_t i = first; i < arguments.size(); ++i) {
      if (!ParseInteger(arguments[i]))
        Usage(std::string(arguments[i]) + " is not a decimal number");
      request += ' ' + std::to_string(*ParseInteger(arguments[i]));
    }
  }
  std::string answer;
  if (const int status = Hand(dir, *hwnd, request, &answer, argc, argv); status != 0) {
    return status;
  }
  if (command != "shot") {
    std::fwrite(answer.data(), 1, answer.size(), stdout);
    return 0;
  }
  std::ofstream file(arguments[1], std::ios::binary | std::ios::trunc);
  file.write(answer.data(), static_cast<std::streamsize>(answer.size()));
  file.close();
  if (!file) {
    std::fprintf(stderr, "desktop: cannot write %s\n", arguments[1]);
    return 1;
  }
  return 0;
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
  if (command == "controls" || command == "items" || command == "click" || command == "select" ||
      command == "drag" || command == "key" || command == "shot" || command == "press") {
    return HandCommand(dir, command, words, argc, argv);
  }
  Usage("unknown command " + command);
}

}  // namespace
}  // namespace velcrum::platform

int main(int argc, char** argv) {
  return velcrum::platform::Main(argc, argv);
}
