// A fresh directory for a test's resource scripts, removed afterwards.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

namespace velcrum::testing {

class RcTestDirectory {
 public:
  RcTestDirectory() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("velcrum-rc-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~RcTestDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  // Writes a file below the directory (creating its directories) and returns its path.
  std::string Write(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
  }
  std::string Path(const std::string& relative = "") const {
    return relative.empty() ? path_.string() : (path_ / relative).string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace velcrum::testing
