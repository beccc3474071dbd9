// Fuzzes the profile (INI) reader and writer: any bytes as a file are read, and a key
// written into them reads back while every other entry reads as it did before.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/scratch_drive.h"
#include "platform/profile.h"

namespace {

constexpr std::size_t kValueSize = 4096;
constexpr std::size_t kMaxPairs = 8;
constexpr char kMissing[] = "(missing)";
constexpr char kWritten[] = "written by the fuzzer";

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

// The section and key names the file seems to hold (a rough reading is enough: the
// checks below ask the reader itself).
std::vector<std::pair<std::string, std::string>> Pairs(std::string_view bytes) {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::string section;
  while (!bytes.empty() && pairs.size() < kMaxPairs) {
    const std::size_t end = std::min(bytes.find('\n'), bytes.size());
    const std::string_view line = Trimmed(bytes.substr(0, end));
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
    if (line.starts_with('[') && line.find(']') != std::string_view::npos) {
      section = Trimmed(line.substr(1, line.find(']') - 1));
    } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
      pairs.emplace_back(section, Trimmed(line.substr(0, equals)));
    }
  }
  return pairs;
}

// A name the writer can take as it is: letters, digits and a few others, no blanks at
// its ends.
bool Plain(std::string_view name) {
  if (name.empty() || name.front() == ' ' || name.back() == ' ') return false;
  for (const char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != ' ' && c != '.') {
      return false;
    }
  }
  return true;
}

std::string Read(const std::string& file, std::string_view section, std::string_view key) {
  return velcrum::GetPrivateProfileString(section, key, kMissing, kValueSize, file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string file = (velcrum::fuzzing::ScratchDrive() / "FUZZ.INI").string();
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;

  // The key written: one the file has (replaced in place) or a new one in a section it
  // has or has not (added).
  const auto pairs = Pairs(bytes);
  std::vector<std::pair<std::string, std::string>> candidates = {
      {"Site", "Name"}, {"System", "LogToFile"}, {"New Section", "Key"}};
  for (const auto& pair : pairs) {
    if (Plain(pair.first) && Plain(pair.second)) candidates.push_back(pair);
  }
  const auto& [section, key] = candidates[data[0] % candidates.size()];

  std::vector<std::string> before;
  for (const auto& [s, k] : pairs) before.push_back(Read(file, s, k));
  velcrum::GetPrivateProfileInt(section, key, -1, file);

  if (!velcrum::WritePrivateProfileString(section, key, kWritten, file)) std::abort();
  if (Read(file, section, key) != kWritten) std::abort();
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const std::string after = Read(file, pairs[i].first, pairs[i].second);
    // The entry written may be found under other spellings of its names; any other
    // entry reads as before.
    if (after != before[i] && after != kWritten) std::abort();
  }
  return 0;
}
