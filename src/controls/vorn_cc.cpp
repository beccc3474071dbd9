// VORN_CC.DLL: the site's custom control classes. Each takes the behaviour of a standard
// control; their look is the platform's.
#include "controls/control_library.h"

namespace {

constexpr VelcrumControlClass kClasses[] = {
    {"VornButton", "BUTTON"},
    {"VornStatic", "STATIC"},
    {"VornListBox", "LISTBOX"},
    {nullptr, nullptr},
};

}  // namespace

extern "C" const VelcrumControlClass* VelcrumControlClasses(void) {
  return kClasses;
}
