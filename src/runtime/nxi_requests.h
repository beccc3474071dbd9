// The requests to NXI that subsystems other than the network link make: the name lookups
// that fill controls and lists (CN, LR), the device information that fills a list (DL)
// and the free text of SM.
//
// The network link carries them and installs itself here when its module is reset or the
// program is configured. Without it (no network link in the program) every request goes
// nowhere, as a framed call to a missing NXI does: a lookup gives the empty text and 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velcrum {

// The devices NXI knows (1 to this) and the indexes within one (1 to this).
inline constexpr int kMaxNxiDevice = 999;
inline constexpr int kMaxNxiIndex = 4096;

struct NxiRequests {
  // KAL_GET_NAME: the name of entry `index` of database `database` of `device`, the reply
  // text cut to replyBytes - 1 characters.
  std::string (*lookUpName)(int device, int database, int index, size_t replyBytes) = nullptr;
  // KAL_DEVICE_INFO for `device`: the reply value (0: no such device) and, in `text`, the
  // reply text cut to replyBytes - 1 characters.
  int32_t (*deviceInfo)(int device, size_t replyBytes, std::string* text) = nullptr;
  // A text frame of at most 512 characters with `message` and wParam 0; the reply is not
  // used.
  void (*sendText)(uint32_t message, std::string_view text) = nullptr;
};

// The carrier; nullptr removes it. It must outlive its installation.
void InstallNxiRequests(const NxiRequests* requests);

std::string LookUpNameAtNxi(int device, int database, int index, size_t replyBytes);
int32_t DeviceInfoFromNxi(int device, size_t replyBytes, std::string* text);
void SendTextToNxi(uint32_t message, std::string_view text);

}  // namespace velcrum
