// A Host that records what the interpreter shows, and a fixture that starts every test
// from a clean interpreter with that host installed.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "interpreter/host.h"

namespace velcrum::testing {

struct RecordedBox {
  std::string caption;
  std::string text;
  MessageBoxStyle style;
};

class RecordingHost : public Host {
 public:
  void SystemDebuggerOut(std::string_view text) override;
  bool DebugWindowExists() override { return debugWindowExists; }
  void DebugWindowAppend(std::string_view text) override;
  MessageBoxAnswer ShowMessageBox(std::string_view caption, std::string_view text,
                                  MessageBoxStyle style) override;
  bool EditorOpen() override { return editorOpen; }
  void EditorStatus(std::string_view text) override;
  void RefreshVariablesWindows() override { ++variablesRefreshes; }
  void SetMainWindowTitle(std::string_view title) override { windowTitle = title; }
  bool TopLevelWindowExists(std::string_view title) override {
    return windowTitles.count(std::string(title)) != 0;
  }
  int RunningCopiesLoad() override { return copiesLoad; }
  void PostToMainWindow(uint32_t message, uint32_t wParam) override {
    posted.push_back({message, wParam});
  }
  // A window of windowTitles is found as its place in the set's order, from 1.
  uint32_t FindTopLevelWindow(std::string_view title) override;
  void PostToWindow(uint32_t hwnd, uint32_t message, uint32_t wParam) override {
    postedTo.push_back({hwnd, message, wParam, {}});
  }
  void SendTextFrame(uint32_t hwnd, uint32_t message, uint32_t wParam,
                     std::string_view text) override {
    framesSent.push_back({hwnd, message, wParam, std::string(text)});
  }
  void BringWindowToTop(uint32_t hwnd) override { raisedWindows.push_back(hwnd); }
  bool CloseSurplusCopy(int threshold) override {
    surplusChecks.push_back(threshold);
    return surplusCopyCloses;
  }
  bool SetMainWindowTimer(uint32_t id, uint32_t intervalMs) override {
    timers[id] = intervalMs;
    return true;
  }
  bool KillMainWindowTimer(uint32_t id) override { return timers.erase(id) != 0; }
  void ShowPopupMenu() override { ++popupMenus; }
  void PostQuit(int exitCode) override { quitCodes.push_back(exitCode); }
  void Beep() override { ++beeps; }
  void PlaySoundAsync(std::string_view file) override { sounds.emplace_back(file); }
  void RaiseToolWindows(bool messageWindowToo) override { raises.push_back(messageWindowToo); }
  void MainCloseDown() override { ++closeDowns; }
  void EndProcess(int exitCode) override { endedWith.push_back(exitCode); }

  std::vector<std::string> debugger;      // system-debugger lines
  std::vector<std::string> debugWindow;   // debug-window lines
  std::vector<std::string> editorStatus;  // editor status texts
  std::vector<RecordedBox> boxes;
  std::deque<MessageBoxAnswer> answers;  // answers to give, in order; OK once empty
  bool debugWindowExists = false;
  bool editorOpen = false;
  int variablesRefreshes = 0;

  // The shell side: the main window's title, the titles on the desktop, the load of
  // running copies, what was posted to the main window, close-downs and process ends.
  std::string windowTitle;
  std::set<std::string> windowTitles;
  int copiesLoad = 0;
  std::vector<std::pair<uint32_t, uint32_t>> posted;
  // Messages to other windows: posted, or sent as text frames.
  struct WindowMessage {
    uint32_t hwnd;
    uint32_t message;
    uint32_t wParam;
    std::string text;
  };
  std::vector<WindowMessage> postedTo;
  std::vector<WindowMessage> framesSent;
  std::vector<uint32_t> raisedWindows;
  std::vector<int> surplusChecks;       // the thresholds of the instance-limit checks asked for
  bool surplusCopyCloses = false;       // what every such check answers
  std::map<uint32_t, uint32_t> timers;  // the main window's running timers: id -> interval
  int closeDowns = 0;
  int popupMenus = 0;
  int beeps = 0;
  std::vector<int> quitCodes;
  std::vector<std::string> sounds;  // the files played
  std::vector<bool> raises;         // tool windows raised: with the message window or not
  std::vector<int> endedWith;
};

// Installs the display-free modules and resets them (the interpreter, the process-wide
// state, the configuration), installs a RecordingHost and turns the system-debugger
// channel on, so that everything written to the debug output lands in host.debugger.
class InterpreterTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Stores the lines of a script: {line, text} pairs.
  void Script(std::initializer_list<std::pair<int, const char*>> lines);

  // Whether any recorded debugger line contains the text.
  bool DebuggerSaid(std::string_view text) const;

  // Stores the text as line 100 and runs it as a control press would.
  void Run(std::string_view line);

  // The debugger lines without the parser's own lines about the kinds it found.
  std::vector<std::string> Reports() const;

  RecordingHost host;
};

}  // namespace velcrum::testing
