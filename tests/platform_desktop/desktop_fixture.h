// A private desktop for each test, and the helper processes (desktop_peer) a test starts on
// it. The test process itself takes part in the desktop: it can create windows, send and
// post, and waits for conditions by running the Qt event loop with a time-out.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/desktop/desktop.h"

namespace velcrum::platform::testing {

struct Peer {
  pid_t pid = 0;
  int output = -1;  // the peer's standard output
  std::string outputText;
  std::string errorPath;  // the peer's standard error goes to this file
  Hwnd hwnd = kNoWindow;
  bool reaped = false;
  int status = 0;
};

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts desktop_peer (or another program) with these arguments, without waiting for
  // its window.
  Peer& Start(const std::vector<std::string>& arguments,
              const std::string& program = DESKTOP_PEER_PATH);
  // Reads what the process has written to standard output so far into outputText.
  static void ReadOutput(Peer& peer);
  // Waits until the peer has printed its window handle; kNoWindow on time-out.
  Hwnd AwaitHandle(Peer& peer, int timeoutMs = 10000);
  // Both: a peer with a window, or a failed assertion.
  Peer& StartPeer(const std::vector<std::string>& arguments = {});

  // Runs the event loop until the condition holds; false when timeoutMs pass first.
  static bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
  // Waits for the peer's process to end (running the event loop meanwhile).
  bool AwaitExit(Peer& peer, int timeoutMs = 10000);
  // What the peer has written to standard error so far.
  std::string ErrorOutput(const Peer& peer) const;

  // Runs the desktop tool on this desktop to its end (running the event loop meanwhile, as
  // it may send to us); its standard output, exit status and standard error.
  std::string RunTool(const std::vector<std::string>& arguments, int* status = nullptr,
                      std::string* errors = nullptr);
  // A handle as the tool writes and reads it: four hexadecimal digits.
  static std::string HandleText(Hwnd hwnd);

  std::string dir_;   // the desktop directory
  std::string logs_;  // the peers' standard error files
  std::deque<Peer> peers_;
};

// Removes a directory tree.
void RemoveTree(const std::string& path);

}  // namespace velcrum::platform::testing
