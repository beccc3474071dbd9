// SIGTERM and SIGINT as a request to close, handled in the message loop.
//
// A service manager stops a program with SIGTERM and an operator's Ctrl+C sends SIGINT.
// Left to their default, both kill the process where it stands; a program that has
// shut-down work (a panel's CLOSEDOWN section and its closing log lines, nxi's log) asks
// for them to arrive as a call from its message loop instead, as if its window had been
// asked to close. A second signal that arrives after the first ends the process at once
// (status 128 + the signal's number), for a shut-down that does not finish.
#pragma once

#include <functional>
#include <string>

namespace velcrum::platform {

// Installs the handlers; `onRequest` runs in the message loop (or a modal box's loop) once,
// for the first signal. Needs a Qt application object. False, with the reason, when the
// signals cannot be routed.
bool RouteTerminationSignals(std::function<void()> onRequest, std::string* error = nullptr);

}  // namespace velcrum::platform
