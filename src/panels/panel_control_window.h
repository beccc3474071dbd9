// A panel's control as the video commands see it: its handle and size, found by the
// addressing rules (a missing panel or control reported with the call's two letters).
#pragma once

#include "interpreter/command_table.h"
#include "interpreter/host.h"

namespace velcrum {

PanelControlWindow FindPanelControlWindow(const CommandCall& call, int panel, int control);

}  // namespace velcrum
