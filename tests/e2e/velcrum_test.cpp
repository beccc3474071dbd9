// The velcrum program's life, end to end: real panels and a real nxi on a private desktop,
// observed through the panels' debug output, their log file, VELCRUM.INI and nxi's log.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "network/kal_messages.h"
#include "panel_fixture.h"

namespace velcrum::testing {
namespace {

using platform::Hwnd;
using platform::kNoWindow;
using platform::Message;
using platform::testing::Peer;

constexpr char kBoxHead[] = "MESSAGEBOX Velcrum V3.08.41: ";

// Debug output on standard error, the executor's line trace, the trace points.
const std::vector<std::string> kTracing = {
    "[Debug]",  "EnableOutputDBWIN=1", "OutputDebug=1", "LogToFile=1",
    "[System]", "TimeStampStartup=1",
};

// The lines with one more entry in the section (a profile reads only the first section of
// a name, so the entry goes into it).
std::vector<std::string> With(std::vector<std::string> lines, const std::string& section,
                              const std::string& entry) {
  const auto header = std::find(lines.begin(), lines.end(), "[" + section + "]");
  if (header == lines.end()) {
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
  } else {
    lines.insert(header + 1, entry);
  }
  return lines;
}

// A panel that stays up and shows each section it runs in the line trace.
const std::vector<std::string> kStayingPanel = {
    R"(30000, "EI started")", R"(30500, "JC S$ 'hello 5' 700 0")",    R"(31000, "EI closing")",
    R"(31500, "EI asleep")",  R"(700, "EI the parameter came back")", R"(800, "EI run by message")",
};

// A panel that closes itself through the normal shut-down once started.
const std::vector<std::string> kClosingPanel = {
    R"(30000, "EI started")",
    R"(30001, "EQ 100")",
    R"(31000, "EI closing")",
};

class VelcrumTest : public PanelTest {};

TEST_F(VelcrumTest, ASecondCopyExitsSilentlyWhileAnotherWorkstationRunsBeside) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  const std::string panel = MakePanel("DESK", kStayingPanel);
  Peer& first = StartPanel(panel, 1);
  const Hwnd firstWindow = AwaitWindow("DESK____.001");
  ASSERT_NE(firstWindow, kNoWindow) << ErrorOutput(first);

  Peer& second = StartPanel(panel, 1);
  ASSERT_TRUE(AwaitExit(second));
  EXPECT_EQ(ExitCode(second), 0);
  EXPECT_EQ(ErrorOutput(second).find("MESSAGEBOX"), std::string::npos) << ErrorOutput(second);
  EXPECT_EQ(ErrorOutput(second).find("Starting"), std::string::npos);

  Peer& beside = StartPanel(panel, 2);
  const Hwnd besideWindow = AwaitWindow("DESK____.002");
  EXPECT_NE(besideWindow, kNoWindow) << ErrorOutput(beside);

