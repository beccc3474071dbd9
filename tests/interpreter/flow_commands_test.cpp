// Jumps, comparisons, computed jumps, subroutines, EG and EV, run through the executor.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/nested_run.h"
#include "interpreter/preparsed_arguments.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class FlowCommandsTest : public testing::InterpreterTest {
 protected:
  static int32_t& Int(char letter) { return g_lIntegerVariables[VariableIndex(letter)]; }
  static void Str(char letter, const std::string& text) {
    SetStringVariable(VariableIndex(letter), text);
  }

  // Line 100 runs the command under test and then "NL 9 Z%"; the lines it may jump to
  // record themselves in Z%. Z% is 9 when the line went on, 0 when it ended without a
  // jump, otherwise the target's mark.
  int32_t Branch(const std::string& command) {
    Int('Z') = 0;
    VLSTMSup_SetMem(100, command + ":NL 9 Z%");
    RunLine(100, 0);
    return Int('Z');
  }

  void SetUp() override {
    InterpreterTest::SetUp();
    Script({{200, "NL 2 Z%"}, {300, "NL 3 Z%"}, {400, "NL 4 Z%"}, {205, "NL 5 Z%"}});
  }

  std::string LastSaid() const {
    const std::vector<std::string> reports = Reports();
    return reports.empty() ? "" : reports.back();
  }
};

