// The workstation's keyboard layout: which character a key types with the modifiers held.
//
// The layout is the system's: the XKB_DEFAULT_LAYOUT, XKB_DEFAULT_VARIANT,
// XKB_DEFAULT_MODEL and XKB_DEFAULT_OPTIONS environment variables when XKB_DEFAULT_LAYOUT is
// set, else XKBLAYOUT, XKBVARIANT, XKBMODEL and XKBOPTIONS of /etc/default/keyboard, else
// the United States layout. It is compiled once, with libxkbcommon, at the first question.
// GUI thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace velcrum {

struct LayoutModifiers {
  bool shift = false;
  bool altGr = false;  // the right-hand Alt: the third level of the layout
  bool capsLock = false;
  bool numLock = false;
};

// The Windows-1252 code of the character the key with this Linux input code types (control
// characters included: Escape 27, Backspace 8, Tab 9, Return 13); nothing when it types
// none, or when no layout could be compiled.
std::optional<uint8_t> LayoutCharacter(unsigned inputCode, const LayoutModifiers& modifiers);

// Whether the layout in use is the United Kingdom's ("gb"; of several, the first).
bool IsUnitedKingdomLayout();

// Uses the named layout from now on in place of the system's (for tests and for sites that
// set it in their configuration); false, with the layout in use unchanged, when it cannot
// be compiled.
bool SelectKeyboardLayout(std::string_view layout, std::string_view variant = {});

}  // namespace velcrum
