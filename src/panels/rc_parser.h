// The parser of resource scripts: the statements of a .rc file, of which it reads the
// string tables and skips the rest (dialogs, menus, bitmaps, icons, version blocks ...)
// with their BEGIN/END blocks, so that a complete Visual C++ script reads cleanly.
//
// Any text is read: what cannot be understood is noted as a problem with its file and
// line, and reading goes on with the next line or statement.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "panels/rc_expression.h"
#include "panels/rc_preprocessor.h"

namespace velcrum {

struct RcScript {
  // The STRINGTABLE entries by identifier (0 to 65535). A text ends at its first NUL
  // character, as the string reaches its readers.
  std::map<int, std::string> strings;
  // The names #defined by the end of the script and its headers.
  RcDefines defines;
  std::vector<RcProblem> problems;
};

// Parses script text. `fileName` names it in problems; #include names are relative to
// `directory` (empty: no file is included).
RcScript ParseRcText(std::string_view text, const std::string& fileName,
                     const std::string& directory);

// Reads and parses the script at a host path, its includes relative to its directory. A
// file that cannot be read gives an empty script with one problem.
RcScript ParseRcFile(const std::string& hostPath);

}  // namespace velcrum
