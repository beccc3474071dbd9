// Parsing command parameters into typed slots.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

using testing::InterpreterTest;

struct Expected {
  ParamKind kind;
  const char* text;
  int32_t value;
};

struct ParseCase {
  const char* command;
  int expectedCount;
  std::vector<Expected> slots;
  int paramCount;
};

class ArgumentsTest : public InterpreterTest {};

TEST_F(ArgumentsTest, ParsesEveryKindOfParameter) {
  g_lIntegerVariables[3] = 42;       // D%
  g_lIntegerVariables[26] = -9;      // a%
  SetStringVariable(1, "0");         // B$
  SetStringVariable(27, "17 units"); // b$
  const ParseCase cases[] = {
      {"NL 50 D%", 2, {{ParamKind::kNumericLiteral, "50", 50}, {ParamKind::kIntegerVariable, "42", 42}}, 2},
      {"TP '' 1 1001", 3,
       {{ParamKind::kStringLiteral, "", 0}, {ParamKind::kNumericLiteral, "1", 1},
        {ParamKind::kNumericLiteral, "1001", 1001}}, 3},
      {"TP '/99' 1 B%", 3,
       {{ParamKind::kStringLiteral, "/99", 0}, {ParamKind::kNumericLiteral, "1", 1},
        {ParamKind::kIntegerVariable, "0", 0}}, 3},
      {"JC B$ 0 2100 0", 4,
       {{ParamKind::kStringVariable, "0", 0}, {ParamKind::kNumericLiteral, "0", 0},
        {ParamKind::kNumericLiteral, "2100", 2100}, {ParamKind::kNumericLiteral, "0", 0}}, 4},
      {"NA a% b$", 2, {{ParamKind::kIntegerVariable, "-9", -9}, {ParamKind::kStringVariable, "17 units", 17}}, 2},
      {"XX word -7 12ab", 3,
       {{ParamKind::kBareWord, "word", 0}, {ParamKind::kNumericLiteral, "-7", -7},
        {ParamKind::kNumericLiteral, "12ab", 12}}, 3},
      // Anything after the variable's "%" or "$" up to the next space is ignored.
      {"XX D%junk 5", 2, {{ParamKind::kIntegerVariable, "42", 42}, {ParamKind::kNumericLiteral, "5", 5}}, 2},
      // A "%" after something that is not a letter is not a variable.
      {"XX 5% 7$", 2, {{ParamKind::kNumericLiteral, "5%", 5}, {ParamKind::kNumericLiteral, "7$", 7}}, 2},
      // A literal with no closing quote runs to the end; a word against a closing quote
      // is the next parameter.
      {"XX 'abc", 2, {{ParamKind::kStringLiteral, "abc", 0}, {ParamKind::kNone, "", 0}}, 1},
      {"XX 'ab'cd", 2, {{ParamKind::kStringLiteral, "ab", 0}, {ParamKind::kBareWord, "cd", 0}}, 2},
      // Several spaces separate like one; a tab does not separate.
      {"XX 1    2", 2, {{ParamKind::kNumericLiteral, "1", 1}, {ParamKind::kNumericLiteral, "2", 2}}, 2},
      {"XX 1\t2 3", 2, {{ParamKind::kNumericLiteral, "1\t2", 1}, {ParamKind::kNumericLiteral, "3", 3}}, 2},
      // Fewer parameters than expected: the rest are none and still counted; more: ignored.
      {"NA 1", 3, {{ParamKind::kNumericLiteral, "1", 1}, {ParamKind::kNone, "", 0}, {ParamKind::kNone, "", 0}}, 3},
      {"NA 1 2 3 4", 2, {{ParamKind::kNumericLiteral, "1", 1}, {ParamKind::kNumericLiteral, "2", 2}, {ParamKind::kNone, "", 0}}, 2},
      {"NA", 2, {{ParamKind::kNone, "", 0}, {ParamKind::kNone, "", 0}}, 2},
      // Only a string literal that ends the text leaves the count at what was written.
      {"TP 'a' 'b'", 3, {{ParamKind::kStringLiteral, "a", 0}, {ParamKind::kStringLiteral, "b", 0}, {ParamKind::kNone, "", 0}}, 2},
      {"TP 'a' ", 3, {{ParamKind::kStringLiteral, "a", 0}, {ParamKind::kNone, "", 0}}, 3},
      // Numbers beyond 32 bits read as the nearest limit.
      {"XX 99999999999 -99999999999", 2,
       {{ParamKind::kNumericLiteral, "99999999999", 2147483647},
        {ParamKind::kNumericLiteral, "-99999999999", -2147483647 - 1}}, 2},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.command);
    GetArguments(c.command, c.expectedCount);
    EXPECT_EQ(ParamCount(), c.paramCount);
    for (size_t i = 0; i < c.slots.size(); ++i) {
      const int n = static_cast<int>(i) + 1;
      SCOPED_TRACE(n);
      EXPECT_EQ(GetParamKind(n), c.slots[i].kind);
      EXPECT_STREQ(ParamText(n), c.slots[i].text);
      EXPECT_EQ(ParamValue(n), c.slots[i].value);
    }
  }
}

