// Windows paths on the host: the drive mapping, case-insensitive resolution, relative
// paths, and the file operations that script commands reach through the mapping.
#include "platform/paths.h"

#include <algorithm>
#include <cerrno>
#include <random>

#include "platform/platform_fixture.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;

using PathsTest = testing::PlatformTest;

TEST_F(PathsTest, DrivesMapThroughTheirVariableOrTheRoot) {
  fs::create_directories(base_ / "dee");
  setenv("VELCRUM_DRIVE_D", (base_ / "dee/").c_str(), 1);
  setenv("VELCRUM_DRIVE_E", "", 1);  // set but empty: the default applies
  EXPECT_EQ(HostPath("d:\\in\\a.txt"), (base_ / "dee/in/a.txt").string());
  EXPECT_EQ(HostPath("D:/in/a.txt"), (base_ / "dee/in/a.txt").string());
  EXPECT_EQ(HostPath("c:\\vornlogs\\x.log"), (DriveC() / "vornlogs/x.log").string());
  EXPECT_EQ(HostPath("e:\\x"), (root_ / "drive_e/x").string());
  EXPECT_EQ(HostPath("C:"), DriveC().string());
  EXPECT_EQ(HostPath("c:\\"), DriveC().string());
  EXPECT_EQ(HostPath("c:x.txt"), (DriveC() / "x.txt").string());
  EXPECT_EQ(DriveDirectory('1'), "");

  unsetenv("VELCRUM_ROOT");
  setenv("HOME", base_.c_str(), 1);
  EXPECT_EQ(HostPath("c:\\x"), (base_ / ".local/share/velcrum/drive_c/x").string());
  EXPECT_EQ(HostPath(GetWindowsDirectory()),
            (base_ / ".local/share/velcrum/drive_c/windows").string());
}

TEST_F(PathsTest, ExistingComponentsAreFoundWithoutRegardToCase) {
  WriteFile(DriveC() / "VornLogs/Today.LOG", "x");
  EXPECT_EQ(HostPath("c:\\vornlogs\\today.log"), (DriveC() / "VornLogs/Today.LOG").string());
  EXPECT_EQ(HostPath("C:\\VORNLOGS"), (DriveC() / "VornLogs").string());
  // A new name keeps its case, below an existing directory found without regard to case.
  EXPECT_EQ(HostPath("c:\\VORNLOGS\\New.txt"), (DriveC() / "VornLogs/New.txt").string());
  EXPECT_EQ(HostPath("c:\\vornlogs\\New\\Deeper\\f.TXT"),
            (DriveC() / "VornLogs/New/Deeper/f.TXT").string());
  // An exact match wins over other spellings; otherwise the choice does not depend on
  // the directory's order.
  WriteFile(DriveC() / "dup/abc", "1");
  WriteFile(DriveC() / "dup/ABC", "2");
  WriteFile(DriveC() / "dup/Abc", "3");
  EXPECT_EQ(HostPath("c:\\dup\\Abc"), (DriveC() / "dup/Abc").string());
  EXPECT_EQ(HostPath("c:\\dup\\aBC"), (DriveC() / "dup/ABC").string());
}

TEST_F(PathsTest, DotsAndSeparatorsFollowWindows) {
  fs::create_directories(DriveC() / "a/b");
  const struct {
    const char* windows;
    const char* below;  // expected, below drive C
  } cases[] = {
      {"c:\\a\\.\\b\\..\\x", "a/x"},
      {"c:/a//b\\\\x", "a/b/x"},
      {"c:\\..\\..\\etc\\passwd", "etc/passwd"},  // ".." stops at the drive's root
      {"c:\\a\\b\\..\\..\\..\\y", "y"},
      {"c:\\a\\name. . ", "a/name"},  // trailing dots and blanks dropped
      {"c:\\a\\", "a"},
      {"c:\\a\\...", "a"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HostPath(c.windows), (DriveC() / c.below).string()) << c.windows;
  }
}

