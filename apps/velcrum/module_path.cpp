// Making argv[0] absolute without resolving links.
#include "module_path.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace velcrum {

std::string ModulePathFromArgv0(const std::string& argv0) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (argv0.find('/') != std::string::npos) {
    return fs::absolute(argv0, error).lexically_normal().string();
  }
  if (const char* path = std::getenv("PATH")) {
    std::istringstream directories(path);
    std::string directory;
    while (std::getline(directories, directory, ':')) {
      const fs::path candidate = fs::path(directory.empty() ? "." : directory) / argv0;
      if (access(candidate.c_str(), X_OK) == 0) {
        return fs::absolute(candidate, error).lexically_normal().string();
      }
    }
  }
  return fs::read_symlink("/proc/self/exe", error).string();
}

}  // namespace velcrum
