// The list commands on real list boxes and combo boxes of panels in this process: the items
// and selection each script leaves, the backing store behind LF, the files of LL and LS,
// and the operator's selection running the list's line.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "desktop_fixture.h"
#include "interpreter/executor.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "panels/panel_table.h"
#include "platform/desktop/local_dialogs.h"
#include "runtime/bound_resources.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "runtime/subsystem_settings.h"
#include "shell/main_window.h"
#include "shell/runtime_modules.h"
#include "support/program_output.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;
using platform::ControlTemplate;
using platform::DialogTemplate;

constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_TABSTOP = 0x00010000;
constexpr uint32_t WS_CAPTION = 0x00C00000;
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t LBS_NOTIFY = 0x0001;
constexpr uint32_t LBS_SORT = 0x0002;
constexpr uint32_t LBS_MULTICOLUMN = 0x0200;
constexpr uint32_t CBS_DROPDOWNLIST = 0x0003;

// The list box on panel 1 that most cases use, a second one, a multi-column one, and a
// combo box (without a tab stop) and a list box with one: the kind comes from the class.
constexpr int kList = 2001;
constexpr int kOther = 2002;
constexpr int kColumns = 2003;
constexpr int kCombo = 2004;
constexpr int kTabStopList = 2005;
constexpr int kSorted = 2006;

ControlTemplate Control(const char* className, int id, uint32_t style, int x, int y, int cy) {
  ControlTemplate control;
  control.className = className;
  control.id = id;
  control.x = x;
  control.y = y;
  control.cx = 60;
  control.cy = cy;
  control.style = WS_CHILD | WS_VISIBLE | style;
  return control;
}

DialogTemplate ListPanel() {
  DialogTemplate dialog;
  dialog.style = WS_POPUP | WS_CAPTION;
  dialog.cx = 400;
  dialog.cy = 200;
  dialog.caption = "Lists";
  dialog.controls.push_back(Control("LISTBOX", kList, LBS_NOTIFY, 5, 5, 120));
  dialog.controls.push_back(Control("LISTBOX", kOther, 0, 70, 5, 60));
  dialog.controls.push_back(Control("LISTBOX", kColumns, LBS_MULTICOLUMN, 135, 5, 40));
  dialog.controls.push_back(Control("COMBOBOX", kCombo, CBS_DROPDOWNLIST, 200, 5, 80));
  dialog.controls.push_back(Control("LISTBOX", kTabStopList, WS_TABSTOP, 265, 5, 60));
  dialog.controls.push_back(Control("LISTBOX", kSorted, LBS_SORT, 330, 5, 60));
  return dialog;
}

// A panel with more list boxes than a panel has backing stores for.
DialogTemplate CrowdedPanel(int lists) {
  DialogTemplate dialog;
  dialog.style = WS_POPUP | WS_CAPTION;
  dialog.cx = 400;
  dialog.cy = 200;
  dialog.caption = "Crowded";
  for (int i = 0; i < lists; ++i) {
    dialog.controls.push_back(Control("LISTBOX", 3001 + i, 0, 5 * (i % 60), 5 * (i / 60), 10));
  }
  return dialog;
}

using Items = std::vector<std::string>;

