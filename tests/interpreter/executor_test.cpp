// The line executor and the dispatcher, driven by small test commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interpreter/arguments.h"
#include "interpreter/command_table.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

// What the test commands saw, as "line:value".
std::vector<std::string> ran;

// "QA n": records n with the line it ran at.
int Record(const CommandCall& call) {
  GetArguments(call.text, 1);
  ran.push_back(std::to_string(call.line) + ":" + ParamText(1));
  return 0;
}

// "QJ n": jumps to n and ends the line, as the jump commands do.
int JumpAndEnd(const CommandCall& call) {
  GetArguments(call.text, 1);
  iJumpPending = ParamValue(1);
  return 1;
}

// "QK n": requests a jump but lets the line go on.
int JumpAndGoOn(const CommandCall& call) {
  GetArguments(call.text, 1);
  iJumpPending = ParamValue(1);
  return 0;
}

// "QS n" and "QR": a subroutine call and return, pushing the resume point.
int Call(const CommandCall& call) {
  GetArguments(call.text, 1);
  ++g_iProcStackPtr;
  g_iProcStack[g_iProcStackPtr] = {call.line, call.index + 1};
  g_bInSequence = true;
  iJumpPending = ParamValue(1);
  return 1;
}

int Return(const CommandCall&) {
  if (g_iProcStackPtr < 0) return 1;
  iJumpPending = g_iProcStack[g_iProcStackPtr].PROC_RET_LINE;
  iCmdPending = g_iProcStack[g_iProcStackPtr].resumeCommand;
  if (--g_iProcStackPtr < 0) g_bInSequence = false;
  return 1;
}

// "QE": asks for the end of the line.
int EndLine(const CommandCall&) {
  g_bEndOfLineRequest = true;
  return 0;
}

// "QV": runs a line of two commands of its own, as an evaluation does.
int Nested(const CommandCall&) {
  VLSTMSup_SetMem(kEvaluationLine, "QA 2:QA 3");
  RunLine(kEvaluationLine, 0);
  return 0;
}

class ExecutorTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    ran.clear();
    for (const auto& [name, handler] : kTestCommands) saved_.push_back(ReplaceHandler(name, handler));
  }
  void TearDown() override {
    for (size_t i = 0; i < std::size(kTestCommands); ++i) ReplaceHandler(kTestCommands[i].first, saved_[i]);
    InterpreterTest::TearDown();
  }

  static constexpr std::pair<const char*, CommandHandler> kTestCommands[] = {
      {"QA", Record}, {"QJ", JumpAndEnd}, {"QK", JumpAndGoOn}, {"QS", Call},
      {"QR", Return}, {"QE", EndLine},    {"QV", Nested},
  };
  std::vector<CommandHandler> saved_;
};

using Ran = std::vector<std::string>;

TEST_F(ExecutorTest, AJumpEndsItsLineAndRunsTheTarget) {
  Script({{100, "QA 1:QJ 200:QA 2"}, {200, "QA 3"}});
  RunLine(100, 0);
  EXPECT_EQ(ran, (Ran{"100:1", "200:3"}));
}

TEST_F(ExecutorTest, AJumpThatLetsTheLineGoOnIsTakenAfterwardsAndTheLastWins) {
  Script({{100, "QK 200:QA 1:QK 300"}, {200, "QA 2"}, {300, "QA 3"}});
  RunLine(100, 0);
  // The rest of line 100 runs first, already counted as the target line.
  EXPECT_EQ(ran, (Ran{"200:1", "300:3"}));
}

TEST_F(ExecutorTest, OutsideASubroutineALineEndsTheRun) {
  Script({{10, "QA 1"}, {11, "QA 2"}});
  RunLine(10, 0);
  EXPECT_EQ(ran, (Ran{"10:1"}));
}

TEST_F(ExecutorTest, InSequenceLinesFollowUntilAMissingLine) {
  Script({{10, "QA 1"}, {11, "QA 2:QA 3"}, {13, "QA never"}});
  g_iProcStackPtr = 4;
  g_bInSequence = true;
  RunLine(10, 0);
  EXPECT_EQ(ran, (Ran{"10:1", "11:2", "11:3"}));
  EXPECT_FALSE(g_bInSequence);
  EXPECT_EQ(g_iProcStackPtr, -1);
}

