// The panel window table that the panel's extension library sees, kept in step with real
// panels in this process, and read by the example calc.dll.
#include <velcrum/velcrum_extension.h>

#include "interpreter/executor_state.h"
#include "panel_dialog_fixture.h"
#include "platform/shared_library.h"

namespace velcrum::testing {
namespace {

TEST_F(PanelDialogTest, ThePanelWindowTableHoldsTheOpenPanelsWindows) {
  ASSERT_EQ(g_pPanelWindowTable, g_hPanelWindows);
  const auto expectOpen = [](std::initializer_list<int> open) {
    for (int panel = 0; panel < VELCRUM_PANEL_WINDOW_COUNT; ++panel) {
      const bool isOpen = std::find(open.begin(), open.end(), panel) != open.end();
      EXPECT_EQ(g_pPanelWindowTable[panel], isOpen ? PanelDialog(panel)->Handle() : 0u) << panel;
    }
  };
  expectOpen({});
  RunText("PS 2:PI 1");
  ASSERT_NE(PanelDialog(1), nullptr);
  ASSERT_NE(PanelDialog(2), nullptr);
  EXPECT_NE(PanelDialog(1)->Handle(), 0u);
  expectOpen({1, 2});

  const SharedLibrary calc = SharedLibrary::Open(CALC_LIBRARY_PATH);
  g_pAppDllCall = calc.Entry<VelcrumCallFunction>(VELCRUM_CALL_SYMBOL);
  ASSERT_NE(g_pAppDllCall, nullptr);
  RunLine(20001, 0);
  EXPECT_EQ(Var('P'), 2);

  RunText("PD 2");
  expectOpen({1});
  RunLine(20001, 0);
  EXPECT_EQ(Var('P'), 1);
  g_pAppDllCall = nullptr;

  ResetModules();
  expectOpen({});
}

}  // namespace
}  // namespace velcrum::testing
