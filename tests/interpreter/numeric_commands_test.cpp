// Arithmetic, bit operations, random numbers, conversions and number templates, run
// through the executor.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "interpreter/executor.h"
#include "interpreter/script_random.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

class NumericCommandsTest : public testing::InterpreterTest {
 protected:
  static int32_t& Int(char letter) { return g_lIntegerVariables[VariableIndex(letter)]; }
  static std::string Str(char letter) { return g_szStringVariables[VariableIndex(letter)]; }
  static void SetStr(char letter, const std::string& text) {
    SetStringVariable(VariableIndex(letter), text);
  }
};

TEST_F(NumericCommandsTest, ArithmeticWrapsAsTwosComplement) {
  struct Case {
    const char* command;  // the result goes to T%
    int32_t expected;
  };
  const Case cases[] = {
      {"NA 2 3 T%", 5},
      {"NA -7 3 T%", -4},
      {"NA 2147483647 1 T%", kMin},
      {"NA -2147483648 -1 T%", kMax},
      {"NS 2 3 T%", -1},
      {"NS -2147483648 1 T%", kMax},
      {"NS 2147483647 -1 T%", kMin},
      {"NM 6 -7 T%", -42},
      {"NM 65536 65536 T%", 0},
      {"NM 123456789 1000 T%", static_cast<int32_t>(123456789000LL & 0xffffffffLL)},
      {"NM -2147483648 -1 T%", kMin},
      {"NL 50 T%", 50},
      {"NL -50 T%", -50},
      {"NL 'abc' T%", 0},
      {"NL '12abc' T%", 12},
      {"NT V% T%", 77},
      {"NT 5 T%", 5},  // a source that is not a variable: its value
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    Int('T') = 1234;
    Int('V') = 77;
    Run(c.command);
    EXPECT_EQ(Int('T'), c.expected);
  }
  // "NA a% 1 a%" increments.
  Int('a') = 41;
  Run("NA a% 1 a%");
  EXPECT_EQ(Int('a'), 42);
}

TEST_F(NumericCommandsTest, ATargetThatIsNotAVariableGetsNothing) {
  for (const char* command : {"NA 1 2 3", "NS 1 2 T$", "NM 1 2", "NL 5 'x'", "NT 5 9"}) {
    SCOPED_TRACE(command);
    host.debugger.clear();
    Run(std::string(command) + ":NL 1 Q%");
    EXPECT_EQ(Int('Q'), 1);  // the line went on
    ASSERT_FALSE(Reports().empty());
    EXPECT_NE(Reports().back().find("is not a NUMERIC"), std::string::npos) << Reports().back();
  }
  // With inspection off the checks pass, but a target that is not a variable still
  // receives nothing, and nothing else is written.
  g_settings.parameterInspection = Inspection::kOff;
  Run("NL 5 3:NL 5 T$");
  EXPECT_EQ(Str('T'), "");
}

TEST_F(NumericCommandsTest, DivisionTruncatesTowardZero) {
  struct Case {
    int32_t a, b, quotient, remainder;
  };
  const Case cases[] = {
      {7, 2, 3, 1},       {-7, 2, -3, -1},      {7, -2, -3, 1},         {-7, -2, 3, -1},
      {6, 3, 2, 0},       {7, 0, 0, 0},         {0, 5, 0, 0},           {kMin, -1, kMin, 0},
      {kMin, 1, kMin, 0}, {kMax, -1, -kMax, 0}, {kMin, 2, kMin / 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.a) + " / " + std::to_string(c.b));
    Int('Q') = Int('R') = 99;
    Run("ND " + std::to_string(c.a) + " " + std::to_string(c.b) + " Q% R%");
    EXPECT_EQ(Int('Q'), c.quotient);
    EXPECT_EQ(Int('R'), c.remainder);
  }
  // A target that is not a variable is reported; the other is still written.
  host.debugger.clear();
  Int('R') = 99;
  Run("ND -7 2 5 R%");
  EXPECT_EQ(Int('R'), -1);
  EXPECT_EQ(Reports(), (std::vector<std::string>{
                           "<TEST____.000> WARNING: line: 100, cmd: 'ND' Parameter 3 numeric "
                           "return target not specified. (ND -7 2 5 R%)"}));
}

// The generator as the system defines it, written out independently.
class ReferenceGenerator {
 public:
  explicit ReferenceGenerator(uint32_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ = static_cast<uint32_t>((uint64_t{state_} * 214013 + 2531011) % 4294967296ULL);
    return (state_ >> 16) % 32768;
  }

 private:
  uint32_t state_;
};

