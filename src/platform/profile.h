// Profile (INI) files with the private-profile rules of Windows: the configuration files
// of the runtime (VELCRUM.INI, NXI.INI, the locator file) and those that scripts read
// and write with EF.
//
// A file is lines: "[section]" headers and "key=value" entries; other lines (comments,
// blank lines, text without "=") are kept as they are and never match a key.
// - Section and key names compare without regard to case; blanks around names, in the
//   file and in the request, do not count. The first matching section and key win.
// - A value read has its surrounding blanks removed and, when the whole value is in
//   matching single or double quotes, those quotes removed.
// - A missing file, section or key gives the default (its trailing blanks removed).
// - A write replaces the key's value in place, or adds the key after the last entry of
//   its section (not after the blank lines or comments that lead to the next section),
//   or adds the section at the end of the file, creating the file when it is missing;
//   every other line of the file is kept byte for byte. The file's own line ends (CR LF
//   or LF) are used for the lines written; a new file gets LF.
// - Files are named by Windows paths, mapped by HostPath (paths.h); a host path
//   beginning with "/" is taken as it is, for configuration directories given in the
//   environment.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velcrum {

// Copies the value (or the default) into `buffer`, cut to `size` - 1 characters and
// terminated, and returns the number of characters copied. `size` 0 copies nothing.
std::size_t GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, char* buffer, std::size_t size,
                                    std::string_view iniFile);

// The same, returning the value cut to `size` - 1 characters.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::size_t size,
                                    std::string_view iniFile);

// The value's leading decimal number: blanks, then an optional sign, then digits (a
// 32-bit result, wrapping as Windows does). 0 for a value that does not begin with a
// number; the default when the key is missing or its value is empty.
int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         std::string_view iniFile);

// Writes key=value into the section (rules above). A line break in a name or the value
// ends it there, so that one entry stays one line. The read, change and write hold the
// file's lock (atomic_file.h), so concurrent writers of one file, in this process or
// others, keep each other's entries; the new file replaces the old one whole, so a
// failed write (a full disk, say) leaves the file as it was. False with errno set when
// the file cannot be read or written, or another writer holds it for seconds.
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, std::string_view iniFile);

// The system profile: WIN.INI in the Windows directory (its "windows" section names the
// default printer).
std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view defaultValue, std::size_t size);

}  // namespace velcrum
