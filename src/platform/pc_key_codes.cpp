// The table of a PC keyboard's keys.
#include "platform/pc_key_codes.h"

#include <array>

namespace velcrum {
namespace {

struct Row {
  uint16_t inputCode;
  uint8_t scanCode;
  bool extended;
  uint16_t virtualKey;
  uint16_t virtualKeyWithoutNumLock;  // 0: the same as with it
};

// The virtual keys of the OEM punctuation keys.
constexpr uint16_t kVkOemMinus = 0xBD, kVkOemPlus = 0xBB, kVkOemComma = 0xBC, kVkOemPeriod = 0xBE,
                   kVkOem1 = 0xBA, kVkOem2 = 0xBF, kVkOem3 = 0xC0, kVkOem4 = 0xDB, kVkOem5 = 0xDC,
                   kVkOem6 = 0xDD, kVkOem7 = 0xDE, kVkOem102 = 0xE2;

constexpr std::array kRows = {
    Row{1, 0x01, false, 0x1B, 0},  // Escape
    Row{2, 0x02, false, '1', 0}, Row{3, 0x03, false, '2', 0}, Row{4, 0x04, false, '3', 0},
    Row{5, 0x05, false, '4', 0}, Row{6, 0x06, false, '5', 0}, Row{7, 0x07, false, '6', 0},
    Row{8, 0x08, false, '7', 0}, Row{9, 0x09, false, '8', 0}, Row{10, 0x0A, false, '9', 0},
    Row{11, 0x0B, false, '0', 0}, Row{12, 0x0C, false, kVkOemMinus, 0},
    Row{13, 0x0D, false, kVkOemPlus, 0}, Row{14, 0x0E, false, 0x08, 0},  // Backspace
    Row{15, 0x0F, false, 0x09, 0},                                       // Tab
    Row{16, 0x10, false, 'Q', 0}, Row{17, 0x11, false, 'W', 0}, Row{18, 0x12, false, 'E', 0},
    Row{19, 0x13, false, 'R', 0}, Row{20, 0x14, false, 'T', 0}, Row{21, 0x15, false, 'Y', 0},
    Row{22, 0x16, false, 'U', 0}, Row{23, 0x17, false, 'I', 0}, Row{24, 0x18, false, 'O', 0},
    Row{25, 0x19, false, 'P', 0}, Row{26, 0x1A, false, kVkOem4, 0},
    Row{27, 0x1B, false, kVkOem6, 0}, Row{28, 0x1C, false, 0x0D, 0},  // Return
    Row{29, 0x1D, false, 0x11, 0},                                    // left Ctrl
    Row{30, 0x1E, false, 'A', 0}, Row{31, 0x1F, false, 'S', 0}, Row{32, 0x20, false, 'D', 0},
    Row{33, 0x21, false, 'F', 0}, Row{34, 0x22, false, 'G', 0}, Row{35, 0x23, false, 'H', 0},
    Row{36, 0x24, false, 'J', 0}, Row{37, 0x25, false, 'K', 0}, Row{38, 0x26, false, 'L', 0},
    Row{39, 0x27, false, kVkOem1, 0}, Row{40, 0x28, false, kVkOem7, 0},
    Row{41, 0x29, false, kVkOem3, 0}, Row{42, 0x2A, false, 0x10, 0},  // left Shift
    Row{43, 0x2B, false, kVkOem5, 0}, Row{44, 0x2C, false, 'Z', 0}, Row{45, 0x2D, false, 'X', 0},
    Row{46, 0x2E, false, 'C', 0}, Row{47, 0x2F, false, 'V', 0}, Row{48, 0x30, false, 'B', 0},
    Row{49, 0x31, false, 'N', 0}, Row{50, 0x32, false, 'M', 0},
    Row{51, 0x33, false, kVkOemComma, 0}, Row{52, 0x34, false, kVkOemPeriod, 0},
    Row{53, 0x35, false, kVkOem2, 0}, Row{54, 0x36, false, 0x10, 0},  // right Shift
    Row{55, 0x37, false, 0x6A, 0},                                    // keypad *
    Row{56, 0x38, false, 0x12, 0},                                    // left Alt
    Row{57, 0x39, false, 0x20, 0},                                    // Space
    Row{58, 0x3A, false, 0x14, 0},                                    // Caps Lock
    Row{59, 0x3B, false, 0x70, 0}, Row{60, 0x3C, false, 0x71, 0}, Row{61, 0x3D, false, 0x72, 0},
    Row{62, 0x3E, false, 0x73, 0}, Row{63, 0x3F, false, 0x74, 0}, Row{64, 0x40, false, 0x75, 0},
    Row{65, 0x41, false, 0x76, 0}, Row{66, 0x42, false, 0x77, 0}, Row{67, 0x43, false, 0x78, 0},
    Row{68, 0x44, false, 0x79, 0},  // F1 to F10
    Row{69, 0x45, false, 0x90, 0},  // Num Lock
    Row{70, 0x46, false, 0x91, 0},  // Scroll Lock
    // The keypad: digits with Num Lock, the cursor keys without it.
    Row{71, 0x47, false, 0x67, 0x24}, Row{72, 0x48, false, 0x68, 0x26},
    Row{73, 0x49, false, 0x69, 0x21}, Row{74, 0x4A, false, 0x6D, 0},
    Row{75, 0x4B, false, 0x64, 0x25}, Row{76, 0x4C, false, 0x65, 0x0C},
    Row{77, 0x4D, false, 0x66, 0x27}, Row{78, 0x4E, false, 0x6B, 0},
    Row{79, 0x4F, false, 0x61, 0x23}, Row{80, 0x50, false, 0x62, 0x28},
    Row{81, 0x51, false, 0x63, 0x22}, Row{82, 0x52, false, 0x60, 0x2D},
    Row{83, 0x53, false, 0x6E, 0x2E},
    Row{86, 0x56, false, kVkOem102, 0},  // the key beside left Shift on ISO keyboards
    Row{87, 0x57, false, 0x7A, 0}, Row{88, 0x58, false, 0x7B, 0},  // F11, F12
    Row{96, 0x1C, true, 0x0D, 0},                                  // keypad Enter
    Row{97, 0x1D, true, 0x11, 0},                                  // right Ctrl
    Row{98, 0x35, true, 0x6F, 0},                                  // keypad /
    Row{99, 0x37, true, 0x2C, 0},                                  // Print Screen
    Row{100, 0x38, true, 0x12, 0},                                 // right Alt (AltGr)
    Row{102, 0x47, true, 0x24, 0}, Row{103, 0x48, true, 0x26, 0},  // Home, Up
    Row{104, 0x49, true, 0x21, 0}, Row{105, 0x4B, true, 0x25, 0},  // Page Up, Left
    Row{106, 0x4D, true, 0x27, 0}, Row{107, 0x4F, true, 0x23, 0},  // Right, End
    Row{108, 0x50, true, 0x28, 0}, Row{109, 0x51, true, 0x22, 0},  // Down, Page Down
    Row{110, 0x52, true, 0x2D, 0}, Row{111, 0x53, true, 0x2E, 0},  // Insert, Delete
    Row{119, 0x45, false, 0x13, 0},                                // Pause (E1 1D 45)
    Row{125, 0x5B, true, 0x5B, 0}, Row{126, 0x5C, true, 0x5C, 0},  // the Windows keys
    Row{127, 0x5D, true, 0x5D, 0},                                 // Menu
};

}  // namespace

std::optional<PcKey> PcKeyOfInputCode(unsigned inputCode, bool numLock) {
  for (const Row& row : kRows) {
    if (row.inputCode != inputCode) continue;
    const uint16_t vk =
        !numLock && row.virtualKeyWithoutNumLock ? row.virtualKeyWithoutNumLock : row.virtualKey;
    return PcKey{row.scanCode, row.extended, vk};
  }
  return std::nullopt;
}

unsigned InputCodeOfScanCode(uint8_t scanCode, bool extended) {
  for (const Row& row : kRows) {
    // Pause shares Num Lock's scan code; Num Lock is the key that scan code names.
    if (row.scanCode == scanCode && row.extended == extended && row.inputCode != 119) {
      return row.inputCode;
    }
  }
  return 0;
}

}  // namespace velcrum
