// The network link's module.
#include "network/network_module.h"

#include "network/net_link.h"

namespace velcrum {

const Module kNetworkModule = {
    .name = "network",
    .reset = ResetNetLink,
    .drainQueues = VLNetSup_Pump,
};

}  // namespace velcrum
