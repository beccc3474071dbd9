// The test keyboard hook library (scripted_key_hook.h).
#include "scripted_key_hook.h"

#include <mutex>
#include <thread>
#include <vector>

#include "platform/key_hook_library.h"

namespace {

std::mutex g_lock;
std::vector<uint32_t> g_script;
bool g_succeed = true;
int g_states[256] = {};
ScriptedKeyHookCalls g_calls = {0, 0, -1, 0, 0};
std::thread g_poster;

void Join() {
  if (g_poster.joinable()) g_poster.join();
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void ScriptedKeyHookScript(const uint32_t* pairs, int count,
                                                                  int succeed) {
  Join();
  const std::lock_guard guard(g_lock);
  g_script.assign(pairs, pairs + 2 * count);
  g_succeed = succeed != 0;
  g_calls = {0, 0, -1, 0, 0};
  for (int& state : g_states) state = 0;
}

__attribute__((visibility("default"))) void ScriptedKeyHookState(uint32_t virtualKey, int state) {
  const std::lock_guard guard(g_lock);
  g_states[virtualKey & 0xFF] = state;
}

__attribute__((visibility("default"))) ScriptedKeyHookCalls ScriptedKeyHookCallsSoFar() {
  const std::lock_guard guard(g_lock);
  return g_calls;
}

__attribute__((visibility("default"))) void ScriptedKeyHookWait() {
  Join();
}

__attribute__((visibility("default"))) int KeyHkSetMyHook(uint32_t window, KeyHkPostFunction post) {
  Join();
  const std::lock_guard guard(g_lock);
  ++g_calls.setMyHook;
  g_calls.window = window;
  if (!g_succeed) return 0;
  g_poster = std::thread([window, post, script = g_script] {
    for (size_t i = 0; i + 1 < script.size(); i += 2) {
      post(window, VELCRUM_KEY_HOOK_MESSAGE, script[i], static_cast<int32_t>(script[i + 1]));
    }
  });
  return 1;
}

__attribute__((visibility("default"))) int KeyHkClearMyHook(uint32_t /*window*/) {
  Join();
  const std::lock_guard guard(g_lock);
  ++g_calls.clearMyHook;
  return 1;
}

__attribute__((visibility("default"))) int KeyHkSetPassOn(int passOn) {
  const std::lock_guard guard(g_lock);
  g_calls.passOn = passOn;
  return 1;
}

__attribute__((visibility("default"))) intptr_t KeyHkMsgHook(int, uintptr_t, intptr_t) {
  return 0;
}

__attribute__((visibility("default"))) uintptr_t KeyHkGetKeyboardLayout(uint32_t) {
  const std::lock_guard guard(g_lock);
  ++g_calls.layoutQuestions;
  return 0x08090809;
}

__attribute__((visibility("default"))) int KeyHkGetState(uint32_t virtualKey, int, int) {
  const std::lock_guard guard(g_lock);
  return g_states[virtualKey & 0xFF];
}

}  // extern "C"