  for (const Hwnd hwnd : {firstWindow, besideWindow}) {
    platform::Post(hwnd, Message::Plain(platform::WM_CLOSE));
  }
  ASSERT_TRUE(AwaitExit(first));
  ASSERT_TRUE(AwaitExit(beside));
  EXPECT_EQ(ExitCode(first), 0);
  EXPECT_NE(ErrorOutput(first).find("VLWndProc() received WM_CLOSE"), std::string::npos);
}

TEST_F(VelcrumTest, WithoutNxiTheStartFailsWithItsBoxAndClosesDown) {
  WriteVelcrumIni(kTracing);
  Peer& panel = StartPanel(MakePanel("DESK", kStayingPanel));
  ASSERT_TRUE(AwaitExit(panel));
  const std::string output = ErrorOutput(panel);
  EXPECT_EQ(ExitCode(panel), 0);
  EXPECT_NE(output.find(std::string(kBoxHead) + "VORN Interface NXI.EXE not present (2)"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("80a1 - running CLOSEDOWN"), std::string::npos);
  EXPECT_NE(output.find("90a1 - close down enter"), std::string::npos);
  EXPECT_EQ(output.find("Line 30000"), std::string::npos);
}

TEST_F(VelcrumTest, ClientEnableZeroMattersOnlyWhenTheFirstBroadcastGoesUnanswered) {
  const struct {
    std::vector<std::string> nxiArguments;
    bool starts;
  } cases[] = {
      {{}, true},                // NXI in client mode answers KAL_CLIENT_HELLO
      {{"--find-only"}, false},  // found only by KAL_NXI_FIND: "not enabled in 'Client' mode"
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.starts ? "client mode" : "find only");
    Peer& nxi = StartNxi(c.nxiArguments);
    WriteVelcrumIni(kTracing);
    WriteNxiIni({"[Network]", "ClientEnable=0"});
    std::filesystem::remove(panels_ / "DESK.EXE");
    Peer& panel = StartPanel(MakePanel("DESK", kClosingPanel));
    ASSERT_TRUE(AwaitExit(panel));
    const std::string output = ErrorOutput(panel);
    const bool boxed = output.find(std::string(kBoxHead) +
                                   "VORN Interface NXI.EXE not enabled in 'Client' mode. (3)") !=
                       std::string::npos;
    EXPECT_EQ(boxed, !c.starts) << output;
    EXPECT_EQ(output.find("Line 30000") != std::string::npos, c.starts) << output;
    platform::Post(nxi.hwnd, Message::Plain(platform::WM_CLOSE));
    ASSERT_TRUE(AwaitExit(nxi));
  }
}

TEST_F(VelcrumTest, WithoutLine30000ThePanelSaysSoAndCloses) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  Peer& panel = StartPanel(MakePanel("DESK", {R"(100, "EI no start-up here")"}));
  ASSERT_TRUE(AwaitExit(panel));
  const std::string output = ErrorOutput(panel);
  EXPECT_NE(output.find("MESSAGEBOX Velcrum V3.08.41 (MSVS VC6): \\nThis application has no "
                        "executable startup code. Line 30000 does not exist in either a bound "
                        "string table or any companion AST file."),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("80a1 - running CLOSEDOWN"), std::string::npos);
  EXPECT_EQ(ExitCode(panel), 0);
}

TEST_F(VelcrumTest, AnExtensionLibraryThatTakesLine30000KeepsItFromRunning) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  const std::string program = MakePanel(
      "DESK", {R"(30000, "EI started")", R"(30001, "EI next")", R"(31000, "EI closing")"});
  std::filesystem::copy_file(EXTENSION_TAKES_STARTUP_PATH, panels_ / "DESK.dll");
  Peer& panel = StartPanel(program);
  ASSERT_TRUE(AwaitExit(panel));
  const std::string output = ErrorOutput(panel);
  EXPECT_EQ(ExitCode(panel), 0);
  EXPECT_EQ(output.find("Line 30000"), std::string::npos) << output;
  EXPECT_EQ(output.find("Line 30001"), std::string::npos) << "the run ends with the line";
  EXPECT_NE(output.find("LoadString() failed at line 30000 - End"), std::string::npos);
  // The library's EQ 100, run through the callback, closed the panel.
  EXPECT_NE(output.find("Line 31000"), std::string::npos) << output;
}

