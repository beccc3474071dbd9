// The backing stores of list controls: for each list control of a panel that has asked
// for one, the complete list of its items, kept while the control itself shows only what
// a filter (LF) let through. Each panel has room for 65; a store is made on first use and
// released when its panel is destroyed.
#pragma once

#include <string>
#include <vector>

#include "platform/dialog.h"

namespace velcrum {

// How many list controls of one panel can have a backing store.
inline constexpr int kBackingStoresPerPanel = 65;

// A backing store holds its items unsorted, in the order they came.
using ListBackingStore = std::vector<std::string>;

// The backing store of control `id` of panel `panel` (whose dialog is `dialog`), made in
// the panel's first free slot when it has none. nullptr, after the debug output's
// "Maximum ListBoxes per Panel dialog exceeded ! ", when all 65 slots are taken. The
// store belongs to the control's window: it follows the control when its identifier
// changes.
ListBackingStore* GetListBackingStore(int panel, const platform::Dialog& dialog, int id);

// Releases every backing store of the panel (it is being destroyed).
void ReleaseListBackingStores(int panel);

}  // namespace velcrum
