// A full disk for a test without mounting one: a file-size limit (RLIMIT_FSIZE) with
// SIGXFSZ ignored makes every write past the limit fail with EFBIG, as writes fail with
// ENOSPC on a full file system, and the process goes on.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace velcrum::testing {

// Sets the limit for its lifetime; the previous limit and SIGXFSZ handling come back
// afterwards. Only files written past `bytes` are affected (the test's own output goes
// to a pipe or the terminal).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, savedHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*savedHandler_)(int) = nullptr;
};

}  // namespace velcrum::testing
