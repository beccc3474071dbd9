// The "waveaudio" MCI device and the click sounds on real ALSA streams without a sound
// card: what a play hands the device, how long it lasts, the notifications, a recording
// saved as WAV, and the errors of the command strings.
#include "platform/wave_audio_device.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <tuple>
#include <vector>

#include "platform/mci.h"
#include "platform/play_sound.h"
#include "platform/wave_clip.h"
#include "support/headless_audio.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::PlayedWhole;
using testing::RampClip;
using testing::WaitFor;

constexpr uint32_t kWindow = 0x42;

std::mutex g_mutex;
std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> g_notified;

size_t NotifiedCount() {
  const std::lock_guard lock(g_mutex);
  return g_notified.size();
}

class WaveAudioDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drive_ = std::make_unique<testing::AudioTestDrive>();
    RegisterWaveAudioDevice();
    g_notified.clear();
    InstallMciNotifier([](uint32_t window, uint32_t flags, uint32_t id) {
      const std::lock_guard lock(g_mutex);
      g_notified.emplace_back(window, flags, id);
    });
  }
  void TearDown() override {
    CloseAllMciDevices();
    InstallMciNotifier(nullptr);
    drive_.reset();
  }
  static uint32_t Send(std::string_view text, std::string* returned = nullptr) {
    return MciSendString(text, returned, 256, kWindow);
  }
  static std::string Status(std::string_view item) {
    std::string answer;
    EXPECT_EQ(Send("status velcrum " + std::string(item), &answer), 0u) << item;
    return answer;
  }
  void WriteClip(const char* name, const WaveClip& clip) {
    ASSERT_TRUE(drive_->WriteClip(name, clip));
  }

  std::unique_ptr<testing::AudioTestDrive> drive_;
};

TEST_F(WaveAudioDeviceTest, PlayHandsTheDeviceTheFileSamplesInRealTimeAndNotifiesAtTheEnd) {
  const WaveClip clip = RampClip(250);
  WriteClip("tone.wav", clip);
  ASSERT_EQ(Send("open c:\\TONE.WAV alias velcrum"), 0u) << "found without regard to case";
  EXPECT_EQ(Status("length"), "250");
  const uint32_t id = MciGetDeviceID("velcrum");
  ASSERT_NE(id, 0u);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Send("play velcrum notify"), 0u);
  EXPECT_EQ(Status("mode"), "playing");
  ASSERT_TRUE(WaitFor([] { return NotifiedCount() == 1; }, 3s));
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 240ms) << "a device without a clock still plays in real time";
  EXPECT_LT(took, 1500ms);
  EXPECT_EQ(g_notified[0], std::make_tuple(kWindow, MCI_NOTIFY_SUCCESSFUL, id));
  EXPECT_EQ(Status("mode"), "stopped");
  EXPECT_EQ(Status("position"), "250");
  EXPECT_TRUE(PlayedWhole(drive_->Played(), clip));

  // A part of the clip, in samples.
  ASSERT_EQ(Send("set velcrum time format samples"), 0u);
  EXPECT_EQ(Status("length"), "2000");
  ASSERT_EQ(Send("play velcrum from 800 to 1200"), 0u);
  WaveClip part = clip;
  part.samples.assign(clip.samples.begin() + 800, clip.samples.begin() + 1200);
  ASSERT_TRUE(WaitFor([] { return Status("mode") == "stopped"; }, 2s));
  EXPECT_TRUE(PlayedWhole(drive_->Played(), part));
  EXPECT_EQ(Status("position"), "1200");
}

TEST_F(WaveAudioDeviceTest, StopAbortsThePlayAndANewPlaySupersedesItsNotification) {
  WriteClip("long.wav", RampClip(2000));
  ASSERT_EQ(Send("open c:\\long.wav alias velcrum"), 0u);
  const uint32_t id = MciGetDeviceID("velcrum");
  ASSERT_EQ(Send("play velcrum notify"), 0u);
  ASSERT_EQ(Send("play velcrum from 0 notify"), 0u);
  std::this_thread::sleep_for(100ms);
  ASSERT_EQ(Send("stop velcrum"), 0u);
  EXPECT_EQ(Status("mode"), "stopped");
  const int position = std::stoi(Status("position"));
  EXPECT_GT(position, 0);
  EXPECT_LT(position, 1000);
  ASSERT_EQ(NotifiedCount(), 2u);
  EXPECT_EQ(g_notified[0], std::make_tuple(kWindow, MCI_NOTIFY_SUPERSEDED, id));
  EXPECT_EQ(g_notified[1], std::make_tuple(kWindow, MCI_NOTIFY_ABORTED, id));
  ASSERT_EQ(Send("stop velcrum notify"), 0u) << "a stop's own notification";
  ASSERT_EQ(NotifiedCount(), 3u);
  EXPECT_EQ(g_notified[2], std::make_tuple(kWindow, MCI_NOTIFY_SUCCESSFUL, id));
}

