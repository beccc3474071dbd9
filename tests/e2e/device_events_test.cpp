// Device registration and the device events in this process: the registration commands'
// requests as NXI gets them, and every kind of incoming device message running its line
// with S%, S$ and the chosen variables, through the real main window.
#include <gtest/gtest.h>

#include <string>

#include "fake_nxi.h"
#include "interpreter/settings.h"
#include "network/device_tables.h"
#include "network/net_link.h"
#include "panel_dialog_fixture.h"

namespace velcrum::testing {
namespace {

std::string S(char letter) {
  return g_szStringVariables[VariableIndex(letter)];
}

class DeviceEventsTest : public PanelDialogTest {
 protected:
  void SetUp() override {
    PanelDialogTest::SetUp();
    ASSERT_TRUE(nxi_.Open());
    g_hwndNxi = nxi_.Handle();
    // Names as "SRC device.database.index", device 1 to 99.
    nxi_.answer = [](const FakeNxiCall& call) {
      FakeNxiAnswer reply;
      if (call.message == KAL_GET_NAME) {
        reply.text = "SRC " + std::to_string(Int16Field(call.bytes, 0)) + "." +
                     std::to_string(Int16Field(call.bytes, 1)) + "." +
                     std::to_string(Int16Field(call.bytes, 2));
      } else if (call.message == KAL_DATABASE_QUERY) {
        reply.value = 77;
      }
      return reply;
    };
    // Line L counts its runs in memory L - 1000 ... through Z%: each event line adds 1.
    for (int line : {500, 900, 2000, 2005, 600, 700, 6000, 32000, 32400}) {
      Line(line, "NA Z% 1 Z%");
    }
  }
  void TearDown() override {
    g_hwndNxi = 0;
    PanelDialogTest::TearDown();
  }

  bool DebuggerSaid(std::string_view text) const {
    return std::any_of(host_.debugger.begin(), host_.debugger.end(), [&](const std::string& line) {
      return line.find(text) != std::string::npos;
    });
  }
  // Sends a message to the main window as a peer would.
  static void Deliver(const platform::Message& message) { platform::Send(g_hwndMain, message); }
  // The three 16-bit fields of a range request.
  static std::array<int, 3> Fields(const FakeNxiCall& call) {
    return {Int16Field(call.bytes, 0), Int16Field(call.bytes, 1), Int16Field(call.bytes, 2)};
  }

