// The control commands on a real panel: what each leaves on the controls, and what it
// reports.
#include "panel_dialog_fixture.h"

namespace velcrum::testing {
namespace {

class ControlCommandsTest : public PanelDialogTest {
 protected:
  void SetUp() override {
    PanelDialogTest::SetUp();
    RunText("PS 1");
    dialog_ = PanelDialog(1);
    host_.debugger.clear();
  }
  bool Said(const std::string& text) const {
    return std::any_of(host_.debugger.begin(), host_.debugger.end(),
                       [&](const std::string& s) { return s.find(text) != std::string::npos; });
  }
  int Said(const std::string& text, int) const {
    return static_cast<int>(
        std::count_if(host_.debugger.begin(), host_.debugger.end(),
                      [&](const std::string& s) { return s.find(text) != std::string::npos; }));
  }
  platform::Dialog* dialog_ = nullptr;
};

TEST_F(ControlCommandsTest, RangesDisableEnableHideAndShow) {
  struct Case {
    const char* line;
    std::vector<int> disabled;  // of 1001 to 1011
  };
  const Case cases[] = {
      {"CD 1 1001 1010", {1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010}},
      {"CD 1 1001", {1001}},
      {"CD 1 1010 1001", {1010}},
      {"CD 1 1001 30001", {1001}},
      {"CD 1 1003 1004:CE 1 1004", {1003}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    RunText("CE 1 1001 1011");
    RunText(c.line);
    std::vector<int> disabled;
    for (int id = 1001; id <= 1011; ++id) {
      if (!dialog_->IsControlEnabled(id)) disabled.push_back(id);
    }
    EXPECT_EQ(disabled, c.disabled);
  }

  RunText("CH 1 1001 1003");
  EXPECT_FALSE(dialog_->IsControlVisible(1002));
  RunText("CV 1 1001 1003");
  EXPECT_TRUE(dialog_->IsControlVisible(1002));
  EXPECT_FALSE(Said("does not exist"));
}

TEST_F(ControlCommandsTest, RangesWarnAboutEachMissingControlAndAMissingPanelOnce) {
  RunText("CH 1 1010 1013");
  EXPECT_EQ(Said("WARNING: line: 100, cmd: 'CH' Control does not exist, control number: 10", 0), 2);
  EXPECT_FALSE(dialog_->IsControlVisible(1011));
  host_.debugger.clear();
  RunText("CV 9 5 6");
  EXPECT_EQ(Said("ERROR: line: 100, cmd: 'CV' Panel does not exist, panel number: 9", 0), 1);
  EXPECT_EQ(Said("WARNING: line: 100, cmd: 'CV' Control does not exist, control number: ", 0), 2);
}

TEST_F(ControlCommandsTest, ChecksFaderPlaceSizeFocusAndTexts) {
  RunText("CC 1 1301");
  EXPECT_EQ(dialog_->CheckState(1301), 1);
  RunText("CU 1 1301");
  EXPECT_EQ(dialog_->CheckState(1301), 0);

  RunText("CA 1 1101 0");
  EXPECT_EQ(dialog_->ScrollPos(1101), 255) << "0 puts the thumb at the bottom";
  RunText("CA 1 1101 255");
  EXPECT_EQ(dialog_->ScrollPos(1101), 0) << "255 at the top";

  RunText("CM 1 3002 7 9:CS 1 3002 50 20");
  const platform::ControlRect place = dialog_->ControlGeometry(3002);
  EXPECT_EQ(place.x, 7);
  EXPECT_EQ(place.y, 9);
  EXPECT_EQ(place.width, 50);
  EXPECT_EQ(place.height, 20);

  RunText("CF 1 3001");
  EXPECT_EQ(dialog_->FocusedControl(), 3001);
  EXPECT_TRUE(g_bPanelFocusMark[1]);
  RunText("PR 1");
  EXPECT_FALSE(g_bPanelFocusMark[1]);

  RunText("CT 'OFF' 1 1001 1010");
  for (int id = 1001; id <= 1010; ++id) EXPECT_EQ(dialog_->ControlText(id, 255), "OFF");
  EXPECT_EQ(dialog_->ControlText(1011, 255), "B");
  EXPECT_EQ(Said(" OFF", 0), 10);
  EXPECT_TRUE(Said("1001 OFF"));
}

TEST_F(ControlCommandsTest, TextCommandChecksItsRange) {
  RunText("CT 'x' 1 1005 1004");
  EXPECT_TRUE(Said("'CT' Min parameter is not less than Max parameter."));
  EXPECT_EQ(dialog_->ControlText(1004, 255), "B");
  RunText("CT 'x' 1 0 1004");
  EXPECT_TRUE(Said("cmd: 'CT'  Parameter 3 is out of range"));
  EXPECT_EQ(dialog_->ControlText(1004, 255), "B");
}

TEST_F(ControlCommandsTest, NewIdentifierChangesTheLineAControlRuns) {
  Line(1500, "NA a% 1 a%");
  Line(1005, "NA b% 1 b%");
  RunText("CI 1 1005 1500");
  EXPECT_TRUE(Said("CtrlIdChg: curId=1005"));
  EXPECT_TRUE(Said("CtrlIdChg: curId=1005, newId=1500, rdAfterWr=1500"));
  Click(1, 1500);
  EXPECT_EQ(Var('a'), 1);
  EXPECT_EQ(Var('b'), 0);
  RunText("CC 1 1005");
  EXPECT_TRUE(Said("'CC' Control does not exist, control number: 1005"));
}

TEST_F(ControlCommandsTest, ReturnKeyLineIsStoredEvenOutOfRange) {
  RunText("CR 12");
  EXPECT_EQ(g_iReturnKeyLine, 12);
  RunText("CR 0");
  EXPECT_EQ(g_iReturnKeyLine, 0);
  EXPECT_TRUE(Said("cmd: 'CR'  Parameter 1 is out of range"));
}

TEST_F(ControlCommandsTest, SizeOfAMissingPanelHasItsOwnWording) {
  RunText("CS 5 1001 10 10");
  EXPECT_TRUE(Said("'CS' Panel does not exist, PanelId: 5"));
  RunText("CM 5 1001 10 10");
  EXPECT_TRUE(Said("'CM' Panel does not exist, panel number: 5"));
}

TEST_F(ControlCommandsTest, BitmapGoesOnTheControlAndNamesItsCaption) {
  RunText("BP 1 1001 0 0 'LAMP'");
  EXPECT_EQ(dialog_->ControlText(1001, 255), "LAMP");
  const QImage picture = Widget(1, 1001)->grab().toImage();
  EXPECT_EQ(picture.pixelColor(0, 0), QColor(255, 0, 0));
  EXPECT_EQ(picture.pixelColor(1, 1), QColor(255, 0, 0));

  RunText("BP 1 1002 0 0 'c;/pictures/x.bmp'");
  EXPECT_EQ(dialog_->ControlText(1002, 255), "c:\\pictures\\x.bmp");
  RunText("BP 1 7777 0 0 'LAMP'");
  EXPECT_TRUE(Said("'BP' Control does not exist, control number: 7777"));
}

}  // namespace
}  // namespace velcrum::testing
