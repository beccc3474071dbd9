// The runtime's settings: VELCRUM.INI, read in two groups at start, every missing key
// written back with its default. The shell keeps the settings it obeys itself here and
// fills those of the interpreter and of the other subsystems (subsystem_settings.h).
#pragma once

#include <string>

namespace velcrum {

// The debug-flag word of the shell. The switches the interpreter obeys are mirrored in
// its settings (settings.h); ApplyConfiguration keeps the two in step.
enum DebugFlag : unsigned {
  kDebugWindowShown = 1,
  kDebugToSystemDebugger = 2,
  kDebugParserTrace = 4,
  kDebugOutputDebug = 8,
  kDebugVariablesWindowShown = 16,
  kDebugSubroutineStackTrace = 32,
};

// Group 1 is the tools' window placements and V2CompatibleVelcrumNames, kept with the
// subsystems' settings; what follows is group 2 and the shell's own.
struct Configuration {
  int fastClose = 0;
  unsigned debugFlags = 0;
  std::string videoCaptureApplication;
  int timeStampStartup = 0;
  int timeStampProfiling = 0;
  int maxExecWindows = 0;
  int newStartUp = 0;
  int logToFile = 0;
  int txVerticalBarCrlf = 0;
  int emMessageWindowPositionX = 0, emMessageWindowPositionY = 0;
  int emMessageWindowSizeW = 0, emMessageWindowSizeH = 0;
  int enableParameterInspection = 0;
  int enableParameterInspectMsgs = 0;
  // How long a send to another process waits for its answer, and each window of a
  // broadcast, in milliseconds (the desktop's send bounds).
  int sendTimeout = 0;
  int broadcastTimeout = 0;
  // The command lines ER runs (through /bin/sh) to reboot the workstation and to end the
  // operator's session.
  std::string rebootCommand;
  std::string logoffCommand;
};

extern Configuration g_config;

// Reads group 1 (process entry) and group 2 (initialisation, which also settles the
// workstation number when the network is switched on).
void ReadConfigurationGroup1();
void ReadConfigurationGroup2();

// Hands the settings on to those who obey them: the debug-flag word, the inspection
// settings and the TX switch to the interpreter's settings, LogToFile to the log file.
void ApplyConfiguration();

// Back to a configuration that has read nothing.
void ResetConfiguration();

}  // namespace velcrum