class ListCommandsTest : public platform::testing::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    drive_ = fs::path(dir_) / "drive_c";
    fs::create_directories(drive_);
    setenv("VELCRUM_DRIVE_C", drive_.c_str(), 1);
    InstallModules(RuntimeModules());
    ResetModules();
    SetHost(&host_);
    g_settings.enableOutputDbwin = true;
    resources_.AddDialog("#1", ListPanel());
    resources_.AddDialog("#2", CrowdedPanel(66));
    SetBoundResources(&resources_);
    ASSERT_TRUE(CreateMainWindow());
    bStartUpDone = true;
    RunText("PS 1");
    ASSERT_NE(PanelDialog(1), nullptr);
  }
  void TearDown() override {
    ResetModules();
    DestroyMainWindow();
    SetBoundResources(nullptr);
    SetHost(nullptr);
    unsetenv("VELCRUM_DRIVE_C");
    DesktopTest::TearDown();
  }

  static void Line(int line, const std::string& text) { VLSTMSup_SetMem(line, text.c_str()); }
  static void RunText(const std::string& text) {
    Line(100, text);
    RunLine(100, 0);
  }
  static int32_t& Var(char letter) { return g_lIntegerVariables[VariableIndex(letter)]; }
  static std::string Text(char letter) { return g_szStringVariables[VariableIndex(letter)]; }
  static std::vector<std::string> Shown(int id, int panel = 1) {
    std::vector<std::string> items;
    const platform::Dialog* dialog = PanelDialog(panel);
    for (int i = 0; i < dialog->ItemCount(id); ++i) items.push_back(dialog->ItemText(id, i));
    return items;
  }
  static int Selection(int id) { return PanelDialog(1)->CurrentSelection(id); }
  // Fills the list box with these items, one LP each.
  static void Fill(int id, const std::vector<std::string>& items) {
    for (const std::string& item : items) {
      RunText("LP '" + item + "' 1 " + std::to_string(id));
    }
  }
  bool Said(const std::string& text) const {
    return std::any_of(host_.debugger.begin(), host_.debugger.end(),
                       [&](const std::string& s) { return s.find(text) != std::string::npos; });
  }
  std::string ReadFile(const std::string& name) const {
    std::ifstream in(drive_ / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void WriteFile(const std::string& name, const std::string& contents) const {
    std::ofstream(drive_ / name, std::ios::binary) << contents;
  }

  testing::RecordingHost host_;
  InMemoryResources resources_;
  fs::path drive_;
};

TEST_F(ListCommandsTest, EachScriptLeavesTheseItemsAndSelection) {
  struct Case {
    const char* name;
    Items before;
    std::string script;
    Items after;
    int selection;  // index from 0, -1 for none
  };
  const std::string list = " 1 2001";
  const Case cases[] = {
      {"LP adds in order", {}, "LP 'b'" + list + ":LP 'a'" + list, {"b", "a"}, -1},
      {"LT adds the trim pair",
       {"x"},
       "LT 'gain'" + list + " 6",
       {"x", "/_____1", "trim=gain,6"},
       -1},
      {"LC empties", {"a", "b"}, "LC" + list, {}, -1},
      {"LD deletes the selected item",
       {"a", "b", "c"},
       "LI 1 2" + list + " 0:LD" + list,
       {"a", "c"},
       -1},
      {"LD without a selection deletes nothing", {"a", "b"}, "LD" + list, {"a", "b"}, -1},
      {"LE deletes the first that begins with the text, case ignored",
       {"Cam1", "VTR", "cam2", "CAM3"},
       "LE 'CAM'" + list,
       {"VTR", "cam2", "CAM3"},
       -1},
      {"LE with all 1 deletes every one",
       {"Cam1", "VTR", "cam2", "CAM3"},
       "LE 'cam'" + list + " 1",
       {"VTR"},
       -1},
      {"LE with all 2 deletes one", {"cam1", "cam2"}, "LE 'cam'" + list + " 2", {"cam2"}, -1},
      {"LB deletes the empty items", {"", "a", "", "b", ""}, "LB" + list, {"a", "b"}, -1},
      {"LI selects a position from 1", {"a", "b", "c"}, "LI 1 3" + list + " 0", {"a", "b", "c"}, 2},
      {"LI with select 0 clears",
       {"a", "b"},
       "LI 1 2" + list + " 0:LI 0 2" + list + " 0",
       {"a", "b"},
       -1},
      {"LI with a position beyond the list selects nothing",
       {"a"},
       "LI 1 5" + list + " 0",
       {"a"},
       -1},
      {"an item is cut to 255 characters",
       {},
       "LT A$" + list + " 6",
       {"/_____1", "trim=" + std::string(250, 'x')},
       -1},
  };
  SetStringVariable(VariableIndex('A'), std::string(250, 'x'));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunText("LC" + list);
    Fill(kList, c.before);
    RunText(c.script);
    EXPECT_EQ(Shown(kList), c.after);
    EXPECT_EQ(Selection(kList), c.selection);
  }
}

