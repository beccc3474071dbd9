// Debug monitors and the links processes keep to them.
#include "platform/desktop/debug_monitor.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "platform/desktop/bus_endpoint.h"
#include "platform/desktop/desktop_directory.h"

namespace velcrum::platform {
namespace {

// Longest record text; a longer one is cut (a debug line is at most a few hundred bytes).
constexpr size_t kMaxRecordBytes = 4096;

bool FillAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

bool SameUser(int fd, pid_t* pid) {
  ucred credentials{};
  socklen_t length = sizeof credentials;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0) return false;
  if (pid) *pid = credentials.pid;
  return credentials.uid == geteuid();
}

// The pids named by the files "<prefix><pid><suffix>" of a directory.
std::vector<pid_t> PidsNamed(const std::string& dir, std::string_view prefix,
                             std::string_view suffix) {
  std::vector<pid_t> pids;
  DIR* directory = opendir(dir.c_str());
  if (!directory) return pids;
  while (const dirent* item = readdir(directory)) {
    std::string_view name = item->d_name;
    if (!name.starts_with(prefix) || !name.ends_with(suffix)) continue;
    name = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error == std::errc() && end == name.data() + name.size() && pid > 0) pids.push_back(pid);
  }
  closedir(directory);
  return pids;
}

std::mutex g_linksMutex;
MonitorLinks* g_links = nullptr;

}  // namespace

void SetDebugMonitorLinks(MonitorLinks* links) {
  std::lock_guard lock(g_linksMutex);
  g_links = links;
}

// Used by the system-debugger channel (debug_output.cpp).
void DeliverToDebugMonitors(std::string_view line) {
  std::lock_guard lock(g_linksMutex);
  if (g_links && g_links->Any()) g_links->Deliver(kRecordDebug, line);
}

MonitorLinks::MonitorLinks(std::string dir) : dir_(std::move(dir)) {}

MonitorLinks::~MonitorLinks() {
  for (const auto& [pid, fd] : links_) close(fd);
}

void MonitorLinks::Rescan() {
  const std::vector<pid_t> monitors = PidsNamed(dir_, "m", ".mon");
  std::lock_guard lock(mutex_);
  for (pid_t monitor : monitors) AttachLocked(monitor);
}

void MonitorLinks::Attach(pid_t monitor) {
  std::lock_guard lock(mutex_);
  AttachLocked(monitor);
}

void MonitorLinks::AttachLocked(pid_t monitor) {
  if (links_.count(monitor)) return;
  sockaddr_un address;
  if (!FillAddress(MonitorSocketPath(dir_, monitor), address)) return;
  const int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      !SameUser(fd, nullptr)) {
    close(fd);
    return;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  links_[monitor] = fd;
  any_ = true;
}

void MonitorLinks::Deliver(char kind, std::string_view text) {
  std::string record;
  record.reserve(2 + std::min(text.size(), kMaxRecordBytes));
  record += kind;
  record += ' ';
  record += text.substr(0, kMaxRecordBytes);
  std::lock_guard lock(mutex_);
  for (auto it = links_.begin(); it != links_.end();) {
    const ssize_t n = send(it->second, record.data(), record.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      close(it->second);
      it = links_.erase(it);
    } else {
      ++it;  // sent, or dropped because the monitor is behind
    }
  }
  any_ = !links_.empty();
}

DebugMonitor::DebugMonitor(std::string dir) : dir_(std::move(dir)) {}

DebugMonitor::~DebugMonitor() {
  for (const auto& [fd, pid] : links_) close(fd);
  if (listenFd_ >= 0) {
    close(listenFd_);
    unlink(path_.c_str());
  }
}

bool DebugMonitor::Open(std::string* error) {
  auto fail = [&](const std::string& what) {
    if (error) *error = "debug monitor: " + what + ": " + std::strerror(errno);
    return false;
  };
  path_ = MonitorSocketPath(dir_, getpid());
  sockaddr_un address;
  if (!FillAddress(path_, address)) {
    errno = ENAMETOOLONG;
    return fail(path_);
  }
  listenFd_ = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) return fail("socket");
  unlink(path_.c_str());
  if (bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    return fail("bind " + path_);
  }
  chmod(path_.c_str(), 0600);
  if (listen(listenFd_, 128) != 0) return fail("listen");
  // The socket exists before the processes are told, and a process that starts meanwhile
  // looks for monitors only after its own socket exists: either way each finds the other.
  Announce();
  return true;
}

void DebugMonitor::Announce() {
  for (pid_t pid : PidsNamed(dir_, "p", ".sock")) {
    BusEndpoint::AnnounceMonitor(dir_, pid);
  }
}

std::vector<MonitorRecord> DebugMonitor::Read(int timeoutMs) {
  std::vector<MonitorRecord> records;
  std::vector<pollfd> fds;
  fds.push_back({listenFd_, POLLIN, 0});
  for (const auto& [fd, pid] : links_) fds.push_back({fd, POLLIN, 0});
  if (poll(fds.data(), fds.size(), timeoutMs) <= 0) return records;

  if (fds[0].revents & POLLIN) {
    for (;;) {
      const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd < 0) break;
      pid_t pid = 0;
      if (!SameUser(fd, &pid)) {
        close(fd);
        continue;
      }
      links_[fd] = pid;
    }
  }
  std::vector<char> buffer(kMaxRecordBytes + 2);
  for (size_t i = 1; i < fds.size(); ++i) {
    if (!fds[i].revents) continue;
    const int fd = fds[i].fd;
    for (;;) {
      const ssize_t n = recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) break;
      if (n == 0) {
        pollfd p{fd, POLLIN | POLLRDHUP, 0};
        if (poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLRDHUP | POLLERR))) {
          close(fd);
          links_.erase(fd);
          break;
        }
        continue;
      }
      if (n < 2 || buffer[1] != ' ') continue;
      records.push_back({links_[fd], buffer[0], std::string(buffer.data() + 2, n - 2)});
    }
  }
  return records;
}

}  // namespace velcrum::platform
