// VORN_CC.DLL: the site's custom control classes. Each takes the behaviour of a standard
// control or of one of the platform's broadcast controls (docs/CONTROLS.md); their look is
// the platform's.
#include "controls/control_library.h"

namespace {

constexpr VelcrumControlClass kClasses[] = {
    {"VornButton", "BUTTON", 0, 0},   {"VornStatic", "STATIC", 0, 0},
    {"VornListBox", "LISTBOX", 0, 0}, {"VornLatch", "LATCHBUTTON", 0, 0},
    {"VornTally", "TALLYLAMP", 0, 0}, {nullptr, nullptr, 0, 0},
};

}  // namespace

extern "C" const VelcrumControlClass* VelcrumControlClasses(void) {
  return kClasses;
}
