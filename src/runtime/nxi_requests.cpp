// The requests to NXI, through whichever carrier is installed.
#include "runtime/nxi_requests.h"

namespace velcrum {

namespace {
const NxiRequests* g_pNxiRequests = nullptr;
}  // namespace

void InstallNxiRequests(const NxiRequests* requests) {
  g_pNxiRequests = requests;
}

std::string LookUpNameAtNxi(int device, int database, int index, size_t replyBytes) {
  if (!g_pNxiRequests || !g_pNxiRequests->lookUpName) return {};
  return g_pNxiRequests->lookUpName(device, database, index, replyBytes);
}

int32_t DeviceInfoFromNxi(int device, size_t replyBytes, std::string* text) {
  if (!g_pNxiRequests || !g_pNxiRequests->deviceInfo) {
    if (text) text->clear();
    return 0;
  }
  return g_pNxiRequests->deviceInfo(device, replyBytes, text);
}

void SendTextToNxi(uint32_t message, std::string_view text) {
  if (g_pNxiRequests && g_pNxiRequests->sendText) g_pNxiRequests->sendText(message, text);
}

}  // namespace velcrum
