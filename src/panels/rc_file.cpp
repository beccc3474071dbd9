// Reading a resource script and the files it names.
#include "panels/rc_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/paths.h"

namespace velcrum {
namespace {

bool HasDrive(std::string_view name) {
  return name.size() >= 2 && IsAsciiAlpha(name[0]) && name[1] == ':';
}

}  // namespace

bool ReadRcFile(const std::string& hostPath, std::string& bytes, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code code;
  if (!fs::is_regular_file(hostPath, code)) {
    error = "not found";
    return false;
  }
  const auto size = fs::file_size(hostPath, code);
  if (code || size > kMaxRcFileSize) {
    error = code ? "cannot be read" : "is too large";
    return false;
  }
  std::ifstream file(hostPath, std::ios::binary);
  if (!file) {
    error = "cannot be read";
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}

std::string RcFileKey(std::string_view directoryKey, std::string_view name) {
  const bool absolute = HasDrive(name) || name.starts_with('\\') || name.starts_with('/');
  std::vector<std::string> parts;
  std::string prefix;
  auto add = [&parts](std::string_view text) {
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find_first_of("\\/", start);
      if (end == std::string_view::npos) end = text.size();
      const std::string_view part = text.substr(start, end - start);
      if (part == "..") {
        if (!parts.empty() && parts.back() != "..") {
          parts.pop_back();
        } else {
          parts.emplace_back("..");
        }
      } else if (!part.empty() && part != ".") {
        parts.emplace_back(part);
      }
      start = end + 1;
    }
  };
  if (absolute) {
    if (HasDrive(name)) {
      prefix = std::string(name.substr(0, 2));
      name.remove_prefix(2);
    }
    prefix += "/";
    // ".." never leads above a root.
    std::vector<std::string> kept;
    add(name);
    for (std::string& part : parts) {
      if (part != "..") kept.push_back(std::move(part));
    }
    parts = std::move(kept);
  } else {
    add(directoryKey);
    add(name);
  }
  std::string key = prefix;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) key += '/';
    key += parts[i];
  }
  return key;
}

std::string RcKeyDirectory(std::string_view key) {
  const size_t slash = key.rfind('/');
  if (slash == std::string_view::npos) return {};
  // The root of a drive or of the file system keeps its "/".
  if (slash == 0 || (slash == 2 && HasDrive(key))) return std::string(key.substr(0, slash + 1));
  return std::string(key.substr(0, slash));
}

bool HostRcFiles::Read(const std::string& key, std::string& bytes, std::string& shownName,
                       std::string& error) const {
  if (directory_.empty()) {
    error = "not found";
    return false;
  }
  // HostPath finds every existing component without regard to case.
  const bool rooted = HasDrive(key) || key.starts_with('/');
  shownName = HostPath(rooted ? key : directory_ + "/" + key);
  return ReadRcFile(shownName, bytes, error);
}

}  // namespace velcrum
