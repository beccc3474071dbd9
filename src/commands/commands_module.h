// The string, text, system and extension commands as a module.
#pragma once

#include "runtime/module.h"

namespace velcrum {

extern const Module kCommandsModule;

}  // namespace velcrum
