// Where the shell hands work to subsystems that are built in later steps: the panels, the
// developer tools (debug window, variables windows, script editor, printing), device
// registration, audio, video overlay, under-monitor displays, keyboard capture, the
// message window and the script timers.
//
// Each subsystem has its group of calls here, named for what the shell asks of it. Until
// the subsystem exists its calls do nothing (and a panel-less program has no first panel
// to pass timers to), which is exactly how the shell behaves with no panel open and no
// tool shown. A subsystem that arrives replaces its group with its real operations.
#pragma once

#include <cstdint>

namespace velcrum::hooks {

// Panels: the panel table, the first panel (which receives the script timers), close-down.
inline void InitialisePanelTable() {}
inline void DestroyPanels() {}
inline void RepostTimerToFirstPanel(uint32_t /*timer*/, int32_t /*lParam*/) {}

// Developer tools: the debug window, the variables windows, the script editor, printing.
inline void PrepareDeveloperWindows() {}
inline void CreateDebugWindow() {}
inline void DestroyDebugWindow() {}
inline void ToggleVariablesWindow() {}
inline void RefreshVariablesWindow() {}
inline void BringVariablesWindowToTop() {}
inline void OpenScriptEditor() {}
inline void StartPrinting() {}
inline void EndPrinting() {}

// Device registration: the registration slots and status lines, the disconnect at close.
inline void ResetDeviceRegistrations() {}
inline void DisconnectDevices() {}

// Audio: the sound flags, the device, MCI notifications.
inline void ResetAudioFlags() {}
inline void CloseAudioDevice() {}
inline void OnAudioNotify(uint32_t /*wParam*/, int32_t /*lParam*/) {}

// Video overlay: the "close overlay" command string at close.
inline void CloseVideoOverlay() {}

// Under-monitor displays: handles, rotation (timer 20), close.
inline void ResetUnderMonitorDisplays() {}
inline void RotateUnderMonitorDisplays() {}
inline void CloseUnderMonitorDisplays() {}

// Keyboard capture: keyboard messages of the main window, the focus timer (23), the key
// events of the keyboard hook. False: capture is off and the key was not taken.
inline bool CaptureKeyboardMessage(uint32_t /*message*/, uint32_t /*wParam*/, int32_t /*lParam*/) {
  return false;
}
inline void OnKeyboardFocusTimer() {}
inline void OnKeyEvent(uint32_t /*wParam*/, int32_t /*lParam*/) {}

// The message window of EM: bring to top, time-out (timer 26), destroy at close.
inline void BringMessageWindowToTop() {}
inline void OnMessageWindowTimeout() {}
inline void DestroyMessageWindow() {}

// Event routing: the 16 script timers and the exec override.
inline void ClearScriptTimers() {}
inline void ClearExecOverride() {}

}  // namespace velcrum::hooks
