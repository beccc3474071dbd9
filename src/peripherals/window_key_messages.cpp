// The main window's key messages in modes 0 and 1.
//
// A key press with a code of its own toggles its modifier bit (if it has one) and runs the
// press line; a character key runs nothing itself (outside mode 1 its virtual key stands
// in the string variable until the WM_CHAR that follows delivers the character). In mode 1
// a held modifier's repeated presses are ignored, releases run the release line, and the
// release of Shift, Ctrl or Alt clears its bit, so that the next press counts again; a
// lock key's bit changes at each new press, as its light does.
#include "peripherals/window_key_messages.h"

#include <string>

#include "interpreter/variables.h"
#include "peripherals/key_capture.h"
#include "peripherals/key_codes.h"

namespace velcrum {
namespace {

using platform::Message;

constexpr uint32_t kVkAlt = 18;
constexpr uint32_t kHeldBit = 1u << 30;  // lParam: the key was down before this message

void OnKeyDown(uint32_t virtualKey, bool held) {
  const int code = CaptureKeyCode(virtualKey);
  if (code == 0) {
    if (g_keyCapture.mode != 1) {
      SetStringVariable(g_keyCapture.stringVariable,
                        std::string(1, static_cast<char>(virtualKey & 0xFF)));
    }
    return;
  }
  if (const uint32_t bit = ModifierBitOf(virtualKey)) {
    const bool repeated = (g_keyCapture.modifiers & bit) && (held || !IsLockKey(virtualKey));
    if (g_keyCapture.mode == 1 && repeated) return;
    g_keyCapture.modifiers ^= bit;
  }
  DeliverKey(code, true);
}

void OnKeyUp(uint32_t virtualKey) {
  const int code = CaptureKeyCode(virtualKey);
  if (code == 0) return;
  if (!IsLockKey(virtualKey)) g_keyCapture.modifiers &= ~ModifierBitOf(virtualKey);
  DeliverKey(code, false);
}

}  // namespace

void OnCaptureWindowKey(const Message& message) {
  if (g_keyCapture.line == 0 || (g_keyCapture.mode != 0 && g_keyCapture.mode != 1)) return;
  const bool mode1 = g_keyCapture.mode == 1;
  const bool held = (static_cast<uint32_t>(message.lParam) & kHeldBit) != 0;
  switch (message.message) {
    case platform::WM_KEYDOWN:
      OnKeyDown(message.wParam, held);
      break;
    case platform::WM_KEYUP:
      if (mode1) OnKeyUp(message.wParam);
      break;
    case platform::WM_CHAR:
      DeliverCharacter(static_cast<uint8_t>(message.wParam & 0xFF));
      break;
    case platform::WM_SYSKEYDOWN:
      if (message.wParam == kVkAlt) OnKeyDown(kVkAlt, held);
      break;
    case platform::WM_SYSKEYUP:
      if (message.wParam == kVkAlt && mode1) OnKeyUp(kVkAlt);
      break;
    default:
      break;
  }
}

}  // namespace velcrum
