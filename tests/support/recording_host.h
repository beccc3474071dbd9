// A Host that records what the interpreter shows, and a fixture that starts every test
// from a clean interpreter with that host installed.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "interpreter/host.h"

namespace velcrum::testing {

struct RecordedBox {
  std::string caption;
  std::string text;
  MessageBoxStyle style;
};

class RecordingHost final : public Host {
 public:
  void SystemDebuggerOut(std::string_view text) override;
  bool DebugWindowExists() override { return debugWindowExists; }
  void DebugWindowAppend(std::string_view text) override;
  MessageBoxAnswer ShowMessageBox(std::string_view caption, std::string_view text,
                                  MessageBoxStyle style) override;
  bool EditorOpen() override { return editorOpen; }
  void EditorStatus(std::string_view text) override;
  void RefreshVariablesWindows() override { ++variablesRefreshes; }

  std::vector<std::string> debugger;      // system-debugger lines
  std::vector<std::string> debugWindow;   // debug-window lines
  std::vector<std::string> editorStatus;  // editor status texts
  std::vector<RecordedBox> boxes;
  std::deque<MessageBoxAnswer> answers;  // answers to give, in order; OK once empty
  bool debugWindowExists = false;
  bool editorOpen = false;
  int variablesRefreshes = 0;
};

// Resets the interpreter, installs a RecordingHost and turns the system-debugger channel
// on, so that everything written to the debug output lands in host.debugger.
class InterpreterTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Stores the lines of a script: {line, text} pairs.
  void Script(std::initializer_list<std::pair<int, const char*>> lines);

  // Whether any recorded debugger line contains the text.
  bool DebuggerSaid(std::string_view text) const;

  RecordingHost host;
};

}  // namespace velcrum::testing
