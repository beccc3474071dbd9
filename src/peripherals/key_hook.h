// The keyboard hook library KeyHKVL.DLL as the keyboard capture holds it: loaded from the
// system directory for modes 2 and 3, its six entry points looked up by name, unloaded
// when the capture ends.
#pragma once

#include "platform/key_hook_library.h"
#include "platform/shared_library.h"

namespace velcrum {

struct KeyHook {
  SharedLibrary library;
  KeyHkSetMyHookFunction setMyHook = nullptr;
  KeyHkClearMyHookFunction clearMyHook = nullptr;
  KeyHkSetPassOnFunction setPassOn = nullptr;
  KeyHkMsgHookFunction msgHook = nullptr;  // looked up, never called
  KeyHkGetKeyboardLayoutFunction getKeyboardLayout = nullptr;
  KeyHkGetStateFunction getState = nullptr;
  bool layoutAsked = false;  // KeyHkGetKeyboardLayout is asked once, at the first key
};

extern KeyHook g_keyHook;

// Loads "%s\KeyHKVL.DLL" of the system directory and looks up the entry points; false when
// it cannot be loaded.
bool LoadKeyHookLibrary();
// Unloads it; every entry point is then null.
void UnloadKeyHookLibrary();

// What the library is given to post its keys with: PostMessage from its reader thread.
int PostKeyFromHook(uint32_t window, uint32_t message, uint32_t wParam, int32_t lParam);

}  // namespace velcrum
