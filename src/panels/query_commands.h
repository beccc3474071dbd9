// The Q group that asks the window system and the runtime: window handles of controls,
// panels and their parents (QC, QH, QP), the screen's size (QD) and the system queries of
// QS. QF, the Q command that is a request to NXI, belongs to the network's requests.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kQueryCommands;

}  // namespace velcrum
