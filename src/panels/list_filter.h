// LF's search and filter over the items of a list: the simple mode (one of six ways to
// find the first match) and the extended mode (flags for case, spaces, the kind of match,
// searching or filtering, the start, and reordering).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "panels/list_backing_stores.h"

namespace velcrum {

// The extended mode's flags. Bit 30 of the mode selects the extended mode.
inline constexpr uint32_t kListFilterExtended = 0x40000000;
inline constexpr uint32_t kListFilterCaseSensitive = 0x1;
inline constexpr uint32_t kListFilterKeepMatches = 0x2;  // filter; clear: search
inline constexpr uint32_t kListFilterFromSelection = 0x4;
inline constexpr uint32_t kListFilterEqual = 0x8;
inline constexpr uint32_t kListFilterContains = 0x10;  // when kListFilterEqual is clear
inline constexpr uint32_t kListFilterReverse = 0x20;
inline constexpr uint32_t kListFilterSort = 0x40;  // descending with kListFilterReverse
inline constexpr uint32_t kListFilterNoSpaces = 0x80;
inline constexpr uint32_t kListFilterListShown = 0x1000;  // clear: reload the backing store

// The simple mode: the position (from 1) of the first item that matches the text, 0 when
// none does. Modes 0 to 2 compare with regard to case, 3 to 5 without; 0 and 3 match an
// equal item, 1 and 4 one that contains the text, 2 and 5 one that begins with it. Any
// other mode says "LF: not supported search mode" on the debug output once for each item
// and finds nothing.
int FindListItem(const std::vector<std::string>& items, std::string_view text, int32_t mode);

// The extended mode's reload: the scratch list (a copy of the list as shown) gets the
// complete list of the backing store in place of as many items at its front as the store
// holds, with the debug output's account of it.
void ReloadFromBackingStore(std::vector<std::string>& scratch, const ListBackingStore& store);

struct ListFilterOutcome {
  int result = 0;  // the first match's position from 1 (search), or 1 when any item is kept
  int count = 0;   // the matches found (search), or the items kept (filter)
};

// The extended mode's reordering, then its search or filter, on the scratch list from
// index `start`; afterwards the scratch list holds what the list control is to show (a
// filter keeps the items before `start` and the matches after it).
ListFilterOutcome FilterListItems(std::vector<std::string>& scratch, int start,
                                  std::string_view text, uint32_t flags);

}  // namespace velcrum
