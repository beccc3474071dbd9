// The list commands where no panel can exist (no desktop, no dialog resources): what each
// reports, as velcrum-run shows it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interpreter/variables.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class MissingListTest : public testing::InterpreterTest {};

TEST_F(MissingListTest, EachCommandReportsAsTheAddressingRulesSay) {
  struct Case {
    const char* line;
    std::vector<std::string> reports;  // the reports after the parser's own lines, in order
  };
  const std::string error = "<TEST____.000> ERROR: line: 100, cmd: ";
  const std::string panel = "Panel does not exist, panel number: 1";
  const std::string control = "Control does not exist, control number: 1001";
  const auto missing = [&](const char* command) {
    return std::vector<std::string>{error + "'" + command + "' " + panel,
                                    error + "'" + command + "' " + control};
  };
  const Case cases[] = {
      {"LP 'x' 1 1001", missing("LP")},        {"LC 1 1001", missing("LC")},
      {"LQ 1 1001 A%", missing("LQ")},         {"LG 1 1001 A$ A%", missing("LG")},
      {"LI 1 1 1 1001 0", missing("LI")},      {"LL 'c;/x.txt' 1 2 1 1001", missing("LL")},
      {"LS 'c;/x.txt' 1 1001", missing("LS")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    host.debugger.clear();
    Run(c.line);
    EXPECT_EQ(Reports(), c.reports);
  }
}

TEST_F(MissingListTest, NumbersOutOfRangeWarnAndAPanelOutsideTheTableEndsTheCommand) {
  struct Case {
    const char* line;
    int param;              // the parameter reported out of range
    bool addressingGoesOn;  // the panel and control are then looked for
  };
  const Case cases[] = {
      {"LC 65 1", 1, false},         {"LQ 0 1 A%", 1, false},   {"LI 1 1 65 1 0", 3, false},
      {"LL 'x' 1 2 65 1", 4, false}, {"LP 'x' 1 0", 3, true},   {"LL 'x' 0 2 1 1", 2, true},
      {"LA 'x' 1 1 0", 4, true},     {"LI 1 0 1 1 0", 2, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    host.debugger.clear();
    Run(c.line);
    EXPECT_TRUE(DebuggerSaid("Parameter " + std::to_string(c.param) + " is out of range"));
    EXPECT_EQ(DebuggerSaid("Panel does not exist"), c.addressingGoesOn);
  }
}

TEST_F(MissingListTest, FilterWithoutAListSetsItsResultToZero) {
  g_lIntegerVariables[0] = 5;
  Run("LF 'x' 1 1001 A% 0");
  EXPECT_EQ(g_lIntegerVariables[0], 0);
  EXPECT_TRUE(DebuggerSaid("'LF' Control does not exist, control number: 1001"));
  EXPECT_TRUE(DebuggerSaid("ListBox ID is invalid"));
}

}  // namespace
}  // namespace velcrum
