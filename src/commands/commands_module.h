// The string, text and system commands as a module.
#pragma once

#include "runtime/module.h"

namespace velcrum {

extern const Module kCommandsModule;

}  // namespace velcrum
