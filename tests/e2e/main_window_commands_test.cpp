// The commands that arrange the main window and the panels (EB, EC, EP, EH), switch the
// debug outputs (ED) and show the message window (EM), in this process on the offscreen
// desktop.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "interpreter/diagnostics.h"
#include "network/kal_messages.h"
#include "panel_dialog_fixture.h"
#include "platform/desktop/screen.h"
#include "shell/configuration.h"
#include "shell/shell_menu.h"

namespace velcrum::testing {
namespace {

using platform::WS_MAXIMIZEBOX;
using platform::WS_MINIMIZE;
using platform::WS_MINIMIZEBOX;
using platform::WS_SYSMENU;

class MainWindowCommandsTest : public PanelDialogTest {
 protected:
  void SetUp() override {
    PanelDialogTest::SetUp();
    g_instanceName = "DESK____.001";
    setenv("VELCRUM_DRIVE_C", (logs_ + "/drive_c").c_str(), 1);
    std::filesystem::create_directories(logs_ + "/drive_c/windows");
    // Reports stay on when ED applies the configuration again.
    g_config.enableParameterInspectMsgs = 1;
    g_config.debugFlags = kDebugToSystemDebugger;
    ShowMainWindowOnDesktop();
  }
  void TearDown() override {
    DestroyPopupMenu();
    unsetenv("VELCRUM_DRIVE_C");
    PanelDialogTest::TearDown();
  }

