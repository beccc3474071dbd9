// The panel fixture.
#include "panel_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "support/control_libraries.h"

namespace velcrum::testing {
namespace {

void WriteCrLf(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  std::ofstream file(path, std::ios::binary);
  for (const std::string& line : lines) file << line << "\r\n";
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

void PanelTest::SetUp() {
  DesktopTest::SetUp();
  root_ = std::filesystem::path(logs_) / "root";
  panels_ = std::filesystem::path(logs_) / "panels";
  std::filesystem::create_directories(root_ / "drive_c" / "vornlogs");
  std::filesystem::create_directories(panels_);
  ASSERT_TRUE(InstallControlLibraries(root_ / "drive_c" / "windows"));
  setenv("VELCRUM_ROOT", root_.c_str(), 1);
  setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
  setenv("VELCRUM_MESSAGEBOX", "ok", 1);
  unsetenv("VELCRUM_DRIVE_C");
  unsetenv("CC_ROOT");
  unsetenv("CC_SYSTEM");
  unsetenv("VELCRUM_SCREENSHOT");
}

void PanelTest::TearDown() {
  unsetenv("VELCRUM_MESSAGEBOX");
  unsetenv("VELCRUM_ROOT");
  unsetenv("CC_WORKSTATION");
  DesktopTest::TearDown();
}

void PanelTest::WriteVelcrumIni(const std::vector<std::string>& lines) {
  WriteCrLf(root_ / "drive_c" / "windows" / "VELCRUM.INI", lines);
}

void PanelTest::WriteNxiIni(const std::vector<std::string>& lines) {
  WriteCrLf(root_ / "drive_c" / "windows" / "NXI.INI", lines);
}

std::string PanelTest::ReadVelcrumIni() const {
  return ReadAll(root_ / "drive_c" / "windows" / "VELCRUM.INI");
}

std::string PanelTest::ReadLogFile() const {
  const std::time_t now = std::time(nullptr);
  char name[64];
  std::strftime(name, sizeof name, "velcrum.%Y%m%d.log", std::localtime(&now));
  return ReadAll(root_ / "drive_c" / "vornlogs" / name);
}

std::string PanelTest::MakePanel(const std::string& name, const std::vector<std::string>& records) {
  const std::filesystem::path program = panels_ / (name + ".EXE");
  std::filesystem::create_symlink(VELCRUM_PATH, program);
  std::ofstream script(panels_ / (name + ".AST"));
  for (const std::string& record : records) script << record << "\n";
  return program.string();
}

void PanelTest::MakeResourceScript(const std::string& name, const std::string& text) {
  std::ofstream(panels_ / (name + ".rc")) << text;
}

std::string PanelTest::Tool(const std::vector<std::string>& arguments) {
  int status = -1;
  std::string errors;
  const std::string out = RunTool(arguments, &status, &errors);
  EXPECT_EQ(status, 0) << errors;
  return out;
}

platform::testing::Peer& PanelTest::StartNxi(const std::vector<std::string>& arguments) {
  nxiLog_ = logs_ + "/nxi.log";
  std::vector<std::string> words{"--log", nxiLog_};
  words.insert(words.end(), arguments.begin(), arguments.end());
  platform::testing::Peer& nxi = Start(words, NXI_PATH);
  EXPECT_NE(AwaitHandle(nxi), platform::kNoWindow) << ErrorOutput(nxi);
  return nxi;
}

std::vector<std::string> PanelTest::NxiLog() const {
  std::ifstream file(nxiLog_);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (!line.starts_with("> ")) lines.push_back(line);
  }
  return lines;
}

platform::testing::Peer& PanelTest::StartPanel(const std::string& panel, int workstation,
                                               const std::vector<std::string>& parameters) {
  // The child takes the environment as it is at the start.
  setenv("CC_WORKSTATION", std::to_string(workstation).c_str(), 1);
  return Start(parameters, panel);
}

platform::Hwnd PanelTest::AwaitWindow(const std::string& title, int timeoutMs) {
  platform::Hwnd hwnd = platform::kNoWindow;
  WaitUntil(
      [&] {
        hwnd = platform::FindWindow(title);
        return hwnd != platform::kNoWindow;
      },
      timeoutMs);
  return hwnd;
}

bool PanelTest::AwaitOutput(const platform::testing::Peer& peer, const std::string& text,
                            int timeoutMs) {
  return WaitUntil([&] { return ErrorOutput(peer).find(text) != std::string::npos; }, timeoutMs);
}

int PanelTest::ExitCode(const platform::testing::Peer& peer) {
  return WIFEXITED(peer.status) ? WEXITSTATUS(peer.status) : -1;
}

size_t Position(const std::string& output, const std::string& text) {
  return output.find(text);
}

int Occurrences(const std::string& output, const std::string& text) {
  int count = 0;
  for (size_t at = output.find(text); at != std::string::npos; at = output.find(text, at + 1)) {
    ++count;
  }
  return count;
}

int TraceTime(const std::string& output, const std::string& trace) {
  const std::string head = "Velcrum: " + trace + ", time since start: ";
  const size_t at = output.find(head);
  if (at == std::string::npos) return -1;
  return std::atoi(output.c_str() + at + head.size());
}

}  // namespace velcrum::testing
