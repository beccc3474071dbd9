// Windows command lines split into words, and the host program and arguments they name.
#include "platform/command_line.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/ascii_case.h"
#include "platform/paths.h"

namespace velcrum {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The program word: up to the next blank, or inside double quotes.
size_t ReadProgramWord(std::string_view line, size_t at, std::string& word) {
  if (line[at] == '"') {
    const size_t close = line.find('"', at + 1);
    const size_t end = close == std::string_view::npos ? line.size() : close;
    word.assign(line.substr(at + 1, end - at - 1));
    return end == line.size() ? end : end + 1;
  }
  size_t end = at;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  word.assign(line.substr(at, end - at));
  return end;
}

// One argument word by the C runtime's rules.
size_t ReadArgumentWord(std::string_view line, size_t at, std::string& word) {
  bool quoted = false;
  while (at < line.size() && (quoted || !IsBlank(line[at]))) {
    if (line[at] == '\\') {
      size_t slashes = 0;
      while (at < line.size() && line[at] == '\\') ++slashes, ++at;
      if (at < line.size() && line[at] == '"') {
        word.append(slashes / 2, '\\');
        if (slashes % 2 == 1) {
          word += '"';
          ++at;
        }
      } else {
        word.append(slashes, '\\');
      }
      continue;
    }
    if (line[at] == '"') {
      if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
        word += '"';
        at += 2;
        continue;
      }
      quoted = !quoted;
      ++at;
      continue;
    }
    word += line[at++];
  }
  return at;
}

bool IsExecutableFile(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (access(path.c_str(), X_OK) == 0) return true;
  errno = EACCES;
  return false;
}

// The names a program is looked for by: as written, then without ".exe" or with it.
std::vector<std::string> NameVariants(std::string_view name) {
  std::vector<std::string> names{std::string(name)};
  const size_t separator = name.find_last_of("\\/");
  const std::string_view file =
      separator == std::string_view::npos ? name : name.substr(separator + 1);
  if (file.size() > 4 && EqualNoCase(file.substr(file.size() - 4), ".exe")) {
    names.emplace_back(name.substr(0, name.size() - 4));
  } else if (file.find('.') == std::string_view::npos) {
    names.push_back(std::string(name) + ".exe");
  }
  return names;
}

// The first executable among the names in one place (a Windows path prefix or a host
// directory), each resolved without regard to case.
std::string FindIn(const std::string& prefix, const std::vector<std::string>& names, int& error) {
  for (const std::string& name : names) {
    const std::string path = HostPath(prefix + name);
    if (IsExecutableFile(path)) return path;
    if (errno == EACCES) error = EACCES;
  }
  return {};
}

}  // namespace

std::vector<std::string> SplitWindowsCommandLine(std::string_view commandLine) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
  if (at == commandLine.size()) return words;
  std::string word;
  at = ReadProgramWord(commandLine, at, word);
  words.push_back(word);
  while (true) {
    while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
    if (at == commandLine.size()) break;
    word.clear();
    at = ReadArgumentWord(commandLine, at, word);
    words.push_back(word);
  }
  return words;
}

std::string FindHostProgram(std::string_view program, const std::vector<std::string>& searchFirst) {
  int error = ENOENT;
  const std::vector<std::string> names = NameVariants(program);
  const bool windowsPath = program.find_first_of("\\:") != std::string_view::npos;
  std::string found;
  if (windowsPath) {
    found = FindIn("", names, error);
  } else {
    std::vector<std::string> places = searchFirst;
    places.push_back(std::filesystem::current_path().string());
    if (const char* path = std::getenv("PATH")) {
      for (std::string_view rest = path; !rest.empty();) {
        const size_t colon = rest.find(':');
        const std::string_view directory = rest.substr(0, colon);
        if (!directory.empty()) places.emplace_back(directory);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
      }
    }
    for (const std::string& place : places) {
      found = FindIn(place + "/", names, error);
      if (!found.empty()) break;
    }
  }
  if (found.empty()) errno = error;
  return found;
}

std::string HostArgument(std::string_view argument) {
  const bool drivePath = argument.size() >= 3 && IsAsciiAlpha(argument[0]) && argument[1] == ':' &&
                         (argument[2] == '\\' || argument[2] == '/');
  return drivePath ? HostPath(argument) : std::string(argument);
}

bool IsThisProgram(const std::string& hostProgram) {
  std::error_code error;
  const auto self = std::filesystem::canonical("/proc/self/exe", error);
  if (error) return false;
  const auto program = std::filesystem::canonical(hostProgram, error);
  return !error && program == self;
}

}  // namespace velcrum