  static QWidget* MainWidget() { return MainWindow()->Widget(); }
  static QRect MainGeometry() { return MainWidget()->geometry(); }
  static QColor MainPixel(int x, int y) { return MainWidget()->grab().toImage().pixelColor(x, y); }
  bool Said(const std::string& text) const {
    return std::any_of(host_.debugger.begin(), host_.debugger.end(), [&](const std::string& line) {
      return line.find(text) != std::string::npos;
    });
  }
  std::string Ini() const {
    std::ifstream file(logs_ + "/drive_c/windows/VELCRUM.INI");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  // What the message window asked the main window for (its "Ok" or its close box),
  // delivered as the message loop would.
  void DeliverPostedToMainWindow() {
    for (const auto& [message, wParam] : std::exchange(host_.posted, {})) {
      platform::Send(g_hwndMain, platform::Message::Plain(message, wParam));
    }
  }
  static platform::Dialog* MessageWindow(const char* caption) {
    return platform::FindLocalDialog(platform::FindWindow(caption));
  }
};

TEST_F(MainWindowCommandsTest, EbPlacesTheMainWindowAndPaintsItsBackground) {
  const platform::Rect desktop = platform::DesktopRect();
  RunText("EB 0");
  EXPECT_EQ(MainGeometry(), QRect(desktop.right - 1, desktop.bottom - 1, 10, 10));
  EXPECT_TRUE(Said("<DESK____.001> EB 0, style1: 10c30000, style2: 10c30000"));

  RunText("EB 1 0 0");
  EXPECT_EQ(MainGeometry(), QRect(desktop.left, desktop.top, desktop.right, desktop.bottom))
      << "a width of 0 keeps the stored size";
  EXPECT_EQ(g_iBackgroundMode, 1);
  EXPECT_TRUE(Said(QString::asprintf("<DESK____.001> EB mode:1, X:0, Y:0, Width:%d, Height:%d",
                                     desktop.right, desktop.bottom)
                       .toStdString()));

  RunText("EB 2 300 200");
  EXPECT_EQ(MainGeometry().size(), QSize(300, 200));
  EXPECT_EQ(MainPixel(5, 5), QColor(0, 0, 0));
  RunText("EB 1 40000 100");
  EXPECT_EQ(MainGeometry().size(), QSize(300, 200)) << "a size beyond 32000 is not stored";
  EXPECT_EQ(MainPixel(5, 5), QColor(192, 192, 192));

  RunText("EB 3 0 0 'LAMP'");
  EXPECT_EQ(g_szBackgroundBitmap, "LAMP");
  EXPECT_EQ(MainPixel(0, 0), QColor(255, 0, 0)) << "the bitmap at the top left corner";
  EXPECT_EQ(MainPixel(5, 5), QColor(192, 192, 192));

  RunText("EB 4");
  EXPECT_TRUE(Said("WARNING: line: 100, cmd: 'EB' Mode parameter out of range."));
  EXPECT_EQ(g_iBackgroundMode, 3);
}

TEST_F(MainWindowCommandsTest, EcLocksTheWindowAgainstDragsByItsTitleBar) {
  // A move the program did not make stands for the window manager's drag.
  EXPECT_TRUE(TitleBarDragLock()) << "locked from the start";
  const auto clientAt = [] { return MainWidget()->geometry().topLeft(); };
  const platform::Rect desktop = platform::DesktopRect();
  const QPoint placed(desktop.left, desktop.top);
  MainWidget()->move(MainWidget()->pos() + QPoint(30, 20));
  EXPECT_TRUE(WaitUntil([&] { return clientAt() == placed; }, 2000))
      << "dragged back where the program put it";
  RunText("EC 2");
  EXPECT_FALSE(TitleBarDragLock());
  MainWidget()->move(MainWidget()->pos() + QPoint(30, 20));
  QTest::qWait(50);
  EXPECT_NE(clientAt(), placed) << "unlocked, the drag stands";
  RunText("EC 3");
  EXPECT_TRUE(TitleBarDragLock());
}

TEST_F(MainWindowCommandsTest, EcChangesTheFrame) {
  const struct {
    const char* command;
    uint32_t frame;
    bool frameless;
  } cases[] = {
      {"EC 0", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, false},
      {"EC 4", WS_SYSMENU, true},
      {"EC 5", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, false},
      {"EC 1", WS_MINIMIZEBOX | WS_MAXIMIZEBOX, true},
  };
  for (const auto& c : cases) {
    RunText(c.command);
    EXPECT_EQ(MainWindowStyle() & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              c.frame)
        << c.command;
    EXPECT_EQ(MainWidget()->windowFlags().testFlag(Qt::FramelessWindowHint), c.frameless)
        << c.command;
    EXPECT_TRUE(MainWidget()->isVisible()) << c.command;
  }
  RunText("EC 6");
  EXPECT_TRUE(Said("WARNING: line: 100, cmd: 'EC' Mode parameter out of range."));
}

TEST_F(MainWindowCommandsTest, EpMinimisesAndMaximises) {
  RunText("EP 0");
  EXPECT_TRUE(MainWidget()->isMinimized());
  EXPECT_TRUE(MainWindowStyle() & WS_MINIMIZE);
  RunText("EP 1");
  EXPECT_TRUE(MainWidget()->isMaximized());
  RunText("EP 2");
  EXPECT_TRUE(Said("cmd: 'EP'  Parameter 1 is out of range. Value found: 2"));
}

TEST_F(MainWindowCommandsTest, EhShowsEveryPanelWithTheMainWindowAndChecksTheRange) {
  RunText("PS 1:PR 1:PS 2");
  ASSERT_FALSE(PanelDialog(1)->IsVisible());
  RunText("EH 0 1");
  EXPECT_TRUE(PanelDialog(1)->IsVisible()) << "every open panel is shown over the main window";
  EXPECT_TRUE(PanelDialog(2)->IsVisible());

  RunText("EH 2 0:EH 1 1:EH 0 0:EH 7 1");
  EXPECT_FALSE(Said("out of range")) << "a panel that is not open is passed over";
  RunText("EH 65 1");
  EXPECT_TRUE(Said("cmd: 'EH'  Parameter 1 is out of range. Value found: 65"));
}

TEST_F(MainWindowCommandsTest, EdSwitchesTheOutputsAsTheMenuDoesAndKeepsThemInTheIni) {
  BuildPopupMenu();
  RunText("ED 5");
  EXPECT_TRUE(g_config.debugFlags & kDebugToSystemDebugger);
  EXPECT_TRUE(MenuItemChecked(kMenuOutputToDbwin));
  EXPECT_NE(Ini().find("EnableOutputDBWIN=1"), std::string::npos) << Ini();
  RunText("ED 8");
  EXPECT_NE(Ini().find("OutputDebug=0"), std::string::npos)
      << "the outputs are written whatever their state was";
  RunText("ED 7");
  EXPECT_TRUE(g_settings.outputParserTrace);
  EXPECT_TRUE(MenuItemChecked(kMenuOutputParserTrace));
  RunText("ED 6");
  EXPECT_FALSE(g_settings.outputParserTrace);

  RunText("ED 1");
  EXPECT_TRUE(g_config.debugFlags & kDebugVariablesWindowShown);
  RunText("ED 1");
  EXPECT_TRUE(g_config.debugFlags & kDebugVariablesWindowShown) << "opened only once";
  EXPECT_TRUE(MenuItemChecked(kMenuShowVariables));
  RunText("ED 0");
  EXPECT_FALSE(g_config.debugFlags & kDebugVariablesWindowShown);
  const std::string before = Ini();
  RunText("ED 2");
  EXPECT_EQ(Ini(), before) << "the debug window was closed already: nothing is written";
  RunText("ED 3");
  EXPECT_NE(Ini().find("ShowDebugWindow=1"), std::string::npos);

  RunText("ED 10");
  EXPECT_TRUE(Said("WARNING: line: 100, cmd: 'ED' Mode parameter out of range."));
  EXPECT_TRUE(Said("VLXexec_ExecDebug: INVALID parameter"));
}

TEST_F(MainWindowCommandsTest, EmBlockingShowsABoxAndTheLineGoesOn) {
  RunText("EM 'x' 'Studio 2 is on air' 1:MS 7 2 2");
  ASSERT_EQ(host_.boxes.size(), 1u);
  EXPECT_EQ(host_.boxes[0].caption, "Information");
  EXPECT_EQ(host_.boxes[0].text, "Studio 2 is on air");
  EXPECT_EQ(host_.boxes[0].style.icon, MessageBoxIcon::kStop);
  EXPECT_EQ(GetMem("MG", 2), 7);
}

TEST_F(MainWindowCommandsTest, EmWindowSuspendsTheLineUntilOk) {
  Line(200, "EM 'Note' 'Tape 4 ready' 0 0:MS 7 2 2:JR");
  RunText("JS 200:MS 9 3 3");
  platform::Dialog* window = MessageWindow("Note");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetMem("MG", 2), 0) << "the line waits";
  EXPECT_EQ(window->ControlText(100, 255), "Tape 4 ready");
  const QRect frame = platform::LocalDialogWidget(window->Handle())->frameGeometry();
  const platform::Rect screen = platform::DesktopRect();
  EXPECT_EQ(frame, QRect((screen.right - 200) / 2, (screen.bottom - 170) / 2, 200, 170));
  const platform::ControlRect ok = window->ControlGeometry(1);
  EXPECT_EQ(QRect(ok.x, ok.y, ok.width, ok.height), QRect(60, 120, 80, 24));
  EXPECT_EQ(window->FocusedControl(), 1);

