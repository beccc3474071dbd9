// The control's handle (what its notifications carry and QC gives) and its size.
#include "panels/panel_control_window.h"

#include "panels/panel_table.h"

namespace velcrum {

PanelControlWindow FindPanelControlWindow(const CommandCall& call, int panel, int control) {
  const platform::Dialog* dialog = ExistingPanel(call, panel);
  if (!dialog || !ExistingControl(call, dialog, control)) return {};
  const platform::ControlRect geometry = dialog->ControlGeometry(control);
  return {dialog->ControlHandle(control), geometry.width, geometry.height};
}

}  // namespace velcrum
