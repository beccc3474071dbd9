// The keys the desktop tool types: its syntax, read into the key presses a keyboard would
// make.
//
// Plain characters are typed as they stand (an upper-case letter or a shifted symbol of a
// US layout with Shift held, a line feed as Return, a tab as Tab); a name in braces is a
// named key, with modifiers before it joined by "+": "{Tab}", "{Shift+Tab}", "{Ctrl+a}",
// "{Alt+F4}", "{Return}"; the modifiers go down in the order written. Names are read without regard
// to case; "{{}" and "{}}" type the braces themselves. docs/DESKTOP-TOOL.md lists the names.
#pragma once

#include <Qt>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velcrum::platform {

struct HandKey {
  int key = 0;  // a Qt::Key, 0 for a character no key of a US layout produces
  Qt::KeyboardModifiers modifiers;
  std::string text;  // UTF-8: what the press types (empty for keys that type nothing)
  // The modifiers written before the key, in the order written: they go down in this
  // order ("{Alt+Shift+d}" holds Alt, then presses Shift), before the Shift a character
  // needs of its own.
  std::vector<Qt::KeyboardModifier> order = {};

  bool operator==(const HandKey&) const = default;
};

// The presses the keys stand for; nothing, with the reason, when the syntax is wrong.
std::optional<std::vector<HandKey>> ParseHandKeys(std::string_view keys, std::string* error);

}  // namespace velcrum::platform
