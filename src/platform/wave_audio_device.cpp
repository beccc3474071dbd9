// The "waveaudio" device: one clip in memory (a file's or a new recording's), at most one
// play or recording at a time, and the notification a "notify" command waits for.
#include "platform/wave_audio_device.h"

#include <atomic>
#include <charconv>
#include <memory>
#include <string>

#include "platform/ascii_case.h"
#include "platform/mci.h"
#include "platform/paths.h"
#include "platform/wave_clip.h"
#include "platform/wave_stream.h"

namespace velcrum {
namespace {

// The notification that a play or a recording given "notify" waits for. Whoever takes it
// first (the play's end, a stop, a newer command, close) delivers it, once.
struct PendingNotify {
  std::atomic<uint32_t> window{0};
  uint32_t deviceId = 0;

  void Deliver(uint32_t flags) {
    const uint32_t to = window.exchange(0);
    if (to != 0) MciNotify(to, flags, deviceId);
  }
};

bool ParseNumber(const std::string& text, uint32_t& value) {
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  return error == std::errc{} && at == end;
}

class WaveAudioDevice final : public MciDevice {
 public:
  WaveAudioDevice(WaveClip clip, uint32_t deviceId)
      : clip_(std::make_shared<WaveClip>(std::move(clip))),
        pending_(std::make_shared<PendingNotify>()) {
    pending_->deviceId = deviceId;
  }
  ~WaveAudioDevice() override {
    Settle();
    pending_->Deliver(MCI_NOTIFY_ABORTED);
  }

  uint32_t Execute(const MciCommand& command, std::string& returned) override {
    const std::string& name = command.command;
    if (name == "play") return Play(command);
    if (name == "record") return Record(command);
    if (name == "stop") return Finish(command, Stop());
    if (name == "seek") return Finish(command, Seek(command.words));
    if (name == "save") return Finish(command, Save(command.words));
    if (name == "set") return Finish(command, Set(command.words));
    if (name == "status") return Finish(command, Status(command.words, returned));
    if (name == "pause" || name == "resume" || name == "cue") return MCIERR_UNSUPPORTED_FUNCTION;
    return MCIERR_UNRECOGNIZED_COMMAND;
  }

 private:
  // A command that ends at once reports its own "notify" at once.
  static uint32_t Finish(const MciCommand& command, uint32_t error) {
    if (error == 0 && command.notify) {
      MciNotify(command.notifyWindow, MCI_NOTIFY_SUCCESSFUL, command.deviceId);
    }
    return error;
  }

  // Ends the play or recording under way; the position stays where it was.
  void Settle() {
    if (playback_) {
      playback_->Stop();
      position_ = playback_->Position();
      playback_.reset();
    }
    if (recording_) {
      const std::vector<int16_t> recorded = recording_->Stop();
      recording_.reset();
      clip_->samples.insert(clip_->samples.end(), recorded.begin(), recorded.end());
      position_ = clip_->Frames();
    }
  }

  // The current position, the play under way counted.
  size_t Position() const {
    if (playback_) return playback_->Position();
    if (recording_) return clip_->Frames() + recording_->Frames();
    return position_;
  }

  uint32_t ToTime(size_t frames) const {
    return samples_ ? static_cast<uint32_t>(frames) : clip_->FramesToMs(frames);
  }
  size_t ToFrames(uint32_t time) const { return samples_ ? time : clip_->MsToFrames(time); }

  // A time word: false (MCIERR_BAD_INTEGER) when it is not a number.
  bool ReadTime(const std::vector<std::string>& words, size_t at, size_t& frames,
                uint32_t& error) const {
    uint32_t time = 0;
    if (at >= words.size()) {
      error = MCIERR_MISSING_PARAMETER;
      return false;
    }
    if (!ParseNumber(words[at], time)) {
      error = MCIERR_BAD_INTEGER;
      return false;
    }
    frames = ToFrames(time);
    if (frames > clip_->Frames()) {
      error = MCIERR_OUTOFRANGE;
      return false;
    }
    return true;
  }

  uint32_t Play(const MciCommand& command) {
    size_t from = Position();
    size_t to = clip_->Frames();
    uint32_t error = 0;
    for (size_t i = 0; i < command.words.size(); ++i) {
      const std::string word = LowerAsciiText(command.words[i]);
      if (word == "from") {
        if (!ReadTime(command.words, ++i, from, error)) return error;
      } else if (word == "to") {
        if (!ReadTime(command.words, ++i, to, error)) return error;
      } else {
        return MCIERR_UNRECOGNIZED_KEYWORD;
      }
    }
    if (from > to) return MCIERR_OUTOFRANGE;
    pending_->Deliver(MCI_NOTIFY_SUPERSEDED);
    Settle();
    if (command.notify) pending_->window = command.notifyWindow;
    if (from == to) {
      position_ = to;
      pending_->Deliver(MCI_NOTIFY_SUCCESSFUL);
      return 0;
    }
    std::shared_ptr<PendingNotify> pending = pending_;
    playback_ = WavePlayback::Start(clip_, from, to,
                                    [pending] { pending->Deliver(MCI_NOTIFY_SUCCESSFUL); });
    if (!playback_) {
      pending_->window = 0;
      return MCIERR_HARDWARE;
    }
    return 0;
  }

