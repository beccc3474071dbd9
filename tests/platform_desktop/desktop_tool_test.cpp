// The desktop diagnostic program: listing, watching, sending.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "desktop_fixture.h"
#include "peer_protocol.h"
#include "platform/desktop/desktop.h"

namespace velcrum::platform::testing {
namespace {

class DesktopToolTest : public DesktopTest {
 protected:
  // Runs the tool to its end (running the event loop meanwhile, as it may send to us).
  std::string Run(const std::vector<std::string>& arguments, int* status = nullptr) {
    std::vector<std::string> all{"--dir", dir_};
    all.insert(all.end(), arguments.begin(), arguments.end());
    Peer& tool = Start(all, DESKTOP_TOOL_PATH);
    EXPECT_TRUE(AwaitExit(tool));
    ReadOutput(tool);
    if (status) *status = WEXITSTATUS(tool.status);
    return tool.outputText;
  }
  static std::string Line(Hwnd hwnd, pid_t pid, const std::string& title) {
    char text[256];
    std::snprintf(text, sizeof text, "%04x  %-7d  %s\n", hwnd, pid, title.c_str());
    return text;
  }
};

TEST_F(DesktopToolTest, ListShowsHandleProcessAndTitleFromTheTop) {
  const Peer& first = StartPeer({"--title", "DESK_4__.012"});
  const Peer& second = StartPeer({"--title", "NXI"});
  const Peer& hidden = StartPeer({"--title", "driver", "--message-only"});

  EXPECT_EQ(Run({}),
            Line(second.hwnd, second.pid, "NXI") + Line(first.hwnd, first.pid, "DESK_4__.012"));
  EXPECT_EQ(Run({"list", "--all", "--bottom-up"}),
            Line(first.hwnd, first.pid, "DESK_4__.012") + Line(second.hwnd, second.pid, "NXI") +
                Line(hidden.hwnd, hidden.pid, "driver (message-only)"));
}

TEST_F(DesktopToolTest, SendPrintsTheAnswerAndPostReachesTheWindow) {
  const Peer& peer = StartPeer({"--title", "old"});
  char hwnd[8];
  std::snprintf(hwnd, sizeof hwnd, "%04x", peer.hwnd);
  EXPECT_EQ(Run({"send", hwnd, std::to_string(kPeerEcho), "40", "0x2"}), "42 (0x0000002a)\n");
  int status = 0;
  Run({"post", hwnd, std::to_string(kPeerSetTitle), "0", "0", "new title"}, &status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(WaitUntil([&] { return FindWindow("NEW TITLE") == peer.hwnd; }));
  Run({"send", "fffe", "1"}, &status);
  EXPECT_EQ(status, 1);
  Run({"send", "zz", "1"}, &status);
  EXPECT_EQ(status, 2);
}

TEST_F(DesktopToolTest, WatchShowsTheMessagesOfTheDesktop) {
  const Peer& peer = StartPeer();
  Peer& watcher = Start({"--dir", dir_, "watch"}, DESKTOP_TOOL_PATH);
  // Processes link to the watcher when they have seen its announcement.
  ASSERT_TRUE(WaitUntil([&] {
    Send(peer.hwnd, Message::Plain(kPeerEcho, 1, 2));
    ReadOutput(watcher);
    return watcher.outputText.find(" S ") != std::string::npos;
  }));
  char expected[128];
  std::snprintf(expected, sizeof expected, "%-7d R %04x message %u = 3\n", peer.pid, peer.hwnd,
                kPeerEcho);
  EXPECT_TRUE(WaitUntil([&] {
    ReadOutput(watcher);
    return watcher.outputText.find(expected) != std::string::npos;
  })) << watcher.outputText;
}

}  // namespace
}  // namespace velcrum::platform::testing
