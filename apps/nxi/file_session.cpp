// Copying the files of a file session.
#include "file_session.h"

#include <cerrno>
#include <cstdio>

#include "platform/paths.h"

namespace velcrum::nxi {

int CopySessionFile(std::string_view from, std::string_view to) {
  if (!WindowsPathExists(from)) return kSessionFileNotFound;
  std::FILE* in = OpenWindowsFile(from, "rb");
  if (!in) return kSessionUnableToOpen;
  std::FILE* out = OpenWindowsFile(to, "wb");
  if (!out) {
    std::fclose(in);
    return kSessionUnableToOpen;
  }
  int code = kSessionSuccess;
  char buffer[65536];
  for (;;) {
    const size_t n = std::fread(buffer, 1, sizeof buffer, in);
    if (n > 0 && std::fwrite(buffer, 1, n, out) != n) {
      code = errno == ENOSPC ? kSessionDiskFull : kSessionWriteError;
      break;
    }
    if (n < sizeof buffer) {
      if (std::ferror(in)) code = kSessionReadError;
      break;
    }
  }
  std::fclose(in);
  if (std::fclose(out) != 0 && code == kSessionSuccess) {
    code = errno == ENOSPC ? kSessionDiskFull : kSessionWriteError;
  }
  if (code != kSessionSuccess) DeleteWindowsFile(to);
  return code;
}

}  // namespace velcrum::nxi
