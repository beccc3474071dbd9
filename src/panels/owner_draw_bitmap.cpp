// The drawing of owner-drawn bitmap buttons.
#include "panels/owner_draw_bitmap.h"

#include <string>

#include "interpreter/diagnostics.h"
#include "runtime/bound_resources.h"

namespace velcrum {

void VLXBmp_OwnerDraw(platform::Dialog& dialog, const platform::Message& message) {
  const int id = static_cast<int>(message.wParam & 0xFFFF);
  const platform::DrawItem item = platform::UnpackDrawItem(message.lParam);
  const std::string name = dialog.ControlText(id, 80);
  if (item.ctlType != platform::ODT_BUTTON) {
    DebugOut("VLXBmp_OwnerDraw: lpInfo->CtlType != ODT_BUTTON.");
    return;
  }
  std::string bitmap;
  if (!BoundResources().LoadBitmap(name, bitmap)) {
    DebugOut("VLXBmp_OwnerDraw: LoadResourceBitmap() failed.");
    return;
  }
  // Focus changes alone draw nothing. The bitmap is copied unscaled from the control's
  // top-left corner, cut at the control's edges.
  if ((item.itemAction & (platform::ODA_DRAWENTIRE | platform::ODA_SELECT)) == 0) return;
  dialog.PaintImage(id, 0, 0, 0, 0, bitmap);
}

}  // namespace velcrum
