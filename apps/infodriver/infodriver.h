// The infodriver stand-in: a driver of one device that panels connect to directly.
//
// It keeps the device's slots (numbered texts), the panels connected to it, and the
// crosspoints and I/O line states panels have set. It answers the connect broadcast for
// its device during the broadcast, accepts the framed connect and the plain disconnect,
// answers every framed call with a KAL_REPLY frame before the call returns, answers the
// redundancy-mode query with its mode, and sends a KAL_INFO_REVERTIVE ("index,text") to
// every connected panel whenever a slot changes. An operator changes it with the commands
// of RunOperatorCommand, read from standard input or carried by `infodriver do`.
//
// Everything runs on the thread of the message loop. Sends to panels are made while a
// panel's own call may be waiting for this driver (a write answered with revertives), so
// a panel may call back in between: nothing here holds an iterator across a send.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/message.h"

namespace velcrum::infodriver {

// The operator's command carrier: a text message whose text is one command line and whose
// wParam is the window to send the answer to (0: none). Each line of the answer arrives
// there as a kMsgOperatorAnswer text message before the send returns; the send answers 1
// when the command was carried out, 0 when it was refused.
inline constexpr uint32_t kMsgOperatorCommand = 3990;
inline constexpr uint32_t kMsgOperatorAnswer = 3991;

// Slot texts are kept up to this length, so that a revertive ("4096," and the text) always
// fits the 512 characters of a frame.
inline constexpr size_t kMaxSlotText = 507;
inline constexpr int kMaxSlots = 4096;

struct Settings {
  int device = 0;             // 1 to 999
  int slotCount = kMaxSlots;  // slots 1 to slotCount
  int mode = 1;               // the answer to KAL_IDGETTXRXMODE: 1 or 2
};

// The title of the driver window of a device, by which `infodriver do` finds it.
std::string DriverTitle(int device);

class Driver {
 public:
  // log: where each message received is written, and each one sent after "> "; null for
  // none.
  Driver(const Settings& settings, FILE* log);

  void SetHandle(platform::Hwnd own) { own_ = own; }
  platform::Result Handle(const platform::Message& m);

  // Runs one operator command (see the usage text); each line of its answer is handed to
  // `answer`. True when it was carried out.
  bool RunOperatorCommand(std::string_view line,
                          const std::function<void(std::string_view)>& answer);

 private:
  struct Crosspoint {
    int source = 0;
    std::string tag;
    std::optional<int> number;
  };

  void Log(std::string_view prefix, const platform::Message& m);
  std::optional<platform::Result> SendLogged(platform::Hwnd to, const platform::Message& m);
  void OnFrame(const platform::Message& m);
  platform::Result Connect(platform::Hwnd panel, int32_t value);
  platform::Result RunPanelCommand(platform::Hwnd sender, std::string_view text);
  bool WriteSlot(int index, std::string_view text);
  void SendRevertive(platform::Hwnd panel, int index);
  bool IsSlot(int index) const { return index >= 1 && index <= settings_.slotCount; }

  Settings settings_;
  FILE* log_;
  platform::Hwnd own_ = platform::kNoWindow;
  std::vector<std::string> slots_;         // index 0 unused
  std::vector<platform::Hwnd> panels_;     // connected panels, in the order they came
  std::map<int, Crosspoint> crosspoints_;  // by destination
  std::map<int, int> ioLines_;             // state by I/O line
};

}  // namespace velcrum::infodriver
