// The registration commands of the three device kinds: RR, GR and IR ask for a device's
// revertives with a line; RU, GU and IU cancel them at NXI.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kRegistrationCommands;

}  // namespace velcrum
