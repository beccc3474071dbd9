// The desktop bus endpoint: sockets, connections, frames in and out, the waiting call.
#include "platform/desktop/bus_endpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/timerfd.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/desktop/desktop_directory.h"

namespace velcrum::platform {
namespace {

constexpr uint64_t kListenerId = 0;
constexpr uint64_t kPauseTimerId = UINT64_MAX;
// Frames a sender may have waiting for one slow peer before further posts fail; the same
// limit Windows puts on a thread's posted-message queue. The bytes are bounded too, for
// posts that carry data.
constexpr size_t kMaxOutbox = 10000;
constexpr size_t kMaxOutboxBytes = 16 << 20;
// Beyond twice that (answers and sends come on top of posts) a peer is taken as one that
// reads nothing of what it is sent, and is disconnected: otherwise a peer that sends and
// never reads the answers makes its receiver hold them all.
constexpr size_t kMaxBacklog = 2 * kMaxOutbox;
constexpr size_t kMaxBacklogBytes = 2 * kMaxOutboxBytes;
// Calls given up that are remembered, so that their late answers are known as such.
constexpr size_t kMaxGivenUp = 1000;
// How long accepting pauses when the process is out of descriptors.
constexpr long kAcceptPauseNs = 100 * 1000000L;
// Room for posts to a peer that is busy for a while.
constexpr int kSendBuffer = 1 << 20;
// How long a call looks for its answer before it sleeps until something arrives.
constexpr long kSpinNs = 50000;
// Bytes read from a connection at a time.
constexpr size_t kReadChunk = 64 * 1024;

bool FillAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// The process and user at the other end of a connected Unix socket.
bool PeerCredentials(int fd, ucred& credentials) {
  socklen_t length = sizeof credentials;
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0;
}

// A connected, non-blocking socket to the process `peer`, or -1.
int ConnectTo(const std::string& dir, pid_t peer) {
  sockaddr_un address;
  if (!FillAddress(BusSocketPath(dir, peer), address)) return -1;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int result;
  do {
    result = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    close(fd);
    return -1;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  return fd;
}

}  // namespace

BusEndpoint::BusEndpoint(std::string dir, Handlers handlers)
    : dir_(std::move(dir)), handlers_(std::move(handlers)) {}

BusEndpoint::~BusEndpoint() {
  handlers_ = Handlers{};  // the owner is going away: tell it nothing more
  while (!connections_.empty()) Drop(connections_.begin()->first);
  if (listenFd_ >= 0) {
    close(listenFd_);
    unlink(socketPath_.c_str());
  }
  if (pauseTimerFd_ >= 0) close(pauseTimerFd_);
  if (epollFd_ >= 0) close(epollFd_);
}

bool BusEndpoint::Open(std::string* error) {
  auto fail = [&](const std::string& what) {
    if (error) *error = "desktop bus: " + what + ": " + std::strerror(errno);
    return false;
  };
  socketPath_ = BusSocketPath(dir_, getpid());
  sockaddr_un address;
  if (!FillAddress(socketPath_, address)) {
    errno = ENAMETOOLONG;
    return fail(socketPath_);
  }
  epollFd_ = epoll_create1(EPOLL_CLOEXEC);
  if (epollFd_ < 0) return fail("epoll");
  listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) return fail("socket");
  // A socket file with our pid can only be left over from an earlier process.
  unlink(socketPath_.c_str());
  if (bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    return fail("bind " + socketPath_);
  }
  chmod(socketPath_.c_str(), 0600);
  if (listen(listenFd_, 128) != 0) return fail("listen");
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.u64 = kListenerId;
  if (epoll_ctl(epollFd_, EPOLL_CTL_ADD, listenFd_, &event) != 0) return fail("epoll_ctl");
  // Made now: once descriptors run out there would be none for it.
  pauseTimerFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
  if (pauseTimerFd_ < 0) return fail("timerfd");
  event.data.u64 = kPauseTimerId;
  if (epoll_ctl(epollFd_, EPOLL_CTL_ADD, pauseTimerFd_, &event) != 0) return fail("epoll_ctl");
  return true;
}

void BusEndpoint::Say(const std::string& line) {
  if (handlers_.debugLine) handlers_.debugLine(line);
}

BusEndpoint::Connection* BusEndpoint::Find(uint64_t id) {
  const auto it = connections_.find(id);
  return it == connections_.end() ? nullptr : it->second.get();
}

uint64_t BusEndpoint::Add(int fd, pid_t pid) {
  const int sendBuffer = kSendBuffer;
  setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
  auto connection = std::make_unique<Connection>();
  connection->id = nextConnection_++;
  connection->fd = fd;
  connection->pid = pid;
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.u64 = connection->id;
  if (epoll_ctl(epollFd_, EPOLL_CTL_ADD, fd, &event) != 0) {
    close(fd);
    return 0;
  }
  const uint64_t id = connection->id;
  connections_.emplace(id, std::move(connection));
  preferred_.try_emplace(pid, id);
  return id;
}

void BusEndpoint::Drop(uint64_t id) {
  const auto it = connections_.find(id);
  if (it == connections_.end()) return;
  std::unique_ptr<Connection> connection = std::move(it->second);
  connections_.erase(it);
  epoll_ctl(epollFd_, EPOLL_CTL_DEL, connection->fd, nullptr);
  close(connection->fd);

  // Calls waiting on this connection end now, unanswered.
  for (auto& [callId, call] : pending_) {
    if (call.connection == id && !call.done) {
      call.done = true;
      call.outcome = CallOutcome{CallStatus::kFailed, 0};
    }
  }
  std::erase_if(givenUp_, [id](const auto& item) { return item.second == id; });
  const pid_t pid = connection->pid;
  bool another = false;
  if (preferred_.count(pid) && preferred_[pid] == id) preferred_.erase(pid);
  for (const auto& [otherId, other] : connections_) {
    if (other->pid == pid) {
      preferred_.try_emplace(pid, otherId);
      another = true;
    }
  }
  if (another) return;
  hung_.erase(pid);
  if (handlers_.peerGone) handlers_.peerGone(pid);
}

uint64_t BusEndpoint::ConnectionTo(pid_t peer) {
  if (const auto it = preferred_.find(peer); it != preferred_.end()) return it->second;
  const int fd = ConnectTo(dir_, peer);
  if (fd < 0) return 0;
  ucred credentials{};
  if (!PeerCredentials(fd, credentials) || credentials.uid != geteuid()) {
    Say("desktop bus: refused to talk to process " + std::to_string(peer) +
        ": its socket belongs to another user");
    close(fd);
    return 0;
  }
  return Add(fd, peer);
}

void BusEndpoint::AcceptAll() {
  for (;;) {
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      // The connection stays in the backlog, so the socket stays readable: without a pause
      // the loop would come straight back here.
      if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
        PauseAccepting();
      }
      return;
    }
    if (descriptorsShort_) {
      descriptorsShort_ = false;
      Say("desktop bus: accepting connections again");
    }
    ucred credentials{};
    if (!PeerCredentials(fd, credentials) || credentials.uid != geteuid()) {
      Say("desktop bus: refused a connection from process " + std::to_string(credentials.pid) +
          " of user " + std::to_string(credentials.uid));
      close(fd);
      continue;
    }
    Add(fd, credentials.pid);
  }
}

