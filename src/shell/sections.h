// The script sections the shell runs on events: WAKEUP (line 30500) and SLEEP (31500) on
// activation changes, CLOSEDOWN (31000) on request, and the start parameter they see.
#pragma once

#include <cstdint>
#include <string_view>

namespace velcrum {

inline constexpr int kStartupSectionLine = 30000;
inline constexpr int kWakeupSectionLine = 30500;
inline constexpr int kCloseDownSectionLine = 31000;
inline constexpr int kSleepSectionLine = 31500;
inline constexpr int kDatabaseSectionLine = 32000;
inline constexpr int kNetworkMessageSectionLine = 32400;

// The command line at start and message 2085: at most 255 characters into S$ and the saved
// start parameter, S% its leading decimal number.
void SetStartParameter(std::string_view text);

// KAL_ACTIVATEAPP: WAKEUP (wParam not 0) or SLEEP, once start-up is done and until the
// shut-down starts.
void OnActivateApp(uint32_t wParam);

// Message 2176: the CLOSEDOWN section, when the panel's bound resources hold it.
void RunCloseDownSectionOnRequest();

}  // namespace velcrum