  FakeNxi nxi_;
};

TEST_F(DeviceEventsTest, RouterRevertiveRunsTheOffsetLineWithTheNameFromNxi) {
  RunText("RR 12 1 16 2000 1 A%");
  const auto registrations = nxi_.CallsOf(KAL_REGISTER_REV);
  ASSERT_EQ(registrations.size(), 1u);
  EXPECT_EQ(registrations[0].wParam, g_hwndMain);
  EXPECT_EQ(registrations[0].bytes.size(), kTextFrameBytes);
  EXPECT_EQ(Fields(registrations[0]), (std::array<int, 3>{12, 1, 16}));

  Line(2005, "SC B$ '%s' S$:NA Z% 1 Z%");
  Deliver(platform::Message::Plain(KAL_ROUTER_REVERTIVE, 12, 5 | (7 << 16)));
  EXPECT_EQ(Var('Z'), 1);  // line 2005 ran
  EXPECT_EQ(Var('A'), 5);
  EXPECT_EQ(Var('S'), 7);
  EXPECT_EQ(S('B'), "SRC 12.0.7");
  const auto lookups = nxi_.CallsOf(KAL_GET_NAME);
  ASSERT_EQ(lookups.size(), 1u);
  EXPECT_EQ(lookups[0].wParam, 0u);
  EXPECT_EQ(Fields(lookups[0]), (std::array<int, 3>{12, 0, 7}));
  EXPECT_TRUE(DebuggerSaid("Revertive Message : 12 5 7 SRC 12.0.7"));
  EXPECT_TRUE(DebuggerSaid("Reg info for Dev 12 is Static 2000, Offset 5"));
}

TEST_F(DeviceEventsTest, AFirstIndexOfZeroRegistersNothing) {
  RunText("RR 12 0 16 2000 0");
  EXPECT_TRUE(nxi_.CallsOf(KAL_REGISTER_REV).empty());
  EXPECT_EQ(g_registrations[12].line, 0);
}

TEST_F(DeviceEventsTest, GpiRegistrationWithAddSetsTheDeviceVariableAndNamesTheGpi) {
  RunText("GR 30 1 8 500 0 I% 'add' D%");
  const auto registrations = nxi_.CallsOf(KAL_REGISTER_REV);
  ASSERT_EQ(registrations.size(), 1u);
  EXPECT_EQ(Fields(registrations[0]), (std::array<int, 3>{30 | 0x8000, 1, 8}));

  Deliver(platform::Message::Plain(KAL_GPI_REVERTIVE, 30, 3 | (1 << 16)));
  EXPECT_EQ(Var('Z'), 1);
  EXPECT_EQ(Var('D'), 30);
  EXPECT_EQ(Var('I'), 3);
  EXPECT_EQ(Var('S'), 1);
  EXPECT_STREQ(g_szStringVariables[kEventVariable], "SRC 30.0.3");
  EXPECT_TRUE(DebuggerSaid("GR 30 3 1 '1' 0"));
}

TEST_F(DeviceEventsTest, CancellationsNameTheDeviceTheRangeOrEverything) {
  RunText("RU 12:RU 0:RU 12 9 3:GU 4 2 9");
  const auto devices = nxi_.CallsOf(KAL_UNREGISTER_DEV);
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(ReadNumericFrame(devices[0].bytes), 12);
  EXPECT_EQ(ReadNumericFrame(devices[1].bytes), 0);
  EXPECT_EQ(ReadNumericFrame(devices[2].bytes), 12);  // first above last: the whole device
  EXPECT_EQ(devices[2].wParam, g_hwndMain);
  EXPECT_TRUE(DebuggerSaid("Parameter 3 is out of range. Value found: 3"));
  const auto ranges = nxi_.CallsOf(KAL_UNREGISTER_RANGE);
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_EQ(Fields(ranges[0]), (std::array<int, 3>{4, 2, 9}));
}

TEST_F(DeviceEventsTest, InfodriverRevertivesPassOnlyWithinTheConnectedRange) {
  RunText("IR 20 1 300 900 0");
  g_connectedDrivers[20] = ConnectedDriver{.window = 5, .lowestIndex = 1, .highestIndex = 100};
  Deliver(platform::Message::Text(KAL_INFO_REVERTIVE, 20, "250,ON AIR"));
  Deliver(platform::Message::Text(KAL_INFO_REVERTIVE, 20, "no comma"));
  EXPECT_EQ(Var('Z'), 0);

  g_connectedDrivers[20].highestIndex = 300;
  Deliver(platform::Message::Text(KAL_INFO_REVERTIVE, 20, "250,ON AIR"));
  EXPECT_EQ(Var('Z'), 1);
  EXPECT_STREQ(g_szStringVariables[kEventVariable], "ON AIR");
  EXPECT_EQ(Var('S'), 250);
  EXPECT_TRUE(DebuggerSaid("IR 20 250 250 'ON AIR' 0"));

  // The index filter of a direct connection: only marked indexes run the line.
  SetIndexFilter(20, true);
  MarkIndexes(20, 1, 10, true);
  Deliver(platform::Message::Text(KAL_INFO_REVERTIVE, 20, "250,OFF"));
  Deliver(platform::Message::Text(KAL_INFO_REVERTIVE, 20, "7,OFF"));
  EXPECT_EQ(Var('Z'), 2);
}

TEST_F(DeviceEventsTest, TextRevertivesRunAsTheyCome) {
  RunText("RR 12 1 16 2000 0 A% D%");
  Deliver(platform::Message::CopyData(nxi_.Handle(), PackFrameData(KAL_REVERTIVE_TEXT_2, 0),
                                      TextFrame("RR 12 3 9 'CAM 9' 0")));
  EXPECT_EQ(Var('Z'), 1);
  EXPECT_EQ(Var('A'), 3);
  EXPECT_EQ(Var('D'), 12);
  EXPECT_EQ(Var('S'), 9);
  EXPECT_STREQ(g_szStringVariables[kEventVariable], "CAM 9");
  // The frame was answered with the same bytes.
  EXPECT_TRUE(nxi_.CallsOf(KAL_GET_NAME).empty());
}

TEST_F(DeviceEventsTest, SessionResultsNameTheirCodeUpToTen) {
  SetStringVariable(kEventVariable, "before");
  Deliver(platform::Message::Plain(KAL_SESSION_RESULT, 700, 12));
  EXPECT_EQ(Var('Z'), 1);
  EXPECT_EQ(Var('S'), 12);
  EXPECT_STREQ(g_szStringVariables[kEventVariable], "before");
  Deliver(platform::Message::Plain(KAL_SESSION_RESULT, 700, 3));
  EXPECT_STREQ(g_szStringVariables[kEventVariable], "File not found");
  Deliver(platform::Message::Plain(KAL_SESSION_RESULT, 700, 10));
  EXPECT_STREQ(g_szStringVariables[kEventVariable], "Device not found");
  EXPECT_EQ(Var('Z'), 3);
  EXPECT_TRUE(DebuggerSaid("Session result : 700 3"));
}

TEST_F(DeviceEventsTest, ADeviceStatusAnswerRunsItsLineOnceAndOnlyForThisPanel) {
  g_statusAnswerLines[5] = 600;
  const std::string other = "NS 5 1 'READY' 2 " + std::to_string(g_hwndMain + 1) + " 600";
  const std::string mine = "NS 5 1 'READY' 2 " + std::to_string(g_hwndMain) + " 600";
  const auto frame = [](const std::string& text) {
    return platform::Message::CopyData(0, PackFrameData(KAL_DEVSTATUSMSG, 0), TextFrame(text));
  };
  Deliver(frame(other));
  EXPECT_EQ(Var('Z'), 0);
  Deliver(frame(mine));
  EXPECT_EQ(Var('Z'), 1);
  EXPECT_EQ(Var('S'), 1);
  EXPECT_STREQ(g_szStringVariables[kEventVariable], "READY");
  Deliver(frame(mine));
  EXPECT_EQ(Var('Z'), 1);  // one-shot
}

TEST_F(DeviceEventsTest, NetworkStatusAndRedundancyLeaveTheValuesForDm) {
  g_instanceSettings.workstation = 9;
  Deliver(platform::Message::Plain(KAL_NETTXRXSTATUS, 5, (2 << 16) | 6));
  EXPECT_EQ(Var('Z'), 1);  // NETWORKMESSAGE
  EXPECT_EQ(g_networkStatus.device, 5);
  EXPECT_EQ(g_networkStatus.workstation, 2);
  EXPECT_EQ(g_networkStatus.state, 2);
  EXPECT_EQ(g_networkStatus.flags, 4);

  g_connectedDrivers[20].redundancyLine = 6000;
  Deliver(platform::Message::Plain(KAL_REQDEVGOTXRX, 0, 20));
  EXPECT_EQ(Var('Z'), 2);
  EXPECT_EQ(g_networkStatus.device, 20);
  EXPECT_EQ(g_networkStatus.workstation, 9);
  EXPECT_EQ(g_networkStatus.state, 2);
  Deliver(platform::Message::Plain(KAL_DEVICEIDINUSE, 0, 20));
  EXPECT_EQ(g_networkStatus.state, 1);
  EXPECT_EQ(Var('Z'), 3);
  Deliver(platform::Message::Plain(KAL_DEVICEIDINUSE, 0, 1000));
  EXPECT_EQ(Var('Z'), 3);
  EXPECT_TRUE(DebuggerSaid("KAL_DEVICEIDINUSE DeviceID out of range: 1000"));
}

TEST_F(DeviceEventsTest, ADatabaseNotificationQueriesNxiAndRunsTheDatabaseSection) {
  Deliver(platform::Message::Plain(KAL_DATABASE_MSG, 3, (4 << 16) | 5));
  EXPECT_EQ(Var('Z'), 1);
  EXPECT_EQ(g_databaseNotification.wParam, 3);
  EXPECT_EQ(g_databaseNotification.high, 4);
  EXPECT_EQ(g_databaseNotification.low, 5);
  EXPECT_EQ(g_databaseNotification.queryAnswer, 77);
  const auto queries = nxi_.CallsOf(KAL_DATABASE_QUERY);
  ASSERT_EQ(queries.size(), 1u);
  EXPECT_EQ(queries[0].wParam, 3u);
}

TEST_F(DeviceEventsTest, ClientCommandsForAServedDeviceRunItsParserLine) {
  g_connectedDrivers[40] =
      ConnectedDriver{.window = 5, .lowestIndex = 1, .highestIndex = 16, .parserLine = 700};
  Deliver(platform::Message::CopyData(nxi_.Handle(), PackFrameData(KAL_PARSER_COMMAND, 0),
                                      TextFrame("RC 40 3 9 ',---' 1")));
  EXPECT_EQ(Var('Z'), 1);
  EXPECT_EQ(g_clientCommand.device, 40);
  EXPECT_EQ(g_clientCommand.index, 9);
  EXPECT_EQ(g_clientCommand.secondValue, 3);
}

// A revertive that NXI sends while a line waits in a framed call to it (here: the name
// registration of another device): without synchronous mode it runs its line inside the call, and
// the waiting line goes on where it was; in synchronous mode it waits in the queue until the line
// is done.
TEST_F(DeviceEventsTest, ARevertiveDuringAFramedCallRunsAtOnceOrAfterTheLine) {
  RunText("RR 12 1 16 2000 0");
  Line(2000, "NM Z% 10 Z%:NA Z% 1 Z%");
  const auto answer = nxi_.answer;
  nxi_.answer = [answer](const FakeNxiCall& call) {
    if (call.message == KAL_REGISTER_REV && Int16Field(call.bytes, 0) == 5) {
      Deliver(platform::Message::Plain(KAL_ROUTER_REVERTIVE, 12, 1 | (2 << 16)));
    }
    return answer(call);
  };
  // Z% = 10 * Z% + 1 for the revertive, + 2 for the line after the call.
  Line(300, "RR 5 1 1 0 0:NM Z% 10 Z%:NA Z% 2 Z%");
  RunLine(300, 0);
  EXPECT_EQ(Var('Z'), 12);

  Var('Z') = 0;
  g_networkSettings.synchronousMode = 1;
  g_pRevFifo = std::make_unique<Cvorn_fifo>();
  ASSERT_EQ(g_pRevFifo->Init("PANEL", "RevFifo", 1024, 1024), 1);
  RunLine(300, 0);
  EXPECT_EQ(Var('Z'), 2);
  EXPECT_TRUE(WaitUntil([] { return Var('Z') == 21; }, 2000));
}

TEST_F(DeviceEventsTest, AnIdlePanelDrainsEachQueuedRevertiveAtOnce) {
  // In synchronous mode a revertive is queued by the window procedure; with no line running
  // it is drained before the sender's call returns, so a fast sender cannot fill the queue.
  g_networkSettings.synchronousMode = 1;
  g_pRevFifo = std::make_unique<Cvorn_fifo>();
  ASSERT_EQ(g_pRevFifo->Init("PANEL", "RevFifo", 1024, 1024), 1);
  RunText("RR 12 1 16 2000 0");
  for (int i = 1; i <= 2000; ++i) {
    Deliver(platform::Message::Plain(KAL_ROUTER_REVERTIVE, 12, 5 | (7 << 16)));
    ASSERT_EQ(Var('Z'), i);
  }
  EXPECT_EQ(g_pRevFifo->GetHighWaterMark(), 1);
}

}  // namespace
}  // namespace velcrum::testing
