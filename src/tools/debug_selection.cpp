// The debug window's selection.
#include "tools/debug_selection.h"

#include <algorithm>

namespace velcrum {

void DebugSelection::Begin(int64_t serial) {
  active_ = true;
  dragging_ = true;
  anchor_ = end_ = serial;
}

void DebugSelection::StretchTo(int64_t serial) {
  if (active_) end_ = serial;
}

void DebugSelection::SelectAll(const DebugLineStore& store) {
  if (store.Count() == 0) return Clear();
  active_ = true;
  dragging_ = false;
  anchor_ = store.SerialOf(store.Count() - 1);
  end_ = store.SerialOf(0);
}

void DebugSelection::Clear() {
  active_ = dragging_ = false;
}

bool DebugSelection::Contains(int64_t serial) const {
  return active_ && serial >= std::min(anchor_, end_) && serial <= std::max(anchor_, end_);
}

std::string DebugSelection::Text(const DebugLineStore& store) const {
  if (!active_) return {};
  return store.Text(std::min(anchor_, end_), std::max(anchor_, end_));
}

}  // namespace velcrum
