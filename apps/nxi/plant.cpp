// The simulated plant's devices and the changes made to them.
#include "plant.h"

#include "platform/ascii_case.h"

namespace velcrum::nxi {

int Device::Size() const {
  switch (kind) {
    case DeviceKind::kRouter:
      return destinations;
    case DeviceKind::kGpi:
      return inputs + outputs;
    case DeviceKind::kInfo:
    default:
      return slotCount;
  }
}

std::string Device::Name(int database, int index) const {
  if (database < 0 || database >= kDatabases) return {};
  const auto found = databases[database].find(index);
  return found == databases[database].end() ? std::string() : found->second;
}

int Device::IndexOf(int database, std::string_view name, int first, int last) const {
  if (database < 0 || database >= kDatabases) return 0;
  for (auto entry = databases[database].lower_bound(first);
       entry != databases[database].end() && entry->first <= last; ++entry) {
    if (EqualNoCase(entry->second, name)) return entry->first;
  }
  return 0;
}

std::string Device::InformationRecord() const {
  std::array<int, 4> numbers{};
  if (information.size() == numbers.size()) {
    for (size_t i = 0; i < numbers.size(); ++i) numbers[i] = information[i];
  } else {
    numbers[0] = static_cast<int>(kind) + 1;
    numbers[1] = kind == DeviceKind::kRouter ? destinations
                 : kind == DeviceKind::kGpi  ? inputs
                                             : slotCount;
    numbers[2] = kind == DeviceKind::kRouter ? sources : kind == DeviceKind::kGpi ? outputs : 0;
    numbers[3] = status;
  }
  std::string record = std::to_string(number);
  for (const int n : numbers) record += ' ' + std::to_string(n);
  if (!name.empty()) record += ' ' + name;
  return record;
}

std::string_view KindName(DeviceKind kind) {
  switch (kind) {
    case DeviceKind::kRouter:
      return "router";
    case DeviceKind::kGpi:
      return "gpi";
    case DeviceKind::kInfo:
    default:
      return "info";
  }
}

std::string_view ChangeText(Change change) {
  switch (change) {
    case Change::kDone:
      return "done";
    case Change::kUnknownDevice:
      return "no such device";
    case Change::kWrongKind:
      return "not a device of that kind";
    case Change::kServed:
      return "the device is served by a panel";
    case Change::kOutOfRange:
      return "index or value out of range";
    case Change::kLocked:
    default:
      return "locked by another workstation";
  }
}

bool Plant::Add(Device device, std::string* error) {
  const auto fail = [error](std::string reason) {
    if (error) *error = std::move(reason);
    return false;
  };
  if (device.number < 1 || device.number > kMaxDevice) {
    return fail("device number " + std::to_string(device.number) + " is outside 1 to 999");
  }
  if (devices_.count(device.number)) {
    return fail("device " + std::to_string(device.number) + " is already in the plant");
  }
  switch (device.kind) {
    case DeviceKind::kRouter:
      if (device.destinations < 1 || device.destinations > kMaxIndex || device.sources < 1 ||
          device.sources > kMaxIndex) {
        return fail("a router needs 1 to 4096 destinations and sources");
      }
      break;
    case DeviceKind::kGpi:
      if (device.inputs < 0 || device.outputs < 0 || device.inputs + device.outputs < 1 ||
          device.inputs + device.outputs > kMaxIndex) {
        return fail("a GPI device needs 1 to 4096 inputs and outputs together");
      }
      break;
    case DeviceKind::kInfo:
      if (device.slotCount < 1 || device.slotCount > kMaxIndex) {
        return fail("an infodriver needs 1 to 4096 slots");
      }
      break;
  }
  const size_t size = static_cast<size_t>(device.Size()) + 1;
  device.state.assign(size, 0);
  device.locks.assign(size, kNoLock);
  if (device.kind == DeviceKind::kInfo) device.texts.assign(size, {});
  const int number = device.number;
  devices_.emplace(number, std::move(device));
  return true;
}

Device* Plant::Find(int number) {
  const auto found = devices_.find(number);
  return found == devices_.end() ? nullptr : &found->second;
}

const Device* Plant::Find(int number) const {
  const auto found = devices_.find(number);
  return found == devices_.end() ? nullptr : &found->second;
}

Change Plant::Changeable(int number, DeviceKind kind, Device** device) {
  *device = Find(number);
  if (!*device) return Change::kUnknownDevice;
  if ((*device)->kind != kind) return Change::kWrongKind;
  if ((*device)->served) return Change::kServed;
  return Change::kDone;
}

namespace {

bool Held(const Device& device, int index, int owner) {
  const int holder = device.locks[index];
  return owner != kOperator && holder != kNoLock && holder != owner;
}

}  // namespace

Change Plant::Route(int number, int destination, int source, int owner) {
  Device* device = nullptr;
  if (const Change c = Changeable(number, DeviceKind::kRouter, &device); c != Change::kDone) {
    return c;
  }
  if (destination < 1 || destination > device->destinations || source < 0 ||
      source > device->sources) {
    return Change::kOutOfRange;
  }
  if (Held(*device, destination, owner)) return Change::kLocked;
  device->state[destination] = source;
  return Change::kDone;
}

Change Plant::Lock(int number, int first, int last, bool lock, int owner) {
  Device* device = Find(number);
  if (!device) return Change::kUnknownDevice;
  if (device->served) return Change::kServed;
  if (last < first) last = first;
  if (first < 1 || last > device->Size()) return Change::kOutOfRange;
  Change result = Change::kDone;
  for (int index = first; index <= last; ++index) {
    if (Held(*device, index, owner)) {
      result = Change::kLocked;
      continue;
    }
    device->locks[index] = lock ? owner : kNoLock;
  }
  return result;
}

Change Plant::SetGpi(int number, int index, int state, int owner) {
  Device* device = nullptr;
  if (const Change c = Changeable(number, DeviceKind::kGpi, &device); c != Change::kDone) {
    return c;
  }
  if (index < 1 || index > device->Size() || state < 0 || state > 1) return Change::kOutOfRange;
  if (owner != kOperator && !device->IsOutput(index)) return Change::kOutOfRange;
  if (Held(*device, index, owner)) return Change::kLocked;
  device->state[index] = state;
  return Change::kDone;
}

Change Plant::WriteSlot(int number, int index, std::string_view text, int owner) {
  Device* device = nullptr;
  if (const Change c = Changeable(number, DeviceKind::kInfo, &device); c != Change::kDone) {
    return c;
  }
  if (index < 1 || index > device->slotCount) return Change::kOutOfRange;
  if (Held(*device, index, owner)) return Change::kLocked;
  device->texts[index] = std::string(text.substr(0, kMaxName));
  return Change::kDone;
}

Change Plant::SetName(int number, int database, int index, std::string_view name) {
  Device* device = Find(number);
  if (!device) return Change::kUnknownDevice;
  if (database < 0 || database >= kDatabases || index < 0 || index > kMaxIndex) {
    return Change::kOutOfRange;
  }
  if (name.empty()) {
    device->databases[database].erase(index);
  } else {
    device->databases[database][index] = std::string(name.substr(0, kMaxName));
  }
  ++device->databaseChanges;
  return Change::kDone;
}

}  // namespace velcrum::nxi
