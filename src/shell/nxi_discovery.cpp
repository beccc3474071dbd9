// NXI discovery. NXI answers a discovery broadcast by sending KAL_NXI_HANDLE to the main
// window while the broadcast is still in progress; the main window stores the handle in
// g_hwndNxi. KAL_CLIENT_HELLO is tried first; only if nobody answers is NXI.INI's
// ClientEnable read and KAL_NXI_FIND tried.
#include "shell/nxi_discovery.h"

#include <string>

#include "network/kal_messages.h"
#include "platform/desktop/desktop.h"
#include "platform/profile.h"
#include "runtime/bound_resources.h"
#include "runtime/configuration_files.h"
#include "runtime/process_state.h"
#include "runtime/warning_box.h"
#include "shell/sections.h"

namespace velcrum {
namespace {

void Broadcast(uint32_t message) {
  platform::Send(platform::kBroadcast,
                 platform::Message::Plain(message, g_hwndMain & 0xFFFF, kClientHelloDiscover));
}

// The panel subscribes to KAL_NETTXRXSTATUS only when it has a NETWORKMESSAGE section.
void SubscribeToNetworkStatus() {
  std::string section;
  if (!BoundResources().LoadString(kNetworkMessageSectionLine, section) || section.empty()) {
    return;
  }
  const auto answer = platform::Send(g_hwndNxi, platform::Message::Plain(KAL_NETMSG_QUERY));
  if (answer && *answer == 0) {
    platform::Send(g_hwndNxi,
                   platform::Message::Plain(KAL_NETMSG_REGISTER, g_hwndMain & 0xFFFF, 0));
  }
}

}  // namespace

bool DiscoverNxi() {
  g_hwndNxi = 0;
  Broadcast(KAL_CLIENT_HELLO);
  int clientEnable = -1;
  if (g_hwndNxi == 0) {
    clientEnable = GetPrivateProfileInt("Network", "ClientEnable", -1, NxiIniPath());
    Broadcast(KAL_NXI_FIND);
    if (g_hwndNxi != 0) {
      platform::Send(g_hwndNxi, platform::Message::Plain(KAL_CLIENT_HELLO, g_hwndMain & 0xFFFF,
                                                         kClientHelloDiscover));
    }
  }
  if (g_hwndNxi == 0) {
    ShowWarningBox("VORN Interface NXI.EXE not present (2)");
    return false;
  }
  if (clientEnable == 0) {
    ShowWarningBox("VORN Interface NXI.EXE not enabled in 'Client' mode. (3)");
    return false;
  }
  SubscribeToNetworkStatus();
  return true;
}

}  // namespace velcrum
