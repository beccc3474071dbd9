// The limits on running copies of the program. Copies recognise each other by message
// 3174, which every copy answers with 0xF1D3B597; the load is their number * 100 /
// MaxExecWindows. Above a threshold, the oldest other copy that allows remote close is
// asked to close.
#pragma once

#include <cstdint>

namespace velcrum {

// The load of running copies, this one included.
int RunningCopiesLoad();

// The check with threshold T (0 to 100): when T is not 0 and the load exceeds it, asks the
// copies from the bottom of the z-order up to close with KAL_CLOSEDOWN, until one agrees.
// True when one copy closed.
bool CloseOneSurplusCopy(int threshold);

// Message 2028: the check, repeated by re-posting 2028 while copies close, at most 11 times
// in a row.
void OnCloseSurplusCopies(uint32_t threshold);

// Back to no retries (start-up).
void ResetInstanceLimitRetries();

}  // namespace velcrum
