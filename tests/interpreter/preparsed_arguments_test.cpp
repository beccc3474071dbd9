// Kept tokens must give exactly what a full parse gives: every accessor, for every kind
// of text, before and after the table changes hands.
#include "interpreter/preparsed_arguments.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/interpreter_reset.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

// Everything a handler can read after GetArguments.
struct TableView {
  int count = 0;
  int stringLiterals = 0, numbersAndWords = 0, stringVariables = 0, integerVariables = 0;
  bool paramError = false;
  struct SlotView {
    ParamKind kind;
    std::string text;
    int length;
    int32_t value;
    bool empty;
    int varIndex;
    bool operator==(const SlotView&) const = default;
  };
  std::vector<SlotView> slots;
  bool operator==(const TableView&) const = default;
};

// The masks the inline parameter checks read must say what the slots' kinds say, for
// the slots they cover.
void ExpectMasksMatchKinds() {
  const param_table::KindMasks& masks = param_table::g_current.kinds;
  for (int n = -1; n <= kParamSlots + 2; ++n) {
    SCOPED_TRACE("slot " + std::to_string(n));
    const bool covered = n >= 1 && n <= param_table::kKindMaskSlots;
    const ParamKind kind = GetParamKind(n);
    EXPECT_EQ(param_table::HasBit(masks.integerVariable, n),
              covered && kind == ParamKind::kIntegerVariable);
    EXPECT_EQ(
        param_table::HasBit(masks.numeric, n),
        covered && (kind == ParamKind::kIntegerVariable || kind == ParamKind::kNumericLiteral));
    EXPECT_EQ(param_table::HasBit(masks.stringVariable, n),
              covered && kind == ParamKind::kStringVariable);
    EXPECT_EQ(param_table::HasBit(masks.text, n),
              covered && (kind == ParamKind::kStringVariable || kind == ParamKind::kStringLiteral ||
                          kind == ParamKind::kBareWord));
  }
}

TableView ReadTable() {
  ExpectMasksMatchKinds();
  TableView view;
  view.count = ParamCount();
  view.stringLiterals = ParamCounts().stringLiterals;
  view.numbersAndWords = ParamCounts().numericLiteralsAndWords;
  view.stringVariables = ParamCounts().stringVariables;
  view.integerVariables = ParamCounts().integerVariables;
  view.paramError = g_bParamError;
  for (int n = -1; n <= kParamSlots + 2; ++n) {
    view.slots.push_back({GetParamKind(n), ParamText(n), ParamTextLength(n), ParamValue(n),
                          ParamIsEmpty(n), ParamVarIndex(n)});
  }
  return view;
}

std::string Describe(const TableView& view) {
  std::string text = "count " + std::to_string(view.count) + ":";
  for (const auto& slot : view.slots) {
    if (slot.kind == ParamKind::kNone && slot.text.empty()) continue;
    text += " [" + std::to_string(static_cast<int>(slot.kind)) + " '" + slot.text + "' " +
            std::to_string(slot.value) + "]";
  }
  return text;
}

class PreparsedArgumentsTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    g_settings.enableOutputDbwin = false;          // nothing to write: kept tokens may stand in
    g_lIntegerVariables[0] = 42;                   // A%
    g_lIntegerVariables[27] = -7;                  // b%
    SetStringVariable(1, "12 apples");             // B$
    SetStringVariable(26, "");                     // a$
    SetStringVariable(25, std::string(255, 'z'));  // Z$
  }
  void TearDown() override {
    g_pDispatchedArguments = nullptr;
    InterpreterTest::TearDown();
  }

  // The table after a full parse and after kept tokens, for the same text.
  void ExpectSame(const std::string& command, int expected) {
    SCOPED_TRACE("'" + command + "' expecting " + std::to_string(expected));
    g_pDispatchedArguments = nullptr;
    GetArguments(command, expected);
    const TableView parsed = ReadTable();

    PreparsedArguments kept = PreparseArguments(command);
    g_pDispatchedArguments = &kept;
    GetArguments(kept.command, expected);
    g_pDispatchedArguments = nullptr;
    ASSERT_EQ(param_table::g_current.slots, kept.slots.data()) << "the kept tokens were not used";
    const TableView fromTokens = ReadTable();
    EXPECT_EQ(parsed, fromTokens) << Describe(parsed) << "\n" << Describe(fromTokens);
  }
};

TEST_F(PreparsedArgumentsTest, EveryKindOfTextGivesTheSameTable) {
  const char* const commands[] = {
      "NA a% 1 a%",
      "JL A% 10000000 100 0",
      "TP '' 1 1001",
      "TP '/99' 1 B%",
      "JC B$ 0 2100 0",
      "XX word -7 12ab",
      "XX D%junk 5",
      "XX 5% 7$",
      "XX 'abc",
      "XX 'ab'cd",
      "XX 1    2 ",
      "XX 1\t2 3",
      "NA",
      "NA ",
      "N",
      "",
      "TP 'a' 'b'",
      "TP 'a' ",
      "XX 99999999999 -99999999999",
      "NA5 6",
      "TP \x91hello\x92 1",
      "XX a$ Z$ B$ 'x y' A%",
      "XX ''",
      "XX '12' '  34x'",
  };
  for (const char* command : commands) {
    for (int expected = 0; expected <= 6; ++expected) ExpectSame(command, expected);
  }
  // The longest texts a parameter can hold.
  ExpectSame("XX '" + std::string(700, 'q') + "' 5", 2);
  ExpectSame("XX " + std::string(600, '7') + " 5", 2);
}

