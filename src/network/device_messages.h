// Where the network link hands the network messages that concern registered devices:
// device status answers, redundancy requests, revertives, session results and client
// commands. The device-registration subsystem decides what each one runs.
#pragma once

#include <cstdint>

namespace velcrum {

// Called by VLNetSup_Dispatch, from the main window or from the queue drain, for every
// accepted network message other than KAL_NETTXRXSTATUS and KAL_DATABASE_MSG: window is 0,
// lParam the message's integer (0 for text messages), text its text or null for integer
// messages. Until device registration exists it does nothing.
void VLDevSup_OnNetworkMessage(uint32_t window, uint32_t message, uint32_t wParam, int32_t lParam,
                               const char* text);

}  // namespace velcrum
