// The window registry: entry files, handle claims, stale clean-up.
#include "platform/desktop/window_registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QString>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <map>

#include "platform/ascii_case.h"
#include "platform/desktop/desktop_directory.h"

namespace velcrum::platform {
namespace {

constexpr std::string_view kEntryHeader = "velcrum-window 1\n";
// No entry file is anywhere near this; a larger one is not an entry.
constexpr size_t kMaxEntryBytes = 64 * 1024;

enum class FileRead { kRead, kMissing, kNotAnEntry, kFailed };

// Reads a whole small file. A file too large to be an entry reads as kNotAnEntry.
FileRead ReadSmallFile(const std::string& path, std::string& text) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? FileRead::kMissing : FileRead::kFailed;
  text.clear();
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || text.size() + static_cast<size_t>(n) > kMaxEntryBytes) {
      close(fd);
      return n < 0 ? FileRead::kFailed : FileRead::kNotAnEntry;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return FileRead::kRead;
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// "w" and four lower-case hexadecimal digits: the handle, or 0.
Hwnd HandleFromName(std::string_view name) {
  if (name.size() != 5 || name[0] != 'w') return kNoWindow;
  Hwnd hwnd = 0;
  for (char c : name.substr(1)) {
    const bool digit = c >= '0' && c <= '9';
    if (!digit && !(c >= 'a' && c <= 'f')) return kNoWindow;
    hwnd = hwnd * 16 + static_cast<Hwnd>(digit ? c - '0' : c - 'a' + 10);
  }
  return hwnd <= kHighestHandle ? hwnd : kNoWindow;
}

// The pid in a name "<prefix><pid><suffix>", or 0.
pid_t PidFromName(std::string_view name, std::string_view prefix, std::string_view suffix) {
  if (!name.starts_with(prefix) || !name.ends_with(suffix)) return 0;
  name = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  pid_t pid = 0;
  return ParseNumber(name, pid) ? pid : 0;
}

bool Alive(const WindowInfo& entry) {
  // Without /proc the start time is unknown (0) and only the pid can be checked.
  return entry.startTime == 0 ? ProcessIdInUse(entry.pid)
                              : ProcessAlive(entry.pid, entry.startTime);
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Holds the desktop's lock file locked for as long as it lives.
class DesktopLock {
 public:
  explicit DesktopLock(const std::string& dir)
      : fd_(open((dir + "/lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_ >= 0) {
      while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }
  ~DesktopLock() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
  }
  DesktopLock(const DesktopLock&) = delete;
  DesktopLock& operator=(const DesktopLock&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::string FormatEntry(const WindowInfo& entry) {
  std::string text(kEntryHeader);
  text += "pid " + std::to_string(entry.pid) + "\n";
  text += "start " + std::to_string(entry.startTime) + "\n";
  text += "order " + std::to_string(entry.order) + "\n";
  text += entry.topLevel ? "kind top\n" : "kind message\n";
  text += "title ";
  text += entry.title;  // to the end of the file, so any bytes may stand in a title
  return text;
}

std::optional<WindowInfo> ParseEntry(Hwnd hwnd, std::string_view text) {
  if (!text.starts_with(kEntryHeader)) return std::nullopt;
  text.remove_prefix(kEntryHeader.size());
  auto field = [&](std::string_view key) -> std::optional<std::string_view> {
    if (!text.starts_with(key) || text.size() <= key.size() || text[key.size()] != ' ') {
      return std::nullopt;
    }
    text.remove_prefix(key.size() + 1);
    const size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view value = text.substr(0, end);
    text.remove_prefix(end + 1);
    return value;
  };
  WindowInfo entry;
  entry.hwnd = hwnd;
  const auto pid = field("pid");
  const auto start = field("start");
  const auto order = field("order");
  const auto kind = field("kind");
  if (!pid || !ParseNumber(*pid, entry.pid) || entry.pid <= 0) return std::nullopt;
  if (!start || !ParseNumber(*start, entry.startTime)) return std::nullopt;
  if (!order || !ParseNumber(*order, entry.order)) return std::nullopt;
  if (!kind || (*kind != "top" && *kind != "message")) return std::nullopt;
  entry.topLevel = *kind == "top";
  if (!text.starts_with("title ")) return std::nullopt;
  entry.title.assign(text.substr(6));
  return entry;
}

bool TitlesMatch(std::string_view a, std::string_view b) {
  if (IsAscii(a) && IsAscii(b)) return EqualNoCase(a, b);
  QStringDecoder decodeA(QStringDecoder::Utf8);
  QStringDecoder decodeB(QStringDecoder::Utf8);
  const QString textA = decodeA(QByteArrayView(a.data(), static_cast<qsizetype>(a.size())));
  const QString textB = decodeB(QByteArrayView(b.data(), static_cast<qsizetype>(b.size())));
  if (decodeA.hasError() || decodeB.hasError()) return EqualNoCase(a, b);
  return textA.compare(textB, Qt::CaseInsensitive) == 0;
}

WindowRegistry::WindowRegistry(std::string dir)
    : dir_(std::move(dir)), pid_(getpid()), startTime_(ProcessStartTime(pid_).value_or(0)) {}

std::string WindowRegistry::EntryPath(Hwnd hwnd) const {
  char name[8];
  std::snprintf(name, sizeof name, "w%04x", hwnd & 0xFFFF);
  return dir_ + "/" + name;
}

std::string WindowRegistry::WriteTemporary(const WindowInfo& entry) {
  const std::string path =
      dir_ + "/t" + std::to_string(pid_) + "." + std::to_string(++temporaries_);
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return {};
  const bool written = WriteAll(fd, FormatEntry(entry));
  close(fd);
  if (!written) {
    unlink(path.c_str());
    return {};
  }
  return path;
}

std::optional<WindowInfo> WindowRegistry::ReadEntry(Hwnd hwnd, bool* unreadable) {
  std::string text;
  const FileRead read = ReadSmallFile(EntryPath(hwnd), text);
  std::optional<WindowInfo> entry;
  if (read == FileRead::kRead) entry = ParseEntry(hwnd, text);
  *unreadable = read == FileRead::kNotAnEntry || (read == FileRead::kRead && !entry);
  return entry;
}

void WindowRegistry::ReclaimIfStale(Hwnd hwnd) {
  DesktopLock lock(dir_);
  if (lock.fd() < 0) return;
  // Look again under the lock: only a reclaimer removes someone else's entry, and the name
  // cannot be claimed afresh while it exists, so what is read now is what gets removed.
  bool unreadable = false;
  const std::optional<WindowInfo> entry = ReadEntry(hwnd, &unreadable);
  if (unreadable || (entry && !Alive(*entry))) unlink(EntryPath(hwnd).c_str());
}

std::optional<uint64_t> WindowRegistry::NextOrder() {
  DesktopLock lock(dir_);
  if (lock.fd() < 0) return std::nullopt;
  char buffer[32] = {};
  const ssize_t n = pread(lock.fd(), buffer, sizeof buffer - 1, 0);
  uint64_t last = 0;
  if (n > 0) {
    std::string_view text(buffer, static_cast<size_t>(n));
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
    if (!ParseNumber(text, last)) last = 0;
  }
  const std::string next = std::to_string(last + 1) + "\n";
  if (pwrite(lock.fd(), next.data(), next.size(), 0) != static_cast<ssize_t>(next.size()) ||
      ftruncate(lock.fd(), static_cast<off_t>(next.size())) != 0) {
    return std::nullopt;
  }
  return last + 1;
}

std::optional<WindowInfo> WindowRegistry::Register(bool topLevel, std::string_view title) {
  const std::optional<uint64_t> order = NextOrder();
  if (!order) return std::nullopt;
  WindowInfo entry{kNoWindow, pid_, startTime_, *order, topLevel, std::string(title)};
  const std::string temporary = WriteTemporary(entry);
  if (temporary.empty()) return std::nullopt;

  // Start where the creation counter points, so that handles go round the whole range
  // before one is used again and a message meant for a closed window does not reach a new
  // one; concurrent starters also begin at different handles.
  std::optional<WindowInfo> claimed;
  for (uint32_t attempt = 0; attempt < kHighestHandle && !claimed; ++attempt) {
    const Hwnd hwnd = static_cast<Hwnd>((*order - 1 + attempt) % kHighestHandle) + 1;
    const std::string path = EntryPath(hwnd);
    for (int tries = 0; tries < 3 && !claimed; ++tries) {
      if (link(temporary.c_str(), path.c_str()) == 0) {
        entry.hwnd = hwnd;
        claimed = entry;
        break;
      }
      if (errno != EEXIST) {
        unlink(temporary.c_str());
        return std::nullopt;
      }
      bool unreadable = false;
      const std::optional<WindowInfo> holder = ReadEntry(hwnd, &unreadable);
      if (holder && Alive(*holder)) break;  // taken: try the next handle
      // A dead holder or garbage is removed; a holder that vanished meanwhile needs nothing.
      if (holder || unreadable) ReclaimIfStale(hwnd);
    }
  }
  unlink(temporary.c_str());
  return claimed;
}

bool WindowRegistry::SetTitle(const WindowInfo& entry, std::string_view title) {
  WindowInfo changed = entry;
  changed.title.assign(title);
  const std::string temporary = WriteTemporary(changed);
  if (temporary.empty()) return false;
  if (rename(temporary.c_str(), EntryPath(entry.hwnd).c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

void WindowRegistry::Unregister(Hwnd hwnd) {
  bool unreadable = false;
  const std::optional<WindowInfo> entry = ReadEntry(hwnd, &unreadable);
  if (entry && entry->pid == pid_ && entry->startTime == startTime_) {
    unlink(EntryPath(hwnd).c_str());
  }
}

std::optional<WindowInfo> WindowRegistry::Lookup(Hwnd hwnd) {
  if (hwnd == kNoWindow || hwnd > kHighestHandle) return std::nullopt;
  bool unreadable = false;
  std::optional<WindowInfo> entry = ReadEntry(hwnd, &unreadable);
  if (unreadable || (entry && !Alive(*entry))) {
    ReclaimIfStale(hwnd);
    return std::nullopt;
  }
  return entry;
}

std::vector<WindowInfo> WindowRegistry::List() {
  std::vector<WindowInfo> live;
  std::vector<Hwnd> stale;
  std::vector<std::string> leftovers;
  std::map<std::pair<pid_t, uint64_t>, bool> alive;
  std::map<pid_t, bool> pidInUse;
  auto inUse = [&](pid_t pid) {
    auto [it, added] = pidInUse.try_emplace(pid, false);
    if (added) it->second = ProcessIdInUse(pid);
    return it->second;
  };

  DIR* directory = opendir(dir_.c_str());
  if (!directory) return live;
  while (const dirent* item = readdir(directory)) {
    const std::string_view name = item->d_name;
    if (const Hwnd hwnd = HandleFromName(name); hwnd != kNoWindow) {
      bool unreadable = false;
      std::optional<WindowInfo> entry = ReadEntry(hwnd, &unreadable);
      if (!entry) {
        if (unreadable) stale.push_back(hwnd);
        continue;
      }
      auto [it, added] = alive.try_emplace({entry->pid, entry->startTime}, false);
      if (added) it->second = Alive(*entry);
      if (it->second) {
        live.push_back(std::move(*entry));
      } else {
        stale.push_back(hwnd);
      }
      continue;
    }
    // Files named after a process that no longer exists at all are leftovers of a crash.
    pid_t pid = PidFromName(name, "p", ".sock");
    if (!pid) pid = PidFromName(name, "m", ".mon");
    if (!pid && name.starts_with('t') && name.find('.') != std::string_view::npos) {
      pid = PidFromName(name.substr(0, name.find('.') + 1), "t", ".");
    }
    if (pid && !inUse(pid)) leftovers.push_back(dir_ + "/" + std::string(name));
  }
  closedir(directory);

  for (Hwnd hwnd : stale) ReclaimIfStale(hwnd);
  for (const std::string& path : leftovers) unlink(path.c_str());
  std::sort(live.begin(), live.end(), [](const WindowInfo& a, const WindowInfo& b) {
    return a.order != b.order ? a.order < b.order : a.hwnd < b.hwnd;
  });
  return live;
}

void WindowRegistry::RemoveEntriesOf(pid_t pid) {
  DIR* directory = opendir(dir_.c_str());
  if (!directory) return;
  std::vector<Hwnd> theirs;
  while (const dirent* item = readdir(directory)) {
    const Hwnd hwnd = HandleFromName(item->d_name);
    if (hwnd == kNoWindow) continue;
    bool unreadable = false;
    const std::optional<WindowInfo> entry = ReadEntry(hwnd, &unreadable);
    if (entry && entry->pid == pid) theirs.push_back(hwnd);
  }
  closedir(directory);
  for (Hwnd hwnd : theirs) ReclaimIfStale(hwnd);
}

}  // namespace velcrum::platform
