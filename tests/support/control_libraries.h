// The custom-control libraries as the build made them, and putting them where a test's
// runtime looks for them (a fresh drive C has none).
#pragma once

#include <filesystem>

namespace velcrum::testing {

// The built VORN_CC.DLL and BWCC32.DLL.
std::filesystem::path BuiltVornCc();
std::filesystem::path BuiltBwcc32();

// Copies both into `directory` (created when missing), under their own names; normally
// the test's drive_c/windows, the default system directory. False when a copy fails.
bool InstallControlLibraries(const std::filesystem::path& directory);

}  // namespace velcrum::testing
