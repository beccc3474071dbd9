// Telling combo boxes from list boxes.
#include "panels/list_control_kind.h"

namespace velcrum {

bool IsComboBox(const platform::Dialog& dialog, int id) {
  return platform::ControlClassBehaviour(dialog.ControlClass(id)) == "COMBOBOX";
}

}  // namespace velcrum
