// Modules: which commands a program has is what its installed modules register, and every
// module's steps run at each point in the order of the list.
#include "runtime/module.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interpreter/command_table.h"
#include "interpreter/executor.h"
#include "interpreter/script_store.h"
#include "interpreter/variables.h"
#include "runtime/interpreter_module.h"
#include "shell/display_free_modules.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

std::vector<std::string> g_calls;

template <char kName>
struct Recorder {
  static void Reset() { g_calls.push_back(std::string(1, kName) + " reset"); }
  static void StartUp(StartUpStep step) {
    g_calls.push_back(std::string(1, kName) + " start " + std::to_string(static_cast<int>(step)));
  }
  static void ShutDown(ShutDownStep step) {
    g_calls.push_back(std::string(1, kName) + " stop " + std::to_string(static_cast<int>(step)));
  }
  static void Message(const platform::Message& message) {
    g_calls.push_back(std::string(1, kName) + " message " + std::to_string(message.wParam));
  }
  static constexpr Module kModule = {
      .name = "recorder",
      .reset = Reset,
      .startUp = StartUp,
      .shutDown = ShutDown,
      .mainWindowMessage = Message,
  };
};

class ModuleTest : public testing::InterpreterTest {
 protected:
  void TearDown() override {
    InstallModules(DisplayFreeModules());
    InterpreterTest::TearDown();
  }
};

TEST_F(ModuleTest, OnlyTheInstalledModulesCommandsRun) {
  Script({{10, "NA a% 1 a%:SP 'x' 1"}});
  const Module* const interpreterOnly[] = {&kInterpreterModule};
  InstallModules(interpreterOnly);
  RunLine(10, 0);
  EXPECT_EQ(g_lIntegerVariables[VariableIndex('a')], 1);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "Unknown Command in line 10 - stringtable: 'SP'");

  host.boxes.clear();
  InstallModules(DisplayFreeModules());
  RunLine(10, 0);
  EXPECT_EQ(g_lIntegerVariables[VariableIndex('a')], 2);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(ModuleTest, EveryRowOfEveryGroupNamesAMnemonicOfTheCommandSet) {
  for (const Module* module : DisplayFreeModules()) {
    for (const CommandTable table : module->commands) {
      EXPECT_TRUE(RegisterCommands(table)) << module->name;
    }
  }
  const CommandEntry unknown[] = {{"SP", FindHandler('S', 'P')}, {"YA", FindHandler('S', 'P')}};
  EXPECT_FALSE(RegisterCommands(unknown));
  EXPECT_EQ(FindHandler('Y', 'A'), nullptr);
  EXPECT_EQ(Mnemonics().size(), 223u);
}

TEST_F(ModuleTest, StepsRunAtEachPointInTheOrderOfTheList) {
  const Module* const modules[] = {&Recorder<'A'>::kModule, &Recorder<'B'>::kModule};
  InstallModules(modules);
  g_calls.clear();
  ResetModules();
  RunStartUpStep(StartUpStep::kScriptLoaded);
  RunShutDownStep(ShutDownStep::kFinalStep);
  OfferToModules(platform::Message::Plain(platform::WM_TIMER, 20));
  const std::vector<std::string> expected = {
      "A reset",  "B reset",  "A start 2",    "B start 2",
      "A stop 3", "B stop 3", "A message 20", "B message 20",
  };
  EXPECT_EQ(g_calls, expected);
}

}  // namespace
}  // namespace velcrum
