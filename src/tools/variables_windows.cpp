// The variables windows: two pop-up windows of class "debug", each a list box filling its
// client area, one line a variable.
//
// The windows act on the main window's menu: a right click shows its pop-up menu, and
// Alt with Shift then "D" toggles them as item 504 does, by posting that item to the main
// window (a window cannot be destroyed inside its own procedure, and the shell keeps the
// item's check mark).
#include "tools/variables_windows.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/variables.h"
#include "platform/dialog.h"
#include "platform/dialog_template.h"
#include "platform/window_styles.h"
#include "runtime/menu_items.h"
#include "runtime/subsystem_settings.h"
#include "runtime/timers.h"
#include "runtime/variables_shortcut.h"

namespace velcrum {
namespace {

using namespace platform;  // the WS_ style bits

constexpr uint32_t kRefreshPeriodMs = 1000;
constexpr int kVariablesPerWindow = 26;
constexpr int kFirstListId = 21000;

struct VariablesWindow {
  std::unique_ptr<Dialog> dialog;
  int listId = 0;
};

std::array<VariablesWindow, 2> g_windows;

DialogTemplate VariablesWindowTemplate(const char* caption, int listId) {
  DialogTemplate window;
  window.className = "debug";
  window.caption = caption;
  window.style = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
  window.cx = 100;
  window.cy = 100;
  ControlTemplate list;
  list.className = "LISTBOX";
  list.id = listId;
  list.style = WS_CHILD | WS_VISIBLE | WS_VSCROLL;
  window.controls = {list};
  return window;
}

Result VariablesWindowProc(const VariablesWindow& window, const Message& message) {
  switch (message.message) {
    case WM_SIZE:
      // lParam: the client width in the low word, the height in the high word.
      window.dialog->ResizeControl(window.listId, LowWord(static_cast<uint32_t>(message.lParam)),
                                   HighWord(static_cast<uint32_t>(message.lParam)));
      return 1;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      if (CompletesVariablesShortcut(message)) {
        TheHost().PostToMainWindow(WM_COMMAND, kMenuShowVariables);
      }
      return 0;
    case WM_RBUTTONDOWN:
      TheHost().ShowPopupMenu();
      return 1;
    case WM_PARENTNOTIFY:
      if (LowWord(message.wParam) == WM_RBUTTONDOWN) TheHost().ShowPopupMenu();
      return 1;
    default:
      return 0;
  }
}

bool OpenVariablesWindows() {
  const WindowPlacement& at = g_toolSettings.variablesWindow;
  constexpr const char* kCaptions[] = {"Debug 1", "Debug 2"};
  for (int n = 0; n < 2; ++n) {
    VariablesWindow& window = g_windows[n];
    window.listId = kFirstListId + n;
    DialogCreation created = CreateDialog(
        VariablesWindowTemplate(kCaptions[n], window.listId), 0,
        [&window](const Message& message) { return VariablesWindowProc(window, message); }, {});
    if (!created.dialog) {
      CloseVariablesWindows();
      return false;
    }
    window.dialog = std::move(created.dialog);
    window.dialog->Show(ShowCommand::kShow);
    window.dialog->Move(at.x + n * at.width, at.y);
    window.dialog->Resize(at.width, at.height);
  }
  RefreshVariablesWindows();
  TheHost().SetMainWindowTimer(kVariablesRefreshTimer, kRefreshPeriodMs);
  return true;
}

std::string VariableLine(int index) {
  const char letter = VariableLetter(index);
  const char* text = g_szStringVariables[index];
  if (text[0] == '\0') {
    return Format("%c%%=%5ld    %c$=NULL", letter, static_cast<long>(g_lIntegerVariables[index]),
                  letter);
  }
  return Format("%c%%=%5ld    %c$=%s", letter, static_cast<long>(g_lIntegerVariables[index]),
                letter, text);
}

}  // namespace

void ToggleVariablesWindows() {
  if (VariablesWindowsExist()) {
    CloseVariablesWindows();
  } else {
    OpenVariablesWindows();
  }
}

void CloseVariablesWindows() {
  if (g_windows[0].dialog || g_windows[1].dialog) {
    TheHost().KillMainWindowTimer(kVariablesRefreshTimer);
  }
  for (VariablesWindow& window : g_windows) window.dialog.reset();
}

bool VariablesWindowsExist() {
  return g_windows[0].dialog != nullptr;
}

void RefreshVariablesWindows() {
  if (!VariablesWindowsExist()) return;
  for (int n = 0; n < 2; ++n) {
    std::vector<std::string> lines;
    for (int index = n * kVariablesPerWindow; index < (n + 1) * kVariablesPerWindow; ++index) {
      lines.push_back(VariableLine(index));
    }
    g_windows[n].dialog->ReplaceItems(g_windows[n].listId, lines);
  }
}

void RaiseVariablesWindows() {
  for (VariablesWindow& window : g_windows) {
    if (window.dialog) window.dialog->BringToTop();
  }
}

}  // namespace velcrum
