// The floor under any bus over Unix sockets: a forked process that echoes fixed-size
// messages on a stream socket pair, and one round trip through it.
//
// Fork the echo before Qt starts any thread.
#pragma once

#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <functional>

// The socket to the echo process, or -1. inChild runs in the child first (to pin it to a
// CPU, say).
inline int StartSocketEcho(size_t bytes, const std::function<void()>& inChild = {}) {
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return -1;
  if (fork() == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (inChild) inChild();
    close(fds[0]);
    char buffer[1024];
    if (bytes > sizeof buffer) _exit(1);
    for (;;) {
      size_t got = 0;
      while (got < bytes) {
        const ssize_t n = recv(fds[1], buffer + got, bytes - got, 0);
        if (n <= 0) _exit(0);
        got += static_cast<size_t>(n);
      }
      if (send(fds[1], buffer, bytes, 0) != static_cast<ssize_t>(bytes)) _exit(0);
    }
  }
  close(fds[1]);
  return fds[0];
}

// Sends `bytes` of buffer and reads the echo back into it; false when the echo is gone.
inline bool SocketRoundTrip(int fd, char* buffer, size_t bytes) {
  if (send(fd, buffer, bytes, 0) != static_cast<ssize_t>(bytes)) return false;
  size_t got = 0;
  while (got < bytes) {
    const ssize_t n = recv(fd, buffer + got, bytes - got, 0);
    if (n <= 0) return false;
    got += static_cast<size_t>(n);
  }
  return true;
}
