// KR and KU.
//
// KR stores the line, the two variables and the mode. Modes 0 and 1 read the main window's
// own keys (window_key_messages.cpp); modes 2 and 3 load the hook library, which catches the
// workstation's keys and posts them to the main window (hook_key_conversion.cpp). Either
// way KR then delivers a press of each lock key it finds on and starts timer 23, which
// keeps the keyboard focus on the main window in modes 0 and 1.
#include "peripherals/keyboard_commands.h"

#include "interpreter/diagnostics.h"
#include "interpreter/handler_support.h"
#include "interpreter/host.h"
#include "peripherals/hook_key_conversion.h"
#include "peripherals/key_capture.h"
#include "peripherals/key_codes.h"
#include "peripherals/key_hook.h"
#include "runtime/process_state.h"
#include "runtime/timers.h"

namespace velcrum {
namespace {

constexpr int kHighestLine = 32768;
constexpr uint32_t kFocusPeriodMs = 2000;
constexpr uint32_t kHeldBit = 0x8000;
constexpr int kHookHeldBit = 128;

bool IsHookMode(int mode) {
  return mode == 2 || mode == 3;
}

// The keys held when KR runs (and the lock keys, as the hook library sees them, on): the
// modifier state's bits, with 8 for Pause.
uint32_t ReadKeyWord(int mode) {
  struct Key {
    uint32_t virtualKey;
    uint32_t bit;
  };
  constexpr Key kKeys[] = {
      {16, kModifierShift},    {17, kModifierCtrl},     {18, kModifierAlt},        {19, 8},
      {20, kModifierCapsLock}, {144, kModifierNumLock}, {145, kModifierScrollLock}};
  uint32_t word = 0;
  for (const Key& key : kKeys) {
    bool counts = false;
    if (IsHookMode(mode)) {
      const int state = g_keyHook.getState ? g_keyHook.getState(key.virtualKey, 0, 0) : 0;
      counts = IsLockKey(key.virtualKey) ? state != 0 : (state & kHookHeldBit) != 0;
    } else {
      counts = (static_cast<uint16_t>(TheHost().KeyState(key.virtualKey)) & kHeldBit) != 0;
    }
    if (counts) word |= key.bit;
  }
  return word;
}

void DeliverLockKeysAndKeepFocus(int mode) {
  const uint32_t word = ReadKeyWord(mode);
  for (const uint32_t lockKey : {20u, 144u, 145u}) {
    if (word & ModifierBitOf(lockKey)) DeliverLockKeyPress(lockKey);
  }
  TheHost().SetMainWindowTimer(kKeyboardFocusTimer, kFocusPeriodMs);
}

void SetHook() {
  if (!LoadKeyHookLibrary()) {
    TheHost().ShowMessageBox("! Error !", "Velcrum: KR: Can't Load Keyboard DLL (KeyHKVL.DLL)",
                             {MessageBoxButtons::kOk, MessageBoxIcon::kStop});
    DebugOut("Velcrum: KR: LoadKeyHookLibrary called failed.");
    return;
  }
  DebugOut("Velcrum: KR: Keyboard KeyHKVL.DLL Loaded");
  // A library without an entry point fails the call it stands for.
  if (!g_keyHook.setMyHook || !g_keyHook.setMyHook(g_hwndMain, PostKeyFromHook)) {
    DebugOut("Velcrum: KR: SetMyHook called failed.");
    return;
  }
  if (!g_keyHook.setPassOn || !g_keyHook.setPassOn(1)) {
    DebugOut("Velcrum: KR: SetPassOn called failed.");
    return;
  }
  DeliverLockKeysAndKeepFocus(g_keyCapture.mode);
}

int ExecKR(const CommandCall& call) {
  GetArguments(call.text, 4);
  if (!IsStringVarParam(Mnemonic(call), 2) || !IsIntVarParam(Mnemonic(call), 3)) return 0;
  if (!CheckParamRange(call, 1, 1, kHighestLine) || !CheckParamLength(call, 2)) return 0;
  const int line = ParamValue(1);
  const int stringVariable = ParamVarIndex(2);
  const int integerVariable = ParamVarIndex(3);
  const int mode = ParamValue(4);

  if (IsHookMode(g_keyCapture.mode) && g_keyHook.library) {
    if (!g_keyHook.clearMyHook || !g_keyHook.clearMyHook(g_hwndMain)) {
      DebugOut("Velcrum: KR: ClearMyHook called failed (KeyHKVL.DLL).");
    }
    UnloadKeyHookLibrary();
  }
  g_keyCapture.line = line;
  g_keyCapture.stringVariable = stringVariable;
  g_keyCapture.integerVariable = integerVariable;
  g_keyCapture.mode = mode;
  ResetHookModifierTracking();
  if (mode == 1) TheHost().FocusMainWindow(false);
  if (mode == 0 || mode == 1) {
    DeliverLockKeysAndKeepFocus(mode);
  } else if (IsHookMode(mode)) {
    SetHook();
  }
  return 0;
}

int ExecKU(const CommandCall& /*call*/) {
  if (g_keyCapture.line != 0) {
    g_keyCapture.line = 0;
    g_keyCapture.stringVariable = 0;
    g_keyCapture.integerVariable = 0;
    TheHost().KillMainWindowTimer(kKeyboardFocusTimer);
  }
  if (IsHookMode(g_keyCapture.mode)) {
    if (!g_keyHook.clearMyHook) {
      DebugOut("Velcrum: KU: ClearMyHook KeyHookLibrary not loaded.");
    } else {
      if (!g_keyHook.clearMyHook(g_hwndMain)) {
        DebugOut("VLXKey_Register: UnhookWindowsHookEx called failed.");
      }
      UnloadKeyHookLibrary();
      DebugOut("VLXKey_Unregister: Keyboard KeyHKVL.DLL Unloaded");
    }
  }
  g_keyCapture.mode = 0;
  g_keyCapture.modifiers = 0;
  return 0;
}

constexpr CommandEntry kRows[] = {
    {"KR", ExecKR},
    {"KU", ExecKU},
};

}  // namespace

const CommandTable kKeyboardCommands = kRows;

void ReleaseKeyCapture() {
  if (g_keyHook.clearMyHook) g_keyHook.clearMyHook(g_hwndMain);
  UnloadKeyHookLibrary();
  g_keyCapture = KeyCapture{};
  ResetHookModifierTracking();
}

}  // namespace velcrum
