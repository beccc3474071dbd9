// The panels nxi knows: every main window that discovered it, subscribed to network status
// or registered for revertives, with its subscription and its registered index ranges per
// device. A panel that goes away is dropped with everything it had.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace velcrum::nxi {

using PanelWindow = uint32_t;

struct IndexRange {
  int device = 0;
  int first = 0;
  int last = 0;
};

struct Panel {
  bool subscribed = false;  // KAL_NETMSG_REGISTER
  std::vector<IndexRange> ranges;
};

class Panels {
 public:
  // Makes the window known (discovery); nothing for window 0.
  void Know(PanelWindow window);
  void Subscribe(PanelWindow window, bool subscribed);
  // A registration for indexes first to last of a device (last below first: first only).
  // Without `add` it replaces the panel's ranges for that device; with it, adds the range.
  void Register(PanelWindow window, int device, int first, int last, bool add);
  // Removes indexes first to last from the panel's ranges for the device.
  void UnregisterRange(PanelWindow window, int device, int first, int last);
  // Every registration of the panel for the device; device 0: for every device.
  void UnregisterDevice(PanelWindow window, int device);
  void Drop(PanelWindow window);

  bool IsRegistered(const Panel& panel, int device, int index) const;
  // The panels registered for the index of the device, in window order.
  std::vector<PanelWindow> RegisteredFor(int device, int index) const;
  // The panels registered for any index of the device.
  std::vector<PanelWindow> RegisteredForDevice(int device) const;
  std::vector<PanelWindow> Subscribed() const;
  std::vector<PanelWindow> All() const;
  const std::map<PanelWindow, Panel>& Entries() const { return panels_; }

  // One line per panel: "HHHH [subscribed] DEV:FIRST-LAST ...", or "no panels".
  std::string Describe() const;

 private:
  std::map<PanelWindow, Panel> panels_;
};

}  // namespace velcrum::nxi
