// How events become runs of script lines, as the panels, the main window and the event
// commands share it: the delivery of a control line (at once, or queued in "CmdFifo" in
// synchronous mode), the exec override that diverts a range of control identifiers to one
// line, and the state of the 16 script timers.
#pragma once

#include <cstdint>
#include <string>

namespace velcrum {

// The exec override (EO): identifiers from low to high run `line` after their identifier
// is stored in the integer variable `variable`. Off: low 32767, high 0, line 0, variable 0.
struct ExecOverride {
  int low = 32767;
  int high = 0;
  int line = 0;
  int variable = 0;

  bool Covers(int id) const { return id >= low && id <= high; }
};
extern ExecOverride g_execOverride;

// Script timers 1 to 16 (index 0 unused). state: 0 stopped, 1 started or last ran its
// second line, -1 last ran its first line.
inline constexpr int kScriptTimerCount = 16;
struct ScriptTimer {
  int state = 0;
  int32_t firstLine = 0;
  int32_t secondLine = 0;
};
extern ScriptTimer g_scriptTimers[kScriptTimerCount + 1];

// The highest control identifier that runs a line (32767 and above never do).
inline constexpr int kMaxControlId = 32766;

// Runs a control's line: RunLine(line, 0) at once, or, in synchronous mode, puts it into
// the command queue for the queue drain. A full queue reports as the queue does.
void DeliverControlLine(int line);

// T$ and U$: the local time as "%02d:%02d:%02d" and the date as "%02d-%s-%02d" (day,
// "Jan" to "Dec", year).
void SetClockVariables();

// The sounds a panel plays, set by the audio commands (empty: none): on every control
// command, and when a control is pressed with the mouse. Played without a default sound.
extern std::string g_szCommandSound;
extern std::string g_szMouseDownSound;
void PlayClickSound(const std::string& file);

// The override off, every timer stopped and forgotten, no sounds.
void ResetEventRouting();

}  // namespace velcrum
