// Profile (INI) files: reading and writing entries with the private-profile rules (see
// profile.h). Each call reads the file afresh; a write replaces the whole file, under the
// file's lock.
#include "platform/profile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace velcrum {
namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// How long a write waits for another writer of the same file. A write holds the lock
// for a few milliseconds; only a writer that hangs while holding it makes this run out.
constexpr std::chrono::seconds kLockWait{5};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Text ends at its first NUL or line break: one name or value is one line of the file.
std::string_view OneLine(std::string_view text) {
  const std::size_t end = text.find_first_of(std::string_view("\0\r\n", 3));
  return end == std::string_view::npos ? text : text.substr(0, end);
}

enum class LineKind { kOther, kBlank, kComment, kSection, kEntry };

struct Line {
  std::string text;    // without its line end
  std::string ending;  // "\r\n", "\n", or "" for a last line without one
  LineKind kind = LineKind::kOther;
  std::string name;   // section or key name, trimmed
  std::string value;  // an entry's value, trimmed
};

struct Profile {
  std::string bom;  // a UTF-8 byte-order mark, kept as it was
  std::vector<Line> lines;
  std::string newline = "\n";  // the file's own line end, for the lines written
};

void Classify(Line& line) {
  const std::string_view text = Trim(line.text);
  if (text.empty()) {
    line.kind = LineKind::kBlank;
  } else if (text.front() == ';' || text.front() == '#') {
    line.kind = LineKind::kComment;
  } else if (text.front() == '[' && text.find(']') != std::string_view::npos) {
    line.kind = LineKind::kSection;
    line.name = std::string(Trim(text.substr(1, text.find(']') - 1)));
  } else if (const std::size_t equals = text.find('='); equals != std::string_view::npos) {
    line.kind = LineKind::kEntry;
    line.name = std::string(Trim(text.substr(0, equals)));
    line.value = std::string(Trim(text.substr(equals + 1)));
  } else {
    line.kind = LineKind::kOther;
  }
}

Profile Parse(std::string bytes) {
  Profile profile;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    profile.bom = bytes.substr(0, 3);
    bytes.erase(0, 3);
  }
  bool styleKnown = false;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t newline = bytes.find('\n', start);
    Line line;
    if (newline == std::string::npos) {
      line.text = bytes.substr(start);
      start = bytes.size();
    } else {
      std::size_t end = newline;
      line.ending = "\n";
      if (end > start && bytes[end - 1] == '\r') {
        --end;
        line.ending = "\r\n";
      }
      line.text = bytes.substr(start, end - start);
      start = newline + 1;
      if (!styleKnown) {
        profile.newline = line.ending;
        styleKnown = true;
      }
    }
    Classify(line);
    profile.lines.push_back(std::move(line));
  }
  return profile;
}

// The file's bytes; nullopt with errno set when it exists but cannot be read. A missing
// file reads as empty.
std::optional<std::string> ReadBytes(std::string_view iniFile, bool& missing) {
  missing = false;
  FilePtr file(OpenWindowsFile(iniFile, "rb"), std::fclose);
  if (!file) {
    if (errno == ENOENT) {
      missing = true;
      return std::string();
    }
    return std::nullopt;
  }
  std::string bytes;
  char chunk[4096];
  std::size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, count);
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

// The index of the first section header with this name.
std::optional<std::size_t> FindSection(const Profile& profile, std::string_view section) {
  for (std::size_t i = 0; i < profile.lines.size(); ++i) {
    const Line& line = profile.lines[i];
    if (line.kind == LineKind::kSection && EqualNoCase(line.name, section)) return i;
  }
  return std::nullopt;
}

// The index after the section's last line (the next header or the end of the file).
std::size_t SectionEnd(const Profile& profile, std::size_t header) {
  std::size_t i = header + 1;
  while (i < profile.lines.size() && profile.lines[i].kind != LineKind::kSection) ++i;
  return i;
}

std::optional<std::size_t> FindKey(const Profile& profile, std::size_t header,
                                   std::string_view key) {
  const std::size_t end = SectionEnd(profile, header);
  for (std::size_t i = header + 1; i < end; ++i) {
    const Line& line = profile.lines[i];
    if (line.kind == LineKind::kEntry && EqualNoCase(line.name, key)) return i;
  }
  return std::nullopt;
}

