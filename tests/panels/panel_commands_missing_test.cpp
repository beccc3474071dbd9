// The panel and control-text commands where no panel can exist (no desktop, no dialog
// resources): what each reports, as velcrum-run shows it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interpreter/variables.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class MissingPanelTest : public testing::InterpreterTest {};

TEST_F(MissingPanelTest, EachCommandReportsAsTheAddressingRulesSay) {
  struct Case {
    const char* line;
    std::vector<std::string> reports;  // the reports after the parser's own lines, in order
  };
  const std::string error = "<TEST____.000> ERROR: line: 100, cmd: ";
  const std::string panel1 = "Panel does not exist, panel number: 1";
  const std::string control = "Control does not exist, control number: 1001";
  const Case cases[] = {
      {"PR 1", {error + "'PR' " + panel1}},
      {"PD 1", {}},
      {"PM 3 10 10", {error + "'PM' Panel does not exist, panel number: 3"}},
      {"PM 0 10 10", {error + "'PM' Panel does not exist, panel number: 0"}},
      {"PV 1 1", {error + "'PV' " + panel1}},
      {"TP 'x' 1 1001", {error + "'TP' " + panel1, error + "'TP' " + control}},
      {"TG 1 1001 A$", {error + "'TG' " + panel1, error + "'TG' " + control}},
      {"TM 1 1 1 1001", {error + "'TM' " + panel1, error + "'TM' " + control}},
      {"TC 1 1 1 1001", {}},
      {"NG 1 1001 A%", {}},
      {"NP 5 1 1001", {}},
      {"CC 1 1001", {error + "'CC' " + panel1}},
      {"CF 1 1001", {error + "'CF' " + panel1}},
      {"CS 1 1001 5 5", {error + "'CS' Panel does not exist, PanelId: 1"}},
      {"CD 1 1001",
       {error + "'CD' " + panel1, "<TEST____.000> WARNING: line: 100, cmd: 'CD' " + control}},
      {"BP 1 1001 0 0 'x'", {error + "'BP' " + panel1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    host.debugger.clear();
    Run(c.line);
    EXPECT_EQ(Reports(), c.reports);
  }
}

TEST_F(MissingPanelTest, CreationFailureNamesTheResource) {
  Run("PS 7");
  EXPECT_TRUE(DebuggerSaid(
      "CreateDialog FAILED. Line: 100, Panel: 7, Panel Name: '#7' (error: 1814). Resource "
      "does not exist."));
  EXPECT_TRUE(DebuggerSaid("CreateDialog FAILED. Line: 100, Panel: 7, Panel Name: '#7'"));
}

TEST_F(MissingPanelTest, PanelNumbersOutsideTheTableOnlyWarn) {
  for (const char* line : {"PI 65", "PS 0", "PR 65", "PD -1", "PM 65 1 1", "PZ 65 1 1"}) {
    SCOPED_TRACE(line);
    host.debugger.clear();
    Run(line);
    const std::vector<std::string> reports = Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Parameter 1 is out of range"), std::string::npos);
  }
}

TEST_F(MissingPanelTest, SizeIsTracedAndEachSizeOutsideTheLimitWarned) {
  Run("PZ 2 0 40000");
  EXPECT_TRUE(DebuggerSaid("Panel Size =2 x=0 y=40000"));
  EXPECT_TRUE(DebuggerSaid("cmd: 'PZ'  Parameter 2 is out of range"));
  EXPECT_TRUE(DebuggerSaid("cmd: 'PZ'  Parameter 3 is out of range"));
  EXPECT_TRUE(DebuggerSaid("'PZ' Panel does not exist, panel number: 2"));
}

TEST_F(MissingPanelTest, NumberFromAMissingControlIsZero) {
  g_lIntegerVariables[0] = 5;
  Run("NG 1 1001 A%");
  EXPECT_EQ(g_lIntegerVariables[0], 0);
}

}  // namespace
}  // namespace velcrum
