// The Win32 window style bits that templates carry and that the runtime reads or gives its
// own windows (WS_...), as numbers: the dialogs read them from templates, the main window
// reports its style in them, and windows the runtime makes of its own are built from them.
#pragma once

#include <cstdint>

namespace velcrum::platform {

inline constexpr uint32_t WS_POPUP = 0x80000000;
inline constexpr uint32_t WS_CHILD = 0x40000000;
inline constexpr uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr uint32_t WS_VISIBLE = 0x10000000;
inline constexpr uint32_t WS_DISABLED = 0x08000000;
inline constexpr uint32_t WS_MAXIMIZE = 0x01000000;
inline constexpr uint32_t WS_CAPTION = 0x00C00000;
inline constexpr uint32_t WS_BORDER = 0x00800000;
inline constexpr uint32_t WS_VSCROLL = 0x00200000;
inline constexpr uint32_t WS_HSCROLL = 0x00100000;
inline constexpr uint32_t WS_SYSMENU = 0x00080000;
inline constexpr uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr uint32_t WS_GROUP = 0x00020000;
inline constexpr uint32_t WS_MINIMIZEBOX = 0x00020000;
inline constexpr uint32_t WS_TABSTOP = 0x00010000;
inline constexpr uint32_t WS_MAXIMIZEBOX = 0x00010000;
inline constexpr uint32_t WS_EX_NOPARENTNOTIFY = 0x00000004;

}  // namespace velcrum::platform
