// Storage for the variables and memories.
#include "interpreter/variables.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"

namespace velcrum {

int32_t g_lIntegerVariables[kVariableCount];
char g_szStringVariables[kVariableCount][kStringFieldSize];

namespace {

std::unique_ptr<int32_t[]> integerMemories;
std::unique_ptr<char[]> stringMemories[kStringMemoryCount];

// The 0-based cells written (integer memories) or handed out for writing (string
// memories) since they were last all zero: only these can differ from zero.
struct TouchedRange {
  int first = std::numeric_limits<int>::max();
  int last = -1;
  void Mark(int cell) {
    first = std::min(first, cell);
    last = std::max(last, cell);
  }
};
TouchedRange touchedIntegers;
TouchedRange touchedStrings;

void ReportOutOfRange(std::string_view command, const char* operation) {
  const std::string cmd(command);
  ReportNote(command, Format("<%s> WARNING: line: %d, cmd: '%s' %s() mem location is out of range.",
                             g_instanceName.c_str(), g_iCurrentLine, cmd.c_str(), operation));
}

}  // namespace

int VariableIndex(char letter) {
  if (letter >= 'A' && letter <= 'Z') return letter - 'A';
  if (letter >= 'a' && letter <= 'z') return letter - 'a' + 26;
  return -1;
}

char VariableLetter(int index) {
  return static_cast<char>(index < 26 ? 'A' + index : 'a' + (index - 26));
}

void SetStringVariable(int index, std::string_view text) {
  const size_t length = std::min(text.size(), static_cast<size_t>(kMaxStringLength));
  std::memcpy(g_szStringVariables[index], text.data(), length);
  g_szStringVariables[index][length] = '\0';
}

void ClearVariables(bool all) {
  for (int i = 0; i < kVariableCount; ++i) {
    if (!all && i == kEventVariable) continue;
    g_lIntegerVariables[i] = 0;
    g_szStringVariables[i][0] = '\0';
  }
}

void SetMem(std::string_view command, int index, int32_t value) {
  if (index < 1 || index > kIntegerMemoryCount) {
    ReportOutOfRange(command, "SetMem");
    return;
  }
  if (integerMemories) integerMemories[index - 1] = value;
  touchedIntegers.Mark(index - 1);
}

int32_t GetMem(std::string_view command, int index) {
  if (index < 1 || index > kIntegerMemoryCount) {
    ReportOutOfRange(command, "GetMem");
    return 0;
  }
  return integerMemories ? integerMemories[index - 1] : 0;
}

char* StringMemory(int index) {
  if (index < 1 || index > kStringMemoryCount) return nullptr;
  touchedStrings.Mark(index - 1);
  return stringMemories[index - 1].get();
}

void AllocateMemories() {
  integerMemories.reset(new (std::nothrow) int32_t[kIntegerMemoryCount]());
  for (auto& block : stringMemories) {
    if (!block) block.reset(new (std::nothrow) char[kStringFieldSize]());
  }
  touchedIntegers = TouchedRange{};
}

void ClearMemories() {
  if (integerMemories) {
    for (int cell = touchedIntegers.first; cell <= touchedIntegers.last; ++cell) {
      integerMemories[cell] = 0;
    }
  }
  for (int cell = touchedStrings.first; cell <= touchedStrings.last; ++cell) {
    if (stringMemories[cell]) std::memset(stringMemories[cell].get(), 0, kStringFieldSize);
  }
  touchedIntegers = TouchedRange{};
  touchedStrings = TouchedRange{};
  // Shut-down (or a test) may have freed them.
  const bool complete =
      integerMemories && std::all_of(std::begin(stringMemories), std::end(stringMemories),
                                     [](const auto& block) { return block != nullptr; });
  if (!complete) AllocateMemories();
}

void FreeMemories() {
  integerMemories.reset();
  for (auto& block : stringMemories) block.reset();
}

}  // namespace velcrum
