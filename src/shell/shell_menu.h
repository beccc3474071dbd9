// The main window's pop-up menu (also shown by a right click on any panel) and the About
// box.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/menu_items.h"

namespace velcrum {

// Built once during initialisation, with the check marks of the debug flags.
void BuildPopupMenu();
void DestroyPopupMenu();
// Shows the menu at the cursor, owned by the main window.
void ShowPopupMenu();
// WM_COMMAND from the menu.
void OnMenuCommand(uint32_t item);
// Item 504, also reached by Alt+Shift+D.
void ToggleVariablesWindowFromMenu();
// Puts one of the menu's switches (the debug window, the variables window, the system
// debugger, the parser trace, the debug output) into the given state, as its menu item
// would: the check mark follows, the debug switches write their key of VELCRUM.INI, and
// the developer tools are offered the item when their window's state changes.
// `onlyOnChange`: nothing at all happens when the switch is already in that state.
void SetMenuSwitch(uint32_t item, bool on, bool onlyOnChange);
// Sets or clears an item's check mark (nothing without a menu).
void SetMenuItemChecked(uint32_t item, bool checked);
// Whether an item carries its check mark (false without a menu).
bool MenuItemChecked(uint32_t item);

// The About box's text, from the string resources 32700 to 32703.
std::string AboutText();

}  // namespace velcrum
