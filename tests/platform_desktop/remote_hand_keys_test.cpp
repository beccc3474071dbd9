// The desktop tool's key syntax.
#include "platform/desktop/remote_hand_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velcrum::platform {

void PrintTo(const HandKey& key, std::ostream* out) {
  *out << "{key " << key.key << " modifiers " << key.modifiers.toInt() << " text \"" << key.text
       << "\"}";
}

namespace testing {
namespace {

TEST(RemoteHandKeysTest, KeysReadAsTheirPresses) {
  const Qt::KeyboardModifiers none = Qt::NoModifier;
  const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
  const struct {
    std::string keys;
    std::vector<HandKey> presses;
  } cases[] = {
      {"aB1", {{Qt::Key_A, none, "a"}, {Qt::Key_B, shift, "B"}, {Qt::Key_1, none, "1"}}},
      {"{Tab}{shift+TAB}",
       {{Qt::Key_Tab, none, "\t"}, {Qt::Key_Backtab, shift, "\t", {Qt::ShiftModifier}}}},
      {"{Return}\n", {{Qt::Key_Return, none, "\r"}, {Qt::Key_Return, none, "\r"}}},
      {"{Esc}{Space}{Backspace}{Delete}",
       {{Qt::Key_Escape, none, "\x1b"},
        {Qt::Key_Space, none, " "},
        {Qt::Key_Backspace, none, "\b"},
        {Qt::Key_Delete, none, ""}}},
      {"{Ctrl+a}{Alt+F4}{F12}",
       {{Qt::Key_A, Qt::ControlModifier, "a", {Qt::ControlModifier}},
        {Qt::Key_F4, Qt::AltModifier, "", {Qt::AltModifier}},
        {Qt::Key_F12, none, ""}}},
      // The modifiers in the order written: Alt held, then Shift pressed.
      {"{Alt+Shift+d}",
       {{Qt::Key_D,
         Qt::AltModifier | Qt::ShiftModifier,
         "",
         {Qt::AltModifier, Qt::ShiftModifier}}}},
      // The braces themselves, a shifted symbol, and "+" as the key after a modifier.
      {"{{}{}}!{Ctrl++}",
       {{Qt::Key_BraceLeft, shift, "{"},
        {Qt::Key_BraceRight, shift, "}"},
        {Qt::Key_Exclam, shift, "!"},
        {Qt::Key_Plus, shift | Qt::ControlModifier, "+", {Qt::ControlModifier}}}},
      // A character beyond ASCII is typed as text, with no key of its own.
      {"\xc3\xa9", {{0, none, "\xc3\xa9"}}},
      {"", {}},
  };
  for (const auto& c : cases) {
    std::string error;
    const std::optional<std::vector<HandKey>> presses = ParseHandKeys(c.keys, &error);
    ASSERT_TRUE(presses) << c.keys << ": " << error;
    EXPECT_EQ(*presses, c.presses) << c.keys;
  }
}

TEST(RemoteHandKeysTest, WrongSyntaxIsRefusedWithTheReason) {
  const struct {
    std::string keys;
    std::string reason;
  } cases[] = {
      {"ab{", "without a key name"},     {"{}", "without a key name"},
      {"a}", "without \"{\" before"},    {"{Foo}", "unknown key \"{Foo}\""},
      {"{Hyper+a}", "unknown modifier"}, {"{F25}", "unknown key"},
      {"{Tab", "without a key name"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseHandKeys(c.keys, &error)) << c.keys;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.keys << ": " << error;
  }
}

}  // namespace
}  // namespace testing
}  // namespace velcrum::platform
