// The debug window in this process on the offscreen platform, with Qt input given to its
// widget: Shift with a left press and a drag selects lines (no pause), Ctrl+C copies them,
// the scroll bars follow the store, a failed save says so in a box, and a close request
// asks the main window to switch the window off.
#include "tools/debug_window.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>
#include <string>

#include "desktop_fixture.h"
#include "interpreter/diagnostics.h"
#include "platform/desktop/desktop_session.h"
#include "platform/desktop/window.h"
#include "runtime/subsystem_settings.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

constexpr uint32_t kWmCommand = 0x0111;

class DebugWindowInProcessTest : public platform::testing::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    SetHost(&host_);
    g_toolSettings.debugWindow = {10, 10, 400, 300};
    OpenDebugWindow();
    ASSERT_TRUE(DebugWindowExists());
    hwnd_ = platform::FindWindow("Velcrum Debug");
    widget_ = platform::DesktopSession::Current()->LocalWidget(hwnd_);
    ASSERT_NE(widget_, nullptr);
    vertical_ = nullptr;
    for (QScrollBar* bar : widget_->findChildren<QScrollBar*>()) {
      if (bar->orientation() == Qt::Vertical) vertical_ = bar;
    }
    ASSERT_NE(vertical_, nullptr);
    // Whatever earlier tests left in the store is pushed out of view.
    for (int n = 0; n < 1000; ++n) AppendToDebugWindow("filler");
  }
  void TearDown() override {
    CloseDebugWindow();
    SetHost(nullptr);
    DesktopTest::TearDown();
  }

  // The client point in the middle of the row `rowFromBottom` rows above the bottom one.
  QPoint RowPoint(int rowFromBottom) const {
    const int clientHeight = widget_->height() - vertical_->width();
    return QPoint(20, clientHeight - rowFromBottom * cellHeight_ - cellHeight_ / 2);
  }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), QPointF(widget_->mapToGlobal(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::ShiftModifier);
    QCoreApplication::sendEvent(widget_, &event);
  }

  void Key(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(widget_, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(widget_, &release);
  }

  // The event loop for longer than the view waits between two paintings, so that its
  // coalesced painting and scroll bars have followed.
  static void Settle() {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 50) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }

  testing::RecordingHost host_;
  platform::Hwnd hwnd_ = platform::kNoWindow;
  QWidget* widget_ = nullptr;
  QScrollBar* vertical_ = nullptr;
  int cellHeight_ = 0;
};

TEST_F(DebugWindowInProcessTest, ShiftDragSelectsLinesAndCtrlCCopiesThemOldestFirst) {
  for (const char* line : {"one", "two", "three", "four"}) AppendToDebugWindow(line);
  Settle();
  // The rows' height: the client area holds page-step whole rows.
  cellHeight_ = (widget_->height() - vertical_->width()) / vertical_->pageStep();
  ASSERT_GT(cellHeight_, 0);

  Mouse(QEvent::MouseButtonPress, RowPoint(2), Qt::LeftButton);  // "two"
  Mouse(QEvent::MouseMove, RowPoint(1), Qt::LeftButton);         // "three"
  Mouse(QEvent::MouseButtonRelease, RowPoint(1), Qt::NoButton);
  EXPECT_EQ(platform::FindWindow("Velcrum Debug"), hwnd_) << "a Shift-press does not pause";

  Key(Qt::Key_C, Qt::ControlModifier, "\x03");
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "two\nthree\n");

  // The selection keeps its lines while new ones arrive; Ctrl+A takes every line.
  AppendToDebugWindow("five");
  Key(Qt::Key_C, Qt::ControlModifier, "\x03");
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "two\nthree\n");
  Key(Qt::Key_A, Qt::ControlModifier, "\x01");
  Key(Qt::Key_C, Qt::ControlModifier, "\x03");
  const std::string all = QGuiApplication::clipboard()->text().toStdString();
  EXPECT_EQ(all.substr(all.size() - 10), "four\nfive\n");
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 1000);
}

TEST_F(DebugWindowInProcessTest, TheScrollBarFollowsTheNewestEndAndStaysWhenScrolledBack) {
  Settle();
  const int page = vertical_->pageStep();
  EXPECT_EQ(vertical_->maximum(), 1000 - page);
  EXPECT_EQ(vertical_->value(), vertical_->maximum());

  vertical_->triggerAction(QAbstractSlider::SliderPageStepSub);
  Settle();
  EXPECT_EQ(vertical_->value(), 1000 - 2 * page);
  AppendToDebugWindow("new line");
  Settle();
  EXPECT_EQ(vertical_->value(), 1000 - 2 * page);

  vertical_->triggerAction(QAbstractSlider::SliderToMaximum);
  Settle();
  EXPECT_EQ(vertical_->value(), vertical_->maximum());
}

TEST_F(DebugWindowInProcessTest, AFailedSaveSaysSoInABox) {
  // The file dialog's answer, headless: a file in a directory that does not exist.
  setenv("VELCRUM_FILEDIALOG", (dir_ + "/no such directory/DESK____.001.debug.txt").c_str(), 1);
  Key(Qt::Key_S, Qt::ControlModifier, "\x13");
  unsetenv("VELCRUM_FILEDIALOG");
  ASSERT_EQ(host_.boxes.size(), 1u);
  EXPECT_EQ(host_.boxes[0].caption, "Velcrum Debug");
  EXPECT_NE(host_.boxes[0].text.find("could not be saved to '" + dir_ + "/no such directory/"),
            std::string::npos)
      << host_.boxes[0].text;
}

TEST_F(DebugWindowInProcessTest, ACloseRequestAsksTheMainWindowToSwitchItOff) {
  widget_->close();
  EXPECT_TRUE(DebugWindowExists());
  ASSERT_EQ(host_.posted.size(), 1u);
  EXPECT_EQ(host_.posted[0], std::make_pair(kWmCommand, 502u));
}

}  // namespace
}  // namespace velcrum
