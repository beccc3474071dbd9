// The modules the velcrum program is made of, in the order their start-up and shut-down
// steps run: every display-free module and the network link. The program installs these;
// so do the tests that run a main window in their own process.
#pragma once

#include <span>

#include "runtime/module.h"

namespace velcrum {

std::span<const Module* const> RuntimeModules();

}  // namespace velcrum
