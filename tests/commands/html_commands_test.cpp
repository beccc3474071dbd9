// HO, HW, HC, HD and HR through the executor, on a private drive C: the pages read back
// byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "interpreter/executor.h"
#include "interpreter/settings.h"
#include "runtime/module.h"
#include "support/files.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;

constexpr char kHead[] =
    "<HTML>\n<HEAD>\n<META NAME=\"Velcrum\" Content=\"Panel File\">\n"
    "<META HTTP-EQUIV=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n";

std::string Head(const std::string& title, int refresh) {
  std::string head = kHead;
  head += "<TITLE>" + title + "</TITLE>\n";
  if (refresh != 0)
    head += "<META HTTP-EQUIV=\"Refresh\" CONTENT=\"" + std::to_string(refresh) + "\">\n";
  return head + "</HEAD>\n";
}

class HtmlCommandsTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    char pattern[] = "/tmp/velcrum-html-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    base_ = pattern;
    fs::create_directories(base_ / "drive_c" / "web");
    setenv("VELCRUM_ROOT", base_.c_str(), 1);
    unsetenv("VELCRUM_DRIVE_C");
  }
  void TearDown() override {
    ResetModules();  // closes what a test left open while its drive is still there
    std::error_code ignored;
    fs::remove_all(base_, ignored);
    unsetenv("VELCRUM_ROOT");
    g_settings = InterpreterSettings{};
    InterpreterTest::TearDown();
  }
  fs::path Web(const char* name) const { return base_ / "drive_c" / "web" / name; }
  std::string Page(const char* name) const { return testing::ReadWholeFile(Web(name)); }

  fs::path base_;
};

TEST_F(HtmlCommandsTest, APageIsItsHeadTheWrittenTextAndTheClosingTags) {
  struct Case {
    const char* lines;
    const char* file;
    std::string page;
  };
  const Case cases[] = {
      {"HO 1 'c;/web/p.htm' 'Studio' 5:HW 1 '<BODY>':HC 1", "p.htm",
       Head("Studio", 5) + "<BODY></BODY>\n</HTML>\n"},
      {"HO 2 'c;/web/q.htm' 'No refresh' 0:HC 2", "q.htm",
       Head("No refresh", 0) + "</BODY>\n</HTML>\n"},
      // Texts go on without line ends; "%%" is one "%", any other "%" stays.
      {"HO 32 'c;/web/r.htm' '' -1:HW 32 '<P>100%% on air':HW 32 ' %d %s 5%':HW 32 '%%%':HC 32",
       "r.htm", Head("", -1) + "<P>100% on air %d %s 5%%%</BODY>\n</HTML>\n"},
      // Names are found without regard to case; the title is written as it is given.
      {"HO 3 'C;/WEB/S.HTM' 'a <b>':HC 3", "S.HTM", Head("a <b>", 0) + "</BODY>\n</HTML>\n"},
  };
  for (const Case& c : cases) {
    Run(c.lines);
    EXPECT_EQ(Page(c.file), c.page) << c.lines;
  }
}

TEST_F(HtmlCommandsTest, ReopeningASlotFinishesItsPageFirst) {
  Run("HO 4 'c;/web/a.htm' 'A' 0:HW 4 'first'");
  Run("HO 4 'c;/web/b.htm' 'B' 0:HW 4 'second'");
  EXPECT_EQ(Page("a.htm"), Head("A", 0) + "first\n</BODY>\n</HTML>\n");
  Run("HC 4");
  EXPECT_EQ(Page("b.htm"), Head("B", 0) + "second</BODY>\n</HTML>\n");
}

TEST_F(HtmlCommandsTest, AnExistingPageStaysWholeUntilTheNewOneIsClosed) {
  Run("HO 1 'c;/web/live.htm' 'Old' 5:HW 1 'old':HC 1");
  const std::string old = Page("live.htm");
  Run("HO 1 'c;/web/live.htm' 'New' 5:HW 1 'new'");
  EXPECT_EQ(Page("live.htm"), old);
  Run("HC 1");
  EXPECT_EQ(Page("live.htm"), Head("New", 5) + "new</BODY>\n</HTML>\n");
}

