// The network link inside the runtime: acceptance of network messages in both delivery
// modes, the queue drain, and the tunnel's receive side between two windows of this process.
#include "network/net_link.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "desktop_fixture.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/host.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "platform/desktop/window.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "runtime/subsystem_settings.h"
#include "shell/runtime_modules.h"
#include "support/line_running_host.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

int32_t& Int(char letter) {
  return g_lIntegerVariables[VariableIndex(letter)];
}

// A clean shell with its two queues, start-up done, and start-up checkpoints on so that the
// link's trace points reach the recorded debugger output.
class NetLinkTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    ResetNetLink();
    g_settings.timeStampStartup = true;
    g_pCmdFifo = std::make_unique<Cvorn_fifo>();
    g_pRevFifo = std::make_unique<Cvorn_fifo>();
    ASSERT_EQ(g_pCmdFifo->Init("PANEL", "CmdFifo", 1024, 128), 1);
    ASSERT_EQ(g_pRevFifo->Init("PANEL", "RevFifo", 1024, 1024), 1);
    bStartUpDone = true;
    // Each section appends its digit to Z%, so Z% shows what ran and in which order.
    Script({{100, "NM Z% 10 Z%:NA Z% 1 Z%"},
            {200, "NM Z% 10 Z%:NA Z% 3 Z%"},
            {32400, "NM Z% 10 Z%:NA Z% 2 Z%"},
            {32000, "NM Z% 10 Z%:NA Z% 4 Z%"}});
  }
  void TearDown() override {
    ResetModules();
    ResetNetLink();
    InterpreterTest::TearDown();
  }

  static FifoEntry TakeRevertive() {
    FifoEntry entry;
    EXPECT_EQ(g_pRevFifo->Get(entry), 1);
    return entry;
  }
};

struct AcceptCase {
  uint32_t message;
  bool text;
  platform::Result answer;
};
constexpr AcceptCase kAcceptCases[] = {
    {KAL_DEVSTATUSMSG, true, 0},      {KAL_NETTXRXSTATUS, false, 0},
    {KAL_DATABASE_MSG, false, 0},     {KAL_REQDEVGOTXRX, false, 0},
    {KAL_DEVICEIDINUSE, false, 0},    {KAL_REVERTIVE_TEXT, true, 1},
    {KAL_REVERTIVE_TEXT_2, true, 1},  {KAL_REVERTIVE_TEXT_3, true, 1},
    {KAL_SESSION_RESULT, false, 1},   {KAL_INFO_REVERTIVE, true, 1},
    {KAL_ROUTER_REVERTIVE, false, 0}, {KAL_GPI_REVERTIVE, false, 0},
    {KAL_PARSER_COMMAND, true, 1},
};

TEST_F(NetLinkTest, SynchronousModeQueuesEveryNetworkMessageWithItsAnswer) {
  g_networkSettings.synchronousMode = 1;
  bStartUpDone = false;  // what is queued now waits for the start-up section
  for (const AcceptCase& c : kAcceptCases) {
    SCOPED_TRACE(c.message);
    EXPECT_TRUE(VLNetSup_IsNetworkMessage(c.message));
    const platform::Message message = c.text ? platform::Message::Text(c.message, 7, "12,on")
                                             : platform::Message::Plain(c.message, 7, -1);
    EXPECT_EQ(VLNetSup_Accept(message), c.answer);
    ASSERT_EQ(g_pRevFifo->GetCount(), 1);
    const FifoEntry entry = TakeRevertive();
    EXPECT_EQ(entry.window, 0u);
    EXPECT_EQ(entry.message, c.message);
    EXPECT_EQ(entry.wParam, 7u);
    EXPECT_EQ(entry.spare, 0);
    if (c.text) {
      EXPECT_EQ(entry.lParam, 0);
      EXPECT_EQ(std::string(entry.payload.begin(), entry.payload.end()),
                std::string("12,on", 6));  // with its terminator
    } else {
      EXPECT_EQ(entry.lParam, -1);
      EXPECT_TRUE(entry.payload.empty());
    }
  }
  EXPECT_EQ(Int('Z'), 0);  // nothing ran
  for (uint32_t other : {KAL_REPLY, KAL_NXI_HANDLE, KAL_RXMESSAGE, 2164u}) {
    EXPECT_FALSE(VLNetSup_IsNetworkMessage(other)) << other;
  }
}

