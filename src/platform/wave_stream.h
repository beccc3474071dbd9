// Playing and recording wave audio on the sound device, through PortAudio, each on a
// thread of its own so that the caller never waits for the device.
//
// The device is the system default, or the one named by SetWaveDeviceName (a PortAudio
// device name, compared without regard to case; docs/AUDIO.md). The threads keep to the
// wall clock: they never run more than a little ahead of real time, so that a device
// without a clock of its own (ALSA's null device, a file) plays and records at the
// speed a sound card would, and a play of one second lasts one second everywhere.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/wave_clip.h"

namespace velcrum {

// The device that later streams open; empty: the system default.
void SetWaveDeviceName(std::string name);

// Plays frames [from, to) of a clip. `ended` runs on the playing thread once the last
// frame has been played; never when the play is stopped.
class WavePlayback {
 public:
  using Ended = std::function<void()>;
  // Null when the device cannot be opened.
  static std::unique_ptr<WavePlayback> Start(std::shared_ptr<const WaveClip> clip, size_t from,
                                             size_t to, Ended ended);
  ~WavePlayback();
  WavePlayback(const WavePlayback&) = delete;
  WavePlayback& operator=(const WavePlayback&) = delete;

  // Stops at once (the device's buffer is dropped) and waits for the thread.
  void Stop();
  // The frame of the clip being played now; `to` once the play has ended.
  size_t Position() const;
  bool Active() const { return !finished_; }

 private:
  WavePlayback() = default;
  void Run(void* stream, Ended ended);

  std::shared_ptr<const WaveClip> clip_;
  size_t from_ = 0;
  size_t to_ = 0;
  std::atomic<size_t> written_{0};
  std::atomic<bool> finished_{false};
  std::atomic<int64_t> startNs_{0};
  bool stopping_ = false;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
};

// Records from the device's input in the given format until stopped.
class WaveRecording {
 public:
  // Null when the device cannot be opened.
  static std::unique_ptr<WaveRecording> Start(int channels, int sampleRate);
  ~WaveRecording();
  WaveRecording(const WaveRecording&) = delete;
  WaveRecording& operator=(const WaveRecording&) = delete;

  // Stops, waits for the thread and hands over the samples recorded (interleaved).
  std::vector<int16_t> Stop();
  size_t Frames() const { return frames_; }

 private:
  WaveRecording() = default;
  void Run(void* stream);

  int channels_ = 1;
  int sampleRate_ = 11025;
  std::atomic<size_t> frames_{0};
  bool stopping_ = false;
  std::vector<int16_t> samples_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
};

}  // namespace velcrum
