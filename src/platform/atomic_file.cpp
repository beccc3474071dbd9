// Whole-file replacement through a temporary file and rename, and the file lock (see
// atomic_file.h).
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/paths.h"

namespace velcrum {
namespace {

// Closes a descriptor without losing the errno of the failure being reported.
void CloseKeepingErrno(int fd) {
  const int saved = errno;
  close(fd);
  errno = saved;
}

void UnlinkKeepingErrno(const std::string& path) {
  const int saved = errno;
  unlink(path.c_str());
  errno = saved;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// The path a replacement writes to: a symbolic link's target, when it has one.
std::string ReplacedPath(const std::string& hostPath) {
  struct stat info;
  if (lstat(hostPath.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return hostPath;
  char resolved[PATH_MAX];
  if (realpath(hostPath.c_str(), resolved) == nullptr) return hostPath;  // a dangling link
  return resolved;
}

// The directory part of a path, with its slash; empty for a bare name.
std::string DirectoryPrefix(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Creates a new file beside `path` with a name no one else uses (a dot file, so that
// directory listings pass over it), mode 0666 less the umask; -1 with errno set when it
// cannot.
int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
  static std::atomic<unsigned> counter{0};
  const std::string directory = DirectoryPrefix(path);
  const std::string name = path.substr(directory.size());
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%ld.%u.tmp", static_cast<long>(getpid()),
                  counter.fetch_add(1));
    temporary = directory + "." + name + suffix;
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Writes over a device or other file that is not a regular file: it cannot be renamed
// over and has no contents to lose.
FileWrite WriteInPlace(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return FileWrite::kNotOpened;
  if (!WriteAll(fd, bytes)) {
    CloseKeepingErrno(fd);
    return FileWrite::kNotWritten;
  }
  return close(fd) == 0 ? FileWrite::kWritten : FileWrite::kNotWritten;
}

}  // namespace

FileWrite ReplaceFile(const std::string& hostPath, std::string_view bytes) {
  const std::string path = ReplacedPath(hostPath);
  struct stat original;
  const bool exists = stat(path.c_str(), &original) == 0;
  if (exists) {
    if (S_ISDIR(original.st_mode)) {
      errno = EISDIR;
      return FileWrite::kNotOpened;
    }
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return FileWrite::kNotOpened;
    if (!S_ISREG(original.st_mode)) return WriteInPlace(path, bytes);
  }

  std::string temporary;
  const int fd = CreateTemporaryBeside(path, temporary);
  if (fd < 0) return FileWrite::kNotOpened;
  if (exists) {
    // The mode is kept always; the owner only where the process may give files away
    // (otherwise the file is the writer's, as a file it created would be).
    [[maybe_unused]] const int ownerKept = fchown(fd, original.st_uid, original.st_gid);
    fchmod(fd, original.st_mode & 07777);
  }
  if (!WriteAll(fd, bytes) || fsync(fd) != 0) {
    CloseKeepingErrno(fd);
    UnlinkKeepingErrno(temporary);
    return FileWrite::kNotWritten;
  }
  if (close(fd) != 0 || rename(temporary.c_str(), path.c_str()) != 0) {
    UnlinkKeepingErrno(temporary);
    return FileWrite::kNotWritten;
  }
  // The rename itself reaches the disk with the directory. The new contents are already in
  // place for every reader, so a directory that cannot be synced is not a failed write.
  const std::string prefix = DirectoryPrefix(path);
  const std::string directory = prefix.empty() ? "." : prefix;
  if (const int dirFd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dirFd >= 0) {
    fsync(dirFd);
    close(dirFd);
  }
  return FileWrite::kWritten;
}

FileWrite ReplaceWindowsFile(std::string_view windowsPath, std::string_view bytes) {
  const std::string path = HostFilePath(windowsPath);
  if (path.empty()) return FileWrite::kNotOpened;
  return ReplaceFile(path, bytes);
}

FileLock::FileLock(const std::string& hostPath, std::chrono::milliseconds wait) : path_(hostPath) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  auto pause = std::chrono::milliseconds(1);
  while (true) {
    bool created = false;
    int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
      fd = open(path_.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      created = fd >= 0;
    }
    if (fd < 0 && errno != EEXIST) return;  // EEXIST: another writer created it first
    if (fd >= 0) {
      if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // Still the file the path names? A holder before us may have replaced it.
        struct stat locked;
        struct stat named;
        if (fstat(fd, &locked) == 0 && stat(path_.c_str(), &named) == 0 &&
            locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
          fd_ = fd;
          created_ = created;
          return;
        }
      } else if (errno != EWOULDBLOCK) {
        CloseKeepingErrno(fd);
        return;
      }
      close(fd);
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      errno = EWOULDBLOCK;
      return;
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(16));
  }
}

FileLock::~FileLock() {
  if (fd_ < 0) return;
  const int saved = errno;
  if (created_) {
    // Created for this lock and never replaced: remove it while it is still locked, so
    // that a failed write leaves no empty file behind. A waiter then finds the path gone
    // and starts over.
    struct stat locked;
    struct stat named;
    if (fstat(fd_, &locked) == 0 && stat(path_.c_str(), &named) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino && named.st_size == 0) {
      unlink(path_.c_str());
    }
  }
  close(fd_);
  errno = saved;
}

}  // namespace velcrum
