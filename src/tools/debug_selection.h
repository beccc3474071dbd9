// The lines selected in the debug window: a range of line serial numbers (so that it keeps
// naming the same lines while new lines arrive), begun by a Shift-press on a line and
// stretched by dragging, or every line.
#pragma once

#include <cstdint>
#include <string>

#include "tools/debug_line_store.h"

namespace velcrum {

class DebugSelection {
 public:
  // Begins a selection of the one line; dragging then stretches it.
  void Begin(int64_t serial);
  void StretchTo(int64_t serial);
  void EndDrag() { dragging_ = false; }
  void SelectAll(const DebugLineStore& store);
  void Clear();

  bool Dragging() const { return dragging_; }
  bool Empty() const { return !active_; }
  bool Contains(int64_t serial) const;
  // The selected lines that are still stored, oldest first, one a line.
  std::string Text(const DebugLineStore& store) const;

 private:
  bool active_ = false;
  bool dragging_ = false;
  int64_t anchor_ = 0;
  int64_t end_ = 0;
};

}  // namespace velcrum
