// CN, LR and DL: names and device information from NXI into a panel's controls and lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_nxi.h"
#include "panel_dialog_fixture.h"

namespace velcrum::testing {
namespace {

constexpr uint32_t LBS_NOTIFY = 0x1;
constexpr uint32_t CBS_DROPDOWNLIST = 0x3;

// Panel 3: four statics 3101 to 3104, a list box 4001 and a combo box 4002.
DialogTemplate NamesPanel() {
  DialogTemplate dialog;
  dialog.style = WS_POPUP | WS_CAPTION;
  dialog.cx = 200;
  dialog.cy = 100;
  dialog.caption = "Names";
  for (int id = 3101; id <= 3104; ++id) {
    dialog.controls.push_back(Control("STATIC", "-", id, 0, 10 + (id - 3101) * 40));
  }
  dialog.controls.push_back(Control("LISTBOX", "", 4001, LBS_NOTIFY));
  dialog.controls.push_back(Control("COMBOBOX", "", 4002, CBS_DROPDOWNLIST));
  return dialog;
}

class NxiLookupCommandsTest : public PanelDialogTest {
 protected:
  void SetUp() override {
    PanelDialogTest::SetUp();
    resources_.AddDialog("#3", NamesPanel());
    ASSERT_TRUE(nxi_.Open());
    g_hwndNxi = nxi_.Handle();
    nxi_.answer = [](const FakeNxiCall& call) {
      FakeNxiAnswer reply;
      if (call.message == KAL_GET_NAME) {
        reply.text = "N" + std::to_string(Int16Field(call.bytes, 1)) + "-" +
                     std::to_string(Int16Field(call.bytes, 2));
      } else if (call.message == KAL_DEVICE_INFO && (call.wParam == 12 || call.wParam == 40)) {
        reply.value = 1;
        reply.text =
            std::to_string(call.wParam) + " 1 16 16 0 DEVICE " + std::to_string(call.wParam);
      }
      return reply;
    };
    RunText("PS 3");
    ASSERT_NE(PanelDialog(3), nullptr);
  }
  void TearDown() override {
    g_hwndNxi = 0;
    PanelDialogTest::TearDown();
  }
  static std::vector<std::string> Items(int id) {
    std::vector<std::string> items;
    const platform::Dialog* dialog = PanelDialog(3);
    for (int i = 0; i < dialog->ItemCount(id); ++i) items.push_back(dialog->ItemText(id, i));
    return items;
  }
  static std::string Text(int id) { return PanelDialog(3)->ControlText(id, 255); }

  FakeNxi nxi_;
};

TEST_F(NxiLookupCommandsTest, CnWritesOneNameIntoEachControlFromTheFirst) {
  RunText("CN 12 1 5 7 3 3102");
  EXPECT_EQ(Text(3101), "-");
  EXPECT_EQ(Text(3102), "N1-5");
  EXPECT_EQ(Text(3103), "N1-6");
  EXPECT_EQ(Text(3104), "N1-7");
  const auto lookups = nxi_.CallsOf(KAL_GET_NAME);
  ASSERT_EQ(lookups.size(), 3u);
  EXPECT_EQ(Int16Field(lookups[0].bytes, 0), 12);
}

TEST_F(NxiLookupCommandsTest, CnChecksItsRangesBeforeAskingNxi) {
  RunText("CN 12 1 7 5 3 3101");    // first above last
  RunText("CN 1000 1 1 2 3 3101");  // no such device
  RunText("CN 12 10 1 2 3 3101");   // database 10
  EXPECT_TRUE(nxi_.CallsOf(KAL_GET_NAME).empty());
  EXPECT_EQ(Text(3101), "-");
}

TEST_F(NxiLookupCommandsTest, LrAddsARangeOrTheIndexesOfItsList) {
  RunText("LR 12 0 1 3 3 4001");
  EXPECT_EQ(Items(4001), (std::vector<std::string>{"N0-1", "N0-2", "N0-3"}));
  RunText("LR 12 2 0 0 3 4002 '9,0,5000,4'");
  EXPECT_EQ(Items(4002), (std::vector<std::string>{"N2-9", "N2-4"}));
  RunText("LR 12 2 0 0 3 4002 ''");
  EXPECT_EQ(Items(4002).size(), 2u);
}

TEST_F(NxiLookupCommandsTest, DlAddsEveryKnownDeviceInOrder) {
  RunText("DL 3 4001");
  EXPECT_EQ(Items(4001),
            (std::vector<std::string>{"12 1 16 16 0 DEVICE 12", "40 1 16 16 0 DEVICE 40"}));
  EXPECT_EQ(nxi_.CallsOf(KAL_DEVICE_INFO).size(), 999u);
}

TEST_F(NxiLookupCommandsTest, DlReportsItsParametersWithTheirOwnTexts) {
  RunText("DL 65 4001:DL 3 40000:DL 3 300");
  EXPECT_TRUE(std::any_of(host_.debugger.begin(), host_.debugger.end(), [](const std::string& l) {
    return l.find("ListBox parameter invalid.") != std::string::npos;
  }));
  EXPECT_TRUE(std::any_of(host_.debugger.begin(), host_.debugger.end(), [](const std::string& l) {
    return l.find("PanelId parameter invalid.") != std::string::npos;
  }));
  EXPECT_TRUE(std::any_of(host_.debugger.begin(), host_.debugger.end(), [](const std::string& l) {
    return l.find("ListBoxId parameter invalid.") != std::string::npos;
  }));
}

TEST_F(NxiLookupCommandsTest, ALookupThatEndsThePanelEndsTheCommand) {
  // A line run while a lookup waits (a revertive without synchronous mode) may destroy the
  // panel; the command must stop rather than write into it.
  int answered = 0;
  nxi_.answer = [&answered](const FakeNxiCall&) {
    if (++answered == 2) RunText("PD 3");
    return FakeNxiAnswer{0, "NAME"};
  };
  RunText("LR 12 0 1 4 3 4001:CN 12 0 1 4 3 3101");
  EXPECT_EQ(PanelDialog(3), nullptr);
  EXPECT_EQ(answered, 2);
}

}  // namespace
}  // namespace velcrum::testing
