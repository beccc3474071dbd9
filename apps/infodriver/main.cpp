// infodriver: a stand-in for an infodriver program, the driver of one device that panels
// connect to directly (XR) on a Velcrum desktop; and `infodriver do`, which hands an
// operator's command to the running driver of a device.

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "command_words.h"
#include "infodriver.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/termination_signals.h"
#include "platform/desktop/window.h"

namespace velcrum::infodriver {
namespace {

constexpr char kUsage[] =
    "usage: infodriver --device N [--slots K] [--mode 1|2] [--log FILE|-]\n"
    "       infodriver --device N do COMMAND...\n"
    "       infodriver --help\n"
    "\n"
    "A stand-in for the infodriver of device N (1 to 999) on the Velcrum desktop named by\n"
    "$VELCRUM_DESKTOP (else $XDG_RUNTIME_DIR/velcrum-desktop, else\n"
    "/tmp/velcrum-desktop-$UID). It creates a top-level window titled \"INFODRIVER N\",\n"
    "prints \"hwnd XXXX\" (its handle, four hex digits) on standard output and runs until\n"
    "its window receives WM_CLOSE or the process receives SIGTERM or SIGINT. It keeps K\n"
    "slots (1 to 4096, default 4096), texts of up to 507 characters, all empty at start.\n"
    "\n"
    "It answers:\n"
    "  KAL_DRIVER_CONNECT (49164) plain, lParam N: sends KAL_DRIVER_HANDLE (2042,\n"
    "      wParam = its window) to the window in wParam at once, during the broadcast;\n"
    "  KAL_DRIVER_CONNECT framed, numeric, value N (bit 15, an addition, ignored): the\n"
    "      sending panel is connected; reply 1 (0 for another device);\n"
    "  KAL_DRIVER_DISCONNECT (49165) plain, lParam N: every connection ends (the message\n"
    "      does not name the panel; a panel that still wants revertives connects again);\n"
    "  KAL_IDGETTXRXMODE (2732): the mode, 1 (device in use elsewhere) or 2 (take over);\n"
    "  framed KAL_DRIVER_WRITE (2731), wParam slot: writes the slot; reply 1 (0 for a\n"
    "      slot outside 1 to K);\n"
    "  framed KAL_DRIVER_READ (2778), wParam slot: reply text = the slot's text;\n"
    "  framed KAL_DRIVER_XPOINT (2745) and KAL_DRIVER_IOLINE (2763), numeric: keeps\n"
    "      crosspoint wParam = value and I/O line wParam = value; reply 1;\n"
    "  framed KAL_DRIVER_CMD (2777) texts for device N; reply 1 when carried out:\n"
    "      XW N 'text' index [n]     writes the slot\n"
    "      XP N first last ws        sends the revertives of those slots to the sender\n"
    "      XC N src dest ['tag'] [n] keeps the crosspoint dest = src with its tag, n\n"
    "      XS N line state [n]       keeps the I/O line's state\n"
    "      other texts (client commands a panel passes on) are only logged, reply 0;\n"
    "  every other framed call: reply 0. Every reply is a KAL_REPLY (2984) frame to the\n"
    "      sender before the call returns, with the call's own value or 513 bytes\n"
    "      (KAL_DRIVER_READ: the slot's text).\n"
    "When a slot changes it sends KAL_INFO_REVERTIVE (2722, wParam N, framed text\n"
    "\"index,text\") to every connected panel.\n"
    "\n"
    "Operator commands, from standard input when it is a terminal or a pipe (one a line,\n"
    "each answered on standard output; the end of the input does not end the driver), or\n"
    "with `infodriver --device N do COMMAND...` from any shell on the same desktop:\n"
    "  slot INDEX TEXT   writes the slot (the text after one blank) and sends revertives\n"
    "  mode 1|2          changes the answer to KAL_IDGETTXRXMODE\n"
    "  show              the mode, the connected panels, the slots that are not empty,\n"
    "                    the crosspoints and the I/O lines\n"
    "Each answer ends with \"ok\" or is one line \"error: ...\". `do` sends the command as\n"
    "the private message 3990 (a text; wParam = its own window) to the window titled\n"
    "\"INFODRIVER N\", which sends each answer line back as message 3991 (a text) before it\n"
    "answers 1 (done) or 0 (refused); `do` prints the lines.\n"
    "\n"
    "options:\n"
    "  --device N   the device, 1 to 999 (required)\n"
    "  --slots K    the number of slots, 1 to 4096\n"
    "  --mode M     the answer to KAL_IDGETTXRXMODE at start, 1 (default) or 2\n"
    "  --log FILE   one line per message received and, after \"> \", per message sent, to\n"
    "               FILE (- for standard output), flushed at once; the format of nxi's\n"
    "               log (see nxi --help)\n"
    "  --help       show this text.\n"
    "\n"
    "Exit status: 0 when ended by WM_CLOSE or a signal, or when `do` was carried out; 1\n"
    "when the desktop, the log or the window cannot be opened, or `do` finds no driver or\n"
    "is refused; 2 for bad usage.\n";

[[noreturn]] void Usage(const std::string& problem) {
  std::fprintf(stderr, "infodriver: %s (see --help)\n", problem.c_str());
  std::exit(2);
}

int NumberArgument(const std::string& option, const char* text, int low, int high) {
  const std::optional<int> value = WordNumber(text);
  if (!value || *value < low || *value > high) {
    Usage(option + " takes a number from " + std::to_string(low) + " to " + std::to_string(high));
  }
  return *value;
}

bool OpenTheDesktop() {
  std::string error;
  if (!platform::OpenDesktop(&error)) {
    std::fprintf(stderr, "infodriver: %s\n", error.c_str());
    return false;
  }
  return true;
}

// `do`: hands the command to the running driver and prints its answer.
int RunDo(int device, const std::string& command) {
  if (!OpenTheDesktop()) return 1;
  const platform::Hwnd driver = platform::FindWindow(DriverTitle(device));
  if (driver == platform::kNoWindow) {
    std::fprintf(stderr, "infodriver: no infodriver of device %d runs on this desktop\n", device);
    return 1;
  }
  std::unique_ptr<platform::Window> window =
      platform::Window::Create(platform::Window::Kind::kMessageOnly);
  if (!window) {
    std::fprintf(stderr, "infodriver: no window\n");
    return 1;
  }
  window->SetProc([](const platform::Message& m) -> platform::Result {
    if (m.message == kMsgOperatorAnswer && m.payload == platform::Payload::kText) {
      std::printf("%s\n", m.data.c_str());
    }
    return 0;
  });
  const std::optional<platform::Result> answer = platform::Send(
      driver, platform::Message::Text(kMsgOperatorCommand, window->Handle(), command));
  std::fflush(stdout);
  if (!answer) std::fprintf(stderr, "infodriver: the driver of device %d did not answer\n", device);
  window.reset();
  platform::CloseDesktop();
  return answer == 1 ? 0 : 1;
}

// Standard input, when it is a terminal or a pipe: one operator command a line.
class InputReader {
 public:
  explicit InputReader(Driver& driver) : driver_(driver) {
    struct stat status {};
    if (fstat(STDIN_FILENO, &status) != 0) return;
    if (!isatty(STDIN_FILENO) && !S_ISFIFO(status.st_mode)) return;
    notifier_ = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Read(); });
  }