TEST_F(HtmlCommandsTest, SlotsOutsideOneToThirtyTwoAreReportedAndClosedSlotsIgnored) {
  for (const char* line :
       {"HO 0 'c;/web/x.htm' 'X' 0", "HO 33 'c;/web/x.htm' 'X' 0", "HW 33 'text'", "HC -1"}) {
    host.debugger.clear();
    Run(line);
    EXPECT_TRUE(DebuggerSaid("is out of range")) << line;
  }
  EXPECT_FALSE(fs::exists(Web("x.htm")));
  host.debugger.clear();
  Run("HW 7 'nobody reads this':HC 7");
  EXPECT_TRUE(Reports().empty()) << ::testing::PrintToString(Reports());
}

TEST_F(HtmlCommandsTest, ANameThatCannotBeCreatedLeavesTheSlotClosed) {
  const struct {
    const char* line;
    const char* said;
  } cases[] = {
      {"HO 5 '' 'T' 0", "File does not exist: '' "},
      {"HO 5 'c;/missing/p.htm' 'T' 0", "File does not exist: 'c:\\missing\\p.htm' "},
      {"HO 5 'c;/web' 'T' 0", "File does not exist: 'c:\\web' "},
  };
  for (const auto& c : cases) {
    host.debugger.clear();
    Run(c.line);
    EXPECT_TRUE(DebuggerSaid(c.said)) << c.line;
    EXPECT_TRUE(DebuggerSaid("WARNING")) << c.line;
    // The slot stays closed: writing to it and closing it make nothing.
    Run("HW 5 'x':HC 5");
  }
  EXPECT_FALSE(fs::exists(base_ / "drive_c" / "missing"));
}

TEST_F(HtmlCommandsTest, APageThatCannotBeWrittenAtCloseSaysSo) {
  // A directory takes the page's place while it is being written.
  Run("HO 6 'c;/web/gone.htm' 'T' 0:HW 6 'text'");
  fs::remove(Web("gone.htm"));
  fs::create_directory(Web("gone.htm"));
  Run("HC 6");
  EXPECT_TRUE(DebuggerSaid("c:\\web\\gone.htm"));
  EXPECT_TRUE(DebuggerSaid("WARNING"));
}

TEST_F(HtmlCommandsTest, TheResetFinishesOpenPagesWithTheirClosingTags) {
  Run("HO 8 'c;/web/open.htm' 'Open' 0:HW 8 '<BODY>kept'");
  ResetModules();
  EXPECT_EQ(Page("open.htm"), Head("Open", 0) + "<BODY>kept</BODY>\n</HTML>\n");
  // The slot is closed: nothing more reaches the page.
  Run("HW 8 'late':HC 8");
  EXPECT_EQ(Page("open.htm"), Head("Open", 0) + "<BODY>kept</BODY>\n</HTML>\n");
}

TEST_F(HtmlCommandsTest, OverLongTextsAreWrittenWholeUnlessInspectionIsStrict) {
  // No script line holds such a text; the command comes straight to the dispatcher.
  const std::string text(300, 't');
  const auto write = [&text] {
    DispatchCommand("HO 9 'c;/web/long.htm' 'L' 0", 100, 0);
    DispatchCommand("HW 9 '" + text + "'", 100, 1);
    DispatchCommand("HC 9", 100, 2);
  };
  write();
  EXPECT_EQ(Page("long.htm"), Head("L", 0) + text + "</BODY>\n</HTML>\n");
  // Under strict inspection the command stops after the report.
  g_settings.parameterInspection = Inspection::kStrict;
  write();
  EXPECT_EQ(Page("long.htm"), Head("L", 0) + "</BODY>\n</HTML>\n");
}

TEST_F(HtmlCommandsTest, HdDeletesAndHrRenamesSilently) {
  std::ofstream(Web("old.htm")) << "page";
  std::ofstream(Web("gone.htm")) << "page";
  Run("HR 'c;/web/old.htm' 'c;/web/new.htm':HD 'c;/web/gone.htm'");
  EXPECT_FALSE(fs::exists(Web("old.htm")));
  EXPECT_EQ(Page("new.htm"), "page");
  EXPECT_FALSE(fs::exists(Web("gone.htm")));
  // Failures report nothing to the script; a file that is not there is no failure of HD.
  host.debugger.clear();
  Run("HD 'c;/web/gone.htm':HR 'c;/web/none.htm' 'c;/web/other.htm'");
  EXPECT_FALSE(DebuggerSaid("WARNING"));
  EXPECT_FALSE(DebuggerSaid("ERROR"));
  EXPECT_FALSE(DebuggerSaid("HD:"));
  EXPECT_TRUE(DebuggerSaid("HR: renaming 'c:\\web\\none.htm' failed"));
}

}  // namespace
}  // namespace velcrum
