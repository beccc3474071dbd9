// Reports and the debug and trace output channels.
#include <gtest/gtest.h>

#include <string>

#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/settings.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class DiagnosticsTest : public testing::InterpreterTest {};

TEST_F(DiagnosticsTest, ReportsHaveTheFixedForms) {
  g_iCurrentLine = 2001;
  ReportError("JC", "bad thing");
  ReportWarning("JC", "odd thing");
  ReportNote("JC", "a note");
  const std::vector<std::string> expected = {
      "<TEST____.000> ERROR: line: 2001, cmd: 'JC' bad thing",
      "<TEST____.000> WARNING: line: 2001, cmd: 'JC' odd thing",
      "<TEST____.000> line: 2001, cmd: 'JC' a note",
  };
  EXPECT_EQ(host.debugger, expected);
  EXPECT_TRUE(g_bParamError);
}

TEST_F(DiagnosticsTest, ReportsNeedATwoCharacterCommandName) {
  for (const char* name : {"", "J", "JCX"}) {
    ReportError(name, "text");
    ReportWarning(name, "text");
    ReportNote(name, "text");
  }
  EXPECT_TRUE(host.debugger.empty());
  EXPECT_FALSE(g_bParamError);
}

TEST_F(DiagnosticsTest, WithInspectionMessagesOffReportsOnlySetTheFlag) {
  g_settings.parameterInspectMsgs = false;
  ReportError("JC", "text");
  EXPECT_TRUE(g_bParamError);
  EXPECT_TRUE(host.debugger.empty());
}

TEST_F(DiagnosticsTest, DebugOutCutsAtDeleteAndAt255Characters) {
  DebugOut("before\x7f" "after");
  DebugOut(std::string(300, 'a'));
  ASSERT_EQ(host.debugger.size(), 2u);
  EXPECT_EQ(host.debugger[0], "before");
  EXPECT_EQ(host.debugger[1], std::string(255, 'a'));
}

TEST_F(DiagnosticsTest, TraceOutCutsOnlyTextsLongerThan256) {
  TraceOut(std::string(256, 'b'));
  TraceOut(std::string(257, 'c'));
  ASSERT_EQ(host.debugger.size(), 2u);
  EXPECT_EQ(host.debugger[0].size(), 256u);
  EXPECT_EQ(host.debugger[1].size(), 255u);
}

// Which switches send DebugOut and TraceOut to the debug window and the debugger.
TEST_F(DiagnosticsTest, ChannelsFollowTheDebugSwitches) {
  struct Case {
    bool showDebugWindow, outputDebug, dbwin;
    bool debugToWindow, debugToDebugger, traceToWindow, traceToDebugger;
  };
  const Case cases[] = {
      {false, false, false, false, false, false, false},
      {true, false, false, false, false, true, false},
      {true, true, false, true, false, true, false},
      {false, true, true, false, true, false, true},
      {true, true, true, true, true, true, true},
  };
  host.debugWindowExists = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.showDebugWindow << c.outputDebug << c.dbwin);
    g_settings.showDebugWindow = c.showDebugWindow;
    g_settings.outputDebug = c.outputDebug;
    g_settings.enableOutputDbwin = c.dbwin;
    host.debugger.clear();
    host.debugWindow.clear();
    DebugOut("d");
    EXPECT_EQ(host.debugWindow.size(), c.debugToWindow ? 1u : 0u);
    EXPECT_EQ(host.debugger.size(), c.debugToDebugger ? 1u : 0u);
    host.debugger.clear();
    host.debugWindow.clear();
    TraceOut("t");
    EXPECT_EQ(host.debugWindow.size(), c.traceToWindow ? 1u : 0u);
    EXPECT_EQ(host.debugger.size(), c.traceToDebugger ? 1u : 0u);
  }
}

TEST_F(DiagnosticsTest, ShowMessageIsASystemModalStopBox) {
  ShowMessage("hello");
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Information");
  EXPECT_EQ(host.boxes[0].text, "hello");
  EXPECT_EQ(host.boxes[0].style.icon, MessageBoxIcon::kStop);
  EXPECT_TRUE(host.boxes[0].style.systemModal);
}

TEST_F(DiagnosticsTest, TimeStampsOnlyWhileEnabled) {
  TimeStamp("x");
  EXPECT_TRUE(host.debugger.empty());
  g_settings.timeStampStartup = true;
  TimeStamp("checkpoint");
  ASSERT_EQ(host.debugger.size(), 1u);
  EXPECT_EQ(host.debugger[0].rfind("Velcrum: checkpoint, time since start: ", 0), 0u);
}

}  // namespace
}  // namespace velcrum
