// The router, infodriver, GPI, device and database commands: the frames they send, read
// back from a real nxi's log, and the lookups, against a window of this process that
// answers with chosen replies.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "desktop_fixture.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "network/device_tables.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "network/net_link.h"
#include "platform/desktop/window.h"
#include "platform/quoted_text.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "runtime/subsystem_settings.h"
#include "shell/runtime_modules.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

constexpr int kWorkstation = 7;

int32_t& Int(char letter) {
  return g_lIntegerVariables[VariableIndex(letter)];
}
char* Str(char letter) {
  return g_szStringVariables[VariableIndex(letter)];
}

// A frame as it reached its receiver.
struct Frame {
  uint32_t message = 0;
  uint32_t wParam = 0;
  std::string data;
};

// A clean runtime with its main window on a private desktop; NXI is a real nxi process
// that logs what it gets, or the test's own peer window, which answers every frame with
// the reply the test chose and keeps the frames.
class DeviceCommandsTest : public platform::testing::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    InstallModules(RuntimeModules());
    ResetModules();
    SetHost(&host_);
    g_instanceName = "TEST____.000";
    g_settings.enableOutputDbwin = true;
    g_instanceSettings.workstation = kWorkstation;

    main_ = platform::Window::Create(platform::Window::Kind::kTopLevel, "Velcrum");
    peer_ = platform::Window::Create(platform::Window::Kind::kTopLevel, "peer");
    ASSERT_TRUE(main_ && peer_);
    g_hwndMain = main_->Handle();
    main_->SetProc([](const platform::Message& m) -> platform::Result {
      if (m.message == platform::WM_COPYDATA) VLNetSup_OnCopyData(g_hwndMain, m.wParam, m);
      return 1;
    });
    peer_->SetProc([this](const platform::Message& m) -> platform::Result {
      if (m.message != platform::WM_COPYDATA) return 0;
      received_.push_back({FrameMessage(m.dwData), FrameWParam(m.dwData), m.data});
      platform::Send(m.wParam, platform::Message::CopyData(peer_->Handle(),
                                                           PackFrameData(KAL_REPLY, replyValue_),
                                                           TextFrame(replyText_)));
      return 1;
    });
  }
  void TearDown() override {
    main_.reset();
    peer_.reset();
    ResetModules();
    SetHost(nullptr);
    g_settings = InterpreterSettings{};
    unsetenv("VELCRUM_DRIVE_C");
    DesktopTest::TearDown();
  }

  void StartNxi() {
    logPath_ = logs_ + "/nxi.log";
    platform::testing::Peer& nxi = Start({"--log", logPath_}, NXI_PATH);
    g_hwndNxi = AwaitHandle(nxi);
    ASSERT_NE(g_hwndNxi, platform::kNoWindow) << ErrorOutput(nxi);
  }
  void UsePeer(uint32_t value, std::string text) {
    g_hwndNxi = peer_->Handle();
    replyValue_ = value;
    replyText_ = std::move(text);
    received_.clear();
  }

  // What nxi received: its log without the lines of what it sent ("> ").
  std::vector<std::string> Log() const {
    std::ifstream file(logPath_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
      if (!line.starts_with("> ")) lines.push_back(line);
    }
    return lines;
  }
  // nxi's log line of a text frame from the main window.
  static std::string TextLine(uint32_t message, uint32_t wParam, std::string_view text) {
    return std::to_string(message) + ' ' + std::to_string(wParam) + " 0 text " +
           std::to_string(g_hwndMain) + " 513 " + platform::QuotedText(text);
  }
  // The main window handle as the texts carry it, in place of "HHHH".
  static std::string WithHandle(std::string text) {
    const size_t at = text.find("HHHH");
    if (at != std::string::npos) text.replace(at, 4, Format("%04x", g_hwndMain));
    return text;
  }

  // Runs the command as line 100 and answers the lines nxi logged meanwhile.
  std::vector<std::string> RunLogged(std::string_view command) {
    const size_t before = Log().size();
    host_.debugger.clear();
    VLSTMSup_SetMem(100, command);
    RunLine(100, 0);
    std::vector<std::string> lines = Log();
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(before));
    return lines;
  }
  void Run(std::string_view command) {
    host_.debugger.clear();
    VLSTMSup_SetMem(100, command);
    RunLine(100, 0);
  }
  // How many debugger lines contain the text.
  int Said(std::string_view text) const {
    int count = 0;
    for (const std::string& line : host_.debugger) count += line.find(text) != std::string::npos;
    return count;
  }

  testing::RecordingHost host_;
  std::unique_ptr<platform::Window> main_;
  std::unique_ptr<platform::Window> peer_;
  std::string logPath_;
  uint32_t replyValue_ = 0;
  std::string replyText_;
  std::vector<Frame> received_;
};

