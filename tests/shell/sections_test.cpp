// WAKEUP, SLEEP and the start parameter they restore.
#include "shell/sections.h"

#include <gtest/gtest.h>

#include <string>

#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/variables.h"
#include "runtime/process_state.h"
#include "shell/configuration.h"
#include "support/line_running_host.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class SectionsTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    ResetProcessState();
    ResetConfiguration();
    // Each section records that it ran in memory 1 and goes on in sequence to line +1.
    Script({{30500, "MS 30500 1 1"}, {31500, "MS 31500 1 1"}, {31501, "MS 31501 2 2"}});
  }
  void TearDown() override {
    ResetProcessState();
    InterpreterTest::TearDown();
  }
};

TEST_F(SectionsTest, StartParameterIsCutTo255AndGivesItsLeadingNumber) {
  SetStartParameter("42 apples");
  EXPECT_STREQ(g_szStringVariables[kEventVariable], "42 apples");
  EXPECT_EQ(g_lIntegerVariables[kEventVariable], 42);

  SetStartParameter(std::string(300, 'x'));
  EXPECT_EQ(g_szStartParameter.size(), 255u);
  EXPECT_EQ(g_lIntegerVariables[kEventVariable], 0);
}

TEST_F(SectionsTest, WakeupAndSleepRunOnlyBetweenStartUpAndShutDown) {
  struct Case {
    bool startUpDone;
    bool closing;
    uint32_t wParam;
    int32_t expectedMemory1;
  };
  const Case cases[] = {
      {false, false, 1, 0},     // before start-up: nothing
      {true, true, 1, 0},       // closing: nothing
      {true, false, 1, 30500},  // activated: WAKEUP
      {true, false, 0, 31500},  // deactivated: SLEEP
  };
  for (const Case& c : cases) {
    SetMem("MS", 1, 0);
    SetMem("MS", 2, 0);
    bStartUpDone = c.startUpDone;
    g_bClosingDown = c.closing;
    OnActivateApp(c.wParam);
    EXPECT_EQ(GetMem("MG", 1), c.expectedMemory1) << c.startUpDone << c.closing << c.wParam;
    EXPECT_FALSE(g_bInSequence);
  }
}

TEST_F(SectionsTest, SleepRunsInSequenceAndWakeupRestoresTheStartParameter) {
  bStartUpDone = true;
  SetStartParameter("7 up");
  SetStringVariable(kEventVariable, "changed by an event");
  g_lIntegerVariables[kEventVariable] = 99;

  OnActivateApp(0);
  EXPECT_EQ(GetMem("MG", 2), 31501) << "the section goes on to the next line";
  EXPECT_STREQ(g_szStringVariables[kEventVariable], "7 up");
  EXPECT_EQ(g_lIntegerVariables[kEventVariable], 7);
}

TEST_F(SectionsTest, ASectionThatRunsInsideALineLeavesTheLineItsPlace) {
  // The application loses activation while a subroutine's box (an unknown command) is
  // open: SLEEP runs inside that line and ends at its missing line 31502.
  bStartUpDone = true;
  testing::LineRunningHost boxes(host);
  boxes.whileOpen = [] { OnActivateApp(0); };
  SetHost(&boxes);
  Script({{300, "JS 500:MS 7 3 3"}, {500, "QQ:JR"}});
  RunLine(300, 0);
  EXPECT_EQ(boxes.boxesThatRan, 1);
  EXPECT_EQ(GetMem("MG", 2), 31501);
  EXPECT_EQ(GetMem("MG", 3), 7) << "the subroutine returned and its caller went on";
  EXPECT_EQ(g_iProcStackPtr, -1);
  EXPECT_FALSE(g_bInSequence);
}

TEST_F(SectionsTest, WakeupWithTheStackTraceFlagReportsTheStack) {
  bStartUpDone = true;
  g_config.debugFlags = kDebugSubroutineStackTrace;
  OnActivateApp(1);
  EXPECT_TRUE(
      DebuggerSaid("VLWndProc: KAL_ACTIVATEAPP: VL_WAKEUP iProcStackPtr:0, "
                   "g_iProcStack[g_iProcStackPtr][PROC_RET_LINE]:0"));
}

}  // namespace
}  // namespace velcrum
