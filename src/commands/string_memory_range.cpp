// The string-memory range check.
#include "commands/string_memory_range.h"

#include "interpreter/arguments.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/variables.h"

namespace velcrum {

bool IsValidStringMemoryRange(int first, int last) {
  return first >= 1 && last <= kStringMemoryCount && first <= last;
}

StringMemoryRange CheckStringMemoryRange(const CommandCall& call, int firstParam, int lastParam,
                                         int highestUnreported) {
  const std::string_view name = call.text.substr(0, 2);
  StringMemoryRange range;
  range.first = ParamValue(firstParam);
  range.last = ParamValue(lastParam);
  if (range.first < 0 || range.first > highestUnreported) {
    ReportParamRange(name, firstParam, call.text);
  }
  if (range.last < 0 || range.last > highestUnreported) {
    ReportParamRange(name, lastParam, call.text);
  }
  range.valid = IsValidStringMemoryRange(range.first, range.last);
  return range;
}

}  // namespace velcrum
