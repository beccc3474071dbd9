// The plant that nxi simulates: its devices (routers, GPI devices, infodrivers), their state
// (crosspoints, locks, GPI states, slot texts, name databases, network status) and the
// changes that panels' requests and the operator make to it. No messages here: the callers
// send the revertives a change calls for.
#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velcrum::nxi {

inline constexpr int kMaxDevice = 999;
inline constexpr int kMaxIndex = 4096;
inline constexpr int kDatabases = 11;  // name databases 0 to 10
inline constexpr size_t kMaxName = 255;
// Lock owners: a workstation number (0 and up), the operator, or nobody.
inline constexpr int kNoLock = -1;
inline constexpr int kOperator = -2;

enum class DeviceKind { kRouter, kGpi, kInfo };
enum class RevertiveForm { kInteger, kText };

struct Device {
  int number = 0;
  DeviceKind kind = DeviceKind::kRouter;
  std::string name;
  // A served device belongs to a panel: nxi keeps no state for it and passes every command
  // text for it on to the panels registered for it.
  bool served = false;

  int destinations = 0;  // router
  int sources = 0;
  RevertiveForm form = RevertiveForm::kInteger;
  int inputs = 0;  // GPI: indexes 1 to inputs are inputs, the outputs follow them
  int outputs = 0;
  int slotCount = 0;  // infodriver

  // Per index, [0] unused: a router's source per destination (0 = none), a GPI's state,
  // and the lock owner of every kind.
  std::vector<int> state;
  std::vector<int> locks;
  std::vector<std::string> texts;  // an infodriver's slot texts

  std::array<std::map<int, std::string>, kDatabases> databases;  // names per index
  int databaseChanges = 0;                                       // every name change counts one

  int status = 0;  // the network status word (transmit/receive state in bits 0 and 1)
  std::string statusText = "OK";
  // The four numbers of the device information record after the device number; empty for
  // the default (kind, size, size, status).
  std::vector<int> information;
  std::string lastRequest;  // the last DC, DD, DR or DW request for the device

  // The highest index of the device: destinations, inputs + outputs or slots.
  int Size() const;
  bool IsOutput(int index) const { return kind == DeviceKind::kGpi && index > inputs; }
  // The name of an index in a database; empty when there is none.
  std::string Name(int database, int index) const;
  // The lowest index from first to last whose name in the database equals `name` without
  // regard to case; 0 when none.
  int IndexOf(int database, std::string_view name, int first = 1, int last = kMaxIndex) const;
  // "NUMBER KIND A B C NAME": KIND 1 router, 2 GPI, 3 infodriver; by default A and B are
  // the sizes (destinations and sources, inputs and outputs, slots and 0) and C the status.
  std::string InformationRecord() const;
};

std::string_view KindName(DeviceKind kind);

// What a change came to.
enum class Change { kDone, kUnknownDevice, kWrongKind, kServed, kOutOfRange, kLocked };
std::string_view ChangeText(Change change);

class Plant {
 public:
  // Adds a device, sizing its state to its kind (states 0, no locks, empty slots). False,
  // with the reason, for a device number outside 1 to 999, one already present or a size
  // outside 1 to 4096 (GPI: inputs and outputs 0 to 4096, together at least 1 and at most
  // 4096).
  bool Add(Device device, std::string* error);

  Device* Find(int number);
  const Device* Find(int number) const;
  const std::map<int, Device>& Devices() const { return devices_; }

  // A crosspoint: destination gets source. Refused while the destination is locked by
  // another owner. The operator (kOperator) is never refused.
  Change Route(int device, int destination, int source, int owner);
  // Locks (or unlocks) every index from first to last (last below first: first only) of any
  // kind of device. An index locked by another owner stays as it is, unless the operator
  // asks; the answer is then kLocked.
  Change Lock(int device, int first, int last, bool lock, int owner);
  // A GPI state (0 or 1). Panels set outputs only; the operator sets any index.
  Change SetGpi(int device, int index, int state, int owner);
  // An infodriver slot's text, cut to 255 characters.
  Change WriteSlot(int device, int index, std::string_view text, int owner);
  // A name in a database (0 to 10), cut to 255 characters; an empty name removes it.
  // Indexes 0 to 4096, whatever the device's size. Served devices keep names too.
  Change SetName(int device, int database, int index, std::string_view name);

 private:
  // The device of a change: the kind asked for and not served, else why not.
  Change Changeable(int number, DeviceKind kind, Device** device);

  std::map<int, Device> devices_;
};

}  // namespace velcrum::nxi
