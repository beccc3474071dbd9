// Fuzzes the desktop bus from a peer's side: the input's bytes arrive on a connection to a
// fresh endpoint in pieces of a size the first byte chooses, optionally while the
// endpoint waits in a call to that peer. Every frame must be taken apart or refused, the
// connection must end exactly once, nothing may stay queued for it, and whatever the
// endpoint writes back must be sound frames.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/scratch_drive.h"
#include "platform/desktop/bus_endpoint.h"
#include "platform/desktop/bus_frame.h"
#include "platform/desktop/desktop_directory.h"

namespace {

using velcrum::platform::BusEndpoint;

int ConnectTo(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) std::abort();
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    std::abort();
  }
  return fd;
}

// Everything the endpoint wrote to the peer, checked frame by frame.
void CheckWhatCameBack(int fd) {
  std::string received;
  char buffer[4096];
  ssize_t n;
  while ((n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0) received.append(buffer, n);
  std::string_view rest = received;
  while (!rest.empty()) {
    const std::optional<size_t> size = velcrum::platform::FrameSize(rest, nullptr);
    if (!size || *size > rest.size()) std::abort();
    if (!velcrum::platform::DecodeFrame(rest.substr(0, *size), nullptr)) std::abort();
    rest.remove_prefix(*size);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const std::string dir = (velcrum::fuzzing::ScratchDrive() / "desktop").string();
  std::filesystem::create_directories(dir);

  int ends = 0;
  BusEndpoint::Handlers handlers;
  handlers.send = [](velcrum::platform::Hwnd target, velcrum::platform::Message&& message,
                     pid_t) -> std::optional<velcrum::platform::Result> {
    if (target % 2 == 0) return std::nullopt;  // no such window here
    return static_cast<velcrum::platform::Result>(message.wParam + message.data.size());
  };
  handlers.peerGone = [&ends](pid_t) { ++ends; };
  BusEndpoint endpoint(dir, std::move(handlers));
  if (!endpoint.Open(nullptr)) std::abort();

  const int peer = ConnectTo(velcrum::platform::BusSocketPath(dir, getpid()));
  endpoint.Service(0);  // accepts the peer, whose connection our calls then go over
  const size_t piece = 1 + (data[0] & 0x3F) * 8;
  const bool calling = (data[0] & 0x40) != 0;
  for (size_t at = 1; at < size; at += piece) {
    const size_t length = std::min(piece, size - at);
    if (send(peer, data + at, length, MSG_NOSIGNAL) < 0) break;  // the endpoint hung up
    if (!calling) endpoint.Service(0);
  }
  if (calling) {
    // The answer can only be among the bytes sent; the end of them ends the wait.
    shutdown(peer, SHUT_WR);
    // Bounded all the same, so that a stalled input cannot hang the fuzzer.
    endpoint.Call(getpid(), 1, velcrum::platform::Message::Plain(velcrum::platform::WM_USER), 1000);
  } else {
    shutdown(peer, SHUT_WR);
  }
  for (int round = 0; round < 1000 && ends == 0; ++round) endpoint.Service(0);
  if (ends != 1 || endpoint.QueuedFrames() != 0) std::abort();
  CheckWhatCameBack(peer);
  close(peer);
  return 0;
}