void BusEndpoint::PauseAccepting() {
  const int error = errno;
  epoll_event event{};
  event.events = 0;
  event.data.u64 = kListenerId;
  epoll_ctl(epollFd_, EPOLL_CTL_MOD, listenFd_, &event);
  itimerspec pause{};
  pause.it_value.tv_nsec = kAcceptPauseNs;
  timerfd_settime(pauseTimerFd_, 0, &pause, nullptr);
  if (!descriptorsShort_) {
    descriptorsShort_ = true;
    Say(std::string("desktop bus: cannot accept connections (") + std::strerror(error) +
        "); trying again every " + std::to_string(kAcceptPauseNs / 1000000) + " ms");
  }
}

void BusEndpoint::ResumeAccepting() {
  uint64_t expirations = 0;
  [[maybe_unused]] const ssize_t n = read(pauseTimerFd_, &expirations, sizeof expirations);
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.u64 = kListenerId;
  epoll_ctl(epollFd_, EPOLL_CTL_MOD, listenFd_, &event);
}

void BusEndpoint::Read(uint64_t id) {
  Connection* connection = Find(id);
  if (!connection) return;
  // Into the scratch buffer, then appended: growing the input string itself would clear
  // the whole chunk on every read, for a frame of a few hundred bytes.
  if (!scratch_) scratch_ = std::make_unique_for_overwrite<char[]>(kReadChunk);
  ssize_t n;
  do {
    n = recv(connection->fd, scratch_.get(), kReadChunk, MSG_DONTWAIT);
  } while (n < 0 && errno == EINTR);
  if (n > 0) {
    connection->input.append(scratch_.get(), static_cast<size_t>(n));
    // Whatever comes from a peer shows it is running again.
    if (!hung_.empty()) hung_.erase(connection->pid);
  }
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
  if (n <= 0) {
    // The peer has closed (or its end failed). Whole frames before the end still count.
    while (TakeFrame(id)) {
    }
    connection = Find(id);
    if (connection && connection->input.size() > connection->consumed) {
      Say("desktop bus: dropped a truncated frame of " +
          std::to_string(connection->input.size() - connection->consumed) + " bytes from process " +
          std::to_string(connection->pid) + " (it closed mid-frame)");
    }
    Drop(id);
    return;
  }
  while (TakeFrame(id)) {
  }
}