TEST_F(PathsTest, RelativePathsStartFromTheCurrentDirectory) {
  // Inside a drive: ".." stops at the drive's root; "\x" is the drive's root.
  WriteFile(DriveC() / "Panels/Data/X.txt", "x");
  fs::current_path(DriveC() / "Panels");
  EXPECT_EQ(HostPath("data\\x.txt"), (DriveC() / "Panels/Data/X.txt").string());
  EXPECT_EQ(HostPath(".\\data\\x.txt"), (DriveC() / "Panels/Data/X.txt").string());
  EXPECT_EQ(HostPath("..\\..\\..\\up.txt"), (DriveC() / "up.txt").string());
  EXPECT_EQ(HostPath("\\root.txt"), (DriveC() / "root.txt").string());

  fs::create_directories(base_ / "dee/sub");
  setenv("VELCRUM_DRIVE_D", (base_ / "dee").c_str(), 1);
  fs::current_path(base_ / "dee/sub");
  EXPECT_EQ(HostPath("\\x"), (base_ / "dee/x").string());

  // Outside every drive: the host's current directory; "\x" goes to drive C.
  fs::create_directories(base_ / "elsewhere/Inner");
  fs::current_path(base_ / "elsewhere");
  EXPECT_EQ(HostPath("inner\\f"), (base_ / "elsewhere/Inner/f").string());
  EXPECT_EQ(HostPath("..\\g"), (base_ / "g").string());
  EXPECT_EQ(HostPath("\\x"), (DriveC() / "x").string());
}

TEST_F(PathsTest, HostPathsAreNotMappedToADrive) {
  WriteFile(base_ / "Panels/Desk 4.AST", "x");
  EXPECT_EQ(HostPath((base_ / "Panels/Desk 4.AST").string()),
            (base_ / "Panels/Desk 4.AST").string());
  EXPECT_EQ(HostPath((base_ / "panels\\desk 4.ast").string()),
            (base_ / "Panels/Desk 4.AST").string());
  EXPECT_EQ(HostPath((base_ / "Panels/new.").string()), (base_ / "Panels/new.").string());
  EXPECT_EQ(HostPath("/dev/null"), "/dev/null");
}

TEST_F(PathsTest, NulIsTheNullDevice) {
  EXPECT_EQ(HostPath("nul"), "/dev/null");
  EXPECT_EQ(HostPath("c:\\logs\\NUL.txt"), "/dev/null");
  std::FILE* file = OpenWindowsFile("c:\\nul", "w");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(std::fputs("gone", file), 1);
  std::fclose(file);
  EXPECT_NE(HostPath("c:\\null.txt"), "/dev/null");
}

TEST_F(PathsTest, ScriptNotationConverts) {
  EXPECT_EQ(ScriptPathToWindows("c;/data/list.txt"), "c:\\data\\list.txt");
  EXPECT_EQ(ScriptPathToWindows("12;30;00"), "12:30:00");
  char buffer[] = "d;/in/a.txt";
  ConvertScriptPath(buffer);
  EXPECT_STREQ(buffer, "d:\\in\\a.txt");
}

TEST_F(PathsTest, OpenCreatesInExistingDirectoriesFoundWithoutCase) {
  fs::create_directories(DriveC() / "VornLogs");
  std::FILE* file = OpenWindowsFile("c:\\VORNLOGS\\Day.Log", "a");
  ASSERT_NE(file, nullptr);
  std::fputs("line\n", file);
  std::fclose(file);
  EXPECT_EQ(ReadFile(DriveC() / "VornLogs/Day.Log"), "line\n");
  // Opened again under another spelling, the same file is appended to.
  file = OpenWindowsFile("c:\\vornlogs\\DAY.LOG", "at");
  ASSERT_NE(file, nullptr);
  std::fputs("more\n", file);
  std::fclose(file);
  EXPECT_EQ(ReadFile(DriveC() / "VornLogs/Day.Log"), "line\nmore\n");
  EXPECT_FALSE(fs::exists(DriveC() / "vornlogs"));

  // A missing directory is not created.
  errno = 0;
  EXPECT_EQ(OpenWindowsFile("c:\\missing\\f.txt", "w"), nullptr);
  EXPECT_EQ(errno, ENOENT);
}

