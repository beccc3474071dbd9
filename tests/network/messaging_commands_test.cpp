// The X commands in the runtime against a real infodriver process on a private desktop: a
// window of the test process is the panel's main window, and the driver's log shows what
// the commands sent.
#include "network/messaging_commands.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "desktop_fixture.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/host.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "network/device_tables.h"
#include "network/driver_link.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "network/net_link.h"
#include "platform/desktop/window.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "runtime/subsystem_settings.h"
#include "shell/display_free_modules.h"
#include "shell/runtime_modules.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

int32_t& Int(char letter) {
  return g_lIntegerVariables[VariableIndex(letter)];
}
std::string Str(char letter) {
  return g_szStringVariables[VariableIndex(letter)];
}

std::string Hex(const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    out += kDigits[static_cast<unsigned char>(c) >> 4];
    out += kDigits[static_cast<unsigned char>(c) & 0xF];
  }
  return out;
}

// A message the main window received, as "message wParam lParam text".
struct Received {
  uint32_t message;
  uint32_t wParam;
  int32_t lParam;
  std::string text;
};

class MessagingCommandsTest : public platform::testing::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    InstallModules(RuntimeModules());
    ResetModules();
    SetHost(&host_);
    g_instanceName = "TEST____.000";
    g_settings.enableOutputDbwin = true;
    g_instanceSettings.workstation = 7;
    main_ = platform::Window::Create(platform::Window::Kind::kTopLevel, "TEST____.000");
    ASSERT_TRUE(main_);
    g_hwndMain = main_->Handle();
    main_->SetProc([this](const platform::Message& m) -> platform::Result {
      switch (m.message) {
        case platform::WM_COPYDATA:
          VLNetSup_OnCopyData(g_hwndMain, m.wParam, m);
          return 1;
        case KAL_DRIVER_HANDLE:
          g_hwndConnectCandidate = m.wParam;
          return 0;
        default:
          break;
      }
      if (!VLNetSup_IsNetworkMessage(m.message)) return 0;
      received_.push_back({m.message, m.wParam, m.lParam, m.data});
      // A line that runs inside a send and does not keep the sending line's place.
      if (m.message == KAL_INFO_REVERTIVE && revertiveLine_ != 0) RunLine(revertiveLine_, 0);
      return VLNetSup_Accept(m);
    });
  }
  void TearDown() override {
    main_.reset();
    ResetModules();
    InstallModules(DisplayFreeModules());
    SetHost(nullptr);
    g_settings = InterpreterSettings{};
    DesktopTest::TearDown();
  }

  platform::testing::Peer& StartDriver(std::vector<std::string> arguments) {
    logPath_ = logs_ + "/driver" + std::to_string(peers_.size()) + ".log";
    arguments.insert(arguments.end(), {"--log", logPath_});
    platform::testing::Peer& driver = Start(arguments, INFODRIVER_PATH);
    EXPECT_NE(AwaitHandle(driver), platform::kNoWindow) << ErrorOutput(driver);
    return driver;
  }

  // `infodriver do ...` to its end; true when it was carried out.
  bool Do(const std::vector<std::string>& arguments) {
    platform::testing::Peer& tool = Start(arguments, INFODRIVER_PATH);
    EXPECT_TRUE(AwaitExit(tool));
    return WIFEXITED(tool.status) && WEXITSTATUS(tool.status) == 0;
  }

  // The messages the driver received, less the replies to its own sends.
  std::vector<std::string> DriverReceived() const {
    std::ifstream file(logPath_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
      if (!line.starts_with("> ") && !line.starts_with("2984 ")) lines.push_back(line);
    }
    return lines;
  }
  std::string LastReceived() const {
    const std::vector<std::string> lines = DriverReceived();
    return lines.empty() ? "" : lines.back();
  }
  std::string TextLine(uint32_t message, uint32_t wParam, const std::string& quoted) const {
    return std::to_string(message) + ' ' + std::to_string(wParam) + " 0 text " +
           std::to_string(g_hwndMain) + " 513 \"" + quoted + '"';
  }
  std::string NumberLine(uint32_t message, uint32_t wParam, int32_t value) const {
    return std::to_string(message) + ' ' + std::to_string(wParam) + ' ' + std::to_string(value) +
           " num " + std::to_string(g_hwndMain) + " 16 " + Hex(NumericFrame(value));
  }

  static void Script(std::initializer_list<std::pair<int, const char*>> lines) {
    for (const auto& [line, text] : lines) VLSTMSup_SetMem(line, text);
  }
  void Run(const std::string& line) {
    VLSTMSup_SetMem(100, line);
    RunLine(100, 0);
  }
  bool DebuggerSaid(std::string_view text) const {
    for (const std::string& line : host_.debugger) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  }

  static const ConnectedDriver& Record(int device) {
    return g_connectedDrivers[static_cast<size_t>(device)];
  }

  testing::RecordingHost host_;
  std::unique_ptr<platform::Window> main_;
  std::string logPath_;
  std::vector<Received> received_;
  int revertiveLine_ = 0;
};

