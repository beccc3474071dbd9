// VLXBmp_OwnerDraw: an owner-drawn push button shows the bitmap resource its caption
// names, the same whether it is up or pressed.
#pragma once

#include "platform/desktop/message.h"
#include "platform/dialog.h"

namespace velcrum {

// Paints the button of a WM_DRAWITEM (wParam its identifier, lParam the packed draw-item
// fields) on `dialog`.
void VLXBmp_OwnerDraw(platform::Dialog& dialog, const platform::Message& message);

}  // namespace velcrum
