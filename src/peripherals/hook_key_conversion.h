// The hook library's key events (message 4025), the keyboard capture's input in modes 2
// and 3: the modifier state kept from the keys, the character derived from the keyboard
// layout, and the characters that must not reach the script taken out.
#pragma once

#include <cstdint>
#include <optional>

namespace velcrum {

// The key message the hook caught (its wParam and lParam): a key with a code of its own is
// delivered as a press or release, a character key's press as its character.
void VLXKey_ConvertAscii(uint32_t wParam, int32_t lParam);

// The character the key with this scan code types with the modifier state, from the
// system's keyboard layout; nothing when it types none.
std::optional<uint8_t> HookCharacter(uint8_t scanCode, bool extended, uint32_t modifiers);

// The character as the script may see it: 0 (the empty character) for Escape, Backspace
// and Tab, and, while Ctrl, Alt or AltGr is held, for every character but a few
// punctuation marks, the broken bar, the euro sign and the vowels with acute accent.
uint8_t ScriptCharacter(uint8_t character, uint32_t modifiers);

// Forgets which modifier was pressed last (a new capture, a test).
void ResetHookModifierTracking();

}  // namespace velcrum
