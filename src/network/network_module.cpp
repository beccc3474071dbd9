// The network link's module: the device tables and the link reset together, and the link
// carries the other subsystems' requests to NXI from the moment the program is configured.
#include "network/network_module.h"

#include "network/device_tables.h"
#include "network/net_link.h"
#include "network/nxi_request_carrier.h"
#include "network/registration_commands.h"
#include "runtime/process_state.h"

namespace velcrum {

namespace {

const CommandTable kGroups[] = {kRegistrationCommands};

void Reset() {
  ResetNetLink();
  ResetDeviceTables();
  InstallNxiRequests(&kNxiRequestCarrier);
}

void StartUp(StartUpStep step) {
  switch (step) {
    case StartUpStep::kConfigured:
      InstallNxiRequests(&kNxiRequestCarrier);
      break;
    case StartUpStep::kOnDesktop:
      // The registration reset of start-up: no device runs a line, no driver is connected.
      ResetDeviceTables();
      g_hwndConnectCandidate = 0;
      break;
    case StartUpStep::kScriptLoaded:
      break;
  }
}

}  // namespace

const Module kNetworkModule = {
    .name = "network",
    .commands = kGroups,
    .reset = Reset,
    .startUp = StartUp,
    .drainQueues = VLNetSup_Pump,
};

}  // namespace velcrum
