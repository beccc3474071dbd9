// The dialog builder's and the screen's registrations and the control classes beyond the
// standard ones.
#include "platform/dialog.h"

#include <map>

#include "platform/ascii_case.h"

namespace velcrum::platform {
namespace {

DialogBuilder g_dialogBuilder = nullptr;
ScreenSource g_screenSource = nullptr;

// The behaviours a control class can take: the standard classes of Windows and its
// common controls, and the platform's broadcast controls.
constexpr std::string_view kBehaviours[] = {
    "BUTTON",
    "STATIC",
    "EDIT",
    "LISTBOX",
    "COMBOBOX",
    "SCROLLBAR",
    "msctls_trackbar32",
    "msctls_updown32",
    "msctls_progress32",
    "SysTabControl32",
    "SysListView32",
    "SysTreeView32",
    "LATCHBUTTON",
    "TALLYLAMP",
};

struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return UpperAsciiText(a) < UpperAsciiText(b);
  }
};

struct RegisteredClass {
  std::string behaviour;
  uint32_t style = 0;
  uint32_t styleMask = 0;
};

std::map<std::string, RegisteredClass, CaseInsensitiveLess>& RegisteredClasses() {
  static std::map<std::string, RegisteredClass, CaseInsensitiveLess> classes;
  return classes;
}

std::string_view StandardBehaviour(std::string_view name) {
  for (std::string_view behaviour : kBehaviours) {
    if (EqualNoCase(behaviour, name)) return behaviour;
  }
  return {};
}

}  // namespace

DialogCreation CreateDialog(const DialogTemplate& dialogTemplate, Hwnd owner, DialogProc proc,
                            const DialogResources& resources) {
  if (g_dialogBuilder == nullptr) return {nullptr, kErrorNoDesktop, "no desktop"};
  return g_dialogBuilder(dialogTemplate, owner, std::move(proc), resources);
}

void InstallDialogBuilder(DialogBuilder builder) {
  g_dialogBuilder = builder;
}

Rect DesktopWindowRect() {
  return g_screenSource ? g_screenSource() : Rect{};
}

void InstallScreenSource(ScreenSource source) {
  g_screenSource = source;
}

bool RegisterControlClass(std::string_view name, std::string_view behaviour, uint32_t style,
                          uint32_t styleMask) {
  const std::string_view known = StandardBehaviour(behaviour);
  if (known.empty() || name.empty()) return false;
  RegisteredClasses()[std::string(name)] =
      RegisteredClass{std::string(known), style & styleMask, styleMask};
  return true;
}

std::string ControlClassBehaviour(std::string_view name) {
  if (const std::string_view known = StandardBehaviour(name); !known.empty()) {
    return std::string(known);
  }
  const auto& classes = RegisteredClasses();
  const auto found = classes.find(std::string(name));
  return found == classes.end() ? std::string() : found->second.behaviour;
}

uint32_t ControlClassStyle(std::string_view name, uint32_t templateStyle) {
  if (!StandardBehaviour(name).empty()) return templateStyle;
  const auto& classes = RegisteredClasses();
  const auto found = classes.find(std::string(name));
  if (found == classes.end()) return templateStyle;
  return (templateStyle & ~found->second.styleMask) | found->second.style;
}

void UnregisterControlClasses() {
  RegisteredClasses().clear();
}

}  // namespace velcrum::platform