TEST_F(VelcrumTest, DelayedStartUpRunsLine30000AfterTheStartUpLogLines) {
  StartNxi();
  const struct {
    std::vector<std::string> ini;
    bool delayed;
  } cases[] = {
      {kTracing, true},
      {With(kTracing, "Debug", "NewStartUp=0"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.delayed ? "delayed" : "immediate");
    WriteVelcrumIni(c.ini);
    std::filesystem::remove(panels_ / "DESK.EXE");
    Peer& panel = StartPanel(MakePanel("DESK", kClosingPanel));
    ASSERT_TRUE(AwaitExit(panel));
    const std::string output = ErrorOutput(panel);
    const size_t line30000 = Position(output, "Line 30000");
    const size_t complete = Position(output, "Initialisation is complete.");
    ASSERT_NE(line30000, std::string::npos) << output;
    ASSERT_NE(complete, std::string::npos) << output;
    EXPECT_EQ(line30000 > complete, c.delayed) << output;
    EXPECT_NE(output.find(c.delayed ? "13d2 - DELAYED VELCRUM STARTUP"
                                    : "13d - ORIGINAL VELCRUM STARTUP"),
              std::string::npos);
  }
}

TEST_F(VelcrumTest, MessagesFromOtherProgramsRunLinesSetTheParameterAndWakeTheScript) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  Peer& panel = StartPanel(MakePanel("DESK", kStayingPanel));
  const Hwnd window = AwaitWindow("DESK____.001");
  ASSERT_NE(window, kNoWindow) << ErrorOutput(panel);
  ASSERT_TRUE(AwaitOutput(panel, "13d2 - DELAYED VELCRUM STARTUP"));

  EXPECT_EQ(platform::Send(window, Message::Plain(kMsgProbe)),
            static_cast<platform::Result>(kProbeAnswer));
  platform::Send(window, Message::Plain(kMsgRunLine, 800));
  EXPECT_TRUE(AwaitOutput(panel, "Line 800"));

  platform::Send(window, Message::Text(kMsgSetParameter, 0, "hello 5"));
  platform::Send(window, Message::Plain(KAL_ACTIVATEAPP, 1));
  EXPECT_TRUE(AwaitOutput(panel, "Line 700")) << "WAKEUP saw the parameter of 2085";
  EXPECT_NE(ErrorOutput(panel).find("30c1 - running WAKEUP"), std::string::npos);

  platform::Send(window, Message::Plain(KAL_ACTIVATEAPP, 0));
  EXPECT_TRUE(AwaitOutput(panel, "Line 31500"));

  // Another copy's close request naming this window itself is refused.
  EXPECT_EQ(platform::Send(window, Message::Plain(KAL_CLOSEDOWN, window)), 0);
  EXPECT_EQ(platform::Send(window, Message::Plain(KAL_CLOSEDOWN, 0)),
            static_cast<platform::Result>(kClosedownAccepted));
  ASSERT_TRUE(AwaitExit(panel));
  EXPECT_NE(ErrorOutput(panel).find("Line 31000"), std::string::npos);
}

TEST_F(VelcrumTest, TheCommandLineIsTheStartParameter) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  Peer& panel = StartPanel(MakePanel("DESK", kStayingPanel), 1, {"hello", "5"});
  const Hwnd window = AwaitWindow("DESK____.001");
  ASSERT_NE(window, kNoWindow) << ErrorOutput(panel);
  ASSERT_TRUE(AwaitOutput(panel, "13d2 - DELAYED VELCRUM STARTUP"));
  platform::Send(window, Message::Plain(KAL_ACTIVATEAPP, 1));
  EXPECT_TRUE(AwaitOutput(panel, "Line 700")) << ErrorOutput(panel);
  platform::Post(window, Message::Plain(platform::WM_CLOSE));
  EXPECT_TRUE(AwaitExit(panel));
}

TEST_F(VelcrumTest, AThirdCopyOverTheLimitClosesTheOldest) {
  StartNxi();  // the bottom-most window, never asked
  WriteVelcrumIni(With(kTracing, "System", "MaxExecWindows=2"));
  const std::string panel = MakePanel("DESK", kStayingPanel);
  Peer& oldest = StartPanel(panel, 1);
  ASSERT_NE(AwaitWindow("DESK____.001"), kNoWindow) << ErrorOutput(oldest);
  Peer& middle = StartPanel(panel, 2);
  const Hwnd middleWindow = AwaitWindow("DESK____.002");
  ASSERT_NE(middleWindow, kNoWindow) << ErrorOutput(middle);
  // Two copies are a load of 100, not above the limit: nobody closes.
  ASSERT_TRUE(AwaitOutput(middle, "13d2 - DELAYED VELCRUM STARTUP"));
  EXPECT_FALSE(
      WaitUntil([&] { return ErrorOutput(oldest).find("80a1") != std::string::npos; }, 800));

  Peer& newest = StartPanel(panel, 3);
  const Hwnd newestWindow = AwaitWindow("DESK____.003");
  ASSERT_NE(newestWindow, kNoWindow) << ErrorOutput(newest);
  ASSERT_TRUE(AwaitExit(oldest)) << "three copies are a load of 150";
  EXPECT_NE(ErrorOutput(oldest).find("Line 31000"), std::string::npos);
  EXPECT_TRUE(platform::IsWindow(middleWindow));
  EXPECT_TRUE(platform::IsWindow(newestWindow));
  for (const Hwnd hwnd : {middleWindow, newestWindow}) {
    platform::Post(hwnd, Message::Plain(platform::WM_CLOSE));
  }
  EXPECT_TRUE(AwaitExit(middle));
  EXPECT_TRUE(AwaitExit(newest));
}

