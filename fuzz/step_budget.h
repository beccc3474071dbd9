// A budget of line passes for a fuzzed run: scripts can loop for ever (10 JA 10), so the
// executor's extension hook, offered every line pass before it runs, counts the passes and
// claims the line once the budget is spent, which ends the run as a missing line does.
#pragma once

#include <cstdint>

#include "interpreter/executor_state.h"

namespace velcrum::fuzzing {

inline int g_stepsLeft = 0;

inline int32_t CountStep(int32_t, VelcrumString*, int32_t*, VelcrumWindowHandle*, AppDllCallback) {
  return --g_stepsLeft < 0 ? 1 : 0;
}

// The next runs may take `steps` line passes in all.
inline void StartStepBudget(int steps) {
  g_stepsLeft = steps;
  g_pAppDllCall = CountStep;
}

}  // namespace velcrum::fuzzing
