// Delivering keys to the script.
#include "peripherals/key_capture.h"

#include <string>

#include "interpreter/executor.h"
#include "interpreter/nested_run.h"
#include "interpreter/variables.h"
#include "peripherals/key_codes.h"

namespace velcrum {

KeyCapture g_keyCapture;

namespace {

void RunCaptureLine(bool press) {
  if (g_keyCapture.mode == 1) {
    g_lIntegerVariables[kEventVariable] =
        static_cast<int32_t>(g_keyCapture.modifiers & ~kModifierLocks);
  }
  const int line = press ? g_keyCapture.line : g_keyCapture.line + kReleaseLineOffset;
  // A key may arrive while a command waits (KR itself delivers the lock keys).
  const NestedRun keepPlace;
  RunLine(line, 0);
}

}  // namespace

void DeliverKey(int code, bool press) {
  if (g_keyCapture.line == 0 || (!press && g_keyCapture.mode == 0)) return;
  SetStringVariable(g_keyCapture.stringVariable, "");
  g_lIntegerVariables[g_keyCapture.integerVariable] = code;
  RunCaptureLine(press);
}

void DeliverCharacter(uint8_t character) {
  if (g_keyCapture.line == 0) return;
  const char text[2] = {static_cast<char>(character), 0};
  SetStringVariable(g_keyCapture.stringVariable, character > 31 ? text : "");
  g_lIntegerVariables[g_keyCapture.integerVariable] = character;
  RunCaptureLine(true);
}

void DeliverLockKeyPress(uint32_t virtualKey) {
  const uint32_t bit = ModifierBitOf(virtualKey);
  if (g_keyCapture.mode == 1 && (g_keyCapture.modifiers & bit)) return;
  g_keyCapture.modifiers ^= bit;
  DeliverKey(CaptureKeyCode(virtualKey), true);
}

}  // namespace velcrum
