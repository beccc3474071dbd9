// The network link's module: the device command groups, the device tables and the link
// reset together, the link carries the other subsystems' requests to NXI from the moment the
// program is configured, and the drivers this panel is connected to are told when it leaves.
#include "network/network_module.h"

#include "network/device_commands.h"
#include "network/device_tables.h"
#include "network/driver_link.h"
#include "network/messaging_commands.h"
#include "network/net_link.h"
#include "network/nxi_request_carrier.h"
#include "network/nxi_request_commands.h"
#include "network/registration_commands.h"
#include "runtime/process_state.h"

namespace velcrum {

namespace {

const CommandTable kGroups[] = {kRegistrationCommands, kMessagingCommands, kRouterCommands,
                                kInfodriverCommands,   kGpiCommands,       kDeviceDatabaseCommands,
                                kNxiRequestCommands};

void Reset() {
  ResetNetLink();
  ResetDeviceTables();
  ResetMessagingCommands();
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

void ShutDown(ShutDownStep step) {
  if (step == ShutDownStep::kLeftNxi) DisconnectAllDrivers();
}

}  // namespace

const Module kNetworkModule = {
    .name = "network",
    .commands = kGroups,
    .reset = Reset,
    .startUp = StartUp,
    .shutDown = ShutDown,
    .drainQueues = VLNetSup_Pump,
};

}  // namespace velcrum
