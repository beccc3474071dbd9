// The configuration files: the configuration and system directories (located through
// CC_ROOT and CC_SYSTEM or the locator file c:\vorn_config.ini), VELCRUM.INI and NXI.INI
// in the first, and the workstation number. The shell reads its settings from these files;
// the commands that form instance names ask for the workstation number.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velcrum {

// The configuration and system directories (Windows paths or, from the environment, host
// paths), cut to size - 1 characters.
std::string ConfigurationDirectory(std::size_t size = 256);
std::string SystemDirectory(std::size_t size = 256);

// The files in the configuration directory.
std::string VelcrumIniPath();
std::string NxiIniPath();

// CC_WORKSTATION, else NXI.INI; -1 (with "999" written and the warning box shown) when
// neither gives one.
int ReadWorkstationNumber();

// Writes a setting back into its file. A write that fails leaves the file as it was; it is
// said on the debug output and in the log, since the key stays missing and every start
// tries again.
void WriteBack(std::string_view section, std::string_view key, std::string_view value,
               const std::string& file);

// A number as "%d" reads it from an INI value: blanks, a sign, digits. Nothing when the
// text does not begin with a number.
std::optional<int> ScanIniNumber(std::string_view text);

}  // namespace velcrum
