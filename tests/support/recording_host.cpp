// The recording host and the clean-interpreter fixture.
#include "support/recording_host.h"

#include <algorithm>

#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "runtime/module.h"
#include "shell/display_free_modules.h"

namespace velcrum::testing {

void RecordingHost::SystemDebuggerOut(std::string_view text) {
  debugger.emplace_back(text);
}

void RecordingHost::DebugWindowAppend(std::string_view text) {
  debugWindow.emplace_back(text);
}

MessageBoxAnswer RecordingHost::ShowMessageBox(std::string_view caption, std::string_view text,
                                               MessageBoxStyle style) {
  boxes.push_back({std::string(caption), std::string(text), style});
  if (answers.empty()) return MessageBoxAnswer::kOk;
  const MessageBoxAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

void RecordingHost::EditorStatus(std::string_view text) {
  editorStatus.emplace_back(text);
}

uint32_t RecordingHost::FindTopLevelWindow(std::string_view title) {
  const auto found = windowTitles.find(std::string(title));
  if (found == windowTitles.end()) return 0;
  return static_cast<uint32_t>(std::distance(windowTitles.begin(), found)) + 1;
}

void InterpreterTest::SetUp() {
  InstallModules(DisplayFreeModules());
  ResetModules();
  SetHost(&host);
  g_instanceName = "TEST____.000";
  g_settings.enableOutputDbwin = true;
}

void InterpreterTest::TearDown() {
  SetHost(nullptr);
}

void InterpreterTest::Script(std::initializer_list<std::pair<int, const char*>> lines) {
  for (const auto& [line, text] : lines) VLSTMSup_SetMem(line, text);
}

bool InterpreterTest::DebuggerSaid(std::string_view text) const {
  return std::any_of(host.debugger.begin(), host.debugger.end(),
                     [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

void InterpreterTest::Run(std::string_view line) {
  VLSTMSup_SetMem(100, line);
  RunLine(100, 0);
}

std::vector<std::string> InterpreterTest::Reports() const {
  std::vector<std::string> reports;
  for (const std::string& line : host.debugger) {
    if (!line.starts_with("GetArguments: ")) reports.push_back(line);
  }
  return reports;
}

}  // namespace velcrum::testing