TEST_F(NetLinkTest, QueuedTextsAreTerminatedWhateverArrives) {
  g_networkSettings.synchronousMode = 1;
  bStartUpDone = false;  // what is queued now waits for the start-up section
  // A text message posted without a text carries an empty one; an over-long text keeps
  // 1023 characters and its terminator; an embedded NUL ends the text.
  VLNetSup_Accept(platform::Message::Plain(KAL_REVERTIVE_TEXT, 1, 12345));
  VLNetSup_Accept(platform::Message::Text(KAL_REVERTIVE_TEXT, 2, std::string(2000, 'r')));
  VLNetSup_Accept(platform::Message::Text(KAL_REVERTIVE_TEXT, 3, std::string("ab\0cd", 5)));
  FifoEntry entry = TakeRevertive();
  EXPECT_EQ(entry.payload, std::vector<char>{'\0'});
  EXPECT_EQ(entry.lParam, 0);
  entry = TakeRevertive();
  ASSERT_EQ(entry.payload.size(), 1024u);
  EXPECT_EQ(entry.payload.back(), '\0');
  EXPECT_EQ(entry.payload[1022], 'r');
  entry = TakeRevertive();
  EXPECT_EQ(std::string(entry.payload.begin(), entry.payload.end()), std::string("ab\0", 3));
}

TEST_F(NetLinkTest, DirectModeRunsTheSectionsAtOnceWithTheSameAnswers) {
  for (const AcceptCase& c : kAcceptCases) {
    const platform::Message message = c.text ? platform::Message::Text(c.message, 7, "x")
                                             : platform::Message::Plain(c.message, 7, 1);
    EXPECT_EQ(VLNetSup_Accept(message), c.answer) << c.message;
  }
  EXPECT_EQ(g_pRevFifo->GetCount(), 0);
  EXPECT_EQ(Int('Z'), 24);  // NETWORKMESSAGE, then DATABASE, in table order
  EXPECT_FALSE(g_bInSequence);
  EXPECT_TRUE(DebuggerSaid("Velcrum: 30c4 - running NETWORKMESSAGE"));
  EXPECT_TRUE(DebuggerSaid("Velcrum: 30c3b - running DATABASE"));
}

TEST_F(NetLinkTest, ASectionThatRunsInsideALineLeavesTheLineItsPlace) {
  // Line 500 is a subroutine whose first command shows a box (an unknown command); the
  // message arrives while the box is open, and its section ends at a missing line.
  const struct {
    uint32_t message;
    int32_t expected;  // the section's digit, then line 300's after the return
  } cases[] = {{KAL_NETTXRXSTATUS, 29}, {KAL_DATABASE_MSG, 49}};
  testing::LineRunningHost boxes(host);
  SetHost(&boxes);
  Script({{300, "JS 500:NM Z% 10 Z%:NA Z% 9 Z%"}, {500, "QQ:JR"}});
  for (const auto& c : cases) {
    boxes.whileOpen = [&] { VLNetSup_Dispatch(0, c.message, 0, 0, nullptr); };
    Int('Z') = 0;
    RunLine(300, 0);
    EXPECT_EQ(Int('Z'), c.expected) << c.message;
    EXPECT_EQ(g_iProcStackPtr, -1);
    EXPECT_FALSE(g_bInSequence);
  }
  EXPECT_EQ(boxes.boxesThatRan, 2);
}

TEST_F(NetLinkTest, DrainRunsControlPressesBeforeNetworkMessagesEachInOrder) {
  g_networkSettings.synchronousMode = 1;
  bStartUpDone = false;  // all of it waits for the start-up section
  VLNetSup_Accept(platform::Message::Plain(KAL_NETTXRXSTATUS, 0, 0));
  g_pCmdFifo->Put(0, 0, 100, 0, 0);
  VLNetSup_Accept(platform::Message::Plain(KAL_DATABASE_MSG, 0, 0));
  g_pCmdFifo->Put(0, 0, 0, 0, 0);  // no line: taken, not run
  g_pCmdFifo->Put(0, 0, 200, 0, 0);
  bStartUpDone = true;
  VLNetSup_Pump();
  EXPECT_EQ(Int('Z'), 1324);
  EXPECT_EQ(g_pCmdFifo->GetCount(), 0);
  EXPECT_EQ(g_pRevFifo->GetCount(), 0);
  EXPECT_TRUE(DebuggerSaid("Velcrum: 13e1 - running controlId"));
  EXPECT_FALSE(g_bInSequence);
}

