// What this panel does with the device events NXI and the drivers deliver: revertives in
// their three forms (each made into one revertive text for VLRouSup_Revertive), network
// status, redundancy, device status answers, file session results and database
// notifications.
//
// Called by VLNetSup_Dispatch on the GUI thread: from the main window's procedure, or from
// the queue drain in synchronous mode. A line run here may be in the middle of another
// line's framed call (no synchronous mode), so each run keeps that line's place.
#pragma once

#include <cstdint>

namespace velcrum {

// One revertive text in command form: a two-letter code, device, index, value, the text in
// single quotes and a final 0. Sets S% (the value), S$ (the text, or for a GPI its name),
// the registered variables, and runs the registered line.
void VLRouSup_Revertive(const char* text);

// KAL_ROUTER_REVERTIVE: lParam's low 16 bits the destination, high 16 bits the source,
// whose name is looked up at NXI.
void OnRouterRevertive(uint32_t device, int32_t lParam);
// KAL_GPI_REVERTIVE: lParam's low 16 bits the GPI index, high 16 bits its state.
void OnGpiRevertive(uint32_t device, int32_t lParam);
// KAL_INFO_REVERTIVE from a connected driver: "index,text"; dropped unless the index lies
// within the connection's range.
void OnInfoRevertive(uint32_t device, const char* text);

// KAL_NETTXRXSTATUS: the status values for DM, then NETWORKMESSAGE (line 32400).
void OnNetworkStatus(uint32_t device, int32_t lParam);
// KAL_REQDEVGOTXRX and KAL_DEVICEIDINUSE (lParam: the device): the device's redundancy line.
void OnRedundancy(uint32_t message, int32_t device);
// KAL_DEVSTATUSMSG: the one-shot line of the device's status request, when the answer is
// for this panel.
void OnDeviceStatusAnswer(const char* text);
// KAL_SESSION_RESULT: S% the code, S$ its text, then the line in wParam.
void OnSessionResult(uint32_t line, int32_t code);
// KAL_DATABASE_MSG: the values for RD, NXI's answer to the follow-up query, then DATABASE
// (line 32000).
void OnDatabaseNotification(uint32_t wParam, int32_t lParam);

}  // namespace velcrum
