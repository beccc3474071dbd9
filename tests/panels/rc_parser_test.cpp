// The resource-script reader: string tables of typical Visual C++ scripts, string
// escapes, identifiers by name and expression, skipped statements, and bad input.
#include "panels/rc_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panels/rc_test_directory.h"
#include "support/foreign_locale.h"

namespace velcrum {
namespace {

using testing::RcTestDirectory;

std::string ProblemLines(const RcScript& script) {
  std::string all;
  for (const RcProblem& problem : script.problems) all += problem.Text() + "\n";
  return all;
}

// A script as the Visual C++ resource editor writes it.
constexpr char kResourceHeader[] = R"(//{{NO_DEPENDENCIES}}
// Microsoft Developer Studio generated include file.
// Used by DESK4.rc
//
#define IDD_PANEL1                      1
#define IDS_STARTUP                     30000
#define IDS_ABOUT_BASE                  32700
#define IDS_NETWORKMESSAGE              0x7E90
#define IDC_BUTTON1                     1001

// Next default values for new objects
//
#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_NEXT_RESOURCE_VALUE        102
#define _APS_NEXT_CONTROL_VALUE         1002
#endif
#endif
)";

constexpr char kScript[] = R"(//Microsoft Developer Studio generated resource script.
//
#include "resource.h"

#define APSTUDIO_READONLY_SYMBOLS
/////////////////////////////////////////////////////////////////////////////
//
// Generated from the TEXTINCLUDE 2 resource.
//
#include "afxres.h"

/////////////////////////////////////////////////////////////////////////////
#undef APSTUDIO_READONLY_SYMBOLS

/////////////////////////////////////////////////////////////////////////////
// English (U.K.) resources

#if !defined(AFX_RESOURCE_DLL) || defined(AFX_TARG_ENG)
#ifdef _WIN32
LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_UK
#pragma code_page(1252)
#endif //_WIN32

#ifdef APSTUDIO_INVOKED
/////////////////////////////////////////////////////////////////////////////
//
// TEXTINCLUDE
//

1 TEXTINCLUDE DISCARDABLE
BEGIN
    "resource.h\0"
END

2 TEXTINCLUDE DISCARDABLE
BEGIN
    "#include ""afxres.h""\r\n"
    "\0"
END

#endif    // APSTUDIO_INVOKED


/////////////////////////////////////////////////////////////////////////////
//
// Dialog
//

IDD_PANEL1 DIALOG DISCARDABLE  0, 0, 186, 95
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "Studio 4 ""Main"""
FONT 8, "MS Sans Serif"
BEGIN
    DEFPUSHBUTTON   "OK",IDOK,129,7,50,14
    PUSHBUTTON      "Take",IDC_BUTTON1,129,24,50,14
    CONTROL         "",IDC_STATIC,"Static",SS_BLACKFRAME,7,7,115,81
END

IDB_LOGO                BITMAP  DISCARDABLE     "res\\logo.bmp"
IDI_PANEL               ICON    DISCARDABLE     "res\\panel.ico"

/////////////////////////////////////////////////////////////////////////////
//
// DESIGNINFO
//

#ifdef APSTUDIO_INVOKED
GUIDELINES DESIGNINFO DISCARDABLE
BEGIN
    IDD_PANEL1, DIALOG
    BEGIN
        LEFTMARGIN, 7
    END
END
#endif    // APSTUDIO_INVOKED

VS_VERSION_INFO VERSIONINFO
 FILEVERSION 1,0,0,1
 FILEFLAGSMASK 0x3fL
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        BLOCK "080904b0"
        BEGIN
            VALUE "FileDescription", "Desk 4\0"
        END
    END
END

/////////////////////////////////////////////////////////////////////////////
//
// String Table
//

STRINGTABLE DISCARDABLE
BEGIN
    1                       "CM 'first line'"
    IDC_BUTTON1             "TG 1 1001 A$:EV A$"
    IDS_STARTUP             "EC 2:EB 1 326 514:PS 1:ET 1 1000 9001 9002"
END

STRINGTABLE PRELOAD MOVEABLE
LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_UK
{
    IDS_ABOUT_BASE,         "Desk 4"
    IDS_ABOUT_BASE+1,       "Studio 4 control panel"
    IDS_ABOUT_BASE + 2      "Version 1.0"
    (IDS_ABOUT_BASE+3),     "(c) Broadcast Engineering"
    IDS_NETWORKMESSAGE      "DB 1 'network'"
}

#endif    // English (U.K.) resources
/////////////////////////////////////////////////////////////////////////////



#ifndef APSTUDIO_INVOKED
/////////////////////////////////////////////////////////////////////////////
//
// Generated from the TEXTINCLUDE 3 resource.
//


/////////////////////////////////////////////////////////////////////////////
#endif    // not APSTUDIO_INVOKED
)";

