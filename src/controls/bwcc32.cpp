// BWCC32.DLL: the Borland-style control classes that older panels name (push button,
// check box, radio button, shaded group frame, static text), and BWCCRegister, which
// such panels expect their program to call once at start.
#include <atomic>

#include "controls/control_library.h"

namespace {

// The button type bits of a BUTTON style, and the types the Borland classes always are.
constexpr uint32_t kButtonType = 0x0F;
constexpr uint32_t kAutoCheckBox = 0x03;     // BS_AUTOCHECKBOX
constexpr uint32_t kGroupBox = 0x07;         // BS_GROUPBOX
constexpr uint32_t kAutoRadioButton = 0x09;  // BS_AUTORADIOBUTTON

// BorBtn keeps the push button style its template gives (default or not); BorShade, the
// shaded frame round a group of controls, is drawn as a group box.
constexpr VelcrumControlClass kClasses[] = {
    {"BorBtn", "BUTTON", 0, 0},
    {"BorCheck", "BUTTON", kAutoCheckBox, kButtonType},
    {"BorRadio", "BUTTON", kAutoRadioButton, kButtonType},
    {"BorShade", "BUTTON", kGroupBox, kButtonType},
    {"BorStatic", "STATIC", 0, 0},
    {nullptr, nullptr, 0, 0},
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
