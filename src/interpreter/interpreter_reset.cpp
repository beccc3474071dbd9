// The interpreter's reset to program start.
#include "interpreter/interpreter_reset.h"

#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/script_random.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"

namespace velcrum {

InterpreterSettings g_settings;

void ResetInterpreter() {
  g_settings = InterpreterSettings{};
  g_instanceName.clear();
  g_bParamError = false;
  ClearVariables(true);
  ClearMemories();
  VLSTMSup_FreeAll();
  ResetExecutorState();
  SeedScriptRandom(1);
}

}  // namespace velcrum
