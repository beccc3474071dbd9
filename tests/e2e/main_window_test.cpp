// The main window's procedure in this process: the messages whose effect a peer cannot see.
#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "desktop_fixture.h"
#include "interpreter/script_store.h"
#include "interpreter/variables.h"
#include "network/kal_messages.h"
#include "network/net_link.h"
#include "runtime/bound_resources.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "shell/configuration.h"
#include "shell/runtime_modules.h"
#include "shell/shell_menu.h"

namespace velcrum {
namespace {

class MainWindowTest : public platform::testing::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    InstallModules(RuntimeModules());
    ResetModules();
    ASSERT_TRUE(CreateMainWindow());
    VLSTMSup_SetMem(30500, "MS 1 1 1");
    VLSTMSup_SetMem(31500, "MS 2 1 1");
    bStartUpDone = true;
  }
  void TearDown() override {
    DestroyMainWindow();
    ResetModules();
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

// The menu's debug switches, with VELCRUM.INI on a drive C of the test's own.
class MainWindowMenuTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    setenv("VELCRUM_DRIVE_C", (logs_ + "/drive_c").c_str(), 1);
    std::filesystem::create_directories(logs_ + "/drive_c/windows");
  }
  void TearDown() override {
    DestroyPopupMenu();
    SetBoundResources(nullptr);
    unsetenv("VELCRUM_DRIVE_C");
    MainWindowTest::TearDown();
  }
  std::string Ini() const {
    std::ifstream file(logs_ + "/drive_c/windows/VELCRUM.INI");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
};

TEST_F(MainWindowMenuTest, DebugSwitchesStartCheckedByTheirBitsAndWriteEveryToggle) {
  g_config.debugFlags = kDebugToSystemDebugger;
  BuildPopupMenu();
  EXPECT_TRUE(MenuItemChecked(kMenuOutputToDbwin));
  EXPECT_FALSE(MenuItemChecked(kMenuOutputDebug));

  OnMenuCommand(kMenuOutputDebug);
  EXPECT_TRUE(MenuItemChecked(kMenuOutputDebug));
  EXPECT_EQ(g_config.debugFlags, kDebugToSystemDebugger | kDebugOutputDebug);
  EXPECT_NE(Ini().find("OutputDebug=1"), std::string::npos) << Ini();

  OnMenuCommand(kMenuOutputDebug);
  EXPECT_FALSE(MenuItemChecked(kMenuOutputDebug));
  EXPECT_EQ(g_config.debugFlags, kDebugToSystemDebugger);
  EXPECT_NE(Ini().find("OutputDebug=0"), std::string::npos) << Ini();
}

TEST_F(MainWindowMenuTest, AboutTextComesFromTheBoundStrings) {
  InMemoryResources resources({{32700, "Desk 4"}, {32701, std::string(100, 'v')}});
  SetBoundResources(&resources);
  const std::string text = AboutText();
  EXPECT_EQ(text.substr(0, text.find("Velcrum V")),
            "Panel   : Desk 4\n"
            "Version : " +
                std::string(79, 'v') +
                "\n"
                "Date    : (unknown)\n"
                "Author  : (unknown)\n\n");
  EXPECT_NE(text.find("Velcrum V3.08.41 (MSVS VC6) \nCompiled : "), std::string::npos);
}

}  // namespace
}  // namespace velcrum
