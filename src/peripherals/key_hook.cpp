// Loading the keyboard hook library.
#include "peripherals/key_hook.h"

#include <string>

#include "interpreter/host.h"
#include "runtime/configuration_files.h"

namespace velcrum {
namespace {

constexpr std::size_t kMaxPath = 255;

}  // namespace

KeyHook g_keyHook;

bool LoadKeyHookLibrary() {
  UnloadKeyHookLibrary();
  std::string path = SystemDirectory() + "\\KeyHKVL.DLL";
  if (path.size() > kMaxPath) path.resize(kMaxPath);
  SharedLibrary library = SharedLibrary::OpenWindowsPath(path);
  if (!library) return false;
  g_keyHook.setMyHook = library.Entry<KeyHkSetMyHookFunction>("KeyHkSetMyHook");
  g_keyHook.clearMyHook = library.Entry<KeyHkClearMyHookFunction>("KeyHkClearMyHook");
  g_keyHook.setPassOn = library.Entry<KeyHkSetPassOnFunction>("KeyHkSetPassOn");
  g_keyHook.msgHook = library.Entry<KeyHkMsgHookFunction>("KeyHkMsgHook");
  g_keyHook.getKeyboardLayout =
      library.Entry<KeyHkGetKeyboardLayoutFunction>("KeyHkGetKeyboardLayout");
  g_keyHook.getState = library.Entry<KeyHkGetStateFunction>("KeyHkGetState");
  g_keyHook.library = std::move(library);
  return true;
}

void UnloadKeyHookLibrary() {
  g_keyHook = KeyHook{};  // the library object closes as it is replaced
}

int PostKeyFromHook(uint32_t window, uint32_t message, uint32_t wParam, int32_t lParam) {
  return TheHost().PostFromAnyThread(window, message, wParam, lParam) ? 1 : 0;
}

}  // namespace velcrum
