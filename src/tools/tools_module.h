// The developer tools as a module.
#pragma once

#include "runtime/module.h"

namespace velcrum {

extern const Module kToolsModule;

}  // namespace velcrum
