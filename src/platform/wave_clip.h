// Wave audio held in memory: 16-bit samples, interleaved by channel, with the sample rate,
// read from a sound file and written as a WAV file, both through libsndfile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velcrum {

struct WaveClip {
  int channels = 1;
  int sampleRate = 11025;
  // The bits of each sample in the file that Save writes (8 or 16; 8-bit WAV samples are
  // unsigned, as the format has them).
  int bitsPerSample = 8;
  std::vector<int16_t> samples;

  size_t Frames() const {
    return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0;
  }
  // Frames to milliseconds and back, at the clip's rate.
  uint32_t FramesToMs(size_t frames) const;
  size_t MsToFrames(uint32_t ms) const;
};

// How a load or a save ended.
enum class WaveFileResult { kDone, kNotFound, kNotAudio, kNotWritten };

// Reads a whole sound file at a host path (any format libsndfile reads: WAV, AIFF, ...).
WaveFileResult LoadWaveClip(const std::string& hostPath, WaveClip& clip);

// Writes the clip as a PCM WAV file at a host path, whole or not at all (atomic_file.h).
WaveFileResult SaveWaveClip(const WaveClip& clip, const std::string& hostPath);

}  // namespace velcrum
