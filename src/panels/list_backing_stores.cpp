// The backing stores of the panels' list controls.
#include "panels/list_backing_stores.h"

#include <array>
#include <cstdint>

#include "interpreter/diagnostics.h"
#include "panels/panel_table.h"

namespace velcrum {
namespace {

// A slot of a panel's table: the control the store belongs to (by its handle, 0 for a
// free slot) and the store.
struct BackingStoreSlot {
  uint32_t control = 0;
  ListBackingStore items;
};

using PanelStores = std::array<BackingStoreSlot, kBackingStoresPerPanel>;

PanelStores& StoresOf(int panel) {
  static std::array<PanelStores, kMaxPanels + 1> stores;
  return stores[static_cast<size_t>(panel)];
}

bool InTable(int panel) {
  return panel >= 1 && panel <= kMaxPanels;
}

}  // namespace

ListBackingStore* GetListBackingStore(int panel, const platform::Dialog& dialog, int id) {
  const uint32_t control = dialog.ControlHandle(id);
  if (!InTable(panel) || control == 0) return nullptr;
  PanelStores& stores = StoresOf(panel);
  BackingStoreSlot* free = nullptr;
  for (BackingStoreSlot& slot : stores) {
    if (slot.control == control) return &slot.items;
    if (slot.control == 0 && free == nullptr) free = &slot;
  }
  if (free == nullptr) {
    DebugOut("Maximum ListBoxes per Panel dialog exceeded ! ");
    return nullptr;
  }
  free->control = control;
  free->items.clear();
  return &free->items;
}

void ReleaseListBackingStores(int panel) {
  if (!InTable(panel)) return;
  for (BackingStoreSlot& slot : StoresOf(panel)) {
    slot.control = 0;
    ListBackingStore().swap(slot.items);
  }
}

}  // namespace velcrum
