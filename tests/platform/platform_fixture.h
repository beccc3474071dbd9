// A private file-system world for the platform tests: a fresh $VELCRUM_ROOT in a
// temporary directory, no drive variables, and the current directory put back after
// each test.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/files.h"

namespace velcrum::testing {

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedCwd_ = std::filesystem::current_path();
    char pattern[] = "/tmp/velcrum-platform-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    // The canonical form, so that comparisons with getcwd() hold.
    base_ = std::filesystem::canonical(pattern);
    root_ = base_ / "root";
    std::filesystem::create_directories(root_ / "drive_c");
    setenv("VELCRUM_ROOT", root_.c_str(), 1);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      unsetenv((std::string("VELCRUM_DRIVE_") + letter).c_str());
    }
  }

  void TearDown() override {
    std::filesystem::current_path(savedCwd_);
    std::error_code ignored;
    std::filesystem::remove_all(base_, ignored);
  }

  std::filesystem::path DriveC() const { return root_ / "drive_c"; }

  // Creates a file (and its directories) with the given bytes.
  static void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
  }

  static std::string ReadFile(const std::filesystem::path& path) {
    return testing::ReadWholeFile(path);
  }

  std::filesystem::path savedCwd_;
  std::filesystem::path base_;
  std::filesystem::path root_;
};

}  // namespace velcrum::testing
