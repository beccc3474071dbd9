// Files written whole or not at all, and the lock that serialises changing one.
//
// A writer that replaces a file (a profile write, SW, MW) must never leave a cut or empty
// file where a complete one stood, whatever goes wrong while it writes: a full disk, a
// file-size limit, the process killed half way. So the new contents go to a temporary
// file in the same directory, are flushed to the disk, and only then renamed over the
// original; readers see the old contents or the new ones, never a part. Writers that
// append (TW, the log file) append in place and do not use this.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace velcrum {

// How a replacement ended. kNotOpened: nothing could be created where the file is (a
// missing directory, a directory of that name, no permission); kNotWritten: the new
// contents could not be written or put in place (a full disk, for example).
enum class FileWrite { kWritten, kNotOpened, kNotWritten };

// Replaces the contents of the file at a host path by `bytes`. The file keeps its
// permission bits (and, where the process may, its owner); a new file gets 0666 less the
// umask, as fopen would give it. A symbolic link is followed and its target replaced. A
// path that names something other than a regular file (a device such as /dev/null) is
// written in place. A file that exists but may not be written is refused (EACCES), as
// opening it for writing would be. On failure the file is as it was, no temporary file
// is left, and errno tells why.
FileWrite ReplaceFile(const std::string& hostPath, std::string_view bytes);

// The same for a Windows path, mapped as OpenWindowsFile maps it; a name that
// OpenWindowsFile refuses is kNotOpened with EINVAL.
FileWrite ReplaceWindowsFile(std::string_view windowsPath, std::string_view bytes);

// An exclusive advisory lock (flock) on the file at a host path, held from construction
// to destruction, so that read-modify-write cycles of several processes or threads on one
// file follow each other instead of losing each other's changes. Every process that
// changes the file must take it; readers need not, since replacements are atomic.
//
// The lock is on the file itself. A waiter that gets it after the holder replaced the
// file holds a lock on the old file, so it checks that the path still names the file it
// locked and otherwise tries again. A missing file is created empty to be locked; when
// the lock ends and the file is still that empty file (the write that wanted it failed),
// it is removed again, so a failed write leaves no file where there was none.
class FileLock {
 public:
  // Waits up to `wait` for the lock. Locked() tells whether it was got; errno tells why
  // not (EWOULDBLOCK when the wait ran out).
  FileLock(const std::string& hostPath, std::chrono::milliseconds wait);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool Locked() const { return fd_ >= 0; }

 private:
  std::string path_;
  int fd_ = -1;
  bool created_ = false;  // this lock created the file
};

}  // namespace velcrum
