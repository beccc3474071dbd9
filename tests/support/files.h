// Reading a test's files back.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace velcrum::testing {

// The file's bytes as they are on disk; empty when it cannot be read.
inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace velcrum::testing
