// The settings of VELCRUM.INI and NXI.INI that subsystems other than the shell obey, one
// struct per subsystem. The shell's configuration reader fills them at start-up, as it
// fills the interpreter's settings; until then every value is 0.
#pragma once

#include <string>

namespace velcrum {

// The network link.
struct NetworkSettings {
  // KALNXIEnable: 0 switches the network off (no NXI discovery, workstation 0).
  int kalNxiEnable = 0;
  // SynchronousMode: network messages go through the revertive queue instead of being
  // handled at once.
  int synchronousMode = 0;
};

// Who this copy of the program is: what the instance name is formed from.
struct InstanceSettings {
  // V2CompatibleVelcrumNames: instance names cut to exactly 8 characters before the ".".
  int v2CompatibleVelcrumNames = 0;
  // 1 to 999; -1 when not set; 0 with the network switched off.
  int workstation = 0;
};

// The panels.
struct PanelSettings {
  // AllowSystemMenuExit: 1 lets a panel's cancel command (Escape, the system menu's
  // Close) end the program.
  int allowSystemMenuExit = 0;
  // PrinterSupport: 0 switches printing (LH) off.
  int printerSupport = 0;
};

// The under-monitor displays.
struct UmdSettings {
  // iUmdChain1 to iUmdChain4: the serial port number (COM port) of each chain; -1: the
  // chain is not used.
  int chains[4] = {0, 0, 0, 0};
  // UMDProtocol, upper-cased: "TSL", "AMAZON" or the name of the basic protocol.
  std::string protocol;
  // UMDBaudRate: the baud rate of every chain.
  unsigned baudRate = 0;
  // UmdSize: the display width in characters.
  int size = 0;
  // UmdVirtualisation: 1 splits each TSL display into two of 8 characters.
  int virtualisation = 0;
  // CycleAmazon: 1 lets the rotation re-send AMAZON displays.
  int cycleAmazon = 0;
};

// A window's place and size in screen pixels, as VELCRUM.INI gives them.
struct WindowPlacement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The developer tools: where their windows open.
struct ToolSettings {
  WindowPlacement debugWindow;      // [Debug] DebugWindowPositionX ... DebugWindowSizeH
  WindowPlacement variablesWindow;  // [System] VariablesWindowPositionX ...; "Debug 1"
  WindowPlacement editorWindow;     // [Editor] EditorWindowPositionX ... EditorWindowSizeH
};

extern NetworkSettings g_networkSettings;
extern InstanceSettings g_instanceSettings;
extern PanelSettings g_panelSettings;
extern UmdSettings g_umdSettings;
extern ToolSettings g_toolSettings;

// All back to the values before start-up.
void ResetSubsystemSettings();

}  // namespace velcrum