struct Sent {
  uint32_t message;
  uint32_t wParam;
  const char* text;
};

struct CommandCase {
  const char* command;
  std::vector<Sent> sent;
  const char* said;  // a debugger text the command writes, or nullptr
  int saidTimes;
};

const CommandCase kCommandCases[] = {
    // Router commands: the texts end in the workstation number.
    {"RC 5 10 3", {{KAL_ROUTER_CMD, 5, "RC 5 10 3 ',---' 7"}}, nullptr, 0},
    {"RC 5 10 3 1", {{KAL_ROUTER_CMD, 5 + 32768, "RC 5 10 3 ',---' 7"}}, nullptr, 0},
    {"RC 5 10 3 'ABC' 0", {{KAL_ROUTER_CMD, 5, "RC 5 10 3 ',ABC' 7"}}, nullptr, 0},
    {"RC 5 10 3 'ABC' 1", {{KAL_ROUTER_CMD, 5 + 32768, "RC 5 10 3 ',ABC' 7"}}, nullptr, 0},
    {"RC 5 10 3 T$ 1", {{KAL_ROUTER_CMD, 5 + 32768, "RC 5 10 3 ',VT 2' 7"}}, nullptr, 0},
    {"RC 1000 10 3", {}, "Parameter 1 is out of range. Value found: 1000", 1},
    {"RC 5 5000 3",
     {{KAL_ROUTER_CMD, 5, "RC 5 5000 3 ',---' 7"}},
     "Parameter 2 is out of range. Value found: 5000",
     1},
    {"RF 1200",
     {{KAL_ROUTER_CMD, 1200, "RF 1200 7"}},
     "Parameter 1 is out of range. Value found: 1200",
     1},
    {"RL 5 10 3 2",
     {{KAL_ROUTER_CMD, 5, "RL 5 10 3 2 7"}},
     "cmd: 'RL' Lock parameter is out of range [0 or 1].",
     1},
    {"RL 0 10 3 1", {}, "Parameter 1 is out of range. Value found: 0", 1},
    {"RM 5 0 7 'CAM 7' 3",
     {{KAL_ROUTER_CMD, 5, "RM 5 0 7 'CAM 7' 3 7"}, {KAL_DB_UPDATE, 0, "RM 5 0 7 'CAM 7' 3 7"}},
     nullptr,
     0},
    {"RM 5 11 7 'X' 3",
     {{KAL_ROUTER_CMD, 5, "RM 5 11 7 'X' 3 7"}, {KAL_DB_UPDATE, 0, "RM 5 11 7 'X' 3 7"}},
     "Parameter 2 is out of range. Value found: 11",
     1},
    {"RP 5 1 16", {{KAL_ROUTER_CMD, 5, "RP 5 1 16 7"}}, nullptr, 0},
    {"RQ 5 1 16", {{KAL_ROUTER_CMD, 5, "RQ 5 1 16 7"}}, nullptr, 0},
    // Infodriver commands.
    {"ID 12 'c;/clips/a.txt' 'd;/in/a.txt' 3000",
     {{KAL_INFO_CMD, 12, "ID 012 c:\\clips\\a.txt d:\\in\\a.txt 3000 HHHH"}},
     "ID 012 c:\\clips\\a.txt d:\\in\\a.txt 3000 ",
     1},
    {"IG 3 'a;/x' 'b;/y' 1", {{KAL_INFO_CMD, 3, "IG 003 a:\\x b:\\y 1 HHHH"}}, nullptr, 0},
    {"IF 4 2 A$ B$",
     {{KAL_INFO_CMD, 4, nullptr}},  // the first 512 characters, checked by the test
     "cmd: 'IF' Composite string exceeds max length (512). Truncating.",
     1},
    {"IH 3 'TEXT' 1", {{KAL_INFO_CMD, 3, "IH 3 'TEXT' 1 7"}}, nullptr, 0},
    {"IH 3 'TEXT' 2", {}, "Parameter 3 is out of range. Value found: 2", 1},
    {"IL 0 1 2 1",
     {{KAL_INFO_CMD, 0, "IL 0 1 2 1 7"}},
     "Parameter 1 is out of range. Value found: 0",
     1},
    {"IL -4 1 2 1", {}, "Parameter 1 is out of range. Value found: -4", 2},
    {"IP 6 1 9", {{KAL_INFO_CMD, 6, "IP 6 1 9 7"}}, nullptr, 0},
    {"IP 1200 1 9",
     {},
     "<TEST____.000> IP ----------------> Device Number:1200 is > 999 MAX_DEVICES",
     1},
    {"IQ 6 1 9", {{KAL_INFO_CMD, 6, "IQ 6 1 9 7"}}, nullptr, 0},
    {"IW 40 'HELLO' 5", {{KAL_INFO_CMD, 40, "IW 40 'HELLO' 5 7"}}, nullptr, 0},
    {"IW 40 'HELLO' 5 1", {{KAL_INFO_CMD, 40 + 32768, "IW 40 'HELLO' 5 7"}}, nullptr, 0},
    {"IW 1200 'X' 1",
     {},
     "<TEST____.000> IW ----------------> Device Number:1200 is > 999 MAX_DEVICES",
     1},
    // GPI commands.
    {"GS 7 12 1", {{KAL_GPI_CMD, 7, "GS 7 12 1 7"}}, nullptr, 0},
    {"GS 7 12 1 1", {{KAL_GPI_CMD, 7 + 32768, "GS 7 12 1 7"}}, nullptr, 0},
    {"GS 7 12 2",
     {{KAL_GPI_CMD, 7, "GS 7 12 2 7"}},
     "Parameter 3 is out of range. Value found: 2",
     1},
    {"GF 0", {{KAL_GPI_CMD, 0, "GF 0 7"}}, "Parameter 1 is out of range. Value found: 0", 1},
    {"GF 1000", {}, "Parameter 1 is out of range. Value found: 1000", 2},
    {"GL 7 1 2 1", {{KAL_GPI_CMD, 7, "GL 7 1 2 1 7"}}, nullptr, 0},
    {"GP 7 1 4", {{KAL_GPI_CMD, 7, "GP 7 1 4 7"}}, nullptr, 0},
    {"GQ 7 1 4", {{KAL_GPI_CMD, 7, "GQ 7 1 4 7"}}, nullptr, 0},
    // Device and database requests.
    {"DC 3 7 100", {{KAL_DC_CMD, 7, "DC 7 3 --- 100 HHHH"}}, "DC 7 3 --- 100 ", 1},
    {"DE 1 2 3 4", {{KAL_DB_CMD, 0, "DE 1 2 3 4"}}, nullptr, 0},
    {"DP 5 1 2 1", {{KAL_DB_CMD, 0, "DP 5 1 2 1"}, {KAL_DB_UPDATE, 0, "DP 5 1 2 1"}}, nullptr, 0},
    {"DR 5 6 7", {{KAL_DR_CMD, 5, "DR 5 6 7"}}, nullptr, 0},
    {"DR 5 1000 7", {{KAL_DR_CMD, 5, "DR 5 1000 7"}}, "Parameter 2 is out of range.", 1},
    // SM's free text.
    {"SM 'HELLO NXI'", {{KAL_SEND_TEXT, 0, "HELLO NXI"}}, nullptr, 0},
};

