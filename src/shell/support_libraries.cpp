// Loading the support libraries at start and keeping them for the run.
#include "shell/support_libraries.h"

#include "controls/control_library.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "platform/dialog.h"
#include "platform/shared_library.h"
#include "runtime/configuration_files.h"
#include "runtime/module_path.h"

namespace velcrum {
namespace {

constexpr const char* kErrorCaption = "! Error !";
constexpr std::size_t kMaxPath = 255;

struct SupportLibraries {
  SharedLibrary vornCc;
  SharedLibrary bwcc32;
  SharedLibrary extension;
  VelcrumCallFunction entry = nullptr;
};

// Never destroyed: the libraries stay loaded until the process ends, and nothing of
// theirs is unloaded while exit handlers still run.
SupportLibraries& Libraries() {
  static auto* libraries = new SupportLibraries;
  return *libraries;
}

void ShowError(const std::string& text) {
  TheHost().ShowMessageBox(kErrorCaption, text, {MessageBoxButtons::kOk, MessageBoxIcon::kNone});
}

// "%s\NAME" in the system directory, at most 255 characters; reported when it cannot
// be loaded.
bool LoadControlLibrary(const char* name, SharedLibrary& library) {
  std::string path = SystemDirectory() + "\\" + name;
  if (path.size() > kMaxPath) path.resize(kMaxPath);
  library = SharedLibrary::OpenWindowsPath(path);
  if (library) return true;
  ShowError(Format("V3:Velcrum: Cannot find %s", path.c_str()));
  return false;
}

ExtensionCheck LoadExtension(SupportLibraries& libraries) {
  const std::string path = ExtensionLibraryPath(g_modulePath);
  if (path.empty()) return ExtensionCheck::kNone;
  // No file, or a file that is not a loadable library: no extension, as on Windows.
  SharedLibrary library = SharedLibrary::OpenWindowsPath(path);
  if (!library) return ExtensionCheck::kNone;
  const auto entry = library.Entry<VelcrumCallFunction>(VELCRUM_CALL_SYMBOL);
  if (entry == nullptr) {
    ShowError(
        Format("An external dll '%s' was found but did not contain a valid VelcrumCall() function. "
               "Please correct the dll or remove it before running this panel again",
               path.c_str()));
    return ExtensionCheck::kInvalid;
  }
  libraries.extension = std::move(library);
  libraries.entry = entry;
  g_pAppDllCall = entry;
  return ExtensionCheck::kValid;
}

void AppendClasses(const SharedLibrary& library, std::vector<ControlClass>& classes) {
  const auto list = library.Entry<VelcrumControlClassesFunction>(VELCRUM_CONTROL_CLASSES_SYMBOL);
  if (list == nullptr) return;
  for (const VelcrumControlClass* c = list(); c != nullptr && c->name != nullptr; ++c) {
    classes.push_back({c->name, c->standardClass ? c->standardClass : "", c->style, c->styleMask});
  }
}

}  // namespace

std::string ExtensionLibraryPath(const std::string& modulePath) {
  if (modulePath.empty()) return {};
  // Only a "." in the file name counts, not one in a directory name.
  const std::size_t nameStart = modulePath.find_last_of("/\\");
  const std::size_t dot = modulePath.rfind('.');
  const bool inName =
      dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
  return (inName ? modulePath.substr(0, dot) : modulePath) + ".dll";
}

SupportLibraryLoad LoadSupportLibraries() {
  ResetSupportLibraries();
  SupportLibraries& libraries = Libraries();
  SupportLibraryLoad load;
  if (!LoadControlLibrary("VORN_CC.DLL", libraries.vornCc)) load.failed = true;
  if (!LoadControlLibrary("BWCC32.DLL", libraries.bwcc32)) load.failed = true;
  load.extension = LoadExtension(libraries);
  // The dialog builder makes the libraries' classes from now on.
  for (const ControlClass& c : SupportControlClasses()) {
    if (!platform::RegisterControlClass(c.name, c.standardClass, c.style, c.styleMask)) {
      TheHost().SystemDebuggerOut("Velcrum: the control class " + c.name +
                                  " takes the unknown class " + c.standardClass +
                                  "; templates naming it cannot be created");
    }
  }
  return load;
}

void RegisterBwcc(uintptr_t instance) {
  const auto registerControls =
      Libraries().bwcc32.Entry<BwccRegisterFunction>(VELCRUM_BWCC_REGISTER_SYMBOL);
  if (registerControls != nullptr) registerControls(instance);
}

void FreeBwcc() {
  Libraries().bwcc32.Close();
}

VelcrumCallFunction ExtensionEntry() {
  return Libraries().entry;
}

std::vector<ControlClass> SupportControlClasses() {
  std::vector<ControlClass> classes;
  AppendClasses(Libraries().vornCc, classes);
  AppendClasses(Libraries().bwcc32, classes);
  return classes;
}

void ResetSupportLibraries() {
  platform::UnregisterControlClasses();
  SupportLibraries& libraries = Libraries();
  if (g_pAppDllCall == libraries.entry) g_pAppDllCall = nullptr;
  libraries.entry = nullptr;
  libraries.extension.Close();
  libraries.bwcc32.Close();
  libraries.vornCc.Close();
}

}  // namespace velcrum