 private:
  void Read() {
    char buffer[4096];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n <= 0) {
      // The end of the input (or a broken one) ends only the reading.
      notifier_->setEnabled(false);
      return;
    }
    pending_.append(buffer, static_cast<size_t>(n));
    for (size_t end; (end = pending_.find('\n')) != std::string::npos;) {
      const std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
      driver_.RunOperatorCommand(line, [](std::string_view said) {
        std::printf("%.*s\n", static_cast<int>(said.size()), said.data());
      });
      std::fflush(stdout);
    }
  }

  Driver& driver_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::string pending_;
};

int RunDriver(const Settings& settings, const std::string& logPath) {
  FILE* log = nullptr;
  if (logPath == "-") {
    log = stdout;
  } else if (!logPath.empty()) {
    log = std::fopen(logPath.c_str(), "w");
    if (!log) {
      std::fprintf(stderr, "infodriver: cannot write %s: %s\n", logPath.c_str(),
                   std::strerror(errno));
      return 1;
    }
  }
  if (!OpenTheDesktop()) return 1;
  std::string error;
  // Signals end the message loop from the loop itself.
  if (!platform::RouteTerminationSignals([] { platform::PostQuit(0); }, &error)) {
    std::fprintf(stderr, "infodriver: %s\n", error.c_str());
    return 1;
  }

  Driver driver(settings, log);
  std::unique_ptr<platform::Window> window =
      platform::Window::Create(platform::Window::Kind::kTopLevel, DriverTitle(settings.device));
  if (!window) {
    std::fprintf(stderr, "infodriver: no window\n");
    return 1;
  }
  driver.SetHandle(window->Handle());
  window->SetProc([&driver](const platform::Message& m) { return driver.Handle(m); });
  std::printf("hwnd %04x\n", window->Handle());
  std::fflush(stdout);

  InputReader input(driver);
  const int code = platform::RunMessageLoop();
  window.reset();
  platform::CloseDesktop();
  if (log && log != stdout) std::fclose(log);
  return code;
}

int Run(int argc, char** argv) {
  Settings settings;
  std::string logPath;
  std::optional<std::string> command;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) Usage(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--device") {
      settings.device = NumberArgument(arg, value(), 1, 999);
    } else if (arg == "--slots") {
      settings.slotCount = NumberArgument(arg, value(), 1, kMaxSlots);
    } else if (arg == "--mode") {
      settings.mode = NumberArgument(arg, value(), 1, 2);
    } else if (arg == "--log") {
      logPath = value();
    } else if (arg == "do") {
      std::string words;
      for (++i; i < argc; ++i) words += (words.empty() ? "" : " ") + std::string(argv[i]);
      if (words.empty()) Usage("do needs a command");
      command = words;
    } else {
      Usage("unknown argument " + arg);
    }
  }
  if (settings.device == 0) Usage("--device is required");

  QCoreApplication application(argc, argv);
  return command ? RunDo(settings.device, *command) : RunDriver(settings, logPath);
}

}  // namespace
}  // namespace velcrum::infodriver

int main(int argc, char** argv) {
  return velcrum::infodriver::Run(argc, argv);
}
