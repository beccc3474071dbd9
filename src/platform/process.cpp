// Starting programs with posix_spawn, and one waiting thread per started program.
#include "platform/process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <thread>

extern char** environ;

namespace velcrum {
namespace {

struct Children {
  std::mutex lock;
  // Started processes whose end is asked for: nothing while running, then the status.
  std::map<pid_t, std::optional<int>> watched;
};

Children& TheChildren() {
  static Children* children = new Children;  // outlives the waiting threads at exit
  return *children;
}

void AwaitEnd(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  Children& children = TheChildren();
  const std::lock_guard hold(children.lock);
  if (auto entry = children.watched.find(pid); entry != children.watched.end()) {
    entry->second = status;
  }
}

}  // namespace

pid_t StartProcess(const std::vector<std::string>& words) {
  if (words.empty()) {
    errno = ENOENT;
    return 0;
  }
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, all;
  sigemptyset(&none);
  sigemptyset(&all);
  for (int signal = 1; signal < NSIG; ++signal) {
    if (signal != SIGKILL && signal != SIGSTOP) sigaddset(&all, signal);
  }
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  Children& children = TheChildren();
  // Held across the start, so that a child that ends at once finds its entry.
  std::unique_lock hold(children.lock);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) {
    errno = error;
    return 0;
  }
  children.watched[pid] = std::nullopt;
  hold.unlock();
  std::thread(AwaitEnd, pid).detach();
  return pid;
}

std::optional<int> EndedProcessStatus(pid_t pid) {
  Children& children = TheChildren();
  const std::lock_guard hold(children.lock);
  const auto entry = children.watched.find(pid);
  return entry == children.watched.end() ? std::nullopt : entry->second;
}

void ForgetProcess(pid_t pid) {
  Children& children = TheChildren();
  const std::lock_guard hold(children.lock);
  children.watched.erase(pid);
}

bool IsInProcessGroup(pid_t pid, pid_t group) {
  return pid > 0 && getpgid(pid) == group;
}

}  // namespace velcrum
