// The Windows SDK and MFC constants that resource scripts use.
#include "panels/rc_sdk_constants.h"

#include <string>
#include <unordered_map>

#include "platform/ascii_case.h"

namespace velcrum {
namespace {

struct Constant {
  std::string_view name;
  uint32_t value;
};

// clang-format off
constexpr Constant kConstants[] = {
    // Window styles (winuser.h).
    {"WS_OVERLAPPED", 0x00000000}, {"WS_POPUP", 0x80000000}, {"WS_CHILD", 0x40000000},
    {"WS_MINIMIZE", 0x20000000}, {"WS_VISIBLE", 0x10000000}, {"WS_DISABLED", 0x08000000},
    {"WS_CLIPSIBLINGS", 0x04000000}, {"WS_CLIPCHILDREN", 0x02000000},
    {"WS_MAXIMIZE", 0x01000000}, {"WS_CAPTION", 0x00C00000}, {"WS_BORDER", 0x00800000},
    {"WS_DLGFRAME", 0x00400000}, {"WS_VSCROLL", 0x00200000}, {"WS_HSCROLL", 0x00100000},
    {"WS_SYSMENU", 0x00080000}, {"WS_THICKFRAME", 0x00040000}, {"WS_GROUP", 0x00020000},
    {"WS_TABSTOP", 0x00010000}, {"WS_MINIMIZEBOX", 0x00020000},
    {"WS_MAXIMIZEBOX", 0x00010000}, {"WS_TILED", 0x00000000}, {"WS_ICONIC", 0x20000000},
    {"WS_SIZEBOX", 0x00040000}, {"WS_OVERLAPPEDWINDOW", 0x00CF0000},
    {"WS_TILEDWINDOW", 0x00CF0000}, {"WS_POPUPWINDOW", 0x80880000},
    {"WS_CHILDWINDOW", 0x40000000},
    // Extended window styles.
    {"WS_EX_DLGMODALFRAME", 0x1}, {"WS_EX_NOPARENTNOTIFY", 0x4}, {"WS_EX_TOPMOST", 0x8},
    {"WS_EX_ACCEPTFILES", 0x10}, {"WS_EX_TRANSPARENT", 0x20}, {"WS_EX_MDICHILD", 0x40},
    {"WS_EX_TOOLWINDOW", 0x80}, {"WS_EX_WINDOWEDGE", 0x100}, {"WS_EX_CLIENTEDGE", 0x200},
    {"WS_EX_CONTEXTHELP", 0x400}, {"WS_EX_RIGHT", 0x1000}, {"WS_EX_LEFT", 0x0},
    {"WS_EX_RTLREADING", 0x2000}, {"WS_EX_LTRREADING", 0x0}, {"WS_EX_LEFTSCROLLBAR", 0x4000},
    {"WS_EX_RIGHTSCROLLBAR", 0x0}, {"WS_EX_CONTROLPARENT", 0x10000},
    {"WS_EX_STATICEDGE", 0x20000}, {"WS_EX_APPWINDOW", 0x40000},
    {"WS_EX_OVERLAPPEDWINDOW", 0x300}, {"WS_EX_PALETTEWINDOW", 0x188},
    {"WS_EX_LAYERED", 0x80000}, {"WS_EX_NOINHERITLAYOUT", 0x100000},
    {"WS_EX_LAYOUTRTL", 0x400000}, {"WS_EX_COMPOSITED", 0x2000000},
    {"WS_EX_NOACTIVATE", 0x8000000},
    // Dialog styles.
    {"DS_ABSALIGN", 0x1}, {"DS_SYSMODAL", 0x2}, {"DS_3DLOOK", 0x4}, {"DS_FIXEDSYS", 0x8},
    {"DS_NOFAILCREATE", 0x10}, {"DS_LOCALEDIT", 0x20}, {"DS_SETFONT", 0x40},
    {"DS_MODALFRAME", 0x80}, {"DS_NOIDLEMSG", 0x100}, {"DS_SETFOREGROUND", 0x200},
    {"DS_CONTROL", 0x400}, {"DS_CENTER", 0x800}, {"DS_CENTERMOUSE", 0x1000},
    {"DS_CONTEXTHELP", 0x2000}, {"DS_SHELLFONT", 0x48}, {"DS_USEPIXELS", 0x8000},
    // Buttons.
    {"BS_PUSHBUTTON", 0x0}, {"BS_DEFPUSHBUTTON", 0x1}, {"BS_CHECKBOX", 0x2},
    {"BS_AUTOCHECKBOX", 0x3}, {"BS_RADIOBUTTON", 0x4}, {"BS_3STATE", 0x5},
    {"BS_AUTO3STATE", 0x6}, {"BS_GROUPBOX", 0x7}, {"BS_USERBUTTON", 0x8},
    {"BS_AUTORADIOBUTTON", 0x9}, {"BS_PUSHBOX", 0xA}, {"BS_OWNERDRAW", 0xB},
    {"BS_SPLITBUTTON", 0xC}, {"BS_DEFSPLITBUTTON", 0xD}, {"BS_COMMANDLINK", 0xE},
    {"BS_DEFCOMMANDLINK", 0xF}, {"BS_TYPEMASK", 0xF}, {"BS_LEFTTEXT", 0x20},
    {"BS_RIGHTBUTTON", 0x20}, {"BS_TEXT", 0x0}, {"BS_ICON", 0x40}, {"BS_BITMAP", 0x80},
    {"BS_LEFT", 0x100}, {"BS_RIGHT", 0x200}, {"BS_CENTER", 0x300}, {"BS_TOP", 0x400},
    {"BS_BOTTOM", 0x800}, {"BS_VCENTER", 0xC00}, {"BS_PUSHLIKE", 0x1000},
    {"BS_MULTILINE", 0x2000}, {"BS_NOTIFY", 0x4000}, {"BS_FLAT", 0x8000},
    // Statics.
    {"SS_LEFT", 0x0}, {"SS_CENTER", 0x1}, {"SS_RIGHT", 0x2}, {"SS_ICON", 0x3},
    {"SS_BLACKRECT", 0x4}, {"SS_GRAYRECT", 0x5}, {"SS_WHITERECT", 0x6},
    {"SS_BLACKFRAME", 0x7}, {"SS_GRAYFRAME", 0x8}, {"SS_WHITEFRAME", 0x9},
    {"SS_USERITEM", 0xA}, {"SS_SIMPLE", 0xB}, {"SS_LEFTNOWORDWRAP", 0xC},
    {"SS_OWNERDRAW", 0xD}, {"SS_BITMAP", 0xE}, {"SS_ENHMETAFILE", 0xF},
    {"SS_ETCHEDHORZ", 0x10}, {"SS_ETCHEDVERT", 0x11}, {"SS_ETCHEDFRAME", 0x12},
    {"SS_TYPEMASK", 0x1F}, {"SS_REALSIZECONTROL", 0x40}, {"SS_NOPREFIX", 0x80},
    {"SS_NOTIFY", 0x100}, {"SS_CENTERIMAGE", 0x200}, {"SS_RIGHTJUST", 0x400},
    {"SS_REALSIZEIMAGE", 0x800}, {"SS_SUNKEN", 0x1000}, {"SS_EDITCONTROL", 0x2000},
    {"SS_ENDELLIPSIS", 0x4000}, {"SS_PATHELLIPSIS", 0x8000}, {"SS_WORDELLIPSIS", 0xC000},
    {"SS_ELLIPSISMASK", 0xC000},
    // Edits.
    {"ES_LEFT", 0x0}, {"ES_CENTER", 0x1}, {"ES_RIGHT", 0x2}, {"ES_MULTILINE", 0x4},
    {"ES_UPPERCASE", 0x8}, {"ES_LOWERCASE", 0x10}, {"ES_PASSWORD", 0x20},
    {"ES_AUTOVSCROLL", 0x40}, {"ES_AUTOHSCROLL", 0x80}, {"ES_NOHIDESEL", 0x100},
    {"ES_OEMCONVERT", 0x400}, {"ES_READONLY", 0x800}, {"ES_WANTRETURN", 0x1000},
    {"ES_NUMBER", 0x2000},
    // List boxes.
    {"LBS_NOTIFY", 0x1}, {"LBS_SORT", 0x2}, {"LBS_NOREDRAW", 0x4}, {"LBS_MULTIPLESEL", 0x8},
    {"LBS_OWNERDRAWFIXED", 0x10}, {"LBS_OWNERDRAWVARIABLE", 0x20},
    {"LBS_HASSTRINGS", 0x40}, {"LBS_USETABSTOPS", 0x80}, {"LBS_NOINTEGRALHEIGHT", 0x100},
    {"LBS_MULTICOLUMN", 0x200}, {"LBS_WANTKEYBOARDINPUT", 0x400},
    {"LBS_EXTENDEDSEL", 0x800}, {"LBS_DISABLENOSCROLL", 0x1000}, {"LBS_NODATA", 0x2000},
    {"LBS_NOSEL", 0x4000}, {"LBS_COMBOBOX", 0x8000}, {"LBS_STANDARD", 0xA00003},
    // Combo boxes.
    {"CBS_SIMPLE", 0x1}, {"CBS_DROPDOWN", 0x2}, {"CBS_DROPDOWNLIST", 0x3},
    {"CBS_OWNERDRAWFIXED", 0x10}, {"CBS_OWNERDRAWVARIABLE", 0x20},
    {"CBS_AUTOHSCROLL", 0x40}, {"CBS_OEMCONVERT", 0x80}, {"CBS_SORT", 0x100},
    {"CBS_HASSTRINGS", 0x200}, {"CBS_NOINTEGRALHEIGHT", 0x400},
    {"CBS_DISABLENOSCROLL", 0x800}, {"CBS_UPPERCASE", 0x2000}, {"CBS_LOWERCASE", 0x4000},
    // Scroll bars.
    {"SBS_HORZ", 0x0}, {"SBS_VERT", 0x1}, {"SBS_TOPALIGN", 0x2}, {"SBS_LEFTALIGN", 0x2},
    {"SBS_BOTTOMALIGN", 0x4}, {"SBS_RIGHTALIGN", 0x4}, {"SBS_SIZEBOXTOPLEFTALIGN", 0x2},
    {"SBS_SIZEBOXBOTTOMRIGHTALIGN", 0x4}, {"SBS_SIZEBOX", 0x8}, {"SBS_SIZEGRIP", 0x10},
    // Common controls (commctrl.h).
    {"CCS_TOP", 0x1}, {"CCS_NOMOVEY", 0x2}, {"CCS_BOTTOM", 0x3}, {"CCS_NORESIZE", 0x4},
    {"CCS_NOPARENTALIGN", 0x8}, {"CCS_ADJUSTABLE", 0x20}, {"CCS_NODIVIDER", 0x40},
    {"CCS_VERT", 0x80},
    {"TBS_AUTOTICKS", 0x1}, {"TBS_VERT", 0x2}, {"TBS_HORZ", 0x0}, {"TBS_TOP", 0x4},
    {"TBS_BOTTOM", 0x0}, {"TBS_LEFT", 0x4}, {"TBS_RIGHT", 0x0}, {"TBS_BOTH", 0x8},
    {"TBS_NOTICKS", 0x10}, {"TBS_ENABLESELRANGE", 0x20}, {"TBS_FIXEDLENGTH", 0x40},
    {"TBS_NOTHUMB", 0x80}, {"TBS_TOOLTIPS", 0x100}, {"TBS_REVERSED", 0x200},
    {"TBS_DOWNISLEFT", 0x400},
    {"UDS_WRAP", 0x1}, {"UDS_SETBUDDYINT", 0x2}, {"UDS_ALIGNRIGHT", 0x4},
    {"UDS_ALIGNLEFT", 0x8}, {"UDS_AUTOBUDDY", 0x10}, {"UDS_ARROWKEYS", 0x20},
    {"UDS_HORZ", 0x40}, {"UDS_NOTHOUSANDS", 0x80}, {"UDS_HOTTRACK", 0x100},
    {"PBS_SMOOTH", 0x1}, {"PBS_VERTICAL", 0x4}, {"PBS_MARQUEE", 0x8},
    {"TCS_SCROLLOPPOSITE", 0x1}, {"TCS_BOTTOM", 0x2}, {"TCS_RIGHT", 0x2},
    {"TCS_MULTISELECT", 0x4}, {"TCS_FLATBUTTONS", 0x8}, {"TCS_FORCEICONLEFT", 0x10},
    {"TCS_FORCELABELLEFT", 0x20}, {"TCS_HOTTRACK", 0x40}, {"TCS_VERTICAL", 0x80},
    {"TCS_TABS", 0x0}, {"TCS_BUTTONS", 0x100}, {"TCS_SINGLELINE", 0x0},
    {"TCS_MULTILINE", 0x200}, {"TCS_RIGHTJUSTIFY", 0x0}, {"TCS_FIXEDWIDTH", 0x400},
    {"TCS_RAGGEDRIGHT", 0x800}, {"TCS_FOCUSONBUTTONDOWN", 0x1000},
    {"TCS_OWNERDRAWFIXED", 0x2000}, {"TCS_TOOLTIPS", 0x4000}, {"TCS_FOCUSNEVER", 0x8000},
    {"LVS_ICON", 0x0}, {"LVS_REPORT", 0x1}, {"LVS_SMALLICON", 0x2}, {"LVS_LIST", 0x3},
    {"LVS_TYPEMASK", 0x3}, {"LVS_SINGLESEL", 0x4}, {"LVS_SHOWSELALWAYS", 0x8},
    {"LVS_SORTASCENDING", 0x10}, {"LVS_SORTDESCENDING", 0x20},
    {"LVS_SHAREIMAGELISTS", 0x40}, {"LVS_NOLABELWRAP", 0x80}, {"LVS_AUTOARRANGE", 0x100},
    {"LVS_EDITLABELS", 0x200}, {"LVS_OWNERDRAWFIXED", 0x400}, {"LVS_ALIGNTOP", 0x0},
    {"LVS_ALIGNLEFT", 0x800}, {"LVS_OWNERDATA", 0x1000}, {"LVS_NOSCROLL", 0x2000},
    {"LVS_NOCOLUMNHEADER", 0x4000}, {"LVS_NOSORTHEADER", 0x8000},
    {"TVS_HASBUTTONS", 0x1}, {"TVS_HASLINES", 0x2}, {"TVS_LINESATROOT", 0x4},
    {"TVS_EDITLABELS", 0x8}, {"TVS_DISABLEDRAGDROP", 0x10}, {"TVS_SHOWSELALWAYS", 0x20},
    {"TVS_RTLREADING", 0x40}, {"TVS_NOTOOLTIPS", 0x80}, {"TVS_CHECKBOXES", 0x100},
    {"TVS_TRACKSELECT", 0x200}, {"TVS_SINGLEEXPAND", 0x400}, {"TVS_INFOTIP", 0x800},
    {"TVS_FULLROWSELECT", 0x1000}, {"TVS_NOSCROLL", 0x2000}, {"TVS_NONEVENHEIGHT", 0x4000},
    {"TVS_NOHSCROLL", 0x8000},
    {"ACS_CENTER", 0x1}, {"ACS_TRANSPARENT", 0x2}, {"ACS_AUTOPLAY", 0x4},
    {"DTS_UPDOWN", 0x1}, {"DTS_SHOWNONE", 0x2}, {"DTS_SHORTDATEFORMAT", 0x0},
    {"DTS_LONGDATEFORMAT", 0x4}, {"DTS_TIMEFORMAT", 0x9}, {"DTS_APPCANPARSE", 0x10},
    {"DTS_RIGHTALIGN", 0x20}, {"SBARS_SIZEGRIP", 0x100},
    // Dialog box command identifiers; IDC_STATIC of afxres.h and winres.h.
    {"IDOK", 1}, {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4}, {"IDIGNORE", 5},
    {"IDYES", 6}, {"IDNO", 7}, {"IDCLOSE", 8}, {"IDHELP", 9}, {"IDTRYAGAIN", 10},
    {"IDCONTINUE", 11}, {"IDC_STATIC", 0xFFFFFFFF},
    {"TRUE", 1}, {"FALSE", 0}, {"NULL", 0}, {"WM_USER", 0x400}, {"WM_APP", 0x8000},
    // Fonts (wingdi.h).
    {"FW_DONTCARE", 0}, {"FW_THIN", 100}, {"FW_EXTRALIGHT", 200}, {"FW_ULTRALIGHT", 200},
    {"FW_LIGHT", 300}, {"FW_NORMAL", 400}, {"FW_REGULAR", 400}, {"FW_MEDIUM", 500},
    {"FW_SEMIBOLD", 600}, {"FW_DEMIBOLD", 600}, {"FW_BOLD", 700}, {"FW_EXTRABOLD", 800},
    {"FW_ULTRABOLD", 800}, {"FW_HEAVY", 900}, {"FW_BLACK", 900},
    {"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}, {"SYMBOL_CHARSET", 2},
    {"SHIFTJIS_CHARSET", 128}, {"HANGUL_CHARSET", 129}, {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136}, {"OEM_CHARSET", 255}, {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162}, {"HEBREW_CHARSET", 177}, {"ARABIC_CHARSET", 178},
    {"BALTIC_CHARSET", 186}, {"RUSSIAN_CHARSET", 204}, {"EASTEUROPE_CHARSET", 238},
    // Languages (winnt.h), for LANGUAGE statements and #if lines.
    {"LANG_NEUTRAL", 0x00}, {"LANG_CHINESE", 0x04}, {"LANG_CZECH", 0x05},
    {"LANG_DANISH", 0x06}, {"LANG_GERMAN", 0x07}, {"LANG_GREEK", 0x08},
    {"LANG_ENGLISH", 0x09}, {"LANG_SPANISH", 0x0A}, {"LANG_FINNISH", 0x0B},
    {"LANG_FRENCH", 0x0C}, {"LANG_HUNGARIAN", 0x0E}, {"LANG_ITALIAN", 0x10},
    {"LANG_JAPANESE", 0x11}, {"LANG_KOREAN", 0x12}, {"LANG_DUTCH", 0x13},
    {"LANG_NORWEGIAN", 0x14}, {"LANG_POLISH", 0x15}, {"LANG_PORTUGUESE", 0x16},
    {"LANG_RUSSIAN", 0x19}, {"LANG_SWEDISH", 0x1D}, {"LANG_TURKISH", 0x1F},
    {"SUBLANG_NEUTRAL", 0x00}, {"SUBLANG_DEFAULT", 0x01}, {"SUBLANG_SYS_DEFAULT", 0x02},
    {"SUBLANG_ENGLISH_US", 0x01}, {"SUBLANG_ENGLISH_UK", 0x02},
    {"SUBLANG_ENGLISH_AUS", 0x03}, {"SUBLANG_ENGLISH_CAN", 0x04},
    {"SUBLANG_ENGLISH_NZ", 0x05}, {"SUBLANG_ENGLISH_EIRE", 0x06},
    {"SUBLANG_GERMAN", 0x01}, {"SUBLANG_GERMAN_SWISS", 0x02},
    {"SUBLANG_GERMAN_AUSTRIAN", 0x03}, {"SUBLANG_FRENCH", 0x01},
    {"SUBLANG_FRENCH_BELGIAN", 0x02}, {"SUBLANG_FRENCH_CANADIAN", 0x03},
    {"SUBLANG_FRENCH_SWISS", 0x04}, {"SUBLANG_SPANISH", 0x01}, {"SUBLANG_ITALIAN", 0x01},
    {"SUBLANG_DUTCH", 0x01}, {"SUBLANG_KOREAN", 0x01},
    {"SUBLANG_CHINESE_TRADITIONAL", 0x01}, {"SUBLANG_CHINESE_SIMPLIFIED", 0x02},
    {"SUBLANG_PORTUGUESE_BRAZILIAN", 0x01}, {"SUBLANG_PORTUGUESE", 0x02},
    // Virtual-key codes; VK_F1 to VK_F24, VK_NUMPAD0 to 9 and VK_0 ... follow below.
    {"VK_LBUTTON", 0x01}, {"VK_RBUTTON", 0x02}, {"VK_CANCEL", 0x03}, {"VK_MBUTTON", 0x04},
    {"VK_BACK", 0x08}, {"VK_TAB", 0x09}, {"VK_CLEAR", 0x0C}, {"VK_RETURN", 0x0D},
    {"VK_SHIFT", 0x10}, {"VK_CONTROL", 0x11}, {"VK_MENU", 0x12}, {"VK_PAUSE", 0x13},
    {"VK_CAPITAL", 0x14}, {"VK_ESCAPE", 0x1B}, {"VK_SPACE", 0x20}, {"VK_PRIOR", 0x21},
    {"VK_NEXT", 0x22}, {"VK_END", 0x23}, {"VK_HOME", 0x24}, {"VK_LEFT", 0x25},
    {"VK_UP", 0x26}, {"VK_RIGHT", 0x27}, {"VK_DOWN", 0x28}, {"VK_SELECT", 0x29},
    {"VK_PRINT", 0x2A}, {"VK_EXECUTE", 0x2B}, {"VK_SNAPSHOT", 0x2C}, {"VK_INSERT", 0x2D},
    {"VK_DELETE", 0x2E}, {"VK_HELP", 0x2F}, {"VK_LWIN", 0x5B}, {"VK_RWIN", 0x5C},
    {"VK_APPS", 0x5D}, {"VK_MULTIPLY", 0x6A}, {"VK_ADD", 0x6B}, {"VK_SEPARATOR", 0x6C},
    {"VK_SUBTRACT", 0x6D}, {"VK_DECIMAL", 0x6E}, {"VK_DIVIDE", 0x6F},
    {"VK_NUMLOCK", 0x90}, {"VK_SCROLL", 0x91}, {"VK_LSHIFT", 0xA0}, {"VK_RSHIFT", 0xA1},
    {"VK_LCONTROL", 0xA2}, {"VK_RCONTROL", 0xA3}, {"VK_LMENU", 0xA4}, {"VK_RMENU", 0xA5},
    // Controls of the common dialogs (dlgs.h) named individually.
    {"pshHelp", 0x040E},
};
// clang-format on

// Numbered families: {prefix, first value, how many}; the first is prefix + "1", except
// the keys that start at 0.
struct Family {
  std::string_view prefix;
  uint32_t first;
  int count;
  int firstNumber;
};
constexpr Family kFamilies[] = {
    {"VK_F", 0x70, 24, 1},  {"VK_NUMPAD", 0x60, 10, 0}, {"psh", 0x0400, 16, 1},
    {"chx", 0x0410, 16, 1}, {"rad", 0x0420, 16, 1},     {"grp", 0x0430, 4, 1},
    {"frm", 0x0434, 4, 1},  {"rct", 0x0438, 4, 1},      {"ico", 0x043C, 4, 1},
    {"stc", 0x0440, 32, 1}, {"lst", 0x0460, 16, 1},     {"cmb", 0x0470, 16, 1},
    {"edt", 0x0480, 16, 1}, {"scr", 0x0490, 8, 1},
};

const std::unordered_map<std::string, int32_t>& Table() {
  static const auto* const table = [] {
    auto* built = new std::unordered_map<std::string, int32_t>;
    for (const Constant& constant : kConstants) {
      built->emplace(std::string(constant.name), static_cast<int32_t>(constant.value));
    }
    for (const Family& family : kFamilies) {
      for (int i = 0; i < family.count; ++i) {
        built->emplace(std::string(family.prefix) + std::to_string(family.firstNumber + i),
                       static_cast<int32_t>(family.first + static_cast<uint32_t>(i)));
      }
    }
    return built;
  }();
  return *table;
}

}  // namespace

std::optional<int32_t> RcSdkConstant(std::string_view name) {
  const auto& table = Table();
  const auto found = table.find(std::string(name));
  if (found == table.end()) return std::nullopt;
  return found->second;
}

bool IsRcSdkFile(std::string_view name) {
  constexpr std::string_view kFiles[] = {
      "windows.h",     "winres.h",     "winresrc.h",     "afxres.h",    "winuser.h",
      "winuser.rh",    "winver.h",     "commctrl.h",     "commctrl.rh", "dlgs.h",
      "richedit.h",    "ntdef.h",      "winnt.h",        "winnt.rh",    "windef.h",
      "winbase.h",     "wingdi.h",     "winnls.h",       "ntverp.h",    "common.ver",
      "prsht.h",       "shellapi.h",   "commdlg.h",      "cderr.h",     "olectl.h",
      "mmsystem.h",    "winspool.h",   "winerror.h",     "winreg.h",    "atlres.h",
      "afxres.rc",     "afxprint.rc",  "afxolecl.rc",    "afxolesv.rc", "afxdb.rc",
      "afxctl.rc",     "afxribbon.rc", "afxribbonres.h", "sdkddkver.h", "winapifamily.h",
      "specstrings.h", "bwcc.h",       "verrsrc.h",      "dde.h",       "ddeml.h",
      "winnetwk.h"};
  const size_t slash = name.find_last_of("\\/");
  const std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
  for (std::string_view file : kFiles) {
    if (EqualNoCase(base, file)) return true;
  }
  return false;
}

}  // namespace velcrum
