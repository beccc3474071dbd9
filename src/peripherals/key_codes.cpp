// The keyboard capture's key codes.
#include "peripherals/key_codes.h"

namespace velcrum {

int CaptureKeyCode(uint32_t virtualKey) {
  switch (virtualKey) {
    case 16:   // Shift
    case 17:   // Ctrl
    case 18:   // Alt
    case 19:   // Pause
    case 20:   // Caps Lock
    case 144:  // Num Lock
    case 145:  // Scroll Lock
      return static_cast<int>(virtualKey);
    case 37:  // Left
      return 129;
    case 39:  // Right
      return 130;
    case 38:  // Up
      return 131;
    case 40:  // Down
      return 132;
    case 45:  // Insert
      return 133;
    case 46:  // Delete
      return 134;
    case 36:  // Home
      return 135;
    case 35:  // End
      return 136;
    case 33:  // Page Up
      return 137;
    case 34:  // Page Down
      return 138;
    default:
      if (virtualKey >= 112 && virtualKey <= 123) return static_cast<int>(virtualKey) + 34;  // F1..
      return 0;
  }
}

uint32_t ModifierBitOf(uint32_t virtualKey) {
  switch (virtualKey) {
    case 16:
      return kModifierShift;
    case 17:
      return kModifierCtrl;
    case 18:
      return kModifierAlt;
    case 20:
      return kModifierCapsLock;
    case 144:
      return kModifierNumLock;
    case 145:
      return kModifierScrollLock;
    default:
      return 0;
  }
}

}  // namespace velcrum
