// The control statements of dialogs and the names of resources.
#include "panels/rc_statements.h"

#include "platform/ascii_case.h"

namespace velcrum {
namespace {

constexpr uint32_t kTabStop = 0x00010000u;  // WS_TABSTOP
constexpr uint32_t kGroup = 0x00020000u;    // WS_GROUP
constexpr uint32_t kBorder = 0x00800000u;   // WS_BORDER

constexpr RcControlStatement kStatements[] = {
    {"LTEXT", RcControlForm::kText, "STATIC", 0x0u | kGroup},  // SS_LEFT
    {"CTEXT", RcControlForm::kText, "STATIC", 0x1u | kGroup},  // SS_CENTER
    {"RTEXT", RcControlForm::kText, "STATIC", 0x2u | kGroup},  // SS_RIGHT
    {"ICON", RcControlForm::kIcon, "STATIC", 0x3u},            // SS_ICON
    {"PUSHBUTTON", RcControlForm::kText, "BUTTON", 0x0u | kTabStop},
    {"DEFPUSHBUTTON", RcControlForm::kText, "BUTTON", 0x1u | kTabStop},
    {"CHECKBOX", RcControlForm::kText, "BUTTON", 0x2u | kTabStop},
    {"AUTOCHECKBOX", RcControlForm::kText, "BUTTON", 0x3u | kTabStop},
    {"RADIOBUTTON", RcControlForm::kText, "BUTTON", 0x4u | kTabStop},
    {"STATE3", RcControlForm::kText, "BUTTON", 0x5u | kTabStop},
    {"AUTO3STATE", RcControlForm::kText, "BUTTON", 0x6u | kTabStop},
    {"GROUPBOX", RcControlForm::kText, "BUTTON", 0x7u},
    {"AUTORADIOBUTTON", RcControlForm::kText, "BUTTON", 0x9u | kTabStop},
    {"PUSHBOX", RcControlForm::kText, "BUTTON", 0xAu | kTabStop},
    {"EDITTEXT", RcControlForm::kNoText, "EDIT", 0x0u | kBorder | kTabStop},  // ES_LEFT
    {"LISTBOX", RcControlForm::kNoText, "LISTBOX", 0x1u | kBorder},           // LBS_NOTIFY
    {"COMBOBOX", RcControlForm::kNoText, "COMBOBOX", 0x1u | kTabStop},        // CBS_SIMPLE
    {"SCROLLBAR", RcControlForm::kNoText, "SCROLLBAR", 0x0u},                 // SBS_HORZ
    {"CONTROL", RcControlForm::kControl, "", 0x0u},
};

constexpr std::string_view kAtomClasses[] = {"BUTTON",  "EDIT",      "STATIC",
                                             "LISTBOX", "SCROLLBAR", "COMBOBOX"};

}  // namespace

const RcControlStatement* FindRcControlStatement(std::string_view keyword) {
  for (const RcControlStatement& statement : kStatements) {
    if (EqualNoCase(statement.keyword, keyword)) return &statement;
  }
  return nullptr;
}

std::string RcControlClass(std::string_view name) {
  for (std::string_view predefined : kAtomClasses) {
    if (EqualNoCase(predefined, name)) return std::string(predefined);
  }
  return std::string(name);
}

std::string RcClassOfAtom(uint32_t atom) {
  if (atom < 0x80 || atom > 0x85) return {};
  return std::string(kAtomClasses[atom - 0x80]);
}

std::string RcResourceKey(std::string_view name) {
  if (name.size() > 1 && name[0] == '#') {
    uint32_t number = 0;
    size_t i = 1;
    while (i < name.size() && IsAsciiDigit(name[i]) && number <= 0xFFFF) {
      number = number * 10 + static_cast<uint32_t>(name[i] - '0');
      ++i;
    }
    if (i == name.size() && number <= 0xFFFF) return "#" + std::to_string(number);
  }
  return UpperAsciiText(name);
}

}  // namespace velcrum