TEST_F(MessagingCommandsTest, XrConnectsAndRegistersThenAdditionsWiden) {
  platform::testing::Peer& driver = StartDriver({"--device", "20"});
  Run("XR 20 1 100 5000 1 I%");
  EXPECT_EQ(Record(20).window, driver.hwnd);
  EXPECT_EQ(Record(20).lowestIndex, 1);
  EXPECT_EQ(Record(20).highestIndex, 100);
  const Registration& registration = g_registrations[20];
  EXPECT_EQ(registration.line, 5000);
  EXPECT_EQ(registration.offsetMode, 1);
  EXPECT_EQ(registration.indexVariable, VariableIndex('I'));
  EXPECT_EQ(registration.deviceVariable, -1);
  EXPECT_FALSE(IndexFilterOn(20));
  EXPECT_TRUE(IndexMarked(20, 100));
  EXPECT_FALSE(IndexMarked(20, 101));
  EXPECT_EQ(LastReceived(), NumberLine(KAL_DRIVER_CONNECT, g_hwndMain, 20));
  for (const char* said :
       {"XR :IN", "XR 20 1 100 5000 1 I%", "XR : VALID", "XR : CONNECT 1", "XR :RETURNING"}) {
    EXPECT_TRUE(DebuggerSaid(said)) << said;
  }
  char handle[64];
  std::snprintf(handle, sizeof handle, "XR : Handle is %04x - rev offset = 5000 (5000)",
                driver.hwnd);
  EXPECT_TRUE(DebuggerSaid(handle));

  // A slot change runs the registered line, offset by the index, with S%, S$ and I%.
  Script({{5007, "NA Z% 1 Z%"}, {5120, "NA Z% 10 Z%"}, {5150, "NA Z% 100 Z%"}});
  ASSERT_TRUE(Do({"--device", "20", "do", "slot", "7", "ON AIR"}));
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].message, KAL_INFO_REVERTIVE);
  EXPECT_EQ(received_[0].wParam, 20u);
  EXPECT_EQ(received_[0].text, "7,ON AIR");
  EXPECT_EQ(Int('Z'), 1);
  EXPECT_EQ(Int('S'), 7);
  EXPECT_EQ(Str('S'), "ON AIR");
  EXPECT_EQ(Int('I'), 7);

  // An addition widens the range, sets the filter and takes the device variable.
  Run("XR 20 150 200 5000 1 I% 'add' D%");
  EXPECT_TRUE(DebuggerSaid("XR : HAVE 'ADD'"));
  EXPECT_EQ(LastReceived(), NumberLine(KAL_DRIVER_CONNECT, g_hwndMain, 20 | 0x8000));
  EXPECT_EQ(Record(20).lowestIndex, 1);
  EXPECT_EQ(Record(20).highestIndex, 200);
  EXPECT_TRUE(IndexFilterOn(20));
  EXPECT_FALSE(IndexMarked(20, 120));
  EXPECT_TRUE(IndexMarked(20, 150));
  EXPECT_EQ(g_registrations[20].deviceVariable, VariableIndex('D'));
  // Within the range but not marked: filtered out. Marked: runs, with the device in D%.
  ASSERT_TRUE(Do({"--device", "20", "do", "slot", "120", "GAP"}));
  EXPECT_EQ(Int('Z'), 1);
  ASSERT_TRUE(Do({"--device", "20", "do", "slot", "150", "ADDED"}));
  EXPECT_EQ(Int('Z'), 101);
  EXPECT_EQ(Int('D'), 20);
  EXPECT_EQ(Str('S'), "ADDED");

  // XU keeps the connection while indexes remain, then disconnects.
  Run("XU 20 1 100");
  EXPECT_EQ(Record(20).window, driver.hwnd);
  Run("XU 20");
  EXPECT_EQ(Record(20).window, 0u);
  EXPECT_EQ(Record(20).highestIndex, 0);
  EXPECT_FALSE(IndexFilterOn(20));
  EXPECT_EQ(LastReceived(), "49165 " + std::to_string(driver.hwnd) + " 20 plain 0 0 -");
  std::snprintf(handle, sizeof handle, "Disconnecting from driver 20, hWnd %04x", driver.hwnd);
  EXPECT_TRUE(DebuggerSaid(handle));
  const size_t before = received_.size();
  ASSERT_TRUE(Do({"--device", "20", "do", "slot", "7", "OFF"}));
  EXPECT_EQ(received_.size(), before);  // no longer connected
}

