// The audio commands through the executor, with the audio thread and real ALSA streams
// (support/headless_audio.h). MM_MCINOTIFY is posted through a notifier of the test's
// own and offered to the modules as the main window would; tests/e2e has the same
// through the real main window.
#include "peripherals/audio_commands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <memory>
#include <mutex>

#include "interpreter/variables.h"
#include "peripherals/audio_thread.h"
#include "platform/mci.h"
#include "runtime/event_routing.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "support/headless_audio.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

using namespace std::chrono_literals;
using testing::PlayedWhole;
using testing::RampClip;

std::mutex g_mutex;
std::deque<platform::Message> g_posted;

class AudioCommandsTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    drive_ = std::make_unique<testing::AudioTestDrive>();
    g_hwndMain = 0x42;
    g_posted.clear();
    InstallMciNotifier([](uint32_t window, uint32_t flags, uint32_t id) {
      const std::lock_guard lock(g_mutex);
      if (window == 0x42) {
        g_posted.push_back(platform::Message::Plain(MM_MCINOTIFY, flags, static_cast<int32_t>(id)));
      }
    });
    Script({{201, "NA a% 1 a%"}, {202, "NA b% 1 b%"}, {203, "NA c% 1 c%"}});
  }
  void TearDown() override {
    ResetModules();
    InstallMciNotifier(nullptr);
    drive_.reset();
    InterpreterTest::TearDown();
  }

  // The main window's part: each MM_MCINOTIFY posted is offered to the modules, until
  // `done` holds or the time is up.
  static bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    return testing::WaitFor(
        [&] {
          for (;;) {
            platform::Message message;
            {
              const std::lock_guard lock(g_mutex);
              if (g_posted.empty()) break;
              message = g_posted.front();
              g_posted.pop_front();
            }
            OfferToModules(message);
          }
          return done();
        },
        limit);
  }
  static int32_t Var(char letter) { return g_lIntegerVariables[VariableIndex(letter)]; }
  void WriteClip(const char* name, const WaveClip& clip) {
    ASSERT_TRUE(drive_->WriteClip(name, clip));
  }

  std::unique_ptr<testing::AudioTestDrive> drive_;
};

TEST_F(AudioCommandsTest, APlayRunsItsDoneLineAtTheEndAndAMissingFileItsErrorLine) {
  const WaveClip clip = RampClip(150);
  WriteClip("tone.wav", clip);
  Run("AP 'c;/tone.wav' 201 202 0");
  EXPECT_TRUE(AudioThreadRunning()) << "started by the first play";
  ASSERT_TRUE(PumpUntil([] { return Var('a') == 1; }, 3s));
  EXPECT_EQ(Var('b'), 0);
  EXPECT_TRUE(PlayedWhole(drive_->Played(), clip));
  ASSERT_TRUE(PumpUntil([] { return g_iAudioMode == A_AVAILABLE; }, 1s)) << "closed";

  Run("AP 'c;/missing.wav' 201 202 0");
  ASSERT_TRUE(PumpUntil([] { return Var('b') == 1; }, 3s));
  EXPECT_EQ(Var('a'), 1) << "the done line does not run";
  EXPECT_TRUE(DebuggerSaid("AudioThreadProc: AP: Audio Play - open failed"));
  EXPECT_TRUE(DebuggerSaid("AudioThreadProc: AP: Audio Play - Cannot find the specified file."));
}

