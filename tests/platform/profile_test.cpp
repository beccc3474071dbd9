// Profile (INI) files: reads, integer reads, and writes that keep the rest of the file,
// also when several processes write at once or the disk is full.
#include "platform/profile.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/paths.h"
#include "platform/platform_fixture.h"
#include "support/file_size_limit.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;

using ProfileTest = testing::PlatformTest;

constexpr const char* kIni = "c:\\config\\VELCRUM.INI";

class ProfileFileTest : public ProfileTest {
 protected:
  fs::path IniHostPath() const { return DriveC() / "Config/Velcrum.ini"; }
  void WriteIni(const std::string& text) { WriteFile(IniHostPath(), text); }
  std::string ReadIni() const { return ReadFile(IniHostPath()); }
  static std::string Get(const char* section, const char* key, std::size_t size = 256) {
    return GetPrivateProfileString(section, key, "<default>", size, kIni);
  }
};

constexpr const char* kSample =
    "; site configuration\n"
    "orphan=before any section\n"
    "[System]\n"
    "KALNXIEnable=1\n"
    "  Spaced Key  =   padded value  \n"
    "double=\"quoted value\" \n"
    "single=' kept blanks '\n"
    "mismatch=\"half'\n"
    "lonequote=\"\n"
    "empty=\n"
    "dup=first\n"
    "dup=second\n"
    "novalue\n"
    ";commented=1\n"
    "[  debug  ]\n"
    "ShowDebugWindow = 0\n"
    "[SYSTEM]\n"
    "secondsection=yes\n";

TEST_F(ProfileFileTest, ReadsWithWindowsRules) {
  const struct {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"system", "kalnxienable", "1"},
      {"SYSTEM", "spaced key", "padded value"},
      {" System ", " Spaced Key ", "padded value"},
      {"System", "double", "quoted value"},
      {"System", "single", " kept blanks "},
      {"System", "mismatch", "\"half'"},
      {"System", "lonequote", "\""},
      {"System", "empty", ""},
      {"System", "dup", "first"},
      {"System", "novalue", "<default>"},
      {"System", "commented", "<default>"},
      {"System", "orphan", "<default>"},
      {"System", "secondsection", "<default>"},  // the first [System] is the section
      {"Debug", "showdebugwindow", "0"},
      {"Debug", "KALNXIEnable", "<default>"},
      {"Editor", "x", "<default>"},
  };
  for (const char* ending : {"\n", "\r\n"}) {
    std::string text = kSample;
    for (std::size_t at = text.find('\n'); at != std::string::npos;
         at = text.find('\n', at + std::strlen(ending))) {
      text.replace(at, 1, ending);
    }
    WriteIni(text);
    for (const auto& c : cases) {
      EXPECT_EQ(Get(c.section, c.key), c.expected)
          << c.section << "/" << c.key << (ending[1] ? " (CR LF)" : " (LF)");
    }
  }
}

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(Get("System", "Key"), "<default>");
  EXPECT_EQ(GetPrivateProfileString("S", "K", "NONE  ", 512, "c:\\vorn_config.ini"), "NONE");
  EXPECT_EQ(GetPrivateProfileInt("S", "K", -1, "c:\\vorn_config.ini"), -1);
  WriteIni("[Other]\nKey=1\n");
  EXPECT_EQ(Get("System", "Key"), "<default>");
  EXPECT_EQ(Get("Other", "Missing"), "<default>");
  // A directory or a name Windows refuses reads as missing too.
  EXPECT_EQ(GetPrivateProfileString("S", "K", "d", 16, "c:\\config"), "d");
  EXPECT_EQ(GetPrivateProfileString("S", "K", "d", 16, "c:\\con|fig"), "d");
}

TEST_F(ProfileFileTest, ValuesAreCutToTheBufferLessOne) {
  WriteIni("[S]\nk=abcdef\n");
  const struct {
    std::size_t size;
    const char* expected;
  } cases[] = {{8, "abcdef"}, {7, "abcdef"}, {6, "abcde"}, {2, "a"}, {1, ""}};
  for (const auto& c : cases) {
    char buffer[16];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", buffer, c.size, kIni), std::strlen(c.expected));
    EXPECT_STREQ(buffer, c.expected) << c.size;
    EXPECT_EQ(Get("S", "k", c.size), c.expected);
  }
  // Size 0 touches nothing; the default is cut the same way.
  char untouched[4] = "ZZZ";
  EXPECT_EQ(GetPrivateProfileString("S", "k", "", untouched, 0, kIni), 0u);
  EXPECT_STREQ(untouched, "ZZZ");
  EXPECT_EQ(GetPrivateProfileString("S", "missing", "defaults", 4, kIni), "def");
}