  Line(300, "EM 'Other' 'x' 0 0");
  RunLine(300, 0);
  EXPECT_EQ(MessageWindow("Other"), nullptr) << "one message window at a time";

  QTest::mouseClick(platform::LocalControlWidget(window->Handle(), 1), Qt::LeftButton);
  DeliverPostedToMainWindow();
  EXPECT_EQ(MessageWindow("Note"), nullptr);
  EXPECT_EQ(GetMem("MG", 2), 7) << "resumed after EM";
  EXPECT_EQ(GetMem("MG", 3), 9) << "and returned to the caller, its subroutine depth put back";
}

TEST_F(MainWindowCommandsTest, EmWindowResumesAfterItsTimeOutOfAtLeastASecond) {
  RunText("EM 'Note' 'Back soon' 0 500:MS 7 2 2");
  ASSERT_NE(MessageWindow("Note"), nullptr);
  QTest::qWait(700);
  EXPECT_EQ(GetMem("MG", 2), 0) << "a time-out below 1000 ms is a second";
  EXPECT_TRUE(WaitUntil([] { return GetMem("MG", 2) == 7; }));
  EXPECT_EQ(MessageWindow("Note"), nullptr);
}

TEST_F(MainWindowCommandsTest, EmWindowClosedByItsCloseBoxDoesNotResume) {
  g_config.emMessageWindowSizeW = 300;
  g_config.emMessageWindowSizeH = 250;
  g_config.emMessageWindowPositionX = 100000;
  g_config.emMessageWindowPositionY = 10;
  RunText("EM 'Note' 'y' 0 1000:MS 7 2 2");
  platform::Dialog* window = MessageWindow("Note");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->ControlText(100, 255), "<Message parameter missing> ? ? ?");
  const QRect frame = platform::LocalDialogWidget(window->Handle())->frameGeometry();
  EXPECT_EQ(frame, QRect(platform::DesktopRect().right - 300, 10, 300, 250))
      << "the configured size, kept inside the screen";

  platform::Send(window->Handle(), platform::Message::Plain(platform::WM_CLOSE));
  DeliverPostedToMainWindow();
  EXPECT_EQ(MessageWindow("Note"), nullptr);
  QTest::qWait(1300);
  EXPECT_EQ(GetMem("MG", 2), 0) << "its timer went with it";
  RunText("EM 'Again' 'z' 0 0");
  EXPECT_NE(MessageWindow("Again"), nullptr) << "a new one may open";
}

}  // namespace
}  // namespace velcrum::testing