TEST_F(VelcrumTest, EqWith1000EndsAtOnceAndOtherwiseThroughTheShutDown) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  const struct {
    const char* startup;
    bool closeDownSection;
  } cases[] = {
      {R"(30000, "EQ 1000 500")", false},
      {R"(30000, "EQ 100")", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.startup);
    std::filesystem::remove(panels_ / "DESK.EXE");
    Peer& panel = StartPanel(
        MakePanel("DESK", {c.startup, R"(500, "EI last words")", R"(31000, "EI closing")"}));
    ASSERT_TRUE(AwaitExit(panel));
    const std::string output = ErrorOutput(panel);
    EXPECT_EQ(ExitCode(panel), 0);
    EXPECT_EQ(output.find("Line 31000") != std::string::npos, c.closeDownSection) << output;
    EXPECT_EQ(output.find("Line 500") != std::string::npos, !c.closeDownSection) << output;
    // EQ 1000 ends the process inside the command, before any final step.
    EXPECT_EQ(output.find("90a1 - close down enter") != std::string::npos, c.closeDownSection);
  }
}

TEST_F(VelcrumTest, FastCloseZeroLeavesAGracePeriodWithoutWakeup) {
  StartNxi();
  WriteVelcrumIni(With(kTracing, "System", "FastClose=0"));
  Peer& panel = StartPanel(MakePanel("DESK", kStayingPanel));
  const Hwnd window = AwaitWindow("DESK____.001");
  ASSERT_NE(window, kNoWindow) << ErrorOutput(panel);
  ASSERT_TRUE(AwaitOutput(panel, "13d2 - DELAYED VELCRUM STARTUP"));

  platform::Post(window, Message::Plain(kMsgCloseDown));
  ASSERT_TRUE(AwaitOutput(panel, "Velcrum: 80a2"));
  // During the grace period messages are still answered, but WAKEUP no longer runs.
  EXPECT_EQ(platform::Send(window, Message::Plain(kMsgProbe)),
            static_cast<platform::Result>(kProbeAnswer));
  platform::Send(window, Message::Plain(KAL_ACTIVATEAPP, 1));
  ASSERT_TRUE(AwaitExit(panel));
  const std::string output = ErrorOutput(panel);
  EXPECT_EQ(output.find("30c1 - running WAKEUP"), std::string::npos);
  const int closeDown = TraceTime(output, "80a2");
  const int finalStep = TraceTime(output, "90a1 - close down enter");
  ASSERT_GE(closeDown, 0);
  EXPECT_GE(finalStep - closeDown, 450) << output;
}

TEST_F(VelcrumTest, TerminationSignalsCloseThePanelThroughItsShutDown) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  const std::string desk = MakePanel("DESK", kStayingPanel);
  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    Peer& panel = StartPanel(desk);
    ASSERT_NE(AwaitWindow("DESK____.001"), kNoWindow) << ErrorOutput(panel);
    ASSERT_TRUE(AwaitOutput(panel, "13d2 - DELAYED VELCRUM STARTUP"));
    ::kill(panel.pid, signal);
    ASSERT_TRUE(AwaitExit(panel));
    const std::string output = ErrorOutput(panel);
    EXPECT_EQ(ExitCode(panel), 0) << output;
    EXPECT_NE(output.find("VLWndProc() received WM_CLOSE"), std::string::npos) << output;
    EXPECT_NE(output.find("Line 31000"), std::string::npos) << output;
    EXPECT_NE(output.find("90a3 - close down exit"), std::string::npos) << output;
  }
  EXPECT_EQ(Occurrences(ReadLogFile(), "<DESK____.001> : Version 3.08.41 - Stopping."), 4);
}

