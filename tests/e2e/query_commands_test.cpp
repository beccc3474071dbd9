// QC, QD, QH, QP and QS against panels in this process, and FD filling a real list box
// from a directory of drive C.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "interpreter/version.h"
#include "panel_dialog_fixture.h"
#include "platform/desktop/screen.h"
#include "platform/paths.h"
#include "platform/tick_count.h"

namespace velcrum::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kList = 4001;
constexpr int kCombo = 4002;
constexpr uint32_t CBS_DROPDOWNLIST = 0x3;

// Panel 3: a list box and a combo box beside a button.
DialogTemplate ListPanel() {
  DialogTemplate dialog;
  dialog.style = WS_POPUP | WS_CAPTION;
  dialog.cx = 200;
  dialog.cy = 100;
  dialog.caption = "Files";
  dialog.controls.push_back(Control("LISTBOX", "", kList));
  dialog.controls.push_back(Control("COMBOBOX", "", kCombo, CBS_DROPDOWNLIST, 60));
  dialog.controls.push_back(Control("BUTTON", "B", 4003, 0, 110));
  return dialog;
}

class QueryCommandsTest : public PanelDialogTest {
 protected:
  void SetUp() override {
    PanelDialogTest::SetUp();
    resources_.AddDialog("#3", ListPanel());
    drive_ = fs::path(dir_) / "drive_c";
    fs::create_directories(drive_ / "data" / "Sub.txt");
    for (const char* name : {"a.txt", "B.TXT", "c.doc", "notes.txt.bak"}) {
      std::ofstream(drive_ / "data" / name) << name;
    }
    setenv("VELCRUM_DRIVE_C", drive_.c_str(), 1);
    RunText("PS 1:PS 3");
    ASSERT_NE(PanelDialog(1), nullptr);
    ASSERT_NE(PanelDialog(3), nullptr);
  }
  void TearDown() override {
    unsetenv("VELCRUM_DRIVE_C");
    g_settings = InterpreterSettings{};
    PanelDialogTest::TearDown();
  }
  bool Said(const std::string& text) const {
    return std::any_of(
        host_.debugger.begin(), host_.debugger.end(),
        [&text](const std::string& line) { return line.find(text) != std::string::npos; });
  }
  void Run(const char* text) {
    host_.debugger.clear();
    RunText(text);
  }
  static std::vector<std::string> Items(int id) {
    std::vector<std::string> items;
    const platform::Dialog* dialog = PanelDialog(3);
    for (int i = 0; i < dialog->ItemCount(id); ++i) items.push_back(dialog->ItemText(id, i));
    return items;
  }
  static std::string Str(char letter) { return g_szStringVariables[VariableIndex(letter)]; }

  fs::path drive_;
};

TEST_F(QueryCommandsTest, HandlesOfControlsPanelsAndTheirParents) {
  const platform::Dialog& one = *PanelDialog(1);
  Run("QC 1 1001 C%:QH 1 H%:QH 0 M%:QP C% P%:QP H% O%:QP M% Z%:QP 0 N%");
  EXPECT_EQ(Var('C'), static_cast<int32_t>(one.ControlHandle(1001)));
  EXPECT_NE(Var('C'), 0);
  EXPECT_EQ(Var('H'), static_cast<int32_t>(one.Handle()));
  EXPECT_EQ(Var('M'), static_cast<int32_t>(g_hwndMain));
  EXPECT_EQ(Var('P'), Var('H'));  // a control's parent is its panel
  EXPECT_EQ(Var('O'), Var('M'));  // a panel's is the main window that owns it
  EXPECT_EQ(Var('Z'), 0);
  EXPECT_EQ(Var('N'), 0);
  EXPECT_FALSE(Said("ERROR"));
}

TEST_F(QueryCommandsTest, MissingPanelsAndControlsGiveZeroWithTheirMessages) {
  struct Case {
    const char* line;
    int32_t result;  // C% afterwards; 77 is the value it had
    std::vector<const char*> said;
  };
  const Case cases[] = {
      {"QC 1 9999 C%", 0, {"Control does not exist, control number: 9999"}},
      {"QC 2 1 C%", 0, {"Panel does not exist, panel number: 2", "Control does not exist"}},
      {"QC 0 1001 C%", 0, {"Panel does not exist, panel number: 0"}},
      {"QC 1 40000 C%", 0, {"Parameter 2 is out of range", "Control does not exist"}},
      {"QC 65 1001 C%", 77, {"Parameter 1 is out of range"}},
      {"QH 2 C%", 0, {"Panel does not exist, panel number: 2"}},
      {"QH 70 C%", 0, {"Parameter 1 is out of range", "Resetting query handle to zero."}},
      {"QH -1 C%", 0, {"Resetting query handle to zero."}},
  };
  for (const Case& c : cases) {
    Var('C') = 77;
    Run(c.line);
    EXPECT_EQ(Var('C'), c.result) << c.line;
    for (const char* text : c.said) EXPECT_TRUE(Said(text)) << c.line << ": " << text;
  }
}

TEST_F(QueryCommandsTest, ScreenAndPanelSizes) {
  const platform::Rect screen = platform::DesktopRect();
  const platform::Rect panel = PanelDialog(1)->WindowRect();
  Run("QD W% H%:QS 'P' 1 A% B%:QS 'P' 0 C% D%:QS 'P' 2 E% F%");
  EXPECT_EQ(Var('W'), screen.right - screen.left);
  EXPECT_EQ(Var('H'), screen.bottom - screen.top);
  EXPECT_GT(Var('W'), 0);
  EXPECT_EQ(Var('A'), panel.right - panel.left);
  EXPECT_EQ(Var('B'), panel.bottom - panel.top);
  EXPECT_GE(Var('A'), 450);  // 300 dialog units
  for (char letter : {'C', 'D', 'E', 'F'}) EXPECT_EQ(Var(letter), 0) << letter;

  // A panel outside 0 to 64 is reported; only strict inspection stops the command there.
  Var('A') = 5;
  Run("QS 'P' 65 A% B%");
  EXPECT_TRUE(Said("Parameter 2 is out of range"));
  EXPECT_EQ(Var('A'), 0);
  g_settings.parameterInspection = Inspection::kStrict;
  Var('A') = 5;
  Run("QS 'P' 65 A% B%");
  EXPECT_EQ(Var('A'), 5);
}

