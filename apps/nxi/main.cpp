// nxi: a stand-in for the site's network interface program, NXI.EXE, on a Velcrum desktop,
// that simulates a whole plant for panels to be tested against.
//
// It answers the discovery broadcasts and the subscription messages, holds the devices of a
// plant file (or of the operator's `add` commands) and answers every framed request of the
// panels as NXI would, sending revertives and notifications to the panels registered for
// them. The operator drives the plant with `nxi do TEXT` or on standard input.

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "do_client.h"
#include "nxi_requests.h"
#include "operator_commands.h"
#include "plant_reader.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/termination_signals.h"
#include "platform/desktop/window.h"

namespace velcrum::nxi {
namespace {

constexpr char kUsage[] =
    "usage: nxi [--plant FILE] [--log FILE|-] [--find-only] [--help]\n"
    "       nxi do TEXT...\n"
    "\n"
    "A stand-in for NXI, the network interface program, on the Velcrum desktop named by\n"
    "$VELCRUM_DESKTOP (else $XDG_RUNTIME_DIR/velcrum-desktop, else\n"
    "/tmp/velcrum-desktop-$UID), simulating a plant of routers, GPI devices and\n"
    "infodrivers. It creates a top-level window titled \"NXI\", prints \"hwnd XXXX\" (its\n"
    "handle, four hex digits) on standard output and runs until its window receives\n"
    "WM_CLOSE or the process receives SIGTERM or SIGINT. docs/NXI.md has the details.\n"
    "\n"
    "It answers:\n"
    "  KAL_CLIENT_HELLO (2034) with lParam 4 and KAL_NXI_FIND (49153): sends\n"
    "      KAL_NXI_HANDLE (2032, wParam = its window) to the window in wParam at once;\n"
    "  KAL_NETMSG_QUERY (49229): 0; KAL_NETMSG_REGISTER (49225) and\n"
    "      KAL_NETMSG_UNREGISTER (49226): subscribe and unsubscribe the panel, 0;\n"
    "  every framed WM_COPYDATA: a KAL_REPLY (2984) frame to the sender before the call\n"
    "      returns, wParam the result (0 unless the request has one), a numeric frame\n"
    "      with the call's own value (or its answer) or a text frame with the answer text\n"
    "      or the call's own 513 bytes; a KAL_REPLY frame is only logged. Registrations,\n"
    "      router (RC RL RP RQ RF RM), GPI (GS GP GQ GL GF), infodriver (IW IP IQ IL IH IF,\n"
    "      file sessions ID IG IS), database (RM DP DE DG DI, name lookups, KAL_DATABASE_QUERY),\n"
    "      device (KAL_DEVICE_INFO, NS status requests, DC DD DR DW) requests act on the\n"
    "      plant; the messages they cause follow the reply. Command texts for a served\n"
    "      device go to the other panels registered for it as KAL_PARSER_COMMAND (2776).\n"
    "  A panel whose window leaves the desktop, or does not take a message, is dropped\n"
    "  with its registrations.\n"
    "\n"
    "options:\n"
    "  --plant FILE the plant: an INI-style file of sections [router N], [gpi N] and\n"
    "               [info N] (N the device, 1 to 999) with KEY = VALUE lines; ; and #\n"
    "               begin comments. Every kind: name, served (yes|no: a panel serves the\n"
    "               device, nxi keeps no state for it), status (network status word),\n"
    "               status text, information (four numbers for KAL_DEVICE_INFO after the\n"
    "               device number; default kind 1|2|3, the two sizes, status), lock INDEX\n"
    "               (the locking workstation), name DB INDEX (database 0 to 10). Routers:\n"
    "               destinations, sources (1 to 4096), revertive (integer | text),\n"
    "               source INDEX (database 0), destination INDEX (database 1), route DST\n"
    "               (= SRC). GPI: inputs, outputs (indexes 1..inputs are the inputs, the\n"
    "               outputs follow), input N, output N (names, database 0), state INDEX\n"
    "               (0|1). Infodrivers: slots, slot INDEX (its text). A bad file is\n"
    "               reported as FILE:LINE: problem and nxi does not start.\n"
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
    "               Every message nxi sends has a line too: \"> \" and the same fields.\n"
    "  --find-only  answer only KAL_NXI_FIND, not KAL_CLIENT_HELLO: an NXI that is not in\n"
    "               client mode.\n"
    "  --help       show this text.\n"
    "\n"
    "Operator commands, given to the running nxi with `nxi do TEXT` (the answer is printed;\n"
    "exit status 0, or 1 when the command failed or no nxi answered) or on nxi's standard\n"
    "input when that is a pipe, a socket or the terminal nxi runs in the foreground of\n"
    "(answers on standard output; the end of the input does not end nxi):\n"
    "%s"
    "\n"
    "Exit status: 0 when ended by WM_CLOSE or a signal; 1 when the plant file is bad or the\n"
    "desktop, the log or the window cannot be opened; 2 for bad usage.\n";

[[noreturn]] void Usage(const char* problem) {
  std::fprintf(stderr, "nxi: %s (see --help)\n", problem);
  std::exit(2);
}

// Operator commands on standard input, when it is a terminal, a pipe or a socket; read as
// it comes, so that nxi never blocks on it.
class StandardInput {
 public:
  explicit StandardInput(Requests& requests) : requests_(requests) {
    struct stat info;
    if (fstat(STDIN_FILENO, &info) != 0) return;
    const bool terminal = isatty(STDIN_FILENO);
    if (!terminal && !S_ISFIFO(info.st_mode) && !S_ISSOCK(info.st_mode)) return;
    // Started in the background of a terminal (nxi &), nxi leaves the terminal to the shell;
    // moved there later, a read gives EIO instead of stopping nxi, and the input ends.
    if (terminal && tcgetpgrp(STDIN_FILENO) != getpgrp()) return;
    std::signal(SIGTTIN, SIG_IGN);
    notifier_ = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Read(); });
  }

