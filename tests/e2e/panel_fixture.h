// Real velcrum processes on a private desktop: each test gets its own desktop directory and
// its own drive C (with the control libraries and a VELCRUM.INI), makes panels (the
// runtime under a panel's name with a script beside it), and starts nxi and panels as the
// operator's workstation would.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "desktop_fixture.h"

namespace velcrum::testing {

class PanelTest : public platform::testing::DesktopTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // VELCRUM.INI (and NXI.INI) in the configuration directory, c:\windows; lines joined
  // with CR LF.
  void WriteVelcrumIni(const std::vector<std::string>& lines);
  void WriteNxiIni(const std::vector<std::string>& lines);
  std::string ReadVelcrumIni() const;
  // The day's log file under c:\vornlogs.
  std::string ReadLogFile() const;

  // A panel NAME.EXE whose script is these .AST records (without line feeds).
  std::string MakePanel(const std::string& name, const std::vector<std::string>& records);

  // The panel's companion resource script NAME.rc.
  void MakeResourceScript(const std::string& name, const std::string& text);

  // nxi with --log; the lines of what it received so far (not those of what it sent).
  platform::testing::Peer& StartNxi(const std::vector<std::string>& arguments = {});
  std::vector<std::string> NxiLog() const;

  // A panel on workstation `workstation`, with the start parameter words.
  platform::testing::Peer& StartPanel(const std::string& panel, int workstation = 1,
                                      const std::vector<std::string>& parameters = {});
  // The window of the running panel with this title; kNoWindow on time-out.
  platform::Hwnd AwaitWindow(const std::string& title, int timeoutMs = 10000);
  // Waits until the peer's standard error holds the text.
  bool AwaitOutput(const platform::testing::Peer& peer, const std::string& text,
                   int timeoutMs = 10000);
  // The desktop tool (docs/DESKTOP-TOOL.md) with these arguments, expected to succeed;
  // what it printed.
  std::string Tool(const std::vector<std::string>& arguments);
  // Exit status of a peer that has ended (-1 when it ended by a signal).
  static int ExitCode(const platform::testing::Peer& peer);

  std::filesystem::path root_;    // VELCRUM_ROOT
  std::filesystem::path panels_;  // where the panels are made
  std::string nxiLog_;
};

// The position of `text` in `output`, npos when absent; for checking order.
size_t Position(const std::string& output, const std::string& text);
// How many times `text` occurs in `output`.
int Occurrences(const std::string& output, const std::string& text);
// The milliseconds a trace point reports ("Velcrum: <text>, time since start: N"); -1 when
// the trace is absent.
int TraceTime(const std::string& output, const std::string& trace);

}  // namespace velcrum::testing
