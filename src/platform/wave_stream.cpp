// The playing and recording threads over PortAudio's blocking streams, kept to the wall
// clock. PortAudio itself is initialised once, on the first stream, and its set-up calls
// (initialise, open, close, the device list) are made one at a time, as it requires.
#include "platform/wave_stream.h"

#include <portaudio.h>

#include <algorithm>
#include <chrono>

#include "platform/ascii_case.h"

namespace velcrum {
namespace {

using Clock = std::chrono::steady_clock;

// A playing thread may run this far ahead of the wall clock, besides the device's own
// latency: enough to keep a real device's buffer filled.
constexpr double kPlayAheadSeconds = 0.25;
// The wall clock may run this much slower than a real device's own clock.
constexpr double kClockTolerance = 1.01;

struct PortAudioState {
  std::mutex mutex;
  bool initialised = false;
  std::string deviceName;
};

PortAudioState& ThePortAudio() {
  static auto* state = new PortAudioState;  // streams may still be closing at exit
  return *state;
}

double SecondsSince(int64_t startNs) {
  const int64_t now =
      std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
  return static_cast<double>(now - startNs) / 1e9;
}

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
      .count();
}

// The device for output or input: the named one, or the default. paNoDevice when there is
// none. Called with the PortAudio lock held.
PaDeviceIndex ChooseDevice(const PortAudioState& state, bool output) {
  if (state.deviceName.empty()) {
    return output ? Pa_GetDefaultOutputDevice() : Pa_GetDefaultInputDevice();
  }
  const std::string wanted = LowerAsciiText(state.deviceName);
  for (PaDeviceIndex i = 0; i < Pa_GetDeviceCount(); ++i) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
    if (info && LowerAsciiText(info->name) == wanted &&
        (output ? info->maxOutputChannels : info->maxInputChannels) > 0) {
      return i;
    }
  }
  return paNoDevice;
}

// Opens a blocking 16-bit stream on the chosen device; null when it cannot be opened.
PaStream* OpenStream(bool output, int channels, int sampleRate) {
  PortAudioState& state = ThePortAudio();
  const std::lock_guard lock(state.mutex);
  if (!state.initialised) {
    if (Pa_Initialize() != paNoError) return nullptr;
    state.initialised = true;
  }
  const PaDeviceIndex device = ChooseDevice(state, output);
  if (device == paNoDevice) return nullptr;
  const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
  PaStreamParameters parameters{};
  parameters.device = device;
  parameters.channelCount = channels;
  parameters.sampleFormat = paInt16;
  parameters.suggestedLatency =
      output ? info->defaultLowOutputLatency : info->defaultLowInputLatency;
  PaStream* stream = nullptr;
  const PaError error =
      Pa_OpenStream(&stream, output ? nullptr : &parameters, output ? &parameters : nullptr,
                    sampleRate, paFramesPerBufferUnspecified, paClipOff, nullptr, nullptr);
  if (error != paNoError) return nullptr;
  if (Pa_StartStream(stream) != paNoError) {
    Pa_CloseStream(stream);
    return nullptr;
  }
  return stream;
}

void CloseStream(PaStream* stream, bool drain) {
  if (drain) {
    Pa_StopStream(stream);
  } else {
    Pa_AbortStream(stream);
  }
  const std::lock_guard lock(ThePortAudio().mutex);
  Pa_CloseStream(stream);
}

// A twentieth of a second: how much one write or read moves.
size_t ChunkFrames(int sampleRate) {
  return std::max<size_t>(64, static_cast<size_t>(sampleRate) / 50);
}

}  // namespace

void SetWaveDeviceName(std::string name) {
  const std::lock_guard lock(ThePortAudio().mutex);
  ThePortAudio().deviceName = std::move(name);
}