TEST_F(WaveAudioDeviceTest, ARecordingSavedIsAWavFileOfTheRecordedLength) {
  ASSERT_EQ(Send("open new type waveaudio alias velcrum buffer 6"), 0u);
  ASSERT_EQ(Send("record velcrum"), 0u);
  EXPECT_EQ(Status("mode"), "recording");
  std::this_thread::sleep_for(300ms);
  ASSERT_EQ(Send("stop velcrum"), 0u);
  const int length = std::stoi(Status("length"));
  EXPECT_GE(length, 250);
  EXPECT_LE(length, 800);
  ASSERT_EQ(Send("save velcrum c:\\rec.wav"), 0u);
  WaveClip saved;
  ASSERT_EQ(LoadWaveClip((drive_->DriveC() / "rec.wav").string(), saved), WaveFileResult::kDone);
  EXPECT_EQ(saved.sampleRate, 11025);
  EXPECT_EQ(saved.channels, 1);
  EXPECT_EQ(saved.bitsPerSample, 8);
  EXPECT_EQ(saved.FramesToMs(saved.Frames()), static_cast<uint32_t>(length));

  EXPECT_EQ(Send("save velcrum c:\\no such dir\\rec.wav"), MCIERR_FILE_NOT_SAVED);
  EXPECT_FALSE(fs::exists(drive_->DriveC() / "no such dir")) << "nothing half-written";
}

TEST_F(WaveAudioDeviceTest, CommandStringErrors) {
  std::ofstream(drive_->DriveC() / "text.wav") << "not a wave file";
  WriteClip("tone.wav", RampClip(100));
  EXPECT_EQ(Send("open c:\\missing.wav alias velcrum"), MCIERR_FILE_NOT_FOUND);
  EXPECT_EQ(Send("open c:\\text.wav alias velcrum"), MCIERR_INVALID_FILE);
  ASSERT_EQ(Send("open c:\\tone.wav alias velcrum"), 0u);
  const struct {
    const char* command;
    uint32_t error;
  } kCases[] = {
      {"play velcrum from 101", MCIERR_OUTOFRANGE},
      {"play velcrum from 80 to 20", MCIERR_OUTOFRANGE},
      {"play velcrum from x", MCIERR_BAD_INTEGER},
      {"play velcrum backwards", MCIERR_UNRECOGNIZED_KEYWORD},
      {"bogus velcrum", MCIERR_UNRECOGNIZED_COMMAND},
      {"set velcrum time format frames", MCIERR_BAD_TIME_FORMAT},
      {"set velcrum channels 2", MCIERR_UNSUPPORTED_FUNCTION},
      {"status velcrum colour", MCIERR_UNRECOGNIZED_KEYWORD},
      {"seek velcrum to 500", MCIERR_OUTOFRANGE},
      {"save velcrum", MCIERR_FILENAME_REQUIRED},
  };
  for (const auto& c : kCases) EXPECT_EQ(Send(c.command), c.error) << c.command;
  EXPECT_EQ(Send("seek velcrum to end"), 0u);
  EXPECT_EQ(Status("position"), "100");
  EXPECT_EQ(NotifiedCount(), 0u);
}

TEST_F(WaveAudioDeviceTest, AClickSoundPlaysWithoutWaitingAndANewOneEndsIt) {
  const WaveClip click = RampClip(100, 3000);
  WriteClip("click.wav", click);
  const auto start = std::chrono::steady_clock::now();
  PlaySoundAsync("c:\\missing.wav");
  PlaySoundAsync("c:\\click.wav");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 50ms) << "returns at once";
  EXPECT_TRUE(WaitFor([&] { return PlayedWhole(drive_->Played(), click); }, 3s));
}

}  // namespace
}  // namespace velcrum
