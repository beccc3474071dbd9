// The pop-up menu: items, check marks, enabled state, and the WM_COMMAND a choice posts to
// the owner window.
#include "platform/desktop/popup_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <memory>
#include <vector>

#include "desktop_fixture.h"
#include "platform/desktop/window.h"

namespace velcrum::platform::testing {
namespace {

class PopupMenuTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    owner_ = Window::Create(Window::Kind::kTopLevel, "menu owner");
    ASSERT_NE(owner_, nullptr);
    owner_->SetProc([this](const Message& m) -> Result {
      if (m.message == WM_COMMAND) commands.push_back(m);
      return 0;
    });
    menu.AppendItem(501, "Show &Editor");
    menu.AppendItem(504, "Show &Variables");
    menu.AppendItem(505, "&Clear Variables");
    menu.AppendSeparator();
    menu.AppendItem(502, "&Show Debug Window");
    menu.AppendItem(300, "E&xit");
  }

  Hwnd Owner() const { return owner_->Handle(); }

  // The menu's widget while it is on the screen.
  static QMenu* ShownMenu() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->isVisible()) return menu;
    }
    return nullptr;
  }

  bool AwaitCommands(std::size_t count) {
    return WaitUntil([&] { return commands.size() >= count; }, 5000);
  }

  PopupMenu menu;
  std::vector<Message> commands;

 private:
  std::unique_ptr<Window> owner_;
};

TEST_F(PopupMenuTest, ChecksAndEnabledStateAreKeptPerItem) {
  EXPECT_FALSE(menu.IsChecked(504));
  EXPECT_TRUE(menu.IsEnabled(505));
  menu.SetChecked(504, true);
  menu.SetEnabled(505, false);
  EXPECT_TRUE(menu.IsChecked(504));
  EXPECT_FALSE(menu.IsChecked(502));
  EXPECT_FALSE(menu.IsEnabled(505));
  EXPECT_TRUE(menu.IsEnabled(504));
  menu.SetChecked(504, false);
  EXPECT_FALSE(menu.IsChecked(504));

  // Unknown identifiers change nothing and read as unchecked and disabled.
  menu.SetChecked(999, true);
  EXPECT_FALSE(menu.IsChecked(999));
  EXPECT_FALSE(menu.IsEnabled(999));
}

TEST_F(PopupMenuTest, ChoosingPostsTheCommandToTheOwnerAndLeavesTheCheckMark) {
  menu.SetChecked(502, true);
  menu.ShowAtCursor(Owner());
  EXPECT_TRUE(menu.IsShown());
  menu.Choose(502);
  EXPECT_FALSE(menu.IsShown());
  // Posted, not sent: it arrives through the message loop.
  EXPECT_TRUE(commands.empty());
  ASSERT_TRUE(AwaitCommands(1));
  EXPECT_EQ(commands[0].hwnd, Owner());
  EXPECT_EQ(commands[0].wParam, 502u);
  EXPECT_EQ(commands[0].lParam, 0);
  EXPECT_TRUE(menu.IsChecked(502));  // the owner decides about the mark

  menu.ShowAtCursor(Owner());
  menu.Choose(300);
  ASSERT_TRUE(AwaitCommands(2));
  EXPECT_EQ(commands[1].wParam, 300u);
  EXPECT_FALSE(menu.IsChecked(300));
}

TEST_F(PopupMenuTest, DisabledUnknownOrUnshownItemsPostNothing) {
  menu.Choose(501);  // never shown: no owner
  menu.SetEnabled(505, false);
  menu.ShowAtCursor(Owner());
  menu.Choose(505);
  menu.ShowAtCursor(Owner());
  menu.Choose(999);
  // Posted messages arrive in order: once a later choice is in, none came before it.
  menu.ShowAtCursor(Owner());
  menu.Choose(504);
  ASSERT_TRUE(AwaitCommands(1));
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, 504u);
}

TEST_F(PopupMenuTest, TheOperatorChoosesByMnemonicOnTheShownMenu) {
  menu.SetChecked(504, true);
  menu.ShowAtCursor(Owner());
  QMenu* shown = ShownMenu();
  ASSERT_NE(shown, nullptr);
  QTest::keyClick(shown, Qt::Key_V);
  ASSERT_TRUE(AwaitCommands(1));
  EXPECT_EQ(commands[0].wParam, 504u);
  EXPECT_TRUE(menu.IsChecked(504));
  EXPECT_FALSE(menu.IsShown());
  // What the operator sees next time is still the mark the owner set.
  for (QAction* action : shown->actions()) {
    if (action->text() == "Show &Variables") {
      EXPECT_TRUE(action->isChecked());
    } else if (action->text() == "Show &Editor") {
      EXPECT_FALSE(action->isChecked());
    }
  }
}

}  // namespace
}  // namespace velcrum::platform::testing
