// UE and UP. A failed check ends a command only in strict inspection.
#include "peripherals/umd_commands.h"

#include <string>

#include "interpreter/arguments.h"
#include "interpreter/handler_support.h"
#include "interpreter/parameter_checks.h"
#include "peripherals/umd_displays.h"

namespace velcrum {
namespace {

bool NumbersChecked(const CommandCall& call, int first, int last) {
  bool usable = true;
  for (int n = first; n <= last; ++n) {
    usable = CheckNumericParam(Mnemonic(call), n, false, false, call.text) && usable;
  }
  return usable || !IsStrictInspection();
}

int ExecUE(const CommandCall& call) {
  GetArguments(call.text, 1);
  if (!NumbersChecked(call, 1, 1)) return 0;
  if (ParamValue(1) == 1) {
    StartUmds();
  } else {
    StopUmds();
  }
  return 0;
}

// TSL takes five parameters (the last the brightness), the other protocols four.
int ExecUP(const CommandCall& call) {
  const bool tsl = CurrentUmdProtocol() == UmdProtocol::kTsl;
  const int count = tsl ? 5 : 4;
  GetArguments(call.text, count);
  const bool textUsable = CheckStringParam(Mnemonic(call), 1, false, false, call.text);
  if (!textUsable && IsStrictInspection()) return 0;
  if (!CheckParamLength(call, 1) || !NumbersChecked(call, 2, count)) return 0;
  const std::string caption = ParamText(1);
  const int chain = ParamValue(2);
  const int display = ParamValue(3);
  const int cues = ParamValue(4);
  const int brightness = tsl ? ParamValue(5) : 0;
  PutUmd(caption, chain, display, cues, brightness);
  return 0;
}

constexpr CommandEntry kRows[] = {
    {"UE", ExecUE},
    {"UP", ExecUP},
};

}  // namespace

const CommandTable kUmdCommands = kRows;

}  // namespace velcrum