TEST_F(DeviceCommandsTest, CommandsSendTheirTextsToNxi) {
  StartNxi();
  SetStringVariable(VariableIndex('T'), "VT 2");
  SetStringVariable(VariableIndex('A'), std::string(255, 'a'));
  SetStringVariable(VariableIndex('B'), std::string(255, 'b'));
  const std::string longIf =
      ("IF 4 2 '" + std::string(255, 'a') + "' '" + std::string(255, 'b') + "' 7").substr(0, 512);
  for (const CommandCase& c : kCommandCases) {
    SCOPED_TRACE(c.command);
    std::vector<std::string> expected;
    for (const Sent& s : c.sent) {
      expected.push_back(TextLine(s.message, s.wParam, s.text ? WithHandle(s.text) : longIf));
    }
    EXPECT_EQ(RunLogged(c.command), expected);
    if (c.said) {
      EXPECT_EQ(Said(c.said), c.saidTimes) << ::testing::PrintToString(host_.debugger);
    }
  }
}

TEST_F(DeviceCommandsTest, StrictInspectionEndsACommandAtARangeProblem) {
  StartNxi();
  g_settings.parameterInspection = Inspection::kStrict;
  for (const char* command : {"RC 5 5000 3", "RL 5 10 3 2", "RN 1000 0 7 A$", "IH 0 'X' 1",
                              "IL 0 1 2 1", "GS 7 12 2", "GF 0", "DE 2 3 4 5", "DW 1000 'X'"}) {
    SCOPED_TRACE(command);
    EXPECT_EQ(RunLogged(command), std::vector<std::string>{});
    EXPECT_EQ(Said("is out of range"), 1);
  }
  // Checks that only warn let the command go on in every mode.
  EXPECT_EQ(RunLogged("RF 1200"),
            std::vector<std::string>{TextLine(KAL_ROUTER_CMD, 1200, "RF 1200 7")});
  EXPECT_EQ(RunLogged("RM 5 11 7 'X' 3").size(), 2u);
}

