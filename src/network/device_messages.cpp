// The hand-over of network messages to device registration. Nothing is registered yet, so
// nothing is run.
#include "network/device_messages.h"

namespace velcrum {

void VLDevSup_OnNetworkMessage(uint32_t, uint32_t, uint32_t, int32_t, const char*) {}

}  // namespace velcrum
