// Reports and output channels.
#include "interpreter/diagnostics.h"

#include <chrono>

#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/settings.h"

namespace velcrum {

std::string g_instanceName;
bool g_bParamError = false;

namespace {

constexpr size_t kChannelLimit = 255;

DiagnosticListener g_diagnosticListener = nullptr;

std::chrono::steady_clock::time_point startupClock = std::chrono::steady_clock::now();

std::string_view CutAtDelete(std::string_view text) {
  const size_t del = text.find('\x7f');
  return del == std::string_view::npos ? text : text.substr(0, del);
}

void WriteToChannels(std::string_view text, bool toDebugWindow) {
  Host& host = TheHost();
  if (toDebugWindow && host.DebugWindowExists()) host.DebugWindowAppend(text);
  if (g_settings.enableOutputDbwin) host.SystemDebuggerOut(text);
}

void Report(std::string_view command, const char* head, std::string_view text) {
  if (command.size() != 2) return;
  ReportFormatted(Format("<%s> %sline: %d, cmd: '%.2s' %.*s", g_instanceName.c_str(), head,
                         g_iCurrentLine, command.data(), static_cast<int>(text.size()),
                         text.data()));
}

}  // namespace

void ReportFormatted(std::string_view text) {
  g_bParamError = true;
  if (g_settings.parameterInspectMsgs) DebugOut(text);
  NotifyDiagnostic(text);
}

void SetDiagnosticListener(DiagnosticListener listener) {
  g_diagnosticListener = listener;
}

void NotifyDiagnostic(std::string_view text) {
  if (g_diagnosticListener) g_diagnosticListener(text);
}

void ReportError(std::string_view command, std::string_view text) {
  Report(command, "ERROR: ", text);
}

void ReportWarning(std::string_view command, std::string_view text) {
  Report(command, "WARNING: ", text);
}

void ReportNote(std::string_view command, std::string_view text) {
  Report(command, "", text);
}

void DebugOut(std::string_view text) {
  if (!DebugOutEnabled()) return;
  WriteToChannels(CutAtDelete(text.substr(0, kChannelLimit)),
                  g_settings.showDebugWindow && g_settings.outputDebug);
}

bool TraceOutEnabled() {
  return g_settings.showDebugWindow || g_settings.enableOutputDbwin;
}

void TraceOut(std::string_view text) {
  if (!TraceOutEnabled()) return;
  // Cut only when longer than 256, then to 255.
  if (text.size() > kChannelLimit + 1) text = text.substr(0, kChannelLimit);
  WriteToChannels(CutAtDelete(text), g_settings.showDebugWindow);
}

void ShowMessage(std::string_view text) {
  TheHost().ShowMessageBox("Information", text,
                           {MessageBoxButtons::kOk, MessageBoxIcon::kStop, true});
}

void TimeStamp(std::string_view tag) {
  if (!g_settings.timeStampStartup) return;
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - startupClock);
  // The system debugger takes one line per call, so the line feed is left to it.
  TheHost().SystemDebuggerOut(Format("Velcrum: %.*s, time since start: %d",
                                     static_cast<int>(tag.size()), tag.data(),
                                     static_cast<int>(elapsed.count())));
}

void ResetStartupClock() {
  startupClock = std::chrono::steady_clock::now();
}

}  // namespace velcrum
