// The installed modules and the calls that run their steps.
#include "runtime/module.h"

#include "runtime/event_routing.h"
#include "runtime/log_file.h"
#include "runtime/process_state.h"
#include "runtime/subsystem_settings.h"
#include "runtime/variables_shortcut.h"

namespace velcrum {
namespace {

std::span<const Module* const> g_modules;

}  // namespace

void InstallModules(std::span<const Module* const> modules) {
  g_modules = modules;
  ClearCommands();
  for (const Module* module : modules) {
    for (const CommandTable table : module->commands) RegisterCommands(table);
  }
}

std::span<const Module* const> InstalledModules() {
  return g_modules;
}

void ResetModules() {
  ResetProcessState();
  ResetSubsystemSettings();
  ResetEventRouting();
  ResetLogFile();
  ResetVariablesShortcut();
  for (const Module* module : g_modules) {
    if (module->reset) module->reset();
  }
}

void RunStartUpStep(StartUpStep step) {
  for (const Module* module : g_modules) {
    if (module->startUp) module->startUp(step);
  }
}

void DrainModuleQueues() {
  for (const Module* module : g_modules) {
    if (module->drainQueues) module->drainQueues();
  }
}

void RunShutDownStep(ShutDownStep step) {
  for (const Module* module : g_modules) {
    if (module->shutDown) module->shutDown(step);
  }
}

void OfferToModules(const platform::Message& message) {
  for (const Module* module : g_modules) {
    if (module->mainWindowMessage) module->mainWindowMessage(message);
  }
}

}  // namespace velcrum