TEST_F(MessagingCommandsTest, XrWithoutADriverLeavesTheRecordsAlone) {
  g_registrations[30].line = 77;
  Run("XR 30 1 10 5000 0 I%");
  EXPECT_EQ(Record(30).window, 0u);
  EXPECT_EQ(g_registrations[30].line, 77);
  EXPECT_EQ(g_registrations[30].indexVariable, -1);
  EXPECT_FALSE(IndexMarked(30, 1));
  EXPECT_TRUE(DebuggerSaid("XR : CONNECT 2, g_hTmpDxId != NULL"));
  EXPECT_TRUE(DebuggerSaid("XR : Handle is NULL, is the Info Driver running ???"));

  host_.debugger.clear();
  Run("XR 1000 1 10 5000 0");
  EXPECT_TRUE(DebuggerSaid("Parameter 1 is out of range"));
  EXPECT_FALSE(DebuggerSaid("XR : VALID"));
}

// The frames each command leaves in the driver's log, device 20 connected.
struct FrameCase {
  const char* command;
  uint32_t message;
  uint32_t wParam;
  int32_t value;     // numeric frames
  const char* text;  // text frames (nullptr: numeric)
};
constexpr FrameCase kFrameCases[] = {
    {"XC 20 3 9", KAL_DRIVER_CMD, 0, 0, "XC 20 3 9"},
    {"XC 20 3 9 1", KAL_DRIVER_XPOINT, 9, 3, nullptr},
    {"XC 20 3 9 'A'", KAL_DRIVER_CMD, 0, 0, "XC 20 3 9 ',A' 0"},
    {"XC 20 3 9 'A' 4", KAL_DRIVER_CMD, 0, 0, "XC 20 3 9 ',A' 4"},
    {"XC 20 3 9 0 'A'", KAL_DRIVER_CMD, 0, 0, "XC 20 3 9 ',A'"},
    {"XC 20 3 9 0 ',B' 6", KAL_DRIVER_CMD, 0, 0, "XC 20 3 9 ',B' 6"},
    {"XS 20 5 1", KAL_DRIVER_CMD, 0, 0, "XS 20 5 1"},
    {"XS 20 5 1 1", KAL_DRIVER_IOLINE, 5, 1, nullptr},
    {"XS 20 5 1 0 7", KAL_DRIVER_CMD, 0, 0, "XS 20 5 1 7"},
    {"XW 20 'HELLO' 4", KAL_DRIVER_CMD, 0, 0, "XW 20 'HELLO' 4 "},
    {"XW 20 'HELLO' 4 0", KAL_DRIVER_CMD, 0, 0, "XW 20 'HELLO' 4 0 "},
    {"XW 20 'HELLO' 4 0 3", KAL_DRIVER_CMD, 0, 0, "XW 20 'HELLO' 4 3"},
    {"XW 20 'HI' 4 1", KAL_DRIVER_WRITE, 4, 0, "HI"},
    {"XP 20 1 2", KAL_DRIVER_CMD, 0, 0, "XP 20 1 2 7"},
};