std::unique_ptr<WavePlayback> WavePlayback::Start(std::shared_ptr<const WaveClip> clip, size_t from,
                                                  size_t to, Ended ended) {
  PaStream* stream = OpenStream(true, clip->channels, clip->sampleRate);
  if (!stream) return nullptr;
  std::unique_ptr<WavePlayback> playback(new WavePlayback);
  playback->clip_ = std::move(clip);
  playback->from_ = from;
  playback->to_ = std::max(from, to);
  playback->startNs_ = NowNs();
  playback->thread_ = std::thread(&WavePlayback::Run, playback.get(), stream, std::move(ended));
  return playback;
}

WavePlayback::~WavePlayback() {
  Stop();
}

void WavePlayback::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

size_t WavePlayback::Position() const {
  const double played = SecondsSince(startNs_) * clip_->sampleRate;
  const size_t frames = std::min(written_.load(), static_cast<size_t>(std::max(0.0, played)));
  return std::min(to_, from_ + frames);
}

void WavePlayback::Run(void* streamHandle, Ended ended) {
  auto* stream = static_cast<PaStream*>(streamHandle);
  const double rate = clip_->sampleRate;
  const size_t chunk = ChunkFrames(clip_->sampleRate);
  const PaStreamInfo* info = Pa_GetStreamInfo(stream);
  const double ahead = kPlayAheadSeconds + (info ? info->outputLatency : 0.0);
  const auto start = Clock::now();
  const auto seconds = [](double s) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s));
  };
  size_t position = from_;
  std::unique_lock lock(mutex_);
  while (!stopping_ && position < to_) {
    const size_t n = std::min(chunk, to_ - position);
    const double due = static_cast<double>(position + n - from_) / rate;
    const auto allowedAt = start + seconds((due - ahead) / kClockTolerance);
    if (Clock::now() < allowedAt) {
      wake_.wait_until(lock, allowedAt);
      continue;
    }
    lock.unlock();
    Pa_WriteStream(stream, clip_->samples.data() + position * static_cast<size_t>(clip_->channels),
                   static_cast<unsigned long>(n));
    lock.lock();
    position += n;
    written_ = position - from_;
  }
  // The last frame is heard once its time has come and the device has drained.
  wake_.wait_until(lock, start + seconds(static_cast<double>(to_ - from_) / rate),
                   [this] { return stopping_; });
  const bool played = !stopping_;
  lock.unlock();
  CloseStream(stream, played);
  finished_ = true;
  if (played && ended) ended();
}

std::unique_ptr<WaveRecording> WaveRecording::Start(int channels, int sampleRate) {
  PaStream* stream = OpenStream(false, channels, sampleRate);
  if (!stream) return nullptr;
  std::unique_ptr<WaveRecording> recording(new WaveRecording);
  recording->channels_ = channels;
  recording->sampleRate_ = sampleRate;
  recording->thread_ = std::thread(&WaveRecording::Run, recording.get(), stream);
  return recording;
}

WaveRecording::~WaveRecording() {
  Stop();
}

std::vector<int16_t> WaveRecording::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  return std::move(samples_);
}

void WaveRecording::Run(void* streamHandle) {
  auto* stream = static_cast<PaStream*>(streamHandle);
  const size_t chunk = ChunkFrames(sampleRate_);
  const auto start = Clock::now();
  std::vector<int16_t> buffer(chunk * static_cast<size_t>(channels_));
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    // A read waits for the device; a device without a clock is not read ahead of time.
    const double due = static_cast<double>(frames_ + chunk) / sampleRate_;
    const auto allowedAt = start + std::chrono::duration_cast<Clock::duration>(
                                       std::chrono::duration<double>(due / kClockTolerance));
    if (Clock::now() < allowedAt) {
      wake_.wait_until(lock, allowedAt);
      continue;
    }
    lock.unlock();
    const PaError error = Pa_ReadStream(stream, buffer.data(), static_cast<unsigned long>(chunk));
    lock.lock();
    if (error != paNoError && error != paInputOverflowed) break;
    samples_.insert(samples_.end(), buffer.begin(), buffer.end());
    frames_ += chunk;
  }
  lock.unlock();
  CloseStream(stream, false);
}

}  // namespace velcrum
