// Fuzzes the parameter parser and the line executor: any bytes as a command or a line
// are parsed and reported, never trusted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/step_budget.h"
#include "interpreter/arguments.h"
#include "interpreter/executor.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "runtime/module.h"
#include "shell/display_free_modules.h"

namespace {

// Line passes one input may take.
constexpr int kStepBudget = 2000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const bool installed = (velcrum::InstallModules(velcrum::DisplayFreeModules()), true);
  (void)installed;
  velcrum::ResetModules();
  velcrum::g_settings.enableOutputDbwin = true;
  velcrum::g_settings.outputParserTrace = (data[0] & 0x40) != 0;
  velcrum::g_settings.outputDebug = (data[0] & 0x20) != 0;
  velcrum::SetStringVariable(0, std::string(255, 'x'));  // A$ at its longest

  const int expected = data[0] % 16;
  const std::string command(reinterpret_cast<const char*>(data + 1), size - 1);
  velcrum::GetArguments(command, expected);
  if (velcrum::ParamCount() < 0 || velcrum::ParamCount() > velcrum::kParamSlots) std::abort();
  for (int n = 0; n <= velcrum::kParamSlots + 1; ++n) {
    if (std::strlen(velcrum::ParamText(n)) > velcrum::kParamTextLimit) std::abort();
    const int index = velcrum::ParamVarIndex(n);
    if (index < 0 || index >= velcrum::kVariableCount) std::abort();
  }

  // The same bytes as a script line, run through the executor, which a line that jumps to
  // itself would keep for ever.
  velcrum::VLSTMSup_SetMem(100, command);
  velcrum::fuzzing::StartStepBudget(kStepBudget);
  velcrum::RunLine(100, 0);
  return 0;
}
