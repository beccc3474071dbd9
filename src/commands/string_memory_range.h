// The range of string memories that SF, SS, SR and SW work on, and its reports.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

struct StringMemoryRange {
  int first = 0;
  int last = 0;
  bool valid = false;  // 1 <= first <= last <= 4097
};

// 1 <= first <= last <= 4097.
bool IsValidStringMemoryRange(int first, int last);

// Reads first and last from the two parameters. A value below 0 or above
// `highestUnreported` is reported with ReportParamRange for its parameter (first, then
// last); any other invalid range is passed over in silence.
StringMemoryRange CheckStringMemoryRange(const CommandCall& call, int firstParam, int lastParam,
                                         int highestUnreported = 65536);

}  // namespace velcrum