TEST_F(QueryCommandsTest, SystemQueriesBySelector) {
  const uint32_t before = GetTickCount();
  Run("QS 'D' D$:QS 'K' K%:QS 'M' A% B%:QS 'T' T%:QS 'V' V$:QS 'Version' W$");
  const uint32_t after = GetTickCount();
  EXPECT_EQ(Str('D'), std::string("Compiled : ") + kBuildDate + " - " + kBuildTime);
  EXPECT_EQ(Var('K'), 437);
  EXPECT_EQ(Var('A'), 65536);
  EXPECT_EQ(Var('B'), 4096);
  EXPECT_GE(static_cast<uint32_t>(Var('T')), before);
  EXPECT_LE(static_cast<uint32_t>(Var('T')), after);
  EXPECT_EQ(Str('V'), "3.08.41");
  EXPECT_EQ(Str('W'), "3.08.41");
  EXPECT_FALSE(Said("Unsuported"));

  // Results go only into variables of their kind; other selectors are not supported.
  Var('K') = 1;
  SetStringVariable(VariableIndex('V'), "kept");
  for (const char* line : {"QS 'K' V$", "QS 'V' K%", "QS 'x' K%", "QS '' K%", "QS 'd' V$"}) {
    Run(line);
    EXPECT_EQ(Var('K'), 1) << line;
    EXPECT_EQ(Str('V'), "kept") << line;
  }
  Run("QS 'Z' K%");
  EXPECT_TRUE(Said("WARNING: line: 100, cmd: 'QS' Unsuported parameter."));
}

TEST_F(QueryCommandsTest, FdListsTheMatchingNamesInTheFileSystemsOrder) {
  struct Case {
    const char* pattern;
    std::vector<std::string> names;  // sorted, for the comparison
  };
  const Case cases[] = {
      {"c;/data/*.txt", {"B.TXT", "Sub.txt", "a.txt"}},
      {"C;/DATA/?.TXT", {"B.TXT", "a.txt"}},
      {"c;/data/*", {".", "..", "B.TXT", "Sub.txt", "a.txt", "c.doc", "notes.txt.bak"}},
      {"c;/data/c.doc", {"c.doc"}},
  };
  for (const Case& c : cases) {
    const std::string line = std::string("LP 'old' 3 4001:FD '") + c.pattern + "' 3 4001 N%";
    Run(line.c_str());
    // The list shows the names as the directory gave them.
    EXPECT_EQ(Items(kList), ListWindowsDirectory(ScriptPathToWindows(c.pattern))) << c.pattern;
    std::vector<std::string> sorted = Items(kList);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, c.names) << c.pattern;
    EXPECT_EQ(Var('N'), static_cast<int32_t>(c.names.size())) << c.pattern;
    EXPECT_FALSE(Said("WARNING")) << c.pattern;
  }
  // A combo box takes the names too.
  Run("FD 'c;/data/*.doc' 3 4002 N%");
  EXPECT_EQ(Items(kCombo), std::vector<std::string>{"c.doc"});
}

TEST_F(QueryCommandsTest, FdWithoutMatchesOrWithoutAListSaysSo) {
  struct Case {
    const char* line;
    bool emptied;
    std::vector<const char*> said;
  };
  const Case cases[] = {
      {"FD 'c;/nothing/*.xyz' 3 4001 N%", true, {"Directory parameter invalid."}},
      {"FD 'c;/data/*.xyz' 3 4001 N%", true, {"Directory parameter invalid."}},
      {"FD 'c;/data/*.txt' 3 4999 N%",
       false,
       {"Control does not exist, control number: 4999", "Panel or ListBox parameter invalid."}},
      {"FD 'c;/data/*.txt' 3 4003 N%", false, {"Panel or ListBox parameter invalid."}},
      {"FD 'c;/data/*.txt' 2 4001 N%",
       false,
       {"Panel does not exist, panel number: 2", "Panel or ListBox parameter invalid."}},
  };
  for (const Case& c : cases) {
    RunText("LC 3 4001:LP 'old' 3 4001");
    Var('N') = 9;
    Run(c.line);
    EXPECT_EQ(Var('N'), 0) << c.line;
    EXPECT_EQ(Items(kList).empty(), c.emptied) << c.line;
    for (const char* text : c.said) EXPECT_TRUE(Said(text)) << c.line << ": " << text;
  }
  // A panel outside the table ends the command before anything is touched.
  Var('N') = 9;
  Run("FD 'c;/data/*.txt' 65 4001 N%");
  EXPECT_TRUE(Said("Parameter 2 is out of range"));
  EXPECT_EQ(Var('N'), 9);
}

TEST_F(QueryCommandsTest, FdKeepsTheListsBackingStoreInStep) {
  // LF's extended filter (keep the items that contain the text) works on the list's backing
  // store, which must hold what FD put in the list and nothing from before.
  Run("LP 'old.txt' 3 4001:FD 'c;/data/*.txt' 3 4001 N%:LF 'txt' 3 4001 R% 1073741842");
  std::vector<std::string> items = Items(kList);
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (std::vector<std::string>{"B.TXT", "Sub.txt", "a.txt"}));
}

}  // namespace
}  // namespace velcrum::testing
