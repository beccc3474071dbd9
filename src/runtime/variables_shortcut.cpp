// The variables windows' shortcut.
#include "runtime/variables_shortcut.h"

namespace velcrum {
namespace {

constexpr uint32_t kVkShift = 0x10;
constexpr uint32_t kVkD = 'D';

bool g_bShiftDownWithAlt = false;

}  // namespace

bool CompletesVariablesShortcut(const platform::Message& message) {
  if (message.message == platform::WM_SYSKEYDOWN) {
    if (message.wParam == kVkShift) {
      g_bShiftDownWithAlt = true;
    } else if (message.wParam == kVkD && g_bShiftDownWithAlt) {
      return true;
    }
  } else if ((message.message == platform::WM_KEYUP || message.message == platform::WM_SYSKEYUP) &&
             message.wParam == kVkShift) {
    g_bShiftDownWithAlt = false;
  }
  return false;
}

void ResetVariablesShortcut() {
  g_bShiftDownWithAlt = false;
}

}  // namespace velcrum
