// The delivery of control lines, the exec override and the script timers' state.
#include "runtime/event_routing.h"

#include <ctime>

#include "interpreter/executor.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/variables.h"
#include "runtime/process_state.h"
#include "runtime/subsystem_settings.h"

namespace velcrum {

ExecOverride g_execOverride;
ScriptTimer g_scriptTimers[kScriptTimerCount + 1];
std::string g_szCommandSound;
std::string g_szMouseDownSound;

void DeliverControlLine(int line) {
  if (g_networkSettings.synchronousMode != 0 && g_pCmdFifo) {
    g_pCmdFifo->Put(0, 0, static_cast<uint32_t>(line), 0, 0);
  } else {
    RunLine(line, 0);
  }
}

void SetClockVariables() {
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  SetStringVariable(VariableIndex('T'),
                    Format("%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec));
  SetStringVariable(VariableIndex('U'), Format("%02d-%s-%02d", local.tm_mday, kMonths[local.tm_mon],
                                               local.tm_year + 1900));
}

void PlayClickSound(const std::string& file) {
  if (!file.empty()) TheHost().PlaySoundAsync(file);
}

void ResetEventRouting() {
  g_szCommandSound.clear();
  g_szMouseDownSound.clear();
  g_execOverride = ExecOverride{};
  for (ScriptTimer& timer : g_scriptTimers) timer = ScriptTimer{};
}

}  // namespace velcrum
