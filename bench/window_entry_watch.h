// Waiting for a window to be registered on a desktop: its entry file ("w" and four
// hexadecimal digits) appears in the desktop directory; starting a program to time how
// long that takes; and nxi's start, the baseline the start-up benchmarks compare with.
#pragma once

#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

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

// Starts the program with standard error into `errorFile` and waits until `windows`
// window entries have appeared in the desktop directory `desktop`. The seconds taken, or a
// negative number when that did not happen.
inline double StartUntilWindows(const std::string& program, const std::string& desktop,
                                const std::string& errorFile, int windows, pid_t& child) {
  const int watch = inotify_init1(IN_CLOEXEC);
  inotify_add_watch(watch, desktop.c_str(), IN_CREATE);
  const auto start = std::chrono::steady_clock::now();
  child = fork();
  if (child == 0) {
    std::freopen(errorFile.c_str(), "w", stderr);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const bool registered = AwaitWindowEntries(watch, windows);
  const auto end = std::chrono::steady_clock::now();
  close(watch);
  return registered ? std::chrono::duration<double>(end - start).count() : -1;
}

// One benchmark iteration per start of nxi until its window is registered; nxi is ended
// after each.
inline void TimeNxiStarts(benchmark::State& state, const std::string& nxi,
                          const std::string& desktop, const std::string& errorFile) {
  for (auto _ : state) {
    pid_t child = 0;
    const double seconds = StartUntilWindows(nxi, desktop, errorFile, 1, child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    if (seconds < 0) {
      state.SkipWithError("nxi did not start");
      break;
    }
    state.SetIterationTime(seconds);
  }
}
