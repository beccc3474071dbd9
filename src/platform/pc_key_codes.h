// The keys of a PC keyboard under their three names: the Linux input code the kernel
// reports (<linux/input-event-codes.h>), the scan code of set 1 with its extended-key
// flag (the E0 prefix), which Windows puts in bits 16 to 24 of a key message's lParam,
// and the Windows virtual key, positional as a United States layout names the keys.
//
// Below 0x59 the input code of a key that is not extended equals its scan code; the
// extended keys (the cursor block, the right-hand Ctrl and Alt, the keypad's Enter and
// "/") are listed with theirs.
#pragma once

#include <cstdint>
#include <optional>

namespace velcrum {

struct PcKey {
  uint8_t scanCode = 0;
  bool extended = false;
  uint32_t virtualKey = 0;
};

// The key of an input code, with the virtual key Windows gives it in the given Num Lock
// state (the keypad's digits are cursor keys while Num Lock is off); nothing for a code
// that no PC keyboard key has.
std::optional<PcKey> PcKeyOfInputCode(unsigned inputCode, bool numLock);

// The input code of a scan code and its extended flag; 0 when there is none.
unsigned InputCodeOfScanCode(uint8_t scanCode, bool extended);

}  // namespace velcrum