TEST_F(PreparsedArgumentsTest, RandomTextsGiveTheSameTable) {
  const char* const pieces[] = {"A%", "b%", "B$", "a$",         "Z$",   "'",    "''", "'x y'", "12",
                                "-5", "w",  " ",  "  ",         "\x91", "\x92", "5%", "q$",    "0",
                                "x",  "%",  "$",  "9999999999", "\t",   "'1'",  "-"};
  std::mt19937 random(3);
  std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> length(0, 9);
  std::uniform_int_distribution<int> expected(0, 12);
  for (int i = 0; i < 3000; ++i) {
    std::string command = i % 5 ? "XX " : "XX";
    for (int k = length(random); k > 0; --k) command += pieces[piece(random)];
    ExpectSame(command, expected(random));
  }
}

TEST_F(PreparsedArgumentsTest, VariablesAreReadAtEachUse) {
  PreparsedArguments kept = PreparseArguments("XX A% B$ 3");
  g_pDispatchedArguments = &kept;
  GetArguments(kept.command, 3);
  EXPECT_STREQ(ParamText(1), "42");
  EXPECT_EQ(ParamValue(2), 12);
  g_lIntegerVariables[0] = -1234;
  SetStringVariable(1, "7");
  GetArguments(kept.command, 3);
  EXPECT_EQ(ParamValue(1), -1234);
  EXPECT_STREQ(ParamText(1), "-1234");
  EXPECT_STREQ(ParamText(2), "7");
  // The value is the one read by GetArguments, not the variable's later one.
  g_lIntegerVariables[0] = 5;
  EXPECT_STREQ(ParamText(1), "-1234");
}

// The table a count gives is worked out once and kept: calls that change the count,
// and come back to one seen before, must each get that count's table.
TEST_F(PreparsedArgumentsTest, EachCallGetsTheTableOfItsOwnCount) {
  for (const char* command : {"XX A% 'lit' B$ b% 7", "XX 'abc", "XX a$ A%", "XX"}) {
    PreparsedArguments kept = PreparseArguments(command);
    for (const int expected : {3, 1, 3, 0, -2, 6, 2, 60, 5, -1}) {
      SCOPED_TRACE(std::string(command) + " expecting " + std::to_string(expected));
      g_pDispatchedArguments = nullptr;
      GetArguments(command, expected);
      const TableView parsed = ReadTable();
      g_pDispatchedArguments = &kept;
      GetArguments(kept.command, expected);
      g_pDispatchedArguments = nullptr;
      ASSERT_EQ(param_table::g_current.slots, kept.slots.data());
      const TableView fromTokens = ReadTable();
      EXPECT_EQ(parsed, fromTokens) << Describe(parsed) << "\n" << Describe(fromTokens);
    }
  }
}

TEST_F(PreparsedArgumentsTest, TheTableOutlivesTheKeptTokens) {
  TableView before;
  {
    PreparsedArguments kept = PreparseArguments("XX 'kept text' A% B$ word");
    g_pDispatchedArguments = &kept;
    GetArguments(kept.command, 6);
    g_pDispatchedArguments = nullptr;
    before = ReadTable();
  }
  EXPECT_EQ(ReadTable(), before);
  EXPECT_STREQ(ParamText(1), "kept text");
  EXPECT_STREQ(ParamText(4), "word");
  // A full parse afterwards starts from an empty table.
  GetArguments("XX 1", 1);
  EXPECT_EQ(GetParamKind(2), ParamKind::kNone);
  EXPECT_STREQ(ParamText(4), "");
}

TEST_F(PreparsedArgumentsTest, AnotherTextMeansAFullParse) {
  const std::string command = "NA5 6";
  PreparsedArguments kept = PreparseArguments(command);
  g_pDispatchedArguments = &kept;
  const std::string copy = command;
  GetArguments(copy, 2);
  EXPECT_NE(param_table::g_current.slots, kept.slots.data());
  EXPECT_EQ(ParamValue(1), 5);
}