TEST_F(AudioCommandsTest, StopDuringAPlayEndsItAndRunsTheDoneLine) {
  WriteClip("long.wav", RampClip(3000));
  Run("AS");
  EXPECT_TRUE(AudioThreadRunning()) << "AS starts the thread and does nothing else";
  EXPECT_FALSE(PumpUntil([] { return Var('a') != 0; }, 50ms));
  const auto start = std::chrono::steady_clock::now();
  Run("AP 'c;/long.wav' 201 202 0");
  ASSERT_TRUE(PumpUntil([] { return g_iAudioMode == A_PLAYING; }, 2s));
  Run("AS");
  ASSERT_TRUE(PumpUntil([] { return Var('a') == 1; }, 2s));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST_F(AudioCommandsTest, AnImmediatePlayReplacesThePlayUnderWayWithoutItsDoneLine) {
  WriteClip("long.wav", RampClip(3000));
  const WaveClip second = RampClip(150, 5000);
  WriteClip("short.wav", second);
  Run("AP 'c;/long.wav' 201 202 0");
  ASSERT_TRUE(PumpUntil([] { return g_iAudioMode == A_PLAYING; }, 2s));
  Run("AP 'c;/short.wav' 203 202 1");
  EXPECT_FALSE(g_bImmediatePlay) << "cleared once the play is posted";
  ASSERT_TRUE(PumpUntil([] { return Var('c') == 1; }, 3s));
  EXPECT_EQ(Var('a'), 0) << "the stopped play's notification runs nothing";
  EXPECT_TRUE(PlayedWhole(drive_->Played(), second));
}

TEST_F(AudioCommandsTest, ARecordingIsSavedWhenTheDeviceIsNextClosed) {
  WriteClip("tone.wav", RampClip(100));
  Run("AR 'c;/take one.wav'");
  ASSERT_TRUE(PumpUntil([] { return g_iAudioMode == A_RECORDING; }, 2s));
  std::this_thread::sleep_for(300ms);
  Run("AS");
  Run("AP 'c;/tone.wav' 201 202 0");
  ASSERT_TRUE(PumpUntil([] { return Var('a') == 1; }, 3s));
  WaveClip saved;
  ASSERT_EQ(LoadWaveClip((drive_->DriveC() / "take one.wav").string(), saved),
            WaveFileResult::kDone);
  EXPECT_GE(saved.FramesToMs(saved.Frames()), 250u);
  EXPECT_LE(saved.FramesToMs(saved.Frames()), 1000u);
}

TEST_F(AudioCommandsTest, ClosedownStopsThePlayAndEndsTheThread) {
  WriteClip("long.wav", RampClip(3000));
  Run("AP 'c;/long.wav' 201 202 0");
  ASSERT_TRUE(PumpUntil([] { return g_iAudioMode == A_PLAYING; }, 2s));
  VLMciSup_Closedown();
  EXPECT_TRUE(DebuggerSaid("<TEST____.000> VLMciSup_Closedown: Enter (called by MainCloseDown)"));
  EXPECT_EQ(g_iAudioMode, A_AVAILABLE);
  EXPECT_FALSE(AudioThreadRunning());
  EXPECT_EQ(MciGetDeviceID("velcrum"), 0u) << "closed";
  EXPECT_FALSE(PumpUntil([] { return Var('a') != 0; }, 100ms)) << "no line runs after it";
}

TEST_F(AudioCommandsTest, AnMciStringGoesToTheDeviceUnchanged) {
  WriteClip("tone.wav", RampClip(100));
  Run("AG");
  EXPECT_TRUE(AudioThreadRunning()) << "AG starts the thread";
  Run("AG");
  EXPECT_TRUE(AudioThreadRunning()) << "and then only posts a request the thread ignores";
  Run("AM 'open \\tone.wav alias velcrum notify'");
  ASSERT_TRUE(PumpUntil([] { return MciGetDeviceID("velcrum") != 0; }, 2s));
}

TEST_F(AudioCommandsTest, ClickSoundsAndTheImmediateFlagReports) {
  const struct {
    const char* line;
    const char* down;
    const char* up;
    const char* report;
  } kCases[] = {
      {"AK 'down' 'c;/snd/press.wav'", "c:\\snd\\press.wav", "", nullptr},
      {"AK 'UP' 'c;/snd/up.wav'", "c:\\snd\\press.wav", "c:\\snd\\up.wav", nullptr},
      {"AK 'Down' ''", "", "c:\\snd\\up.wav", "DOWN: setting audio down file name to NULL."},
      {"AK 'UP' ''", "", "", "UP: setting audio down file name to NULL."},
      {"AK 'left' 'x.wav'", "", "", "Not UP or DOWN specified."},
  };
  for (const auto& c : kCases) {
    host.debugger.clear();
    host.debugWindow.clear();
    Run(c.line);
    EXPECT_EQ(g_szMouseDownSound, c.down) << c.line;
    EXPECT_EQ(g_szCommandSound, c.up) << c.line;
    if (c.report) {
      EXPECT_TRUE(DebuggerSaid(c.report)) << c.line;
    }
  }
  Run("AP 'c;/missing.wav' 0 203 2");
  EXPECT_TRUE(DebuggerSaid("AP: Immediate Flag Play parameter neither 0 or 1."));
  ASSERT_TRUE(PumpUntil([] { return Var('c') == 1; }, 3s)) << "played with the flag unchanged";
  Run("AB");
  EXPECT_EQ(host.beeps, 1);
}

}  // namespace
}  // namespace velcrum
