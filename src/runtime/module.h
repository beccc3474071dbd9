// Modules: the subsystems as the program that composes them sees them.
//
// A module names its command groups, its reset (back to program start, for tests) and the
// steps it takes at the fixed points of start-up and shut-down, and it is offered the main
// window's messages that are a subsystem's work. Each program lists the modules it links
// (velcrum all of them, velcrum-run those that need no window, a test what it tests) and
// installs them once; the shell then runs "every module's step" at each point, in the
// order of that list, without knowing any module. This is how Lua's linit.c lists the
// libraries a program opens.
#pragma once

#include <span>
#include <string_view>

#include "interpreter/command_table.h"
#include "platform/desktop/message.h"

namespace velcrum {

// The points of start-up at which the modules take their steps, in the order they come.
enum class StartUpStep {
  // The configuration has been read and applied (the debug window, the exec override).
  kConfigured,
  // The main window is on the desktop and NXI found (script timers, device registrations,
  // the audio flags).
  kOnDesktop,
  // The script is loaded and the variables cleared; STARTUP runs next (developer windows,
  // printing, the panel table, the under-monitor displays).
  kScriptLoaded,
};

// The points of shut-down, in the order they come.
enum class ShutDownStep {
  // The CLOSEDOWN section has run; NXI has not been told yet (the video overlay).
  kCloseDownSectionRun,
  // NXI has been told that this window leaves (devices, displays, audio, panels).
  kLeftNxi,
  // The script and the memories are freed (printing, the debug window).
  kFreed,
  // The final step, just before the message loop is told to end (the message window).
  kFinalStep,
};

struct Module {
  std::string_view name = {};
  // The command groups: each a table of {mnemonic, handler} rows.
  std::span<const CommandTable> commands = {};
  void (*reset)() = nullptr;
  void (*startUp)(StartUpStep step) = nullptr;
  void (*shutDown)(ShutDownStep step) = nullptr;
  // A message of the main window that the shell hands on: a timer that is not the shell's
  // own, keyboard input, a click, a menu command after the shell has acted on it, the
  // audio notification, the key events of the keyboard hook.
  void (*mainWindowMessage)(const platform::Message& message) = nullptr;
  // The queue drain: runs what the module's queues hold (the network link's command and
  // revertive queues). Panels run it after each message of their dialogs.
  void (*drainQueues)() = nullptr;
};

// Registers every module's command groups with the dispatcher (replacing whatever was
// registered before) and keeps the list for the calls below. The modules must outlive
// their installation.
void InstallModules(std::span<const Module* const> modules);
std::span<const Module* const> InstalledModules();

// Back to program start, for tests: the process-wide state, then every installed module's
// reset, in order.
void ResetModules();

void RunStartUpStep(StartUpStep step);
void RunShutDownStep(ShutDownStep step);
void OfferToModules(const platform::Message& message);
void DrainModuleQueues();

}  // namespace velcrum
