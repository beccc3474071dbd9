// The warning box.
#include "runtime/warning_box.h"

#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/version.h"

namespace velcrum {

void ShowWarningBox(std::string_view text) {
  Host& host = TheHost();
  host.Beep();
  host.ShowMessageBox(Format("Velcrum V%s", kVersion), text,
                      {MessageBoxButtons::kOk, MessageBoxIcon::kExclamation, false});
}

}  // namespace velcrum
