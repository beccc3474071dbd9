// The debug window: a text view of the line store, newest line on the bottom row, in the
// fixed-pitch font black on light grey; the scroll ranges and positions of
// debug_scrolling.h; a left click pauses and resumes, a right click pushes the text out of
// view with 199 blank lines.
//
// The store lives as long as the process, so that a window opened again shows what came
// before it (closing adds the 199 blank lines first); the paused flag starts clear with
// every window.
//
// For the Linux desktop, where the window manager owns the title bar and its menu, the
// window also takes keys: the arrows, Page Up and Down, Home and End scroll; Shift with a
// left press selects a line and dragging stretches the selection, Ctrl+A selects every
// line, Escape clears the selection, Ctrl+C copies the selected lines, and Ctrl+S saves
// every line (newest last) to a file the file dialog asks for. A
// close request from the title bar switches the window off as the menu's item does.
#include "tools/debug_window.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "platform/atomic_file.h"
#include "platform/desktop/clipboard.h"
#include "platform/desktop/file_dialog.h"
#include "platform/desktop/text_view.h"
#include "platform/dialog.h"
#include "runtime/menu_items.h"
#include "runtime/subsystem_settings.h"
#include "tools/debug_line_store.h"
#include "tools/debug_scrolling.h"
#include "tools/debug_selection.h"

