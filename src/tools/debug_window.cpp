// Placeholder until the debug window is built: no window, every line dropped.
#include "tools/debug_window.h"

namespace velcrum {

void OpenDebugWindow() {}
void CloseDebugWindow() {}
bool DebugWindowExists() {
  return false;
}
void AppendToDebugWindow(std::string_view /*text*/) {}

}  // namespace velcrum
