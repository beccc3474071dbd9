// Converting the hook library's key events.
#include "peripherals/hook_key_conversion.h"

#include <string_view>

#include "interpreter/diagnostics.h"
#include "peripherals/key_capture.h"
#include "peripherals/key_codes.h"
#include "peripherals/key_hook.h"
#include "platform/keyboard_layout.h"
#include "platform/pc_key_codes.h"

namespace velcrum {
namespace {

constexpr uint32_t kReleaseBit = 1u << 31;
constexpr uint32_t kIgnoreBit = 1u << 26;
constexpr uint32_t kExtendedBit = 1u << 24;

// The modifier key pressed last (its virtual key, with 0x100 for the extended one), whose
// repeated presses while it is held are ignored; 0 after its release or another key.
uint32_t g_lastModifierPressed = 0;

// Updates the modifier state from Shift, Ctrl, Alt and the lock keys; false for a press to
// ignore.
bool UpdateModifiers(uint32_t virtualKey, bool press, bool extended) {
  uint32_t bits = ModifierBitOf(virtualKey);
  if (bits == 0) {
    if (press) g_lastModifierPressed = 0;
    return true;
  }
  if (bits == kModifierAlt && extended) bits |= kModifierAltGr;
  const uint32_t key = virtualKey | (extended ? 0x100 : 0);
  if (!press) {
    if (g_lastModifierPressed == key) g_lastModifierPressed = 0;
    if (!IsLockKey(virtualKey)) g_keyCapture.modifiers &= ~bits;
    return true;
  }
  if (g_lastModifierPressed == key) return false;
  g_lastModifierPressed = key;
  if (IsLockKey(virtualKey)) {
    g_keyCapture.modifiers ^= bits;
  } else {
    g_keyCapture.modifiers |= bits;
  }
  return true;
}

// The four characters of a United Kingdom keyboard that Windows places where the layout
// files of this system may not: Shift+3 the pound sign, AltGr+4 the euro sign, and on the
// key left of 1 Shift the not sign and AltGr the broken bar (where XKB has "|").
std::optional<uint8_t> UnitedKingdomCharacter(uint8_t scanCode, bool extended, uint32_t modifiers) {
  constexpr uint8_t kKey3 = 0x04, kKey4 = 0x05, kKeyGrave = 0x29;
  if (extended) return std::nullopt;
  const bool shift = modifiers & kModifierShift;
  const bool altGr = modifiers & kModifierAltGr;
  if (scanCode == kKey3 && shift && !altGr) return 163;
  if (scanCode == kKey4 && altGr && !shift) return 128;
  if (scanCode == kKeyGrave && shift && !altGr) return 172;
  if (scanCode == kKeyGrave && altGr && !shift) return 166;
  return std::nullopt;
}

bool MaySeeWithModifiers(uint8_t character) {
  constexpr std::string_view kPunctuation = "<,>.?/=+-_";
  constexpr uint8_t kBrokenBar = 166, kEuro = 128;
  constexpr uint8_t kAcuteVowels[] = {193, 201, 205, 211, 218, 225, 233, 237, 243, 250};
  if (character != 0 && kPunctuation.find(static_cast<char>(character)) != std::string_view::npos)
    return true;
  if (character == kBrokenBar || character == kEuro) return true;
  for (const uint8_t vowel : kAcuteVowels) {
    if (character == vowel) return true;
  }
  return false;
}

}  // namespace

std::optional<uint8_t> HookCharacter(uint8_t scanCode, bool extended, uint32_t modifiers) {
  if (IsUnitedKingdomLayout()) {
    if (const auto character = UnitedKingdomCharacter(scanCode, extended, modifiers)) {
      return character;
    }
  }
  const unsigned inputCode = InputCodeOfScanCode(scanCode, extended);
  if (inputCode == 0) return std::nullopt;
  // Ctrl and the left Alt choose no character of the layout; the filter decides what the
  // script sees of a character typed with them.
  LayoutModifiers layout;
  layout.shift = modifiers & kModifierShift;
  layout.altGr = modifiers & kModifierAltGr;
  layout.capsLock = modifiers & kModifierCapsLock;
  layout.numLock = modifiers & kModifierNumLock;
  return LayoutCharacter(inputCode, layout);
}

uint8_t ScriptCharacter(uint8_t character, uint32_t modifiers) {
  constexpr uint8_t kBackspace = 8, kTab = 9, kEscape = 27;
  if (character == kEscape || character == kBackspace || character == kTab) return 0;
  const bool modified = modifiers & (kModifierCtrl | kModifierAlt | kModifierAltGr);
  if (modified && !MaySeeWithModifiers(character)) return 0;
  return character;
}

void VLXKey_ConvertAscii(uint32_t wParam, int32_t lParam) {
  const auto flags = static_cast<uint32_t>(lParam);
  if (flags & kIgnoreBit) return;
  if (!g_keyHook.layoutAsked && g_keyHook.getKeyboardLayout) {
    g_keyHook.layoutAsked = true;
    g_keyHook.getKeyboardLayout(0);  // asked once; the layout comes from the system
  }
  const bool press = (flags & kReleaseBit) == 0;
  const bool extended = (flags & kExtendedBit) != 0;
  const uint32_t virtualKey = wParam & 0xFF;
  if (!UpdateModifiers(virtualKey, press, extended)) return;
  if (const int code = CaptureKeyCode(virtualKey)) {
    DeliverKey(code, press);
    return;
  }
  if (!press) return;
  if (g_keyCapture.mode != 2 && g_keyCapture.mode != 3) {
    DebugOut("VLXKey_ConvertAscii: illegal case: iKeyCodeMode");
    return;
  }
  const uint32_t modifiers = g_keyCapture.modifiers;
  const auto scanCode = static_cast<uint8_t>((flags >> 16) & 0xFF);
  const uint8_t character = HookCharacter(scanCode, extended, modifiers).value_or(0);
  DeliverCharacter(ScriptCharacter(character, modifiers));
}

void ResetHookModifierTracking() {
  g_lastModifierPressed = 0;
}

}  // namespace velcrum
