// BWCC32.DLL: the Borland-style control classes that older panels name (push button,
// check box, radio button, shaded group frame, static text), and BWCCRegister, which
// such panels expect their program to call once at start.
#include <atomic>

#include "controls/control_library.h"

namespace {

constexpr VelcrumControlClass kClasses[] = {
    {"BorBtn", "BUTTON"},   {"BorCheck", "BUTTON"},  {"BorRadio", "BUTTON"},
    {"BorShade", "BUTTON"}, {"BorStatic", "STATIC"}, {nullptr, nullptr},
};

std::atomic<uintptr_t> g_registeredInstance{0};

}  // namespace

extern "C" const VelcrumControlClass* VelcrumControlClasses(void) {
  return kClasses;
}

extern "C" int BWCCRegister(uintptr_t instance) {
  g_registeredInstance = instance;
  return 1;
}

extern "C" uintptr_t BWCCRegisteredInstance(void) {
  return g_registeredInstance;
}
