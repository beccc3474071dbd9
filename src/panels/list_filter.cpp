// LF's search and filter.
#include "panels/list_filter.h"

#include <algorithm>

#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "platform/ascii_case.h"

namespace velcrum {
namespace {

enum class Match { kEqual, kContains, kBegins };

bool Matches(std::string_view item, std::string_view text, Match match) {
  switch (match) {
    case Match::kEqual:
      return item == text;
    case Match::kContains:
      return item.find(text) != std::string_view::npos;
    case Match::kBegins:
      return item.substr(0, text.size()) == text;
  }
  return false;
}

// The text as the extended mode compares it: without spaces when asked, upper-cased
// unless the case counts. `out` is reused from item to item.
void Normalise(std::string_view text, uint32_t flags, std::string& out) {
  out.clear();
  for (char c : text) {
    if ((flags & kListFilterNoSpaces) && c == ' ') continue;
    out += (flags & kListFilterCaseSensitive) ? c : UpperAscii(c);
  }
}

// The order of a sorted list box: case does not count.
bool SortsBefore(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(LowerAscii(x)) < static_cast<unsigned char>(LowerAscii(y));
  });
}

}  // namespace

int FindListItem(const std::vector<std::string>& items, std::string_view text, int32_t mode) {
  if (mode < 0 || mode > 5) {
    for (size_t i = 0; i < items.size(); ++i) DebugOut("LF: not supported search mode");
    return 0;
  }
  const bool ignoreCase = mode >= 3;
  const Match match = mode % 3 == 0   ? Match::kEqual
                      : mode % 3 == 1 ? Match::kContains
                                      : Match::kBegins;
  const std::string wanted = ignoreCase ? UpperAsciiText(text) : std::string(text);
  std::string item;
  for (size_t i = 0; i < items.size(); ++i) {
    item = ignoreCase ? UpperAsciiText(items[i]) : items[i];
    if (Matches(item, wanted, match)) return static_cast<int>(i) + 1;
  }
  return 0;
}

void ReloadFromBackingStore(std::vector<std::string>& scratch, const ListBackingStore& store) {
  DebugOut(Format("LF: reload, first delete number of BS items: %d, WL items: %d\n",
                  static_cast<int>(store.size()), static_cast<int>(scratch.size())));
  scratch.erase(scratch.begin(),
                scratch.begin() + static_cast<ptrdiff_t>(std::min(store.size(), scratch.size())));
  DebugOut("LF: reload - copy from backingstore to working list");
  scratch.insert(scratch.end(), store.begin(), store.end());
}

ListFilterOutcome FilterListItems(std::vector<std::string>& scratch, int start,
                                  std::string_view text, uint32_t flags) {
  if (flags & kListFilterReverse) std::reverse(scratch.begin(), scratch.end());
  if (flags & kListFilterSort) {
    if (flags & kListFilterReverse) {
      std::stable_sort(
          scratch.begin(), scratch.end(),
          [](const std::string& a, const std::string& b) { return SortsBefore(b, a); });
    } else {
      std::stable_sort(scratch.begin(), scratch.end(), SortsBefore);
    }
  }

  const Match match = (flags & kListFilterEqual)      ? Match::kEqual
                      : (flags & kListFilterContains) ? Match::kContains
                                                      : Match::kBegins;
  std::string wanted;
  Normalise(text, flags, wanted);
  std::string item;
  const auto matches = [&](const std::string& candidate) {
    Normalise(candidate, flags, item);
    return Matches(item, wanted, match);
  };
  const size_t first = std::min(static_cast<size_t>(std::max(start, 0)), scratch.size());

  ListFilterOutcome outcome;
  if (flags & kListFilterKeepMatches) {
    const auto kept = std::remove_if(scratch.begin() + static_cast<ptrdiff_t>(first), scratch.end(),
                                     [&](const std::string& s) { return !matches(s); });
    scratch.erase(kept, scratch.end());
    outcome.count = static_cast<int>(scratch.size());
    outcome.result = outcome.count >= 1 ? 1 : 0;
    return outcome;
  }
  for (size_t i = first; i < scratch.size(); ++i) {
    if (!matches(scratch[i])) continue;
    if (outcome.count++ == 0) outcome.result = static_cast<int>(i) + 1;
    if (flags & kListFilterEqual) break;
  }
  return outcome;
}

}  // namespace velcrum
