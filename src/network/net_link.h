// The network link: the framed calls of the message tunnel (WM_COPYDATA) to NXI, the drivers
// and other copies of the runtime, the acceptance of incoming network messages by the main
// window, and the queue drain that runs queued control presses and network messages.
//
// Everything here runs on the GUI thread. A framed call waits inside platform::Send; the
// peer's KAL_REPLY frame, and any other message sent to the main window meanwhile, are
// handled before it returns. The reply value and text are single instances: a nested
// exchange overwrites the reply of an outer one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/desktop/message.h"

namespace velcrum {

using platform::Hwnd;

// A framed call with a numeric frame. Returns the reply value (the 16-bit result of the
// peer's KAL_REPLY). The reply is cleared first, so when no reply comes (no such window, the
// peer vanished or did not answer in time) the value is 0 and the text empty, and the debug
// output says so. For message KAL_REPLY itself: what the send returned (0 on failure); the
// reply is left alone.
int32_t VLNetSup_Send(Hwnd from, Hwnd to, uint32_t message, uint32_t wParam, int32_t value);

// A framed call with a text frame: the text in `text` (a buffer of at least 513 bytes) up to
// its first NUL, at most 512 characters. When length is not 0 the reply text is copied back
// into the buffer: at most min(length, 513) bytes, always NUL-terminated within them, the
// rest of them zero. With no reply, an empty text is copied and 0 returned.
// A null text sends an empty frame and copies nothing back.
int32_t VLNetSup_Send(Hwnd from, Hwnd to, uint32_t message, uint32_t wParam, char* text,
                      size_t length);

// A framed call with a block: all 513 bytes of `block` are sent as they stand, so that
// binary fields with zero bytes among them arrive whole (name lookups, registrations). The
// reply text is copied back as for a text call.
int32_t VLNetSup_SendBlock(Hwnd from, Hwnd to, uint32_t message, uint32_t wParam, char* block,
                           size_t length);

// The same calls from the main window to NXI, as almost every device command makes them.
int32_t SendNumberToNxi(uint32_t message, uint32_t wParam, int32_t value);
int32_t SendTextToNxi(uint32_t message, uint32_t wParam, char* text, size_t length);
int32_t SendBlockToNxi(uint32_t message, uint32_t wParam, char* block, size_t length);

// The main window's WM_COPYDATA handler (the window answers 1 itself). A KAL_REPLY frame
// stores the reply; any other frame is delivered to `self` as the plain message it carries
// (a numeric frame: lParam = its value; a text frame: a text message) and answered with a
// KAL_REPLY frame to `sender`: wParam = the result's low 16 bits, the same value or the
// same 513 bytes back.
void VLNetSup_OnCopyData(Hwnd self, Hwnd sender, const platform::Message& frame);

// Whether the main window hands this message number to VLNetSup_Accept.
bool VLNetSup_IsNetworkMessage(uint32_t message);

// Accepts a network message at the main window: in synchronous mode it goes into "RevFifo"
// for the queue drain (run at once when no line runs, else as soon as the loop is idle),
// otherwise it is dispatched at once. Returns the main window's answer:
// 1 for 2224, 2234, 2244, 2264, 2722 and 2776, 0 for the others.
platform::Result VLNetSup_Accept(const platform::Message& message);

// Handles one network message: each kind goes to its device event (device_events.h),
// client commands to the service of the devices this panel serves. window is always 0;
// text is the message's text, or null for integer messages.
void VLNetSup_Dispatch(uint32_t window, uint32_t message, uint32_t wParam, int32_t lParam,
                       const char* text);

// The queue drain (timer 24, and the panels after every message): all queued control
// presses, then all queued network messages. Does nothing before the start-up section has
// finished, once shut-down has begun, or while a drain is already running.
void VLNetSup_Pump();

// The main window's kMsgDrainQueues, posted when a network message is queued while a line
// runs: the drain, run as soon as the loop is idle again.
void VLNetSup_OnDrainRequest();

// The last reply received: its value (16 bits) and its text (NUL-terminated, 513 bytes).
int32_t VLNetSup_ReplyValue();
const char* VLNetSup_ReplyText();

// Reply value and text to zero and the drain's running mark cleared (tests).
void ResetNetLink();

}  // namespace velcrum
