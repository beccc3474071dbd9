// Windows paths on the host: the drive mapping, case-insensitive resolution and the
// file operations that go through it (see paths.h for the rules).
#include "platform/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/ascii_case.h"

namespace velcrum {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsDriveLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Text ends at the first NUL, as in the C strings that Windows functions take.
std::string_view CutAtNul(std::string_view text) {
  const std::size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

std::string Getenv(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string StripTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string HomeDirectory() {
  std::string home = Getenv("HOME");
  if (!home.empty()) return home;
  if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return "/tmp";
}

std::string CurrentDirectory() {
  std::string buffer(256, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return "/";
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

// Splits on both separators, dropping empty components.
std::vector<std::string> SplitComponents(std::string_view text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || IsSeparator(text[i])) {
      if (i > start) parts.emplace_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// Applies "." and ".." to the components on the text, as Windows does, appending to
// `out`; ".." at the root stays at the root. Windows names (`windowsNames`) also lose
// their trailing dots and blanks; host names are kept as they are.
void Normalise(const std::vector<std::string>& parts, bool windowsNames,
               std::vector<std::string>& out) {
  for (std::string part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      if (!out.empty()) out.pop_back();
      continue;
    }
    if (windowsNames) {
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    }
    if (!part.empty()) out.push_back(std::move(part));
  }
}

bool Exists(const std::string& hostPath) {
  struct stat info;
  return lstat(hostPath.c_str(), &info) == 0;
}

bool IsDirectory(const std::string& hostPath) {
  struct stat info;
  return stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string Join(const std::string& directory, std::string_view name) {
  std::string path = directory;
  if (path.empty() || path.back() != '/') path += '/';
  path += name;
  return path;
}

// The entry of `directory` whose name equals `name` without regard to case: the exact
// name when it exists, else the first such entry in name order (so the choice does not
// depend on the directory's order). Empty when there is none.
std::string FindNoCase(const std::string& directory, const std::string& name) {
  if (Exists(Join(directory, name))) return name;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(directory.c_str()), closedir);
  if (!dir) return {};
  std::string best;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view candidate(entry->d_name);
    if (EqualNoCase(candidate, name) && (best.empty() || candidate < best)) {
      best = std::string(candidate);
    }
  }
  return best;
}

// Appends the components to `root`, finding each existing one without regard to case;
// from the first one that does not exist on, the rest keep their case.
std::string Resolve(std::string root, const std::vector<std::string>& parts) {
  std::string path = std::move(root);
  bool existing = IsDirectory(path);
  for (const std::string& part : parts) {
    if (existing) {
      const std::string found = FindNoCase(path, part);
      if (found.empty()) {
        existing = false;
        path = Join(path, part);
      } else {
        path = Join(path, found);
        existing = IsDirectory(path);
      }
    } else {
      path = Join(path, part);
    }
  }
  return path;
}

bool IsNulDevice(const std::vector<std::string>& parts) {
  if (parts.empty()) return false;
  std::string_view name = parts.back();
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return EqualNoCase(name, "nul");
}

// True when `path` is `directory` or lies below it; `rest` receives the part below.
bool IsWithin(const std::string& path, const std::string& directory, std::string_view& rest) {
  if (path == directory) {
    rest = {};
    return true;
  }
  if (directory == "/") {
    rest = std::string_view(path).substr(1);
    return true;
  }
  if (path.size() > directory.size() && path.compare(0, directory.size(), directory) == 0 &&
      path[directory.size()] == '/') {
    rest = std::string_view(path).substr(directory.size() + 1);
    return true;
  }
  return false;
}

// The drive whose directory holds the current directory, 0 when none does.
char DriveOfDirectory(const std::string& directory) {
  std::string_view rest;
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    if (IsWithin(directory, DriveDirectory(letter), rest)) return letter;
  }
  return 0;
}

// A component that Windows would refuse as a file name.
bool IsBadComponent(std::string_view part, bool allowWildcards) {
  for (const char c : part) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32) return true;
    if (std::strchr("<>:\"|", c) != nullptr) return true;
    if (!allowWildcards && (c == '?' || c == '*')) return true;
  }
  return false;
}

// False when a component after the drive holds characters that Windows refuses.
bool IsValidWindowsName(std::string_view path, bool wildcardsInLast) {
  path = CutAtNul(path);
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') path.remove_prefix(2);
  std::vector<std::string> parts = SplitComponents(path);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (IsBadComponent(parts[i], wildcardsInLast && i + 1 == parts.size())) return false;
  }
  return true;
}

