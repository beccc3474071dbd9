// The click-sound player: one thread that takes the latest sound asked for, reads it and
// plays it, so that the GUI thread never waits for a file or the device. The thread
// starts with the first sound and lives as long as the process.
#include "platform/play_sound.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/paths.h"
#include "platform/wave_clip.h"
#include "platform/wave_stream.h"

namespace velcrum {
namespace {

struct SoundPlayer {
  std::mutex mutex;
  std::condition_variable wake;
  std::optional<std::string> next;  // the host path of the sound asked for last

  void Run() {
    std::unique_ptr<WavePlayback> playing;
    for (;;) {
      std::string path;
      {
        std::unique_lock lock(mutex);
        wake.wait(lock, [this] { return next.has_value(); });
        path = std::move(*next);
        next.reset();
      }
      playing.reset();
      auto clip = std::make_shared<WaveClip>();
      if (LoadWaveClip(path, *clip) != WaveFileResult::kDone) continue;
      const size_t frames = clip->Frames();
      playing = WavePlayback::Start(std::move(clip), 0, frames, nullptr);
    }
  }
};

SoundPlayer& ThePlayer() {
  // Never destroyed: its thread runs until the process ends.
  static SoundPlayer* player = [] {
    auto* created = new SoundPlayer;
    std::thread([created] { created->Run(); }).detach();
    return created;
  }();
  return *player;
}

}  // namespace

void PlaySoundAsync(std::string_view windowsPath) {
  const std::string hostPath = HostFilePath(windowsPath);
  if (hostPath.empty()) return;
  SoundPlayer& player = ThePlayer();
  {
    const std::lock_guard lock(player.mutex);
    player.next = hostPath;
  }
  player.wake.notify_one();
}

}  // namespace velcrum