TEST_F(FlowCommandsTest, ComparisonJumpsChooseTheirLine) {
  Str('B', "0");
  Str('C', "00");
  Int('E') = 2110;
  Int('F') = 2111;
  struct Case {
    const char* command;
    int32_t expected;  // 2, 3 or 4: that line ran; 9: the line went on; 0: it ended
  };
  const Case cases[] = {
      {"JA 200", 2},
      {"JA 0", 0},
      {"JE 5 5 200 300", 2},
      {"JE 5 6 200 300", 3},
      {"JE 5 5 0 300", 9},
      {"JE 5 6 200 0", 9},
      {"JL 1 2 200 300", 2},
      {"JL 2 2 200 300", 3},
      {"JL -1 1 200 300", 2},  // signed comparison
      {"JL 2147483647 -2147483648 200 300", 3},
      {"JL E% 2111 200 300", 2},
      {"JL F% 2111 200 300", 3},
      {"JC B$ 0 200 0", 2},
      {"JC C$ 0 200 0", 9},
      {"JC 'abc' 'abc' 200 300", 2},
      {"JC 'abc' 'ABC' 200 300", 3},  // case-sensitive
      {"JC '' '' 200 300", 2},
      {"JI 'b' 'abc' 200 300", 2},
      {"JI 'B' 'abc' 200 300", 3},
      {"JI 'abcd' 'abc' 200 300", 3},
      {"JI '' 'abc' 200 300", 2},  // the empty text occurs everywhere
      {"JI 'x' 'abc' 200 0", 9},
      {"JO 150 50", 2},
      {"JO 400 -100", 3},
      {"JO 0 0", 9},
      {"JG 2 5 '100,200,300'", 5},
      {"JG 1 100 '100,200,300'", 2},
      {"JG 4 5 '100,200,300'", 9},  // no fourth item
      {"JG 3 5 '100,0,300'", 9},    // a 0 item ends the list
      {"JG 2 0 '100,0,300'", 9},    // the wanted item is 0: no jump
      {"JG 0 5 '100,200,300'", 9},
      {"JG 3 0 '200,,400'", 9},  // an empty item reads as 0
      {"JG 2 0 ' 300 , 400'", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(Branch(c.command), c.expected);
  }
}

TEST_F(FlowCommandsTest, ALineNumberAbove32767IsReportedAndThenRunAsMissing) {
  // JA refuses it and the line goes on.
  EXPECT_EQ(Branch("JA 40000"), 9);
  EXPECT_EQ(LastSaid(),
            "<TEST____.000> WARNING: line: 100, cmd: 'JA'  Parameter 1 is out of range. Value "
            "found: 40000");
  EXPECT_EQ(Branch("JA -1"), 9);

  // The comparisons report it and still choose it: the chosen line is missing, which
  // ends the run and empties the subroutine stack.
  host.debugger.clear();
  g_iProcStackPtr = 2;
  EXPECT_EQ(Branch("JE 1 1 40000 300"), 0);
  EXPECT_TRUE(DebuggerSaid("cmd: 'JE'  Parameter 3 is out of range. Value found: 40000"));
  EXPECT_EQ(g_iProcStackPtr, -1);
  // An out-of-range line that is not chosen is only reported.
  EXPECT_EQ(Branch("JL 1 2 300 -5"), 3);
  EXPECT_TRUE(DebuggerSaid("cmd: 'JL'  Parameter 4 is out of range. Value found: -5"));
  // A negative chosen line is no jump.
  EXPECT_EQ(Branch("JL 2 1 300 -5"), 9);

  // In strict inspection the command does nothing at all.
  g_settings.parameterInspection = Inspection::kStrict;
  EXPECT_EQ(Branch("JE 1 1 200 40000"), 9);
  EXPECT_EQ(Branch("JC 'a' 'a' 200 -1"), 9);
  EXPECT_EQ(Branch("JA 200"), 2);
}

TEST_F(FlowCommandsTest, ComputedJumpsOutsideTheScriptWarn) {
  const char* kWarning =
      "<TEST____.000> WARNING: line: 100, cmd: '%s' Offset calculation result: line number is out "
      "of range.";
  for (const char* command : {"JO 40000 0", "JO -1 0", "JG 1 32000 '1000'"}) {
    SCOPED_TRACE(command);
    host.debugger.clear();
    EXPECT_EQ(Branch(command), 9);
    EXPECT_EQ(LastSaid(), Format(kWarning, std::string(command, 2).c_str()));
  }
  // The most negative sum wraps to 0: silently nothing, like a sum of 0.
  host.debugger.clear();
  EXPECT_EQ(Branch("JO -2147483648 -2147483648"), 9);
  EXPECT_TRUE(Reports().empty());

  host.debugger.clear();
  EXPECT_EQ(Branch("JG 1 0 ''"), 9);
  EXPECT_EQ(Reports(),
            (std::vector<std::string>{
                "<TEST____.000> WARNING: line: 100, cmd: 'JG' Parameter 3 string does not contain "
                "line numbers (JG 1 0 '')",
                "<TEST____.000> WARNING: line: 100, cmd: 'JG' VarList$ is zero length."}));
}

TEST_F(FlowCommandsTest, SubroutineReturnsAfterTheCall) {
  Script({{2211, "NL 1 A%:JS 300:NL 2 B%"}, {300, "NL 3 C%"}, {301, "NA C% 1 C%"}, {302, "JR"}});
  RunLine(2211, 0);
  EXPECT_EQ(Int('A'), 1);
  EXPECT_EQ(Int('B'), 2);
  EXPECT_EQ(Int('C'), 4);  // both lines of the body ran
  EXPECT_EQ(g_iProcStackPtr, -1);
  EXPECT_FALSE(g_bInSequence);
}

TEST_F(FlowCommandsTest, NestedSubroutinesReturnInTurnAndTheCallerEndsAfterALastJS) {
  Script({{100, "JS 200:NL 1 A%"},
          {200, "JS 300"},  // the call is its line's last command
          {201, "NL 2 B%"},
          {202, "JR"},
          {300, "NL 3 C%:JR"}});
  RunLine(100, 0);
  EXPECT_EQ(Int('A'), 1);
  EXPECT_EQ(Int('B'), 2);
  EXPECT_EQ(Int('C'), 3);
  EXPECT_EQ(g_iProcStackPtr, -1);
}

TEST_F(FlowCommandsTest, TheStackHolds500CallsAndIgnoresThe501st) {
  // Line 1000 calls itself until the stack is full; each return then counts in e%.
  Script({{100, "JS 1000:NL 7 F%"}, {1000, "NA d% 1 d%:JS 1000:NA e% 1 e%"}, {1001, "JR"}});
  RunLine(100, 0);
  // Line 100's call and 499 calls of line 1000 fill the 500 entries; the 500th run of
  // line 1000 finds the stack full, its JS is ignored and ends the line.
  EXPECT_EQ(Int('d'), 500);
  EXPECT_EQ(Int('e'), 499);
  EXPECT_EQ(Int('F'), 7);
  EXPECT_EQ(g_iProcStackPtr, -1);
  EXPECT_FALSE(g_bInSequence);
}

TEST_F(FlowCommandsTest, ReturnsAndCallsThatCannotJump) {
  // JR on an empty stack ends the line silently.
  EXPECT_EQ(Branch("JR"), 0);
  EXPECT_TRUE(Reports().empty());

  // A call to a line out of range keeps its frame, ends the line and does not jump.
  EXPECT_EQ(Branch("JS 40000"), 0);
  EXPECT_EQ(g_iProcStackPtr, 0);
  EXPECT_EQ(g_iProcStack[0].PROC_RET_LINE, 100);
  EXPECT_EQ(g_iProcStack[0].resumeCommand, 1);
  EXPECT_FALSE(g_bInSequence);
  EXPECT_EQ(LastSaid(),
            "<TEST____.000> WARNING: line: 100, cmd: 'JS'  Parameter 1 is out of range. Value "
            "found: 40000");

  // A frame whose return line is out of range is reported, and the jump is still taken
  // (to a missing line, which ends the run).
  g_iProcStack[0].PROC_RET_LINE = 40000;
  host.debugger.clear();
  EXPECT_EQ(Branch("JR"), 0);
  EXPECT_EQ(
      Reports().front(),
      "<TEST____.000> ERROR: line: 100, cmd: 'JR' INTERNAL ERROR ---> 'JR' iJumpPending: line "
      "number is out of range.");
  EXPECT_EQ(g_iProcStackPtr, -1);

  // A call to a missing line empties the stack.
  g_iProcStackPtr = -1;
  EXPECT_EQ(Branch("JS 5000"), 0);
  EXPECT_EQ(g_iProcStackPtr, -1);
  EXPECT_FALSE(g_bInSequence);
}

TEST_F(FlowCommandsTest, ASubroutineLeftByAJumpKeepsItsFrame) {
  Script({{100, "JS 200"}, {200, "JA 300"}, {300, "NL 3 C%"}, {301, "JR"}});
  RunLine(100, 0);
  EXPECT_EQ(Int('C'), 3);
  EXPECT_EQ(g_iProcStackPtr, -1);  // line 301's JR returned to line 100, which ended
}

TEST_F(FlowCommandsTest, EGStoresTheCurrentLinePlusAnOffset) {
  Script({{1234, "EG B% 0:EG C%:EG D% 5:EG E% -2000:EG 7"}});
  RunLine(1234, 0);
  EXPECT_EQ(Int('B'), 1234);
  EXPECT_EQ(Int('C'), 1234);
  EXPECT_EQ(Int('D'), 1239);
  EXPECT_EQ(Int('E'), -766);
}

TEST_F(FlowCommandsTest, EIDoesNothing) {
  EXPECT_EQ(Branch("EI This is a sub routine"), 9);
  EXPECT_EQ(Branch("EI"), 9);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(FlowCommandsTest, EVRunsItsTextAndTheCallingLineGoesOn) {
  Str('A', "NA a% 1 a%:NA b% 2 b%");
  Script({{100, "EV A$:NL 5 c%"}});
  RunLine(100, 0);
  EXPECT_EQ(Int('a'), 1);
  EXPECT_EQ(Int('b'), 2);
  EXPECT_EQ(Int('c'), 5);
  char text[kLineBufferSize];
  VLSTMSup_GetMem(kEvaluationLine, text);
  EXPECT_STREQ(text, "NA a% 1 a%:NA b% 2 b%");

  // Its jumps are followed inside the nested run only.
  EXPECT_EQ(Branch("EV 'JA 200'"), 9);
}

TEST_F(FlowCommandsTest, EVWithACallAndReturnInsideReturnsCorrectly) {
  Str('A', "JS 500:NL 1 f%");
  Script({{100, "EV A$:NL 3 h%"}, {500, "NL 2 g%"}, {501, "JR"}});
  RunLine(100, 0);
  EXPECT_EQ(Int('g'), 2);
  EXPECT_EQ(Int('f'), 1);
  EXPECT_EQ(Int('h'), 3);
  EXPECT_EQ(g_iProcStackPtr, -1);
  EXPECT_FALSE(g_bInSequence);
  // Returning to the evaluated line is a normal return.
  EXPECT_FALSE(DebuggerSaid("INTERNAL ERROR"));
}

TEST_F(FlowCommandsTest, EVInsideASubroutineRestoresTheCallersState) {
  Str('A', "JS 600");
  Script({{100, "JS 200:NL 1 k%"},
          {200, "EV A$:NL 2 m%"},
          {201, "JR"},
          {600, "NL 6 n%"},
          {601, "JR"}});
  RunLine(100, 0);
  EXPECT_EQ(Int('n'), 6);
  EXPECT_EQ(Int('m'), 2);
  EXPECT_EQ(Int('k'), 1);
  EXPECT_EQ(g_iProcStackPtr, -1);

  // With exactly one frame on the stack, a JR in the text finds it blank: it returns
  // nowhere, and the frame is back for the caller's own JR afterwards.
  Script({{200, "EV 'JR':NL 2 m%"}});
  Int('k') = Int('m') = 0;
  RunLine(100, 0);
  EXPECT_EQ(Int('m'), 2);
  EXPECT_EQ(Int('k'), 1);
  EXPECT_EQ(g_iProcStackPtr, -1);
}

TEST_F(FlowCommandsTest, ANestedRunLeavesTheOuterLinesPlaceAsItWas) {
  // The outer line: command 2 of line 210, two subroutines deep, with a jump and an end of
  // line requested and its kept tokens dispatched.
  PreparsedArguments outerTokens;
  const auto setOuterPlace = [&] {
    g_iCurrentLine = 210;
    g_iCurrentCommand = 2;
    iJumpPending = 300;
    iCmdPending = 1;
    g_bInSequence = true;
    g_bEndOfLineRequest = true;
    g_pDispatchedArguments = &outerTokens;
    g_iProcStackPtr = 1;
    g_iProcStack[0] = {100, 1};
    g_iProcStack[1] = {200, 3};
  };
  // The inner run returns through the outer frame into line 200 at index 3, calls again
  // from there (which overwrites frame 1) and ends at a missing line (which empties the
  // stack and leaves the sequence).
  Script({{400, "JR"}, {200, "NL 1 a%:NL 1 a%:NL 1 a%:JS 402"}});
  setOuterPlace();
  {
    const NestedRun keepPlace;
    RunLine(400, 0);
    ASSERT_EQ(g_iProcStackPtr, -1);  // the inner run did change it all
  }
  EXPECT_EQ(g_iCurrentLine, 210);
  EXPECT_EQ(g_iCurrentCommand, 2);
  EXPECT_EQ(iJumpPending, 300);
  EXPECT_EQ(iCmdPending, 1);
  EXPECT_TRUE(g_bInSequence);
  EXPECT_TRUE(g_bEndOfLineRequest);
  EXPECT_EQ(g_pDispatchedArguments, &outerTokens);
  EXPECT_EQ(g_iProcStackPtr, 1);
  EXPECT_EQ(g_iProcStack[0].PROC_RET_LINE, 100);
  EXPECT_EQ(g_iProcStack[0].resumeCommand, 1);
  EXPECT_EQ(g_iProcStack[1].PROC_RET_LINE, 200);
  EXPECT_EQ(g_iProcStack[1].resumeCommand, 3);
  g_pDispatchedArguments = nullptr;
}

TEST_F(FlowCommandsTest, EVRecursionStopsAtADepthLimitInsteadOfExhaustingTheStack) {
  Str('A', "NA r% 1 r%:EV A$");
  Script({{100, "EV A$:NL 1 s%"}});
  RunLine(100, 0);
  EXPECT_EQ(Int('r'), 100);
  EXPECT_EQ(Int('s'), 1);
  EXPECT_TRUE(DebuggerSaid("cmd: 'EV' Evaluation nested too deeply, text not run."));
}

// JD compares dates by day + 31 * month + 380 * year, which orders real dates as the
// calendar does: the reference here is the calendar itself.
TEST_F(FlowCommandsTest, JDAgreesWithTheCalendar) {
  using namespace std::chrono;
  static const char* const kMonthNames[] = {"Jan", "FEB", "mar",  "April", "May",      "JUNE",
                                            "Jul", "aug", "Sept", "Oct",   "November", "dEc"};
  const sys_days start = year{1960} / January / 1;
  const auto text = [](sys_days day, int style) {
    const year_month_day date(day);
    const unsigned month = static_cast<unsigned>(date.month());
    const int y = static_cast<int>(date.year());
    const unsigned d = static_cast<unsigned>(date.day());
    switch (style) {
      case 0:
        return Format("%02u-%s-%d", d, kMonthNames[month - 1], y);
      case 1:
        return Format("%u-%s-%d", d, kMonthNames[month - 1], y);
      default:
        return Format("%u %s-%d", d, kMonthNames[month - 1], y);
    }
  };
  Script({{100, "JD A$ B$ 200 300 400"}});
  std::mt19937 random(7);
  std::uniform_int_distribution<int> days(0, 80 * 366);
  std::uniform_int_distribution<int> near(-40, 40);
  int checked = 0;
  for (int i = 0; i < 3000; ++i) {
    const sys_days a = start + std::chrono::days(days(random));
    // Half the pairs lie close together, where day and month decide.
    const sys_days b =
        i % 2 ? a + std::chrono::days(near(random)) : start + std::chrono::days(days(random));
    Str('A', text(a, i % 3));
    Str('B', text(b, (i / 3) % 3));
    Int('Z') = 0;
    RunLine(100, 0);
    const int32_t expected = a == b ? 2 : a < b ? 3 : 4;
    ASSERT_EQ(Int('Z'), expected) << g_szStringVariables[0] << " vs " << g_szStringVariables[1];
    ++checked;
  }
  EXPECT_EQ(checked, 3000);
}

TEST_F(FlowCommandsTest, JDWritesItsValuesAndDecidesAtOnceWithoutADash) {
  Str('A', "01-JAN-2000");
  Str('B', "1/Feb/2000");
  Script({{100, "JD A$ B$ 200 300 400:NL 9 Z%"}});
  // B$ has no "-": the first text counts as later.
  RunLine(100, 0);
  EXPECT_EQ(Int('Z'), 4);
  Str('B', "1-Feb-2000");
  host.debugger.clear();
  RunLine(100, 0);
  EXPECT_EQ(Int('Z'), 3);
  EXPECT_EQ(Reports(), (std::vector<std::string>{"01-JAN-2000 0 0 0 ", "1-Feb-2000 0 0 0 ",
                                                 "1=760032 2=760063"}));
  // A first text without "-" counts as earlier, whatever the second.
  Str('A', "today");
  RunLine(100, 0);
  EXPECT_EQ(Int('Z'), 3);
  // With the chosen line 0 the line ends without a jump.
  Int('Z') = 0;
  Script({{100, "JD A$ B$ 200 0 400:NL 9 Z%"}});
  RunLine(100, 0);
  EXPECT_EQ(Int('Z'), 0);
  // Unknown month names count as month 0.
  Str('A', "1-Foo-2000");
  Str('B', "1-Jan-2000");
  Script({{100, "JD A$ B$ 200 300 400"}});
  RunLine(100, 0);
  EXPECT_EQ(Int('Z'), 3);
}

// JT compares hours * 60 + minutes, read from two-digit hours: the reference is the
// minutes of the day.
TEST_F(FlowCommandsTest, JTAgreesWithTheMinutesOfTheDay) {
  Script({{100, "JT A$ B$ 200 300 400"}});
  std::mt19937 random(11);
  std::uniform_int_distribution<int> minutes(0, 24 * 60 - 1);
  std::uniform_int_distribution<int> near(-3, 3);
  const auto text = [](int m, int style) {
    switch (style) {
      case 0:
        return Format("%02d:%02d", m / 60, m % 60);
      case 1:
        return Format("%02d;%02d", m / 60, m % 60);
      case 2:
        return Format("%02d%02d", m / 60, m % 60);
      default:
        return Format("%02d:%02d:%02d", m / 60, m % 60, m % 7);  // seconds do not count
    }
  };
  for (int i = 0; i < 4000; ++i) {
    const int a = minutes(random);
    const int b = i % 2 ? std::clamp(a + near(random), 0, 24 * 60 - 1) : minutes(random);
    Str('A', text(a, i % 4));
    Str('B', text(b, (i / 4) % 4));
    Int('Z') = 0;
    RunLine(100, 0);
    const int32_t expected = a == b ? 2 : a < b ? 3 : 4;
    ASSERT_EQ(Int('Z'), expected) << g_szStringVariables[0] << " vs " << g_szStringVariables[1];
  }
}

TEST_F(FlowCommandsTest, JTReadsTwoDigitHoursAndBoundsItsReads) {
  // 12;30 is 750 minutes and 12;45 is 765: a literal can hold ";" but not ":".
  EXPECT_EQ(Branch("JT '12;30' '1230' 200 300 400"), 2);
  EXPECT_EQ(Branch("JT '12;30' '12;45' 200 300 400"), 3);
  EXPECT_EQ(Branch("JT '12;45' '12;30' 200 300 400"), 4);
  // Hours need two digits: "9;30" reads 9 hours and the minutes at offset 3, "0".
  EXPECT_EQ(Branch("JT '9;30' '09;00' 200 300 400"), 2);
  // Short and empty texts read what is there.
  EXPECT_EQ(Branch("JT '1' '01;00' 200 300 400"), 2);  // one hour, no minutes
  EXPECT_EQ(Branch("JT '' '00' 200 300 400"), 2);
  EXPECT_EQ(Branch("JT '12;3' '12;03' 200 300 400"), 2);
}

}  // namespace
}  // namespace velcrum
