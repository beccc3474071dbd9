// The panel's side of direct driver connections: disconnecting, and serving client
// commands for a device.
#include "network/driver_link.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include "interpreter/arguments.h"
#include "interpreter/decimal.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/format.h"
#include "interpreter/nested_run.h"
#include "network/device_tables.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "network/net_link.h"
#include "platform/desktop/desktop.h"
#include "runtime/process_state.h"

namespace velcrum {
namespace {

// The most of a client's command text that is kept.
constexpr size_t kMaxClientText = 480;

ConnectedDriver* RecordOf(int device) {
  return IsDeviceNumber(device) ? &g_connectedDrivers[static_cast<size_t>(device)] : nullptr;
}

// Whether the device has a parser line and the index lies within its registered range.
bool ServesIndex(int device, int index) {
  const ConnectedDriver* record = RecordOf(device);
  return record && record->parserLine != 0 && index >= record->lowestIndex &&
         index <= record->highestIndex;
}

// The parser line runs in the middle of whatever this panel was doing when the command
// came (a line waiting in a send), which gets its place back afterwards.
void RunParserLine(int device) {
  const int line = RecordOf(device)->parserLine;
  const NestedRun keepPlace;
  RunLine(line, 0);
}

// The client's text goes on to the device's driver as it came.
void Forward(int device, const std::string& text) {
  const ConnectedDriver* record = RecordOf(device);
  std::array<char, kTextFrameBytes> frame{};
  std::memcpy(frame.data(), text.data(), std::min(text.size(), kMaxFrameText));
  VLNetSup_Send(g_hwndMain, record ? record->window : platform::kNoWindow, KAL_DRIVER_CMD, 0,
                frame.data(), 0);
}

std::string_view Param(int n) {
  return {ParamText(n), static_cast<size_t>(ParamTextLength(n))};
}

}  // namespace

void VLDxSup_Disconnect(int device) {
  ConnectedDriver* record = RecordOf(device);
  if (!record) return;
  const uint32_t window = record->window;
  DebugOut(Format("Disconnecting from driver %d, hWnd %04x", device, window));
  platform::Send(window, platform::Message::Plain(KAL_DRIVER_DISCONNECT, window, device));
  *record = ConnectedDriver{};
}

void DisconnectAllDrivers() {
  for (int device = 1; device <= kMaxDevices; ++device) {
    if (g_connectedDrivers[static_cast<size_t>(device)].window != 0) VLDxSup_Disconnect(device);
  }
}

void VLDxSup_OnParserCommand(const char* received) {
  if (!received) return;
  const std::string text(received, strnlen(received, kMaxClientText));
  DebugOut("Parser Client String: ");
  DebugOut(text);

  ClientCommand& command = g_clientCommand;
  const std::string_view letters(text);
  if (letters.starts_with("RC")) {
    // RC device destination source 'text' number
    GetArguments(text, 5);
    command.device = ParamValue(1);
    command.secondValue = ParamValue(2);
    command.index = ParamValue(3);
    command.text = Param(4);
    command.number = ParamValue(5);
  } else if (letters.starts_with("GS")) {
    // GS device index state number
    GetArguments(text, 5);
    command.device = ParamValue(1);
    command.index = ParamValue(2);
    command.secondValue = ParamValue(3);
    command.text.clear();
    command.number = ParamValue(4);
  } else if (letters.starts_with("IW")) {
    // IW device 'text' index number; the text read as a number is the second value.
    GetArguments(text, 4);
    command.device = ParamValue(1);
    command.text = Param(2);
    command.secondValue = ReadDecimal(command.text);
    command.index = ParamValue(3);
    command.number = ParamValue(4);
  } else if (letters.starts_with("R") || letters.starts_with("G") || letters.starts_with("I")) {
    GetArguments(text, 1);
    command.device = ParamValue(1);
    Forward(command.device, text);
    return;
  } else {
    return;
  }

  if (ServesIndex(command.device, command.index)) {
    RunParserLine(command.device);
  } else {
    Forward(command.device, text);
  }
}

}  // namespace velcrum
