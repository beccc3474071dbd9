// A window's widget: its input, close requests and the application's activation as
// window messages; the desktop rectangle.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <memory>
#include <vector>

#include "desktop_fixture.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/input_translation.h"
#include "platform/desktop/screen.h"
#include "platform/desktop/window.h"

namespace velcrum::platform::testing {
namespace {

struct Expected {
  uint32_t message;
  uint32_t wParam;
};

class WindowInputTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    widget_ = std::make_unique<QWidget>();
    widget_->resize(200, 100);
    window_ = Window::Create(Window::Kind::kTopLevel, "Velcrum", widget_.get());
    ASSERT_TRUE(window_);
    window_->SetProc([this](const Message& m) -> Result {
      if (m.message != WM_ACTIVATEAPP || recordActivation_) received_.push_back(m);
      return 0;
    });
    widget_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widget_.get()));
  }
  void TearDown() override {
    window_.reset();
    widget_.reset();
    DesktopTest::TearDown();
  }
  std::vector<Expected> Received() const {
    std::vector<Expected> seen;
    for (const Message& m : received_) seen.push_back({m.message, m.wParam});
    return seen;
  }

  std::unique_ptr<QWidget> widget_;
  std::unique_ptr<Window> window_;
  std::vector<Message> received_;
  bool recordActivation_ = false;
};

bool operator==(const Expected& a, const Expected& b) {
  return a.message == b.message && a.wParam == b.wParam;
}

void PrintTo(const Expected& e, std::ostream* out) {
  *out << "{" << e.message << ", 0x" << std::hex << e.wParam << std::dec << "}";
}