// Read-only text mode: a stream over the file that delivers CR LF as "\n".
struct TextReader {
  std::FILE* raw;
  off64_t position;  // characters delivered since the start
};

ssize_t TextRead(void* cookie, char* buffer, size_t size) {
  auto* reader = static_cast<TextReader*>(cookie);
  size_t count = 0;
  while (count < size) {
    int c = std::getc(reader->raw);
    if (c == EOF) break;
    if (c == '\r') {
      const int next = std::getc(reader->raw);
      if (next == '\n') {
        c = '\n';
      } else if (next != EOF) {
        std::ungetc(next, reader->raw);
      }
    }
    buffer[count++] = static_cast<char>(c);
  }
  if (count == 0 && std::ferror(reader->raw)) return -1;
  reader->position += static_cast<off64_t>(count);
  return static_cast<ssize_t>(count);
}

// Only the positions that can be known without counting line ends: the start, and the
// current position (ftell).
int TextSeek(void* cookie, off64_t* offset, int whence) {
  auto* reader = static_cast<TextReader*>(cookie);
  if (whence == SEEK_SET && *offset == 0) {
    if (std::fseek(reader->raw, 0, SEEK_SET) != 0) return -1;
    reader->position = 0;
    return 0;
  }
  if (whence == SEEK_CUR && *offset == 0) {
    *offset = reader->position;
    return 0;
  }
  errno = EINVAL;
  return -1;
}

int TextClose(void* cookie) {
  auto* reader = static_cast<TextReader*>(cookie);
  const int result = std::fclose(reader->raw);
  delete reader;
  return result;
}

std::FILE* OpenTextReader(std::FILE* raw) {
  auto* reader = new TextReader{raw, 0};
  cookie_io_functions_t functions{TextRead, nullptr, TextSeek, TextClose};
  std::FILE* stream = fopencookie(reader, "r", functions);
  if (stream == nullptr) {
    std::fclose(raw);
    delete reader;
  }
  return stream;
}

}  // namespace

std::string ScriptPathToWindows(std::string_view scriptText) {
  std::string text(scriptText);
  for (char& c : text) {
    if (c == ';') c = ':';
    if (c == '/') c = '\\';
  }
  return text;
}

void ConvertScriptPath(char* text) {
  for (; *text != '\0'; ++text) {
    if (*text == ';') *text = ':';
    if (*text == '/') *text = '\\';
  }
}

std::string DriveDirectory(char letter) {
  if (!IsDriveLetter(letter)) return {};
  const char lower = LowerAscii(letter);
  const char upper = static_cast<char>(lower - 'a' + 'A');
  const std::string variable = std::string("VELCRUM_DRIVE_") + upper;
  std::string directory = Getenv(variable.c_str());
  if (directory.empty()) {
    std::string root = Getenv("VELCRUM_ROOT");
    if (root.empty()) root = HomeDirectory() + "/.local/share/velcrum";
    directory = Join(StripTrailingSlashes(root), std::string("drive_") + lower);
  }
  return StripTrailingSlashes(directory);
}

