// The settings of VELCRUM.INI and NXI.INI that subsystems other than the shell obey, one
// struct per subsystem. The shell's configuration reader fills them at start-up, as it
// fills the interpreter's settings; until then every value is 0.
#pragma once

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

extern NetworkSettings g_networkSettings;
extern InstanceSettings g_instanceSettings;
extern PanelSettings g_panelSettings;

// All back to the values before start-up.
void ResetSubsystemSettings();

}  // namespace velcrum
