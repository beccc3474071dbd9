// The private-desktop fixture and the peers it starts.
#include "desktop_fixture.h"

#include <fcntl.h>
#include <ftw.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace velcrum::platform::testing {

void RemoveTree(const std::string& path) {
  nftw(
      path.c_str(), [](const char* file, const struct stat*, int, FTW*) { return remove(file); },
      16, FTW_DEPTH | FTW_PHYS);
}

void DesktopTest::SetUp() {
  char desktop[] = "/tmp/velcrum-desktop-test-XXXXXX";
  char logs[] = "/tmp/velcrum-desktop-logs-XXXXXX";
  ASSERT_NE(mkdtemp(desktop), nullptr);
  ASSERT_NE(mkdtemp(logs), nullptr);
  dir_ = desktop;
  logs_ = logs;
  setenv("VELCRUM_DESKTOP", dir_.c_str(), 1);
  std::string error;
  ASSERT_TRUE(OpenDesktop(&error)) << error;
}

void DesktopTest::TearDown() {
  for (Peer& peer : peers_) {
    if (!peer.reaped) {
      kill(peer.pid, SIGKILL);
      waitpid(peer.pid, &peer.status, 0);
    }
    if (peer.output >= 0) close(peer.output);
  }
  CloseDesktop();
  RemoveTree(dir_);
  RemoveTree(logs_);
}

Peer& DesktopTest::Start(const std::vector<std::string>& arguments, const std::string& program) {
  Peer& peer = peers_.emplace_back();
  peer.errorPath = logs_ + "/peer" + std::to_string(peers_.size()) + ".err";
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe";
    return peer;
  }
  const int errorFd = open(peer.errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    if (errorFd >= 0) dup2(errorFd, STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  if (errorFd >= 0) close(errorFd);
  peer.pid = pid;
  peer.output = pipeFds[0];
  fcntl(peer.output, F_SETFL, fcntl(peer.output, F_GETFL) | O_NONBLOCK);
  return peer;
}

Hwnd DesktopTest::AwaitHandle(Peer& peer, int timeoutMs) {
  WaitUntil(
      [&] {
        ReadOutput(peer);
        const size_t at = peer.outputText.find("hwnd ");
        const size_t end = peer.outputText.find('\n', at);
        if (at == std::string::npos || end == std::string::npos) return false;
        peer.hwnd = static_cast<Hwnd>(std::stoul(peer.outputText.substr(at + 5), nullptr, 16));
        return true;
      },
      timeoutMs);
  return peer.hwnd;
}

void DesktopTest::ReadOutput(Peer& peer) {
  char buffer[4096];
  ssize_t n;
  while ((n = read(peer.output, buffer, sizeof buffer)) > 0) {
    peer.outputText.append(buffer, static_cast<size_t>(n));
  }
}

Peer& DesktopTest::StartPeer(const std::vector<std::string>& arguments) {
  Peer& peer = Start(arguments);
  EXPECT_NE(AwaitHandle(peer), kNoWindow) << "the peer did not start: " << ErrorOutput(peer);
  return peer;
}

bool DesktopTest::WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > timeoutMs) return false;
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

bool DesktopTest::AwaitExit(Peer& peer, int timeoutMs) {
  return WaitUntil(
      [&] {
        if (!peer.reaped && waitpid(peer.pid, &peer.status, WNOHANG) == peer.pid) {
          peer.reaped = true;
        }
        return peer.reaped;
      },
      timeoutMs);
}

std::string DesktopTest::ErrorOutput(const Peer& peer) const {
  std::ifstream file(peer.errorPath);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string DesktopTest::RunTool(const std::vector<std::string>& arguments, int* status,
                                 std::string* errors) {
  std::vector<std::string> all{"--dir", dir_};
  all.insert(all.end(), arguments.begin(), arguments.end());
  Peer& tool = Start(all, DESKTOP_TOOL_PATH);
  EXPECT_TRUE(AwaitExit(tool));
  ReadOutput(tool);
  if (status) *status = WEXITSTATUS(tool.status);
  if (errors) *errors = ErrorOutput(tool);
  return tool.outputText;
}

std::string DesktopTest::HandleText(Hwnd hwnd) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", hwnd);
  return text;
}

}  // namespace velcrum::platform::testing
