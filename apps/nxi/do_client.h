// `nxi do TEXT`: hands an operator command to the nxi running on the desktop (the carrier
// is in do_carrier.h) and prints its answer.
#pragma once

#include <string>

namespace velcrum::nxi {

// Needs the Qt application object. Exit status: 0 when the command succeeded, 1 when it
// failed or no nxi answered (said on standard error).
int RunDoClient(const std::string& text);

}  // namespace velcrum::nxi
