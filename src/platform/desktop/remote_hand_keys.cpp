// Reading the desktop tool's key syntax.
#include "platform/desktop/remote_hand_keys.h"

#include <algorithm>
#include <array>

#include "platform/ascii_case.h"

namespace velcrum::platform {
namespace {

struct NamedKey {
  std::string_view name;
  int key;
  std::string_view text;  // what the key types, as a keyboard's driver reports it
};

constexpr std::array kNamedKeys = {
    NamedKey{"Tab", Qt::Key_Tab, "\t"},
    NamedKey{"Return", Qt::Key_Return, "\r"},
    NamedKey{"Enter", Qt::Key_Return, "\r"},
    NamedKey{"Escape", Qt::Key_Escape, "\x1b"},
    NamedKey{"Esc", Qt::Key_Escape, "\x1b"},
    NamedKey{"Space", Qt::Key_Space, " "},
    NamedKey{"Backspace", Qt::Key_Backspace, "\b"},
    NamedKey{"Delete", Qt::Key_Delete, ""},
    NamedKey{"Insert", Qt::Key_Insert, ""},
    NamedKey{"Home", Qt::Key_Home, ""},
    NamedKey{"End", Qt::Key_End, ""},
    NamedKey{"PageUp", Qt::Key_PageUp, ""},
    NamedKey{"PageDown", Qt::Key_PageDown, ""},
    NamedKey{"Up", Qt::Key_Up, ""},
    NamedKey{"Down", Qt::Key_Down, ""},
    NamedKey{"Left", Qt::Key_Left, ""},
    NamedKey{"Right", Qt::Key_Right, ""},
    NamedKey{"Shift", Qt::Key_Shift, ""},
    NamedKey{"Ctrl", Qt::Key_Control, ""},
    NamedKey{"Alt", Qt::Key_Alt, ""},
    NamedKey{"Pause", Qt::Key_Pause, ""},
};

// Symbols a US layout types with Shift held.
constexpr std::string_view kShiftedSymbols = "~!@#$%^&*()_+{}|:\"<>?";

// The key and modifiers of one character as a US keyboard types it.
HandKey CharacterKey(std::string_view character) {
  HandKey press{0, Qt::NoModifier, std::string(character)};
  if (character.size() != 1) return press;  // beyond ASCII: typed text, no key of its own
  const char c = character[0];
  if (c == '\n' || c == '\r') return HandKey{Qt::Key_Return, Qt::NoModifier, "\r"};
  if (c == '\t') return HandKey{Qt::Key_Tab, Qt::NoModifier, "\t"};
  if (c < 0x20 || c > 0x7e) return press;
  // Qt's keys for printable ASCII are the upper-case character codes.
  press.key = static_cast<unsigned char>(UpperAscii(c));
  if ((c >= 'A' && c <= 'Z') || kShiftedSymbols.find(c) != std::string_view::npos) {
    press.modifiers = Qt::ShiftModifier;
  }
  return press;
}

// The length of the UTF-8 sequence that begins with this byte (1 for a stray byte).
size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// F1 to F24: the number, else 0.
int FunctionKeyNumber(std::string_view name) {
  if (name.size() < 2 || name.size() > 3 || UpperAscii(name[0]) != 'F') return 0;
  int number = 0;
  for (const char c : name.substr(1)) {
    if (!IsAsciiDigit(c)) return 0;
    number = number * 10 + (c - '0');
  }
  return number >= 1 && number <= 24 ? number : 0;
}

std::optional<HandKey> BracedKey(std::string_view inside, std::string* error) {
  Qt::KeyboardModifiers modifiers;
  std::vector<Qt::KeyboardModifier> order;
  // Every part before the last is a modifier; a "+" key itself is written "{+}".
  for (size_t plus; inside.size() > 1 && (plus = inside.find('+')) != std::string_view::npos;) {
    const std::string_view name = inside.substr(0, plus);
    Qt::KeyboardModifier modifier;
    if (EqualNoCase(name, "Shift")) {
      modifier = Qt::ShiftModifier;
    } else if (EqualNoCase(name, "Ctrl") || EqualNoCase(name, "Control")) {
      modifier = Qt::ControlModifier;
    } else if (EqualNoCase(name, "Alt")) {
      modifier = Qt::AltModifier;
    } else {
      if (error) *error = "unknown modifier \"" + std::string(name) + "\"";
      return std::nullopt;
    }
    if (!(modifiers & modifier)) order.push_back(modifier);
    modifiers |= modifier;
    inside.remove_prefix(plus + 1);
  }
  HandKey press;
  if (inside.size() == 1) {
    press = CharacterKey(inside);
  } else if (const int function = FunctionKeyNumber(inside)) {
    press.key = Qt::Key_F1 + function - 1;
  } else {
    bool found = false;
    for (const NamedKey& named : kNamedKeys) {
      if (EqualNoCase(named.name, inside)) {
        press = HandKey{named.key, Qt::NoModifier, std::string(named.text)};
        found = true;
        break;
      }
    }
    if (!found) {
      if (error) *error = "unknown key \"{" + std::string(inside) + "}\"";
      return std::nullopt;
    }
  }
  press.modifiers |= modifiers;
  press.order = std::move(order);
  if (press.key == Qt::Key_Tab && (press.modifiers & Qt::ShiftModifier)) {
    press.key = Qt::Key_Backtab;  // as Qt reports Shift+Tab
  }
  // Control and Alt type nothing of their own; Control and a letter is read as the control
  // character by whoever turns presses into characters.
  if (press.modifiers & Qt::AltModifier) press.text.clear();
  return press;
}

}  // namespace

std::optional<std::vector<HandKey>> ParseHandKeys(std::string_view keys, std::string* error) {
  std::vector<HandKey> presses;
  while (!keys.empty()) {
    if (keys[0] == '{') {
      // "{}}" is the closing brace itself; otherwise the name runs to the first "}".
      const size_t close = keys.starts_with("{}}") ? 2 : keys.find('}', 1);
      if (close == std::string_view::npos || close == 1) {
        if (error) *error = "a \"{\" without a key name and \"}\" after it";
        return std::nullopt;
      }
      std::optional<HandKey> press = BracedKey(keys.substr(1, close - 1), error);
      if (!press) return std::nullopt;
      presses.push_back(std::move(*press));
      keys.remove_prefix(close + 1);
      continue;
    }
    if (keys[0] == '}') {
      if (error) *error = "a \"}\" without \"{\" before it (type it as \"{}}\")";
      return std::nullopt;
    }
    const size_t length =
        std::min(SequenceLength(static_cast<unsigned char>(keys[0])), keys.size());
    presses.push_back(CharacterKey(keys.substr(0, length)));
    keys.remove_prefix(length);
  }
  return presses;
}

}  // namespace velcrum::platform
