// The keyboard capture's state and its event delivery. While a line is registered, each key
// the capture is given runs that line (a press) or the line 200 above it (a release), with
// the key's code or character in the script's two chosen variables.
#pragma once

#include <cstdint>

namespace velcrum {

struct KeyCapture {
  int line = 0;  // the registered line; 0 while the capture is off
  int stringVariable = 0;
  int integerVariable = 0;
  int mode = 0;            // 0 and 1: the main window's keys; 2 and 3: the hook library's
  uint32_t modifiers = 0;  // the modifier state (key_codes.h)
};

extern KeyCapture g_keyCapture;

inline constexpr int kReleaseLineOffset = 200;

// A key with a code of its own (key_codes.h): the string variable empty, the integer
// variable the code, and the press or release line run. In mode 0 a release runs nothing.
void DeliverKey(int code, bool press);

// A character (0 for the empty one): the integer variable its code, the string variable the
// character when its code is above 31, else empty; the press line runs.
void DeliverCharacter(uint8_t character);

// A press of a lock key, as KR gives one for each lock key it finds on: its bit toggled and
// the press delivered (in mode 1 not when its bit is already set).
void DeliverLockKeyPress(uint32_t virtualKey);

}  // namespace velcrum
