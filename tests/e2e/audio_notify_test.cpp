// The audio notification through the real main window: MM_MCINOTIFY posted by the audio
// threads reaches the main window's procedure, which hands it to the audio module, which
// runs the play's done or error line.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "panel_dialog_fixture.h"
#include "platform/wave_clip.h"
#include "support/headless_audio.h"

namespace velcrum::testing {
namespace {

namespace fs = std::filesystem;

class AudioNotifyTest : public PanelDialogTest {
 protected:
  void SetUp() override {
    PanelDialogTest::SetUp();
    char pattern[] = "/tmp/velcrum-audio-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    fs::create_directories(root_ / "drive_c");
    setenv("VELCRUM_DRIVE_C", (root_ / "drive_c").c_str(), 1);
    UseHeadlessAlsa(root_ / "played.raw");
  }
  void TearDown() override {
    PanelDialogTest::TearDown();
    unsetenv("VELCRUM_DRIVE_C");
    fs::remove_all(root_);
  }

  fs::path root_;
};

TEST_F(AudioNotifyTest, TheMainWindowRunsTheDoneLineAtTheEndAndTheErrorLineForAMissingFile) {
  const WaveClip clip = RampClip(120);
  ASSERT_EQ(SaveWaveClip(clip, (root_ / "drive_c" / "tone.wav").string()), WaveFileResult::kDone);
  Line(201, "NA a% 1 a%");
  Line(202, "NA b% 1 b%");
  RunText("AP 'c;/tone.wav' 201 202 0");
  ASSERT_TRUE(QTest::qWaitFor([] { return Var('a') == 1; }, 3000));
  EXPECT_EQ(Var('b'), 0);
  EXPECT_TRUE(PlayedWhole(root_ / "played.raw", clip));

  RunText("AP 'c;/missing.wav' 201 202 0");
  ASSERT_TRUE(QTest::qWaitFor([] { return Var('b') == 1; }, 3000));
  EXPECT_EQ(Var('a'), 1);
}

}  // namespace
}  // namespace velcrum::testing
