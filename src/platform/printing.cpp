// The line printer's registration (see printing.h).
#include "platform/printing.h"

namespace velcrum::platform {
namespace {

LinePrinter g_linePrinter = nullptr;

}  // namespace

PrintResult PrintLines(const std::vector<std::string>& lines) {
  if (lines.empty()) return {};
  if (g_linePrinter == nullptr) return {false, "no printing support"};
  return g_linePrinter(lines);
}

void InstallLinePrinter(LinePrinter printer) {
  g_linePrinter = printer;
}

}  // namespace velcrum::platform
