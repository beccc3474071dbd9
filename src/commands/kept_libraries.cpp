// The table of the libraries EX keeps loaded.
#include "commands/kept_libraries.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace velcrum {
namespace {

struct KeptLibraryEntry {
  int32_t number = 0;
  int loads = 0;
  SharedLibrary library;
};

struct KeptLibraries {
  std::vector<KeptLibraryEntry> entries;
  int32_t nextNumber = 1;
};

// Never destroyed: a library is unloaded by the shut-down, not by an exit handler that
// may run while the library's own code is still in use.
KeptLibraries& Table() {
  static auto* table = new KeptLibraries;
  return *table;
}

KeptLibraryEntry* Find(int32_t number) {
  auto& entries = Table().entries;
  const auto entry =
      std::find_if(entries.begin(), entries.end(),
                   [number](const KeptLibraryEntry& e) { return e.number == number; });
  return entry == entries.end() ? nullptr : &*entry;
}

}  // namespace

int32_t KeepLibrary(SharedLibrary library) {
  KeptLibraries& table = Table();
  for (KeptLibraryEntry& entry : table.entries) {
    // The new load goes with `library`; the kept one holds the file loaded.
    if (entry.library.Path() == library.Path()) {
      ++entry.loads;
      return entry.number;
    }
  }
  // Past the highest positive number the count starts again at 1, passing over the
  // numbers still in use.
  int32_t number = 0;
  do {
    number = table.nextNumber;
    table.nextNumber = number == std::numeric_limits<int32_t>::max() ? 1 : number + 1;
  } while (Find(number));
  table.entries.push_back({number, 1, std::move(library)});
  return number;
}

const SharedLibrary* KeptLibrary(int32_t number) {
  const KeptLibraryEntry* entry = Find(number);
  return entry ? &entry->library : nullptr;
}

bool UnloadKeptLibrary(int32_t number) {
  KeptLibraryEntry* entry = Find(number);
  if (!entry) return false;
  if (--entry->loads == 0) {
    auto& entries = Table().entries;
    entries.erase(entries.begin() + (entry - entries.data()));
  }
  return true;
}

void ReleaseKeptLibraries() {
  KeptLibraries& table = Table();
  table.entries.clear();
  table.nextNumber = 1;
}

}  // namespace velcrum
