// The dialog manager's keyboard (IsDialogMessage): Tab and Shift+Tab through the controls
// with WS_TABSTOP, the arrow keys within a group of buttons (WS_GROUP starts a group; an
// auto radio button the arrows reach is checked and clicked), Enter for the default push
// button (the focused push button, else the one with BS_DEFPUSHBUTTON, else IDOK) and
// Escape for IDCANCEL. Every other key goes to the focused control alone: the dialog
// itself sees keys only while no control has the focus, and the system keys (those
// pressed or released while Alt is held, and Alt itself) that the control does not take.
#pragma once

#include <QObject>
#include <memory>
#include <utility>
#include <vector>

#include "platform/desktop/dialog_control.h"

class QWidget;

namespace velcrum::platform {

// What the keyboard needs of its dialog.
class DialogNavigation {
 public:
  virtual ~DialogNavigation() = default;
  virtual const std::vector<std::unique_ptr<DialogControl>>& Controls() const = 0;
  // The control the widget belongs to (it or one of its parts), or nullptr.
  virtual DialogControl* ControlOfWidget(const QWidget* widget) const = 0;
  // The control that has the dialog's focus, or nullptr.
  virtual DialogControl* FocusedControlObject() const = 0;
  // WM_COMMAND from the dialog manager: this wParam, lParam 0.
  virtual void DialogCommand(uint32_t wParam) = 0;
  // Checks an auto radio button as a click would, and sends its BN_CLICKED.
  virtual void ClickRadio(DialogControl& radio) = 0;
};

// The controls [first, last) of the group that the control at `index` belongs to.
std::pair<size_t, size_t> GroupOf(const std::vector<std::unique_ptr<DialogControl>>& controls,
                                  size_t index);

// An event filter for the dialog's widget and its controls' widgets (and their parts).
std::unique_ptr<QObject> MakeDialogKeyboard(DialogNavigation& dialog, QWidget* dialogWidget);

}  // namespace velcrum::platform