 private:
  void Read() {
    char buffer[4096];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) return;
      notifier_->setEnabled(false);  // the end of the input: nxi goes on
      return;
    }
    pending_.append(buffer, static_cast<size_t>(n));
    for (size_t end; (end = pending_.find('\n')) != std::string::npos;) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.find_first_not_of(" \t") == std::string::npos) continue;
      const OperatorAnswer answer = requests_.RunOperatorCommand(line);
      std::printf("%s\n", answer.text.c_str());
      std::fflush(stdout);
    }
  }

  Requests& requests_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::string pending_;
};

constexpr uint32_t kPanelCheckTimer = 1;
constexpr uint32_t kPanelCheckMs = 500;

int Run(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "do") == 0) {
    std::string text;
    for (int i = 2; i < argc; ++i) text += (i > 2 ? " " : "") + std::string(argv[i]);
    if (text.empty()) Usage("do needs a command");
    QCoreApplication application(argc, argv);
    return RunDoClient(text);
  }

  std::string logPath;
  std::string plantPath;
  bool findOnly = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      std::printf(kUsage, kOperatorCommandHelp);
      return 0;
    } else if (arg == "--log") {
      if (i + 1 >= argc) Usage("--log needs a file");
      logPath = argv[++i];
    } else if (arg == "--plant") {
      if (i + 1 >= argc) Usage("--plant needs a file");
      plantPath = argv[++i];
    } else if (arg == "--find-only") {
      findOnly = true;
    } else {
      Usage(("unknown argument " + arg).c_str());
    }
  }

  Plant plant;
  std::string error;
  if (!plantPath.empty() && !ReadPlantFile(plantPath, &plant, &error)) {
    std::fprintf(stderr, "nxi: %s\n", error.c_str());
    return 1;
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
  if (!platform::OpenDesktop(&error)) {
    std::fprintf(stderr, "nxi: %s\n", error.c_str());
    return 1;
  }

  // Signals end the message loop from the loop itself.
  if (!platform::RouteTerminationSignals([] { platform::PostQuit(0); }, &error)) {
    std::fprintf(stderr, "nxi: %s\n", error.c_str());
    return 1;
  }

  Panels panels;
  Outbox outbox(log);
  Requests requests(plant, panels, outbox, findOnly);
  std::unique_ptr<platform::Window> window =
      platform::Window::Create(platform::Window::Kind::kTopLevel, "NXI");
  if (!window) {
    std::fprintf(stderr, "nxi: no window\n");
    return 1;
  }
  outbox.SetOwn(window->Handle());
  window->SetProc([&requests](const platform::Message& m) { return requests.Handle(m); });
  window->SetTimer(kPanelCheckTimer, kPanelCheckMs);
  std::printf("hwnd %04x\n", window->Handle());
  std::fflush(stdout);
  StandardInput input(requests);

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
