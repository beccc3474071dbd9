// Whether a parsed parameter is of a usable kind, and the parameter reports.
//
// Checks answer true when the parameter can be used; they write their messages to the
// debug output while inspection messages are on. A handler stops after a range or
// length problem only in strict inspection mode. Parameter numbers are 1 to 19.
#pragma once

#include <string_view>

namespace velcrum {

bool IsInspectionOn();
bool IsStrictInspection();

// With inspection off both answer true without looking.
bool CheckStringParam(std::string_view command, int n, bool variableOnly, bool warnIfEmpty,
                      std::string_view commandText);
bool CheckNumericParam(std::string_view command, int n, bool variableOnly, bool unused,
                       std::string_view commandText);

// These work in every inspection mode and write nothing. The first two set
// g_bParamError when they answer false.
bool IsIntVarParam(std::string_view command, int n);
bool IsStringVarParam(std::string_view command, int n);
bool IsNumericParam(std::string_view command, int n);
bool IsStringParam(std::string_view command, int n);

// Only while inspection is on: "is out of range" (or "is not found" for a missing
// parameter), and a free-text warning that quotes the whole command.
void ReportParamRange(std::string_view command, int n, std::string_view commandText);
void ReportParamWarning(std::string_view command, int n, std::string_view commandText,
                        std::string_view text);

}  // namespace velcrum
