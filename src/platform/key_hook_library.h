/* The interface of the keyboard hook library KeyHKVL.DLL, which catches the workstation's
 * keys system-wide for the keyboard capture's modes 2 and 3 and posts each key to a window
 * as message 4025, with the wParam (the virtual key) and lParam (repeat count 1, scan code
 * in bits 16 to 23, extended key bit 24, Alt bit 29, previous state bit 30, release bit 31)
 * of the key message it stands for.
 *
 * The library exports, with C linkage, the six entry points below. On Linux a library
 * cannot post into a window of the runtime by itself, so the runtime hands KeyHkSetMyHook
 * the function that posts: the library calls it from a thread of its own, and it may be
 * called from any thread. Every entry answers non-zero on success. */
#ifndef VELCRUM_PLATFORM_KEY_HOOK_LIBRARY_H_
#define VELCRUM_PLATFORM_KEY_HOOK_LIBRARY_H_

#include <stdint.h>

#if defined(VELCRUM_BUILDING_KEY_HOOK_LIBRARY)
#define VELCRUM_KEY_HOOK_EXPORT __attribute__((visibility("default")))
#else
#define VELCRUM_KEY_HOOK_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define VELCRUM_KEY_HOOK_MESSAGE 4025

/* Posts a message to a window of the runtime; non-zero when it was queued. */
typedef int (*KeyHkPostFunction)(uint32_t window, uint32_t message, uint32_t wParam,
                                 int32_t lParam);

/* Starts catching every key of the workstation and posting it to `window` through `post`;
 * a hook already set is replaced. */
typedef int (*KeyHkSetMyHookFunction)(uint32_t window, KeyHkPostFunction post);
VELCRUM_KEY_HOOK_EXPORT int KeyHkSetMyHook(uint32_t window, KeyHkPostFunction post);

/* Stops catching keys for `window`; no post is made once it has returned. */
typedef int (*KeyHkClearMyHookFunction)(uint32_t window);
VELCRUM_KEY_HOOK_EXPORT int KeyHkClearMyHook(uint32_t window);

/* Whether the keys caught go on to the other programs as well (1) or to the runtime only
 * (0). */
typedef int (*KeyHkSetPassOnFunction)(int passOn);
VELCRUM_KEY_HOOK_EXPORT int KeyHkSetPassOn(int passOn);

/* The hook procedure itself, as the Windows hook chain calls it; the runtime never calls
 * it. */
typedef intptr_t (*KeyHkMsgHookFunction)(int code, uintptr_t wParam, intptr_t lParam);
VELCRUM_KEY_HOOK_EXPORT intptr_t KeyHkMsgHook(int code, uintptr_t wParam, intptr_t lParam);

/* The keyboard layout of a thread (0: the caller's), as a Windows layout handle. */
typedef uintptr_t (*KeyHkGetKeyboardLayoutFunction)(uint32_t thread);
VELCRUM_KEY_HOOK_EXPORT uintptr_t KeyHkGetKeyboardLayout(uint32_t thread);

/* GetKeyState of a virtual key as the hook has seen the keyboard: bit 7 (0x80) while the
 * key is held, bit 0 the toggle of Caps Lock, Num Lock and Scroll Lock. `reserved1` and
 * `reserved2` are 0. */
typedef int (*KeyHkGetStateFunction)(uint32_t virtualKey, int reserved1, int reserved2);
VELCRUM_KEY_HOOK_EXPORT int KeyHkGetState(uint32_t virtualKey, int reserved1, int reserved2);

#ifdef __cplusplus
}
#endif

#endif /* VELCRUM_PLATFORM_KEY_HOOK_LIBRARY_H_ */
