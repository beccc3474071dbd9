// The main window's own key messages, the keyboard capture's input in modes 0 and 1.
#pragma once

#include "platform/desktop/message.h"

namespace velcrum {

// WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN and WM_SYSKEYUP of the main window; nothing
// unless a line is registered in mode 0 or 1.
void OnCaptureWindowKey(const platform::Message& message);

}  // namespace velcrum