TEST_F(NumericCommandsTest, RandomNumbersFollowTheGenerator) {
  // After a reset the seed is 1, whose first numbers are well known.
  Script({{100, "NR 0 32767 T%"}});
  std::vector<int32_t> first;
  for (int i = 0; i < 5; ++i) {
    RunLine(100, 0);
    first.push_back(Int('T'));
  }
  EXPECT_EQ(first, (std::vector<int32_t>{41, 18467, 6334, 26500, 19169}));

  // Ranges: low + random mod (high - low + 1), for a seed as the shell sets it.
  struct Case {
    const char* command;
    uint32_t low;
    uint32_t span;  // 0: the whole 32-bit range
  };
  const Case cases[] = {
      {"NR 1 6 T%", 1, 6},
      {"NR -5 -1 T%", static_cast<uint32_t>(-5), 5},
      {"NR 100 100000 T%", 100, 99901},  // only the lowest 32768 values come out
      {"NR 0 -1 T%", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    SeedScriptRandom(1700000000u);
    ReferenceGenerator reference(1700000000u);
    Script({{100, c.command}});
    for (int i = 0; i < 300; ++i) {
      RunLine(100, 0);
      const uint32_t random = reference.Next();
      const uint32_t expected = c.low + (c.span == 0 ? random : random % c.span);
      ASSERT_EQ(Int('T'), static_cast<int32_t>(expected)) << i;
    }
  }
}

TEST_F(NumericCommandsTest, RandomNumbersNeedLowBelowHighAsUnsignedNumbers) {
  SeedScriptRandom(5);
  for (const char* command : {"NR 6 1 T%", "NR 3 3 T%", "NR -1 5 T%"}) {
    SCOPED_TRACE(command);
    Int('T') = 1234;
    Run(command);
    EXPECT_EQ(Int('T'), 1234);
  }
  // Nothing was drawn: the generator is where the seed left it.
  ReferenceGenerator reference(5);
  Run("NR 0 32767 T%");
  EXPECT_EQ(Int('T'), static_cast<int32_t>(reference.Next()));
}

TEST_F(NumericCommandsTest, BitOperations) {
  struct Case {
    const char* command;  // result into T%, which starts at 1234
    int32_t expected;
  };
  const Case cases[] = {
      {"NB 12 'and' 10 T%", 8},         {"NB 12 'AND' 10 T%", 8},
      {"NB 12 '&' 10 T%", 8},           {"NB 12 'andalso' 10 T%", 8},  // matched by prefix
      {"NB 12 'or' 10 T%", 14},         {"NB 12 '|' 10 T%", 14},
      {"NB 12 'Xor' 10 T%", 6},         {"NB 12 '^' 10 T%", 6},
      {"NB 5 'not' 4 T%", 10},          {"NB 5 '~' 0 T%", ~5},
      {"NB 5 'not' 32 T%", ~5},         {"NB 5 'not' 40 T%", ~5},
      {"NB 5 'not' -1 T%", 0},          {"NB -1 'not' 31 T%", 0},
      {"NB -16 'sr' 4 T%", 0x0fffffff},  // logical shift
      {"NB -16 '>>' 0 T%", -16},        {"NB -16 'sr' 32 T%", 0},
      {"NB -16 'sr' -1 T%", 0},         {"NB 3 'sl' 30 T%", kMin | (1 << 30)},
      {"NB 3 '<<' 31 T%", kMin},        {"NB 3 'sl' 0 T%", 3},
      {"NB 3 'sl' 32 T%", 0},           {"NB 8 'set' 0 T%", 9},
      {"NB 0 'set' 31 T%", kMin},       {"NB 8 'set' 32 T%", 1234},  // not stored
      {"NB 9 'clr' 3 T%", 1},           {"NB -1 'clr' 31 T%", kMax},
      {"NB 9 'clr' -1 T%", 1234},       {"NB 8 'test' 3 T%", 1},
      {"NB 8 'TEST' 2 T%", 0},          {"NB 8 'test' 32 T%", 1234},
      {"NB 8 'rotate' 1 T%", 1234},     {"NB 8 '' 1 T%", 1234},
      {"NB '' 'or' 1 T%", 1234},  // no first operand
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    Int('T') = 1234;
    Run(c.command);
    EXPECT_EQ(Int('T'), c.expected);
  }

  host.debugger.clear();
  Run("NB 8 'rotate' 1 T%");
  EXPECT_EQ(Reports(), (std::vector<std::string>{"NB: not supported operator"}));
  host.debugger.clear();
  Run("NB '' 'or' 1 T%");
  EXPECT_EQ(Reports(), (std::vector<std::string>{
                           "<TEST____.000> WARNING: line: 100, cmd: 'NB'  Parameter 1 is not a "
                           "NUMERIC variable or literal. Found a string literal.",
                           "<TEST____.000> WARNING: line: 100, cmd: 'NB' Parameter 1 string is "
                           "length zero. (NB '' 'or' 1 T%)"}));
}

TEST_F(NumericCommandsTest, ConversionDirectionComesFromTheFirstMarker) {
  struct Case {
    const char* text;  // in C$
    int32_t expected;
  };
  const Case cases[] = {
      {"0x1F", 31},       {"0X1f", 31},
      {"0xffffffff", -1}, {"0x123456789", 0x23456789},
      {"0x1G", 1},        {"0xG", 0},
      {"0x", 0},          {"12abc", 12},
      {"-45", -45},       {"  7", 7},
      {"abc", 0},         {"", 0},
      {"010", 10},        {"99999999999", kMax},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SetStr('C', c.text);
    Int('D') = 1234;
    Run("NC C$ D%");
    EXPECT_EQ(Int('D'), c.expected);
  }

  // Number to text needs a "%" before any "$": an integer variable first.
  Int('N') = -2147483647 - 1;
  Run("NC N% S$");
  EXPECT_EQ(Str('S'), "-2147483648");
  // A literal number and a string variable read as text to number, and a string
  // variable is no numeric target.
  SetStr('T', "unchanged");
  Run("NC 42 T$");
  EXPECT_EQ(Str('T'), "unchanged");

  // The first marker in the command text decides: here "%" comes first.
  SetStr('T', "unchanged");
  Run("NC '50%' T$");
  EXPECT_EQ(Str('T'), "50");
  // Neither marker: nothing at all.
  host.debugger.clear();
  Run("NC 12 34");
  EXPECT_TRUE(Reports().empty());
}

TEST_F(NumericCommandsTest, ConversionTargetsOfTheWrongKind) {
  // Text to number: the variable-only check of the target stops a literal target.
  host.debugger.clear();
  Run("NC '12' T$");
  EXPECT_EQ(Reports(), (std::vector<std::string>{
                           "<TEST____.000> WARNING: line: 100, cmd: 'NC'  Parameter 2 is not a "
                           "NUMERIC variable or literal. Found a string variable",
                           "<TEST____.000> WARNING: line: 100, cmd: 'NC' Parameter 2 numeric "
                           "return target not specified. (NC '12' T$)"}));
  // Number to text into an integer variable.
  host.debugger.clear();
  Int('D') = 5;
  Run("NC D% E%");
  EXPECT_EQ(Reports(), (std::vector<std::string>{
                           "<TEST____.000> WARNING: line: 100, cmd: 'NC'  Parameter 2 is not a "
                           "STRING variable or literal. Found a NUMERIC variable.",
                           "<TEST____.000> WARNING: line: 100, cmd: 'NC' Parameter 2 string "
                           "return target not specified. (NC D% E%)"}));
  EXPECT_EQ(Int('E'), 0);
}

TEST_F(NumericCommandsTest, NumbersIntoTemplates) {
  struct Case {
    const char* command;  // into T$
    const char* expected;
  };
  const Case cases[] = {
      {"NF 42 'Value ####' '0' T$", "Value 0042"},
      {"NF 42 'Value ####' ' ' T$", "Value   42"},
      {"NF 42 '## ## end' '0' T$", "0042# end"},  // n places from the first "#"
      {"NF 42 '#a#b' 'xyz' T$", "42#b"},
      {"NF -5 '[####]' '0' T$", "[00-5]"},
      {"NF N% '####' '0' T$", "0123"},
      {"NF 123456 'ab##' '0' T$", "3456"},         // longer: it may cover the text before
      {"NF 123456 '##' '0' T$", "56"},             // and what does not fit is cut on the left
      {"NF 42 'no marks' '0' T$", "no marks"},     // no positions: the template as it is
      {"NF 42 'Value ####' '' T$", "Value   42"},  // an empty fill fills with spaces
  };
  Int('N') = 123;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    SetStr('T', "before");
    Run(c.command);
    EXPECT_EQ(Str('T'), c.expected);
  }
  // The target is checked twice, and only a string variable receives the result.
  host.debugger.clear();
  Run("NF 42 '##' '0' 'x'");
  const std::string error =
      "<TEST____.000> ERROR: line: 100, cmd: 'NF'  Parameter 4 is not a STRING. Found a string "
      "literal.";
  EXPECT_EQ(Reports(), (std::vector<std::string>{error, error}));
}

}  // namespace
}  // namespace velcrum
