// The audio module. The sound device is the "AudioDevice" key of VELCRUM.INI's [System]
// section (a PortAudio device name; empty or missing: the system default), read once the
// configuration is known.
#include "peripherals/audio_module.h"

#include "peripherals/audio_commands.h"
#include "peripherals/audio_thread.h"
#include "platform/mci.h"
#include "platform/profile.h"
#include "platform/wave_audio_device.h"
#include "platform/wave_stream.h"
#include "runtime/configuration_files.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kAudioCommands};

void Reset() {
  ResetAudioThread();
  RegisterWaveAudioDevice();
  SetWaveDeviceName({});
}

void StartUp(StartUpStep step) {
  if (step != StartUpStep::kConfigured) return;
  RegisterWaveAudioDevice();
  SetWaveDeviceName(GetPrivateProfileString("System", "AudioDevice", "", 256, VelcrumIniPath()));
}

void ShutDown(ShutDownStep step) {
  if (step == ShutDownStep::kLeftNxi) VLMciSup_Closedown();
}

void MainWindowMessage(const platform::Message& message) {
  if (message.message == MM_MCINOTIFY) VLMciSup_Notify(message.wParam, message.lParam);
}

}  // namespace

const Module kAudioModule = {
    .name = "audio",
    .commands = kGroups,
    .reset = Reset,
    .startUp = StartUp,
    .shutDown = ShutDown,
    .mainWindowMessage = MainWindowMessage,
    .drainQueues = FlushAudioLog,
};

}  // namespace velcrum
