// The main window's timers: the shell's own and those it hands to a subsystem (the script
// timers are 1 to 16).
#pragma once

namespace velcrum {

inline constexpr unsigned kUnderMonitorRotationTimer = 20;
// The final shut-down step, 500 ms after the CLOSEDOWN section when FastClose is 0.
inline constexpr unsigned kFinalCloseTimer = 21;
inline constexpr unsigned kFinalCloseDelayMs = 500;
inline constexpr unsigned kVariablesRefreshTimer = 22;
inline constexpr unsigned kKeyboardFocusTimer = 23;
inline constexpr unsigned kQueueDrainTimer = 24;
inline constexpr unsigned kQueueDrainPeriodMs = 5;
inline constexpr unsigned kInstanceLimitTimer = 25;
inline constexpr unsigned kInstanceLimitDelayMs = 500;
inline constexpr unsigned kMessageWindowTimer = 26;
// The error event's two lines: the first as soon as the line that caused the report has
// ended, the second after the event's delay.
inline constexpr unsigned kErrorEventFirstTimer = 27;
inline constexpr unsigned kErrorEventSecondTimer = 28;

}  // namespace velcrum
