// Debug monitors: a process that watches the system-debugger output and the messages of a
// whole desktop, like a debug viewer or a window-spy tool.
//
// A monitor listens on a SOCK_SEQPACKET socket "m<pid>.mon" in the desktop directory and
// announces itself to every process on the desktop. Each process links to every monitor it
// finds (at its start, and when one announces itself) and sends it one packet per record:
// a kind letter, a space and a text line. Records that a slow monitor cannot take are
// dropped; a monitor never slows a process down or blocks it.
#pragma once

#include <sys/types.h>

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace velcrum::platform {

// The kinds of record: debug output, a message sent to a window, the answer to it, a
// message posted to a window.
inline constexpr char kRecordDebug = 'D';
inline constexpr char kRecordSent = 'S';
inline constexpr char kRecordResult = 'R';
inline constexpr char kRecordPosted = 'P';

// A process's links to the monitors of its desktop. Thread-safe.
class MonitorLinks {
 public:
  explicit MonitorLinks(std::string dir);
  ~MonitorLinks();
  MonitorLinks(const MonitorLinks&) = delete;
  MonitorLinks& operator=(const MonitorLinks&) = delete;

  // Links to every monitor socket in the desktop directory not linked yet.
  void Rescan();
  // Links to the monitor of process `monitor`.
  void Attach(pid_t monitor);
  bool Any() const { return any_; }
  // Sends one record to every monitor; links that have failed are dropped.
  void Deliver(char kind, std::string_view text);

 private:
  void AttachLocked(pid_t monitor);

  std::string dir_;
  mutable std::mutex mutex_;
  std::map<pid_t, int> links_;
  bool any_ = false;
};

struct MonitorRecord {
  pid_t pid = 0;  // the process that wrote it
  char kind = 0;
  std::string text;
};

// The monitor side.
class DebugMonitor {
 public:
  explicit DebugMonitor(std::string dir);
  ~DebugMonitor();
  DebugMonitor(const DebugMonitor&) = delete;
  DebugMonitor& operator=(const DebugMonitor&) = delete;

  // Listens and announces itself to every process on the desktop.
  bool Open(std::string* error);
  // Waits up to timeoutMs (-1: without limit) for records and returns those that came.
  std::vector<MonitorRecord> Read(int timeoutMs);
  // Announces this monitor again to every process on the desktop (processes that started
  // after Open find it by themselves; this is for ones that could not be reached).
  void Announce();

 private:
  std::string dir_;
  std::string path_;
  int listenFd_ = -1;
  std::map<int, pid_t> links_;  // accepted descriptor -> writing process
};

// Points the system-debugger channel at a process's monitor links (nullptr: none).
void SetDebugMonitorLinks(MonitorLinks* links);

}  // namespace velcrum::platform