TEST_F(ListCommandsTest, ReadingCountSelectionAndPositions) {
  Fill(kList, {"alpha", "beta", "gamma"});
  strcpy(g_szStringVariables[VariableIndex('T')], "old");
  Var('I') = 9;
  RunText("LQ 1 2001 N%:LG 1 2001 T$ I%:LX 1 2001 2 X$:LX 1 2001 7 Y$");
  EXPECT_EQ(Var('N'), 3);
  EXPECT_EQ(Text('T'), "") << "no selection: both cleared";
  EXPECT_EQ(Var('I'), 0);
  EXPECT_EQ(Text('X'), "beta");
  EXPECT_EQ(Text('Y'), "") << "a position without an item";
  EXPECT_TRUE(Said("LG : Panel:1, ListBoxId:2001"));
  RunText("LI 1 3 1 2001 0:LG 1 2001 T$ I%");
  EXPECT_EQ(Text('T'), "gamma");
  EXPECT_EQ(Var('I'), 3);
}

TEST_F(ListCommandsTest, TheOperatorsSelectionRunsTheListsLineWhichReadsIt) {
  Fill(kList, {"one", "two", "three"});
  Line(kList, "LG 1 2001 S$ P%");
  auto* list =
      qobject_cast<QListWidget*>(platform::LocalControlWidget(PanelDialog(1)->Handle(), kList));
  ASSERT_NE(list, nullptr);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(1)).center());
  ASSERT_TRUE(WaitUntil([] { return Var('P') == 2; }));
  EXPECT_EQ(Text('S'), "two");
  // The commands' own selections run nothing.
  Var('P') = 0;
  RunText("LI 1 3 1 2001 0");
  EXPECT_FALSE(WaitUntil([] { return Var('P') != 0; }, 100));
}

TEST_F(ListCommandsTest, LaStoresTheIndexesOfExactMatchesAndTheirCount) {
  Fill(kList, {"CAM", "cam", "VTR", "CAM"});
  RunText("LA 'CAM' 1 2001 100");
  EXPECT_EQ(GetMem("LA", 100), 2);
  EXPECT_EQ(GetMem("LA", 101), 0);
  EXPECT_EQ(GetMem("LA", 102), 3);
  RunText("LA 'none' 1 2001 200");
  EXPECT_EQ(GetMem("LA", 200), 0) << "no match stores the count 0";

  SetMem("LA", 300, 7);
  RunText("LA 'CAM' 1 2002 300");
  EXPECT_EQ(GetMem("LA", 300), 7) << "an empty list stores nothing";
  RunText("LA 'CAM' 1 2001 0");
  EXPECT_TRUE(Said("'LA'  Parameter 4 is out of range"));
  EXPECT_EQ(GetMem("LA", 1), 0) << "the first match's index, 0, at memory 0 + 1";
  EXPECT_EQ(GetMem("LA", 2), 3) << "the command goes on after the range warning";
}

TEST_F(ListCommandsTest, LfSimpleModesFindTheFirstMatch) {
  Fill(kList, {"cam1", "CAM1", "VTR 2", "xCAMx"});
  struct Case {
    int mode;
    const char* text;
    int result;
  };
  const Case cases[] = {
      {0, "CAM1", 2}, {0, "CAM", 0},  {1, "CAM", 2},     {1, "TR", 3},  {2, "CAM", 2},
      {2, "AM", 0},   {3, "cam1", 1}, {4, "vtr", 3},     {5, "CAM", 1}, {5, "cam1", 1},
      {4, "camx", 4}, {6, "cam", 0},  {1000, "cam1", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + " " + c.text);
    Var('R') = -5;
    RunText("LF '" + std::string(c.text) + "' 1 2001 R% " + std::to_string(c.mode));
    EXPECT_EQ(Var('R'), c.result);
  }
  EXPECT_EQ(Shown(kList), (Items{"cam1", "CAM1", "VTR 2", "xCAMx"})) << "a search keeps the list";
  host_.debugger.clear();
  RunText("LF 'x' 1 2001 R% 9");
  EXPECT_EQ(std::count(host_.debugger.begin(), host_.debugger.end(),
                       std::string("LF: not supported search mode")),
            4);
}