TEST_F(ProfileFileTest, IntegersReadTheLeadingDecimalNumber) {
  WriteIni(
      "[S]\nplain=42\nblanks=   -17\nplus=+8\ntrailing=12abc\nword=abc\nempty=\n"
      "quoted='5'\nwrap=4294967297\nhex=0x10\nminus=-\n");
  const struct {
    const char* key;
    int expected;
  } cases[] = {{"plain", 42}, {"blanks", -17}, {"plus", 8},    {"trailing", 12},
               {"word", 0},   {"empty", -1},   {"quoted", 5},  {"wrap", 1},
               {"hex", 0},    {"minus", 0},    {"missing", -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(GetPrivateProfileInt("s", c.key, -1, kIni), c.expected) << c.key;
  }
}

TEST_F(ProfileFileTest, WriteReplacesInPlaceAndKeepsEverythingElse) {
  const std::string before =
      "; comment at the top\n"
      "\n"
      "[System]\n"
      "  KALNXIEnable = 1   \n"
      "odd line without equals\n"
      "# hash comment\n"
      "\n"
      "[Debug]\n"
      "OutputDebug=0\n";
  WriteIni(before);
  EXPECT_TRUE(WritePrivateProfileString("SYSTEM", "kalnxienable", "0", kIni));
  std::string expected = before;
  expected.replace(expected.find("  KALNXIEnable = 1   "), 21, "KALNXIEnable=0");
  EXPECT_EQ(ReadIni(), expected);
  EXPECT_EQ(GetPrivateProfileInt("System", "KALNXIEnable", -1, kIni), 0);
}

TEST_F(ProfileFileTest, WriteAddsAKeyAfterTheLastEntryOfItsSection) {
  WriteIni(
      "[System]\n"
      "a=1\n"
      "b=2\n"
      "\n"
      "; about the debug section\n"
      "[Debug]\n"
      "x=1\n"
      "[Empty]\n"
      "\n");
  EXPECT_TRUE(WritePrivateProfileString("system", "C", "3", kIni));
  EXPECT_TRUE(WritePrivateProfileString("debug", "y", "2", kIni));
  EXPECT_TRUE(WritePrivateProfileString("empty", "z", "9", kIni));
  EXPECT_EQ(ReadIni(),
            "[System]\n"
            "a=1\n"
            "b=2\n"
            "C=3\n"
            "\n"
            "; about the debug section\n"
            "[Debug]\n"
            "x=1\n"
            "y=2\n"
            "[Empty]\n"
            "z=9\n"
            "\n");
}

TEST_F(ProfileFileTest, WriteCreatesTheFileAndTheSection) {
  fs::create_directories(DriveC() / "Config");
  EXPECT_TRUE(WritePrivateProfileString("System", "KALNXIEnable", "1", kIni));
  EXPECT_EQ(ReadFile(DriveC() / "Config/VELCRUM.INI"), "[System]\nKALNXIEnable=1\n");
  EXPECT_TRUE(WritePrivateProfileString("Debug", "OutputDebug", "0", kIni));
  EXPECT_EQ(ReadFile(DriveC() / "Config/VELCRUM.INI"),
            "[System]\nKALNXIEnable=1\n\n[Debug]\nOutputDebug=0\n");

  // A last line without a line end gets one before the new lines.
  WriteFile(DriveC() / "tail.ini", "[A]\nk=v");
  EXPECT_TRUE(WritePrivateProfileString("A", "n", "w", "c:\\TAIL.INI"));
  EXPECT_TRUE(WritePrivateProfileString("B", "m", "x", "c:\\tail.ini"));
  EXPECT_EQ(ReadFile(DriveC() / "tail.ini"), "[A]\nk=v\nn=w\n\n[B]\nm=x\n");

  // A file in a missing directory cannot be created.
  errno = 0;
  EXPECT_FALSE(WritePrivateProfileString("S", "K", "V", "c:\\nowhere\\x.ini"));
  EXPECT_NE(errno, 0);
  EXPECT_FALSE(fs::exists(DriveC() / "nowhere"));
}

TEST_F(ProfileFileTest, WriteKeepsTheFilesLineEnds) {
  WriteIni("\xEF\xBB\xBF[System]\r\nA=1\r\n; note\r\n");
  EXPECT_EQ(Get("System", "A"), "1");
  EXPECT_TRUE(WritePrivateProfileString("System", "A", "2", kIni));
  EXPECT_TRUE(WritePrivateProfileString("System", "B", "3", kIni));
  EXPECT_TRUE(WritePrivateProfileString("Debug", "C", "4", kIni));
  EXPECT_EQ(ReadIni(), "\xEF\xBB\xBF[System]\r\nA=2\r\nB=3\r\n; note\r\n\r\n[Debug]\r\nC=4\r\n");
}

TEST_F(ProfileFileTest, ALineBreakEndsANameOrValue) {
  WriteIni("[S]\nk=old\n");
  EXPECT_TRUE(WritePrivateProfileString("S", "k", "new\n[Injected]\nx=1", kIni));
  EXPECT_TRUE(WritePrivateProfileString("S\r\nT", "j\nk", "v", kIni));
  EXPECT_EQ(ReadIni(), "[S]\nk=new\nj=v\n");
}

TEST_F(ProfileFileTest, HostPathsAndTheSystemProfile) {
  const fs::path host = base_ / "etc/NXI.INI";
  WriteFile(host, "[Network]\nWorkstation=12\n");
  EXPECT_EQ(GetPrivateProfileInt("network", "workstation", -1, host.string()), 12);
  EXPECT_TRUE(WritePrivateProfileString("Network", "Workstation", "999", host.string()));
  EXPECT_EQ(ReadFile(host), "[Network]\nWorkstation=999\n");

  WriteFile(DriveC() / "windows/WIN.INI", "[windows]\ndevice=Laser,winspool,LPT1:\n");
  EXPECT_EQ(GetProfileString("Windows", "Device", "", 256), "Laser,winspool,LPT1:");
}

// The names in a directory, sorted: a temporary file left behind would show here.
std::vector<std::string> Names(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(ProfileFileTest, WritersInSeveralProcessesKeepEachOthersEntries) {
  const std::string before =
      "; shared by every panel\n"
      "[Site]\n"
      "Name=Studio 4\n"
      "\n"
      "[System]\n"
      "LogToFile=1\n";
  WriteIni(before);
  constexpr int kWriters = 6;
  constexpr int kKeys = 8;
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  std::vector<pid_t> writers;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      // Every writer starts when the parent closes the pipe, so that they collide.
      close(start[1]);
      char ignored;
      [[maybe_unused]] const ssize_t n = read(start[0], &ignored, 1);
      bool ok = true;
      for (int k = 0; k < kKeys; ++k) {
        // Half into a shared section, half into a section of the writer's own.
        const std::string section = k % 2 ? "System" : "Writer" + std::to_string(w);
        const std::string key = "W" + std::to_string(w) + "K" + std::to_string(k);
        ok = WritePrivateProfileString(section, key, key, kIni) && ok;
      }
      _exit(ok ? 0 : 1);
    }
    writers.push_back(pid);
  }
  close(start[0]);
  close(start[1]);
  for (const pid_t pid : writers) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer " << pid;
  }

  for (int w = 0; w < kWriters; ++w) {
    for (int k = 0; k < kKeys; ++k) {
      const std::string section = k % 2 ? "System" : "Writer" + std::to_string(w);
      const std::string key = "W" + std::to_string(w) + "K" + std::to_string(k);
      EXPECT_EQ(Get(section.c_str(), key.c_str()), key) << section << "/" << key;
    }
  }
  const std::string after = ReadIni();
  EXPECT_TRUE(after.starts_with("; shared by every panel\n[Site]\nName=Studio 4\n")) << after;
  EXPECT_NE(after.find("[System]\nLogToFile=1\n"), std::string::npos) << after;
  EXPECT_EQ(Names(DriveC() / "Config"), std::vector<std::string>{"Velcrum.ini"});
}

TEST_F(ProfileFileTest, AWriteThatDoesNotFitLeavesTheFileAsItWas) {
  const std::string before = "[System]\nKALNXIEnable=1\n[Site]\nName=Studio 4\n";
  WriteIni(before);
  const std::string longValue(200, 'x');
  {
    const testing::FileSizeLimit full(before.size() + 16);
    errno = 0;
    const bool replaced = WritePrivateProfileString("Site", "Name", longValue, kIni);
    const int error = errno;
    EXPECT_FALSE(replaced);
    EXPECT_EQ(error, EFBIG);
    // A new file that does not fit is not left behind, not even empty.
    EXPECT_FALSE(WritePrivateProfileString("New", "Key", longValue, "c:\\config\\new.ini"));
  }
  EXPECT_EQ(ReadIni(), before);
  EXPECT_EQ(Names(DriveC() / "Config"), std::vector<std::string>{"Velcrum.ini"});

  // Within the limit the same kind of write goes through.
  {
    const testing::FileSizeLimit roomy(before.size() + 16);
    EXPECT_TRUE(WritePrivateProfileString("Site", "Name", "Studio 5", kIni));
  }
  EXPECT_EQ(Get("Site", "Name"), "Studio 5");
}

}  // namespace
}  // namespace velcrum
