// The configuration switches that the interpreter and its commands obey.
//
// The shell fills these from VELCRUM.INI at start-up; until then every debug switch is
// off, parameter inspection is on (mode 1) and its messages are on.
#pragma once

namespace velcrum {

enum class Inspection { kOff = 0, kOn = 1, kStrict = 2 };

struct InterpreterSettings {
  // Section Debug.
  bool showDebugWindow = false;
  bool outputDebug = false;        // the executor's line trace
  bool enableOutputDbwin = false;  // the system debugger channel
  bool outputParserTrace = false;  // the parser's inspection line and "Trace:" lines
  bool timeStampStartup = false;   // start-up checkpoints
  // OutputParserStack: the subroutine-stack lines of the sections and the revertive
  // processor.
  bool outputSubroutineStack = false;
  // Section System.
  Inspection parameterInspection = Inspection::kOn;
  bool parameterInspectMsgs = true;
  // TxVerticalBarCRLF, read by TX: 0 drops the line feed after a carriage return when a
  // line end is turned back into "|".
  int txVerticalBarCrlf = 0;
};

extern InterpreterSettings g_settings;

}  // namespace velcrum
