// Printing lines of text as one job: the service that list printing uses.
//
// This interface needs no display; the desktop's front end supplies the line printer
// (InstallLinePrinter) when it opens. Without one nothing prints and PrintLines says so,
// so a program without a desktop (velcrum-run, builds without the front end) reports
// printing as unavailable instead of failing silently.
#pragma once

#include <string>
#include <vector>

namespace velcrum::platform {

struct PrintResult {
  bool printed = false;
  std::string error;  // why nothing was printed; empty when there was nothing to print
};

// Prints the lines (single-byte text, as panels hold it) as one job named "Velcrum": each
// line at 160 device units from the left edge, one below the other at the font's height
// plus its external leading, 64 lines to a page. An empty list prints nothing and answers
// printed=false with no error. Where the job goes is the installed printer's business
// (docs/PLATFORM.md).
PrintResult PrintLines(const std::vector<std::string>& lines);

// The line printer the front end supplies; InstallLinePrinter(nullptr) removes it. It is
// called only with a list that is not empty.
using LinePrinter = PrintResult (*)(const std::vector<std::string>& lines);
void InstallLinePrinter(LinePrinter printer);

}  // namespace velcrum::platform
