// The keyboard capture's module: KR and KU, the main window's key messages, the hook
// library's key events and the focus timer.
#pragma once

#include "runtime/module.h"

namespace velcrum {

extern const Module kKeysModule;

}  // namespace velcrum
