// The video overlay commands as a module.
#pragma once

#include "runtime/module.h"

namespace velcrum {

extern const Module kVideoModule;

}  // namespace velcrum
