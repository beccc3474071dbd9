// The MCI "waveaudio" device type: wave files played and new recordings made through the
// sound device (wave_stream.h), saved as WAV files.
//
// Opens: "open FILE [alias A]" (a Windows path, mapped as paths.h maps it; a ".wav" file
// needs no type) and "open new type waveaudio alias A [buffer N]". Commands, times in the
// time format (milliseconds unless set to samples):
//   play A [from X] [to Y] [notify]   from the position (a finished play leaves it at the end)
//   record A [notify]                 appends to the recording until stopped
//   stop A [notify]                   a play or recording given "notify" hears ABORTED
//   seek A to X|start|end
//   save A FILE                       the whole clip as a PCM WAV file
//   set A time format milliseconds|ms|samples; set A channels N | samplespersec N |
//     bitspersample 8|16 (before anything is recorded)
//   status A length|position|mode|ready|time format|channels|samplespersec|bitspersample
// A play given "notify" ends with MCI_NOTIFY_SUCCESSFUL at its last frame; a new play or
// record while one waits supersedes it (MCI_NOTIFY_SUPERSEDED); close aborts it.
// A new recording is 11025 samples a second, mono, 8 bits, as Windows makes it.
#pragma once

namespace velcrum {

// Registers the type with the MCI interface (mci.h), with the extension ".wav".
void RegisterWaveAudioDevice();

}  // namespace velcrum
