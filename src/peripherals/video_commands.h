// The video overlay commands VA, VC, VS, VF, VR, VW, VD, VE, VI and VP.
#pragma once

#include <cstdint>

#include "interpreter/command_table.h"

namespace velcrum {

// The window the open overlay device reported to VF (0: none open).
extern uint32_t g_hOverlayWindow;

// Closes the overlay VF opened, if any ("close overlay"), and forgets its window.
void CloseVideoOverlay();

extern const CommandTable kVideoCommands;

}  // namespace velcrum
