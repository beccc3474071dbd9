// The line-running host and its fixture.
#include "support/line_running_host.h"

#include "interpreter/executor.h"

namespace velcrum::testing {

void LineRunningHost::RunLineWhileOpen(int line) {
  whileOpen = [line] { RunLine(line, 0); };
}

MessageBoxAnswer LineRunningHost::ShowMessageBox(std::string_view caption, std::string_view text,
                                                 MessageBoxStyle style) {
  const MessageBoxAnswer answer = recorder_.ShowMessageBox(caption, text, style);
  if (whileOpen && !running_) {
    running_ = true;
    whileOpen();
    running_ = false;
    ++boxesThatRan;
  }
  return answer;
}

void LineRunningTest::SetUp() {
  InterpreterTest::SetUp();
  SetHost(&boxes);
}

}  // namespace velcrum::testing
