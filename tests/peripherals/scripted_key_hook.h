/* The test keyboard hook library: a KeyHKVL.DLL that posts a script of key messages instead
 * of catching the keyboard. Besides the six entry points it exports these, for the tests
 * to set the script and the key states and to see what the runtime asked of it. */
#ifndef VELCRUM_TESTS_SCRIPTED_KEY_HOOK_H_
#define VELCRUM_TESTS_SCRIPTED_KEY_HOOK_H_

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct ScriptedKeyHookCalls {
  int setMyHook;
  int clearMyHook;
  int passOn; /* the last KeyHkSetPassOn value, -1 before the first */
  int layoutQuestions;
  uint32_t window; /* the window of the last KeyHkSetMyHook */
};

/* The key messages (wParam, lParam pairs) that the next KeyHkSetMyHook posts, from a
 * thread of its own, and whether that call succeeds. */
typedef void (*ScriptedKeyHookScriptFunction)(const uint32_t* pairs, int count, int succeed);
/* What KeyHkGetState answers for a virtual key. */
typedef void (*ScriptedKeyHookStateFunction)(uint32_t virtualKey, int state);
/* The calls so far; reset with the script. */
typedef struct ScriptedKeyHookCalls (*ScriptedKeyHookCallsFunction)(void);
/* Waits until the posting thread has posted everything. */
typedef void (*ScriptedKeyHookWaitFunction)(void);

#ifdef __cplusplus
}
#endif

#endif