TEST_F(ExecutorTest, AReturnResumesTheCallingLineAfterTheCall) {
  Script({{2211, "QA 1:QS 300:QA 2"}, {300, "QA 3"}, {301, "QR"}});
  RunLine(2211, 0);
  EXPECT_EQ(ran, (Ran{"2211:1", "300:3", "2211:2"}));
  EXPECT_EQ(g_iProcStackPtr, -1);
  EXPECT_FALSE(g_bInSequence);
}

TEST_F(ExecutorTest, AReturnPastTheLastCommandEndsTheCallersLine) {
  Script({{50, "QA 1:QS 300"}, {51, "QA not run"}, {300, "QR"}});
  RunLine(50, 0);
  EXPECT_EQ(ran, (Ran{"50:1"}));

  // Inside an outer subroutine the next line follows instead.
  ran.clear();
  Script({{40, "QS 50"}, {41, "QR"}, {51, "QA 2"}});
  RunLine(40, 0);
  EXPECT_EQ(ran, (Ran{"50:1", "51:2"}));
}

TEST_F(ExecutorTest, MissingAndEmptyLinesEndTheRunAndEmptyTheStack) {
  VLSTMSup_SetMem(6, "");
  for (const int line : {5, 6, 0, 40000}) {
    g_iProcStackPtr = 3;
    g_bInSequence = true;
    RunLine(line, 0);
    EXPECT_EQ(g_iProcStackPtr, -1);
    EXPECT_FALSE(g_bInSequence);
  }
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(ExecutorTest, ACommentLineEndsTheRunWithoutChangingState) {
  Script({{10, "-- QA 1"}});
  g_iProcStackPtr = 2;
  g_bInSequence = true;
  RunLine(10, 0);
  EXPECT_TRUE(ran.empty());
  EXPECT_EQ(g_iProcStackPtr, 2);
  EXPECT_TRUE(g_bInSequence);
}

TEST_F(ExecutorTest, UnknownCommandsAreShownAndTheLineGoesOn) {
  struct Case {
    const char* command;
    const char* message;
  };
  const Case cases[] = {
      {"QQ 1", "Unknown Command in line 10 - stringtable: 'QQ'"},
      {"ta 1", "Unknown Command in line 10 - stringtable: 'ta'"},
      {"YA", "Unknown Command in line 10 - stringtable: 'YA'"},
      {" QA", "Unknown Command in line 10 - stringtable: ' Q'"},
      {"Q", "Unknown Command in line 10 - stringtable: 'Q"},
      {"#x", "Unknown Command in line 10 - stringtable: 0x23, 0x78"},
      {"\xe9x", "Unknown Command in line 10 - stringtable: 0xffffffe9, 0x78"},
      {"A\xe9", "Unknown Command in line 10 - stringtable: 0x41, 0xe9"},
      {"", "Unknown Command in line 10 - stringtable: 0x0, 0x0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    host.boxes.clear();
    ran.clear();
    VLSTMSup_SetMem(10, std::string(c.command) + ":QA 1");
    RunLine(10, 0);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].caption, "Information");
    EXPECT_EQ(host.boxes[0].text, c.message);
    EXPECT_EQ(ran, (Ran{"10:1"}));
  }
}

TEST_F(ExecutorTest, WithTheEditorOpenUnknownCommandsGoToItsStatusLine) {
  host.editorOpen = true;
  Script({{10, "QQ"}});
  RunLine(10, 0);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(host.editorStatus, (std::vector<std::string>{"Unknown Command in line 10 - stringtable: 'QQ'"}));
}

TEST_F(ExecutorTest, DoubleHashDoesNothing) {
  Script({{10, "## anything at all:QA 1"}});
  RunLine(10, 0);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(ran, (Ran{"10:1"}));
}

TEST_F(ExecutorTest, BreakpointAnsweredOkGoesOn) {
  Script({{10, "QA 1:!stop here:QA 2"}});
  RunLine(10, 0);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "TEST____.000 - ! Debug Breakpoint !");
  EXPECT_EQ(host.boxes[0].text, "Breakpoint signalled at line 10, command 2.");
  EXPECT_EQ(host.boxes[0].style.buttons, MessageBoxButtons::kOkCancel);
  EXPECT_EQ(host.variablesRefreshes, 1);
  EXPECT_EQ(ran, (Ran{"10:1", "10:2"}));
}