TEST(RcParser, ReadsTheStringTablesOfAVisualCppScript) {
  RcTestDirectory dir;
  dir.Write("resource.h", kResourceHeader);
  // Windows line ends, as the resource editor saves them.
  std::string crlf;
  for (const char c : std::string(kScript)) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  dir.Write("res/Logo.bmp", "BM logo");
  dir.Write("res/panel.ico", std::string("\0\0\1\0 icon", 9));
  const RcScript script = ParseRcFile(dir.Write("DESK4.rc", crlf));

  EXPECT_EQ(ProblemLines(script), "");
  const std::map<int, std::string> expected = {
      {1, "CM 'first line'"},
      {1001, "TG 1 1001 A$:EV A$"},
      {30000, "EC 2:EB 1 326 514:PS 1:ET 1 1000 9001 9002"},
      {32400, "DB 1 'network'"},
      {32700, "Desk 4"},
      {32701, "Studio 4 control panel"},
      {32702, "Version 1.0"},
      {32703, "(c) Broadcast Engineering"},
  };
  EXPECT_EQ(script.strings, expected);
  // The header's names are kept for the dialog reader; the editor-only ones are not.
  EXPECT_TRUE(script.defines.count("IDD_PANEL1"));
  EXPECT_FALSE(script.defines.count("_APS_NEXT_RESOURCE_VALUE"));

  // The dialog by its number, its controls with the styles rc gives them.
  ASSERT_EQ(script.dialogs.count("#1"), 1u);
  const platform::DialogTemplate& dialog = script.dialogs.at("#1");
  EXPECT_EQ(dialog.caption, "Studio 4 \"Main\"");
  EXPECT_EQ(dialog.style, 0x80u | 0x80000000u | 0x00C00000u | 0x00080000u | 0x40u);
  EXPECT_EQ(dialog.font.pointSize, 8);
  EXPECT_EQ(dialog.font.face, "MS Sans Serif");
  EXPECT_EQ(dialog.cx, 186);
  ASSERT_EQ(dialog.controls.size(), 3u);
  EXPECT_EQ(dialog.controls[0].className, "BUTTON");
  EXPECT_EQ(dialog.controls[0].id, 1);
  EXPECT_EQ(dialog.controls[0].style, 0x50010001u);
  EXPECT_EQ(dialog.controls[1].id, 1001);
  EXPECT_EQ(dialog.controls[2].className, "STATIC");
  EXPECT_EQ(dialog.controls[2].id, -1);
  EXPECT_EQ(dialog.controls[2].style, 0x50000007u);
  EXPECT_EQ(script.bitmaps.at("IDB_LOGO"), "BM logo");
  EXPECT_EQ(script.icons.at("IDI_PANEL").size(), 9u);
  EXPECT_EQ(script.files,
            (std::vector<std::string>{"resource.h", "res/logo.bmp", "res/panel.ico"}));
}

