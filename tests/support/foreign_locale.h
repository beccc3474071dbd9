// A process locale whose case mapping is not ASCII, for tests that show that a command's
// case changes do not depend on the locale (Qt sets it from the environment at start).
//
// Turkish in ISO 8859-9: there toupper('i') is 0xDD and toupper(0xE9) is 0xC9. Few machines
// have it installed, so it is generated once per test program into a temporary directory,
// where the C library finds it through LOCPATH. Without localedef it is not active.
#pragma once

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace velcrum::testing {

class ForeignLocale {
 public:
  ForeignLocale() {
    const std::string& directory = Directory();
    if (directory.empty()) return;
    setenv("LOCPATH", directory.c_str(), 1);
    active_ = std::setlocale(LC_ALL, kName) != nullptr;
  }
  ~ForeignLocale() {
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
  }
  ForeignLocale(const ForeignLocale&) = delete;
  ForeignLocale& operator=(const ForeignLocale&) = delete;

  bool Active() const { return active_; }

 private:
  static constexpr const char* kName = "tr_TR.ISO-8859-9";

  // The directory that holds the generated locale; empty when it could not be made.
  static const std::string& Directory() {
    static const Generated generated;
    static const std::string none;
    return generated.ready ? generated.directory : none;
  }

  struct Generated {
    Generated() {
      char pattern[] = "/tmp/velcrum-locale-XXXXXX";
      if (mkdtemp(pattern) == nullptr) return;
      directory = pattern;
      const std::string command =
          "localedef -i tr_TR -f ISO-8859-9 '" + directory + "/" + kName + "' >/dev/null 2>&1";
      // localedef may answer nonzero for mere warnings; whether the locale loads decides.
      [[maybe_unused]] const int ignored = std::system(command.c_str());
      ready = std::filesystem::exists(directory + "/" + kName);
    }
    ~Generated() {
      std::error_code ignored;
      if (!directory.empty()) std::filesystem::remove_all(directory, ignored);
    }
    std::string directory;
    bool ready = false;
  };

  bool active_ = false;
};

}  // namespace velcrum::testing
