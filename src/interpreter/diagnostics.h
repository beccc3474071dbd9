// Reports of script problems and the three output channels every subsystem writes to.
//
// Diagnostics never stop a line. Reports go to the debug output only while parameter
// inspection messages are on; the debug output reaches the debug window and the system
// debugger as the Debug switches allow.
#pragma once

#include <string>
#include <string_view>

#include "interpreter/settings.h"

namespace velcrum {

// The instance name at the head of every diagnostic ("<%s>").
extern std::string g_instanceName;

// Set by every report and by every failed parameter check; cleared by GetArguments.
extern bool g_bParamError;

// "<%s> ERROR: line: %d, cmd: '%s' %s", "<%s> WARNING: line: %d, cmd: '%s' %s" and
// "<%s> line: %d, cmd: '%s' %s". A command name that is not exactly two characters long
// makes them do nothing.
void ReportError(std::string_view command, std::string_view text);
void ReportWarning(std::string_view command, std::string_view text);
void ReportNote(std::string_view command, std::string_view text);

// Writes a report already formatted by its caller: sets g_bParamError and sends the text
// to the debug output while inspection messages are on.
void ReportFormatted(std::string_view text);

// Every error and warning a script causes (the reports above, the parameter reports, an
// unknown command) is also told, with its text, to one listener, whether or not the text
// is written anywhere: the error event that EE sets up listens here. nullptr: none.
using DiagnosticListener = void (*)(std::string_view text);
void SetDiagnosticListener(DiagnosticListener listener);
void NotifyDiagnostic(std::string_view text);
// The debug output: at most 255 characters, cut at the first DEL (127).
void DebugOut(std::string_view text);
// Whether DebugOut would write anywhere, so callers can skip formatting.
inline bool DebugOutEnabled() {
  return (g_settings.showDebugWindow && g_settings.outputDebug) || g_settings.enableOutputDbwin;
}

// The trace output: as DebugOut, but the debug window takes it whenever it is shown.
void TraceOut(std::string_view text);
bool TraceOutEnabled();

// A system-modal information box with a stop icon; returns when it is closed.
void ShowMessage(std::string_view text);

// A start-up checkpoint, "Velcrum: %s, time since start: %d\n", written to the system
// debugger while TimeStampStartup is on.
void TimeStamp(std::string_view tag);
// Restarts the clock the checkpoints count from.
void ResetStartupClock();

}  // namespace velcrum