bool BusEndpoint::TakeFrame(uint64_t id) {
  Connection* connection = Find(id);
  if (!connection) return false;
  const std::string_view available =
      std::string_view(connection->input).substr(connection->consumed);
  if (available.size() < kFrameHeaderBytes) return false;
  std::string why;
  const std::optional<size_t> size = FrameSize(available, &why);
  if (!size) {
    Say("desktop bus: dropped a malformed frame from process " + std::to_string(connection->pid) +
        ": " + why + "; closing the connection");
    Drop(id);
    return false;
  }
  if (available.size() < *size) return false;  // the rest is still on its way

  std::optional<Frame> frame = DecodeFrame(available.substr(0, *size), &why);
  // Take the frame out before handling it: the handler may read this connection again.
  connection->consumed += *size;
  if (connection->consumed == connection->input.size()) {
    connection->input.clear();
    connection->consumed = 0;
  } else if (connection->consumed > kReadChunk) {
    connection->input.erase(0, connection->consumed);
    connection->consumed = 0;
  }
  if (!frame) {
    Say("desktop bus: dropped a malformed frame of " + std::to_string(*size) +
        " bytes from process " + std::to_string(connection->pid) + ": " + why);
    return true;
  }
  Handle(id, std::move(*frame));
  return true;
}

void BusEndpoint::Handle(uint64_t id, Frame&& frame) {
  const pid_t pid = Find(id)->pid;
  switch (frame.kind) {
    case FrameKind::kSend: {
      std::optional<Result> result;
      if (handlers_.send) result = handlers_.send(frame.target, std::move(frame.message), pid);
      Frame reply;
      reply.kind = FrameKind::kReply;
      reply.callId = frame.callId;
      reply.status = result ? ReplyStatus::kAnswered : ReplyStatus::kNoWindow;
      reply.message.lParam = result.value_or(0);
      // The caller may have gone meanwhile; then there is no one to answer.
      if (Find(id)) Enqueue(id, EncodeFrame(reply), false);
      break;
    }
    case FrameKind::kPost:
      if (handlers_.post) handlers_.post(frame.target, std::move(frame.message), pid);
      break;
    case FrameKind::kReply: {
      if (const auto late = givenUp_.find(frame.callId);
          late != givenUp_.end() && late->second == id) {
        givenUp_.erase(late);
        Say("desktop bus: process " + std::to_string(pid) +
            " answered a send after it was given up; the answer is dropped");
        break;
      }
      const auto it = pending_.find(frame.callId);
      if (it == pending_.end() || it->second.connection != id || it->second.done) {
        Say("desktop bus: dropped a reply nobody waits for, from process " + std::to_string(pid));
        break;
      }
      it->second.done = true;
      it->second.outcome = CallOutcome{
          frame.status == ReplyStatus::kAnswered ? CallStatus::kAnswered : CallStatus::kNoWindow,
          frame.message.lParam};
      break;
    }
    case FrameKind::kMonitor:
      if (handlers_.monitorAttached) handlers_.monitorAttached(pid);
      break;
  }
}

bool BusEndpoint::Enqueue(uint64_t id, std::string&& packet, bool limited) {
  Connection* connection = Find(id);
  if (!connection) return false;
  const size_t frames = connection->outbox.size();
  const size_t bytes = connection->outboxBytes + packet.size();
  if (limited && (frames >= kMaxOutbox || bytes > kMaxOutboxBytes)) return false;
  if (frames >= kMaxBacklog || bytes > kMaxBacklogBytes) {
    Say("desktop bus: process " + std::to_string(connection->pid) +
        " reads nothing of what is sent to it (" + std::to_string(frames) + " frames, " +
        std::to_string(connection->outboxBytes) + " bytes waiting); closing the connection");
    Drop(id);
    return false;
  }
  connection->outboxBytes += packet.size();
  connection->outbox.push_back(std::move(packet));
  if (connection->outbox.size() == 1) Flush(id);
  return Find(id) != nullptr;
}

