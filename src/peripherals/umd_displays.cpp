// The display chains, their store and the rotation.
//
// The store holds 512 slots of 24 bytes; the slot of display d on chain c (from 1) is
// (c - 1) x displays-per-chain + d, and a slot's chain is found the same way back. A
// virtualised TSL display shares its physical display's slot with its other half, and
// the tally store keeps the control byte both halves make together.
#include "peripherals/umd_displays.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>

#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "peripherals/serial_port.h"
#include "runtime/subsystem_settings.h"
#include "runtime/timers.h"

namespace velcrum {
namespace {

constexpr int kNoPort = -1;
constexpr int kTslDisplaysPerChain = 128;
constexpr int kBasicDisplaysPerChain = 16;

using Store = std::array<char, kUmdSlots * kUmdSlotSize>;

struct UmdState {
  UmdProtocol protocol = UmdProtocol::kTsl;
  int displaysPerChain = kTslDisplaysPerChain;
  int width = kUmdTextSize;
  bool virtualisation = false;
  bool cycleAmazon = true;
  // The port index of each chain, or kNoPort.
  int ports[kUmdChains] = {kNoPort, kNoPort, kNoPort, kNoPort};
  std::unique_ptr<Store> store;
  std::array<uint8_t, kUmdSlots + 1> tallies{};
  int rotationIndex = 0;
};

UmdState g_umd;

char* Slot(int slot) {
  return g_umd.store->data() + (slot - 1) * kUmdSlotSize;
}

// Settles the protocol and its dimensions from the settings. A width beyond what a
// message has room for (1 to 16) is taken as 16.
void SettleFromSettings() {
  const UmdSettings& settings = g_umdSettings;
  if (settings.protocol == "TSL") {
    g_umd.protocol = UmdProtocol::kTsl;
  } else if (settings.protocol == "AMAZON") {
    g_umd.protocol = UmdProtocol::kAmazon;
  } else {
    g_umd.protocol = UmdProtocol::kBasic;
  }
  g_umd.displaysPerChain =
      g_umd.protocol == UmdProtocol::kBasic ? kBasicDisplaysPerChain : kTslDisplaysPerChain;
  g_umd.width = settings.size >= 1 && settings.size <= kUmdTextSize ? settings.size : kUmdTextSize;
  g_umd.virtualisation = settings.virtualisation == 1 && g_umd.protocol == UmdProtocol::kTsl;
  g_umd.cycleAmazon = settings.cycleAmazon == 1;
}

// Basic slots are all spaces; TSL and AMAZON slots hold a blank message of their display
// (address, "0", 16 spaces). The address is that of the slot's display on its chain,
// 0x80 to 0xFF.
void PresetStore() {
  Store& store = *g_umd.store;
  store.fill(0);
  if (g_umd.protocol == UmdProtocol::kBasic) {
    store.fill(' ');
    return;
  }
  for (int slot = 1; slot <= kUmdSlots; ++slot) {
    char* bytes = Slot(slot);
    bytes[0] = static_cast<char>((slot - 1) % kTslDisplaysPerChain + 128);
    bytes[1] = '0';
    std::memset(bytes + 2, ' ', kUmdTextSize);
  }
}

std::string HexBytes(std::span<const uint8_t> bytes) {
  std::string text;
  for (const uint8_t byte : bytes) text += Format("%02x ", byte);
  return text;
}

// The bytes of a slot's message: basic messages end at their terminator (at most the
// whole slot), TSL messages are 18 bytes and AMAZON messages 19.
std::span<const uint8_t> SlotMessage(int slot) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(Slot(slot));
  switch (g_umd.protocol) {
    case UmdProtocol::kBasic:
      return {bytes, strnlen(Slot(slot), kUmdSlotSize)};
    case UmdProtocol::kTsl:
      return {bytes, kTslMessageSize};
    case UmdProtocol::kAmazon:
      break;
  }
  return {bytes, kAmazonMessageSize};
}

void SendSlot(int slot) {
  const int chain = (slot - 1) / g_umd.displaysPerChain;
  const int port = g_umd.ports[chain];
  if (port == kNoPort) return;
  const std::span<const uint8_t> message = SlotMessage(slot);
  if (DebugOutEnabled()) {
    DebugOut(Format("Tx : Ch %d, Umd %d > ", chain + 1, slot) + HexBytes(message));
  }
  WriteSerialPort(port, message);
}

void Keep(int slot, const std::string& message) {
  char* bytes = Slot(slot);
  std::memset(bytes, 0, kUmdSlotSize);
  std::memcpy(bytes, message.data(), std::min<std::size_t>(message.size(), kUmdSlotSize - 1));
}

void CloseChains() {
  for (int& port : g_umd.ports) {
    if (port != kNoPort) CloseSerialPort(port);
    port = kNoPort;
  }
}

// TSL on a display: the virtualised halves share the slot of their physical display, the
// other half's text and tally bits kept from the slot's previous message.
int PutTsl(const UmdCaption& caption, int chain, int display, int cues, int brightness,
           std::string& message) {
  if (!g_umd.virtualisation) {
    const uint8_t control = TslControl(cues, brightness, caption.alternativeTally);
    const std::string text = UmdText(LayOutCaption(caption.text, g_umd.width));
    DebugOut(Format("Attrib : %02x", control));
    DebugOut("'" + text + "'");
    message = TslUmdMessage(display, control, text);
    return (chain - 1) * g_umd.displaysPerChain + display;
  }
  const int physical = (display + 1) / 2;
  const bool right = display % 2 == 0;
  DebugOut(Format("UMD Number is %ld", static_cast<long>(physical)));
  const int slot = (chain - 1) * g_umd.displaysPerChain + physical;
  const std::string old(Slot(slot), kTslMessageSize);
  DebugOut("Old is...");
  DebugOut(HexBytes({reinterpret_cast<const uint8_t*>(old.data()), old.size()}));
  const uint8_t control = TslControl(cues, brightness, caption.alternativeTally, right ? 2 : 0);
  uint8_t& tally = g_umd.tallies[slot];
  tally = static_cast<uint8_t>((tally & (right ? 3 : 12)) | control);
  std::string text = old.substr(2);
  text.replace(right ? 8 : 0, 8, LayOutCaption(caption.text, 8));
  DebugOut(Format("Attrib : %02x", tally));
  DebugOut("'" + text + "'");
  message = TslUmdMessage(physical, tally, text);
  return slot;
}

}  // namespace

