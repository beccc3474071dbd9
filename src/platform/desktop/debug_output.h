// The system-debugger channel (OutputDebugString).
//
// Each call is one line on standard error, written with a single write so that lines of
// several processes never interleave, and one record to every debug monitor attached to
// the desktop (see debug_monitor.h). Safe to call from any thread.
#pragma once

#include <string_view>

namespace velcrum::platform {

// Writes one line; a single line feed (or CR LF) ending the text is the line's own end
// and is not doubled.
void OutputDebugString(std::string_view text);

}  // namespace velcrum::platform