// The value as read: blanks already trimmed; matching quotes around the whole removed.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string ReadValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                      std::string_view iniFile, bool& found) {
  found = false;
  bool missing = false;
  std::optional<std::string> bytes = ReadBytes(iniFile, missing);
  if (bytes && !bytes->empty()) {
    const Profile profile = Parse(std::move(*bytes));
    if (const auto header = FindSection(profile, Trim(OneLine(section)))) {
      if (const auto entry = FindKey(profile, *header, Trim(OneLine(key)))) {
        found = true;
        return std::string(Unquote(profile.lines[*entry].value));
      }
    }
  }
  defaultValue = defaultValue.substr(0, defaultValue.find('\0'));
  while (!defaultValue.empty() && IsBlank(defaultValue.back())) defaultValue.remove_suffix(1);
  return std::string(defaultValue);
}

std::string Serialise(const Profile& profile) {
  std::string bytes = profile.bom;
  for (const Line& line : profile.lines) {
    bytes += line.text;
    bytes += line.ending;
  }
  return bytes;
}

Line NewLine(std::string text, const std::string& newline) {
  Line line;
  line.text = std::move(text);
  line.ending = newline;
  return line;
}

}  // namespace

std::size_t GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, char* buffer, std::size_t size,
                                    std::string_view iniFile) {
  if (buffer == nullptr || size == 0) return 0;
  bool found = false;
  const std::string value = ReadValue(section, key, defaultValue, iniFile, found);
  const std::size_t count = std::min(value.size(), size - 1);
  std::memcpy(buffer, value.data(), count);
  buffer[count] = '\0';
  return count;
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::size_t size,
                                    std::string_view iniFile) {
  if (size == 0) return {};
  bool found = false;
  std::string value = ReadValue(section, key, defaultValue, iniFile, found);
  if (value.size() > size - 1) value.resize(size - 1);
  return value;
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         std::string_view iniFile) {
  bool found = false;
  const std::string value = ReadValue(section, key, "", iniFile, found);
  if (value.empty()) return defaultValue;
  std::size_t i = 0;
  while (i < value.size() && IsBlank(value[i])) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  std::uint32_t number = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    number = number * 10u + static_cast<std::uint32_t>(value[i] - '0');
  }
  if (negative) number = 0u - number;
  return static_cast<int>(number);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, std::string_view iniFile) {
  const std::string hostPath = HostFilePath(iniFile);
  if (hostPath.empty()) return false;
  // Held from the read to the rename, so that panels starting together, each writing
  // back its missing keys, add to each other's changes instead of undoing them.
  const FileLock lock(hostPath, kLockWait);
  if (!lock.Locked()) return false;
  bool missing = false;
  std::optional<std::string> bytes = ReadBytes(iniFile, missing);
  if (!bytes) return false;
  Profile profile = Parse(std::move(*bytes));
  const std::string_view sectionName = Trim(OneLine(section));
  const std::string_view keyName = Trim(OneLine(key));
  value = OneLine(value);
  const std::string& newline = profile.newline;

  if (const auto header = FindSection(profile, sectionName)) {
    if (const auto entry = FindKey(profile, *header, keyName)) {
      // In place, under the name as the file spells it.
      Line& line = profile.lines[*entry];
      line.text = line.name + "=" + std::string(value);
    } else {
      // After the section's last entry, or right after its header when it has none.
      std::size_t last = *header;
      const std::size_t end = SectionEnd(profile, *header);
      for (std::size_t i = *header + 1; i < end; ++i) {
        const LineKind kind = profile.lines[i].kind;
        if (kind == LineKind::kEntry || kind == LineKind::kOther) last = i;
      }
      if (profile.lines[last].ending.empty()) profile.lines[last].ending = newline;
      profile.lines.insert(profile.lines.begin() + static_cast<std::ptrdiff_t>(last) + 1,
                           NewLine(std::string(keyName) + "=" + std::string(value), newline));
    }
  } else {
    // A new section at the end, set off by a blank line.
    if (!profile.lines.empty()) {
      if (profile.lines.back().ending.empty()) profile.lines.back().ending = newline;
      if (profile.lines.back().kind != LineKind::kBlank)
        profile.lines.push_back(NewLine("", newline));
    }
    profile.lines.push_back(NewLine("[" + std::string(sectionName) + "]", newline));
    profile.lines.push_back(NewLine(std::string(keyName) + "=" + std::string(value), newline));
  }

  return ReplaceFile(hostPath, Serialise(profile)) == FileWrite::kWritten;
}

std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view defaultValue, std::size_t size) {
  return GetPrivateProfileString(section, key, defaultValue, size,
                                 GetWindowsDirectory() + "\\win.ini");
}

}  // namespace velcrum