TEST_F(ListCommandsTest, LfExtendedModesSearchFilterAndReorder) {
  const Items items = {"Cam 2", "VTR1", "cam1", "CAM3", "vtr2"};
  constexpr int kExtended = 0x40000000;
  struct Case {
    const char* name;
    int flags;
    const char* text;
    int selectFirst;  // a position to select first (from 1), 0 none
    int result;
    int count;
    Items after;
  };
  const Case cases[] = {
      {"search, begins, case ignored", 0, "cam", 0, 1, 3, items},
      {"search, begins, case counts", 1, "CAM", 0, 4, 1, items},
      {"search, equal stops at the first", 8, "VTR1", 0, 2, 1, items},
      {"search, contains", 16, "2", 0, 1, 2, items},
      {"search without spaces", 128 | 8, "cam2", 0, 1, 1, items},
      {"search from the selection", 4, "cam", 3, 3, 2, items},
      {"filter, contains, case ignored", 2 | 16, "AM", 0, 1, 3, {"Cam 2", "cam1", "CAM3"}},
      {"filter keeps the items before the start", 2 | 4, "vtr", 3, 1, 3, {"Cam 2", "VTR1", "vtr2"}},
      {"filter with no match empties", 2, "xyz", 0, 0, 0, {}},
      {"reverse", 32 | 8, "cam1", 0, 3, 1, {"vtr2", "CAM3", "cam1", "VTR1", "Cam 2"}},
      {"sort, case ignored", 64 | 8, "vtr1", 0, 4, 1, {"Cam 2", "cam1", "CAM3", "VTR1", "vtr2"}},
      {"sort descending", 64 | 32 | 8, "vtr1", 0, 2, 1, {"vtr2", "VTR1", "CAM3", "cam1", "Cam 2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunText("LC 1 2001");
    Fill(kList, items);
    if (c.selectFirst > 0) RunText("LI 1 " + std::to_string(c.selectFirst) + " 1 2001 0");
    Var('R') = -5;
    Var('C') = -5;
    RunText("LF '" + std::string(c.text) + "' 1 2001 R% " + std::to_string(kExtended | c.flags) +
            " C%");
    EXPECT_EQ(Var('R'), c.result);
    EXPECT_EQ(Var('C'), c.count);
    EXPECT_EQ(Shown(kList), c.after);
    EXPECT_EQ(Selection(kList), c.result - 1) << "the result's item is selected";
  }
}

TEST_F(ListCommandsTest, LfReloadsTheCompleteListUnlessToldToNarrowTheListShown) {
  constexpr int kFilter = 0x40000000 | 2 | 16;
  const std::string filter = " 1 2001 R% " + std::to_string(kFilter) + " C%";
  const std::string narrow = " 1 2001 R% " + std::to_string(kFilter | 0x1000) + " C%";
  Fill(kList, {"CAM1", "VTR1", "CAM2", "VTR2"});
  RunText("LF 'CAM'" + filter);
  EXPECT_EQ(Shown(kList), (Items{"CAM1", "CAM2"}));
  EXPECT_TRUE(Said("LF: reload, first delete number of BS items: 4, WL items: 4"));

  // An item added after a filter goes to both lists; the next filter sees it.
  RunText("LP 'VTR3' 1 2001");
  EXPECT_EQ(Shown(kList), (Items{"CAM1", "CAM2", "VTR3"}));
  RunText("LF 'VTR'" + filter);
  EXPECT_EQ(Shown(kList), (Items{"VTR1", "VTR2", "VTR3"}));
  EXPECT_EQ(Var('C'), 3);

  // Bit 12 filters what is shown, so a second filter narrows the first.
  RunText("LF '2'" + narrow);
  EXPECT_EQ(Shown(kList), (Items{"VTR2"}));
  RunText("LF 'CAM'" + narrow);
  EXPECT_EQ(Shown(kList), Items{});
  EXPECT_EQ(Var('R'), 0);

  // Deleting from the list deletes from the complete list too.
  RunText("LF 'V'" + filter + ":LI 1 1 1 2001 0:LD 1 2001:LE 'vtr2' 1 2001:LF 'R'" + filter);
  EXPECT_EQ(Shown(kList), (Items{"VTR3"}));
  RunText("LC 1 2001:LF 'R'" + filter);
  EXPECT_EQ(Shown(kList), Items{}) << "LC empties the complete list";
}

TEST_F(ListCommandsTest, ASortedListBoxSortsWhatLfShows) {
  Fill(kSorted, {"vtr", "Cam", "aux"});
  RunText("LF 'x' 1 2006 R% " + std::to_string(0x40000000 | 0x20) + " C%");
  EXPECT_EQ(Shown(kSorted), (Items{"aux", "Cam", "vtr"})) << "reversed, then sorted again";
  RunText("LF 'a' 1 2006 R% " + std::to_string(0x40000000 | 0x2 | 0x10) + " C%");
  EXPECT_EQ(Shown(kSorted), (Items{"aux", "Cam"}));
  EXPECT_EQ(Selection(kSorted), 0);
}

TEST_F(ListCommandsTest, LfRequiresAListControlAndAText) {
  Fill(kList, {"a"});
  Var('R') = 5;
  RunText("LF '' 1 2001 R% 0");
  EXPECT_EQ(Var('R'), 0);
  EXPECT_TRUE(Said("string length is ZERO"));
  Var('R') = 5;
  RunText("LF 'a' 1 2999 R% 0");
  EXPECT_EQ(Var('R'), 0);
  EXPECT_TRUE(Said("Control does not exist, control number: 2999"));
  EXPECT_TRUE(Said("ListBox ID is invalid"));
  RunText("LF 'a' 1 2001 R%");
  EXPECT_EQ(Var('R'), 1) << "a missing mode is 0";
}

TEST_F(ListCommandsTest, The66thListOfAPanelWorksWithoutABackingStore) {
  RunText("PS 2");
  for (int i = 0; i < 65; ++i) RunText("LP 'a' 2 " + std::to_string(3001 + i));
  EXPECT_FALSE(Said("Maximum ListBoxes per Panel dialog exceeded ! "));
  RunText("LP 'a' 2 3066:LP 'b' 2 3066");
  EXPECT_TRUE(Said("Maximum ListBoxes per Panel dialog exceeded ! "));
  EXPECT_EQ(Shown(3066, 2), (Items{"a", "b"}));
  Var('R') = 5;
  RunText("LF 'b' 2 3066 R% " + std::to_string(0x40000000 | 2) + " C%");
  EXPECT_TRUE(Said("LF: reload - backingstore ListBox NULL fail."));
  EXPECT_EQ(Var('R'), 0);
  EXPECT_EQ(Shown(3066, 2), (Items{"a", "b"}));
  RunText("LF 'b' 2 3066 R% " + std::to_string(0x40000000 | 0x1000 | 2) + " C%");
  EXPECT_EQ(Shown(3066, 2), (Items{"b"})) << "the list shown can still be filtered";

  // Destroying the panel frees its slots for the lists of the next one.
  host_.debugger.clear();
  RunText("PD 2:PS 2");
  for (int i = 0; i < 65; ++i) RunText("LP 'a' 2 " + std::to_string(3001 + i));
  EXPECT_FALSE(Said("Maximum ListBoxes per Panel dialog exceeded ! "));
}

TEST_F(ListCommandsTest, ComboBoxesByTheirClassWithTheirOwnOperations) {
  RunText("LP 'one' 1 2004:LP 'two' 1 2004:LP 'x' 1 2005");
  EXPECT_EQ(Shown(kCombo), (Items{"one", "two"}));
  EXPECT_EQ(Shown(kTabStopList), (Items{"x"})) << "a tab stop does not make a combo box";
  RunText("LD 1 2004");
  EXPECT_TRUE(Said("LD: 2B - LB_ERR on LB_GETCURSEL"));
  RunText("LD 1 2001");
  EXPECT_TRUE(Said("LD: 1B - LB_ERR on LB_GETCURSEL"));
  RunText("LI 1 2 1 2004 0:LG 1 2004 T$ I%");
  EXPECT_EQ(Text('T'), "two");
  RunText("LU 1 1 2004");
  EXPECT_TRUE(WaitUntil([] { return PanelDialog(1)->IsDroppedDown(kCombo); }));
  RunText("LU 0 1 2004");
  EXPECT_TRUE(WaitUntil([] { return !PanelDialog(1)->IsDroppedDown(kCombo); }));
}

TEST_F(ListCommandsTest, ItemHeightColumnWidthTopItemAndFocus) {
  auto* list =
      qobject_cast<QListWidget*>(platform::LocalControlWidget(PanelDialog(1)->Handle(), kList));
  ASSERT_NE(list, nullptr);
  RunText("LV 1 2001 30");
  Fill(kList, {"a", "b"});
  EXPECT_NE(list->visualItemRect(list->item(0)).height(), 30) << "an empty list keeps its height";
  RunText("LV 1 2001 65566");  // the low 16 bits: 30
  EXPECT_EQ(list->visualItemRect(list->item(1)).height(), 30);
  RunText("LV 1 2001 300");
  EXPECT_EQ(list->visualItemRect(list->item(1)).height(), 30) << "a height over 255 is refused";

  auto* columns =
      qobject_cast<QListWidget*>(platform::LocalControlWidget(PanelDialog(1)->Handle(), kColumns));
  Fill(kColumns, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
  RunText("LW 1 2003 40");
  const int secondColumn = columns->visualItemRect(columns->item(columns->count() - 1)).x();
  EXPECT_GT(secondColumn, 0) << "the items wrap into columns";
  EXPECT_EQ(secondColumn % 40, 0);

  for (int i = 0; i < 30; ++i) RunText("LP 'item' 1 2001");
  RunText("LI 1 20 1 2001 2");
  EXPECT_EQ(list->indexAt(QPoint(5, 2)).row(), 18) << "position 20 minus offset 2";
  RunText("LN 1 2001");
  EXPECT_TRUE(WaitUntil([] { return PanelDialog(1)->FocusedControl() == kList; }));
}

TEST_F(ListCommandsTest, LiReportsPositionsAndOffsetsOutOfRange) {
  Fill(kList, {"a", "b"});
  struct Case {
    const char* line;
    std::vector<int> params;  // the parameters reported out of range
  };
  const Case cases[] = {
      {"LI 1 0 1 2001 0", {2}},
      {"LI 1 1 1 2001 -1", {5}},
      {"LI 1 1 1 2001 2", {5}},
      {"LI 1 0 1 2001 -1", {2, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    host_.debugger.clear();
    RunText(c.line);
    for (int n : c.params) {
      EXPECT_TRUE(Said("'LI'  Parameter " + std::to_string(n) + " is out of range"));
    }
    EXPECT_EQ(
        static_cast<size_t>(std::count_if(
            host_.debugger.begin(), host_.debugger.end(),
            [](const std::string& s) { return s.find("is out of range") != std::string::npos; })),
        c.params.size());
  }
}

TEST_F(ListCommandsTest, LlLoadsTheLinesInRangeSkippingComments) {
  WriteFile("lines.txt", "one\r\n;two\r\nthree\nfour\rjunk\nfive\n");
  RunText("LL 'c;/LINES.TXT' 1 4 1 2001");
  EXPECT_EQ(Shown(kList), (Items{"one", "three", "four"}));
  EXPECT_TRUE(Said("LL: begin file read, 'c:\\LINES.TXT'"));
  EXPECT_TRUE(Said("LL: read, file closed: 'c:\\LINES.TXT', lines read: 3"));

  struct Case {
    std::string contents;
    int first;
    int last;
    Items items;
  };
  const Case cases[] = {
      {"1\n2\n3\n4\n5\n", 2, 4, {"2", "3", "4"}},
      {"1\n2\n3", 1, 10, {"1", "2"}},  // the last line, without a line end, is lost
      {"1\n;2\n3\n", 1, 4096, {"1", "3"}},
      {std::string(300, 'y') + "\nz\n", 1, 2, {std::string(255, 'y'), "z"}},
      {"", 1, 5, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.contents.substr(0, 20));
    RunText("LC 1 2001");
    WriteFile("case.txt", c.contents);
    RunText("LL 'c;/case.txt' " + std::to_string(c.first) + " " + std::to_string(c.last) +
            " 1 2001");
    EXPECT_EQ(Shown(kList), c.items);
  }

  // What LL loaded is in the complete list that LF reloads.
  WriteFile("case.txt", "1\n3\n");
  RunText("LC 1 2001:LL 'c;/case.txt' 1 9 1 2001");
  RunText("LF '3' 1 2001 R% " + std::to_string(0x40000000 | 2) + " C%");
  EXPECT_EQ(Shown(kList), (Items{"3"}));
  host_.debugger.clear();
  RunText("LL 'c;/missing.txt' 1 5 1 2001");
  EXPECT_TRUE(Said("File does not exist: 'c:\\missing.txt' "));
  RunText("LL '' 1 5 1 2001");
  EXPECT_TRUE(Said("file name parameter is NULL"));
  RunText("LL 'c;/case.txt' 0 5000 1 2001");
  EXPECT_TRUE(Said("'LL'  Parameter 2 is out of range"));
  EXPECT_TRUE(Said("'LL'  Parameter 3 is out of range"));
}

TEST_F(ListCommandsTest, LsWritesEveryItemOrReportsAndLeavesTheFile) {
  Fill(kList, {"b", "a", ""});
  RunText("LS 'c;/out.txt' 1 2001");
  EXPECT_EQ(ReadFile("out.txt"), "b\na\n\n");
  RunText("LC 1 2001:LS 'c;/out.txt' 1 2001");
  EXPECT_EQ(ReadFile("out.txt"), "") << "an empty list empties the file";

  WriteFile("kept.txt", "kept\n");
  RunText("LP 'x' 1 2001:LS 'c;/nodir/out.txt' 1 2001");
  EXPECT_TRUE(Said("File does not exist: 'c:\\nodir\\out.txt' "));
  RunText("LS 'c;/kept.txt' 1 2999");
  EXPECT_EQ(ReadFile("kept.txt"), "kept\n") << "a missing control writes nothing";
}

TEST_F(ListCommandsTest, LhPrintsEveryItemAsALineWhenPrintingIsOn) {
  if (!testing::HasProgram("pdftotext")) GTEST_SKIP() << "poppler-utils missing";
  const std::string pdf = (fs::path(dir_) / "list.pdf").string();
  setenv("VELCRUM_PRINT_TO", pdf.c_str(), 1);
  RunText("LP 'alpha item' 1 2001:LP 'beta item' 1 2001");

  RunText("LH 1 2001");
  EXPECT_FALSE(fs::exists(pdf)) << "printing is off";

  g_panelSettings.printerSupport = 1;
  RunText("LH 1 2001");
  const std::string text = testing::ProgramOutput("pdftotext -layout " + pdf + " -");
  unsetenv("VELCRUM_PRINT_TO");
  const size_t first = text.find("alpha item");
  ASSERT_NE(first, std::string::npos) << text;
  EXPECT_NE(text.find("beta item", first), std::string::npos) << text;
}

}  // namespace
}  // namespace velcrum