TEST_F(VelcrumTest, ASecondSignalEndsAShutDownThatDoesNotFinish) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  // The CLOSEDOWN section never ends.
  Peer& panel =
      StartPanel(MakePanel("DESK", {R"(30000, "EI started")", R"(31000, "EI closing:JA 31000")"}));
  ASSERT_NE(AwaitWindow("DESK____.001"), kNoWindow) << ErrorOutput(panel);
  ASSERT_TRUE(AwaitOutput(panel, "13d2 - DELAYED VELCRUM STARTUP"));
  ::kill(panel.pid, SIGTERM);
  ASSERT_TRUE(AwaitOutput(panel, "Line 31000"));
  ::kill(panel.pid, SIGTERM);
  ASSERT_TRUE(AwaitExit(panel));
  EXPECT_TRUE(WIFEXITED(panel.status) && WEXITSTATUS(panel.status) == 128 + SIGTERM)
      << panel.status;
}

TEST_F(VelcrumTest, TheClosingLogLinesAreWrittenTwiceAndNxiSeesTheLeaveTaking) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  Peer& panel = StartPanel(MakePanel("DESK", kClosingPanel));
  ASSERT_TRUE(AwaitExit(panel));
  const std::string log = ReadLogFile();
  EXPECT_EQ(Occurrences(log, "<DESK____.001> : Version 3.08.41 - Starting."), 1) << log;
  EXPECT_EQ(Occurrences(log, "<DESK____.001> : Version 3.08.41 - Stopping."), 2) << log;
  EXPECT_EQ(Occurrences(log, "<DESK____.001> CmdFifo: closing FIFO HWM: 0"), 2);
  EXPECT_EQ(Occurrences(log, "<DESK____.001> RevFifo: closing FIFO HWM: 0"), 2);

  // nxi saw the discovery broadcast, the framed leave-taking hello with the value 2 and
  // the unsubscription.
  std::vector<std::string> kinds;
  for (const std::string& line : NxiLog()) {
    std::istringstream fields(line);
    std::string message, wParam, value, kind;
    fields >> message >> wParam >> value >> kind;
    kinds.push_back(message + " " + value + " " + kind);
  }
  const std::vector<std::string> expected = {"2034 4 plain", "2034 2 num", "49226 0 plain"};
  EXPECT_EQ(kinds, expected);
}

// The message numbers nxi logged, in order.
std::vector<std::string> LoggedMessages(const std::vector<std::string>& log) {
  std::vector<std::string> messages;
  for (const std::string& line : log) messages.push_back(line.substr(0, line.find(' ')));
  return messages;
}

TEST_F(VelcrumTest, OnlyABoundNetworkMessageSectionSubscribesToNetworkStatus) {
  StartNxi();
  WriteVelcrumIni(kTracing);
  // Bound: the resource script holds the start-up and the NETWORKMESSAGE section.
  MakeResourceScript("BOUND",
                     "#define IDS_NETWORK 32400\n"
                     "STRINGTABLE\nBEGIN\n"
                     "  30000, \"EQ 100\"\n"
                     "  IDS_NETWORK \"EI network status\"\n"
                     "END\n");
  Peer& bound = StartPanel(MakePanel("BOUND", {}));
  ASSERT_TRUE(AwaitExit(bound));
  EXPECT_NE(ErrorOutput(bound).find("Line 30000, Cmds 0, Line='EQ 100'"), std::string::npos)
      << ErrorOutput(bound);
  const std::vector<std::string> subscribed = {"2034", "49229", "49225", "2034", "49226"};
  EXPECT_EQ(LoggedMessages(NxiLog()), subscribed);

  // The same section in the .AST file only: no subscription.
  const size_t before = NxiLog().size();
  Peer& scripted =
      StartPanel(MakePanel("SCRIPTED", {R"(30000, "EQ 100")", R"(32400, "EI network status")"}));
  ASSERT_TRUE(AwaitExit(scripted));
  const std::vector<std::string> unsubscribed = {"2034", "2034", "49226"};
  const std::vector<std::string> log = NxiLog();
  EXPECT_EQ(LoggedMessages({log.begin() + static_cast<long>(before), log.end()}), unsubscribed);
}

