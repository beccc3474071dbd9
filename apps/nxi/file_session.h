// File sessions (ID, IG, IS): copying a file named by a Windows path to another, and the
// result code that KAL_SESSION_RESULT reports for it.
#pragma once

#include <string_view>

namespace velcrum::nxi {

// The result codes of a session, as panels show them.
inline constexpr int kSessionSuccess = 0;
inline constexpr int kSessionFileNotFound = 3;
inline constexpr int kSessionUnableToOpen = 4;
inline constexpr int kSessionReadError = 5;
inline constexpr int kSessionWriteError = 6;
inline constexpr int kSessionDiskFull = 8;
inline constexpr int kSessionDeviceNotFound = 10;

// Copies the file `from` to `to` (both Windows paths, mapped as every file name the panels
// write), replacing `to`. Success; file not found when `from` does not exist; unable to
// open when either cannot be opened; read error; disk full when the disk is; write error
// otherwise. A destination that could not be written whole is removed.
int CopySessionFile(std::string_view from, std::string_view to);

}  // namespace velcrum::nxi
