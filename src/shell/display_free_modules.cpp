// The list of the display-free modules, in the order their steps run.
#include "shell/display_free_modules.h"

#include "commands/commands_module.h"
#include "panels/panels_module.h"
#include "peripherals/audio_module.h"
#include "peripherals/keys_module.h"
#include "peripherals/umd_module.h"
#include "peripherals/video_module.h"
#include "runtime/interpreter_module.h"
#include "shell/shell_module.h"

namespace velcrum {
namespace {

constexpr const Module* kModules[] = {&kInterpreterModule, &kCommandsModule, &kAudioModule,
                                      &kPanelsModule,      &kShellModule,    &kUmdModule,
                                      &kVideoModule,       &kKeysModule};

}  // namespace

std::span<const Module* const> DisplayFreeModules() {
  return kModules;
}

}  // namespace velcrum