// The parser's output from kept tokens is the output of a full parse, line for line, on
// both channels, under every combination of the switches that decide what it writes.
TEST_F(PreparsedArgumentsTest, KeptTokensWriteWhatAFullParseWrites) {
  g_instanceName = "PANEL01";
  g_iCurrentLine = 321;
  host.debugWindowExists = true;
  const std::string longLiteral = "'" + std::string(300, 'q') + "'";
  const std::string commands[] = {
      "NA a% 1 a%",
      "NA5 6",
      "TP \x91hello\x92 A% B$",
      "JL\x91x\x92 A% 5 100 0",
      "XX word 12ab '' a$ b% ",
      "XX 'abc",
      "XX",
      "XX " + longLiteral + " " + longLiteral + " 7 A% B$ word",
      "XX Z$ Z$ Z$ 'tail' b%",
      "XX '" + std::string(498, 'q') + "' 7 b% word B$",
      "XX 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 "
      "31 32 33 34 35 36 37 38 39 40 41 42 43 44 45 46 47 48 49 50 51 52 53",
  };
  struct Channels {
    std::vector<std::string> debugger, debugWindow;
    bool operator==(const Channels&) const = default;
  };
  const auto take = [&] {
    Channels written{host.debugger, host.debugWindow};
    host.debugger.clear();
    host.debugWindow.clear();
    return written;
  };
  for (int switches = 0; switches < 32; ++switches) {
    g_settings.showDebugWindow = (switches & 1) != 0;
    g_settings.outputDebug = (switches & 2) != 0;
    g_settings.enableOutputDbwin = (switches & 4) != 0;
    g_settings.outputParserTrace = (switches & 8) != 0;
    g_settings.parameterInspectMsgs = (switches & 16) != 0;
    for (const std::string& command : commands) {
      PreparsedArguments kept = PreparseArguments(command);
      for (const int expected : {0, 2, 4, 52}) {
        SCOPED_TRACE("'" + command + "' expecting " + std::to_string(expected) + ", switches " +
                     std::to_string(switches));
        take();
        g_pDispatchedArguments = nullptr;
        GetArguments(command, expected);
        const TableView parsed = ReadTable();
        const Channels parsedOutput = take();
        g_pDispatchedArguments = &kept;
        GetArguments(kept.command, expected);
        g_pDispatchedArguments = nullptr;
        ASSERT_EQ(param_table::g_current.slots, kept.slots.data())
            << "the kept tokens were not used";
        EXPECT_EQ(ReadTable(), parsed);
        EXPECT_EQ(take(), parsedOutput);
      }
    }
  }
  // The table covers what matters: each kind of output appears somewhere in it.
  g_settings = InterpreterSettings{};
  g_settings.enableOutputDbwin = true;
  g_settings.outputParserTrace = true;
  for (const std::string& command : commands) GetArguments(command, 52);
  for (const char* text :
       {"Space character missing", "Converted NON-ASCII", "1b - logged", "2b - logged",
        "3b - logged", "4a - logged", "4b - logged", "1a - Parameter list too long",
        "2a - Parameter list too long", "3a - Parameter list too long",
        "4c - Parameter list too long", "     : XX 'abc' "}) {
    EXPECT_TRUE(DebuggerSaid(text)) << text;
  }
}

// Whole scripts behave the same with and without anything to write: the executor keeps
// tokens for the first and parses in full for the second.
TEST_F(PreparsedArgumentsTest, ScriptsRunTheSameEitherWay) {
  const std::pair<int, const char*> script[] = {
      {100, "NL 0 a%:NL 0 b%:MS 0 1 20:JA 101"},
      {101, "NA a% 1 a%:MP a% a%:NM a% a% c%:NA b% c% b%:JL a% 20 101 102"},
      {102, "MA 1 20 S$:NC b% T$:JS 200:NF b% 'n=########' '0' U$:JA 103"},
      {103, "EV 'NA d% 7 d%':JC U$ 'x' 0 104"},
      {104, "NB b% 'xor' 255 e%:ND e% 7 f% g%:JG 2 0 '100,105,200'"},
      {105, "ML 'MAX' 1 20 h%:JO 100 6"},
      {106, "EG i% 1:JI '5' S$ 107 108"},
      {107, "NL 1 j%"},
      {108, "NL 2 j%"},
      {200, "NA k% 1 k%:JR"},
  };
  const auto run = [&](bool writing) {
    ResetInterpreter();
    g_settings.enableOutputDbwin = writing;
    g_settings.outputParserTrace = writing;
    for (const auto& [line, text] : script) VLSTMSup_SetMem(line, text);
    RunLine(100, 0);
    std::vector<std::string> state;
    for (int i = 0; i < kVariableCount; ++i) {
      state.push_back(std::to_string(g_lIntegerVariables[i]) + " " + g_szStringVariables[i]);
    }
    for (int i = 1; i <= 20; ++i) state.push_back(std::to_string(GetMem("MG", i)));
    return state;
  };
  const std::vector<std::string> quiet = run(false);
  const std::vector<std::string> writing = run(true);
  EXPECT_EQ(quiet, writing);
  EXPECT_EQ(quiet[26], "20 ");      // a% counted to 20
  EXPECT_EQ(quiet[26 + 9], "1 ");   // j%: the run reached line 107
  EXPECT_EQ(quiet[26 + 10], "1 ");  // k%: and the subroutine
}

}  // namespace
}  // namespace velcrum