std::string HostPath(std::string_view windowsPath) {
  std::string_view path = CutAtNul(windowsPath);
  std::string root;
  std::vector<std::string> parts;
  bool windowsNames = true;  // false for a host path: names as they are, no NUL device
  if (!path.empty() && path[0] == '/') {
    root = "/";
    windowsNames = false;
  } else if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
    root = DriveDirectory(path[0]);
    path.remove_prefix(2);
  } else {
    const std::string cwd = CurrentDirectory();
    const char drive = DriveOfDirectory(cwd);
    const bool rootRelative = !path.empty() && IsSeparator(path[0]);
    if (drive != 0) {
      // Inside a drive: relative paths start from the current directory's place on the
      // drive, and ".." stops at the drive's root as it would on Windows.
      root = DriveDirectory(drive);
      std::string_view below;
      IsWithin(cwd, root, below);
      if (!rootRelative) Normalise(SplitComponents(below), false, parts);
    } else if (rootRelative) {
      root = DriveDirectory('c');
    } else {
      // Outside every drive: relative to the current directory, a host directory.
      root = "/";
      Normalise(SplitComponents(cwd), false, parts);
    }
  }
  Normalise(SplitComponents(path), windowsNames, parts);
  if (windowsNames && IsNulDevice(parts)) return "/dev/null";
  return Resolve(root, parts);
}

std::string GetWindowsDirectory() {
  return "c:\\windows";
}

std::string GetSystemDirectory() {
  return "c:\\windows\\system32";
}

