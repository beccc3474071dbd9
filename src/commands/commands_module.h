// The string and text commands as a module.
#pragma once

#include "runtime/module.h"

namespace velcrum {

extern const Module kCommandsModule;

}  // namespace velcrum
