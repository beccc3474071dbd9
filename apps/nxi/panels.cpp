// The panels nxi knows and their registrations.
#include "panels.h"

#include <algorithm>
#include <cstdio>

namespace velcrum::nxi {

void Panels::Know(PanelWindow window) {
  if (window != 0) panels_[window];
}

void Panels::Subscribe(PanelWindow window, bool subscribed) {
  if (window == 0) return;
  panels_[window].subscribed = subscribed;
}

void Panels::Register(PanelWindow window, int device, int first, int last, bool add) {
  if (window == 0) return;
  if (last < first) last = first;
  Panel& panel = panels_[window];
  if (!add) UnregisterDevice(window, device);
  panel.ranges.push_back({device, first, last});
}

void Panels::UnregisterRange(PanelWindow window, int device, int first, int last) {
  const auto found = panels_.find(window);
  if (found == panels_.end()) return;
  if (last < first) last = first;
  std::vector<IndexRange> kept;
  for (const IndexRange& range : found->second.ranges) {
    if (range.device != device || range.last < first || range.first > last) {
      kept.push_back(range);
      continue;
    }
    // What is left of the range on either side of the cancelled indexes.
    if (range.first < first) kept.push_back({device, range.first, first - 1});
    if (range.last > last) kept.push_back({device, last + 1, range.last});
  }
  found->second.ranges = std::move(kept);
}

void Panels::UnregisterDevice(PanelWindow window, int device) {
  const auto found = panels_.find(window);
  if (found == panels_.end()) return;
  std::vector<IndexRange>& ranges = found->second.ranges;
  ranges.erase(std::remove_if(ranges.begin(), ranges.end(),
                              [device](const IndexRange& range) {
                                return device == 0 || range.device == device;
                              }),
               ranges.end());
}

void Panels::Drop(PanelWindow window) {
  panels_.erase(window);
}

bool Panels::IsRegistered(const Panel& panel, int device, int index) const {
  return std::any_of(panel.ranges.begin(), panel.ranges.end(), [&](const IndexRange& range) {
    return range.device == device && range.first <= index && index <= range.last;
  });
}

std::vector<PanelWindow> Panels::RegisteredFor(int device, int index) const {
  std::vector<PanelWindow> windows;
  for (const auto& [window, panel] : panels_) {
    if (IsRegistered(panel, device, index)) windows.push_back(window);
  }
  return windows;
}

std::vector<PanelWindow> Panels::RegisteredForDevice(int device) const {
  std::vector<PanelWindow> windows;
  for (const auto& [window, panel] : panels_) {
    if (std::any_of(panel.ranges.begin(), panel.ranges.end(),
                    [device](const IndexRange& range) { return range.device == device; })) {
      windows.push_back(window);
    }
  }
  return windows;
}

std::vector<PanelWindow> Panels::Subscribed() const {
  std::vector<PanelWindow> windows;
  for (const auto& [window, panel] : panels_) {
    if (panel.subscribed) windows.push_back(window);
  }
  return windows;
}

std::vector<PanelWindow> Panels::All() const {
  std::vector<PanelWindow> windows;
  for (const auto& entry : panels_) windows.push_back(entry.first);
  return windows;
}

std::string Panels::Describe() const {
  if (panels_.empty()) return "no panels";
  std::string text;
  for (const auto& [window, panel] : panels_) {
    char handle[8];
    std::snprintf(handle, sizeof handle, "%04x", window);
    if (!text.empty()) text += '\n';
    text += handle;
    if (panel.subscribed) text += " subscribed";
    for (const IndexRange& range : panel.ranges) {
      text += ' ' + std::to_string(range.device) + ':' + std::to_string(range.first) + '-' +
              std::to_string(range.last);
    }
  }
  return text;
}

}  // namespace velcrum::nxi
