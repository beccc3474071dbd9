// The under-monitor displays as a module: the UE and UP commands, the rotation on the main
// window's timer 20, and the chains closed at shut-down and on reset.
#pragma once

#include "runtime/module.h"

namespace velcrum {

extern const Module kUmdModule;

}  // namespace velcrum