TEST_F(MessagingCommandsTest, EachCommandSendsItsFrameAndTheLineGoesOn) {
  StartDriver({"--device", "20"});
  Run("XR 20 1 100 5000 0");
  for (const FrameCase& c : kFrameCases) {
    SCOPED_TRACE(c.command);
    Int('Z') = 0;
    Run(std::string(c.command) + ":NA Z% 1 Z%");
    EXPECT_EQ(Int('Z'), 1);
    EXPECT_EQ(LastReceived(), c.text ? TextLine(c.message, c.wParam, c.text)
                                     : NumberLine(c.message, c.wParam, c.value));
  }
  EXPECT_TRUE(DebuggerSaid("XC Sending message: src:3, dest:9"));
  EXPECT_TRUE(DebuggerSaid("XC Sending message: 'XC 20 3 9 ',A' 0'"));
  EXPECT_TRUE(DebuggerSaid("XS Sending message: ioLine:5, state:1"));
  EXPECT_TRUE(DebuggerSaid("XP Sending message: 'XP 20 1 2 7'"));

  // Nothing goes out for a device outside 1 to 999, and XS's warnings do not stop it.
  const size_t before = DriverReceived().size();
  Run("XC 1000 3 9:XS 0 1 1:XW 1000 'X' 1");
  EXPECT_EQ(DriverReceived().size(), before);

  // A text too long for a string variable ends XW only in strict inspection (dispatched
  // alone: a script line cuts a command this long, and the reports pass over one).
  const std::string longText(300, 'x');
  g_settings.parameterInspection = Inspection::kStrict;
  EXPECT_EQ(DispatchCommand("XW 20 '" + longText + "' 4 1", 100, 0), 0);
  EXPECT_EQ(DriverReceived().size(), before);
  g_settings.parameterInspection = Inspection::kOn;
  EXPECT_EQ(DispatchCommand("XW 20 '" + longText + "' 4 1", 100, 0), 1);
  EXPECT_EQ(LastReceived(), TextLine(KAL_DRIVER_WRITE, 4, longText));

  host_.debugger.clear();
  Run("XS 20 5000 3 2");
  EXPECT_EQ(LastReceived(), NumberLine(KAL_DRIVER_IOLINE, 5000, 3));
  for (const char* said : {"Parameter 2 is out of range", "Parameter 3 is out of range",
                           "Parameter 4 is out of range"}) {
    EXPECT_TRUE(DebuggerSaid(said)) << said;
  }
}

TEST_F(MessagingCommandsTest, ASendKeepsTheLinesPlaceWhateverRunsMeanwhile) {
  StartDriver({"--device", "20"});
  Run("XR 20 1 100 5000 0");
  // The revertive of the write runs line 900 inside the send, which leaves the executor
  // at a missing line: no subroutine frames, not in sequence.
  revertiveLine_ = 900;
  Script({{300, "JS 500:NA Z% 10 Z%"},
          {500, "XW 20 'X' 4 1:NA Z% 1 Z%:JR"},
          {900, "NA Y% 1 Y%:JS 950"}});
  RunLine(300, 0);
  EXPECT_EQ(Int('Y'), 1);
  EXPECT_EQ(Int('Z'), 11);
  EXPECT_EQ(g_iProcStackPtr, -1);
}

