// What rc.exe makes of the statements of a dialog: the classes and default styles of the
// short control statements (PUSHBUTTON, LTEXT, EDITTEXT, ...), the predefined control
// classes, the dialog's own default style, and resource names as FindResource takes them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velcrum {

// Every control is a visible child window unless its style says NOT WS_VISIBLE.
inline constexpr uint32_t kRcControlStyle = 0x40000000u | 0x10000000u;  // WS_CHILD|WS_VISIBLE
// A dialog without STYLE: WS_POPUP|WS_BORDER|WS_SYSMENU.
inline constexpr uint32_t kRcDialogDefaultStyle = 0x80000000u | 0x00800000u | 0x00080000u;
inline constexpr uint32_t kRcCaptionStyle = 0x00C00000u;  // WS_CAPTION, added by CAPTION
inline constexpr uint32_t kRcSetFontStyle = 0x40u;        // DS_SETFONT, added by FONT

// The shape of a control statement's fields.
enum class RcControlForm {
  kText,    // text, id, x, y, cx, cy [, style [, exstyle [, helpid]]]
  kNoText,  // id, x, y, cx, cy [, style [, exstyle [, helpid]]]
  kIcon,    // text, id, x, y [, cx, cy [, style [, exstyle [, helpid]]]]
  kControl  // text, id, class, style, x, y, cx, cy [, exstyle [, helpid]]
};

struct RcControlStatement {
  std::string_view keyword;
  RcControlForm form;
  std::string_view className;  // empty for CONTROL, which names its class
  uint32_t style;              // the statement's defaults besides kRcControlStyle
};

// The control statement with that keyword (any case), or null.
const RcControlStatement* FindRcControlStatement(std::string_view keyword);

// The class a CONTROL statement names: the predefined classes ("Button", "edit", ...) in
// any case become "BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX" as their
// atoms would; any other name stays as written.
std::string RcControlClass(std::string_view name);
// The predefined class of an atom 0x80 (BUTTON) to 0x85 (COMBOBOX); empty for any other.
std::string RcClassOfAtom(uint32_t atom);

// The name under which a resource is found: "#12" for the identifier 12 ("#012" too),
// any other name in upper case, since FindResource compares names without regard to case.
std::string RcResourceKey(std::string_view name);

}  // namespace velcrum