TEST_F(WindowInputTest, KeysBecomeKeyAndCharacterMessages) {
  const struct {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    std::vector<Expected> expected;
    char text = 0;  // the character the key gives, where the key alone does not say it
  } cases[] = {
      {"letter", Qt::Key_A, Qt::NoModifier, {{WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'}, {WM_KEYUP, 'A'}}},
      // Modifiers are keys of their own, pressed first and released last.
      {"shifted letter",
       Qt::Key_A,
       Qt::ShiftModifier,
       {{WM_KEYDOWN, 0x10}, {WM_KEYDOWN, 'A'}, {WM_CHAR, 'A'}, {WM_KEYUP, 'A'}, {WM_KEYUP, 0x10}},
       'A'},
      {"control letter",
       Qt::Key_C,
       Qt::ControlModifier,
       {{WM_KEYDOWN, 0x11}, {WM_KEYDOWN, 'C'}, {WM_CHAR, 3}, {WM_KEYUP, 'C'}, {WM_KEYUP, 0x11}}},
      {"alt letter",
       Qt::Key_D,
       Qt::AltModifier,
       {{WM_SYSKEYDOWN, 0x12},
        {WM_SYSKEYDOWN, 'D'},
        {WM_SYSCHAR, 'd'},
        {WM_SYSKEYUP, 'D'},
        {WM_SYSKEYUP, 0x12}}},
      {"function key", Qt::Key_F1, Qt::NoModifier, {{WM_KEYDOWN, 0x70}, {WM_KEYUP, 0x70}}},
      {"F10", Qt::Key_F10, Qt::NoModifier, {{WM_SYSKEYDOWN, 0x79}, {WM_SYSKEYUP, 0x79}}},
      {"arrow", Qt::Key_Left, Qt::NoModifier, {{WM_KEYDOWN, 0x25}, {WM_KEYUP, 0x25}}},
      {"return",
       Qt::Key_Return,
       Qt::NoModifier,
       {{WM_KEYDOWN, 0x0D}, {WM_CHAR, 0x0D}, {WM_KEYUP, 0x0D}}},
      {"escape",
       Qt::Key_Escape,
       Qt::NoModifier,
       {{WM_KEYDOWN, 0x1B}, {WM_CHAR, 0x1B}, {WM_KEYUP, 0x1B}}},
      {"keypad digit",
       Qt::Key_7,
       Qt::KeypadModifier,
       {{WM_KEYDOWN, 0x67}, {WM_CHAR, '7'}, {WM_KEYUP, 0x67}}},
  };
  for (const auto& c : cases) {
    received_.clear();
    if (c.text) {
      QTest::keyClick(widget_.get(), c.text, c.modifiers);
    } else {
      QTest::keyClick(widget_.get(), c.key, c.modifiers);
    }
    EXPECT_EQ(Received(), c.expected) << c.name;
  }
}

TEST_F(WindowInputTest, KeyMessagesCarryTheWindowsParameterBits) {
  QTest::keyClick(widget_.get(), Qt::Key_Left);
  ASSERT_EQ(received_.size(), 2u);
  const auto down = static_cast<uint32_t>(received_[0].lParam);
  const auto up = static_cast<uint32_t>(received_[1].lParam);
  EXPECT_EQ(down & 0xFFFF, 1u);     // repeat count
  EXPECT_TRUE(down & (1u << 24));   // an extended key
  EXPECT_FALSE(down & (3u << 30));  // pressed, and was up before
  EXPECT_EQ(up >> 30, 3u);          // released, and was down before
  received_.clear();
  QTest::keyClick(widget_.get(), Qt::Key_X, Qt::AltModifier);
  ASSERT_EQ(received_.size(), 5u);
  EXPECT_TRUE(static_cast<uint32_t>(received_[1].lParam) & (1u << 29));  // Alt held
}

TEST_F(WindowInputTest, KeyStateFollowsTheKeysAndLockToggles) {
  QTest::keyPress(widget_.get(), Qt::Key_F2);
  EXPECT_LT(KeyState(0x71), 0);
  QTest::keyRelease(widget_.get(), Qt::Key_F2);
  EXPECT_GE(KeyState(0x71), 0);
  const int16_t before = KeyState(0x14);
  QTest::keyClick(widget_.get(), Qt::Key_CapsLock);
  EXPECT_NE(KeyState(0x14) & 1, before & 1);
  QTest::keyClick(widget_.get(), Qt::Key_CapsLock);
  EXPECT_EQ(KeyState(0x14) & 1, before & 1);
}

TEST_F(WindowInputTest, MouseButtonsBecomeButtonMessagesWithThePosition) {
  QTest::mouseClick(widget_.get(), Qt::RightButton, Qt::NoModifier, QPoint(10, 20));
  QTest::mouseClick(widget_.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 40));
  const std::vector<Expected> expected = {{WM_RBUTTONDOWN, MK_RBUTTON},
                                          {WM_RBUTTONUP, 0},
                                          {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT},
                                          {WM_LBUTTONUP, MK_SHIFT}};
  ASSERT_EQ(Received(), expected);
  EXPECT_EQ(received_[0].lParam, (20 << 16) | 10);
  EXPECT_EQ(received_[2].lParam, (40 << 16) | 30);
}

TEST_F(WindowInputTest, ACloseRequestIsLeftToTheWindowProcedure) {
  EXPECT_FALSE(widget_->close());
  EXPECT_TRUE(widget_->isVisible());
  ASSERT_EQ(Received(), (std::vector<Expected>{{WM_CLOSE, 0}}));
  // Without a procedure, the widget closes as usual.
  window_->SetProc(nullptr);
  EXPECT_TRUE(widget_->close());
}

TEST_F(WindowInputTest, TheApplicationsActivationReachesItsTopLevelWindows) {
  // The offscreen platform activates an application once and never deactivates it, so the
  // test says the changes as a platform would.
  recordActivation_ = true;
  std::unique_ptr<Window> messageOnly = Window::Create(Window::Kind::kMessageOnly);
  int messageOnlyCalls = 0;
  messageOnly->SetProc([&](const Message&) -> Result { return ++messageOnlyCalls; });
  emit qApp->applicationStateChanged(Qt::ApplicationInactive);
  received_.clear();

  emit qApp->applicationStateChanged(Qt::ApplicationActive);
  emit qApp->applicationStateChanged(Qt::ApplicationActive);  // no change: no message
  emit qApp->applicationStateChanged(Qt::ApplicationInactive);
  emit qApp->applicationStateChanged(Qt::ApplicationHidden);  // still not active
  EXPECT_EQ(Received(), (std::vector<Expected>{{WM_ACTIVATEAPP, 1}, {WM_ACTIVATEAPP, 0}}));
  EXPECT_EQ(messageOnlyCalls, 0);
}

TEST_F(WindowInputTest, TheDesktopRectangleIsThePrimaryScreen) {
  const Rect desktop = DesktopRect();
  EXPECT_EQ(desktop.left, 0);
  EXPECT_EQ(desktop.top, 0);
  EXPECT_GT(desktop.right, 0);
  EXPECT_GT(desktop.bottom, 0);
}

TEST_F(WindowInputTest, TheWidgetShowsTheWindowsTitle) {
  EXPECT_EQ(widget_->windowTitle(), "Velcrum");
  ASSERT_TRUE(window_->SetTitle("DESK_4__.012"));
  EXPECT_EQ(widget_->windowTitle(), "DESK_4__.012");
  EXPECT_EQ(FindWindow("desk_4__.012"), window_->Handle());
}

}  // namespace
}  // namespace velcrum::platform::testing
