// How `nxi do TEXT` hands an operator command to the running nxi over the desktop bus.
//
// The client sends the "NXI" window kMsgNxiDo as a text message (lParam is the text),
// wParam = a window of its own. nxi runs the command and, before the send returns, sends
// that window a WM_COPYDATA frame: dwData = PackFrameData(kMsgNxiDo, 1 when the command
// succeeded, else 0), the bytes the answer text (no terminator, up to 64 KiB). The send
// itself answers 1 once the answer has gone.
#pragma once

#include <cstdint>

namespace velcrum::nxi {

inline constexpr uint32_t kMsgNxiDo = 3290;

}  // namespace velcrum::nxi
