// The main window's procedure in this process: the messages whose effect a peer cannot see.
#include <gtest/gtest.h>

#include "desktop_fixture.h"
#include "interpreter/interpreter_reset.h"
#include "interpreter/script_store.h"
#include "interpreter/variables.h"
#include "network/kal_messages.h"
#include "network/net_link.h"
#include "shell/configuration.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"

namespace velcrum {
namespace {

class MainWindowTest : public platform::testing::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    ResetInterpreter();
    ResetShellState();
    ResetNetLink();
    ResetConfiguration();
    ASSERT_TRUE(CreateMainWindow());
    VLSTMSup_SetMem(30500, "MS 1 1 1");
    VLSTMSup_SetMem(31500, "MS 2 1 1");
    bStartUpDone = true;
  }
  void TearDown() override {
    DestroyMainWindow();
    ResetShellState();
    ResetInterpreter();
    DesktopTest::TearDown();
  }
  static platform::Result Send(const platform::Message& message) {
    return platform::Send(g_hwndMain, message).value_or(-1);
  }
};

TEST_F(MainWindowTest, TheFirstActivationIsIgnoredAndLaterOnesWakeOrSleepTheScript) {
  Send(platform::Message::Plain(platform::WM_ACTIVATEAPP, 1));
  EXPECT_FALSE(WaitUntil([] { return GetMem("MG", 1) != 0; }, 200));

  Send(platform::Message::Plain(platform::WM_ACTIVATEAPP, 0));
  EXPECT_TRUE(WaitUntil([] { return GetMem("MG", 1) == 2; })) << "SLEEP ran";
  Send(platform::Message::Plain(platform::WM_ACTIVATEAPP, 1));
  EXPECT_TRUE(WaitUntil([] { return GetMem("MG", 1) == 1; })) << "WAKEUP ran";
}

TEST_F(MainWindowTest, AnswersAsTheMessageTableSays) {
  const struct {
    platform::Message message;
    platform::Result answer;
  } cases[] = {
      {platform::Message::Plain(kMsgProbe), static_cast<platform::Result>(kProbeAnswer)},
      {platform::Message::Plain(KAL_CLOSEDOWN, 0xFFFE), 0},  // remote close not allowed yet
      {platform::Message::Plain(KAL_RXMESSAGE, 1, 2), 0},
      {platform::Message::Plain(KAL_ROUTER_REVERTIVE, 1, 2), 0},
      {platform::Message::Text(KAL_REVERTIVE_TEXT, 1, "1,abc"), 1},
      {platform::Message::Plain(KAL_SESSION_RESULT, 1, 2), 1},
      {platform::Message::CopyData(0, 0, "x"), 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Send(c.message), c.answer) << c.message.message;
  }
}

TEST_F(MainWindowTest, Message2085SetsTheParameterAndNxiHandleIsStored) {
  Send(platform::Message::Text(kMsgSetParameter, 0, "42 and more"));
  EXPECT_STREQ(g_szStringVariables[kEventVariable], "42 and more");
  EXPECT_EQ(g_lIntegerVariables[kEventVariable], 42);
  EXPECT_EQ(g_szStartParameter, "42 and more");

  Send(platform::Message::Plain(KAL_NXI_HANDLE, 0x1234));
  EXPECT_EQ(g_hwndNxi, 0x1234u);
  Send(platform::Message::Plain(KAL_DRIVER_HANDLE, 0x0042));
  EXPECT_EQ(g_hwndConnectCandidate, 0x0042u);
}

}  // namespace
}  // namespace velcrum