TEST_F(DeviceCommandsTest, DeviceRequestWithANumberAndIsChecksItsSourceFile) {
  StartNxi();
  EXPECT_EQ(RunLogged("DD 4 5"),
            std::vector<std::string>{"2195 4 0 num " + std::to_string(g_hwndMain) +
                                     " 16 30303030303030300000000000000000"});

  const std::string drive = dir_ + "/drive_c";
  ASSERT_EQ(mkdir(drive.c_str(), 0700), 0);
  ASSERT_EQ(mkdir((drive + "/Clips").c_str(), 0700), 0);
  std::ofstream(drive + "/Clips/A.TXT") << "clip";
  setenv("VELCRUM_DRIVE_C", drive.c_str(), 1);
  EXPECT_EQ(RunLogged("IS 'c;/clips/a.txt' 9 'd;/x.txt' 250"),
            std::vector<std::string>{
                TextLine(KAL_INFO_CMD, 9, WithHandle("IS 9 c:\\clips\\a.txt d:\\x.txt 250 HHHH"))});
  EXPECT_EQ(Said("File does not exist"), 0);

  // A missing source is reported and, without strict inspection, still sent.
  EXPECT_EQ(RunLogged("IS 'c;/none.txt' 9 'd;/x.txt' 250"),
            std::vector<std::string>{
                TextLine(KAL_INFO_CMD, 9, WithHandle("IS 9 c:\\none.txt d:\\x.txt 250 HHHH"))});
  EXPECT_EQ(Said("File does not exist: 'c:\\none.txt' "), 2);  // the line and the warning
  g_settings.parameterInspection = Inspection::kStrict;
  EXPECT_EQ(RunLogged("IS 'c;/none.txt' 9 'd;/x.txt' 250"), std::vector<std::string>{});
}

TEST_F(DeviceCommandsTest, NameLookupsSendTheirBlocksAndKeepTheReply) {
  // RN: the block of device, database and index; the reply text in the variable.
  UsePeer(1, "CAM 7");
  Run("RN 5 0 7 A$");
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].message, KAL_GET_NAME);
  EXPECT_EQ(received_[0].wParam, 0u);
  EXPECT_EQ(received_[0].data, std::string("\5\0\0\0\7\0", 6) + std::string(507, '\0'));
  EXPECT_STREQ(Str('A'), "CAM 7");
  EXPECT_EQ(Said(">>>"), 1);
  EXPECT_EQ(Said("CAM 7"), 1);
  // Index -1 asks for entry 0xFFFF; a literal target ends the command before it asks.
  UsePeer(1, "ALL");
  Run("RN 5 1 -1 A$");
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].data.substr(0, 6), std::string("\5\0\1\0\xff\xff", 6));
  Run("RN 5 1 7 'X'");
  EXPECT_EQ(received_.size(), 1u);

  // RI in databases 0 and 1: the name as text, database 1 flagged in wParam.
  UsePeer(12, "");
  Run("RI 5 1 'CAM 7' B%");
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].message, KAL_NAME_TO_INDEX);
  EXPECT_EQ(received_[0].wParam, 5u + 32768u);
  EXPECT_EQ(received_[0].data, TextFrame("CAM 7"));
  EXPECT_EQ(Int('B'), 12);
  // Databases 2 to 10: the block with the name from byte 8.
  UsePeer(40, "");
  Run("RI 5 3 'VT' B%");
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].message, KAL_NAME_TO_INDEX_DB);
  EXPECT_EQ(received_[0].wParam, 0u);
  EXPECT_EQ(received_[0].data, std::string("\5\0\3\0\1\0\0\0VT", 10) + std::string(503, '\0'));
  EXPECT_EQ(Int('B'), 40);
  Run("RI 5 3 'VT' 9");  // no variable: nothing asked
  EXPECT_EQ(received_.size(), 1u);
}