TEST_F(MessagingCommandsTest, XpChecksItsRangeAndTheConnection) {
  StartDriver({"--device", "20"});
  Run("XR 20 1 100 5000 0");
  const size_t before = DriverReceived().size();
  Run("XP 20 9 3");
  EXPECT_TRUE(DebuggerSaid("Parameter 2 is out of range"));
  Run("XP 21 1 2");
  EXPECT_TRUE(DebuggerSaid("Parameter 1 is out of range. Value found: 21"));
  Run("XP 20 0 2");
  EXPECT_EQ(DriverReceived().size(), before);

  // The poll's revertives come back to this panel.
  ASSERT_TRUE(Do({"--device", "20", "do", "slot", "2", "TWO"}));
  received_.clear();
  Run("XP 20 2 3");
  ASSERT_EQ(received_.size(), 2u);
  EXPECT_EQ(received_[0].text, "2,TWO");
  EXPECT_EQ(received_[1].text, "3,");
}

TEST_F(MessagingCommandsTest, XgReadsASlotIntoAStringVariable) {
  StartDriver({"--device", "20"});
  Run("XR 20 1 100 5000 0");
  ASSERT_TRUE(Do({"--device", "20", "do", "slot", "4", "FOUR"}));
  Run("XG 20 4 A$");
  EXPECT_EQ(Str('A'), "FOUR");
  Run("XG 20 5000 A$:XG 20 4 7");
  EXPECT_TRUE(DebuggerSaid("Parameter 2 is out of range"));
  EXPECT_EQ(Str('A'), "FOUR");
  // A device without a driver: no reply, an empty text.
  Run("XG 21 4 A$");
  EXPECT_EQ(Str('A'), "");
}

TEST_F(MessagingCommandsTest, XnAsksTheDriversModeAndRunsTheRedundancyLine) {
  StartDriver({"--device", "20", "--mode", "2"});
  Script({{6000, "NA Z% 1 Z%"}, {6100, "NA Z% 10 Z%"}});
  Run("XR 20 1 100 5000 0");
  Run("XN 20 6000");
  EXPECT_EQ(Record(20).redundancyLine, 6000);
  EXPECT_TRUE(DebuggerSaid("VLXXT_RedundancyNotify = 20 6000"));
  // Posted: it arrives once the loop runs.
  ASSERT_TRUE(WaitUntil([&] { return !received_.empty(); }));
  EXPECT_EQ(received_[0].message, KAL_REQDEVGOTXRX);
  EXPECT_EQ(received_[0].lParam, 20);
  EXPECT_EQ(Int('Z'), 1);

  ASSERT_TRUE(Do({"--device", "20", "do", "mode", "1"}));
  received_.clear();
  Run("XN 20 6100");
  ASSERT_TRUE(WaitUntil([&] { return !received_.empty(); }));
  EXPECT_EQ(received_[0].message, KAL_DEVICEIDINUSE);
  EXPECT_EQ(received_[0].lParam, 20);
  EXPECT_EQ(Int('Z'), 11);

  // No driver answers for device 21.
  Run("XN 21 6000");
  EXPECT_TRUE(
      DebuggerSaid("ERROR: line: 100, cmd: 'XN' KAL_IDGETTXRXMODE return parameter "
                   "not supported value"));
  EXPECT_EQ(Record(21).redundancyLine, 6000);
}

