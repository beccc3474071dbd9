// The network link as the carrier of the requests to NXI that other subsystems make
// (runtime/nxi_requests.h): framed calls from the main window to NXI.
#pragma once

#include "runtime/nxi_requests.h"

namespace velcrum {

extern const NxiRequests kNxiRequestCarrier;

}  // namespace velcrum
