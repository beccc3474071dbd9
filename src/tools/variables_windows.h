// The variables windows "Debug 1" (variables A to Z) and "Debug 2" (a to z), refreshed by
// timer 22 every second while they exist.
#pragma once

namespace velcrum {

// Menu item 504 (and Alt with Shift then D): opens both windows, or closes them.
void ToggleVariablesWindows();
void CloseVariablesWindows();
bool VariablesWindowsExist();
// Lists every variable anew.
void RefreshVariablesWindows();
// Brings both windows to the top, when they exist.
void RaiseVariablesWindows();

}  // namespace velcrum
