// The main window's module: the commands that arrange the main window and the panels,
// switch the debug outputs and show the message window. It needs the desktop, so only
// the windowed program lists it.
#pragma once

#include "runtime/module.h"

namespace velcrum {

extern const Module kMainWindowModule;

}  // namespace velcrum
