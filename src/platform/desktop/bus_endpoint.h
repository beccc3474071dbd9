// One process's end of the desktop bus: its listening socket, its connections to peers, and
// the synchronous call that waits for a peer's answer.
//
// Each process listens on a SOCK_STREAM Unix socket in the desktop directory. A
// connection carries frames (bus_frame.h) both ways, so a peer that is waiting for our answer can
// still receive our own calls: while a call waits, every incoming call is dispatched at once
// (Windows' SendMessage does the same), incoming posts are handed over to be queued, and
// nothing else runs. A peer that closes its end (or dies) fails the calls waiting on it; a
// peer that does not answer within the caller's bound is given up, and taken as hung (calls
// to it fail at once) until anything arrives from it again.
// Peers of another user are refused (SO_PEERCRED). All sockets are non-blocking: a frame
// that has only partly arrived waits in the connection's input buffer, and writes that
// cannot go out at once wait in its outbox, in order. A frame whose header cannot be
// trusted ends the connection, since the stream cannot be followed past it; a frame with a
// sound header but wrong contents is dropped on its own. Either is said on the debug line.
// What waits for a peer is bounded: posts beyond the outbox's limit fail, and a peer that
// lets even more pile up (it sends and never reads the answers) is disconnected. When the
// process runs out of descriptors, accepting pauses for a moment instead of spinning.
//
// Single-threaded: everything here runs on the thread that runs the message loop.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/desktop/bus_frame.h"
#include "platform/desktop/message.h"

namespace velcrum::platform {

class BusEndpoint {
 public:
  struct Handlers {
    // A message sent to one of our windows: the window procedure's answer, or nothing when
    // there is no such window here.
    std::function<std::optional<Result>(Hwnd target, Message&& message, pid_t sender)> send;
    // A message posted to one of our windows: to be queued.
    std::function<void(Hwnd target, Message&& message, pid_t sender)> post;
    // A debug monitor (process `monitor`) has attached to the desktop.
    std::function<void(pid_t monitor)> monitorAttached;
    // The last connection to a peer has closed.
    std::function<void(pid_t peer)> peerGone;
    // A line for the system debugger (a refused peer, a dropped frame).
    std::function<void(std::string_view line)> debugLine;
  };

  // kTimedOut: no answer within the bound; kHung: not sent, the peer left an earlier call
  // unanswered and has sent nothing since.
  enum class CallStatus { kAnswered, kNoWindow, kFailed, kTimedOut, kHung };
  struct CallOutcome {
    CallStatus status = CallStatus::kFailed;
    Result result = 0;
  };

  BusEndpoint(std::string dir, Handlers handlers);
  ~BusEndpoint();
  BusEndpoint(const BusEndpoint&) = delete;
  BusEndpoint& operator=(const BusEndpoint&) = delete;

  // Binds and listens on this process's socket.
  bool Open(std::string* error);

  // A descriptor that becomes readable whenever Service has work; the message loop
  // watches it.
  int PollFd() const { return epollFd_; }

  // Does whatever work is ready (accepts, reads and dispatches, flushes outboxes), waiting
  // at most timeoutMs (-1: until something happens).
  void Service(int timeoutMs = 0);

  // Sends a message to a window of process `peer` and waits at most timeoutMs for the
  // answer.
  CallOutcome Call(pid_t peer, Hwnd target, const Message& message, int timeoutMs);

  // Queues a message to a window of process `peer`; false when it cannot be delivered.
  bool Post(pid_t peer, Hwnd target, const Message& message);

  // Tells the process `peer` that the debug monitor of this process has attached (used by
  // the monitor itself, which is otherwise not a bus participant).
  static bool AnnounceMonitor(const std::string& dir, pid_t peer);

  // Frames waiting in all outboxes (for tests).
  size_t QueuedFrames() const;

 private:
  struct Connection {
    uint64_t id = 0;
    int fd = -1;
    pid_t pid = 0;
    std::string input;  // received bytes; frames are taken from `consumed` on
    size_t consumed = 0;
    std::deque<std::string> outbox;  // frames waiting to be written, in order
    size_t outboxBytes = 0;          // their bytes, all told
    size_t written = 0;              // bytes of the first one already written
    bool watchingWrites = false;
  };
  struct PendingCall {
    uint64_t connection = 0;
    bool done = false;
    CallOutcome outcome;
  };

  Connection* Find(uint64_t id);
  uint64_t Add(int fd, pid_t pid);
  void Drop(uint64_t id);
  uint64_t ConnectionTo(pid_t peer);
  void AcceptAll();
  // Out of descriptors: stop watching the listening socket until the pause timer fires.
  void PauseAccepting();
  void ResumeAccepting();
  void Read(uint64_t id);
  // Takes one complete frame from the connection's input and handles it; false when no
  // complete frame is there (or the connection is gone).
  bool TakeFrame(uint64_t id);
  void Handle(uint64_t id, Frame&& frame);
  bool Enqueue(uint64_t id, std::string&& packet, bool limited);
  void Flush(uint64_t id);
  void WatchWrites(Connection& connection, bool watch);
  void Say(const std::string& line);

  std::string dir_;
  Handlers handlers_;
  int listenFd_ = -1;
  int epollFd_ = -1;
  int pauseTimerFd_ = -1;          // fires when accepting resumes after a pause
  bool descriptorsShort_ = false;  // accepting has paused since the last connection came in
  std::string socketPath_;
  uint64_t nextConnection_ = 1;
  uint32_t nextCall_ = 0;
  std::map<uint64_t, std::unique_ptr<Connection>> connections_;
  std::map<pid_t, uint64_t> preferred_;  // the connection our frames to a peer go over
  std::map<uint32_t, PendingCall> pending_;
  std::map<uint32_t, uint64_t> givenUp_;  // calls that timed out -> their connection
  std::set<pid_t> hung_;                  // peers that left a call unanswered since they last sent
  std::unique_ptr<char[]> scratch_;  // what one recv brings, before it joins a connection's input
};

}  // namespace velcrum::platform
