// Which of the two kinds of list control a control is: a combo box or a list box. The
// list commands treat every control that is not a combo box as a list box.
#pragma once

#include "platform/dialog.h"

namespace velcrum {

// Whether control `id` of the dialog is a combo box: its class (standard or a control
// library's) behaves as COMBOBOX. The kind is told by the class, not by a style bit, so
// that a list box with a tab stop stays a list box.
bool IsComboBox(const platform::Dialog& dialog, int id);

}  // namespace velcrum
