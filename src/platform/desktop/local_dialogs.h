// The dialogs of this process as the rest of the platform layer reaches them: the dialog
// behind a handle and the widgets of its controls, for the desktop tool's requests
// (listing controls, pressing them, taking pictures) that arrive over the bus.
// Internal to the platform layer.
#pragma once

#include <vector>

#include "platform/desktop/message.h"
#include "platform/dialog.h"

class QWidget;

namespace velcrum::platform {

class DialogControl;

// The dialog of this process with that handle, or nullptr.
Dialog* FindLocalDialog(Hwnd hwnd);
// The widget of a dialog's control (nullptr when the dialog or the control is missing),
// and the dialog's own widget.
QWidget* LocalControlWidget(Hwnd dialog, int id);
QWidget* LocalDialogWidget(Hwnd dialog);
// The widget of the control whose handle (Dialog::ControlHandle) this is, in any dialog of
// this process; nullptr when there is none.
QWidget* LocalControlWidgetOfHandle(uint32_t controlHandle);
// Every control of a dialog in creation order (several may share an identifier, as
// IDC_STATIC texts do), and the one with the focus (nullptr for none); empty and nullptr
// for a handle that is no dialog of this process.
std::vector<DialogControl*> LocalDialogControls(Hwnd dialog);
DialogControl* LocalFocusedControl(Hwnd dialog);

}  // namespace velcrum::platform
