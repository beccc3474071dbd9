// The script editor of a running panel, worked with real input: opened from the panel's
// pop-up menu, records typed into its field, its buttons pressed, and what the panel's
// lines and the files show afterwards. File dialogs and boxes are answered headless
// (VELCRUM_FILEDIALOG, VELCRUM_MESSAGEBOX).
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "panel_fixture.h"
#include "support/files.h"

namespace velcrum::testing {
namespace {

namespace fs = std::filesystem;
using platform::Hwnd;
using platform::kNoWindow;
using platform::testing::Peer;

constexpr char kResources[] = R"(#include <windows.h>
1 DIALOGEX 10, 10, 200, 100
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION
CAPTION "Edit panel"
FONT 8, "MS Sans Serif"
BEGIN
    PUSHBUTTON "Show", 120, 5, 5, 40, 14
    LTEXT "", 3001, 5, 30, 80, 10
END
)";

const std::vector<std::string> kScript = {
    R"(120, "TP 'one' 1 3001")",
    R"(30000, "PS 1")",
};

constexpr char kList[] = "604";
constexpr char kField[] = "602";
constexpr char kStatus[] = "606";

class ScriptEditorTest : public PanelTest {
 protected:
  void TearDown() override {
    if (!savedDirectory_.empty()) fs::current_path(savedDirectory_);
    unsetenv("VELCRUM_FILEDIALOG");
    PanelTest::TearDown();
  }
  // The panel, started in its own directory (the editor saves into the current one), with
  // the editor open.
  void StartWithEditor(const std::vector<std::string>& script = kScript) {
    StartNxi();
    WriteVelcrumIni({"[Debug]", "EnableOutputDBWIN=1", "OutputDebug=1"});
    const std::string program = MakePanel("DESK", script);
    MakeResourceScript("DESK", kResources);
    savedDirectory_ = fs::current_path();
    fs::current_path(panels_);
    panelProcess_ = &StartPanel(program);
    const Hwnd panel = AwaitWindow("Edit panel");
    ASSERT_NE(panel, kNoWindow) << ErrorOutput(*panelProcess_);
    panel_ = HandleText(panel);
    Tool({"press", panel_, "right", "250", "120"});
    Tool({"key", panel_, "e"});
    const Hwnd editor = AwaitWindow("Velcrum Editor");
    ASSERT_NE(editor, kNoWindow) << ErrorOutput(*panelProcess_);
    editor_ = HandleText(editor);
  }
  // The field's text replaced by `record`, as an author selects all and types.
  void Type(const std::string& record) {
    Tool({"click", editor_, kField});
    Tool({"key", editor_, "{Ctrl+a}{Backspace}"});
    if (!record.empty()) Tool({"key", editor_, record});
  }
  void Press(int button) { Tool({"click", editor_, std::to_string(button)}); }
  // The text of a control as `desktop controls` shows it, quoted.
  std::string Text(const std::string& window, const std::string& id) {
    const std::string out = Tool({"controls", window});
    const std::string start = "\n" + id + " ";
    const size_t line = ("\n" + out).find(start);
    if (line == std::string::npos) return "(no control " + id + ")";
    const size_t end = out.find('\n', line);
    const std::string text = out.substr(line, end - line);
    return text.substr(text.find('"'));
  }
  bool Shows(const std::string& window, const std::string& id, const std::string& quoted) {
    return WaitUntil([&] { return Text(window, id) == quoted; }, 5000);
  }
  std::string Items() { return Tool({"items", editor_, kList}); }
  std::string FirstItem() {
    const std::string items = Items();
    return items.substr(0, items.find('\n'));
  }

