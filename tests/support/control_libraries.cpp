// Copying the built custom-control libraries into a test's drive mapping.
#include "support/control_libraries.h"

#include <system_error>

namespace velcrum::testing {

std::filesystem::path BuiltVornCc() {
  return VELCRUM_VORN_CC_PATH;
}

std::filesystem::path BuiltBwcc32() {
  return VELCRUM_BWCC32_PATH;
}

bool InstallControlLibraries(const std::filesystem::path& directory) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) return false;
  for (const std::filesystem::path& library : {BuiltVornCc(), BuiltBwcc32()}) {
    std::filesystem::copy_file(library, directory / library.filename(),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) return false;
  }
  return true;
}

}  // namespace velcrum::testing
