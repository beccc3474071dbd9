// The resource reader on the forms that 1990s and 2000s Visual C++ and Borland scripts
// use: dialogs and their controls with the styles rc gives them, what rc tolerates, the
// SDK's constants without its headers, macros, code pages, repeated resources, and
// problems named by file and line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panels/rc_parser.h"
#include "panels/rc_resources.h"
#include "panels/rc_test_directory.h"

namespace velcrum {
namespace {

using platform::ControlTemplate;
using platform::DialogTemplate;

std::string ProblemLines(const RcScript& script) {
  std::string all;
  for (const RcProblem& problem : script.problems) all += problem.Text() + "\n";
  return all;
}

TEST(RcReaderForms, ControlStatementsGetTheClassesAndStylesRcGivesThem) {
  const struct {
    const char* statement;
    const char* className;
    std::string text;
    uint32_t style;
    uint32_t exStyle = 0;
  } cases[] = {
      {"LTEXT \"a\", 9, 1, 2, 30, 8", "STATIC", "a", 0x50020000},
      {"CTEXT \"a\", 9, 1, 2, 30, 8", "STATIC", "a", 0x50020001},
      {"RTEXT \"a\", 9, 1, 2, 30, 8", "STATIC", "a", 0x50020002},
      {"PUSHBUTTON \"a\", 9, 1, 2, 30, 8", "BUTTON", "a", 0x50010000},
      {"DEFPUSHBUTTON \"a\", 9, 1, 2, 30, 8", "BUTTON", "a", 0x50010001},
      {"CHECKBOX \"a\", 9, 1, 2, 30, 8", "BUTTON", "a", 0x50010002},
      {"AUTOCHECKBOX \"a\", 9, 1, 2, 30, 8", "BUTTON", "a", 0x50010003},
      {"RADIOBUTTON \"a\", 9, 1, 2, 30, 8", "BUTTON", "a", 0x50010004},
      {"STATE3 \"a\", 9, 1, 2, 30, 8", "BUTTON", "a", 0x50010005},
      {"AUTO3STATE \"a\", 9, 1, 2, 30, 8", "BUTTON", "a", 0x50010006},
      {"GROUPBOX \"a\", 9, 1, 2, 30, 8", "BUTTON", "a", 0x50000007},
      {"AUTORADIOBUTTON \"a\", 9, 1, 2, 30, 8", "BUTTON", "a", 0x50010009},
      {"PUSHBOX \"a\", 9, 1, 2, 30, 8", "BUTTON", "a", 0x5001000A},
      {"EDITTEXT 9, 1, 2, 30, 8", "EDIT", "", 0x50810000},
      {"LISTBOX 9, 1, 2, 30, 8", "LISTBOX", "", 0x50800001},
      {"COMBOBOX 9, 1, 2, 30, 8", "COMBOBOX", "", 0x50010001},
      {"SCROLLBAR 9, 1, 2, 30, 8", "SCROLLBAR", "", 0x50000000},
      {"ICON IDI_PANEL, 9, 1, 2", "STATIC", "IDI_PANEL", 0x50000003},
      {"ICON 101, 9, 1, 2, 30, 8", "STATIC", "#101", 0x50000003},
      {"CONTROL \"a\", 9, \"Button\", BS_AUTOCHECKBOX | WS_TABSTOP, 1, 2, 30, 8", "BUTTON", "a",
       0x50010003},
      // Explicit styles are OR-ed into the defaults; NOT takes bits out of them.
      {"PUSHBUTTON \"a\", 9, 1, 2, 30, 8, NOT WS_TABSTOP | WS_DISABLED", "BUTTON", "a", 0x58000000},
      {"EDITTEXT 9, 1, 2, 30, 8, ES_MULTILINE | NOT WS_BORDER, WS_EX_CLIENTEDGE", "EDIT", "",
       0x50010004, 0x200},
      {"CONTROL \"\", 9, \"Static\", SS_BLACKFRAME | NOT WS_VISIBLE, 1, 2, 30, 8", "STATIC", "",
       0x40000007},
      {"LTEXT \"a\", 9, 1, 2, 30, 8, (WS_GROUP + WS_TABSTOP) - WS_GROUP", "STATIC", "a",
       0x50030000},
      // Class atoms, class names in any case or unquoted, site classes as written.
      {"CONTROL \"a\", 9, 0x81, ES_LEFT, 1, 2, 30, 8", "EDIT", "a", 0x50000000},
      {"CONTROL \"a\", 9, button, 0, 1, 2, 30, 8", "BUTTON", "a", 0x50000000},
      {"CONTROL \"a\", 9, \"COMBOBOX\", CBS_DROPDOWNLIST, 1, 2, 30, 8", "COMBOBOX", "a",
       0x50000003},
      {"CONTROL \"a\", 9, \"BorBtn\", 1, 1, 2, 30, 8", "BorBtn", "a", 0x50000001},
      {"CONTROL \"a\", 9, \"msctls_trackbar32\", TBS_AUTOTICKS | TBS_VERT, 1, 2, 30, 8",
       "msctls_trackbar32", "a", 0x50000003},
      // Commas rc does without, lower-case keywords.
      {"CONTROL \"a\" 9 \"VornButton\", 0, 1, 2, 30, 8", "VornButton", "a", 0x50000000},
      {"pushbutton \"a\" 9, 1, 2, 30, 8", "BUTTON", "a", 0x50010000},
  };
  for (const auto& c : cases) {
    const RcScript script = ParseRcText(
        std::string("1 DIALOG 0, 0, 100, 50\nBEGIN\n  ") + c.statement + "\nEND\n", "t.rc", "");
    EXPECT_EQ(ProblemLines(script), "") << c.statement;
    ASSERT_EQ(script.dialogs.count("#1"), 1u) << c.statement;
    ASSERT_EQ(script.dialogs.at("#1").controls.size(), 1u) << c.statement;
    const ControlTemplate& control = script.dialogs.at("#1").controls[0];
    EXPECT_EQ(control.className, c.className) << c.statement;
    EXPECT_EQ(control.text, c.text) << c.statement;
    EXPECT_EQ(control.id, 9) << c.statement;
    EXPECT_EQ(control.x, 1) << c.statement;
    EXPECT_EQ(control.y, 2) << c.statement;
    EXPECT_EQ(control.style, c.style) << c.statement;
    EXPECT_EQ(control.exStyle, c.exStyle) << c.statement;
  }
}

TEST(RcReaderForms, DialogHeadersAndTheirDefaults) {
  // No STYLE: WS_POPUP | WS_BORDER | WS_SYSMENU; CAPTION adds WS_CAPTION, FONT DS_SETFONT.
  RcScript script = ParseRcText("1 DIALOG 0, 0, 100, 50\nBEGIN\nEND\n", "t.rc", "");
  EXPECT_EQ(ProblemLines(script), "");
  EXPECT_EQ(script.dialogs.at("#1").style, 0x80880000u);
  EXPECT_FALSE(script.dialogs.at("#1").extended);

  script = ParseRcText(R"(PANEL DIALOGEX DISCARDABLE 10, -20, 186, 95, 77
STYLE DS_MODALFRAME | WS_POPUP
EXSTYLE WS_EX_TOOLWINDOW
CAPTION "Desk ""4"""
CLASS "VornDialog"
MENU IDR_MENU
LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_UK
CHARACTERISTICS 1
VERSION 0x2
FONT 8, "MS Shell Dlg", FW_BOLD, TRUE, 0x1
{
  CONTROL "x", 9, "Button", BS_OWNERDRAW, 1, 2, 30, 8, WS_EX_STATICEDGE, 55
  BEGIN
    1, 0x0203L, "ab"
  END
}
)",
                       "t.rc", "");
  EXPECT_EQ(ProblemLines(script), "");
  // Found by its name in any case, as FindResource finds it.
  DialogTemplate dialog;
  ASSERT_TRUE(RcResources(std::move(script)).LoadDialog("panel", dialog));
  EXPECT_TRUE(dialog.extended);
  EXPECT_EQ(dialog.style, 0x80u | 0x80000000u | 0x00C00000u | 0x40u);
  EXPECT_EQ(dialog.exStyle, 0x80u);
  EXPECT_EQ(dialog.x, 10);
  EXPECT_EQ(dialog.y, -20);
  EXPECT_EQ(dialog.cy, 95);
  EXPECT_EQ(dialog.helpId, 77u);
  EXPECT_EQ(dialog.caption, "Desk \"4\"");
  EXPECT_EQ(dialog.className, "VornDialog");
  EXPECT_EQ(dialog.menu, "IDR_MENU");
  EXPECT_EQ(dialog.font.pointSize, 8);
  EXPECT_EQ(dialog.font.face, "MS Shell Dlg");
  EXPECT_EQ(dialog.font.weight, 700);
  EXPECT_TRUE(dialog.font.italic);
  EXPECT_EQ(dialog.font.charset, 1);
  ASSERT_EQ(dialog.controls.size(), 1u);
  EXPECT_EQ(dialog.controls[0].exStyle, 0x20000u);
  EXPECT_EQ(dialog.controls[0].helpId, 55u);
  EXPECT_EQ(dialog.controls[0].extraData, std::string("\x01\x00\x03\x02\x00\x00"
                                                      "ab",
                                                      8));
}

TEST(RcReaderForms, WhatRcToleratesReadsAsRcReadsIt) {
  const struct {
    const char* name;
    std::string text;
    int cx;  // of the first control
    const char* face;
  } cases[] = {
      {"FONT without its comma, lower-case keywords, braces",
       "1 dialog 0, 0, 100, 50\nfont 8 \"MS Shell Dlg\"\n{\n ltext \"a\", 1, 0, 0, 40, 8\n}\n", 40,
       "MS Shell Dlg"},
      {"CRLF line ends and a trailing Ctrl-Z",
       "1 DIALOG 0,0,100,50\r\nFONT 8, \"Arial\"\r\nBEGIN\r\n LTEXT "
       "\"a\",1,0,0,41,8\r\nEND\r\n\x1A",
       41, "Arial"},
      {"numbers in hex, octal and with L suffixes",
       "1 DIALOG 0,0,100,50\nFONT 8L, \"Arial\"\nBEGIN\n LTEXT \"a\",1,0x0,0L,0o52,8\nEND\n", 42,
       "Arial"},
      {"#ifdef inside a statement",
       "#define WIDE\n1 DIALOG 0,0,100,50\nFONT 8, \"Arial\"\nBEGIN\n LTEXT \"a\", 1,\n#ifdef "
       "WIDE\n 0, 0, 43, 8\n#else\n 0, 0, 10, 8\n#endif\nEND\n",
       43, "Arial"},
      {"a macro that expands to a keyword, a string or fields",
       "#define TEXT LTEXT\n#define FACE \"Tahoma\"\n#define BOX 0, 0, 44, 8\n1 DIALOG "
       "0,0,100,50\nFONT 8, FACE\nBEGIN\n TEXT \"a\", 1, BOX\nEND\n",
       44, "Tahoma"},
      {"function-like macros with arguments",
       "#define AT(x, y) x, y, 45, 8\n#define ID(n) (1000 + n)\n1 DIALOG 0,0,100,50\nFONT 8, "
       "\"Arial\"\nBEGIN\n LTEXT \"a\", ID(0) - 999, AT(0, 0)\nEND\n",
       45, "Arial"},
      {"C code in a header",
       "1 DIALOG 0,0,100,50\nFONT 8, \"Arial\"\nBEGIN\n LTEXT \"a\",1,0,0,46,8\nEND\n", 46,
       "Arial"},
  };
  for (const auto& c : cases) {
    const RcScript script = ParseRcText(c.text, "t.rc", "");
    EXPECT_EQ(ProblemLines(script), "") << c.name;
    ASSERT_EQ(script.dialogs.count("#1"), 1u) << c.name;
    const DialogTemplate& dialog = script.dialogs.at("#1");
    ASSERT_EQ(dialog.controls.size(), 1u) << c.name;
    EXPECT_EQ(dialog.controls[0].id, 1) << c.name;
    EXPECT_EQ(dialog.controls[0].cx, c.cx) << c.name;
    EXPECT_EQ(dialog.font.face, c.face) << c.name;
  }
}

TEST(RcReaderForms, HeadersAreReadForTheirDefinesAndTheSdksAreNeverNeeded) {
  testing::RcTestDirectory dir;
  // C code as headers shared with the program hold it, a character literal among it.
  dir.Write("Res/IDS.H",
            "#pragma once\n#define IDD_MAIN 1\n#define IDC_TAKE 1001\ntypedef struct { char c; } "
            "S;\nconst char q = '\"';\nint Prototype(int a, int b);\n");
  const RcScript script = ParseRcFile(dir.Write("p.rc", R"(#include "res\ids.h"
#include <windows.h>
#include "afxres.h"
#include <commctrl.h>
#include "dlgs.h"
#include "afxres.rc"
IDD_MAIN DIALOG 0, 0, 100, 50
STYLE WS_POPUP | DS_CENTER | WS_VISIBLE
BEGIN
  CONTROL "", IDC_TAKE, "msctls_updown32", UDS_ARROWKEYS | UDS_SETBUDDYINT, 0, 0, 9, 9
  LTEXT "x", IDC_STATIC, 0, 0, 9, 9
  PUSHBUTTON "Help", pshHelp, 0, 0, 9, 9
END
STRINGTABLE
BEGIN
  VK_F5 "f5"
  IDCANCEL "cancel"
END
)"));
  EXPECT_EQ(ProblemLines(script), "");
  const DialogTemplate& dialog = script.dialogs.at("#1");
  EXPECT_EQ(dialog.style, 0x90000800u);
  ASSERT_EQ(dialog.controls.size(), 3u);
  EXPECT_EQ(dialog.controls[0].id, 1001);
  EXPECT_EQ(dialog.controls[0].style, 0x50000022u);
  EXPECT_EQ(dialog.controls[1].id, -1);
  EXPECT_EQ(dialog.controls[2].id, 0x40E);
  EXPECT_EQ(script.strings, (std::map<int, std::string>{{2, "cancel"}, {0x74, "f5"}}));
  EXPECT_EQ(script.files, (std::vector<std::string>{"res/ids.h"}));
}

TEST(RcReaderForms, DoubleByteCodePagesKeepTheirSecondBytes) {
  // 0x95 0x5C is one Shift-JIS character: its 0x5C is no backslash, so the quote after
  // it ends the string. In code page 1252 the same bytes are two characters and "\"" an
  // escaped quote.
  const std::string text = "STRINGTABLE BEGIN\n 1 \"\x95\x5C\"\n 2 \"caf\xE9\"\nEND\n";
  RcScript script = ParseRcText("#pragma code_page(932)\n" + text, "t.rc", "");
  EXPECT_EQ(ProblemLines(script), "");
  EXPECT_EQ(script.strings, (std::map<int, std::string>{{1, "\x95\x5C"}, {2, "caf\xE9"}}));

  script = ParseRcText("#pragma code_page(1252)\n" + text, "t.rc", "");
  EXPECT_NE(ProblemLines(script), "");
}

TEST(RcReaderForms, TheFirstResourceOfANameCountsWhateverItsLanguage) {
  const RcScript script = ParseRcText(R"(LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_UK
1 DIALOG 0, 0, 10, 10 CAPTION "English" BEGIN END
LANGUAGE LANG_GERMAN, SUBLANG_GERMAN
1 DIALOG 0, 0, 10, 10 CAPTION "Deutsch" BEGIN END
2 DIALOG 0, 0, 10, 10
LANGUAGE LANG_FRENCH, SUBLANG_FRENCH
CAPTION "French" BEGIN END
2 DIALOG 0, 0, 10, 10 CAPTION "German" BEGIN END
LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_UK
1 DIALOG 0, 0, 10, 10 CAPTION "English again" BEGIN END
)",
                                      "t.rc", "");
  EXPECT_EQ(script.dialogs.at("#1").caption, "English");
  EXPECT_EQ(script.dialogs.at("#2").caption, "French");
  EXPECT_EQ(ProblemLines(script), "t.rc(10): dialog #1 appears twice; the first one counts\n");
}

TEST(RcReaderForms, ADialogWithASyntaxErrorIsLeftOutAndNamedByFileAndLine) {
  const struct {
    const char* name;
    std::string text;
    const char* problem;
    bool readsOn = true;  // the string table after the dialog is read
  } cases[] = {
      {"a missing field", "1 DIALOG 0, 0, 10\nBEGIN\nEND\n",
       "t.rc(2): expected dialog height, found 'BEGIN'"},
      {"an unknown control statement",
       "1 DIALOG 0,0,10,10\nBEGIN\n LTEXT \"a\",1,0,0,1,1\n BOGUS \"x\", 1\n LTEXT "
       "\"b\",2,0,0,1,1\nEND\n",
       "t.rc(4): unknown control statement 'BOGUS'"},
      {"an undefined identifier",
       "1 DIALOG 0,0,10,10\nBEGIN\n LTEXT \"a\", IDC_NONE, 0,0,1,1\nEND\n",
       "t.rc(3): ltext id: 'IDC_NONE' is not defined"},
      {"a caption without its string", "1 DIALOG 0,0,10,10\nCAPTION 5\nBEGIN\nEND\n",
       "t.rc(2): expected the CAPTION string, found '5'"},
      {"an unknown class atom", "1 DIALOG 0,0,10,10\nBEGIN\n CONTROL \"a\",1,0x99,0,0,0,1,1\nEND\n",
       "t.rc(3): unknown control class atom"},
      {"control data in a DIALOG",
       "1 DIALOG 0,0,10,10\nBEGIN\n CONTROL \"a\",1,\"Button\",0,0,0,1,1\n BEGIN 1 END\nEND\n",
       "t.rc(4): control data in a DIALOG; only DIALOGEX has it"},
      {"a dialog without BEGIN", "1 DIALOG 0,0,10,10\nCAPTION \"x\"\n",
       "t.rc(1): DIALOG without BEGIN"},
      {"a macro call that does not end", "#define F(a) a\n1 DIALOG 0,0,10,F(10\nBEGIN\nEND\n",
       "t.rc(2): macro call 'F' without its closing ')'", false},
  };
  for (const auto& c : cases) {
    const RcScript script = ParseRcText(c.text + "STRINGTABLE BEGIN 5 \"after\" END\n", "t.rc", "");
    EXPECT_TRUE(script.dialogs.empty()) << c.name;
    ASSERT_FALSE(script.problems.empty()) << c.name;
    EXPECT_EQ(script.problems[0].Text(), c.problem) << c.name;
    // Reading goes on after the dialog (a macro call without its end takes the rest).
    EXPECT_EQ(script.strings.size(), c.readsOn ? 1u : 0u) << c.name;
  }

  // A problem in an included file names that file.
  testing::RcTestDirectory dir;
  dir.Write("more.rc2", "\n2 DIALOG 0,0,10,10\nBEGIN\n LTEXT \"a\",1,0,0,1\nEND\n");
  const RcScript included =
      ParseRcFile(dir.Write("p.rc", "#include \"more.rc2\"\n1 DIALOG 0,0,1,1 BEGIN END\n"));
  EXPECT_EQ(ProblemLines(included),
            dir.Path("more.rc2") + "(5): expected ltext height, found 'END'\n");
  EXPECT_EQ(included.dialogs.count("#1"), 1u);
  EXPECT_EQ(included.dialogs.count("#2"), 0u);
}

TEST(RcReaderForms, BitmapsAndIconsAreTheBytesOfTheirFiles) {
  testing::RcTestDirectory dir;
  dir.Write("res/a.bmp", "BMa");
  dir.Write("Icons/B.ICO", "ICOb");
  dir.Write("sub/c.bmp", "BMc");
  dir.Write("sub/more.rc2", "3 BITMAP \"c.bmp\"\n");
  const RcScript script = ParseRcFile(dir.Write("p.rc", R"(#define IDB_A 1
IDB_A BITMAP DISCARDABLE "res\\a.bmp"
Logo ICON icons/b.ico
#include "sub\more.rc2"
4 BITMAP "res\\none.bmp"
)"));
  EXPECT_EQ(ProblemLines(script),
            dir.Path("p.rc") + "(5): bitmap file not found: 'res\\none.bmp'\n");
  const RcResources resources{RcScript(script)};
  std::string bytes;
  ASSERT_TRUE(resources.LoadBitmap("#1", bytes));
  EXPECT_EQ(bytes, "BMa");
  ASSERT_TRUE(resources.LoadIcon("LOGO", bytes));
  EXPECT_EQ(bytes, "ICOb");
  ASSERT_TRUE(resources.LoadBitmap("#03", bytes));
  EXPECT_EQ(bytes, "BMc");
  EXPECT_FALSE(resources.LoadBitmap("#4", bytes));
  EXPECT_FALSE(resources.LoadIcon("#1", bytes));
}

}  // namespace
}  // namespace velcrum
