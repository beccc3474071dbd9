// umd-monitor: the far end of an under-monitor display chain. It opens a pseudo-terminal
// (or a given serial device), prints the device the runtime is to open on its first line,
// sets the line as the displays expect it and prints every message it decodes as one line,
// until it is interrupted or its time is up.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "peripherals/serial_line.h"
#include "platform/ascii_case.h"
#include "umd_decoder.h"

namespace {

using namespace velcrum;

constexpr char kUsage[] =
    "Usage: umd-monitor [--protocol tsl|amazon|basic] [--baud RATE] [--device PATH]\n"
    "                   [--for SECONDS] [--changes]\n"
    "\n"
    "The far end of an under-monitor display chain. Without --device it opens a\n"
    "pseudo-terminal and prints its slave device on the first line: point a COM port at\n"
    "it in VELCRUM.INI ([Ports] COM1=/dev/pts/N). With --device it reads that serial\n"
    "device and prints its path. The line is set to RATE baud (38400 unless given), 8 data\n"
    "bits, even parity, one stop bit. Then each message received is printed as one line:\n"
    "\n"
    "  TSL display 1 address 0x80 tallies 1000 brightness 3 caption \"       AB       \"\n"
    "\n"
    "tallies are the lamps from the first (1 lit); brightness is TSL's only (- otherwise).\n"
    "--protocol names the displays' protocol as UMDProtocol does (TSL unless given; any\n"
    "name but TSL and AMAZON is the basic protocol). --for ends the program after SECONDS;\n"
    "without it, it runs until interrupted. --changes prints a message only when it differs\n"
    "from the last one the same display got (the rotation re-sends every display).\n";

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) {
  g_stop = 1;
}

struct Options {
  UmdProtocol protocol = UmdProtocol::kTsl;
  unsigned baudRate = 38400;
  std::string device;
  std::optional<double> seconds;
  bool changesOnly = false;
};

int Usage(const char* problem) {
  std::fprintf(stderr, "umd-monitor: %s\n\n%s", problem, kUsage);
  return 2;
}

// Parses the command line into `options`; 0 to go on, else the exit code.
int ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--help" || option == "-h") {
      std::fputs(kUsage, stdout);
      return -1;
    }
    if (option == "--changes") {
      options.changesOnly = true;
      continue;
    }
    if (i + 1 >= argc) return Usage("an option without its value");
    const char* value = argv[++i];
    char* end = nullptr;
    if (option == "--protocol") {
      const std::string name = UpperAsciiText(value);
      options.protocol = name == "TSL"      ? UmdProtocol::kTsl
                         : name == "AMAZON" ? UmdProtocol::kAmazon
                                            : UmdProtocol::kBasic;
    } else if (option == "--baud") {
      options.baudRate = static_cast<unsigned>(std::strtoul(value, &end, 10));
      if (*end != '\0' || !SerialSpeed(options.baudRate)) return Usage("no such baud rate");
    } else if (option == "--device") {
      options.device = value;
    } else if (option == "--for") {
      options.seconds = std::strtod(value, &end);
      if (*end != '\0' || *options.seconds < 0) return Usage("--for wants a number of seconds");
    } else {
      return Usage("unknown option");
    }
  }
  return 0;
}

// Opens the line: the given device, or a new pseudo-terminal whose slave the monitor
// keeps open so that the runtime may open and close it as often as it likes. Answers the
// descriptor to read and prints the device to open; -1 on failure.
int OpenLine(const Options& options) {
  int readFrom = -1;
  int lineSide = -1;
  std::string path = options.device;
  if (path.empty()) {
    char name[256] = {};
    if (openpty(&readFrom, &lineSide, name, nullptr, nullptr) != 0) {
      std::fprintf(stderr, "umd-monitor: no pseudo-terminal: %s\n", std::strerror(errno));
      return -1;
    }
    path = name;
  } else {
    readFrom = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (readFrom < 0) {
      std::fprintf(stderr, "umd-monitor: %s: %s\n", path.c_str(), std::strerror(errno));
      return -1;
    }
    lineSide = readFrom;
  }
  if (const std::string refused = SetSerialLine(lineSide, options.baudRate); !refused.empty()) {
    std::fprintf(stderr, "umd-monitor: %s: %s\n", path.c_str(), refused.c_str());
    return -1;
  }
  std::printf("%s\n", path.c_str());
  return readFrom;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const int code = ParseOptions(argc, argv, options); code != 0) return code < 0 ? 0 : code;
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  const int fd = OpenLine(options);
  if (fd < 0) return 1;

  using Clock = std::chrono::steady_clock;
  const std::optional<Clock::time_point> end =
      options.seconds
          ? std::optional(Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(*options.seconds)))
          : std::nullopt;
  UmdDecoder decoder(options.protocol);
  std::map<int, std::string> lastLines;  // by address, for --changes
  while (g_stop == 0) {
    // Short waits, so that a signal or the end of the time is seen promptly.
    int waitMs = 200;
    if (end) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*end - Clock::now());
      if (left.count() <= 0) break;
      waitMs = static_cast<int>(std::min<long long>(waitMs, left.count()));
    }
    pollfd wait = {fd, POLLIN, 0};
    if (poll(&wait, 1, waitMs) <= 0) continue;
    char chunk[256];
    const ssize_t count = read(fd, chunk, sizeof chunk);
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (count <= 0) {
      std::fprintf(stderr, "umd-monitor: the line closed\n");
      return 1;
    }
    for (const DecodedUmdMessage& message :
         decoder.Feed(std::string_view(chunk, static_cast<std::size_t>(count)))) {
      const std::string line = UmdMessageLine(message);
      if (options.changesOnly) {
        std::string& last = lastLines[message.address];
        if (last == line) continue;
        last = line;
      }
      std::printf("%s\n", line.c_str());
    }
  }
  return 0;
}
