// A host whose message boxes let script code run while they are open, as a box's modal
// loop runs the line of a control pressed meanwhile or a message that arrives; and a
// fixture with it installed. Handlers that show a box or send are tested with it, so that
// a handler that reads its parameters after the box shows it: the inner line has parsed
// commands of its own by then.
#pragma once

#include <functional>

#include "interpreter/host.h"
#include "support/recording_host.h"

namespace velcrum::testing {

// Wraps a RecordingHost: everything goes to it, boxes too, and each box then runs what
// the test gave before it is answered. A box shown by that code itself runs nothing, so a
// line that shows a box cannot call itself for ever.
class LineRunningHost final : public Host {
 public:
  explicit LineRunningHost(RecordingHost& recorder) : recorder_(recorder) {}

  // Every box runs the line (with the first command index 0) while it is open.
  void RunLineWhileOpen(int line);

  // Every box calls this while it is open (RunLineWhileOpen sets it too).
  std::function<void()> whileOpen;
  int boxesThatRan = 0;  // boxes during which whileOpen ran

  void SystemDebuggerOut(std::string_view text) override { recorder_.SystemDebuggerOut(text); }
  bool DebugWindowExists() override { return recorder_.DebugWindowExists(); }
  void DebugWindowAppend(std::string_view text) override { recorder_.DebugWindowAppend(text); }
  MessageBoxAnswer ShowMessageBox(std::string_view caption, std::string_view text,
                                  MessageBoxStyle style) override;
  void Beep() override { recorder_.Beep(); }
  bool EditorOpen() override { return recorder_.EditorOpen(); }
  void EditorStatus(std::string_view text) override { recorder_.EditorStatus(text); }
  void RefreshVariablesWindows() override { recorder_.RefreshVariablesWindows(); }
  void SetMainWindowTitle(std::string_view title) override { recorder_.SetMainWindowTitle(title); }
  bool TopLevelWindowExists(std::string_view title) override {
    return recorder_.TopLevelWindowExists(title);
  }
  int RunningCopiesLoad() override { return recorder_.RunningCopiesLoad(); }
  void PostToMainWindow(uint32_t message, uint32_t wParam) override {
    recorder_.PostToMainWindow(message, wParam);
  }
  void MainCloseDown() override { recorder_.MainCloseDown(); }
  void EndProcess(int exitCode) override { recorder_.EndProcess(exitCode); }

 private:
  RecordingHost& recorder_;
  bool running_ = false;
};

// InterpreterTest with the line-running host in front of its recording host: `host`
// still records everything, `boxes` says what a box runs.
class LineRunningTest : public InterpreterTest {
 protected:
  void SetUp() override;

  LineRunningHost boxes{host};
};

}  // namespace velcrum::testing
