// The requests to NXI of other subsystems, as framed calls.
#include "network/nxi_request_carrier.h"

#include <array>
#include <cstring>

#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "network/net_link.h"

namespace velcrum {

namespace {

std::string LookUpName(int device, int database, int index, size_t replyBytes) {
  std::array<char, kTextFrameBytes> block{};
  PutInt16Field(block.data(), 0, static_cast<uint16_t>(device));
  PutInt16Field(block.data(), 1, static_cast<uint16_t>(database));
  PutInt16Field(block.data(), 2, static_cast<uint16_t>(index));
  SendBlockToNxi(KAL_GET_NAME, 0, block.data(), replyBytes);
  return std::string(block.data(), strnlen(block.data(), block.size()));
}

int32_t DeviceInfo(int device, size_t replyBytes, std::string* text) {
  std::array<char, kTextFrameBytes> buffer{};
  const int32_t value =
      SendTextToNxi(KAL_DEVICE_INFO, static_cast<uint32_t>(device), buffer.data(), replyBytes);
  if (text) text->assign(buffer.data(), strnlen(buffer.data(), buffer.size()));
  return value;
}

void SendText(uint32_t message, std::string_view text) {
  std::array<char, kTextFrameBytes> buffer{};
  const size_t kept = std::min(text.size(), kMaxFrameText);
  std::memcpy(buffer.data(), text.data(), kept);
  SendTextToNxi(message, 0, buffer.data(), 0);
}

}  // namespace

const NxiRequests kNxiRequestCarrier = {
    .lookUpName = LookUpName,
    .deviceInfo = DeviceInfo,
    .sendText = SendText,
};

}  // namespace velcrum
