// The codes the keyboard capture gives a script for the keys that are not characters, and
// the modifier state's bits.
#pragma once

#include <cstdint>

namespace velcrum {

// The modifier state's bits.
inline constexpr uint32_t kModifierShift = 1;
inline constexpr uint32_t kModifierCtrl = 2;
inline constexpr uint32_t kModifierAlt = 4;
inline constexpr uint32_t kModifierAltGr = 8;  // the right-hand Alt, always with kModifierAlt
inline constexpr uint32_t kModifierCapsLock = 16;
inline constexpr uint32_t kModifierNumLock = 256;
inline constexpr uint32_t kModifierScrollLock = 512;
// The lock keys' bits, which S% does not get in mode 1.
inline constexpr uint32_t kModifierLocks =
    kModifierCapsLock | kModifierNumLock | kModifierScrollLock;

// The code of a Windows virtual key that is not a character key: the modifier and lock
// keys and Pause as themselves, the cursor block 129 to 138, F1 to F12 146 to 157; 0 for a
// character key.
int CaptureKeyCode(uint32_t virtualKey);

// The modifier state bit of Shift, Ctrl, Alt and the three lock keys; 0 for other keys.
uint32_t ModifierBitOf(uint32_t virtualKey);

inline bool IsLockKey(uint32_t virtualKey) {
  return (ModifierBitOf(virtualKey) & kModifierLocks) != 0;
}

}  // namespace velcrum
