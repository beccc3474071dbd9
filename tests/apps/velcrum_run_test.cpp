// velcrum-run as panel authors use it: a real process, its output and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out;
};

Result RunVelcrum(const std::string& arguments) {
  Result result;
  const std::string command = std::string(VELCRUM_RUN_PATH) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer;
  size_t got;
  while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.out.append(buffer.data(), got);
  const int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

class VelcrumRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("velcrum-run-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Script(const std::string& content) {
    const fs::path path = dir_ / "probe.AST";
    std::ofstream(path) << content;
    return "'" + path.string() + "'";
  }

  fs::path dir_;
};

TEST_F(VelcrumRunTest, RunsTheStartupLineInSequenceByDefault) {
  const Result r = RunVelcrum(Script("30000, \"##:QQ 1\"\n30001, \"!\"\n") + " --trace");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("MESSAGEBOX Information: Unknown Command in line 30000 - stringtable: 'QQ'"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("MESSAGEBOX PROBE___.000 - ! Debug Breakpoint !: Breakpoint signalled at "
                       "line 30001, command 1."),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("LoadString() failed at line 30002 - End"), std::string::npos) << r.out;
}

TEST_F(VelcrumRunTest, RunsChosenLinesInOrderWithoutSequence) {
  const Result r =
      RunVelcrum(Script("10, \"QA\"\n11, \"QB\"\n20, \"QC\"\n") + " --line 20 --line 10");
  EXPECT_EQ(r.status, 0);
  const size_t c = r.out.find("'QC'");
  const size_t a = r.out.find("'QA'");
  ASSERT_NE(c, std::string::npos);
  ASSERT_NE(a, std::string::npos);
  EXPECT_LT(c, a);
  EXPECT_EQ(r.out.find("'QB'"), std::string::npos);
}

TEST_F(VelcrumRunTest, PrintsVariablesAndMemories) {
  const Result r = RunVelcrum(Script("30000, \"##\"\n") + " --vars --mem 1:2 --smem 4097:4097");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("A%=    0    A$=NULL\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("z%=    0    z$=NULL\nM1=0\nM2=0\nS4097=\n"), std::string::npos) << r.out;
}

TEST_F(VelcrumRunTest, CancelledBreakpointsEndTheRun) {
  const Result r = RunVelcrum(Script("30000, \"!:QQ\"\n") + " --cancel-breakpoints");
  EXPECT_EQ(r.out.find("Unknown Command"), std::string::npos) << r.out;
}

TEST_F(VelcrumRunTest, BadInputExitsWith2AndAReason) {
  const std::string script = Script("30000, \"##\"\n");
  for (const std::string& arguments :
       {std::string("/no/such/file.AST"), script + " --inspect 3", script + " --bogus",
        script + " --mem 0:5", script + " --line", std::string("")}) {
    SCOPED_TRACE(arguments);
    const Result r = RunVelcrum(arguments);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out.rfind("velcrum-run: ", 0), 0u) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
  }
}

TEST_F(VelcrumRunTest, HelpDescribesTheInterface) {
  const Result r = RunVelcrum("--help");
  EXPECT_EQ(r.status, 0);
  for (const char* option : {"--line", "--trace", "--parser-trace", "--inspect", "--msgs",
                             "--cancel-breakpoints", "--vars", "--mem", "--smem"}) {
    EXPECT_NE(r.out.find(option), std::string::npos) << option;
  }
}

TEST_F(VelcrumRunTest, APageLeftOpenIsFinishedWhenTheRunEnds) {
  fs::create_directories(dir_ / "drive_c");
  setenv("VELCRUM_ROOT", dir_.c_str(), 1);
  unsetenv("VELCRUM_DRIVE_C");
  const Result r = RunVelcrum(Script("30000, \"HO 1 'c;/p.htm' 'T' 0:HW 1 'body'\"\n"));
  unsetenv("VELCRUM_ROOT");
  std::ifstream in(dir_ / "drive_c" / "p.htm");
  const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(page.ends_with("</HEAD>\nbody</BODY>\n</HTML>\n")) << page << r.out;
}

}  // namespace
