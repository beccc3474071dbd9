// The runtime's host: the platform layer's debugger channel and message boxes.
#include "shell/runtime_host.h"

#include <QApplication>

#include "platform/desktop/debug_output.h"
#include "platform/desktop/message_box.h"
#include "shell/shell_state.h"

namespace velcrum {
namespace {

platform::BoxIcon ToBoxIcon(MessageBoxIcon icon) {
  switch (icon) {
    case MessageBoxIcon::kInformation: return platform::BoxIcon::kInformation;
    case MessageBoxIcon::kExclamation: return platform::BoxIcon::kExclamation;
    case MessageBoxIcon::kStop: return platform::BoxIcon::kStop;
    case MessageBoxIcon::kNone: break;
  }
  return platform::BoxIcon::kNone;
}

}  // namespace

void RuntimeHost::SystemDebuggerOut(std::string_view text) { platform::OutputDebugString(text); }

MessageBoxAnswer RuntimeHost::ShowMessageBox(std::string_view caption, std::string_view text,
                                             MessageBoxStyle style) {
  const platform::BoxButtons buttons = style.buttons == MessageBoxButtons::kOkCancel
                                           ? platform::BoxButtons::kOkCancel
                                           : platform::BoxButtons::kOk;
  const platform::BoxAnswer answer = platform::MessageBox(
      g_hwndMain, caption, text, {buttons, ToBoxIcon(style.icon), style.systemModal});
  return answer == platform::BoxAnswer::kCancel ? MessageBoxAnswer::kCancel
                                                : MessageBoxAnswer::kOk;
}

void RuntimeHost::Beep() { QApplication::beep(); }

}  // namespace velcrum
