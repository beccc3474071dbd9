// Reading a resource script from the host file system.
#include "panels/rc_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace velcrum {

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

}  // namespace velcrum