namespace velcrum {
namespace {

using platform::HighWord;
using platform::LowWord;
using platform::Message;
using platform::Result;

constexpr char kTitle[] = "Velcrum Debug";
constexpr char kTitlePaused[] = "Debug paused!";
constexpr char kTitleRunning[] = "Debug running...";
constexpr int kBlankLinesOfRightClick = 199;

// The font "System", height 6, width 6, weight 400, fixed pitch: the Windows font mapper
// cannot shrink that raster face and gives its one size, a cell of about 8 by 16 pixels,
// which a fixed-pitch face at 13 pixels matches.
constexpr int kFontPixelSize = 13;
constexpr platform::Colour kTextColour{0, 0, 0};
constexpr platform::Colour kBackgroundColour{192, 192, 192};

// Keys: the virtual keys that scroll, and the control characters of Ctrl with a letter.
constexpr uint32_t kVkPageUp = 0x21;
constexpr uint32_t kVkPageDown = 0x22;
constexpr uint32_t kVkEnd = 0x23;
constexpr uint32_t kVkHome = 0x24;
constexpr uint32_t kVkLeft = 0x25;
constexpr uint32_t kVkUp = 0x26;
constexpr uint32_t kVkRight = 0x27;
constexpr uint32_t kVkDown = 0x28;
constexpr uint32_t kCtrlA = 0x01;
constexpr uint32_t kCtrlC = 0x03;
constexpr uint32_t kCtrlS = 0x13;
constexpr uint32_t kEscape = 0x1B;

DebugLineStore g_debugLines;

struct DebugWindow {
  std::unique_ptr<platform::TextView> view;
  DebugScrolling scrolling;
  DebugSelection selection;
};

std::unique_ptr<DebugWindow> g_debugWindow;

// Hands the scroll positions to the view; the text moved up one row, or is redrawn whole.
void ShowScrolling(DebugWindow& window, bool movedUpOneRow) {
  const ScrollAxis& vertical = window.scrolling.Vertical();
  const ScrollAxis& horizontal = window.scrolling.Horizontal();
  window.view->SetScrollBars({vertical.position, vertical.maximum, vertical.page},
                             {horizontal.position, horizontal.maximum, horizontal.page});
  window.view->SetFirstColumn(horizontal.position);
  if (movedUpOneRow) {
    window.view->TextMovedUp(1);
  } else {
    window.view->TextChanged();
  }
}

void AppendLine(std::string_view text) {
  if (!g_debugLines.Append(text) || !g_debugWindow) return;
  DebugWindow& window = *g_debugWindow;
  ShowScrolling(window,
                window.scrolling.LineAppended(g_debugLines.Count(), g_debugLines.LongestLength()));
}

void AppendBlankLines() {
  for (int n = 0; n < kBlankLinesOfRightClick; ++n) AppendLine(" ");
}

std::optional<platform::TextRow> RowOf(int rowFromBottom) {
  if (!g_debugWindow) return std::nullopt;
  const int index = g_debugWindow->scrolling.BottomLine() + rowFromBottom;
  if (index >= g_debugLines.Count()) return std::nullopt;
  return platform::TextRow{g_debugLines.Line(index),
                           g_debugWindow->selection.Contains(g_debugLines.SerialOf(index))};
}

void TogglePause(DebugWindow& window) {
  g_debugLines.SetPaused(!g_debugLines.Paused());
  window.view->GetWindow().SetTitle(g_debugLines.Paused() ? kTitlePaused : kTitleRunning);
}

// The stored line under a client point, -1 for none.
int LineUnder(const DebugWindow& window, int32_t lParam) {
  const int index = window.scrolling.LineAt(HighWord(static_cast<uint32_t>(lParam)));
  return index < g_debugLines.Count() ? index : -1;
}

// "Save as": the file dialog proposes "<instance name>.debug.txt" in the current
// directory.
void SaveLines(const DebugWindow& window) {
  platform::FileDialogRequest request;
  request.purpose = platform::FileDialogRequest::Purpose::kSave;
  request.title = "Save Debug Window";
  request.filters = {"Text files (*.txt)", "All Files (*.*)"};
  request.defaultSuffix = "txt";
  request.fileName = g_instanceName + ".debug.txt";
  request.owner = window.view->GetWindow().Handle();
  const std::optional<std::string> chosen = platform::ChooseFile(request);
  if (!chosen) return;
  const std::string& path = *chosen;
  const int lines = g_debugLines.Count();
  if (ReplaceFile(path, g_debugLines.Text()) != FileWrite::kWritten) {
    const std::string reason = std::strerror(errno);
    TheHost().ShowMessageBox(
        kTitle,
        Format("The debug window could not be saved to '%s': %s", path.c_str(), reason.c_str()),
        {MessageBoxButtons::kOk, MessageBoxIcon::kExclamation, false});
    return;
  }
  AppendLine(Format("Debug window saved to '%s', %d lines", path.c_str(), lines));
}

bool ScrollByKey(DebugWindow& window, uint32_t key) {
  DebugScrolling& scrolling = window.scrolling;
  switch (key) {
    case kVkUp:
      return scrolling.ScrollVertical(kScrollLineUp, 0);
    case kVkDown:
      return scrolling.ScrollVertical(kScrollLineDown, 0);
    case kVkPageUp:
      return scrolling.ScrollVertical(kScrollPageUp, 0);
    case kVkPageDown:
      return scrolling.ScrollVertical(kScrollPageDown, 0);
    case kVkHome:
      return scrolling.ScrollVertical(kScrollTop, 0);
    case kVkEnd:
      return scrolling.ScrollVertical(kScrollBottom, 0);
    case kVkLeft:
      return scrolling.ScrollHorizontal(kScrollLineUp, 0);
    case kVkRight:
      return scrolling.ScrollHorizontal(kScrollLineDown, 0);
    default:
      return false;
  }
}

void OnCharacter(DebugWindow& window, uint32_t character) {
  switch (character) {
    case kCtrlA:
      window.selection.SelectAll(g_debugLines);
      break;
    case kEscape:
      window.selection.Clear();
      break;
    case kCtrlC:
      if (!window.selection.Empty()) {
        platform::SetClipboardText(window.selection.Text(g_debugLines));
      }
      return;
    case kCtrlS:
      SaveLines(window);
      return;
    default:
      return;
  }
  window.view->TextChanged();
}

Result DebugWindowProc(const Message& message) {
  if (!g_debugWindow) return 0;
  DebugWindow& window = *g_debugWindow;
  const auto lParam = static_cast<uint32_t>(message.lParam);
  switch (message.message) {
    case platform::WM_SIZE:
      window.scrolling.SetClient(LowWord(lParam), HighWord(lParam), window.view->CellWidth(),
                                 window.view->CellHeight());
      ShowScrolling(window, false);
      return 0;
    case platform::WM_VSCROLL:
    case platform::WM_HSCROLL: {
      const bool vertical = message.message == platform::WM_VSCROLL;
      const uint16_t request = LowWord(message.wParam);
      const int thumb = HighWord(message.wParam);
      if (vertical ? window.scrolling.ScrollVertical(request, thumb)
                   : window.scrolling.ScrollHorizontal(request, thumb)) {
        ShowScrolling(window, false);
      }
      return 0;
    }
    case platform::WM_LBUTTONDOWN:
      if (message.wParam & platform::MK_SHIFT) {
        const int index = LineUnder(window, message.lParam);
        if (index >= 0) window.selection.Begin(g_debugLines.SerialOf(index));
        window.view->TextChanged();
      } else {
        TogglePause(window);
      }
      return 0;
    case platform::WM_MOUSEMOVE:
      if (window.selection.Dragging() && (message.wParam & platform::MK_LBUTTON)) {
        const int index = LineUnder(window, message.lParam);
        if (index >= 0) {
          window.selection.StretchTo(g_debugLines.SerialOf(index));
          window.view->TextChanged();
        }
      }
      return 0;
    case platform::WM_LBUTTONUP:
      window.selection.EndDrag();
      return 0;
    case platform::WM_RBUTTONDOWN:
      AppendBlankLines();
      return 0;
    case platform::WM_KEYDOWN:
      if (ScrollByKey(window, message.wParam)) ShowScrolling(window, false);
      return 0;
    case platform::WM_CHAR:
      OnCharacter(window, message.wParam);
      return 0;
    case platform::WM_CLOSE:
      // The window cannot be destroyed inside its own procedure, and the shell keeps the
      // ShowDebugWindow switch, its check mark and its setting: the menu's item does it.
      TheHost().PostToMainWindow(platform::WM_COMMAND, kMenuShowDebugWindow);
      return 0;
    default:
      return 0;
  }
}

}  // namespace

void OpenDebugWindow() {
  if (g_debugWindow) return;
  g_debugLines.SetPaused(false);
  auto window = std::make_unique<DebugWindow>();
  window->view =
      platform::TextView::Create(kTitle, {kTextColour, kBackgroundColour, kFontPixelSize}, RowOf);
  if (!window->view) return;
  DebugWindow& opened = *window;
  g_debugWindow = std::move(window);
  opened.view->GetWindow().SetProc(DebugWindowProc);
  const WindowPlacement& at = g_toolSettings.debugWindow;
  opened.view->SetGeometry(at.x, at.y, at.width, at.height);
  opened.scrolling.SetClient(opened.view->ClientWidth(), opened.view->ClientHeight(),
                             opened.view->CellWidth(), opened.view->CellHeight());
  opened.scrolling.SetContent(g_debugLines.Count(), g_debugLines.LongestLength());
  opened.scrolling.ScrollVertical(kScrollBottom, 0);
  ShowScrolling(opened, false);
  opened.view->Show();
}

void CloseDebugWindow() {
  if (!g_debugWindow) return;
  AppendBlankLines();
  g_debugWindow.reset();
}

bool DebugWindowExists() {
  return g_debugWindow != nullptr;
}

void AppendToDebugWindow(std::string_view text) {
  AppendLine(text);
}

}  // namespace velcrum
