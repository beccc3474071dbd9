// ET and EO: the script timers' state and the main window's timers, the exec override.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "interpreter/variables.h"
#include "runtime/event_routing.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class EventCommandsTest : public testing::InterpreterTest {};

TEST_F(EventCommandsTest, TimerStartsAtHalfThePeriodAndStopsWithPeriodZero) {
  Run("ET 2 1000 2211 2212");
  EXPECT_EQ(host.timers.at(2), 500u);
  EXPECT_EQ(g_scriptTimers[2].state, 1);
  EXPECT_EQ(g_scriptTimers[2].firstLine, 2211);
  EXPECT_EQ(g_scriptTimers[2].secondLine, 2212);

  Run("ET 2 0");
  EXPECT_EQ(host.timers.count(2), 0u);
  EXPECT_EQ(g_scriptTimers[2].state, 0);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(EventCommandsTest, TimerOneSetsTheClockVariablesAtOnce) {
  Run("ET 1 1000 9001 9002");
  EXPECT_TRUE(std::regex_match(g_szStringVariables[VariableIndex('T')],
                               std::regex("[0-2][0-9]:[0-5][0-9]:[0-5][0-9]")));
  EXPECT_TRUE(std::regex_match(g_szStringVariables[VariableIndex('U')],
                               std::regex("[0-3][0-9]-(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|"
                                          "Nov|Dec)-[0-9]{4}")));
}

TEST_F(EventCommandsTest, TimerWithoutLinesWarnsAndStartsNothing) {
  Run("ET 3 500");
  EXPECT_TRUE(
      DebuggerSaid("WARNING: line: 100, cmd: 'ET' Both <Offset1%> and <Offset2%> are zero"));
  EXPECT_TRUE(host.timers.empty());
  EXPECT_EQ(g_scriptTimers[3].state, 0);
}

TEST_F(EventCommandsTest, InvalidLinesAreStoredButLeaveARunningTimerRunning) {
  Run("ET 4 400 10 20");
  Run("ET 4 800 0 32767");
  EXPECT_EQ(host.timers.at(4), 200u);
  EXPECT_EQ(g_scriptTimers[4].firstLine, 0);
  EXPECT_EQ(g_scriptTimers[4].secondLine, 32767);
}

TEST_F(EventCommandsTest, TimerOutsideOneToSixteenIsReported) {
  Run("ET 17 1000 1 2");
  EXPECT_TRUE(DebuggerSaid("cmd: 'ET'  Parameter 1 is out of range"));
  EXPECT_TRUE(DebuggerSaid("ERROR: line: 100, cmd: 'ET' Timer does not exist, Timer number: 17"));
  EXPECT_TRUE(host.timers.empty());
}

TEST_F(EventCommandsTest, OverrideIsSetForAValidRangeAndClearedOtherwise) {
  struct Case {
    const char* line;
    ExecOverride expected;
    const char* debug;
  };
  const Case cases[] = {
      {"EO 1001 1010 2000 B%",
       {1001, 1010, 2000, 1},
       "Setting override for Id's between 1001 and 1010 to go to line 2000"},
      {"EO 5 5 40000 'x'",
       {5, 5, 40000, 0},
       "Setting override for Id's between 5 and 5 to go to line 40000"},
      {"EO 0", {}, "Clearing Exec Override"},
      {"EO 10 9 1 B%", {}, "Clearing Exec Override"},
      {"EO 1 32767 1 B%", {}, "Clearing Exec Override"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    g_execOverride = ExecOverride{7, 8, 9, 10};
    host.debugger.clear();
    Run(c.line);
    EXPECT_EQ(g_execOverride.low, c.expected.low);
    EXPECT_EQ(g_execOverride.high, c.expected.high);
    EXPECT_EQ(g_execOverride.line, c.expected.line);
    EXPECT_EQ(g_execOverride.variable, c.expected.variable);
    EXPECT_TRUE(DebuggerSaid(c.debug));
  }
}

}  // namespace
}  // namespace velcrum
