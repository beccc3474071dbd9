// The device events.
#include "network/device_events.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/nested_run.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "network/device_tables.h"
#include "network/kal_messages.h"
#include "network/net_link.h"
#include "runtime/nxi_requests.h"
#include "runtime/process_state.h"
#include "runtime/subsystem_settings.h"

namespace velcrum {

namespace {

// NETWORKMESSAGE, run for KAL_NETTXRXSTATUS.
constexpr int kNetworkMessageLine = 32400;
// The most of a revertive text the processor keeps, and of a name reply a revertive shows.
constexpr size_t kMaxRevertiveText = 512;
constexpr size_t kNameReplyBytes = 256;

// Runs a line for an event, keeping the place of a line it may interrupt.
void RunEventLine(int line) {
  const NestedRun keepPlace;
  RunLine(line, 0);
}

// Runs a section in sequence, from an empty subroutine frame of its own when asked.
void RunSection(int line, bool emptyFrame) {
  const NestedRun keepPlace;
  if (emptyFrame) PushEmptyProcFrame();
  g_bInSequence = true;
  RunLine(line, 0);
}

// KAL_GET_NAME for entry `index` of database 0 of the device: the name revertives show.
std::string SourceName(int device, int index) {
  return LookUpNameAtNxi(device, 0, index, kNameReplyBytes);
}

void StackTrace(const char* where) {
  if (!g_settings.outputSubroutineStack) return;
  TheHost().SystemDebuggerOut(
      Format("<<<< VLRouSup_Revertive %s >>>> iJumpPending %d, iProcStackPtr: %d", where,
             iJumpPending, g_iProcStackPtr));
}

const char* const kSessionResultTexts[] = {
    "Success",
    "Too many requests outstanding",
    "Workstation not found",
    "File not found",
    "Unable to open file",
    "Read error",
    "Write error",
    "Remote file is newer",
    "Disk full",
    "Session timeout",
    "Device not found",
};

}  // namespace

void VLRouSup_Revertive(const char* text) {
  const std::string revertive(text, strnlen(text, kMaxRevertiveText));
  DebugOut(revertive);
  StackTrace("START");

  // Everything is read from the parameters before the name lookup, which may run lines.
  GetArguments(revertive, 4);
  const int32_t device = ParamValue(1);
  const int32_t index = ParamValue(2);
  const int32_t value = ParamValue(3);
  std::string eventText = ParamText(4);
  DebugOut(Format("Revertive Message : %ld %ld %ld %s", static_cast<long>(device),
                  static_cast<long>(index), static_cast<long>(value), eventText.c_str()));

  if (!revertive.empty() && revertive[0] == 'G') eventText = SourceName(device, index);
  SetStringVariable(kEventVariable, eventText);
  g_lIntegerVariables[kEventVariable] = value;

  // A device outside the tables has no registration: nothing more than the log lines.
  if (!IsDeviceNumber(device)) {
    StackTrace("END");
    return;
  }
  const Registration& registration = g_registrations[static_cast<size_t>(device)];
  DebugOut(Format("Reg info for Dev %d is Static %d, Offset %d", device, registration.line, index));
  if (registration.indexVariable != -1) g_lIntegerVariables[registration.indexVariable] = index;
  if (registration.deviceVariable != -1) {
    g_lIntegerVariables[registration.deviceVariable] = device;
  }
  StackTrace("MIDDLE");

  const int line = registration.offsetMode ? registration.line + index : registration.line;
  if (!IndexFilterOn(device) || IndexMarked(device, index)) RunEventLine(line);
  StackTrace("END");
}

void OnRouterRevertive(uint32_t device, int32_t lParam) {
  const int destination = lParam & 0xFFFF;
  const int source = (static_cast<uint32_t>(lParam) >> 16) & 0xFFFF;
  const std::string name = SourceName(static_cast<int>(device), source);
  VLRouSup_Revertive(
      Format("RR %u %d %d '%s' 0", device, destination, source, name.c_str()).c_str());
}

void OnGpiRevertive(uint32_t device, int32_t lParam) {
  const int index = lParam & 0xFFFF;
  const int state = (static_cast<uint32_t>(lParam) >> 16) & 0xFFFF;
  VLRouSup_Revertive(Format("GR %u %d %d '%d' 0", device, index, state, state).c_str());
}

void OnInfoRevertive(uint32_t device, const char* text) {
  if (!text || !IsDeviceNumber(device)) return;
  const char* comma = std::strchr(text, ',');
  if (!comma) return;
  const long index = std::strtol(text, nullptr, 10);
  const ConnectedDriver& driver = g_connectedDrivers[device];
  if (index < driver.lowestIndex || index > driver.highestIndex) return;
  VLRouSup_Revertive(Format("IR %u %ld %ld '%s' 0", device, index, index, comma + 1).c_str());
}

void OnNetworkStatus(uint32_t device, int32_t lParam) {
  const uint32_t word = static_cast<uint32_t>(lParam) & 0xFFFFu;
  g_networkStatus = NetworkStatus{
      .device = static_cast<int32_t>(device),
      .workstation = static_cast<int32_t>(static_cast<uint32_t>(lParam) >> 16),
      .state = static_cast<int32_t>(word & 3u),
      .flags = static_cast<int32_t>(word & ~3u),
  };
  DebugOut(Format("KAL_NETTXRXSTATUS = %d %d %d %d", g_networkStatus.device,
                  g_networkStatus.workstation, g_networkStatus.state, g_networkStatus.flags));
  TimeStamp("30c4 - running NETWORKMESSAGE");
  RunSection(kNetworkMessageLine, false);
}

void OnRedundancy(uint32_t message, int32_t device) {
  const bool goActive = message == KAL_REQDEVGOTXRX;
  const char* name = goActive ? "KAL_REQDEVGOTXRX" : "KAL_DEVICEIDINUSE";
  g_networkStatus = NetworkStatus{.device = device,
                                  .workstation = g_instanceSettings.workstation,
                                  .state = goActive ? 2 : 1,
                                  .flags = 0};
  if (!IsDeviceNumber(device)) {
    DebugOut(Format("%s DeviceID out of range: %ld", name, static_cast<long>(device)));
    return;
  }
  const int line = g_connectedDrivers[static_cast<size_t>(device)].redundancyLine;
  if (line != 0) {
    TimeStamp(goActive ? "30c5 - running redundancy" : "30c6 - running redundancy");
    RunEventLine(line);
  }
  DebugOut(Format("%s = %ld", name, static_cast<long>(device)));
}

void OnDeviceStatusAnswer(const char* text) {
  GetArguments(text ? text : "", 6);
  const int32_t device = ParamValue(1);
  const int32_t value = ParamValue(2);
  const std::string statusText = ParamText(3);
  const int32_t workstation = ParamValue(4);
  const int32_t window = ParamValue(5);
  const int32_t requestLine = ParamValue(6);
  DebugOut(Format("KAL_DEVSTATUSMSG = %ld %ld '%s' %ld %ld %ld", static_cast<long>(device),
                  static_cast<long>(value), statusText.c_str(), static_cast<long>(workstation),
                  static_cast<long>(window), static_cast<long>(requestLine)));
  if (static_cast<uint32_t>(window) != g_hwndMain) return;
  if (!IsDeviceNumber(device)) {
    DebugOut(Format("KAL_DEVSTATUSMSG DeviceID out of range: %ld", static_cast<long>(device)));
    return;
  }
  SetStringVariable(kEventVariable, statusText);
  g_lIntegerVariables[kEventVariable] = value;
  g_bInSequence = false;
  int32_t& oneShot = g_statusAnswerLines[static_cast<size_t>(device)];
  const int line = oneShot;
  oneShot = 0;
  if (line != 0) {
    TimeStamp("13e3 - running KAL_DEVSTATUSMSG line result");
    RunEventLine(line);
  }
}

void OnSessionResult(uint32_t line, int32_t code) {
  const NestedRun keepPlace;
  g_bInSequence = true;
  TimeStamp("30c3a - running DATABASE");
  DebugOut(Format("Session result : %d %d", static_cast<int>(line), code));
  g_lIntegerVariables[kEventVariable] = code;
  if (code >= 0 && code < static_cast<int32_t>(std::size(kSessionResultTexts))) {
    SetStringVariable(kEventVariable, kSessionResultTexts[code]);
  }
  RunLine(static_cast<int>(line), 0);
}

void OnDatabaseNotification(uint32_t wParam, int32_t lParam) {
  g_databaseNotification.wParam = static_cast<int32_t>(wParam);
  g_databaseNotification.high = static_cast<int32_t>(static_cast<uint32_t>(lParam) >> 16);
  g_databaseNotification.low = lParam & 0xFFFF;
  g_databaseNotification.queryAnswer = SendNumberToNxi(KAL_DATABASE_QUERY, wParam, 0);
  TimeStamp("30c3b - running DATABASE");
  RunSection(kDatabaseLine, true);
}

}  // namespace velcrum