TEST_F(MessagingCommandsTest, ClientCommandsRunTheParserLineOrGoToTheDriver) {
  StartDriver({"--device", "20"});
  Script({{700, "NA Z% 1 Z%"}});
  Run("XI 20 700");  // not connected yet: no parser line
  EXPECT_EQ(Record(20).parserLine, 0);
  Run("XR 20 1 100 5000 0");
  Run("XI 20 700");
  EXPECT_EQ(Record(20).parserLine, 700);

  VLDxSup_OnParserCommand("RC 20 5 7 'CAM 2' 3");
  EXPECT_EQ(Int('Z'), 1);
  EXPECT_TRUE(DebuggerSaid("Parser Client String: "));
  Run("XD D% I% V% T$ N%");
  EXPECT_EQ(Int('D'), 20);
  EXPECT_EQ(Int('I'), 7);
  EXPECT_EQ(Int('V'), 5);
  EXPECT_EQ(Str('T'), "CAM 2");
  EXPECT_EQ(Int('N'), 3);
  Run("XD D% I% V% T$ N%");  // cleared by the first
  EXPECT_EQ(Int('D'), 0);
  EXPECT_EQ(Str('T'), "");

  const struct {
    const char* text;
    int index, second, number;
    const char* said;
  } served[] = {{"GS 20 8 1 4", 8, 1, 4, ""}, {"IW 20 '42' 9 1", 9, 42, 1, "42"}};
  for (const auto& c : served) {
    SCOPED_TRACE(c.text);
    Int('Z') = 0;
    VLDxSup_OnParserCommand(c.text);
    EXPECT_EQ(Int('Z'), 1);
    Run("XD D% I% V% T$ N%");
    EXPECT_EQ(Int('D'), 20);
    EXPECT_EQ(Int('I'), c.index);
    EXPECT_EQ(Int('V'), c.second);
    EXPECT_EQ(Str('T'), c.said);
    EXPECT_EQ(Int('N'), c.number);
  }

  // Outside the served range, or another R, G or I text: to the driver as it came.
  Int('Z') = 0;
  for (const char* text : {"RC 20 5 500 'X' 0", "RX 20 1"}) {
    VLDxSup_OnParserCommand(text);
    EXPECT_EQ(LastReceived(), TextLine(KAL_DRIVER_CMD, 0, text));
  }
  EXPECT_EQ(Int('Z'), 0);
  const size_t before = DriverReceived().size();
  VLDxSup_OnParserCommand("ZZ 20 1");
  EXPECT_EQ(DriverReceived().size(), before);

  // A literal where a variable belongs ends XD before it writes or clears anything.
  VLDxSup_OnParserCommand("RC 20 5 7 'again' 3");
  Int('I') = -1;
  Run("XD 1 I% V% T$ N%");
  EXPECT_EQ(Int('I'), -1);
  EXPECT_EQ(g_clientCommand.device, 20);
}

TEST_F(MessagingCommandsTest, XtMeasuresTheMillisecondsSinceItsStart) {
  Run("XT 1");
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(WaitUntil([&] { return clock.elapsed() >= 30; }));
  Run("XT 0 T%");
  EXPECT_GE(Int('T'), 30);
  EXPECT_LT(Int('T'), 10000);
}

TEST_F(MessagingCommandsTest, LeavingDisconnectsEveryConnectedDriver) {
  platform::testing::Peer& twenty = StartDriver({"--device", "20"});
  const std::string twentyLog = logPath_;
  platform::testing::Peer& twentyOne = StartDriver({"--device", "21"});
  Run("XR 20 1 10 5000 0:XR 21 1 10 5000 0");
  ASSERT_NE(Record(21).window, 0u);
  RunShutDownStep(ShutDownStep::kLeftNxi);
  EXPECT_EQ(Record(20).window, 0u);
  EXPECT_EQ(Record(21).window, 0u);
  EXPECT_EQ(LastReceived(), "49165 " + std::to_string(twentyOne.hwnd) + " 21 plain 0 0 -");
  logPath_ = twentyLog;
  EXPECT_EQ(LastReceived(), "49165 " + std::to_string(twenty.hwnd) + " 20 plain 0 0 -");
}

}  // namespace
}  // namespace velcrum
