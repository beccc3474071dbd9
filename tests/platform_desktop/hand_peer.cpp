// hand_peer: a panel-like process for the desktop tool's hand tests. It opens the desktop
// named by VELCRUM_DESKTOP, makes one dialog (an OK button, a check box, a list box, a
// scroll bar, an edit and a hidden, disabled static), prints "hwnd XXXX" and the dialog's
// size, then one line for each notification its procedure receives:
//
//   MESSAGE LOW HIGH FROM
//
// MESSAGE the message number in four hex digits (0111 WM_COMMAND, 0115 WM_VSCROLL), LOW
// and HIGH the words of wParam in decimal, FROM the identifier of the control whose handle
// lParam holds (0 for lParam 0). Like a program, it moves the scroll bar's thumb where a
// drag takes it. System keys print their message and virtual key. A right click on the dialog
// prints "0204" and opens a pop-up menu whose items "&First" (201) and "&Second" (202) send their
// WM_COMMAND to the dialog. It dies with the process that started it.
#include <signal.h>
#include <sys/prctl.h>

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <memory>

#include "hand_peer_dialog.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/local_dialogs.h"
#include "platform/desktop/popup_menu.h"
#include "platform/desktop/window.h"
#include "platform/dialog.h"

using namespace velcrum::platform;
using namespace velcrum::platform::testing;

int main(int argc, char** argv) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  QApplication application(argc, argv);
  std::string error;
  if (!OpenDesktop(&error)) {
    std::fprintf(stderr, "hand_peer: %s\n", error.c_str());
    return 1;
  }
  std::unique_ptr<Window> owner = Window::Create(Window::Kind::kMessageOnly, "hand_peer owner");
  Dialog* dialog = nullptr;
  PopupMenu menu;
  menu.AppendItem(201, "&First");
  menu.AppendItem(202, "&Second");
  const auto from = [&dialog](int32_t lParam) {
    if (lParam == 0 || !dialog) return 0;
    for (const int id : dialog->ControlIds()) {
      if (dialog->ControlHandle(id) == static_cast<uint32_t>(lParam)) return id;
    }
    return -1;
  };
  DialogCreation created = CreateDialog(
      HandPeerTemplate(), owner ? owner->Handle() : kNoWindow,
      [&](const Message& m) -> Result {
        switch (m.message) {
          case WM_VSCROLL:
            if (dialog &&
                ((m.wParam & 0xFFFF) == SB_THUMBTRACK || (m.wParam & 0xFFFF) == SB_THUMBPOSITION)) {
              dialog->SetScrollPos(kHandPeerScrollBar, static_cast<int>(m.wParam >> 16), true);
            }
            [[fallthrough]];
          case WM_COMMAND:
            std::printf("%04x %u %u %d\n", m.message, m.wParam & 0xFFFF, m.wParam >> 16,
                        from(m.lParam));
            std::fflush(stdout);
            return 0;
          case WM_SYSKEYDOWN:
          case WM_SYSKEYUP:
            std::printf("%04x %u\n", m.message, m.wParam);
            std::fflush(stdout);
            return 0;
          case WM_RBUTTONDOWN:
            std::printf("%04x\n", m.message);
            std::fflush(stdout);
            if (dialog) menu.ShowAtCursor(dialog->Handle());
            return 1;
          default:
            return 0;
        }
      },
      DialogResources{});
  if (!created.dialog) {
    std::fprintf(stderr, "hand_peer: no dialog (%u %s)\n", created.error, created.detail.c_str());
    return 1;
  }
  // As a program does once its dialog exists: fill the list, set the range, show the
  // dialog and put the focus in the edit.
  dialog = created.dialog.get();
  for (const char* item : kHandPeerItems) dialog->AddItem(kHandPeerList, item);
  dialog->SetScrollRange(kHandPeerScrollBar, 0, kHandPeerScrollMax, false);
  dialog->Show(ShowCommand::kShow);
  dialog->FocusControl(kHandPeerEdit);
  const QWidget* widget = LocalDialogWidget(created.dialog->Handle());
  std::printf("hwnd %04x\nsize %d %d\n", created.dialog->Handle(), widget->width(),
              widget->height());
  std::fflush(stdout);
  const int code = RunMessageLoop();
  created.dialog.reset();
  CloseDesktop();
  return code;
}