TEST_F(VelcrumTest, APanelStartsBesideOneStuckInAScriptLoop) {
  StartNxi();
  WriteVelcrumIni({"[Debug]", "EnableOutputDBWIN=1", "[System]", "TimeStampStartup=1",
                   "SendTimeout=1000", "BroadcastTimeout=1000"});
  Peer& stuck = StartPanel(MakePanel("STUCK", {R"(30000, "JA 30000")"}), 1);
  ASSERT_TRUE(AwaitOutput(stuck, "13d1 - running STARTUP")) << ErrorOutput(stuck);

  // Its discovery broadcast passes over the stuck panel's window and finds NXI.
  Peer& beside = StartPanel(MakePanel("BESIDE", kClosingPanel), 2);
  ASSERT_TRUE(AwaitExit(beside));
  const std::string output = ErrorOutput(beside);
  EXPECT_EQ(ExitCode(beside), 0);
  EXPECT_NE(output.find("13d1 - running STARTUP"), std::string::npos) << output;
  EXPECT_EQ(output.find("MESSAGEBOX"), std::string::npos) << output;
  EXPECT_NE(output.find("desktop bus: no answer from process " + std::to_string(stuck.pid) +
                        " within 1000 ms"),
            std::string::npos)
      << output;
}

TEST_F(VelcrumTest, AFreshEmptyVelcrumIniIsLeftWithEveryKeyAndItsDefault) {
  StartNxi();
  WriteVelcrumIni({});
  Peer& panel = StartPanel(MakePanel("DESK", kClosingPanel));
  ASSERT_TRUE(AwaitExit(panel));

  std::map<std::string, std::map<std::string, std::string>> ini;
  std::istringstream text(ReadVelcrumIni());
  std::string section;
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 2 && line.front() == '[') {
      section = line.substr(1, line.size() - 2);
    } else if (const size_t equals = line.find('='); equals != std::string::npos) {
      ini[section][line.substr(0, equals)] = line.substr(equals + 1);
    }
  }
  const std::map<std::string, std::map<std::string, std::string>> expected = {
      {"System",
       {{"V2CompatibleVelcrumNames", "0"},
        {"VariablesWindowPositionX", "200"},
        {"VariablesWindowPositionY", "20"},
        {"VariablesWindowSizeW", "200"},
        {"VariablesWindowSizeH", "450"},
        {"KALNXIEnable", "1"},
        {"FastClose", "1"},
        {"iUmdChain1", "-1"},
        {"iUmdChain2", "-1"},
        {"iUmdChain3", "-1"},
        {"iUmdChain4", "-1"},
        {"UMDProtocol", "TSL"},
        {"UMDBaudRate", "38400"},
        {"UmdSize", "16"},
        {"UmdVirtualisation", "0"},
        {"CycleAmazon", "1"},
        {"PrinterSupport", "1"},
        {"VideoCaptureApplication", "overlay.exe"},
        {"AllowSystemMenuExit", "0"},
        {"MaxExecWindows", "24"},
        {"TxVerticalBarCRLF", "0"},
        {"EmMessageWindowPositionX", "0"},
        {"EmMessageWindowPositionY", "0"},
        {"EmMessageWindowSizeW", "200"},
        {"EmMessageWindowSizeH", "170"},
        {"EnableParameterInspection", "1"},
        {"EnableParameterInspectMsgs", "1"},
        {"SendTimeout", "5000"},
        {"BroadcastTimeout", "300"},
        {"RebootCommand", "systemctl reboot"},
        {"LogoffCommand", "loginctl terminate-session ${XDG_SESSION_ID}"}}},
      {"Debug",
       {{"DebugWindowPositionX", "200"},
        {"DebugWindowPositionY", "310"},
        {"DebugWindowSizeW", "640"},
        {"DebugWindowSizeH", "700"},
        {"ShowDebugWindow", "0"},
        {"OutputParserTrace", "0"},
        {"OutputParserStack", "0"},
        {"OutputDebug", "0"},
        {"EnableOutputDBWIN", "0"},
        {"LogToFile", "0"}}},
      {"Editor",
       {{"EditorWindowPositionX", "100"},
        {"EditorWindowPositionY", "100"},
        {"EditorWindowSizeW", "640"},
        {"EditorWindowSizeH", "480"}}},
      {"32Bit", {{"SynchronousMode", "1"}}},
  };
  EXPECT_EQ(ini, expected);
}

}  // namespace
}  // namespace velcrum::testing
