// The desktop's dialog builder: a dialog is a top-level window of the desktop standing for
// a Qt widget, its controls child widgets of that widget. DesktopSession installs the
// builder when the desktop opens and removes it when it closes. Internal to the platform
// layer; dialog.h is the interface.
#pragma once

#include "platform/dialog.h"

namespace velcrum::platform {

DialogCreation BuildDesktopDialog(const DialogTemplate& dialogTemplate, Hwnd owner, DialogProc proc,
                                  const DialogResources& resources);

}  // namespace velcrum::platform
