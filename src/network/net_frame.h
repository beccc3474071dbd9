// The frames of the message tunnel: how a message number, its 16-bit wParam and a value or
// a text travel inside WM_COPYDATA between the runtime, NXI and the drivers.
//
// dwData holds (message << 16) | (wParam & 0xFFFF). The bytes are either a numeric frame,
// 16 bytes holding the 32-bit value as exactly eight lower-case hex digits and a NUL, or a
// text frame, 513 bytes holding a NUL-terminated text of at most 512 characters with the
// rest zero. Frames from peers are never trusted: the readers here accept any bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velcrum {

inline constexpr size_t kNumericFrameBytes = 16;
inline constexpr size_t kTextFrameBytes = 513;
inline constexpr size_t kMaxFrameText = kTextFrameBytes - 1;

constexpr uint32_t PackFrameData(uint32_t message, uint32_t wParam) {
  return (message << 16) | (wParam & 0xFFFFu);
}
constexpr uint32_t FrameMessage(uint32_t dwData) {
  return dwData >> 16;
}
constexpr uint32_t FrameWParam(uint32_t dwData) {
  return dwData & 0xFFFFu;
}

// The 16 bytes of a numeric frame: -1 is "ffffffff" and a NUL, the rest zero.
std::string NumericFrame(int32_t value);

// Reads a numeric frame as "%08lx" would: leading white space is skipped, then up to eight
// hex digits (either case) are taken, stopping at the first other byte or the end of the
// bytes. Bad bytes are not an error: the value is that of the digits before them, and 0
// when there are none (an empty, NUL or garbage frame reads as 0). Digits beyond the
// eighth are ignored, so the value always fits the 32 bits it was written from.
int32_t ReadNumericFrame(std::string_view bytes);

// The 513 bytes of a text frame: the text up to its first NUL, cut to 512 characters, then
// zeros.
std::string TextFrame(std::string_view text);

// The text a text frame holds: its bytes up to the first NUL, never more than 512 (the
// 513th byte is where the terminator must be, so a frame without one is cut there). A short
// frame yields what it has.
std::string_view FrameText(std::string_view bytes);

// The 16-bit fields that requests lay out at the start of a 513-byte block (device,
// database, index ...), in the byte order of the machines the protocol was made on: least
// significant byte first. Field n occupies bytes 2n and 2n + 1.
void PutInt16Field(char* block, int field, uint16_t value);
uint16_t Int16Field(std::string_view block, int field);

// Whether a frame of this many bytes is a numeric one; every other size is read as text.
constexpr bool IsNumericFrame(size_t size) {
  return size == kNumericFrameBytes;
}

}  // namespace velcrum