TEST_F(NetLinkTest, DrainWaitsForStartUpAndStopsAtShutDown) {
  g_pCmdFifo->Put(0, 0, 100, 0, 0);
  g_pRevFifo->Put(0, KAL_NETTXRXSTATUS, 0, 0, 0);
  bStartUpDone = false;
  VLNetSup_Pump();
  EXPECT_EQ(Int('Z'), 0);
  bStartUpDone = true;
  g_bClosingDown = true;
  VLNetSup_Pump();
  EXPECT_EQ(Int('Z'), 0);
  EXPECT_EQ(g_pCmdFifo->GetCount() + g_pRevFifo->GetCount(), 2);
  g_bClosingDown = false;
  VLNetSup_Pump();
  EXPECT_EQ(Int('Z'), 12);

  // Without queues (before start-up made them, after shut-down destroyed them) it is
  // harmless.
  ResetProcessState();
  bStartUpDone = true;
  VLNetSup_Pump();
}

// A host that drains the queues whenever the link writes a trace point, as the panels do
// when a running line lets messages through.
class PumpingHost final : public Host {
 public:
  void SystemDebuggerOut(std::string_view text) override {
    lines.emplace_back(text);
    VLNetSup_Pump();
  }
  MessageBoxAnswer ShowMessageBox(std::string_view, std::string_view, MessageBoxStyle) override {
    return MessageBoxAnswer::kOk;
  }
  std::vector<std::string> lines;
};

TEST_F(NetLinkTest, DrainCalledFromInsideARunningLineReturnsAtOnce) {
  PumpingHost pumping;
  SetHost(&pumping);
  g_pCmdFifo->Put(0, 0, 100, 0, 0);
  g_pCmdFifo->Put(0, 0, 200, 0, 0);
  g_pRevFifo->Put(0, KAL_NETTXRXSTATUS, 0, 0, 0);
  VLNetSup_Pump();
  SetHost(&host);
  // A nested drain would have run 200 and 32400 inside the trace point of 100.
  EXPECT_EQ(Int('Z'), 132);
  EXPECT_GE(pumping.lines.size(), 3u);
  // The mark is cleared: the next drain runs again.
  g_pCmdFifo->Put(0, 0, 100, 0, 0);
  VLNetSup_Pump();
  EXPECT_EQ(Int('Z'), 1321);
}

// The tunnel's receive side between two windows of this process: "main" handles frames as
// the main window does, "peer" records the reply frames it gets back.
class TunnelTest : public platform::testing::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    InstallModules(RuntimeModules());
    ResetModules();
    SetHost(&host_);
    g_networkSettings.synchronousMode = 1;
    g_pRevFifo = std::make_unique<Cvorn_fifo>();
    ASSERT_EQ(g_pRevFifo->Init("PANEL", "RevFifo", 1024, 1024), 1);

    main_ = platform::Window::Create(platform::Window::Kind::kTopLevel, "main");
    peer_ = platform::Window::Create(platform::Window::Kind::kTopLevel, "peer");
    ASSERT_TRUE(main_ && peer_);
    const platform::Hwnd self = main_->Handle();
    main_->SetProc([this, self](const platform::Message& m) -> platform::Result {
      if (m.message == platform::WM_COPYDATA) {
        VLNetSup_OnCopyData(self, m.wParam, m);
        return 1;
      }
      if (VLNetSup_IsNetworkMessage(m.message)) return VLNetSup_Accept(m);
      delivered_.push_back(m);
      return 0x12345;
    });
    peer_->SetProc([this](const platform::Message& m) -> platform::Result {
      replies_.push_back(m);
      return 1;
    });
  }
  void TearDown() override {
    main_.reset();
    peer_.reset();
    ResetModules();
    SetHost(nullptr);
    DesktopTest::TearDown();
  }

  void Frame(uint32_t message, uint32_t wParam, const std::string& bytes) {
    platform::Send(main_->Handle(), platform::Message::CopyData(
                                        peer_->Handle(), PackFrameData(message, wParam), bytes));
  }

  testing::RecordingHost host_;
  std::unique_ptr<platform::Window> main_;
  std::unique_ptr<platform::Window> peer_;
  std::vector<platform::Message> delivered_;
  std::vector<platform::Message> replies_;
};

