// Whether a parsed parameter is of a usable kind, and the parameter reports.
//
// Checks answer true when the parameter can be used; they write their messages to the
// debug output while inspection messages are on. A handler stops after a range or
// length problem only in strict inspection mode. Parameter numbers are 1 to 19.
#pragma once

#include <string_view>

#include "interpreter/arguments.h"

namespace velcrum {

bool IsInspectionOn();
bool IsStrictInspection();

// The full checks. Most parameters are of a kind their check accepts without a word in
// every inspection mode; the inline checks below answer that case at once and leave
// every other to these.
namespace full_checks {
bool CheckStringParam(std::string_view command, int n, bool variableOnly, bool warnIfEmpty,
                      std::string_view commandText);
bool CheckNumericParam(std::string_view command, int n, bool variableOnly, bool unused,
                       std::string_view commandText);
bool IsIntVarParam(std::string_view command, int n);
bool IsStringVarParam(std::string_view command, int n);
inline bool InCheckedRange(int n) {
  return n >= 1 && n <= 19;
}
}  // namespace full_checks

// With inspection off both answer true without looking.
inline bool CheckStringParam(std::string_view command, int n, bool variableOnly, bool warnIfEmpty,
                             std::string_view commandText) {
  const param_table::KindMasks& kinds = param_table::g_current.kinds;
  if (full_checks::InCheckedRange(n) &&
      param_table::HasBit(variableOnly ? kinds.stringVariable : kinds.text, n) &&
      !(warnIfEmpty && ParamIsEmpty(n))) {
    return true;
  }
  return full_checks::CheckStringParam(command, n, variableOnly, warnIfEmpty, commandText);
}

inline bool CheckNumericParam(std::string_view command, int n, bool variableOnly, bool unused,
                              std::string_view commandText) {
  const param_table::KindMasks& kinds = param_table::g_current.kinds;
  if (full_checks::InCheckedRange(n) &&
      param_table::HasBit(variableOnly ? kinds.integerVariable : kinds.numeric, n)) {
    return true;
  }
  return full_checks::CheckNumericParam(command, n, variableOnly, unused, commandText);
}

// These work in every inspection mode and write nothing. The first two set
// g_bParamError when they answer false.
inline bool IsIntVarParam(std::string_view command, int n) {
  if (full_checks::InCheckedRange(n) &&
      param_table::HasBit(param_table::g_current.kinds.integerVariable, n)) {
    return true;
  }
  return full_checks::IsIntVarParam(command, n);
}
inline bool IsStringVarParam(std::string_view command, int n) {
  if (full_checks::InCheckedRange(n) &&
      param_table::HasBit(param_table::g_current.kinds.stringVariable, n)) {
    return true;
  }
  return full_checks::IsStringVarParam(command, n);
}
bool IsNumericParam(std::string_view command, int n);
bool IsStringParam(std::string_view command, int n);

// Only while inspection is on: "is out of range" (or "is not found" for a missing
// parameter), and a free-text warning that quotes the whole command.
void ReportParamRange(std::string_view command, int n, std::string_view commandText);
void ReportParamWarning(std::string_view command, int n, std::string_view commandText,
                        std::string_view text);

}  // namespace velcrum