bool EnsureWindowsDirectories() {
  const std::string drive = DriveDirectory('c');
  for (const std::string& directory : {drive, HostPath(GetWindowsDirectory())}) {
    // Make the drive directory and its parents, then each directory below it.
    std::string partial;
    for (const std::string& part : SplitComponents(directory)) {
      partial += '/';
      partial += part;
      if (mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
  }
  const std::string system = HostPath(GetSystemDirectory());
  if (mkdir(system.c_str(), 0777) != 0 && errno != EEXIST) return false;
  return IsDirectory(system);
}

std::FILE* OpenWindowsFile(std::string_view windowsPath, const char* mode) {
  if (mode == nullptr || !IsValidWindowsName(windowsPath, false) || CutAtNul(windowsPath).empty()) {
    errno = EINVAL;
    return nullptr;
  }
  std::string hostMode;
  for (const char* m = mode; *m != '\0'; ++m) {
    if (*m != 't') hostMode += *m;
  }
  const std::string host = HostPath(windowsPath);
  std::FILE* file = std::fopen(host.c_str(), hostMode.c_str());
  if (file == nullptr) return nullptr;
  struct stat info;
  if (fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
    std::fclose(file);
    errno = EISDIR;
    return nullptr;
  }
  const bool textRead = hostMode.find('r') == 0 && hostMode.find('b') == std::string::npos &&
                        hostMode.find('+') == std::string::npos;
  return textRead ? OpenTextReader(file) : file;
}

std::string HostFilePath(std::string_view windowsPath) {
  if (!IsValidWindowsName(windowsPath, false) || CutAtNul(windowsPath).empty()) {
    errno = EINVAL;
    return {};
  }
  return HostPath(windowsPath);
}

bool WindowsPathExists(std::string_view windowsPath) {
  if (!IsValidWindowsName(windowsPath, false) || CutAtNul(windowsPath).empty()) return false;
  struct stat info;
  return stat(HostPath(windowsPath).c_str(), &info) == 0;
}

bool WindowsDirectoryExists(std::string_view windowsPath) {
  if (!IsValidWindowsName(windowsPath, false) || CutAtNul(windowsPath).empty()) return false;
  return IsDirectory(HostPath(windowsPath));
}

bool DeleteWindowsFile(std::string_view windowsPath) {
  if (!IsValidWindowsName(windowsPath, false) || CutAtNul(windowsPath).empty()) {
    errno = EINVAL;
    return false;
  }
  const std::string host = HostPath(windowsPath);
  if (IsDirectory(host)) {
    errno = EISDIR;
    return false;
  }
  return unlink(host.c_str()) == 0;
}

bool RenameWindowsFile(std::string_view fromWindowsPath, std::string_view toWindowsPath) {
  if (!IsValidWindowsName(fromWindowsPath, false) || !IsValidWindowsName(toWindowsPath, false) ||
      CutAtNul(fromWindowsPath).empty() || CutAtNul(toWindowsPath).empty()) {
    errno = EINVAL;
    return false;
  }
  const std::string from = HostPath(fromWindowsPath);
  std::string to = HostPath(toWindowsPath);
  struct stat fromInfo;
  struct stat toInfo;
  if (lstat(from.c_str(), &fromInfo) != 0) return false;
  if (lstat(to.c_str(), &toInfo) == 0) {
    const bool sameFile = fromInfo.st_dev == toInfo.st_dev && fromInfo.st_ino == toInfo.st_ino;
    if (!sameFile) {
      errno = EEXIST;
      return false;
    }
    // Only the case differs: give the entry the name as written.
    std::vector<std::string> parts;
    Normalise(SplitComponents(CutAtNul(toWindowsPath)), true, parts);
    if (parts.empty()) return true;
    const std::string& name = parts.back();
    to = Join(to.substr(0, to.rfind('/')), name);
    if (to == from) return true;
    return std::rename(from.c_str(), to.c_str()) == 0;
  }
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the no-replace rename.
  if (Exists(to)) {
    errno = EEXIST;
    return false;
  }
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool MatchesWindowsPattern(std::string_view name, std::string_view pattern) {
  // Windows' wildcard rules: "?" also matches nothing at a "." or the end of the name; a
  // "." followed by a wildcard or ending the pattern also matches the end of the name;
  // a "*" followed by "." does not run past the name's last ".". Memoised on the two
  // positions, so that no pattern takes more than their product in steps.
  const std::size_t lastDot = name.rfind('.');
  const std::size_t columns = name.size() + 1;
  std::vector<signed char> memo((pattern.size() + 1) * columns, -1);
  auto match = [&](auto& self, std::size_t p, std::size_t n) -> bool {
    signed char& slot = memo[p * columns + n];
    if (slot >= 0) return slot != 0;
    bool result = false;
    if (p == pattern.size()) {
      result = n == name.size();
    } else {
      const char pc = pattern[p];
      const bool atEnd = n == name.size();
      if (pc == '*') {
        std::size_t limit = name.size();
        if (p + 1 < pattern.size() && pattern[p + 1] == '.' && lastDot != std::string_view::npos &&
            lastDot >= n) {
          limit = lastDot;
        }
        for (std::size_t k = n; k <= limit && !result; ++k) result = self(self, p + 1, k);
      } else if (pc == '?') {
        if (atEnd || name[n] == '.') result = self(self, p + 1, n);
        if (!result && !atEnd) result = self(self, p + 1, n + 1);
      } else if (pc == '.') {
        const bool dosDot =
            p + 1 == pattern.size() || pattern[p + 1] == '*' || pattern[p + 1] == '?';
        if (!atEnd && name[n] == '.') result = self(self, p + 1, n + 1);
        if (!result && dosDot && atEnd) result = self(self, p + 1, n);
      } else {
        result = !atEnd && LowerAscii(pc) == LowerAscii(name[n]) && self(self, p + 1, n + 1);
      }
    }
    slot = result ? 1 : 0;
    return result;
  };
  return match(match, 0, 0);
}

std::vector<std::string> ListWindowsDirectory(std::string_view windowsPattern) {
  std::vector<std::string> names;
  const std::string_view text = CutAtNul(windowsPattern);
  if (text.empty() || IsSeparator(text.back()) || !IsValidWindowsName(text, true)) return names;
  // The pattern is the text after the last separator (or after "X:").
  std::size_t cut = text.find_last_of("\\/");
  std::string_view directory;
  std::string_view pattern;
  if (cut == std::string_view::npos) {
    const bool drive = text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == ':';
    directory = drive ? text.substr(0, 2) : std::string_view(".");
    pattern = drive ? text.substr(2) : text;
  } else {
    directory = text.substr(0, cut + 1);
    pattern = text.substr(cut + 1);
  }
  if (pattern.empty()) return names;
  const std::string host = HostPath(directory);
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(host.c_str()), closedir);
  if (!dir) return names;
  while (const dirent* entry = readdir(dir.get())) {
    if (MatchesWindowsPattern(entry->d_name, pattern)) names.emplace_back(entry->d_name);
  }
  return names;
}

}  // namespace velcrum
