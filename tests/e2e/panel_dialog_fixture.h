// Panels in this process for the tests of panels and of the commands on their controls:
// the runtime's modules on a private offscreen desktop with a main window, two panel
// templates in the bound resources, and a recording host with the main window's real
// timers. A test stores lines and runs them as a press would.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <string>
#include <utility>

#include "desktop_fixture.h"
#include "interpreter/executor.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "panels/panel_table.h"
#include "platform/desktop/local_dialogs.h"
#include "platform/window_styles.h"
#include "runtime/bound_resources.h"
#include "runtime/cvorn_fifo.h"
#include "runtime/event_routing.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "runtime/subsystem_settings.h"
#include "shell/main_window.h"
#include "shell/runtime_modules.h"
#include "support/recording_host.h"

namespace velcrum::testing {

using platform::ControlTemplate;
using platform::DialogTemplate;

using platform::WS_CAPTION;
using platform::WS_CHILD;
using platform::WS_POPUP;
using platform::WS_TABSTOP;
using platform::WS_VISIBLE;
constexpr uint32_t BS_DEFPUSHBUTTON = 0x1;
constexpr uint32_t BS_OWNERDRAW = 0xB;
constexpr uint32_t BS_AUTOCHECKBOX = 0x3;
constexpr uint32_t SBS_VERT = 0x1;

inline ControlTemplate Control(const char* className, const char* text, int id, uint32_t style = 0,
                               int x = 10) {
  ControlTemplate control;
  control.className = className;
  control.text = text;
  control.id = id;
  control.x = x;
  control.y = 10;
  control.cx = 40;
  control.cy = 14;
  control.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | style;
  return control;
}

// Panel 1: ten buttons 1001 to 1010, button 1011, an edit 3001, a static 3002, a scroll
// bar 1101, an owner-drawn button 1201 showing the bitmap "LAMP" and a check box 1301.
inline DialogTemplate PanelOne() {
  DialogTemplate dialog;
  dialog.style = WS_POPUP | WS_CAPTION;
  dialog.cx = 300;
  dialog.cy = 120;
  dialog.caption = "Panel one";
  for (int id = 1001; id <= 1011; ++id) {
    dialog.controls.push_back(Control("BUTTON", "B", id, 0, 10 + (id - 1001) * 20));
  }
  dialog.controls.push_back(Control("EDIT", "", 3001));
  dialog.controls.push_back(Control("STATIC", "label", 3002));
  dialog.controls.push_back(Control("SCROLLBAR", "", 1101, SBS_VERT));
  dialog.controls.push_back(Control("BUTTON", "LAMP", 1201, BS_OWNERDRAW));
  dialog.controls.push_back(Control("BUTTON", "Check", 1301, BS_AUTOCHECKBOX));
  return dialog;
}

inline DialogTemplate PanelTwo() {
  DialogTemplate dialog;
  dialog.style = WS_POPUP | WS_CAPTION;
  dialog.cx = 100;
  dialog.cy = 50;
  dialog.caption = "Panel two";
  dialog.controls.push_back(Control("BUTTON", "OK", 1, BS_DEFPUSHBUTTON));
  dialog.controls.push_back(Control("BUTTON", "other", 5001, 0, 60));
  return dialog;
}

// A 2 by 2 red bitmap, 24 bits a pixel.
inline std::string RedBitmap() {
  std::string bmp = {'B', 'M'};
  const auto put32 = [&bmp](uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  const auto put16 = [&bmp](uint16_t v) {
    bmp.push_back(static_cast<char>(v & 0xFF));
    bmp.push_back(static_cast<char>(v >> 8));
  };
  put32(54 + 16);
  put32(0);
  put32(54);
  put32(40);
  put32(2);
  put32(2);
  put16(1);
  put16(24);
  put32(0);
  put32(16);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  for (int row = 0; row < 2; ++row) {
    for (int pixel = 0; pixel < 2; ++pixel) bmp += std::string{0, 0, '\xFF'};
    bmp += std::string(2, '\0');
  }
  return bmp;
}

// The recording host, with the main window's real timers.
class PanelHost final : public RecordingHost {
 public:
  bool SetMainWindowTimer(uint32_t id, uint32_t intervalMs) override {
    return MainWindow() && MainWindow()->SetTimer(id, intervalMs);
  }
  bool KillMainWindowTimer(uint32_t id) override {
    return MainWindow() && MainWindow()->KillTimer(id);
  }
  // A box stands for a long line that lets messages through; what an operator does while
  // it is open happens here.
  MessageBoxAnswer ShowMessageBox(std::string_view caption, std::string_view text,
                                  MessageBoxStyle style) override {
    if (duringBox) std::exchange(duringBox, nullptr)();
    return RecordingHost::ShowMessageBox(caption, text, style);
  }
  std::function<void()> duringBox;
};

class PanelDialogTest : public platform::testing::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    InstallModules(RuntimeModules());
    ResetModules();
    SetHost(&host_);
    g_settings.enableOutputDbwin = true;
    resources_.AddDialog("#1", PanelOne());
    resources_.AddDialog("#2", PanelTwo());
    resources_.AddBitmap("LAMP", RedBitmap());
    SetBoundResources(&resources_);
    ASSERT_TRUE(CreateMainWindow());
    bStartUpDone = true;
  }
  void TearDown() override {
    ResetModules();
    DestroyMainWindow();
    SetBoundResources(nullptr);
    SetHost(nullptr);
    DesktopTest::TearDown();
  }

  static void Line(int line, const char* text) { VLSTMSup_SetMem(line, text); }
  static void RunText(const char* text) {
    Line(100, text);
    RunLine(100, 0);
  }
  static int32_t& Var(char letter) { return g_lIntegerVariables[VariableIndex(letter)]; }
  static QWidget* Widget(int panel, int id) {
    return platform::LocalControlWidget(PanelDialog(panel)->Handle(), id);
  }
  static void Click(int panel, int id) {
    QWidget* widget = Widget(panel, id);
    ASSERT_NE(widget, nullptr) << id;
    QTest::mouseClick(widget, Qt::LeftButton);
  }

  PanelHost host_;
  InMemoryResources resources_;
};

}  // namespace velcrum::testing