TEST_F(DeviceCommandsTest, DatabaseAndDeviceLookupsStoreTheReply) {
  UsePeer(0, "NAME 9");
  Run("DG 5 9 A$");
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].message, KAL_DB_GET);
  EXPECT_EQ(received_[0].data, TextFrame("DG 5 9"));
  EXPECT_STREQ(Str('A'), "NAME 9");

  UsePeer(44, "");
  Int('C') = 3;
  Run("DI 5 1 2 'CAM' C%");
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].message, KAL_DB_INDEX);
  EXPECT_EQ(received_[0].data, TextFrame("DI 5 1 2 CAM 3"));
  EXPECT_EQ(Int('C'), 44);

  // DS: five fields, the first is the device; no such device sets all four to 0.
  UsePeer(1, "5 1 2 3 -4");
  Run("DS 5 A% B% C% D%");
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].message, KAL_DEVICE_INFO);
  EXPECT_EQ(received_[0].wParam, 5u);
  EXPECT_EQ((std::vector<int32_t>{Int('A'), Int('B'), Int('C'), Int('D')}),
            (std::vector<int32_t>{1, 2, 3, -4}));
  EXPECT_EQ(Said("5 1 2 3 -4"), 1);
  UsePeer(1, "5 8 x");  // reading stops at the first field that is not a number
  Run("DS 5 A% B% C% D%");
  EXPECT_EQ((std::vector<int32_t>{Int('A'), Int('B'), Int('C'), Int('D')}),
            (std::vector<int32_t>{8, 0, 0, 0}));
  UsePeer(0, "5 1 2 3 4");
  Run("DS 5 A% B% C% D%");
  EXPECT_EQ((std::vector<int32_t>{Int('A'), Int('B'), Int('C'), Int('D')}),
            (std::vector<int32_t>{0, 0, 0, 0}));
  Run("DS 5 A% B% C% 4");  // a literal target: nothing asked
  EXPECT_EQ(received_.size(), 1u);
}

TEST_F(DeviceCommandsTest, DwSendsItsByteBlock) {
  UsePeer(0, "");
  Run("DW 3 'AB'");
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].message, KAL_DW_CMD);
  EXPECT_EQ(received_[0].wParam, 0u);
  EXPECT_EQ(received_[0].data, std::string("\0\3\0\3AB\0", 7) + std::string(506, '\0'));
  EXPECT_EQ(Said("0000 0003 "), 1);

  // Fields most significant byte first; a text too long for the block keeps 508 characters.
  SetStringVariable(VariableIndex('A'), std::string(255, 'w'));
  Run("DW 300 A$");
  ASSERT_EQ(received_.size(), 2u);
  EXPECT_EQ(received_[1].data.substr(0, 4), std::string("\1\x2c\1\0", 4));
}

TEST_F(DeviceCommandsTest, RdAndDmReadTheSavedValuesAndClearThem) {
  g_databaseNotification = {9, 2, 3, 44};
  Run("RD A% B% C% D%");
  EXPECT_EQ((std::vector<int32_t>{Int('A'), Int('B'), Int('C'), Int('D')}),
            (std::vector<int32_t>{9, 2, 3, 44}));
  Run("RD A% B% C% D%");
  EXPECT_EQ((std::vector<int32_t>{Int('A'), Int('B'), Int('C'), Int('D')}),
            (std::vector<int32_t>{0, 0, 0, 0}));
  g_databaseNotification = {9, 2, 3, 44};
  Int('A') = 1;
  Run("RD A% B% C% 5");  // no variable changes, the values are cleared all the same
  EXPECT_EQ(Int('A'), 1);
  EXPECT_EQ(g_databaseNotification.wParam, 0);
  EXPECT_EQ(g_databaseNotification.queryAnswer, 0);

  g_networkStatus = {5, 2, 2, 4};
  Run("DM A% B% C% D%");
  EXPECT_EQ((std::vector<int32_t>{Int('A'), Int('B'), Int('C'), Int('D')}),
            (std::vector<int32_t>{5, 2, 2, 4}));
  Run("DM A% B% C% D%");
  EXPECT_EQ((std::vector<int32_t>{Int('A'), Int('B'), Int('C'), Int('D')}),
            (std::vector<int32_t>{0, 0, 0, 0}));
}

}  // namespace
}  // namespace velcrum
