// Locating and securing the desktop directory; process identity from /proc.
#include "platform/desktop/desktop_directory.h"

#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace velcrum::platform {

std::string DesktopDirectoryFromEnvironment() {
  if (const char* dir = std::getenv("VELCRUM_DESKTOP"); dir && *dir) return dir;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    return std::string(runtime) + "/velcrum-desktop";
  }
  return "/tmp/velcrum-desktop-" + std::to_string(geteuid());
}

bool PrepareDesktopDirectory(const std::string& path, std::string* error) {
  auto fail = [&](const std::string& reason) {
    if (error) *error = "desktop directory " + path + ": " + reason;
    return false;
  };
  // The longest name inside is a monitor or bus socket for a 7-digit pid.
  if (path.empty()) return fail("no path");
  if (path.size() + sizeof("/m1234567.mon") > sizeof(sockaddr_un{}.sun_path)) {
    return fail("path too long for the socket names inside it");
  }
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return fail(std::strerror(errno));
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return fail(std::strerror(errno));
  if (!S_ISDIR(info.st_mode)) return fail("not a directory");
  if (info.st_uid != geteuid()) return fail("owned by another user");
  if ((info.st_mode & 077) != 0 && chmod(path.c_str(), 0700) != 0) {
    return fail(std::string("cannot make it private: ") + std::strerror(errno));
  }
  return true;
}

std::optional<uint64_t> ProcessStartTime(pid_t pid) {
  if (pid <= 0) return std::nullopt;
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  if (!file) return std::nullopt;
  std::string line;
  std::getline(file, line);
  // "pid (comm) state ppid ...": comm may hold spaces and parentheses, so read after the
  // last ')'. The start time is field 22 of the line, the 20th after comm.
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(line.substr(close + 1));
  std::string state;
  fields >> state;
  if (state == "Z" || state == "X" || state == "x") return std::nullopt;
  std::string skip;
  for (int i = 0; i < 18; ++i) fields >> skip;
  uint64_t start = 0;
  if (!(fields >> start)) return std::nullopt;
  return start;
}

bool ProcessAlive(pid_t pid, uint64_t startTime) {
  const std::optional<uint64_t> start = ProcessStartTime(pid);
  return start && *start == startTime;
}

bool ProcessIdInUse(pid_t pid) {
  if (pid <= 0) return false;
  return kill(pid, 0) == 0 || errno == EPERM;
}

std::string BusSocketPath(const std::string& dir, pid_t pid) {
  return dir + "/p" + std::to_string(pid) + ".sock";
}

std::string MonitorSocketPath(const std::string& dir, pid_t pid) {
  return dir + "/m" + std::to_string(pid) + ".mon";
}

}  // namespace velcrum::platform
