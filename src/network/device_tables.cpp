// The device tables.
#include "network/device_tables.h"

#include <algorithm>
#include <vector>

namespace velcrum {

std::array<Registration, kDeviceTableSize> g_registrations{};
std::array<ConnectedDriver, kDeviceTableSize> g_connectedDrivers{};
std::array<int32_t, kDeviceTableSize> g_statusAnswerLines{};
NetworkStatus g_networkStatus;
DatabaseNotification g_databaseNotification;
ClientCommand g_clientCommand;

namespace {

constexpr size_t kMarksPerDevice = kMaxDeviceIndex + 1;

std::array<bool, kDeviceTableSize> g_filterOn{};
// kDeviceTableSize x kMarksPerDevice marks, allocated on first use.
std::vector<uint8_t> g_filterMarks;

bool InTable(int device) {
  return device >= 0 && device < kDeviceTableSize;
}

uint8_t* MarksOf(int device) {
  if (g_filterMarks.empty()) g_filterMarks.assign(kDeviceTableSize * kMarksPerDevice, 0);
  return g_filterMarks.data() + static_cast<size_t>(device) * kMarksPerDevice;
}

}  // namespace

bool IndexFilterOn(int device) {
  return InTable(device) && g_filterOn[static_cast<size_t>(device)];
}

void SetIndexFilter(int device, bool on) {
  if (InTable(device)) g_filterOn[static_cast<size_t>(device)] = on;
}

bool IndexMarked(int device, int index) {
  if (!InTable(device) || !IsFilterIndex(index) || g_filterMarks.empty()) return false;
  return MarksOf(device)[index] != 0;
}

void MarkIndexes(int device, int first, int last, bool marked) {
  if (!InTable(device)) return;
  first = std::max(first, 1);
  last = std::min(last, kMaxDeviceIndex);
  if (first > last) return;
  uint8_t* marks = MarksOf(device);
  std::fill(marks + first, marks + last + 1, marked ? 1 : 0);
}

bool AnyIndexMarked(int device) {
  if (!InTable(device) || g_filterMarks.empty()) return false;
  const uint8_t* marks = MarksOf(device);
  return std::any_of(marks + 1, marks + kMaxDeviceIndex + 1, [](uint8_t m) { return m != 0; });
}

void ResetDeviceTables() {
  g_registrations.fill(Registration{});
  g_connectedDrivers.fill(ConnectedDriver{});
  g_statusAnswerLines.fill(0);
  g_networkStatus = {};
  g_databaseNotification = {};
  g_clientCommand = {};
  g_filterOn.fill(false);
  std::fill(g_filterMarks.begin(), g_filterMarks.end(), 0);
}

}  // namespace velcrum
