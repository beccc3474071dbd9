// The list of the velcrum program's modules.
#include "shell/runtime_modules.h"

#include "commands/commands_module.h"
#include "network/network_module.h"
#include "panels/panels_module.h"
#include "peripherals/audio_module.h"
#include "peripherals/keys_module.h"
#include "peripherals/umd_module.h"
#include "peripherals/video_module.h"
#include "runtime/interpreter_module.h"
#include "shell/main_window_module.h"
#include "shell/shell_module.h"
#include "tools/tools_module.h"

namespace velcrum {
namespace {

constexpr const Module* kModules[] = {
    &kInterpreterModule, &kCommandsModule,   &kNetworkModule, &kAudioModule, &kPanelsModule,
    &kShellModule,       &kMainWindowModule, &kUmdModule,     &kVideoModule, &kKeysModule,
    &kToolsModule,
};

}  // namespace

std::span<const Module* const> RuntimeModules() {
  return kModules;
}

}  // namespace velcrum