  uint32_t Record(const MciCommand& command) {
    if (!command.words.empty()) return MCIERR_UNRECOGNIZED_KEYWORD;
    pending_->Deliver(MCI_NOTIFY_SUPERSEDED);
    Settle();
    recording_ = WaveRecording::Start(clip_->channels, clip_->sampleRate);
    if (!recording_) return MCIERR_HARDWARE;
    if (command.notify) pending_->window = command.notifyWindow;
    return 0;
  }

  uint32_t Stop() {
    Settle();
    pending_->Deliver(MCI_NOTIFY_ABORTED);
    return 0;
  }

  uint32_t Seek(const std::vector<std::string>& words) {
    if (words.size() != 2 || LowerAsciiText(words[0]) != "to") return MCIERR_MISSING_PARAMETER;
    pending_->Deliver(MCI_NOTIFY_ABORTED);
    Settle();
    const std::string where = LowerAsciiText(words[1]);
    if (where == "start") {
      position_ = 0;
    } else if (where == "end") {
      position_ = clip_->Frames();
    } else {
      uint32_t error = 0;
      size_t frames = 0;
      if (!ReadTime(words, 1, frames, error)) return error;
      position_ = frames;
    }
    return 0;
  }

  uint32_t Save(const std::vector<std::string>& words) {
    if (words.empty()) return MCIERR_FILENAME_REQUIRED;
    std::string file = words[0];
    for (size_t i = 1; i < words.size(); ++i) file += " " + words[i];
    const std::string hostPath = HostFilePath(file);
    if (hostPath.empty()) return MCIERR_FILENAME_REQUIRED;
    pending_->Deliver(MCI_NOTIFY_ABORTED);
    Settle();
    return SaveWaveClip(*clip_, hostPath) == WaveFileResult::kDone ? 0 : MCIERR_FILE_NOT_SAVED;
  }

  uint32_t Set(const std::vector<std::string>& words) {
    if (words.empty()) return MCIERR_MISSING_PARAMETER;
    const std::string item = LowerAsciiText(words[0]);
    if (item == "time") {
      if (words.size() != 3 || LowerAsciiText(words[1]) != "format") {
        return MCIERR_MISSING_PARAMETER;
      }
      const std::string format = LowerAsciiText(words[2]);
      if (format == "milliseconds" || format == "ms") {
        samples_ = false;
      } else if (format == "samples") {
        samples_ = true;
      } else {
        return MCIERR_BAD_TIME_FORMAT;
      }
      return 0;
    }
    uint32_t value = 0;
    if (words.size() != 2) return MCIERR_MISSING_PARAMETER;
    if (!ParseNumber(words[1], value)) return MCIERR_BAD_INTEGER;
    if (item != "channels" && item != "samplespersec" && item != "bitspersample") {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if (playback_ || recording_ || !clip_->samples.empty()) return MCIERR_UNSUPPORTED_FUNCTION;
    if (item == "channels" && value >= 1 && value <= 2) {
      clip_->channels = static_cast<int>(value);
    } else if (item == "samplespersec" && value >= 8000 && value <= 96000) {
      clip_->sampleRate = static_cast<int>(value);
    } else if (item == "bitspersample" && (value == 8 || value == 16)) {
      clip_->bitsPerSample = static_cast<int>(value);
    } else {
      return MCIERR_OUTOFRANGE;
    }
    return 0;
  }

  uint32_t Status(const std::vector<std::string>& words, std::string& returned) const {
    std::string item;
    for (const std::string& word : words) item += (item.empty() ? "" : " ") + LowerAsciiText(word);
    if (item == "length") {
      returned = std::to_string(ToTime(clip_->Frames()));
    } else if (item == "position") {
      returned = std::to_string(ToTime(Position()));
    } else if (item == "mode") {
      returned = playback_ && playback_->Active() ? "playing"
                 : recording_                     ? "recording"
                                                  : "stopped";
    } else if (item == "ready") {
      returned = "true";
    } else if (item == "time format") {
      returned = samples_ ? "samples" : "milliseconds";
    } else if (item == "channels") {
      returned = std::to_string(clip_->channels);
    } else if (item == "samplespersec") {
      returned = std::to_string(clip_->sampleRate);
    } else if (item == "bitspersample") {
      returned = std::to_string(clip_->bitsPerSample);
    } else {
      return item.empty() ? MCIERR_MISSING_PARAMETER : MCIERR_UNRECOGNIZED_KEYWORD;
    }
    return 0;
  }

  std::shared_ptr<WaveClip> clip_;
  std::shared_ptr<PendingNotify> pending_;
  std::unique_ptr<WavePlayback> playback_;
  std::unique_ptr<WaveRecording> recording_;
  size_t position_ = 0;
  bool samples_ = false;  // the time format: samples, else milliseconds
};

std::unique_ptr<MciDevice> OpenWaveAudio(const MciOpen& open, uint32_t* error) {
  WaveClip clip;
  if (LowerAsciiText(open.element) != "new") {
    const std::string hostPath = HostFilePath(open.element);
    const WaveFileResult result =
        hostPath.empty() ? WaveFileResult::kNotFound : LoadWaveClip(hostPath, clip);
    if (result != WaveFileResult::kDone) {
      *error = result == WaveFileResult::kNotFound ? MCIERR_FILE_NOT_FOUND : MCIERR_INVALID_FILE;
      return nullptr;
    }
  }
  return std::make_unique<WaveAudioDevice>(std::move(clip), open.deviceId);
}

}  // namespace

void RegisterWaveAudioDevice() {
  RegisterMciDeviceType("waveaudio", OpenWaveAudio, {".wav"});
}

}  // namespace velcrum
