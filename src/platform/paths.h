// Windows paths on the host: the one mapping from the paths that scripts and INI files
// write (c:\vornlogs\x.log, data\x.txt) to host file-system paths, and the file
// operations that the script commands perform through it.
//
// Mapping rules (docs/PLATFORM.md tells users the same):
// - "X:" starts an absolute path on drive X. Drive X is the host directory named by
//   $VELCRUM_DRIVE_X (upper-case letter), or else $VELCRUM_ROOT/drive_x (lower-case
//   letter), with $VELCRUM_ROOT defaulting to ~/.local/share/velcrum. "X:name" without a
//   separator is taken from the drive's root, as "X:\name".
// - "\" and "/" both separate. A path beginning with one separator (or more, as a UNC
//   name would) starts at the root of the current drive: the drive whose directory holds
//   the process's current directory, else drive C.
// - Any other path is relative to the process's current directory.
// - "." and ".." are resolved on the text, as Windows does; ".." never climbs above a
//   drive's root, so a script cannot leave its drive directory.
// - Trailing dots and blanks of a component are dropped, as Windows drops them.
// - Every component that exists is found without regard to case; a component that does
//   not exist keeps the case given, so that a new file can be created with that name.
// - The file name NUL (with any extension, in any directory) is the null device.
// - A path that begins with "/" is an absolute host path: the program's own paths
//   (its module path, the companion script beside it, directories given in the
//   environment) take this form. It is resolved like the rest (separators, "..",
//   case) but not mapped to a drive. Script text never reaches this form, because the
//   script notation turns every "/" into "\" (ScriptPathToWindows).
// Text ends at an embedded NUL character, as it would in a C string.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace velcrum {

// The script notation of file names: every ";" becomes ":" and every "/" becomes "\"
// (":" separates commands on a script line, so scripts write c;/data/x.txt).
std::string ScriptPathToWindows(std::string_view scriptText);
// The same conversion in place, for handlers that work on a character buffer.
void ConvertScriptPath(char* text);

// The host path for a Windows path (rules above). Never fails: text that names nothing
// valid still maps to some host path, which the file operations then fail on.
std::string HostPath(std::string_view windowsPath);

// The host directory that drive `letter` (a to z, either case) maps to; empty for a
// character that is not a letter.
std::string DriveDirectory(char letter);

// The Windows directory, "c:\windows", and the system directory, "c:\windows\system32",
// as Windows paths (HostPath maps them).
std::string GetWindowsDirectory();
std::string GetSystemDirectory();

// Creates the host directories of drive C, the Windows directory and the system
// directory when they are missing, so that a fresh installation has them as Windows
// would. False when one cannot be created.
bool EnsureWindowsDirectories();

// The one way the program opens a file that a script or an INI file names. `mode` is a
// C mode string; "t" is accepted and ignored. A read-only text mode ("r", "rt") reads
// CR LF line ends as "\n", as Windows text mode does, so files made on Windows read the
// same; written files get "\n" line ends. A directory, or a name that Windows would
// refuse (control characters or any of < > : " | ? * inside a component), does not
// open. nullptr with errno set on failure.
std::FILE* OpenWindowsFile(std::string_view windowsPath, const char* mode);

// The host path of a file that a script or an INI file names, for the writers that
// replace a file instead of opening it (atomic_file.h): empty with errno EINVAL for a
// name that OpenWindowsFile refuses.
std::string HostFilePath(std::string_view windowsPath);

// True when the path names an existing file or directory.
bool WindowsPathExists(std::string_view windowsPath);
// True when the path names an existing directory.
bool WindowsDirectoryExists(std::string_view windowsPath);

// Deletes a file (not a directory), as DeleteFile. False with errno set on failure.
bool DeleteWindowsFile(std::string_view windowsPath);

// Renames or moves a file or directory, as MoveFile: an existing destination is not
// replaced; a destination that differs from the source only in case renames it to the
// new case. False with errno set on failure.
bool RenameWindowsFile(std::string_view fromWindowsPath, std::string_view toWindowsPath);

// The names of the entries that match a Windows pattern such as c:\data\*.txt, in the
// order the file system gives them, as FindFirstFile/FindNextFile list them: the last
// component is the pattern ("*" any run of characters, "?" any one character, compared
// without regard to case; "*.*" matches every name; a pattern ending in "." matches
// names without an extension); "." and ".." are listed when they match. Empty when the
// directory does not exist or nothing matches.
std::vector<std::string> ListWindowsDirectory(std::string_view windowsPattern);

// Win32 wildcard matching of one name against one pattern (the rules above).
bool MatchesWindowsPattern(std::string_view name, std::string_view pattern);

}  // namespace velcrum
