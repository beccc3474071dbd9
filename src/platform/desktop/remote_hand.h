// The desktop tool's hand inside a process: requests from the `desktop` program to list a
// window's controls and items, press them, type and take pictures, answered by the
// platform layer of the process that owns the window, before the window's procedure sees
// anything.
//
// A request is a message sent to the window: kHandRequest, wParam the requesting window,
// the request as text. The answer's bytes go back to the requesting window before the send
// returns, as WM_COPYDATA messages with dwData kHandAnswer, in pieces of at most
// kMaxPayloadBytes; the send's result is kHandDone, kHandRefused when the answer is the
// reason the request was refused, or kHandUndelivered. docs/DESKTOP-BUS.md describes the requests.
#pragma once

#include <optional>

#include "platform/desktop/message.h"

namespace velcrum::platform {

// In the range Windows keeps for its own messages, where no panel or peer sends.
inline constexpr uint32_t kHandRequest = 0x03F0;
inline constexpr uint32_t kHandAnswer = 0x48414E44;  // "HAND"
inline constexpr Result kHandDone = 0;
inline constexpr Result kHandRefused = 1;
inline constexpr Result kHandUndelivered = 2;  // the answer could not be sent back whole

inline bool IsHandRequest(const Message& message) {
  return message.message == kHandRequest && message.payload == Payload::kText;
}

// Carries out a request sent to `target` from another process and sends the answer to
// the requesting window. Nothing when `target` is no window of this process.
std::optional<Result> AnswerHandRequest(Hwnd target, const Message& request);

// BringWindowToTop and SetForegroundWindow for any top-level window with a widget, of this
// process or another: the process that owns it raises and activates it (the hand request
// "raise"). False when the window is gone or shows nothing.
bool RaiseWindow(Hwnd hwnd);

}  // namespace velcrum::platform
