// Fuzzes the executor with every built command that needs no window: the input is a small
// script, one line per line feed from line 100 on, run from line 100 as a control press
// would run it. Jumps, subroutines, EV and nested runs are followed within a step budget;
// every box is answered; every file named lands on a private drive C.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "fuzz/scratch_drive.h"
#include "fuzz/step_budget.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/host.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "runtime/module.h"
#include "shell/display_free_modules.h"

namespace {

constexpr int kFirstLine = 100;
constexpr int kMaxLines = 64;
// Line passes one input may take.
constexpr int kStepBudget = 2000;

class AnsweringHost final : public velcrum::Host {
 public:
  void SystemDebuggerOut(std::string_view) override {}
  bool DebugWindowExists() override { return true; }
  velcrum::MessageBoxAnswer ShowMessageBox(std::string_view, std::string_view,
                                           velcrum::MessageBoxStyle) override {
    cancel = !cancel;  // OK and Cancel by turns, so that both paths run
    return cancel ? velcrum::MessageBoxAnswer::kCancel : velcrum::MessageBoxAnswer::kOk;
  }
  bool cancel = false;
};

void CheckState() {
  using namespace velcrum;
  for (const char* text : g_szStringVariables) {
    if (::strnlen(text, kStringFieldSize) >= static_cast<size_t>(kStringFieldSize)) std::abort();
  }
  if (g_iProcStackPtr < -1 || g_iProcStackPtr >= kProcStackSize) std::abort();
}

}  // namespace

// libFuzzer (and the replay program) call this before anything else.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  velcrum::fuzzing::EnterScratchDrive(argc, argv);
  velcrum::InstallModules(velcrum::DisplayFreeModules());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static AnsweringHost host;
  velcrum::ResetModules();
  velcrum::SetHost(&host);
  host.cancel = (data[0] & 0x01) != 0;
  velcrum::g_settings.enableOutputDbwin = true;
  velcrum::g_settings.outputDebug = (data[0] & 0x02) != 0;
  velcrum::g_settings.outputParserTrace = (data[0] & 0x04) != 0;
  velcrum::g_settings.parameterInspection = static_cast<velcrum::Inspection>((data[0] >> 3) % 3);
  velcrum::g_instanceName = "FUZZ____.000";

  std::string_view script(reinterpret_cast<const char*>(data + 1), size - 1);
  for (int line = kFirstLine; line < kFirstLine + kMaxLines && !script.empty(); ++line) {
    const size_t end = script.find('\n');
    velcrum::VLSTMSup_SetMem(line, script.substr(0, end));
    script = end == std::string_view::npos ? std::string_view() : script.substr(end + 1);
  }
  velcrum::fuzzing::StartStepBudget(kStepBudget);
  velcrum::RunLine(kFirstLine, 0);
  CheckState();
  velcrum::SetHost(nullptr);
  velcrum::fuzzing::EmptyScratchDrive();
  return 0;
}
