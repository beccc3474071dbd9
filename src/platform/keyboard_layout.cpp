// The keyboard layout through libxkbcommon.
#include "platform/keyboard_layout.h"

#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "platform/windows_1252.h"

namespace velcrum {
namespace {

// Input codes are XKB key codes less 8, by the evdev rules.
constexpr unsigned kXkbOffset = 8;

struct ContextDeleter {
  void operator()(xkb_context* context) const { xkb_context_unref(context); }
};
struct KeymapDeleter {
  void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
};
struct StateDeleter {
  void operator()(xkb_state* state) const { xkb_state_unref(state); }
};
using Keymap = std::unique_ptr<xkb_keymap, KeymapDeleter>;

struct LayoutNames {
  std::string model, layout, variant, options;
};

// The value of KEY="value" (or KEY=value) in /etc/default/keyboard's shell syntax.
std::string Unquoted(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

LayoutNames SystemLayoutNames() {
  LayoutNames names;
  if (const char* layout = std::getenv("XKB_DEFAULT_LAYOUT"); layout && *layout) {
    const auto get = [](const char* name) {
      const char* value = std::getenv(name);
      return std::string(value ? value : "");
    };
    return {get("XKB_DEFAULT_MODEL"), layout, get("XKB_DEFAULT_VARIANT"),
            get("XKB_DEFAULT_OPTIONS")};
  }
  std::ifstream file("/etc/default/keyboard");
  for (std::string line; std::getline(file, line);) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos || line.starts_with('#')) continue;
    const std::string key = line.substr(0, equals);
    const std::string value = Unquoted(line.substr(equals + 1));
    if (key == "XKBMODEL") names.model = value;
    if (key == "XKBLAYOUT") names.layout = value;
    if (key == "XKBVARIANT") names.variant = value;
    if (key == "XKBOPTIONS") names.options = value;
  }
  if (names.layout.empty()) names.layout = "us";
  return names;
}

xkb_context* Context() {
  static std::unique_ptr<xkb_context, ContextDeleter> context(
      xkb_context_new(XKB_CONTEXT_NO_FLAGS));
  return context.get();
}

Keymap Compile(const LayoutNames& names) {
  if (!Context()) return nullptr;
  const auto field = [](const std::string& text) { return text.empty() ? nullptr : text.c_str(); };
  const xkb_rule_names rules{"evdev", field(names.model), field(names.layout), field(names.variant),
                             field(names.options)};
  return Keymap(xkb_keymap_new_from_names(Context(), &rules, XKB_KEYMAP_COMPILE_NO_FLAGS));
}

struct Layout {
  LayoutNames names;
  Keymap keymap;
};

Layout& CurrentLayout() {
  static Layout layout = [] {
    LayoutNames names = SystemLayoutNames();
    Keymap keymap = Compile(names);
    return Layout{std::move(names), std::move(keymap)};
  }();
  return layout;
}

// A key pressed and held, or pressed and released (the lock keys), in the state.
void Hold(xkb_state* state, unsigned inputCode) {
  xkb_state_update_key(state, inputCode + kXkbOffset, XKB_KEY_DOWN);
}
void Toggle(xkb_state* state, unsigned inputCode) {
  xkb_state_update_key(state, inputCode + kXkbOffset, XKB_KEY_DOWN);
  xkb_state_update_key(state, inputCode + kXkbOffset, XKB_KEY_UP);
}

}  // namespace

std::optional<uint8_t> LayoutCharacter(unsigned inputCode, const LayoutModifiers& modifiers) {
  const Keymap& keymap = CurrentLayout().keymap;
  if (!keymap) return std::nullopt;
  const std::unique_ptr<xkb_state, StateDeleter> state(xkb_state_new(keymap.get()));
  if (!state) return std::nullopt;
  if (modifiers.capsLock) Toggle(state.get(), KEY_CAPSLOCK);
  if (modifiers.numLock) Toggle(state.get(), KEY_NUMLOCK);
  if (modifiers.shift) Hold(state.get(), KEY_LEFTSHIFT);
  if (modifiers.altGr) Hold(state.get(), KEY_RIGHTALT);
  const uint32_t character = xkb_state_key_get_utf32(state.get(), inputCode + kXkbOffset);
  if (character == 0) return std::nullopt;
  return AnsiCodeOf(character);
}

bool IsUnitedKingdomLayout() {
  const std::string& layouts = CurrentLayout().names.layout;
  return layouts.substr(0, layouts.find(',')) == "gb";
}

bool SelectKeyboardLayout(std::string_view layout, std::string_view variant) {
  LayoutNames names{"", std::string(layout), std::string(variant), ""};
  Keymap keymap = Compile(names);
  if (!keymap) return false;
  CurrentLayout() = Layout{std::move(names), std::move(keymap)};
  return true;
}

}  // namespace velcrum
