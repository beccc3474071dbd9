// Windows command lines split into words; the host program and arguments they name; the
// processes started from them.
#include "platform/command_line.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/process.h"
#include "platform_fixture.h"

namespace velcrum {
namespace {

using Words = std::vector<std::string>;

TEST(SplitWindowsCommandLineTest, FollowsTheRulesOfTheCRuntime) {
  struct Case {
    const char* line;
    Words words;
  };
  const Case cases[] = {
      {"notepad c:\\data\\x.txt", {"notepad", "c:\\data\\x.txt"}},
      {"  prog   a\tb  ", {"prog", "a", "b"}},
      {"\"c:\\my programs\\p.exe\" \"two words\" x", {"c:\\my programs\\p.exe", "two words", "x"}},
      {"p a\"b c\"d", {"p", "ab cd"}},
      {"p \"say \"\"hi\"\"\"", {"p", "say \"hi\""}},
      {"p a\\\\\"b c\"", {"p", "a\\b c"}},  // 2 backslashes and a quote: one, and a quote part
      {"p a\\\"b", {"p", "a\"b"}},          // 1 backslash and a quote: a literal quote
      {"p c:\\dir\\ x", {"p", "c:\\dir\\", "x"}},
      {"c:\\a\\b\"c d", {"c:\\a\\b\"c", "d"}},  // the program word takes no quote rules
      {"p \"\"", {"p", ""}},
      {"", {}},
      {"   ", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitWindowsCommandLine(c.line), c.words) << c.line;
}

class CommandLineTest : public testing::PlatformTest {
 protected:
  void MakeExecutable(const std::filesystem::path& path, mode_t mode = 0755) {
    WriteFile(path, "#!/bin/sh\n");
    chmod(path.c_str(), mode);
  }
};

TEST_F(CommandLineTest, FindsProgramsAsWindowsFindsThem) {
  MakeExecutable(DriveC() / "bin" / "tool");
  MakeExecutable(DriveC() / "panels" / "DESK4.EXE");
  MakeExecutable(base_ / "beside" / "helper");
  const std::string tool = (DriveC() / "bin" / "tool").string();
  const std::string desk = (DriveC() / "panels" / "DESK4.EXE").string();
  const std::string helper = (base_ / "beside" / "helper").string();
  const std::vector<std::string> beside{(base_ / "beside").string()};
  struct Case {
    const char* program;
    std::string found;
  };
  const Case cases[] = {
      {"c:\\bin\\tool", tool},         {"C:\\BIN\\TOOL.EXE", tool}, {"c:\\panels\\desk4", desk},
      {"c:\\panels\\desk4.exe", desk}, {"helper.exe", helper},      {"HELPER", helper},
      {"sh", "/usr/bin/sh"},           {"c:\\bin\\none", ""},       {"nothing-at-all", ""},
  };
  for (const Case& c : cases) {
    std::string found = FindHostProgram(c.program, beside);
    if (std::string(c.program) == "sh" && found == "/bin/sh") found = "/usr/bin/sh";
    EXPECT_EQ(found, c.found) << c.program;
  }
  EXPECT_EQ(errno, ENOENT);
}

TEST_F(CommandLineTest, AFileThatMayNotRunIsRefusedWithAccessDenied) {
  MakeExecutable(DriveC() / "bin" / "plain", 0644);
  if (access((DriveC() / "bin" / "plain").c_str(), X_OK) == 0) GTEST_SKIP() << "root runs it";
  EXPECT_EQ(FindHostProgram("c:\\bin\\plain", {}), "");
  EXPECT_EQ(errno, EACCES);
}

TEST_F(CommandLineTest, DrivePathArgumentsAreMappedAndOthersKept) {
  EXPECT_EQ(HostArgument("c:\\data\\x.txt"), (DriveC() / "data" / "x.txt").string());
  EXPECT_EQ(HostArgument("C:/data"), (DriveC() / "data").string());
  for (const char* kept : {"17", "\\s", "/s", "c:", "cd:\\x", "-c:\\x"}) {
    EXPECT_EQ(HostArgument(kept), kept);
  }
}

TEST_F(CommandLineTest, StartedProcessesRunInTheirOwnGroupAndAreReaped) {
  const pid_t pid = StartProcess({"/bin/sh", "-c", "sleep 0.3; exit 4"});
  ASSERT_NE(pid, 0);
  EXPECT_EQ(getpgid(pid), pid);
  EXPECT_TRUE(IsInProcessGroup(pid, pid));
  EXPECT_FALSE(IsInProcessGroup(getpid(), pid));
  EXPECT_FALSE(EndedProcessStatus(pid));
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!EndedProcessStatus(pid) && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(EndedProcessStatus(pid));
  EXPECT_TRUE(WIFEXITED(*EndedProcessStatus(pid)));
  EXPECT_EQ(WEXITSTATUS(*EndedProcessStatus(pid)), 4);
  // Reaped: no zombie is left to signal.
  EXPECT_EQ(kill(pid, 0), -1);
  EXPECT_EQ(errno, ESRCH);
  ForgetProcess(pid);
  EXPECT_FALSE(EndedProcessStatus(pid));
}

TEST_F(CommandLineTest, AProgramThatCannotStartSaysWhy) {
  EXPECT_EQ(StartProcess({(DriveC() / "missing").string()}), 0);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(StartProcess({}), 0);
}

}  // namespace
}  // namespace velcrum