TEST_F(TunnelTest, FramesAreDeliveredAsTheirMessagesAndAnsweredWithTheSameData) {
  const std::string text = TextFrame("12,router 4");
  Frame(KAL_REVERTIVE_TEXT, 3, text);
  Frame(KAL_ROUTER_REVERTIVE, 9, NumericFrame(-1));
  Frame(2036, 1, NumericFrame(77));

  ASSERT_EQ(replies_.size(), 3u);
  // Answer 1 to a text revertive, its 513 bytes back unchanged.
  EXPECT_EQ(replies_[0].message, platform::WM_COPYDATA);
  EXPECT_EQ(replies_[0].wParam, main_->Handle());
  EXPECT_EQ(replies_[0].dwData, PackFrameData(KAL_REPLY, 1));
  EXPECT_EQ(replies_[0].data, text);
  // Answer 0, the value back.
  EXPECT_EQ(replies_[1].dwData, PackFrameData(KAL_REPLY, 0));
  EXPECT_EQ(replies_[1].data, NumericFrame(-1));
  // The result travels as its low 16 bits.
  EXPECT_EQ(replies_[2].dwData, PackFrameData(KAL_REPLY, 0x2345));
  ASSERT_EQ(delivered_.size(), 1u);
  EXPECT_EQ(delivered_[0].message, 2036u);
  EXPECT_EQ(delivered_[0].wParam, 1u);
  EXPECT_EQ(delivered_[0].lParam, 77);

  FifoEntry entry;
  ASSERT_EQ(g_pRevFifo->Get(entry), 1);
  EXPECT_EQ(entry.message, KAL_REVERTIVE_TEXT);
  EXPECT_EQ(entry.wParam, 3u);
  EXPECT_STREQ(entry.payload.data(), "12,router 4");
  ASSERT_EQ(g_pRevFifo->Get(entry), 1);
  EXPECT_EQ(entry.message, KAL_ROUTER_REVERTIVE);
  EXPECT_EQ(entry.lParam, -1);  // "ffffffff" is delivered as -1
}

TEST_F(TunnelTest, ReplyFramesStoreTheReplyAndAreNotAnswered) {
  Frame(KAL_REPLY, 7, TextFrame("CAM 1"));
  EXPECT_EQ(VLNetSup_ReplyValue(), 7);
  EXPECT_STREQ(VLNetSup_ReplyText(), "CAM 1");
  Frame(KAL_REPLY, 0xFFFF, NumericFrame(5));  // a numeric reply leaves the text
  EXPECT_EQ(VLNetSup_ReplyValue(), 0xFFFF);
  EXPECT_STREQ(VLNetSup_ReplyText(), "CAM 1");
  // A malformed reply from a peer: short, or with no terminator at all.
  Frame(KAL_REPLY, 1, "ab");
  EXPECT_STREQ(VLNetSup_ReplyText(), "ab");
  Frame(KAL_REPLY, 1, std::string(600, 'z'));
  EXPECT_EQ(std::string(VLNetSup_ReplyText()), std::string(512, 'z'));
  EXPECT_TRUE(replies_.empty());
  EXPECT_TRUE(delivered_.empty());
}

TEST_F(TunnelTest, MalformedFramesAreReadSafely) {
  Frame(2036, 0, "zz");                     // neither 16 bytes nor a text frame
  Frame(2036, 0, std::string(16, '\x80'));  // numeric, no digits
  Frame(2036, 0, std::string(1000, 'q'));   // over-long text, no terminator
  ASSERT_EQ(delivered_.size(), 3u);
  EXPECT_EQ(delivered_[0].data, "zz");
  EXPECT_EQ(delivered_[1].lParam, 0);
  EXPECT_EQ(delivered_[2].data, std::string(512, 'q'));
  ASSERT_EQ(replies_.size(), 3u);
  EXPECT_EQ(replies_[0].data.size(), kTextFrameBytes);
  EXPECT_EQ(replies_[2].data, std::string(1000, 'q').substr(0, kTextFrameBytes));
}

}  // namespace
}  // namespace velcrum
