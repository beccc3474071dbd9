// The modules that run scripts without a window: the interpreter, the string and text
// commands and the shell's own commands. velcrum-run installs these, and so do the tests
// and the fuzzers that run script lines.
#pragma once

#include <span>

#include "runtime/module.h"

namespace velcrum {

std::span<const Module* const> DisplayFreeModules();

}  // namespace velcrum
