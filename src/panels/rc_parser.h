// The parser of resource scripts: the statements of a .rc file, of which it reads the
// string tables, the dialogs (DIALOG, DIALOGEX), bitmaps and icons, and skips the rest
// (menus, accelerators, version blocks, user-defined resources ...) with their BEGIN/END
// blocks, so that a complete Visual C++ or Borland script reads cleanly.
//
// Any text is read: what cannot be understood is noted as a problem with its file and
// line, and reading goes on with the next line or statement. A dialog with a problem in
// its syntax is left out whole.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "panels/rc_expression.h"
#include "panels/rc_file.h"
#include "panels/rc_preprocessor.h"
#include "platform/dialog_template.h"

namespace velcrum {

struct RcScript {
  // The STRINGTABLE entries by identifier (0 to 65535). A text ends at its first NUL
  // character, as the string reaches its readers.
  std::map<int, std::string> strings;
  // Dialogs, bitmaps (.bmp bytes) and icons (.ico bytes) by name as RcResourceKey makes
  // it. A name that appears again (under another LANGUAGE, say) keeps its first resource.
  std::map<std::string, platform::DialogTemplate> dialogs;
  std::map<std::string, std::string> bitmaps;
  std::map<std::string, std::string> icons;
  // The keys (rc_file.h) of the files read besides the script: included files, bitmaps and
  // icons, each once, in the order read.
  std::vector<std::string> files;
  // The names #defined by the end of the script and its headers.
  RcDefines defines;
  std::vector<RcProblem> problems;
};

// Parses script text. `fileName` names it in problems; #include, BITMAP and ICON names
// are read from `files` (null: no file is read, and BITMAP and ICON resources are left
// out without a report).
RcScript ParseRcText(std::string_view text, const std::string& fileName, const RcFileSource* files);
// The same with the files of a host directory (empty: none).
RcScript ParseRcText(std::string_view text, const std::string& fileName,
                     const std::string& directory);

// Reads and parses the script at a host path, its includes relative to its directory. A
// file that cannot be read gives an empty script with one problem.
RcScript ParseRcFile(const std::string& hostPath);

}  // namespace velcrum
