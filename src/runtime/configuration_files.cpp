// The configuration files: where the configuration and system directories are, and the
// workstation number from the environment or NXI.INI.
#include "runtime/configuration_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "interpreter/decimal.h"
#include "interpreter/format.h"
#include "platform/ascii_case.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "runtime/startup_log.h"
#include "runtime/warning_box.h"

namespace velcrum {
namespace {

constexpr char kLocatorFile[] = "c:\\vorn_config.ini";

// A directory from CC_ROOT and CC_SYSTEM when both are set and the joined path fits,
// otherwise from the locator file, which gets the Windows directory when it has none.
std::string LocateDirectory(const char* lastPart, const char* locatorKey, size_t size) {
  const char* root = std::getenv("CC_ROOT");
  const char* system = std::getenv("CC_SYSTEM");
  if (root && system && *root && *system) {
    const std::string_view r(root), s(system), last(lastPart);
    if (size > r.size() + s.size() + last.size() + 2) {
      return Format("%s\\%s\\%s", root, system, lastPart);
    }
  }
  std::string directory = GetPrivateProfileString("Config", locatorKey, "NONE", 512, kLocatorFile);
  if (directory == "NONE") {
    directory = GetWindowsDirectory();
    WriteBack("Config", locatorKey, directory, kLocatorFile);
  }
  directory.resize(std::min(directory.size(), size > 0 ? size - 1 : 0));
  return directory;
}

}  // namespace

void WriteBack(std::string_view section, std::string_view key, std::string_view value,
               const std::string& file) {
  if (WritePrivateProfileString(section, key, value, file)) return;
  const char* reason = std::strerror(errno);
  StartupLogLine(Format("Cannot write [%.*s] %.*s=%.*s to %s: %s", static_cast<int>(section.size()),
                        section.data(), static_cast<int>(key.size()), key.data(),
                        static_cast<int>(value.size()), value.data(), file.c_str(), reason));
}

// "%d" (or "%u") as sscanf reads it: blanks, a sign, digits. Nothing when the text does
// not begin with a number, so that the setting keeps the value it had.
std::optional<int> ScanIniNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsAsciiSpace(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i >= text.size() || !IsAsciiDigit(text[i])) return std::nullopt;
  return ReadDecimal(text);
}

std::string ConfigurationDirectory(size_t size) {
  return LocateDirectory("config\\system", "ConfigPath", size);
}

std::string SystemDirectory(size_t size) {
  return LocateDirectory("windows\\lib", "SystemPath", size);
}

std::string VelcrumIniPath() {
  return ConfigurationDirectory() + "\\VELCRUM.INI";
}

std::string NxiIniPath() {
  return ConfigurationDirectory() + "\\NXI.INI";
}

int ReadWorkstationNumber() {
  if (const char* fromEnvironment = std::getenv("CC_WORKSTATION");
      fromEnvironment && *fromEnvironment) {
    const int number = ReadDecimal(fromEnvironment);
    if (number >= 1 && number <= 999) return number;
  }
  const std::string nxiIni = NxiIniPath();
  const int number =
      ScanIniNumber(GetPrivateProfileString("Network", "Workstation", "-1", 16, nxiIni))
          .value_or(0);
  if (number != -1) return number;
  WriteBack("Network", "Workstation", "999", nxiIni);
  ShowWarningBox("Workstation ID not set in NXI.INI");
  return -1;
}

}  // namespace velcrum
