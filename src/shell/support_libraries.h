// The runtime's support libraries: the custom-control libraries VORN_CC.DLL and
// BWCC32.DLL from the system directory, and the panel's own extension library beside
// the program file. Loaded once at start; BWCC32.DLL is let go in the last step of the
// shut-down, the others stay for the whole run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interpreter/executor_state.h"
#include "runtime/configuration_files.h"

namespace velcrum {

enum class ExtensionCheck { kNone, kValid, kInvalid };

struct SupportLibraryLoad {
  bool failed = false;  // VORN_CC.DLL or BWCC32.DLL missing
  ExtensionCheck extension = ExtensionCheck::kNone;
};

// Loads VORN_CC.DLL, then BWCC32.DLL, from SystemDirectory() (a Windows path, or a host
// path when it comes from the environment; both are mapped as every file name is). Each
// one that cannot be loaded is reported with the box "V3:Velcrum: Cannot find %s" (the
// full path) captioned "! Error !", and the load is marked failed; the next is tried all
// the same. Then the extension library: the module path (g_modulePath) with everything
// from the last "." of its file name on removed, plus ".dll". No such library: kNone,
// silently. One without the export VelcrumCall: a box captioned "! Error !" saying so,
// and kInvalid (the caller then ends the message loop). One with it: kValid; the library
// is kept for the whole run and its entry (ExtensionEntry) bound to the executor
// (g_pAppDllCall), which from then on offers it every line before running the line.
SupportLibraryLoad LoadSupportLibraries();

// The extension library's path for a module path (empty module path: empty).
std::string ExtensionLibraryPath(const std::string& modulePath);

// Calls BWCC32.DLL's BWCCRegister with the instance handle, when the library is loaded
// and exports it.
void RegisterBwcc(uintptr_t instance);

// Lets BWCC32.DLL go (last step of the shut-down).
void FreeBwcc();

// The extension's VelcrumCall, or nullptr when there is no valid extension.
VelcrumCallFunction ExtensionEntry();

// A custom control class that a loaded support library provides: its name as templates
// write it, the standard class whose behaviour it takes, and the style bits (those of
// styleMask) it fixes whatever the template says.
struct ControlClass {
  std::string name;
  std::string standardClass;
  uint32_t style = 0;
  uint32_t styleMask = 0;
};

// The classes of the loaded control libraries, VORN_CC.DLL's first, then BWCC32.DLL's
// (while it is loaded). A template naming a class outside this list cannot be created.
std::vector<ControlClass> SupportControlClasses();

// Unloads everything and forgets it, the executor's binding included (tests).
void ResetSupportLibraries();

}  // namespace velcrum