TEST(RcParser, DecodesStringEscapesAsRcDoes) {
  const struct {
    const char* literal;
    std::string text;
  } cases[] = {
      {R"("say ""hi""")", "say \"hi\""},
      {R"("a\nb\tc")", "a\nb\tc"},
      {R"("back\\slash")", "back\\slash"},
      {R"("quote\"d")", "quote\"d"},
      {R"("\x41\x4a\x4Bz")", "AJKz"},
      {R"("\x7gh")", "\x07gh"},
      {R"("\101\60\0609")", "A009"},
      {R"("\r\a")", "\r\a"},
      {R"("c:\data\x")", "c:\\data\\x"},  // unknown escapes and \x without digits stay
      {R"("cut\0here")", "cut"},          // the string reaches its readers as C text
      {R"(L"wide")", "wide"},
      {R"("")", ""},
  };
  for (const auto& c : cases) {
    const RcScript script =
        ParseRcText(std::string("STRINGTABLE\nBEGIN\n 7 ") + c.literal + "\nEND\n", "t.rc", "");
    EXPECT_EQ(ProblemLines(script), "") << c.literal;
    ASSERT_TRUE(script.strings.count(7)) << c.literal;
    EXPECT_EQ(script.strings.at(7), c.text) << c.literal;
  }
}

TEST(RcParser, IdentifiersFromDefinesAndExpressions) {
  const RcScript script = ParseRcText(R"(
#define BASE 100
#define HEX 0x20
#define NESTED (BASE + HEX)
#define TOP 32767L
#if BASE > 50 && defined(HEX) && !defined(MISSING)
#define CHOSEN 1
#elif 1
#define CHOSEN 2
#else
#define CHOSEN 3
#endif
STRINGTABLE
BEGIN
  BASE, "a"
  NESTED "b"
  NESTED*2-1, "c"
  TOP "d"
  CHOSEN "e"
  BASE | 3 "f"
  010 "g"
END
)",
                                      "t.rc", "");
  EXPECT_EQ(ProblemLines(script), "");
  const std::map<int, std::string> expected = {{100, "a"}, {132, "b"}, {263, "c"}, {32767, "d"},
                                               {1, "e"},   {103, "f"}, {10, "g"}};
  EXPECT_EQ(script.strings, expected);
}

TEST(RcParser, ReadsTheSameWhateverTheLocale) {
  // In Turkish ISO 8859-9, 0xDD is a letter to the C library and 0xA0 a space; to the
  // reader neither is, in every locale.
  const char* const text =
      "#define A\xDD 5\n#define B\xA0 7\nSTRINGTABLE\nBEGIN\n  A \"a\"\n  B \"b\"\nEND\n";
  const RcScript inC = ParseRcText(text, "t.rc", "");
  const testing::ForeignLocale turkish;
  if (!turkish.Active()) GTEST_SKIP() << "no Turkish ISO 8859-9 locale on this machine";
  const RcScript inTurkish = ParseRcText(text, "t.rc", "");
  EXPECT_EQ(inTurkish.strings, inC.strings);
  EXPECT_EQ(ProblemLines(inTurkish), ProblemLines(inC));
}

TEST(RcParser, SkipsStatementsItDoesNotRead) {
  const RcScript script = ParseRcText(R"(
IDR_MENU MENU DISCARDABLE
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "E&xit",                       100
    END
END
IDR_ACC ACCELERATORS { "X", 100, VIRTKEY }
1 ICON app.ico
2 BITMAP MOVEABLE PURE "res\\b.bmp"
3 WAVE "click.wav"
4 RCDATA
BEGIN
  1, 2, "three"
END
5 DIALOGEX 0, 0, 100, 50
CAPTION "BEGIN"
BEGIN
  LTEXT "END", -1, 0, 0, 10, 10
END
STRINGTABLE BEGIN 9 "kept" END
)",
                                      "t.rc", "");
  EXPECT_EQ(ProblemLines(script), "");
  EXPECT_EQ(script.strings, (std::map<int, std::string>{{9, "kept"}}));
}

TEST(RcParser, ReportsBadInputWithFileAndLineAndKeepsWhatItCan) {
  const struct {
    const char* name;
    std::string text;
    std::map<int, std::string> strings;
    std::vector<std::string> problems;
  } cases[] = {
      {"unterminated string",
       "STRINGTABLE\nBEGIN\n 1 \"open\r\n 2 \"fine\"\nEND\n",
       {{1, "open"}, {2, "fine"}},
       {"t.rc(3): string without its closing quote"}},
      {"missing END",
       "STRINGTABLE\nBEGIN\n 1 \"one\"\n",
       {{1, "one"}},
       {"t.rc(1): STRINGTABLE without END"}},
      {"missing END before the next table",
       "STRINGTABLE\nBEGIN\n 1 \"one\"\nSTRINGTABLE\nBEGIN\n 2 \"two\"\nEND\n",
       {{1, "one"}, {2, "two"}},
       {"t.rc(1): STRINGTABLE without END"}},
      {"dialog without END",
       "1 DIALOG 0,0,1,1\nBEGIN\n LTEXT \"x\",1,0,0,1,1\nSTRINGTABLE\nBEGIN\n 2 \"two\"\nEND\n",
       {{2, "two"}},
       {"t.rc(2): BEGIN without END"}},
      {"undefined name and missing string",
       "STRINGTABLE\nBEGIN\n IDS_NONE \"x\"\n 5\n 6 \"six\"\nEND\n",
       {{6, "six"}},
       {"t.rc(3): string table entry: 'IDS_NONE' is not defined",
        "t.rc(4): string table entry without its string"}},
      {"duplicate and out of range",
       "STRINGTABLE\nBEGIN\n 3 \"first\"\n 3 \"second\"\n 70000 \"big\"\n -1 \"neg\"\nEND\n",
       {{3, "first"}},
       {"t.rc(4): string table identifier 3 appears twice; the first one counts",
        "t.rc(5): string table entry: identifier 70000 is outside 0 to 65535",
        "t.rc(6): string table entry: identifier -1 is outside 0 to 65535"}},
      {"adjacent strings and a string without identifier",
       "STRINGTABLE\nBEGIN\n 1 \"a\" \"b\"\n \"lone\"\n 2 \"c\"\nEND\n",
       {{1, "a"}, {2, "c"}},
       {"t.rc(3): unexpected string \"b\" after the string",
        "t.rc(4): string table entry without an identifier: string \"lone\""}},
      {"garbage bytes",
       std::string("\x01\xff@ junk\n}\nSTRINGTABLE { 4 \"x\" }\n/* open comment"),
       {{4, "x"}},
       {"t.rc(1): unexpected '\\x01'", "t.rc(2): END without BEGIN",
        "t.rc(4): comment without its closing */"}},
      {"preprocessor faults",
       "#if (1\n#endif\n#else\n#bogus\n#include <nowhere.h>\n#error stop\n#ifdef X\n",
       {},
       {"t.rc(1): #if: ')' missing in expression", "t.rc(3): #else without #if",
        "t.rc(4): unknown directive #bogus", "t.rc(5): #include file not found: 'nowhere.h'",
        "t.rc(6): #error stop", "t.rc(7): #if without #endif"}},
      {"self-referring define",
       "#define A B\n#define B A\nSTRINGTABLE BEGIN A \"x\" END\n#if 1/0\n#endif\n",
       {},
       {"t.rc(3): string table entry: in 'A': 'A' is defined in terms of itself",
        "t.rc(4): #if: division by zero in expression"}},
  };
  for (const auto& c : cases) {
    const RcScript script = ParseRcText(c.text, "t.rc", "");
    EXPECT_EQ(script.strings, c.strings) << c.name;
    std::vector<std::string> problems;
    for (const RcProblem& problem : script.problems) problems.push_back(problem.Text());
    EXPECT_EQ(problems, c.problems) << c.name;
  }
}

TEST(RcParser, BoundsTheWorkOfNamesDefinedInTermsOfOthers) {
  // Each level doubles the names to expand: A10 is 2047 of them, A22 over eight million.
  std::string text = "#define A0 1\n";
  for (int i = 1; i <= 22; ++i) {
    const std::string lower = "A" + std::to_string(i - 1);
    text += "#define A" + std::to_string(i) + " (" + lower + "+" + lower + ")\n";
  }
  text += "STRINGTABLE\nBEGIN\n A10 \"fine\"\n A22 \"too much\"\nEND\n#if A22\n#endif\n";
  const RcScript script = ParseRcText(text, "t.rc", "");
  EXPECT_EQ(script.strings, (std::map<int, std::string>{{1024, "fine"}}));
  EXPECT_EQ(ProblemLines(script),
            "t.rc(27): string table entry: too many names to expand in one file\n"
            "t.rc(29): #if: too many names to expand in one file\n");
}

TEST(RcParser, LimitsTheNumberOfProblemsReported) {
  std::string garbage;
  for (int i = 0; i < 1000; ++i) garbage += "@\n";
  const RcScript script = ParseRcText(garbage + "STRINGTABLE { 1 \"end\" }", "t.rc", "");
  ASSERT_EQ(script.problems.size(), RcProblems::kMaxProblems);
  EXPECT_EQ(script.problems.back().message, "further problems are not listed");
  EXPECT_EQ(script.strings.at(1), "end");
}

TEST(RcParser, IncludesFilesBesideTheScript) {
  RcTestDirectory dir;
  // A header found without regard to case; its non-directive lines are ignored, as rc
  // ignores them in .h files. A .rc2 file adds resources.
  dir.Write("res/Names.H", "#define IDS_ONE 1\nthis is not rc text\n");
  dir.Write("res/extra.rc2", "#include \"names.h\"\nSTRINGTABLE BEGIN IDS_ONE+1 \"two\" END\n");
  dir.Write("loop.rc2", "#include \"loop.rc2\"\n");
  const RcScript script = ParseRcFile(
      dir.Write("p.rc",
                "#include \"res\\names.h\"\n#include \"RES\\\\EXTRA.rc2\"\n#include \"loop.rc2\"\n"
                "STRINGTABLE BEGIN IDS_ONE \"one\" END\n"));
  EXPECT_EQ(script.strings, (std::map<int, std::string>{{1, "one"}, {2, "two"}}));
  ASSERT_EQ(script.problems.size(), 1u) << ProblemLines(script);
  EXPECT_EQ(script.problems[0].message, "#include nested too deeply: 'loop.rc2'");
  EXPECT_EQ(script.problems[0].file, dir.Path("loop.rc2"));
}

TEST(RcParser, ReadsUtf16Scripts) {
  const std::string text = "STRINGTABLE BEGIN 5 \"caf\xE9\" END\n";
  std::string utf16 = "\xFF\xFE";
  for (const char c : text) {
    utf16 += c;
    utf16 += '\0';
  }
  const RcScript script = ParseRcText(utf16, "t.rc", "");
  EXPECT_EQ(ProblemLines(script), "");
  EXPECT_EQ(script.strings.at(5), "caf\xE9");
}

TEST(RcParser, AFileThatCannotBeReadIsOneProblem) {
  const RcScript script = ParseRcFile("/nonexistent/dir/x.rc");
  EXPECT_TRUE(script.strings.empty());
  ASSERT_EQ(script.problems.size(), 1u);
  EXPECT_EQ(script.problems[0].Text(), "/nonexistent/dir/x.rc(0): resource script not found");
}

}  // namespace
}  // namespace velcrum
