// The device tables of this panel: what each device's revertives run (registrations), the
// drivers it is connected to directly, the index filter of those connections, the one-shot
// lines of device status requests, and the values that device events leave for the
// commands that read them (DM, RD, XD).
//
// Every table is a fixed array indexed by device number (1 to 999; entry 0 is never used),
// so that an event finds its entry without a search. Everything runs on the GUI thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace velcrum {

inline constexpr int kMaxDevices = 999;
inline constexpr int kDeviceTableSize = 1000;
// Indexes within a device (destinations, sources, GPI numbers, slots): 0 to 4096 in
// commands, 1 to 4096 in the index filter.
inline constexpr int kMaxDeviceIndex = 4096;

constexpr bool IsDeviceNumber(int64_t device) {
  return device >= 1 && device <= kMaxDevices;
}
constexpr bool IsFilterIndex(int64_t index) {
  return index >= 1 && index <= kMaxDeviceIndex;
}

// What a device's revertives run: line (or line + index in offset mode), and the integer
// variables (0 to 51, -1 none) that receive the index and the device number.
struct Registration {
  int32_t line = 0;
  int32_t offsetMode = 0;
  int32_t indexVariable = -1;
  int32_t deviceVariable = -1;
};

// A driver this panel is connected to directly (window 0: none), the range of indexes its
// revertives may carry, the line that serves client commands for the device, and the line
// its redundancy messages run.
struct ConnectedDriver {
  uint32_t window = 0;
  int32_t lowestIndex = 0;
  int32_t highestIndex = 0;
  int32_t parserLine = 0;
  int32_t redundancyLine = 0;
};

// Left by KAL_NETTXRXSTATUS and the redundancy messages; read and cleared by DM.
struct NetworkStatus {
  int32_t device = 0;
  int32_t workstation = 0;
  int32_t state = 0;  // transmit/receive state, 0 to 3
  int32_t flags = 0;  // the status word without its two low bits
};

// Left by KAL_DATABASE_MSG; read and cleared by RD.
struct DatabaseNotification {
  int32_t wParam = 0;
  int32_t high = 0;         // lParam >> 16
  int32_t low = 0;          // lParam & 0xFFFF
  int32_t queryAnswer = 0;  // NXI's answer to KAL_DATABASE_QUERY
};

// Left by KAL_PARSER_COMMAND; read and cleared by XD.
struct ClientCommand {
  int32_t device = 0;
  int32_t index = 0;
  int32_t secondValue = 0;
  std::string text;  // at most 480 characters
  int32_t number = 0;
};

extern std::array<Registration, kDeviceTableSize> g_registrations;
extern std::array<ConnectedDriver, kDeviceTableSize> g_connectedDrivers;
// Line run once when the answer to a device status request arrives (0: none).
extern std::array<int32_t, kDeviceTableSize> g_statusAnswerLines;
extern NetworkStatus g_networkStatus;
extern DatabaseNotification g_databaseNotification;
extern ClientCommand g_clientCommand;

// The index filter of direct connections: per device a flag and a mark per index 1 to
// 4096. With the flag set only revertives of marked indexes run their line.
bool IndexFilterOn(int device);
void SetIndexFilter(int device, bool on);
bool IndexMarked(int device, int index);
// Marks (or unmarks) every index of first to last that lies within 1 to 4096.
void MarkIndexes(int device, int first, int last, bool marked);
// Whether any index of the device is still marked.
bool AnyIndexMarked(int device);

// Every table back to its state at start-up: registrations, connections, filter,
// status-answer lines and the saved event values.
void ResetDeviceTables();

}  // namespace velcrum
