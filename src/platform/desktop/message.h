// Window handles and messages: what travels between windows, in one process or across the
// desktop.
//
// A message is the classic quadruple (receiver, message number, wParam, lParam) and, for
// the messages that carry data, the bytes themselves: either a copy-data frame (dwData and
// the bytes, as WM_COPYDATA carries them) or a text that stands where a string pointer
// would be in lParam (message 2085 passes a parameter that way). Pointers never travel:
// the receiver gets its own copy of the bytes, valid for the duration of its call.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velcrum::platform {

// The two 16-bit halves of a wParam or lParam (LOWORD, HIWORD), and a value made of two
// (MAKELONG), as notifications and sizes pack them.
constexpr uint16_t LowWord(uint32_t value) {
  return static_cast<uint16_t>(value & 0xFFFF);
}
constexpr uint16_t HighWord(uint32_t value) {
  return static_cast<uint16_t>(value >> 16);
}
constexpr uint32_t MakeLong(uint32_t low, uint32_t high) {
  return (low & 0xFFFF) | ((high & 0xFFFF) << 16);
}

// A window handle: unique on the desktop, 1 to 0xFFFE. 0 is no window; kBroadcast
// addresses every top-level window of the desktop, as HWND_BROADCAST does.
using Hwnd = uint32_t;
inline constexpr Hwnd kNoWindow = 0;
inline constexpr Hwnd kBroadcast = 0xFFFF;
inline constexpr Hwnd kHighestHandle = 0xFFFE;

// The window messages the platform layer itself generates or gives meaning to. Numbers are
// the ones peers and scripts know.
inline constexpr uint32_t WM_NULL = 0x0000;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
inline constexpr uint32_t WM_COPYDATA = 0x004A;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;
inline constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr uint32_t WM_SYSCHAR = 0x0106;
inline constexpr uint32_t WM_COMMAND = 0x0111;
inline constexpr uint32_t WM_TIMER = 0x0113;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr uint32_t WM_USER = 0x0400;

// The mouse-message wParam bits: which buttons and modifier keys are down.
inline constexpr uint32_t MK_LBUTTON = 0x0001;
inline constexpr uint32_t MK_RBUTTON = 0x0002;
inline constexpr uint32_t MK_SHIFT = 0x0004;
inline constexpr uint32_t MK_CONTROL = 0x0008;
inline constexpr uint32_t MK_MBUTTON = 0x0010;

// What a message carries besides its three numbers.
enum class Payload : uint8_t {
  kNone = 0,
  kCopyData = 1,  // dwData and data, as WM_COPYDATA's COPYDATASTRUCT
  kText = 2,      // data is the text a string lParam points at (no terminating NUL)
};

// The most bytes a message may carry. WM_COPYDATA frames of the network link are 513
// bytes, texts at most a few KiB; anything larger is refused rather than sent.
inline constexpr size_t kMaxPayloadBytes = 65536;

struct Message {
  Hwnd hwnd = kNoWindow;  // the receiver; filled in on delivery
  uint32_t message = 0;
  uint32_t wParam = 0;
  int32_t lParam = 0;
  Payload payload = Payload::kNone;
  uint32_t dwData = 0;  // copy-data frames only
  std::string data;     // copy-data bytes or the text, as Payload says

  static Message Plain(uint32_t message, uint32_t wParam = 0, int32_t lParam = 0) {
    return Message{kNoWindow, message, wParam, lParam, Payload::kNone, 0, {}};
  }
  // WM_COPYDATA from the window `sender` (its wParam), with dwData and the bytes.
  static Message CopyData(Hwnd sender, uint32_t dwData, std::string_view bytes) {
    return Message{kNoWindow, WM_COPYDATA,       sender, 0, Payload::kCopyData,
                   dwData,    std::string(bytes)};
  }
  // A message whose lParam is a string.
  static Message Text(uint32_t message, uint32_t wParam, std::string_view text) {
    return Message{kNoWindow, message, wParam, 0, Payload::kText, 0, std::string(text)};
  }
};

// The answer of a window procedure (LRESULT): 32 bits, as peers receive it.
using Result = int32_t;

}  // namespace velcrum::platform
