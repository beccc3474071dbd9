// The interpreter as a module: its flow, numeric and memory command groups, and its reset.
#pragma once

#include "runtime/module.h"

namespace velcrum {

extern const Module kInterpreterModule;

}  // namespace velcrum
