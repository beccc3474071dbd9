// The video overlay on a real panel in this process: VF lays the overlay device's window
// over a control (button 1001, the first control, which no other control covers), and
// with no capture device (as here) the panel's picture shows the test pattern's colour
// bars in the control's area, adjusted by VA.
#include <QApplication>
#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "panel_dialog_fixture.h"
#include "panels/panel_control_window.h"
#include "peripherals/video_commands.h"
#include "platform/desktop/overlay_test_pattern.h"
#include "platform/desktop/window_geometry.h"
#include "platform/mci.h"

namespace velcrum::testing {
namespace {

namespace fs = std::filesystem;

// The recording host with the runtime's own control lookup and window moves.
class OverlayHost final : public RecordingHost {
 public:
  PanelControlWindow FindPanelControlWindow(const CommandCall& call, int panel,
                                            int control) override {
    return velcrum::FindPanelControlWindow(call, panel, control);
  }
  bool MoveWindow(uint32_t hwnd, int x, int y, int width, int height) override {
    return platform::MoveLocalWindow(hwnd, x, y, width, height);
  }
};

class VideoOverlayTest : public PanelDialogTest {
 protected:
  void SetUp() override {
    PanelDialogTest::SetUp();
    SetHost(&overlayHost_);
    picture_ = fs::temp_directory_path() / ("velcrum-overlay-" + std::to_string(getpid()) + ".png");
  }
  void TearDown() override {
    CloseAllMciDevices();
    std::error_code ignored;
    fs::remove(picture_, ignored);
    PanelDialogTest::TearDown();
  }

  // The panel's picture as the desktop tool's shot takes it.
  QImage Shot() {
    QApplication::processEvents();
    EXPECT_TRUE(PanelDialog(1)->SavePicture(picture_.string()));
    return QImage(QString::fromStdString(picture_.string()));
  }

  // The colour at the middle of bar i within the control's area of the picture.
  static QRgb BarColour(const QImage& shot, const platform::ControlRect& area, int bar) {
    const int bars = static_cast<int>(platform::kOverlayTestBars.size());
    const int x = area.x + area.width * (2 * bar + 1) / (2 * bars);
    const int y = area.y + area.height / 2;
    return shot.pixel(x, y);
  }

  static bool Near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 8 && std::abs(qGreen(a) - qGreen(b)) <= 8 &&
           std::abs(qBlue(a) - qBlue(b)) <= 8;
  }

  OverlayHost overlayHost_;
  fs::path picture_;
};

TEST_F(VideoOverlayTest, TheOverlayShowsTheTestPatternOverTheControlAndTakesTheAdjustments) {
  RunText("PS 1:VF 0 1 1001");
  ASSERT_NE(g_hOverlayWindow, 0u);
  const platform::ControlRect area = PanelDialog(1)->ControlGeometry(1001);
  const QImage shot = Shot();
  ASSERT_FALSE(shot.isNull());
  for (int bar = 0; bar < static_cast<int>(platform::kOverlayTestBars.size()); ++bar) {
    EXPECT_TRUE(Near(BarColour(shot, area, bar), platform::kOverlayTestBars[bar]))
        << "bar " << bar << ": " << std::hex << BarColour(shot, area, bar);
  }

  RunText("VA 0 'BRIGHTNESS' 255");
  const QImage brighter = Shot();
  EXPECT_TRUE(Near(BarColour(brighter, area, 0), qRgb(255, 255, 255)));
  EXPECT_TRUE(Near(BarColour(brighter, area, 6), qRgb(127, 127, 255)));

  RunText("VF 0 1 1001");  // a second overlay replaces the first
  EXPECT_TRUE(Near(BarColour(Shot(), area, 6), platform::kOverlayTestBars[6]))
      << "the new overlay starts with neutral picture controls";
}

TEST_F(VideoOverlayTest, SavedAndLoadedStills) {
  RunText("PS 1:VF 0 1 1001");
  const fs::path still =
      fs::temp_directory_path() / ("velcrum-still-" + std::to_string(getpid()) + ".bmp");
  ASSERT_EQ(MciSendString("save overlay " + still.string() + " at 0 0 7 5", nullptr, 0, 0), 0u);
  const QImage saved(QString::fromStdString(still.string()));
  ASSERT_EQ(saved.size(), QSize(7, 5));
  EXPECT_TRUE(Near(saved.pixel(0, 0), platform::kOverlayTestBars[0]));

  QImage red(4, 4, QImage::Format_RGB32);
  red.fill(qRgb(255, 0, 0));
  ASSERT_TRUE(red.save(QString::fromStdString(still.string()), "BMP"));
  ASSERT_EQ(MciSendString("load overlay " + still.string(), nullptr, 0, 0), 0u);
  const platform::ControlRect area = PanelDialog(1)->ControlGeometry(1001);
  for (int bar : {0, 3, 6}) EXPECT_TRUE(Near(BarColour(Shot(), area, bar), qRgb(255, 0, 0)));
  EXPECT_EQ(MciSendString("load overlay /nowhere/x.bmp", nullptr, 0, 0), MCIERR_FILE_NOT_FOUND);
  fs::remove(still);
}

}  // namespace
}  // namespace velcrum::testing
