// Real audio without a sound card, for the audio tests: ALSA's configuration is the
// repository's headless one (scripts/headless-alsa.conf), so what is played lands as raw
// samples in a file of the test's own and recordings read silence; and the short wave
// files the tests play.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/wave_clip.h"
#include "support/files.h"

namespace velcrum::testing {

// Points ALSA at the headless configuration and playback at `rawOut`. The configuration
// must be set before the first stream of the process; the output file is taken at each
// stream's opening.
inline void UseHeadlessAlsa(const std::filesystem::path& rawOut) {
  setenv("ALSA_CONFIG_PATH", VELCRUM_HEADLESS_ALSA_CONF, 1);
  setenv("VELCRUM_ALSA_OUT", rawOut.c_str(), 1);
}

// A mono 16-bit clip at 8000 samples a second whose samples are all different and none
// silent, so that they can be found again in what the device was given.
inline WaveClip RampClip(int milliseconds, int16_t first = 1000) {
  WaveClip clip;
  clip.sampleRate = 8000;
  clip.bitsPerSample = 16;
  for (int i = 0; i < milliseconds * 8; ++i) {
    clip.samples.push_back(static_cast<int16_t>(first + i % 20000));
  }
  return clip;
}

// Whether the raw 16-bit output holds the clip's samples, all of them, in one run.
inline bool PlayedWhole(const std::filesystem::path& rawOut, const WaveClip& clip) {
  const std::string bytes = ReadWholeFile(rawOut);
  std::vector<int16_t> played(bytes.size() / 2);
  // Nothing played yet is an empty vector, whose data() may be null: no copy then.
  if (!played.empty()) std::memcpy(played.data(), bytes.data(), played.size() * 2);
  for (size_t at = 0; at + clip.samples.size() <= played.size(); ++at) {
    if (std::equal(clip.samples.begin(), clip.samples.end(), played.begin() + at)) return true;
  }
  return false;
}

// A drive C of the test's own in a fresh temporary directory, with ALSA made headless
// and playback landing in played.raw beside it; all removed when the drive goes.
class AudioTestDrive {
 public:
  AudioTestDrive() {
    char pattern[] = "/tmp/velcrum-audio-XXXXXX";
    if (mkdtemp(pattern) != nullptr) root_ = pattern;
    std::filesystem::create_directories(DriveC());
    setenv("VELCRUM_DRIVE_C", DriveC().c_str(), 1);
    UseHeadlessAlsa(Played());
  }
  ~AudioTestDrive() {
    unsetenv("VELCRUM_DRIVE_C");
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  AudioTestDrive(const AudioTestDrive&) = delete;
  AudioTestDrive& operator=(const AudioTestDrive&) = delete;

  std::filesystem::path DriveC() const { return root_ / "drive_c"; }
  std::filesystem::path Played() const { return root_ / "played.raw"; }
  // Writes the clip as a WAV file on drive C; false when it could not be written.
  bool WriteClip(const char* name, const WaveClip& clip) const {
    return SaveWaveClip(clip, (DriveC() / name).string()) == WaveFileResult::kDone;
  }

 private:
  std::filesystem::path root_;
};

// Asks `done` every few milliseconds until it answers true or the time is up.
inline bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace velcrum::testing
