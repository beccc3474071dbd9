// Waiting for a window to be registered on a desktop: its entry file ("w" and four
// hexadecimal digits) appears in the desktop directory.
#pragma once

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>

// `watch` is an inotify descriptor watching the desktop directory for IN_CREATE. False
// when `count` window entries have not appeared within ten seconds (the process failed to
// start).
inline bool AwaitWindowEntries(int watch, int count) {
  alignas(inotify_event) char events[4096];
  for (;;) {
    pollfd ready{watch, POLLIN, 0};
    if (poll(&ready, 1, 10000) != 1) return false;
    const ssize_t n = read(watch, events, sizeof events);
    if (n <= 0) return false;
    for (ssize_t at = 0; at < n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(events + at);
      if (event->len && event->name[0] == 'w' && std::strlen(event->name) == 5 && --count == 0) {
        return true;
      }
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
}

inline bool AwaitWindowEntry(int watch) {
  return AwaitWindowEntries(watch, 1);
}
