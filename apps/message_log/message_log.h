// The log of the stand-in peer programs (nxi, infodriver): one line for every message
// their window receives, and the same line after "> " for every message they send.
//
// Line format (fields separated by one space; the format is stable, tests read it):
//
//   MSG WPARAM VALUE KIND FROM SIZE DATA
//
//   MSG     the message number, decimal; for a WM_COPYDATA frame the framed message
//           (dwData >> 16)
//   WPARAM  decimal; for a frame dwData & 0xFFFF
//   VALUE   decimal, signed: lParam; for a numeric frame its value read as hex; 0 for a
//           text frame
//   KIND    plain (no data), string (lParam is a text), num (16-byte numeric frame) or
//           text (any other frame, read as a text frame)
//   FROM    the sending window of a frame (WM_COPYDATA's wParam), decimal; 0 otherwise
//   SIZE    the bytes carried: a frame's cbData, a string's length; 0 for plain
//   DATA    plain: -; num: every byte of the frame as two lower-case hex digits;
//           string and text: the text up to its first NUL in double quotes, with \\, \"
//           and \xHH (two lower-case hex digits) for a backslash, a quote and every byte
//           outside 0x20 to 0x7e
#pragma once

#include <string>

#include "platform/desktop/message.h"

namespace velcrum {

std::string MessageLogLine(const platform::Message& message);

}  // namespace velcrum
