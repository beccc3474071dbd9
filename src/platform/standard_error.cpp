// Lines to standard error.
#include "platform/standard_error.h"

#include <unistd.h>

#include <cerrno>

namespace velcrum::platform {

void WriteStandardErrorLine(std::string_view line) {
  while (!line.empty()) {
    const ssize_t n = write(STDERR_FILENO, line.data(), line.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    line.remove_prefix(static_cast<size_t>(n));
  }
}

}  // namespace velcrum::platform
