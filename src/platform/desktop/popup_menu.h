// A pop-up (context) menu: items with identifiers, check marks and enabled state, shown at
// the mouse cursor for an owner window. Choosing an item posts WM_COMMAND with the item's
// identifier to the owner, as a Windows menu does, so the owner's window procedure handles
// menu commands like any other message.
//
// Needs the Qt application object; lives on the thread that runs the message loop.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/desktop/message.h"

namespace velcrum::platform {

class PopupMenu {
 public:
  PopupMenu();
  ~PopupMenu();
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  // Adds an item at the end, enabled and unchecked. "&" marks the next character as the
  // mnemonic, "&&" is a literal "&", as on Windows.
  void AppendItem(uint32_t id, std::string_view text);
  void AppendSeparator();

  // The item's check mark and enabled state (a disabled item is grey and cannot be
  // chosen). Unknown identifiers are ignored, and read as unchecked and disabled. When two
  // items share an identifier, the first counts.
  void SetChecked(uint32_t id, bool checked);
  bool IsChecked(uint32_t id) const;
  void SetEnabled(uint32_t id, bool enabled);
  bool IsEnabled(uint32_t id) const;

  // Shows the menu at the mouse cursor, owned by `owner`; never blocks: choosing an item
  // posts WM_COMMAND (wParam = id, lParam 0) to the owner. Choosing changes no check mark:
  // the owner does that, as on Windows.
  void ShowAtCursor(Hwnd owner);
  // Whether the menu is on the screen.
  bool IsShown() const;

  // As if the operator chose the item from the shown menu (tests, keyboard): the menu
  // closes and, when the item exists and is enabled, WM_COMMAND goes to the owner of the
  // last ShowAtCursor. Nothing when the menu was never shown.
  void Choose(uint32_t id);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace velcrum::platform
