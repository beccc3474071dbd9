// Panels in this process: real dialogs on the offscreen desktop, pressed with real input,
// and the lines their events run.
#include "panel_dialog_fixture.h"

namespace velcrum::testing {
namespace {

TEST_F(PanelDialogTest, ShowCreatesOnceAndDestroyEmptiesTheSlot) {
  RunText("PI 2:PS 2");
  platform::Dialog* dialog = PanelDialog(2);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->IsVisible());
  EXPECT_EQ(g_iFirstPanel, 2);
  EXPECT_EQ(g_iCurrentPanel, 2);
  EXPECT_EQ(platform::FindWindow("Panel two"), dialog->Handle()) << "listed by its caption";

  RunText("PS 1:PS 2");
  EXPECT_EQ(PanelDialog(2), dialog);
  RunText("PR 2");
  EXPECT_FALSE(dialog->IsVisible());
  RunText("PD 2");
  EXPECT_EQ(PanelDialog(2), nullptr);
  EXPECT_EQ(g_iFirstPanel, 0) << "no first panel until the next one is created";
  RunText("PD 3:PS 2");
  EXPECT_EQ(g_iFirstPanel, 2);
}

TEST_F(PanelDialogTest, AClassNoLibraryProvidesFailsThePanelAsAMissingControlLibrary) {
  DialogTemplate dialog = PanelTwo();
  dialog.controls.push_back(Control("VornFader", "", 7001));
  resources_.AddDialog("#3", dialog);
  RunText("PS 3:PR 3");
  EXPECT_EQ(PanelDialog(3), nullptr);
  const auto said = [this](const std::string& text) {
    return std::any_of(host_.debugger.begin(), host_.debugger.end(),
                       [&](const std::string& s) { return s.find(text) != std::string::npos; });
  };
  EXPECT_TRUE(
      said("CreateDialog FAILED. Line: 100, Panel: 3, Panel Name: '#3' (error: 1407). "
           "Missing Custom Control DLL."));
  EXPECT_TRUE(said("'PR' Panel does not exist, panel number: 3"));
}

TEST_F(PanelDialogTest, AClickRunsTheControlsLineAtOnceOrThroughTheQueue) {
  Line(1001, "NA a% 1 a%");
  RunText("PS 1");
  Click(1, 1001);
  EXPECT_EQ(Var('a'), 1) << "immediate mode";

  g_networkSettings.synchronousMode = 1;
  g_pCmdFifo = std::make_unique<Cvorn_fifo>();
  g_pCmdFifo->Init("TEST", "CmdFifo", 1024, 128);
  Click(1, 1001);
  EXPECT_EQ(Var('a'), 2) << "the drain after the dialog's message ran the queued line";
}

TEST_F(PanelDialogTest, PressesDuringALongLineRunNestedOrAfterItInOrder) {
  Line(1001, "TI '[' Z$:!:TI ']' Z$");
  Line(1002, "TI '2' Z$");
  Line(1003, "TI '3' Z$");
  RunText("PS 1");
  struct Mode {
    int synchronous;
    const char* order;
  };
  for (const Mode mode : {Mode{0, "[23]"}, Mode{1, "[]23"}}) {
    SCOPED_TRACE(mode.synchronous);
    g_networkSettings.synchronousMode = mode.synchronous;
    g_pCmdFifo = std::make_unique<Cvorn_fifo>();
    g_pCmdFifo->Init("TEST", "CmdFifo", 1024, 128);
    g_szStringVariables[VariableIndex('Z')][0] = '\0';
    host_.duringBox = [] {
      Click(1, 1002);
      Click(1, 1003);
    };
    Click(1, 1001);
    EXPECT_TRUE(WaitUntil(
        [&] { return std::string(g_szStringVariables[VariableIndex('Z')]).size() == 4; }));
    EXPECT_STREQ(g_szStringVariables[VariableIndex('Z')], mode.order);
  }
}

TEST_F(PanelDialogTest, OverrideDivertsItsRangeAndStoresTheIdentifier) {
  Line(2000, "NA c% 1 c%");
  Line(1005, "NL 99 d%");
  Line(1011, "NL 11 d%");
  RunText("PS 1:EO 1001 1010 2000 B%");
  Click(1, 1005);
  EXPECT_EQ(Var('B'), 1005);
  EXPECT_EQ(Var('c'), 1);
  EXPECT_EQ(Var('d'), 0);
  Click(1, 1011);
  EXPECT_EQ(Var('d'), 11);
}

TEST_F(PanelDialogTest, GuardReturnKeyAndOutOfRangeIdentifiersRunNothingElse) {
  Line(1001, "NA a% 1 a%");
  Line(3000, "NA r% 1 r%");
  RunText("PS 1");
  platform::Dialog* dialog = PanelDialog(1);
  g_bPanelShowGuard = true;
  Click(1, 1001);
  g_bPanelShowGuard = false;
  EXPECT_EQ(Var('a'), 0);

  // A command whose lParam is 13 runs the return-key line, if one is set.
  dialog->Post(platform::Message::Plain(platform::WM_COMMAND, 1001, 13));
  EXPECT_FALSE(WaitUntil([] { return Var('a') != 0 || Var('r') != 0; }, 100));
  g_iReturnKeyLine = 3000;
  dialog->Post(platform::Message::Plain(platform::WM_COMMAND, 1001, 13));
  EXPECT_TRUE(WaitUntil([] { return Var('r') == 1; }));
  EXPECT_EQ(Var('a'), 0);

  // Double clicks and identifiers 32767 and above run nothing.
  dialog->Post(platform::Message::Plain(platform::WM_COMMAND, (2u << 16) | 1001, 0));
  dialog->Post(platform::Message::Plain(platform::WM_COMMAND, 32767, 0));
  dialog->Post(platform::Message::Plain(platform::WM_COMMAND, 1001, 0));
  EXPECT_TRUE(WaitUntil([] { return Var('a') == 1; }));
  EXPECT_FALSE(WaitUntil([] { return Var('a') > 1; }, 100));
}

TEST_F(PanelDialogTest, EnterEscapeAndTheSystemMenuExit) {
  Line(1, "NL 1 e%");
  Line(2, "NL 2 e%");
  RunText("PS 2");
  // With the focus on no push button, Enter presses the default one.
  QWidget* focused = platform::LocalDialogWidget(PanelDialog(2)->Handle());
  focused->setFocus();
  QTest::keyClick(focused, Qt::Key_Return);
  EXPECT_TRUE(WaitUntil([] { return Var('e') == 1; })) << "Enter presses the default button";
  QTest::keyClick(focused, Qt::Key_Escape);
  EXPECT_TRUE(WaitUntil([] { return Var('e') == 2; })) << "Escape is identifier 2";

  g_panelSettings.allowSystemMenuExit = 1;
  Var('e') = 0;
  QTest::keyClick(focused, Qt::Key_Escape);
  EXPECT_TRUE(WaitUntil([this] { return !host_.quitCodes.empty(); }));
  EXPECT_EQ(Var('e'), 0);
  EXPECT_TRUE(std::any_of(host_.debugger.begin(), host_.debugger.end(), [](const std::string& s) {
    return s.find("AllowSystemMenuExit is Set and message is WM_DESTROY, Post Quit Msg.") !=
           std::string::npos;
  }));
}

TEST_F(PanelDialogTest, ScriptTimerRunsItsTwoLinesAlternatelyThroughTheFirstPanel) {
  Line(2211, "NA a% 1 a%");
  Line(2212, "NA b% 1 b%");
  RunText("PS 2:PS 1:ET 2 40 2211 2212");
  EXPECT_EQ(g_iFirstPanel, 2);
  ASSERT_TRUE(WaitUntil([] { return Var('a') >= 3; }));
  EXPECT_TRUE(Var('a') == Var('b') || Var('a') == Var('b') + 1) << Var('a') << " " << Var('b');
  RunText("ET 2 0");
  const int32_t stopped = Var('a');
  EXPECT_FALSE(WaitUntil([stopped] { return Var('a') > stopped + 1; }, 200));
}

TEST_F(PanelDialogTest, ThumbTrackingRunsTheBarsLineAndMovesItsThumb) {
  Line(1101, "NA f% 1 f%");
  RunText("PS 1");
  platform::Dialog* dialog = PanelDialog(1);
  dialog->SetScrollRange(1101, 0, 255, false);
  const auto bar = static_cast<int32_t>(dialog->ControlHandle(1101));
  dialog->Post(platform::Message::Plain(platform::WM_VSCROLL, (77u << 16) | 5, bar));
  EXPECT_TRUE(WaitUntil([] { return Var('f') == 1; }));
  EXPECT_EQ(dialog->ScrollPos(1101), 77);
  dialog->Post(platform::Message::Plain(platform::WM_VSCROLL, (99u << 16) | 8, bar));
  EXPECT_FALSE(WaitUntil([] { return Var('f') == 2; }, 100)) << "only thumb tracking runs";
}

TEST_F(PanelDialogTest, RightClickShowsTheMenuAndControlTextsMoveBetweenControls) {
  RunText("PS 1");
  QTest::mouseClick(platform::LocalDialogWidget(PanelDialog(1)->Handle()), Qt::RightButton,
                    Qt::NoModifier, QPoint(290, 110));
  EXPECT_TRUE(WaitUntil([this] { return host_.popupMenus == 1; }));

  RunText("NP 42 1 3001:NG 1 3001 A%:TP 'On air' 1 3002:TG 1 3002 A$:TC 1 3002 1 1011");
  EXPECT_EQ(Var('A'), 42);
  EXPECT_STREQ(g_szStringVariables[VariableIndex('A')], "On air");
  EXPECT_EQ(PanelDialog(1)->ControlText(1011, 255), "On air");
  RunText("TM 1 3001 1 3002");
  EXPECT_EQ(PanelDialog(1)->ControlText(3002, 255), "42");
  EXPECT_EQ(PanelDialog(1)->ControlText(3001, 255), "");
}

TEST_F(PanelDialogTest, PressesPlayTheClickSoundsAndRaiseTheToolWindows) {
  RunText("PS 1");
  g_szMouseDownSound = "down.wav";
  g_szCommandSound = "command.wav";
  Click(1, 1001);
  EXPECT_EQ(host_.sounds, (std::vector<std::string>{"down.wav", "command.wav"}));
  EXPECT_EQ(host_.raises, std::vector<bool>{true}) << "after the control's line";

  host_.raises.clear();
  QTest::mouseClick(platform::LocalDialogWidget(PanelDialog(1)->Handle()), Qt::LeftButton,
                    Qt::NoModifier, QPoint(290, 110));
  EXPECT_TRUE(WaitUntil([this] { return host_.raises == std::vector<bool>{true}; }));
}

TEST_F(PanelDialogTest, MinimisedPanelBeepsWhenPaintedAndRestores) {
  RunText("PS 1:PV 0 1");
  platform::Dialog* dialog = PanelDialog(1);
  EXPECT_TRUE(dialog->IsMinimised());
  dialog->Post(platform::Message::Plain(platform::WM_PAINT));
  EXPECT_TRUE(WaitUntil([this] { return host_.beeps > 0; }));
  RunText("PV 1 1");
  EXPECT_FALSE(dialog->IsMinimised());
  const int beeps = host_.beeps;
  dialog->Post(platform::Message::Plain(platform::WM_PAINT));
  EXPECT_FALSE(WaitUntil([&] { return host_.beeps > beeps; }, 100));
}

TEST_F(PanelDialogTest, OwnerDrawnButtonShowsTheBitmapItsCaptionNames) {
  RunText("PS 1");
  QWidget* button = Widget(1, 1201);
  ASSERT_NE(button, nullptr);
  const QImage picture = button->grab().toImage();
  EXPECT_EQ(picture.pixelColor(0, 0), QColor(255, 0, 0));
  EXPECT_EQ(picture.pixelColor(1, 1), QColor(255, 0, 0));

  RunText("TP 'NOSUCH' 1 1201");
  EXPECT_EQ(PanelDialog(1)->ControlText(1201, 80), "NOSUCH");
  (void)button->grab();
  EXPECT_TRUE(std::any_of(host_.debugger.begin(), host_.debugger.end(), [](const std::string& s) {
    return s.find("VLXBmp_OwnerDraw: LoadResourceBitmap() failed.") != std::string::npos;
  }));
}

}  // namespace
}  // namespace velcrum::testing
