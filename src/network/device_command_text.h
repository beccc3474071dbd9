// What the device commands share: the checks they all make in the same way, the 16-bit
// wParam that carries the device (and a flag in bit 15), the 512-character limit of a
// composed command text on its way to NXI, and the debugger line of a device number
// beyond the device tables.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "interpreter/command_table.h"
#include "network/device_tables.h"

namespace velcrum {

// CheckNumericParam on parameters first to last; the checks only report.
void CheckNumberParams(const CommandCall& call, int first, int last);

// ReportParamRange when parameter n lies outside low to high. Whether it lies within, in
// every inspection mode: for the checks that end a command whatever the mode, or that
// never do.
bool ParamInRange(const CommandCall& call, int n, int64_t low, int64_t high);

// The text of parameter n, whole (up to 512 characters).
std::string_view ParamView(int n);

// The workstation number that ends most command texts.
int Workstation();

// The device number as wParam: its low 16 bits, with bit 15 set when the flag is not 0.
uint32_t DeviceWParam(int32_t device, int32_t flag = 0);

// A composed command text as a text frame carries it: a text of more than 512 characters
// is reported ("Composite string exceeds max length (512). Truncating.") and cut to 512.
std::string FrameSizedText(const CommandCall& call, std::string text);

// Sends a composed text to NXI as a text frame of `message` with `wParam` (the reply is
// not used); an over-long text is reported and cut first, as FrameSizedText does.
void SendCommandText(const CommandCall& call, uint32_t message, uint32_t wParam,
                     std::string_view text);

// Whether the device lies within 0 to 999, the numbers a device command text may carry.
constexpr bool IsSendableDevice(int32_t device) {
  return device >= 0 && device <= kMaxDevices;
}

// Whether the device of parameter n lies within 0 to 999; a device outside is reported
// (again, after its own range check) for the text that is not sent.
bool SendableOrReported(const CommandCall& call, int n);

// The debugger line of a device beyond the tables:
// "<panel> XX ----------------> Device Number:N is > 999 MAX_DEVICES".
void SayDeviceAboveMax(const CommandCall& call, int32_t device);

}  // namespace velcrum
