// Parameter checks and reports.
#include "interpreter/parameter_checks.h"

#include <string>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/settings.h"

namespace velcrum {
namespace {

constexpr size_t kCommandTextLimit = 256;
constexpr int kHighestParameter = 19;

// The head every parameter message shares: "<%s> %sline: %d, cmd: '%s' ".
std::string Head(std::string_view command, const char* severity) {
  return Format("<%s> %sline: %d, cmd: '%.2s' ", g_instanceName.c_str(), severity, g_iCurrentLine,
                command.data());
}

void Emit(const std::string& text) {
  if (g_settings.parameterInspectMsgs) DebugOut(text);
  NotifyDiagnostic(text);
}

// The command name must be two characters and the command text short enough; a
// parameter number outside 1 to 19 is the calling handler's mistake and is reported.
enum class Guard { kProceed, kSkip, kBadNumber };

Guard CheckGuard(std::string_view command, int n, std::string_view commandText) {
  if (command.size() != 2 || commandText.size() > kCommandTextLimit) return Guard::kSkip;
  if (n < 1) {
    ReportError(command, "No Parameter, parameter error.");
    return Guard::kBadNumber;
  }
  if (n > kHighestParameter) {
    ReportError(command, "Parameter not specified internal error.");
    return Guard::kBadNumber;
  }
  return Guard::kProceed;
}

const char* FoundText(ParamKind kind) {
  switch (kind) {
    case ParamKind::kStringLiteral:
    case ParamKind::kBareWord:
      return "Found a string literal.";
    case ParamKind::kNumericLiteral:
      return "Found a numeric literal.";
    case ParamKind::kStringVariable:
      return "Found a string variable.";
    case ParamKind::kIntegerVariable:
      return "Found a numeric variable.";
    case ParamKind::kNone:
      break;
  }
  return "No Parameter found. Not string or numeric.";
}

void KindWarning(std::string_view command, int n, const char* what, const char* found) {
  Emit(Head(command, "WARNING: ") + Format(" Parameter %d%s %s", n, what, found));
}

bool KindError(std::string_view command, int n, const char* what) {
  g_bParamError = true;
  Emit(Head(command, "ERROR: ") +
       Format(" Parameter %d%s %s", n, what, FoundText(GetParamKind(n))));
  return false;
}

// The tests that write nothing share the guard with the checks.
template <typename Test>
bool SilentTest(std::string_view command, int n, Test test, bool flagWhenFalse) {
  switch (CheckGuard(command, n, {})) {
    case Guard::kSkip:
      return true;
    case Guard::kBadNumber:
      return false;
    case Guard::kProceed:
      break;
  }
  const bool passed = test(GetParamKind(n));
  if (!passed && flagWhenFalse) g_bParamError = true;
  return passed;
}

}  // namespace

bool IsInspectionOn() {
  return g_settings.parameterInspection != Inspection::kOff;
}

bool IsStrictInspection() {
  return g_settings.parameterInspection == Inspection::kStrict;
}

bool full_checks::CheckStringParam(std::string_view command, int n, bool variableOnly,
                                   bool warnIfEmpty, std::string_view commandText) {
  if (!IsInspectionOn()) return true;
  switch (CheckGuard(command, n, commandText)) {
    case Guard::kSkip:
      return true;
    case Guard::kBadNumber:
      return false;
    case Guard::kProceed:
      break;
  }
  constexpr const char* kNotString = " is not a STRING variable or literal.";
  switch (GetParamKind(n)) {
    case ParamKind::kStringVariable:
      break;
    case ParamKind::kStringLiteral:
    case ParamKind::kBareWord:
      if (variableOnly) return KindError(command, n, " is not a STRING.");
      break;
    case ParamKind::kNumericLiteral:
      KindWarning(command, n, kNotString, "Found a NUMERIC literal.");
      break;
    case ParamKind::kIntegerVariable:
      KindWarning(command, n, kNotString, "Found a NUMERIC variable.");
      break;
    case ParamKind::kNone:
      return KindError(command, n, " is not a STRING.");
  }
  if (warnIfEmpty && ParamIsEmpty(n)) {
    Emit(Head(command, "WARNING: ") + Format("Parameter %d is NULL.", n));
  }
  return true;
}

bool full_checks::CheckNumericParam(std::string_view command, int n, bool variableOnly,
                                    bool /*unused*/, std::string_view commandText) {
  if (!IsInspectionOn()) return true;
  switch (CheckGuard(command, n, commandText)) {
    case Guard::kSkip:
      return true;
    case Guard::kBadNumber:
      return false;
    case Guard::kProceed:
      break;
  }
  constexpr const char* kNotNumeric = " is not a NUMERIC variable or literal.";
  switch (GetParamKind(n)) {
    case ParamKind::kIntegerVariable:
      return true;
    case ParamKind::kNumericLiteral:
      return variableOnly ? KindError(command, n, " is not a NUMERIC.") : true;
    case ParamKind::kStringLiteral:
    case ParamKind::kBareWord:
      KindWarning(command, n, kNotNumeric, "Found a string literal.");
      return true;
    case ParamKind::kStringVariable:
      KindWarning(command, n, kNotNumeric, "Found a string variable");
      return true;
    case ParamKind::kNone:
      break;
  }
  return KindError(command, n, " is not a NUMERIC.");
}

bool full_checks::IsIntVarParam(std::string_view command, int n) {
  return SilentTest(
      command, n, [](ParamKind kind) { return kind == ParamKind::kIntegerVariable; }, true);
}

bool full_checks::IsStringVarParam(std::string_view command, int n) {
  return SilentTest(
      command, n, [](ParamKind kind) { return kind == ParamKind::kStringVariable; }, true);
}

bool IsNumericParam(std::string_view command, int n) {
  return SilentTest(
      command, n,
      [](ParamKind kind) {
        return kind == ParamKind::kNumericLiteral || kind == ParamKind::kIntegerVariable;
      },
      false);
}

bool IsStringParam(std::string_view command, int n) {
  return SilentTest(
      command, n,
      [](ParamKind kind) {
        return kind == ParamKind::kStringLiteral || kind == ParamKind::kStringVariable ||
               kind == ParamKind::kBareWord;
      },
      false);
}

void ReportParamRange(std::string_view command, int n, std::string_view commandText) {
  if (!IsInspectionOn() || CheckGuard(command, n, commandText) != Guard::kProceed) return;
  g_bParamError = true;
  if (GetParamKind(n) == ParamKind::kNone) {
    Emit(Head(command, "WARNING: ") + Format(" Parameter %d is not found.", n));
  } else {
    Emit(Head(command, "WARNING: ") +
         Format(" Parameter %d is out of range. Value found: %d", n, ParamValue(n)));
  }
}

void ReportParamWarning(std::string_view command, int n, std::string_view commandText,
                        std::string_view text) {
  if (!IsInspectionOn() || CheckGuard(command, n, commandText) != Guard::kProceed) return;
  g_bParamError = true;
  Emit(Head(command, "WARNING: ") +
       Format("Parameter %d %.*s (%.*s)", n, static_cast<int>(text.size()), text.data(),
              static_cast<int>(commandText.size()), commandText.data()));
}

}  // namespace velcrum
