// The pop-up menu. The four debug switches write their new state to VELCRUM.INI at once,
// so that the next run starts as the operator left this one.
#include "shell/shell_menu.h"

#include <memory>

#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/variables.h"
#include "interpreter/version.h"
#include "platform/desktop/popup_menu.h"
#include "runtime/bound_resources.h"
#include "runtime/configuration_files.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "shell/configuration.h"
#include "shell/shutdown.h"

namespace velcrum {
namespace {

std::unique_ptr<platform::PopupMenu> g_popupMenu;

struct DebugSwitch {
  uint32_t item;
  unsigned bit;
  const char* key;
};

constexpr DebugSwitch kDebugSwitches[] = {
    {kMenuShowDebugWindow, kDebugWindowShown, "ShowDebugWindow"},
    {kMenuOutputToDbwin, kDebugToSystemDebugger, "EnableOutputDBWIN"},
    {kMenuOutputParserTrace, kDebugParserTrace, "OutputParserTrace"},
    {kMenuOutputDebug, kDebugOutputDebug, "OutputDebug"},
};

void SetDebugSwitch(const DebugSwitch& debugSwitch, bool on) {
  if (on) {
    g_config.debugFlags |= debugSwitch.bit;
  } else {
    g_config.debugFlags &= ~debugSwitch.bit;
  }
  if (g_popupMenu) g_popupMenu->SetChecked(debugSwitch.item, on);
  WriteBack("Debug", debugSwitch.key, on ? "1" : "0", VelcrumIniPath());
  ApplyConfiguration();
}

void ToggleDebugSwitch(const DebugSwitch& debugSwitch) {
  SetDebugSwitch(debugSwitch, (g_config.debugFlags & debugSwitch.bit) == 0);
}

bool SwitchIsOn(uint32_t item) {
  for (const DebugSwitch& debugSwitch : kDebugSwitches) {
    if (item == debugSwitch.item) return (g_config.debugFlags & debugSwitch.bit) != 0;
  }
  return item == kMenuShowVariables && (g_config.debugFlags & kDebugVariablesWindowShown) != 0;
}

std::string AboutLine(int id, const char* format, const char* unknown) {
  std::string text;
  if (!BoundResources().LoadString(id, text)) return unknown;
  constexpr size_t kAboutFieldLimit = 79;
  if (text.size() > kAboutFieldLimit) text.resize(kAboutFieldLimit);
  return Format(format, text.c_str());
}

}  // namespace

void BuildPopupMenu() {
  g_popupMenu = std::make_unique<platform::PopupMenu>();
  platform::PopupMenu& menu = *g_popupMenu;
  menu.AppendItem(kMenuShowEditor, "Show &Editor");
  menu.AppendItem(kMenuShowVariables, "Show &Variables");
  menu.AppendItem(kMenuClearVariables, "&Clear Variables");
  menu.AppendSeparator();
  menu.AppendItem(kMenuShowDebugWindow, "&Show Debug Window");
  menu.AppendItem(kMenuOutputToDbwin, "&Output to DBWIN");
  menu.AppendItem(kMenuOutputParserTrace, "Output &Parser Trace");
  menu.AppendItem(kMenuOutputDebug, "Output &Debug");
  menu.AppendSeparator();
  menu.AppendItem(kMenuAbout, "&About");
  menu.AppendItem(kMenuExit, "E&xit");
  for (const DebugSwitch& debugSwitch : kDebugSwitches) {
    menu.SetChecked(debugSwitch.item, (g_config.debugFlags & debugSwitch.bit) != 0);
  }
  menu.SetEnabled(kMenuClearVariables, (g_config.debugFlags & kDebugVariablesWindowShown) != 0);
}

void DestroyPopupMenu() {
  g_popupMenu.reset();
}

void ShowPopupMenu() {
  if (g_popupMenu) g_popupMenu->ShowAtCursor(g_hwndMain);
}

void ToggleVariablesWindowFromMenu() {
  g_config.debugFlags ^= kDebugVariablesWindowShown;
  const bool shown = (g_config.debugFlags & kDebugVariablesWindowShown) != 0;
  if (g_popupMenu) {
    g_popupMenu->SetChecked(kMenuShowVariables, shown);
    g_popupMenu->SetEnabled(kMenuClearVariables, shown);
  }
}

void SetMenuItemChecked(uint32_t item, bool checked) {
  if (g_popupMenu) g_popupMenu->SetChecked(item, checked);
}

bool MenuItemChecked(uint32_t item) {
  return g_popupMenu && g_popupMenu->IsChecked(item);
}

std::string AboutText() {
  return AboutLine(32700, "Panel   : %s\n", "Panel   : (unknown)\n") +
         AboutLine(32701, "Version : %s\n", "Version : (unknown)\n") +
         AboutLine(32702, "Date    : %s\n", "Date    : (unknown)\n") +
         AboutLine(32703, "Author  : %s\n\n", "Author  : (unknown)\n\n") +
         Format("Velcrum V%s (MSVS VC6) \n", kVersion) +
         Format("Compiled : %s - %s\n", kBuildDate, kBuildTime);
}

namespace {

void ActOnMenuItem(uint32_t item) {
  for (const DebugSwitch& debugSwitch : kDebugSwitches) {
    if (item == debugSwitch.item) {
      ToggleDebugSwitch(debugSwitch);
      return;
    }
  }
  switch (item) {
    case kMenuShowVariables:
      ToggleVariablesWindowFromMenu();
      break;
    case kMenuClearVariables:
      ClearVariables(true);
      break;
    case kMenuAbout:
      TheHost().ShowMessageBox("About", AboutText(),
                               {MessageBoxButtons::kOk, MessageBoxIcon::kInformation, false});
      break;
    case kMenuExit:
      MainCloseDown();
      break;
    default:
      break;
  }
}

}  // namespace

void SetMenuSwitch(uint32_t item, bool on, bool onlyOnChange) {
  const bool changed = SwitchIsOn(item) != on;
  if (!changed && onlyOnChange) return;
  for (const DebugSwitch& debugSwitch : kDebugSwitches) {
    if (item == debugSwitch.item) SetDebugSwitch(debugSwitch, on);
  }
  if (item == kMenuShowVariables && changed) ToggleVariablesWindowFromMenu();
  // The tools' windows open and close on their item, as a menu choice does.
  if (changed) OfferToModules(platform::Message::Plain(platform::WM_COMMAND, item));
}

void OnMenuCommand(uint32_t item) {
  ActOnMenuItem(item);
  // The editor, the debug and the variables windows are the developer tools' work: they
  // act on the same item once the shell has set its switches.
  OfferToModules(platform::Message::Plain(platform::WM_COMMAND, item));
}

}  // namespace velcrum
