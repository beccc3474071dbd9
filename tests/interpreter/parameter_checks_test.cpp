// Parameter checks and reports in the three inspection modes.
#include <gtest/gtest.h>

#include <string>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class ParameterChecksTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    g_iCurrentLine = 10;
  }

  // Parses the command and runs the check; returns what it answered and leaves the
  // messages in host.debugger.
  bool StringCheck(const char* command, int n, bool variableOnly = false, bool warnIfEmpty = false) {
    GetArguments(command, 3);
    host.debugger.clear();
    return CheckStringParam("TP", n, variableOnly, warnIfEmpty, command);
  }
  bool NumericCheck(const char* command, int n, bool variableOnly = false) {
    GetArguments(command, 3);
    host.debugger.clear();
    return CheckNumericParam("NA", n, variableOnly, false, command);
  }
  std::string Said() const { return host.debugger.empty() ? "" : host.debugger.back(); }
};

TEST_F(ParameterChecksTest, StringCheckByKind) {
  struct Case {
    const char* command;
    bool variableOnly;
    bool usable;
    const char* message;  // "" for none
  };
  const Case cases[] = {
      {"TP A$", false, true, ""},
      {"TP A$", true, true, ""},
      {"TP 'x'", false, true, ""},
      {"TP word", false, true, ""},
      {"TP 'x'", true, false,
       "<TEST____.000> ERROR: line: 10, cmd: 'TP'  Parameter 1 is not a STRING. Found a string literal."},
      {"TP word", true, false,
       "<TEST____.000> ERROR: line: 10, cmd: 'TP'  Parameter 1 is not a STRING. Found a string literal."},
      {"TP 5", false, true,
       "<TEST____.000> WARNING: line: 10, cmd: 'TP'  Parameter 1 is not a STRING variable or literal. "
       "Found a NUMERIC literal."},
      {"TP A%", false, true,
       "<TEST____.000> WARNING: line: 10, cmd: 'TP'  Parameter 1 is not a STRING variable or literal. "
       "Found a NUMERIC variable."},
      {"TP", false, false,
       "<TEST____.000> ERROR: line: 10, cmd: 'TP'  Parameter 1 is not a STRING. No Parameter found. "
       "Not string or numeric."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(StringCheck(c.command, 1, c.variableOnly), c.usable);
    EXPECT_EQ(Said(), c.message);
    EXPECT_EQ(g_bParamError, !c.usable);
  }
}

TEST_F(ParameterChecksTest, StringCheckWarnsOfAnEmptyText) {
  EXPECT_TRUE(StringCheck("TP ''", 1, false, true));
  EXPECT_EQ(Said(), "<TEST____.000> WARNING: line: 10, cmd: 'TP' Parameter 1 is NULL.");
  EXPECT_TRUE(StringCheck("TP ''", 1, false, false));
  EXPECT_EQ(Said(), "");
}

TEST_F(ParameterChecksTest, NumericCheckByKind) {
  struct Case {
    const char* command;
    bool variableOnly;
    bool usable;
    const char* message;
  };
  const Case cases[] = {
      {"NA A%", true, true, ""},
      {"NA 5", false, true, ""},
      {"NA 5", true, false,
       "<TEST____.000> ERROR: line: 10, cmd: 'NA'  Parameter 1 is not a NUMERIC. Found a numeric literal."},
      {"NA abc", false, true,
       "<TEST____.000> WARNING: line: 10, cmd: 'NA'  Parameter 1 is not a NUMERIC variable or literal. "
       "Found a string literal."},
      {"NA 'x'", false, true,
       "<TEST____.000> WARNING: line: 10, cmd: 'NA'  Parameter 1 is not a NUMERIC variable or literal. "
       "Found a string literal."},
      {"NA A$", false, true,
       "<TEST____.000> WARNING: line: 10, cmd: 'NA'  Parameter 1 is not a NUMERIC variable or literal. "
       "Found a string variable"},
      {"NA", false, false,
       "<TEST____.000> ERROR: line: 10, cmd: 'NA'  Parameter 1 is not a NUMERIC. No Parameter found. "
       "Not string or numeric."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(NumericCheck(c.command, 1, c.variableOnly), c.usable);
    EXPECT_EQ(Said(), c.message);
  }
  // The value used for a string literal of letters is 0.
  NumericCheck("NA abc", 1);
  EXPECT_EQ(ParamValue(1), 0);
}

TEST_F(ParameterChecksTest, InspectionOffAnswersTrueWithoutLooking) {
  g_settings.parameterInspection = Inspection::kOff;
  EXPECT_TRUE(StringCheck("TP", 1));
  EXPECT_TRUE(NumericCheck("NA", 1, true));
  EXPECT_TRUE(host.debugger.empty());
  EXPECT_FALSE(g_bParamError);
  EXPECT_FALSE(IsInspectionOn());
}

TEST_F(ParameterChecksTest, MessagesOffStillFailAndFlag) {
  g_settings.parameterInspectMsgs = false;
  EXPECT_FALSE(StringCheck("TP", 1));
  EXPECT_TRUE(g_bParamError);
  EXPECT_TRUE(host.debugger.empty());
}

TEST_F(ParameterChecksTest, StrictModeIsReported) {
  EXPECT_FALSE(IsStrictInspection());
  g_settings.parameterInspection = Inspection::kStrict;
  EXPECT_TRUE(IsStrictInspection());
  EXPECT_TRUE(IsInspectionOn());
}

TEST_F(ParameterChecksTest, ParameterNumbersOutside1To19AreInternalErrors) {
  GetArguments("NA 1", 1);
  EXPECT_FALSE(CheckNumericParam("NA", 0, false, false, "NA 1"));
  EXPECT_EQ(Said(), "<TEST____.000> ERROR: line: 10, cmd: 'NA' No Parameter, parameter error.");
  EXPECT_FALSE(CheckNumericParam("NA", 20, false, false, "NA 1"));
  EXPECT_EQ(Said(), "<TEST____.000> ERROR: line: 10, cmd: 'NA' Parameter not specified internal error.");
  // 19 is a proper number: a missing parameter, not an internal error.
  EXPECT_FALSE(CheckNumericParam("NA", 19, false, false, "NA 1"));
  EXPECT_NE(Said().find("Parameter 19 is not a NUMERIC."), std::string::npos);
}

TEST_F(ParameterChecksTest, BadCommandNameOrOverlongTextSkipsTheCheck) {
  GetArguments("NA", 1);
  EXPECT_TRUE(CheckNumericParam("N", 1, false, false, "NA"));
  EXPECT_TRUE(CheckNumericParam("NA", 1, false, false, std::string(257, 'x')));
  EXPECT_TRUE(host.debugger.empty());
  EXPECT_FALSE(CheckNumericParam("NA", 1, false, false, std::string(256, 'x')));
}

TEST_F(ParameterChecksTest, SilentKindTestsWorkInEveryMode) {
  for (const Inspection mode : {Inspection::kOff, Inspection::kOn, Inspection::kStrict}) {
    g_settings.parameterInspection = mode;
    GetArguments("XX A% A$ 5 'x' w", 5);
    host.debugger.clear();
    EXPECT_TRUE(IsIntVarParam("XX", 1));
    EXPECT_FALSE(g_bParamError);
    EXPECT_FALSE(IsIntVarParam("XX", 3));
    EXPECT_TRUE(g_bParamError);
    g_bParamError = false;
    EXPECT_TRUE(IsStringVarParam("XX", 2));
    EXPECT_FALSE(IsStringVarParam("XX", 4));
    EXPECT_TRUE(g_bParamError);
    g_bParamError = false;
    EXPECT_TRUE(IsNumericParam("XX", 1));
    EXPECT_TRUE(IsNumericParam("XX", 3));
    EXPECT_FALSE(IsNumericParam("XX", 2));
    EXPECT_TRUE(IsStringParam("XX", 2));
    EXPECT_TRUE(IsStringParam("XX", 4));
    EXPECT_TRUE(IsStringParam("XX", 5));
    EXPECT_FALSE(IsStringParam("XX", 1));
    EXPECT_FALSE(g_bParamError);  // the last two never flag
    EXPECT_TRUE(host.debugger.empty());
  }
}

TEST_F(ParameterChecksTest, RangeReportNamesTheValueOrTheMissingParameter) {
  GetArguments("JA 40000", 2);
  ReportParamRange("JA", 1, "JA 40000");
  EXPECT_EQ(Said(),
            "<TEST____.000> WARNING: line: 10, cmd: 'JA'  Parameter 1 is out of range. Value found: 40000");
  ReportParamRange("JA", 2, "JA 40000");
  EXPECT_EQ(Said(), "<TEST____.000> WARNING: line: 10, cmd: 'JA'  Parameter 2 is not found.");
  EXPECT_TRUE(g_bParamError);
}

TEST_F(ParameterChecksTest, ParamWarningQuotesTheCommand) {
  GetArguments("JC A$ B$ 1 2", 4);
  ReportParamWarning("JC", 1, "JC A$ B$ 1 2", "string exceeds max length (255)");
  EXPECT_EQ(Said(), "<TEST____.000> WARNING: line: 10, cmd: 'JC' Parameter 1 string exceeds max "
                    "length (255) (JC A$ B$ 1 2)");
}

TEST_F(ParameterChecksTest, ReportsAreSilentWithInspectionOff) {
  g_settings.parameterInspection = Inspection::kOff;
  GetArguments("JA 40000", 1);
  host.debugger.clear();
  ReportParamRange("JA", 1, "JA 40000");
  ReportParamWarning("JA", 1, "JA 40000", "x");
  EXPECT_TRUE(host.debugger.empty());
  EXPECT_FALSE(g_bParamError);
}

}  // namespace
}  // namespace velcrum