void BusEndpoint::Flush(uint64_t id) {
  Connection* connection = Find(id);
  while (connection && !connection->outbox.empty()) {
    const std::string& packet = connection->outbox.front();
    const ssize_t n = send(connection->fd, packet.data() + connection->written,
                           packet.size() - connection->written, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) break;
      Drop(id);
      return;
    }
    connection->written += static_cast<size_t>(n);
    if (connection->written == packet.size()) {
      connection->outboxBytes -= packet.size();
      connection->outbox.pop_front();
      connection->written = 0;
    }
  }
  if (connection) WatchWrites(*connection, !connection->outbox.empty());
}

void BusEndpoint::WatchWrites(Connection& connection, bool watch) {
  if (connection.watchingWrites == watch) return;
  epoll_event event{};
  event.events = watch ? (EPOLLIN | EPOLLOUT) : EPOLLIN;
  event.data.u64 = connection.id;
  epoll_ctl(epollFd_, EPOLL_CTL_MOD, connection.fd, &event);
  connection.watchingWrites = watch;
}

void BusEndpoint::Service(int timeoutMs) {
  epoll_event events[16];
  const int count = epoll_wait(epollFd_, events, 16, timeoutMs);
  for (int i = 0; i < count; ++i) {
    const uint64_t id = events[i].data.u64;
    if (id == kListenerId) {
      AcceptAll();
      continue;
    }
    if (id == kPauseTimerId) {
      ResumeAccepting();
      continue;
    }
    if (events[i].events & EPOLLOUT) Flush(id);
    if (events[i].events & (EPOLLIN | EPOLLHUP | EPOLLERR)) Read(id);
  }
}

BusEndpoint::CallOutcome BusEndpoint::Call(pid_t peer, Hwnd target, const Message& message,
                                           int timeoutMs) {
  if (hung_.count(peer)) return {CallStatus::kHung, 0};
  const uint64_t id = ConnectionTo(peer);
  if (!id) return {};
  if (++nextCall_ == 0) ++nextCall_;
  const uint32_t callId = nextCall_;
  pending_[callId] = PendingCall{id, false, {}};

  Frame frame;
  frame.kind = FrameKind::kSend;
  frame.callId = callId;
  frame.target = target;
  frame.message = message;
  bool timedOut = false;
  if (Enqueue(id, EncodeFrame(frame), false)) {
    // Wait, dispatching what others send us meanwhile, until the answer comes, the
    // connection is gone (Drop ends the call) or the bound has passed. An answer usually
    // comes within microseconds; looking again for a short while (yielding the processor
    // to the peer meanwhile) spares the cost of falling asleep and being woken.
    const long boundNs = static_cast<long>(std::max(timeoutMs, 0)) * 1000000L;
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    while (!pending_[callId].done) {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      const long elapsedNs =
          (now.tv_sec - start.tv_sec) * 1000000000L + (now.tv_nsec - start.tv_nsec);
      if (elapsedNs >= boundNs) {
        // What we dispatched meanwhile may have taken the time: an answer already there
        // still counts.
        Service(0);
        timedOut = !pending_[callId].done;
        break;
      }
      if (elapsedNs < kSpinNs) {
        Service(0);
        if (!pending_[callId].done) sched_yield();
      } else {
        Service(static_cast<int>((boundNs - elapsedNs + 999999) / 1000000));
      }
    }
  }
  CallOutcome outcome = pending_[callId].outcome;
  pending_.erase(callId);
  if (timedOut) {
    outcome = CallOutcome{CallStatus::kTimedOut, 0};
    hung_.insert(peer);
    if (givenUp_.size() >= kMaxGivenUp) givenUp_.erase(givenUp_.begin());
    givenUp_[callId] = id;
  }
  return outcome;
}

bool BusEndpoint::Post(pid_t peer, Hwnd target, const Message& message) {
  const uint64_t id = ConnectionTo(peer);
  if (!id) return false;
  Frame frame;
  frame.kind = FrameKind::kPost;
  frame.target = target;
  frame.message = message;
  return Enqueue(id, EncodeFrame(frame), true);
}

bool BusEndpoint::AnnounceMonitor(const std::string& dir, pid_t peer) {
  const int fd = ConnectTo(dir, peer);
  if (fd < 0) return false;
  Frame frame;
  frame.kind = FrameKind::kMonitor;
  const std::string packet = EncodeFrame(frame);
  const bool sent = send(fd, packet.data(), packet.size(), MSG_DONTWAIT | MSG_NOSIGNAL) ==
                    static_cast<ssize_t>(packet.size());
  close(fd);
  return sent;
}

size_t BusEndpoint::QueuedFrames() const {
  size_t total = 0;
  for (const auto& [id, connection] : connections_) total += connection->outbox.size();
  return total;
}

}  // namespace velcrum::platform