TEST_F(PathsTest, OpenRefusesWhatWindowsRefuses) {
  fs::create_directories(DriveC() / "dir");
  const char* refused[] = {"",        "c:\\dir",  "c:\\a?.txt", "c:\\a*.txt",   "c:\\a:b",
                           "c:\\a|b", "c:\\a\"b", "c:\\a<b",    "c:\\tab\there"};
  for (const char* path : refused) {
    EXPECT_EQ(OpenWindowsFile(path, "r"), nullptr) << path;
    EXPECT_EQ(OpenWindowsFile(path, "w"), nullptr) << path;
  }
  EXPECT_EQ(OpenWindowsFile("c:\\x", nullptr), nullptr);
  EXPECT_TRUE(fs::is_empty(DriveC() / "dir"));
}

TEST_F(PathsTest, TextModeReadsCrLfAsNewline) {
  WriteFile(DriveC() / "crlf.txt", "one\r\ntwo\rthree\r\n\r\nlast\r");
  std::FILE* file = OpenWindowsFile("c:\\crlf.txt", "r");
  ASSERT_NE(file, nullptr);
  char buffer[64];
  std::string text;
  while (std::fgets(buffer, sizeof buffer, file)) text += buffer;
  EXPECT_EQ(text, "one\ntwo\rthree\n\nlast\r");
  EXPECT_EQ(std::ftell(file), static_cast<long>(text.size()));
  std::rewind(file);
  ASSERT_NE(std::fgets(buffer, sizeof buffer, file), nullptr);
  EXPECT_STREQ(buffer, "one\n");
  std::fclose(file);

  file = OpenWindowsFile("c:\\crlf.txt", "rb");
  ASSERT_NE(file, nullptr);
  ASSERT_NE(std::fgets(buffer, sizeof buffer, file), nullptr);
  EXPECT_STREQ(buffer, "one\r\n");
  std::fclose(file);
}

TEST_F(PathsTest, ExistenceDeleteAndRename) {
  WriteFile(DriveC() / "Web/Page.htm", "p");
  EXPECT_TRUE(WindowsPathExists("c:\\web\\page.htm"));
  EXPECT_TRUE(WindowsPathExists("c:\\WEB"));
  EXPECT_TRUE(WindowsDirectoryExists("c:\\WEB"));
  EXPECT_FALSE(WindowsDirectoryExists("c:\\web\\page.htm"));
  EXPECT_FALSE(WindowsPathExists("c:\\web\\other.htm"));
  EXPECT_FALSE(WindowsPathExists("c:\\web\\*.htm"));
  EXPECT_FALSE(WindowsPathExists(""));

  // Rename does not replace; it moves between directories; a change of case only
  // renames the entry.
  WriteFile(DriveC() / "Web/Other.htm", "o");
  EXPECT_FALSE(RenameWindowsFile("c:\\web\\page.htm", "c:\\web\\OTHER.HTM"));
  EXPECT_EQ(ReadFile(DriveC() / "Web/Other.htm"), "o");
  EXPECT_TRUE(RenameWindowsFile("c:\\web\\page.htm", "c:\\web\\PAGE.HTM"));
  EXPECT_TRUE(fs::exists(DriveC() / "Web/PAGE.HTM"));
  EXPECT_FALSE(fs::exists(DriveC() / "Web/Page.htm"));
  fs::create_directories(DriveC() / "Old");
  EXPECT_TRUE(RenameWindowsFile("c:\\web\\page.htm", "c:\\old\\Moved.htm"));
  EXPECT_EQ(ReadFile(DriveC() / "Old/Moved.htm"), "p");
  EXPECT_FALSE(RenameWindowsFile("c:\\web\\gone.htm", "c:\\web\\x.htm"));

  // Delete removes files, not directories.
  EXPECT_FALSE(DeleteWindowsFile("c:\\old"));
  EXPECT_TRUE(fs::exists(DriveC() / "Old"));
  EXPECT_TRUE(DeleteWindowsFile("c:\\OLD\\moved.HTM"));
  EXPECT_FALSE(fs::exists(DriveC() / "Old/Moved.htm"));
  EXPECT_FALSE(DeleteWindowsFile("c:\\old\\moved.htm"));
  EXPECT_FALSE(DeleteWindowsFile(""));
}