TEST_F(ArgumentsTest, RecordsVariableIndexesAndEmptyFlags) {
  GetArguments("XX a% Z$ '' A$ 'x'", 5);
  EXPECT_EQ(ParamVarIndex(1), 26);
  EXPECT_EQ(ParamVarIndex(2), 25);
  EXPECT_TRUE(ParamIsEmpty(2));  // an empty string variable
  EXPECT_TRUE(ParamIsEmpty(3));  // an empty string literal
  EXPECT_TRUE(ParamIsEmpty(4));
  EXPECT_FALSE(ParamIsEmpty(5));
  const ParamKindCounts& counts = ParamCounts();
  EXPECT_EQ(counts.integerVariables, 1);
  EXPECT_EQ(counts.stringVariables, 2);
  EXPECT_EQ(counts.stringLiterals, 2);
  EXPECT_EQ(counts.numericLiteralsAndWords, 0);

  ParamIntVar(1) = 5;
  EXPECT_EQ(g_lIntegerVariables[26], 5);
  std::strcpy(ParamStringVar(2), "set");
  EXPECT_STREQ(g_szStringVariables[25], "set");
}

TEST_F(ArgumentsTest, OutOfRangeSlotNumbersReadAsNone) {
  GetArguments("NA 1 2", 2);
  for (const int n : {0, -1, 53}) {
    EXPECT_EQ(GetParamKind(n), ParamKind::kNone);
    EXPECT_STREQ(ParamText(n), "");
  }
}

TEST_F(ArgumentsTest, RepairsAMissingSpaceAfterTheMnemonic) {
  GetArguments("NA5 6", 2);
  EXPECT_TRUE(DebuggerSaid("<TEST____.000> GetArguments: ERROR: line: 0, Space character missing "
                           "between command and parameter(s), command:'NA5 6' "));
  EXPECT_EQ(ParamValue(1), 5);
  EXPECT_EQ(ParamValue(2), 6);
}

TEST_F(ArgumentsTest, TypographicQuotesAreOrdinaryQuotes) {
  GetArguments("TP \x91hello\x92 1", 2);
  EXPECT_EQ(GetParamKind(1), ParamKind::kStringLiteral);
  EXPECT_STREQ(ParamText(1), "hello");
  EXPECT_EQ(ParamValue(2), 1);
  EXPECT_TRUE(DebuggerSaid("Converted NON-ASCII single quotes to ASCII 39."));
}

TEST_F(ArgumentsTest, ClearsTheParameterErrorFlag) {
  g_bParamError = true;
  GetArguments("NA 1", 1);
  EXPECT_FALSE(g_bParamError);
}

TEST_F(ArgumentsTest, LogsEachParameterKindWhileInspectionMessagesAreOn) {
  g_lIntegerVariables[0] = 3;
  GetArguments("XX 'a' A% A$ 5 w", 5);
  const std::vector<std::string> expected = {
      "GetArguments: 1b - logged STRING LITERAL",
      "GetArguments: 2b - logged NUMERIC VARIABLE",
      "GetArguments: 3b - logged STRING VARIABLE",
      "GetArguments: 4a - logged NUMERIC LITERAL",
      "GetArguments: 4b - logged NOT NUMERIC LITERAL, must be a STRING LITERAL",
  };
  EXPECT_EQ(host.debugger, expected);

  host.debugger.clear();
  g_settings.parameterInspectMsgs = false;
  GetArguments("XX 'a' A% A$ 5 w", 5);
  EXPECT_TRUE(host.debugger.empty());
}

TEST_F(ArgumentsTest, ParserTraceWritesTheInspectionLine) {
  g_settings.outputParserTrace = true;
  g_settings.parameterInspectMsgs = false;
  g_lIntegerVariables[0] = 7;
  SetStringVariable(1, "bee");
  GetArguments("XX 'lit' A% B$ 12 word", 5);
  ASSERT_EQ(host.debugger.size(), 1u);
  EXPECT_EQ(host.debugger[0], "     : XX 'lit' 7 'bee' 12 0 ");
}

TEST_F(ArgumentsTest, AnOverlongInspectionLineDropsPiecesButNotParameters) {
  g_settings.outputParserTrace = true;
  SetStringVariable(0, std::string(200, 'x'));
  GetArguments("XX A$ A$ A$ A$", 4);
  EXPECT_TRUE(DebuggerSaid("GetArguments: 3a - Parameter list too long, truncating"));
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(ParamTextLength(n), 200);
}

// Whatever bytes a line holds, parsing stays within its buffers.
TEST_F(ArgumentsTest, ArbitraryBytesAreParsedSafely) {
  std::string command = "XX ";
  for (int i = 0; i < 600; ++i) command.push_back(static_cast<char>((i * 37) & 0xff));
  GetArguments(command, 10);
  EXPECT_EQ(ParamCount(), 10);
  std::string longLiteral = "XX '" + std::string(700, 'q') + "'";
  GetArguments(longLiteral, 1);
  EXPECT_EQ(ParamTextLength(1), kParamTextLimit);
}

}  // namespace
}  // namespace velcrum