TEST_F(ExecutorTest, BreakpointAnsweredCancelEndsTheRun) {
  Script({{10, "QA 1:!:QA 2"}});
  g_iProcStackPtr = 1;
  host.answers.push_back(MessageBoxAnswer::kCancel);
  RunLine(10, 0);
  EXPECT_EQ(ran, (Ran{"10:1"}));
  EXPECT_EQ(g_iProcStackPtr, -1);
  EXPECT_EQ(g_iCurrentLine, 0);
}

TEST_F(ExecutorTest, CancelInSequenceMovesOnInsteadOfRepeatingTheLine) {
  Script({{10, "!:QA 1"}, {11, "QA 2"}});
  g_bInSequence = true;
  host.answers.push_back(MessageBoxAnswer::kCancel);
  RunLine(10, 0);
  EXPECT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(ran, (Ran{"11:2"}));
}

TEST_F(ExecutorTest, AnEndOfLineRequestSkipsTheRestOfTheLine) {
  Script({{10, "QA 1:QE:QA 2"}, {11, "QA 3"}});
  RunLine(10, 0);
  EXPECT_EQ(ran, (Ran{"10:1"}));
  EXPECT_FALSE(g_bEndOfLineRequest);
  ran.clear();
  g_bInSequence = true;
  RunLine(10, 0);
  EXPECT_EQ(ran, (Ran{"10:1", "11:3"}));
}

TEST_F(ExecutorTest, ANestedRunSharesTheGlobalsAndTheOuterLineGoesOn) {
  Script({{10, "QA 1:QV:QA 4"}});
  RunLine(10, 0);
  EXPECT_EQ(ran, (Ran{"10:1", "32768:2", "32768:3", "10:4"}));
}

TEST_F(ExecutorTest, OnlyTheFirst128CommandsOfALineRun) {
  Script({{10, (std::string(130, ':') + "QA 1").c_str()}});
  g_settings.parameterInspectMsgs = false;
  RunLine(10, 0);
  EXPECT_EQ(host.boxes.size(), 128u);
  EXPECT_TRUE(ran.empty());
}

TEST_F(ExecutorTest, TraceFollowsTheRun) {
  g_settings.outputDebug = true;
  g_settings.parameterInspectMsgs = false;
  Script({{10, "QA 1:QJ 12"}, {12, "QA 2"}});
  RunLine(10, 0);
  const std::vector<std::string> expected = {
      "Line 10, Cmds 1, Line='QA 1:QJ 12'",
      "Jump Pending",
      "Loop=1",
      "Line 12, Cmds 0, Line='QA 2'",
      "Loop=0",
  };
  EXPECT_EQ(host.debugger, expected);
  host.debugger.clear();
  RunLine(99, 0);
  EXPECT_EQ(host.debugger, (std::vector<std::string>{"LoadString() failed at line 99 - End"}));
}

TEST_F(ExecutorTest, ParserTraceShowsEachLine) {
  g_settings.outputParserTrace = true;
  g_settings.parameterInspectMsgs = false;
  Script({{10, "## x"}});
  RunLine(10, 0);
  EXPECT_EQ(host.debugger, (std::vector<std::string>{"Trace: 10, '## x'"}));
}

int32_t ExtensionTakesLine10(int32_t line, VelcrumString*, int32_t* integers,
                             VelcrumWindowHandle*, AppDllCallback callback) {
  integers[0] = line;
  if (line != 10) return 0;
  EXPECT_EQ(callback("QA 9"), 1);
  return 1;
}

TEST_F(ExecutorTest, AnExtensionLibrarySeesEveryLineFirst) {
  Script({{10, "QA 1"}, {11, "QA 2"}});
  g_pAppDllCall = ExtensionTakesLine10;
  g_bInSequence = true;
  RunLine(11, 0);
  EXPECT_EQ(ran, (Ran{"11:2"}));  // line 12 is missing; the library did not take 11
  EXPECT_EQ(g_lIntegerVariables[0], 12);
  ran.clear();
  g_bInSequence = true;
  RunLine(10, 0);
  EXPECT_EQ(ran, (Ran{"0:9"}));  // the callback runs at line 0; the run then ends
  EXPECT_FALSE(g_bInSequence);
}

}  // namespace
}  // namespace velcrum
