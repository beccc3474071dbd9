// Alt with Shift then "D": the keyboard's way to toggle the variables windows (the pop-up
// menu's item 504), on the main window, the panels and the variables windows alike. There
// is one keyboard, so all of them share one state.
#pragma once

#include "platform/desktop/message.h"

namespace velcrum {

// Reads a keyboard message of any of those windows: Shift pressed while Alt is held (a
// system key) arms the shortcut, a "D" pressed then completes it (true), Shift's release
// disarms it. Other messages change nothing.
bool CompletesVariablesShortcut(const platform::Message& message);

// Disarmed, as at program start.
void ResetVariablesShortcut();

}  // namespace velcrum