void StartUmds() {
  if (UmdsStarted()) StopUmds();
  SettleFromSettings();
  for (int chain = 0; chain < kUmdChains; ++chain) {
    const int number = g_umdSettings.chains[chain];
    if (number < 0) continue;
    const int port = OpenSerialPort(number, g_umdSettings.baudRate);
    if (port >= 0) {
      g_umd.ports[chain] = port;
      DebugOut(Format("Serial port %d opened for UMD control", number));
    } else {
      DebugOut(Format("Can't open serial port %d", number));
    }
  }
  g_umd.store = std::make_unique<Store>();
  g_umd.tallies.fill(0);
  PresetStore();
  g_umd.rotationIndex = 0;
  TheHost().SetMainWindowTimer(kUnderMonitorRotationTimer, kUmdRotationPeriodMs);
}

void StopUmds() {
  TheHost().KillMainWindowTimer(kUnderMonitorRotationTimer);
  CloseChains();
  g_umd.store.reset();
}

// The reset leaves the host alone (it may be a test's, gone by now): a rotation tick that
// still comes finds no store and sends nothing.
void ResetUmds() {
  CloseChains();
  g_umd = UmdState{};
}

bool UmdsStarted() {
  return g_umd.store != nullptr;
}

UmdProtocol CurrentUmdProtocol() {
  return g_umd.protocol;
}

void PutUmd(std::string_view caption, int chain, int display, int cues, int brightness) {
  if (!UmdsStarted() || chain < 1 || chain > kUmdChains || display < 1 ||
      display > g_umd.displaysPerChain) {
    return;
  }
  const UmdCaption laidOut = CaptionForCues(caption, cues);
  std::string message;
  int slot = (chain - 1) * g_umd.displaysPerChain + display;
  switch (g_umd.protocol) {
    case UmdProtocol::kBasic:
      message = BasicUmdMessage(display, cues, laidOut, g_umd.width);
      break;
    case UmdProtocol::kTsl:
      DebugOut(Format("TSL UMD Put : '%.*s' Chain %ld, UMD %ld, Cues %ld, Bright %ld",
                      static_cast<int>(caption.size()), caption.data(), static_cast<long>(chain),
                      static_cast<long>(display), static_cast<long>(cues),
                      static_cast<long>(brightness)));
      slot = PutTsl(laidOut, chain, display, cues, brightness, message);
      break;
    case UmdProtocol::kAmazon:
      message = AmazonUmdMessage(display, cues, LayOutCaption(laidOut.text, g_umd.width));
      DebugOut(">" + message.substr(3) + "<");
      break;
  }
  Keep(slot, message);
  SendSlot(slot);
}

void RotateUmds() {
  if (!UmdsStarted()) return;
  g_umd.rotationIndex = g_umd.rotationIndex % g_umd.displaysPerChain + 1;
  if (g_umd.protocol == UmdProtocol::kAmazon && !g_umd.cycleAmazon) return;
  for (int chain = 0; chain < kUmdChains; ++chain) {
    SendSlot(g_umd.rotationIndex + chain * g_umd.displaysPerChain);
  }
}

}  // namespace velcrum
