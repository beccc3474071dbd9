// The shared steps of the device commands' texts (see device_command_text.h).
#include "network/device_command_text.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/host.h"
#include "interpreter/parameter_checks.h"
#include "network/device_tables.h"
#include "network/net_frame.h"
#include "network/net_link.h"
#include "runtime/subsystem_settings.h"

namespace velcrum {

void CheckNumberParams(const CommandCall& call, int first, int last) {
  for (int n = first; n <= last; ++n) CheckNumericParam(Mnemonic(call), n, false, false, call.text);
}

bool ParamInRange(const CommandCall& call, int n, int64_t low, int64_t high) {
  const int64_t value = ParamValue(n);
  if (value >= low && value <= high) return true;
  ReportParamRange(Mnemonic(call), n, call.text);
  return false;
}

std::string_view ParamView(int n) {
  return {ParamText(n), static_cast<size_t>(ParamTextLength(n))};
}

int Workstation() {
  return g_instanceSettings.workstation;
}

uint32_t DeviceWParam(int32_t device, int32_t flag) {
  const uint32_t wParam = static_cast<uint32_t>(device) & 0xFFFFu;
  return flag != 0 ? wParam | 0x8000u : wParam;
}

std::string FrameSizedText(const CommandCall& call, std::string text) {
  if (text.size() > kMaxFrameText) {
    ReportWarning(Mnemonic(call), "Composite string exceeds max length (512). Truncating.");
    text.resize(kMaxFrameText);
  }
  return text;
}

void SendCommandText(const CommandCall& call, uint32_t message, uint32_t wParam,
                     std::string_view text) {
  const std::string kept = FrameSizedText(call, std::string(text));
  std::array<char, kTextFrameBytes> buffer{};
  std::memcpy(buffer.data(), kept.data(), kept.size());
  SendTextToNxi(message, wParam, buffer.data(), 0);
}

bool SendableOrReported(const CommandCall& call, int n) {
  if (IsSendableDevice(ParamValue(n))) return true;
  ReportParamRange(Mnemonic(call), n, call.text);
  return false;
}

void SayDeviceAboveMax(const CommandCall& call, int32_t device) {
  TheHost().SystemDebuggerOut(
      Format("<%s> %.2s ----------------> Device Number:%ld is > %d MAX_DEVICES",
             g_instanceName.c_str(), call.text.data(), static_cast<long>(device), kMaxDevices));
}

}  // namespace velcrum