TEST(WindowsPatternTest, MatchesAsFindFirstFileDoes) {
  const struct {
    const char* name;
    const char* pattern;
    bool matches;
  } cases[] = {
      {"a.txt", "*.txt", true},
      {"A.TXT", "*.txt", true},
      {"a.b.txt", "*.txt", true},
      {"a.txt2", "*.txt", false},
      {"atxt", "*.txt", false},
      {"abc", "*.*", true},
      {"a.b", "*.*", true},
      {".", "*", true},
      {"..", "*.*", true},
      {"abc", "*.", true},
      {"a.b", "*.", false},
      {"abc", "abc?", true},
      {"abcd", "abc?", true},
      {"abcde", "abc?", false},
      {"ac", "a?c", false},
      {"abc", "a?c", true},
      {"x.t", "x.???", true},
      {"x", "x.???", true},
      {"x.text", "x.???", false},
      {"data", "DATA", true},
      {"data", "", false},
      {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*c", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesWindowsPattern(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
  }
}

TEST_F(PathsTest, DirectoryListingByPattern) {
  WriteFile(DriveC() / "In/a.TXT", "");
  WriteFile(DriveC() / "In/b.txt", "");
  WriteFile(DriveC() / "In/c.doc", "");
  fs::create_directories(DriveC() / "In/sub.txt");
  auto sorted = [](std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
  };
  using Names = std::vector<std::string>;
  EXPECT_EQ(sorted(ListWindowsDirectory("c:\\in\\*.txt")), (Names{"a.TXT", "b.txt", "sub.txt"}));
  EXPECT_EQ(sorted(ListWindowsDirectory("c:\\IN\\*")),
            (Names{".", "..", "a.TXT", "b.txt", "c.doc", "sub.txt"}));
  EXPECT_EQ(ListWindowsDirectory("c:\\in\\C.DOC"), (Names{"c.doc"}));
  EXPECT_EQ(ListWindowsDirectory("c:\\in"), (Names{"In"}));
  EXPECT_TRUE(ListWindowsDirectory("c:\\in\\").empty());
  EXPECT_TRUE(ListWindowsDirectory("c:\\nothing\\*.xyz").empty());
  EXPECT_TRUE(ListWindowsDirectory("c:\\in\\*.xyz").empty());
  EXPECT_TRUE(ListWindowsDirectory("").empty());
  EXPECT_TRUE(ListWindowsDirectory("c:\\i?\\*.txt").empty());

  fs::current_path(DriveC() / "In");
  EXPECT_EQ(sorted(ListWindowsDirectory("?.txt")), (Names{"a.TXT", "b.txt"}));
  EXPECT_EQ(sorted(ListWindowsDirectory("c:*.doc")), Names{});
}

TEST_F(PathsTest, WindowsDirectoriesAreCreatedOnRequest) {
  setenv("VELCRUM_ROOT", (base_ / "fresh/velcrum").c_str(), 1);
  EXPECT_FALSE(WindowsDirectoryExists(GetSystemDirectory()));
  EXPECT_TRUE(EnsureWindowsDirectories());
  EXPECT_TRUE(fs::is_directory(base_ / "fresh/velcrum/drive_c/windows/system32"));
  EXPECT_TRUE(EnsureWindowsDirectories());
}

TEST_F(PathsTest, OddBytesDoNotCrash) {
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 40);
  for (int i = 0; i < 2000; ++i) {
    std::string path(length(random), '\0');
    for (char& c : path) c = static_cast<char>(byte(random));
    if (i % 3 == 0) path.insert(0, "c:\\");
    (void)HostPath(path);
    (void)WindowsPathExists(path);
    (void)ListWindowsDirectory(path);
    if (std::FILE* file = OpenWindowsFile(path, "r")) std::fclose(file);
  }
  // Text after a NUL is not part of the name.
  EXPECT_EQ(HostPath(std::string_view("c:\\a\0b", 6)), (DriveC() / "a").string());
  EXPECT_TRUE(fs::is_empty(DriveC()));
}

}  // namespace
}  // namespace velcrum