  Peer* panelProcess_ = nullptr;
  std::string panel_;
  std::string editor_;
  fs::path savedDirectory_;
};

TEST_F(ScriptEditorTest, ListsTheStoreAndChecksEveryRecordBeforeStoringIt) {
  StartWithEditor();
  EXPECT_EQ(Items(), "0 \"120, \\\"TP 'one' 1 3001\\\"\"\n1 \"30000, \\\"PS 1\\\"\"\n");
  EXPECT_EQ(Text(editor_, kStatus), "\"Ready\"");
  // Choosing a line copies its record into the field.
  Tool({"select", editor_, kList, "0"});
  EXPECT_TRUE(Shows(editor_, kField, "\"120, \\\"TP 'one' 1 3001\\\"\""));

  const struct {
    std::string record;
    std::string status;
  } cases[] = {
      {"", "\"Error - NULL string\""},
      {"abc, \"TP 'x' 1 3001\"", "\"Error - Line number out of range\""},
      {"32768, \"TP 'x' 1 3001\"", "\"Error - Line number out of range\""},
      {"120, TP 'x' 1 3001", "\"Error - Quotation marks missing\""},
      {"120, \"TP 'x' 1 3001", "\"Error - Quotation mark missing\""},
      {"120, \"TP 'x' 1 3001\"\"", "\"Error - Too many quotation marks\""},
  };
  for (const auto& c : cases) {
    Type(c.record);
    Press(709);
    EXPECT_TRUE(Shows(editor_, kStatus, c.status)) << c.record << ": " << Text(editor_, kStatus);
  }
  // Nothing was stored: the line still shows "one".
  Tool({"click", panel_, "120"});
  EXPECT_TRUE(Shows(panel_, "3001", "\"one\""));
  EXPECT_EQ(FirstItem(), "0* \"120, \\\"TP 'one' 1 3001\\\"\"");

  // Submit stores the line the panel runs next; Execute runs the stored line at once.
  Type("120, \"TP 'two' 1 3001\"");
  Press(709);
  EXPECT_TRUE(Shows(editor_, kStatus, "\"Ready\""));
  EXPECT_EQ(FirstItem(), "0* \"120, \\\"TP 'two' 1 3001\\\"\"");
  Tool({"click", panel_, "120"});
  EXPECT_TRUE(Shows(panel_, "3001", "\"two\""));
  Type("130, \"TP 'three' 1 3001\"");
  Press(709);
  Press(707);
  EXPECT_TRUE(Shows(panel_, "3001", "\"three\""));
  // A line number 32400 (the network status line) is the author's to edit too.
  Type("32400, \"TP 'net' 1 3001\"");
  Press(707);
  EXPECT_TRUE(Shows(editor_, kStatus, "\"Ready\""));
}

TEST_F(ScriptEditorTest, AutoModeStoresWhatIsTypedAndExitCloses) {
  StartWithEditor();
  Press(708);
  EXPECT_TRUE(Shows(editor_, "708", "\"Auto On\""));
  EXPECT_TRUE(AwaitOutput(*panelProcess_, "Auto mode ON.")) << ErrorOutput(*panelProcess_);
  // Whatever forms a valid record is stored within 200 ms, without Submit: Execute runs
  // the stored line.
  Type("140, \"TP 'auto' 1 3001\"");
  EXPECT_TRUE(WaitUntil(
      [&] {
        Press(707);
        return Text(panel_, "3001") == "\"auto\"";
      },
      5000));
  Press(708);
  EXPECT_TRUE(Shows(editor_, "708", "\"Auto Off\""));
  EXPECT_TRUE(AwaitOutput(*panelProcess_, "Auto mode OFF."));

  // Exit closes the editor; the menu opens it again.
  Press(700);
  EXPECT_TRUE(WaitUntil([] { return platform::FindWindow("Velcrum Editor") == kNoWindow; }));
  Tool({"press", panel_, "right", "250", "120"});
  Tool({"key", panel_, "e"});
  EXPECT_NE(AwaitWindow("Velcrum Editor"), kNoWindow);
}

TEST_F(ScriptEditorTest, SaveWritesTheDefaultFileAndTheFileButtonsLoadAndAppend) {
  const fs::path copy = fs::path(dir_) / "copy.ast";
  setenv("VELCRUM_FILEDIALOG", copy.c_str(), 1);
  setenv("VELCRUM_MESSAGEBOX", "yes", 1);
  StartWithEditor();

  Press(704);
  const fs::path saved = panels_ / "DESK____.ast";
  EXPECT_TRUE(Shows(editor_, kStatus, "\"Saved DESK____.ast\""));
  EXPECT_NE(ReadWholeFile(saved).find("120, \"TP 'one' 1 3001\""), std::string::npos);

  Press(705);  // Save As: the dialog's answer
  EXPECT_TRUE(WaitUntil([&] { return fs::exists(copy); }, 5000));
  EXPECT_NE(ReadWholeFile(copy).find("30000, \"PS 1\""), std::string::npos);

  // Erase, answered Yes, empties the store and the list.
  Press(701);
  EXPECT_TRUE(AwaitOutput(*panelProcess_,
                          "MESSAGEBOX ! Warning !: Please confirm you wish to "
                          "erase all stringtable entries from memory?"));
  EXPECT_TRUE(WaitUntil([&] { return Items().empty(); }, 5000));
  EXPECT_TRUE(Shows(editor_, kField, "\" \""));
  // Append brings the saved lines back; Load erases first, then does the same.
  Press(703);
  EXPECT_TRUE(WaitUntil([&] { return Items().find("30000, ") != std::string::npos; }, 5000));
  Press(702);
  EXPECT_TRUE(WaitUntil([&] { return Items().find("120, ") != std::string::npos; }, 5000));
  Tool({"click", panel_, "120"});
  EXPECT_TRUE(Shows(panel_, "3001", "\"one\""));
}

TEST_F(ScriptEditorTest, StartScrollsTheListToTheStartUpSection) {
  // More lines than the list shows, before the start-up section.
  std::vector<std::string> script = kScript;
  for (int line = 1; line <= 60; ++line) {
    script.push_back(std::to_string(line) + ", \"EI line " + std::to_string(line) + "\"");
  }
  StartWithEditor(script);
  const std::string before = dir_ + "/before.png";
  const std::string after = dir_ + "/after.png";
  Tool({"shot", editor_, before});
  Press(706);
  Tool({"shot", editor_, after});
  EXPECT_NE(ReadWholeFile(before), ReadWholeFile(after)) << "the list did not scroll";
  // Scrolled already: a second Start leaves the list where it is.
  Press(706);
  Tool({"shot", editor_, before});
  EXPECT_EQ(ReadWholeFile(before), ReadWholeFile(after));
}

TEST_F(ScriptEditorTest, EraseAnsweredNoKeepsEveryLine) {
  setenv("VELCRUM_MESSAGEBOX", "no", 1);
  StartWithEditor();
  Press(701);
  EXPECT_TRUE(AwaitOutput(*panelProcess_, "MESSAGEBOX ! Warning !"));
  Press(709);  // a check after the box: the list still holds both lines
  EXPECT_EQ(Items(), "0 \"120, \\\"TP 'one' 1 3001\\\"\"\n1 \"30000, \\\"PS 1\\\"\"\n");
}

TEST_F(ScriptEditorTest, AnUnknownCommandIsReportedOnTheStatusLine) {
  StartWithEditor();
  Type("150, \"QQ 1\"");
  Press(709);
  Press(707);
  EXPECT_TRUE(Shows(editor_, kStatus, "\"Unknown Command in line 150 - stringtable: 'QQ'\""))
      << Text(editor_, kStatus);
}

}  // namespace
}  // namespace velcrum::testing
