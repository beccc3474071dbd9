// The debug window "Velcrum Debug": the last 1000 lines of the debug output, newest at
// the bottom, which the author pauses and resumes with a left click.
#pragma once

#include <string_view>

namespace velcrum {

// Opens the window where the debug window settings place it; nothing when it is open.
void OpenDebugWindow();
// Adds the 199 blank lines of a right click, then destroys the window.
void CloseDebugWindow();
bool DebugWindowExists();
// One line of the debug output (DebugOut, TraceOut); ignored while paused.
void AppendToDebugWindow(std::string_view text);

}  // namespace velcrum
