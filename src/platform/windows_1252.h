// The Windows-1252 code page, the single-byte character set of scripts and panels: which
// byte stands for a Unicode character.
#pragma once

#include <cstdint>

namespace velcrum {

// The byte of the character in Windows-1252: itself below 0x80 and from 0xA0 to 0xFF, the
// printable characters Windows-1252 keeps at 0x80 to 0x9F (the euro sign at 0x80, ...),
// and '?' for a character outside the code page, as the ANSI conversion gives it.
uint8_t AnsiCodeOf(char32_t character);

}  // namespace velcrum
