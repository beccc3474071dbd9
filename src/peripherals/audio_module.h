// Wave audio as a module: the audio commands, the "waveaudio" device and the sound
// device chosen in VELCRUM.INI, the main window's MM_MCINOTIFY, and the audio closed at
// shut-down.
#pragma once

#include "runtime/module.h"

namespace velcrum {

extern const Module kAudioModule;

}  // namespace velcrum
