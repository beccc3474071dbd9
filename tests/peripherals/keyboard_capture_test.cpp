// The keyboard capture: KR and KU, the main window's key messages in modes 0 and 1, and the
// hook library's key events in modes 2 and 3 through the scripted test library.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "interpreter/variables.h"
#include "peripherals/hook_key_conversion.h"
#include "peripherals/key_capture.h"
#include "platform/desktop/message.h"
#include "platform/keyboard_layout.h"
#include "platform/shared_library.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "runtime/timers.h"
#include "scripted_key_hook.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;
using platform::Message;

constexpr uint32_t kMainWindow = 0x1234;
constexpr uint32_t kHeld = 1u << 30;
constexpr uint32_t kRelease = (1u << 31) | kHeld;
constexpr uint32_t kExtended = 1u << 24;

constexpr uint32_t Scan(uint32_t code) {
  return 1 | (code << 16);
}

class KeyHost : public testing::RecordingHost {
 public:
  int16_t KeyState(uint32_t virtualKey) override { return keyStates[virtualKey & 0xFF]; }
  void FocusMainWindow(bool foreground) override { focus.push_back(foreground); }
  bool PostFromAnyThread(uint32_t hwnd, uint32_t message, uint32_t wParam,
                         int32_t lParam) override {
    const std::lock_guard guard(lock);
    Message posted = Message::Plain(message, wParam, lParam);
    posted.hwnd = hwnd;
    hookPosts.push_back(posted);
    return true;
  }

  int16_t keyStates[256] = {};
  std::vector<bool> focus;
  std::mutex lock;
  std::vector<Message> hookPosts;
};

class KeyCaptureTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    SetHost(&keys);
    char pattern[] = "/tmp/velcrum-keys-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    base_ = pattern;
    fs::create_directories(base_ / "drive_c" / "windows");
    setenv("VELCRUM_ROOT", base_.c_str(), 1);
    g_hwndMain = kMainWindow;
    // Line 1000 notes each press's A% in the next memory, line 1200 each release's as
    // 1000 + A%.
    Script({{1000, "NA n% 1 n%:MS A% n% n%"}, {1200, "NA n% 1 n%:NA A% 1000 B%:MS B% n% n%"}});
  }
  void TearDown() override {
    ResetModules();  // the hook cleared and unloaded before the file goes
    hook_.Close();
    unsetenv("VELCRUM_ROOT");
    fs::remove_all(base_);
    g_hwndMain = 0;
    InterpreterTest::TearDown();
  }

  // The scripted hook library as KeyHKVL.DLL in the system directory, with its script.
  void InstallHook(const std::vector<uint32_t>& pairs, bool succeed = true) {
    const fs::path path = base_ / "drive_c" / "windows" / "KeyHKVL.DLL";
    fs::copy_file(SCRIPTED_KEY_HOOK_PATH, path, fs::copy_options::overwrite_existing);
    hook_ = SharedLibrary::Open(path.string());
    ASSERT_TRUE(hook_);
    hook_.Entry<ScriptedKeyHookScriptFunction>("ScriptedKeyHookScript")(
        pairs.data(), static_cast<int>(pairs.size() / 2), succeed ? 1 : 0);
  }
  ScriptedKeyHookCalls HookCalls() const {
    return hook_.Entry<ScriptedKeyHookCallsFunction>("ScriptedKeyHookCallsSoFar")();
  }
  void SetHookState(uint32_t virtualKey, int state) {
    hook_.Entry<ScriptedKeyHookStateFunction>("ScriptedKeyHookState")(virtualKey, state);
  }
  // What the hook's thread posted, handed to the modules as the main window does.
  void DeliverHookPosts() {
    hook_.Entry<ScriptedKeyHookWaitFunction>("ScriptedKeyHookWait")();
    std::vector<Message> posts;
    {
      const std::lock_guard guard(keys.lock);
      posts.swap(keys.hookPosts);
    }
    for (const Message& message : posts) {
      EXPECT_EQ(message.hwnd, kMainWindow);
      OfferToModules(message);
    }
  }

  static void Key(uint32_t message, uint32_t wParam, uint32_t lParam = 1) {
    OfferToModules(Message::Plain(message, wParam, static_cast<int32_t>(lParam)));
  }
  // The A% of each line run so far (1000 + A% for a release).
  static std::vector<int> Runs() {
    std::vector<int> runs;
    for (int i = 1; i <= g_lIntegerVariables[VariableIndex('n')]; ++i) {
      runs.push_back(GetMem("MG", i));
    }
    return runs;
  }
  // Whether any debug output line of the test's host holds the text.
  bool Said(std::string_view text) const {
    return std::any_of(keys.debugger.begin(), keys.debugger.end(), [&](const std::string& line) {
      return line.find(text) != std::string::npos;
    });
  }
  static std::string A() { return g_szStringVariables[VariableIndex('A')]; }
  static int S() { return g_lIntegerVariables[kEventVariable]; }

  KeyHost keys;
  fs::path base_;
  SharedLibrary hook_;
};

TEST_F(KeyCaptureTest, ModeZeroRunsTheLineForPressesAndCharactersOnly) {
  Run("KR 1000 A$ A% 0");
  EXPECT_EQ(keys.timers[kKeyboardFocusTimer], 2000u);
  EXPECT_TRUE(keys.focus.empty()) << "mode 0 leaves the focus where it is";

  Key(platform::WM_KEYDOWN, 112);  // F1
  EXPECT_EQ(Runs(), std::vector<int>{146});
  EXPECT_EQ(A(), "");
  Key(platform::WM_KEYUP, 112, kRelease);
  EXPECT_EQ(Runs(), std::vector<int>{146}) << "a release runs nothing in mode 0";

  // A character key: its virtual key stands in A$ until the character comes.
  Key(platform::WM_KEYDOWN, 'A');
  EXPECT_EQ(Runs(), std::vector<int>{146});
  EXPECT_EQ(A(), "A");
  Key(platform::WM_CHAR, 'a');
  EXPECT_EQ(Runs(), (std::vector<int>{146, 97}));
  EXPECT_EQ(A(), "a");
  Key(platform::WM_CHAR, 13);  // Return: the code, no character
  EXPECT_EQ(Runs().back(), 13);
  EXPECT_EQ(A(), "");

  // The cursor block and Alt through WM_SYSKEYDOWN.
  for (const uint32_t vk : {37u, 39u, 38u, 40u, 45u, 46u, 36u, 35u, 33u, 34u, 123u}) {
    Key(platform::WM_KEYDOWN, vk, kExtended | 1);
  }
  Key(platform::WM_SYSKEYDOWN, 18, 1u << 29);
  Key(platform::WM_SYSKEYDOWN, 'X', 1u << 29);  // Alt+X is no key of the capture
  EXPECT_EQ(Runs(), (std::vector<int>{146, 97, 13, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138,
                                      157, 18}));
}

TEST_F(KeyCaptureTest, ModeOneRunsReleasesAndGivesTheModifiersInS) {
  Run("KR 1000 A$ A% 1");
  EXPECT_EQ(keys.focus, std::vector<bool>{false}) << "KR gives the main window the focus";

  Key(platform::WM_KEYDOWN, 16);  // Shift
  EXPECT_EQ(S(), 1);
  Key(platform::WM_KEYDOWN, 16, kHeld | 1);  // held: repeated presses are ignored
  Key(platform::WM_KEYDOWN, 'A');
  EXPECT_EQ(A(), "") << "mode 1 does not show the virtual key";
  Key(platform::WM_CHAR, 'A');
  EXPECT_EQ(S(), 1);
  Key(platform::WM_KEYUP, 'A', kRelease);  // a character key's release runs nothing
  Key(platform::WM_KEYUP, 16, kRelease);
  EXPECT_EQ(S(), 0) << "the release of Shift clears its bit";
  Key(platform::WM_KEYDOWN, 16);
  Key(platform::WM_KEYUP, 16, kRelease);
  Key(platform::WM_KEYDOWN, 17);
  Key(platform::WM_KEYDOWN, 112);
  EXPECT_EQ(S(), 2);
  Key(platform::WM_KEYUP, 112, kRelease);
  Key(platform::WM_KEYUP, 17, kRelease);
  // Caps Lock: on at one press, off at the next; S% never shows it.
  Key(platform::WM_KEYDOWN, 20);
  EXPECT_EQ(S(), 0);
  EXPECT_EQ(g_keyCapture.modifiers, 16u);
  Key(platform::WM_KEYUP, 20, kRelease);
  Key(platform::WM_KEYDOWN, 20);
  EXPECT_EQ(g_keyCapture.modifiers, 0u);
  Key(platform::WM_SYSKEYDOWN, 18, 1u << 29);
  Key(platform::WM_SYSKEYUP, 18, kRelease);
  EXPECT_EQ(Runs(), (std::vector<int>{16, 65, 1016, 16, 1016, 17, 146, 1146, 1017, 20, 1020, 20, 18,
                                      1018}));
}

TEST_F(KeyCaptureTest, KrDeliversTheLockKeysHeldAtRegistration) {
  keys.keyStates[20] = static_cast<int16_t>(0x8000);  // Caps Lock held
  keys.keyStates[144] = 1;                            // Num Lock on, not held: not counted
  keys.keyStates[16] = static_cast<int16_t>(0x8000);  // Shift held: counted, not delivered
  Run("KR 1000 A$ A% 0");
  EXPECT_EQ(Runs(), std::vector<int>{20});
  EXPECT_EQ(g_keyCapture.modifiers, 16u);
}

TEST_F(KeyCaptureTest, KrWithoutItsTwoVariablesDoesNothing) {
  for (const char* line : {"KR 1000 A$ 5 0", "KR 1000 'x' A% 0", "KR 1000 A% A$ 0"}) {
    Run(line);
    EXPECT_EQ(g_keyCapture.line, 0) << line;
    EXPECT_TRUE(keys.timers.empty()) << line;
  }
  Key(platform::WM_KEYDOWN, 112);
  EXPECT_TRUE(Runs().empty());
}

TEST_F(KeyCaptureTest, KuEndsTheCaptureAndOtherwiseOnlyClearsModeAndState) {
  g_keyCapture.mode = 1;
  g_keyCapture.modifiers = 5;
  keys.timers[kKeyboardFocusTimer] = 2000;
  Run("KU");
  EXPECT_EQ(g_keyCapture.mode, 0);
  EXPECT_EQ(g_keyCapture.modifiers, 0u);
  EXPECT_EQ(keys.timers.count(kKeyboardFocusTimer), 1u) << "no line was registered";
  EXPECT_TRUE(keys.debugger.empty());

  Run("KR 1000 A$ A% 1");
  Key(platform::WM_KEYDOWN, 16);
  Run("KU");
  EXPECT_EQ(keys.timers.count(kKeyboardFocusTimer), 0u);
  Key(platform::WM_KEYDOWN, 112);
  OfferToModules(Message::Plain(platform::WM_TIMER, kKeyboardFocusTimer));
  EXPECT_EQ(Runs(), std::vector<int>{16});
  EXPECT_EQ(keys.focus, std::vector<bool>{false}) << "only KR's";
}

TEST_F(KeyCaptureTest, TimerTwentyThreeKeepsTheFocusInModesZeroAndOne) {
  const struct {
    const char* kr;
    std::vector<bool> focus;
  } cases[] = {
      {"KR 1000 A$ A% 0", {false}},
      {"KR 1000 A$ A% 1", {false, true}},  // KR's own focus, then the timer's with the top
  };
  for (const auto& c : cases) {
    keys.focus.clear();
    Run(c.kr);
    OfferToModules(Message::Plain(platform::WM_TIMER, kKeyboardFocusTimer));
    EXPECT_EQ(keys.focus, c.focus) << c.kr;
    Run("KU");
  }
}

TEST_F(KeyCaptureTest, HookModesDeliverTheHookKeysWithLayoutCharacters) {
  ASSERT_TRUE(SelectKeyboardLayout("gb"));
  InstallHook({
      112,  Scan(0x3B),               // F1
      112,  Scan(0x3B) | kRelease,    //
      16,   Scan(0x2A),               // Shift
      16,   Scan(0x2A) | kHeld,       // Shift again, held: ignored
      '3',  Scan(0x04),               // Shift+3: the pound sign
      16,   Scan(0x2A) | kRelease,    //
      17,   Scan(0x1D),               // Ctrl
      'A',  Scan(0x1E),               // Ctrl+A: not for the script
      0xBD, Scan(0x0C),               // Ctrl+-: punctuation passes
      17,   Scan(0x1D) | kRelease,    //
      0x1B, Scan(0x01),               // Escape: the empty character
      'B',  Scan(0x30) | (1u << 26),  // marked to be ignored
      18,   Scan(0x38) | kExtended,   // AltGr
      '4',  Scan(0x05),               // AltGr+4: the euro sign
      18,   Scan(0x38) | kExtended | kRelease,
      'Q',  Scan(0x10) | kRelease,  // a character key's release: nothing
  });
  Run("KR 1000 A$ A% 2");
  EXPECT_TRUE(Said("Velcrum: KR: Keyboard KeyHKVL.DLL Loaded"));
  const ScriptedKeyHookCalls calls = HookCalls();
  EXPECT_EQ(calls.setMyHook, 1);
  EXPECT_EQ(calls.window, kMainWindow);
  EXPECT_EQ(calls.passOn, 1);
  EXPECT_EQ(keys.timers[kKeyboardFocusTimer], 2000u);

  DeliverHookPosts();
  EXPECT_EQ(Runs(),
            (std::vector<int>{146, 1146, 16, 163, 1016, 17, 0, '-', 1017, 0, 18, 128, 1018}));
  EXPECT_EQ(HookCalls().layoutQuestions, 1) << "asked once, at the first key";

  Run("KU");
  EXPECT_EQ(HookCalls().clearMyHook, 1);
  EXPECT_TRUE(Said("VLXKey_Unregister: Keyboard KeyHKVL.DLL Unloaded"));
  EXPECT_EQ(g_keyCapture.mode, 0);
}

TEST_F(KeyCaptureTest, HookModesTakeTheLockKeysFromTheLibrary) {
  InstallHook({});
  SetHookState(20, 1);     // Caps Lock on
  SetHookState(16, 0x80);  // Shift held
  SetHookState(145, 0);
  Run("KR 1000 A$ A% 3");
  EXPECT_EQ(Runs(), std::vector<int>{20});
  // A second KR clears the first hook before it sets its own.
  Run("KR 1000 A$ A% 3");
  EXPECT_EQ(HookCalls().clearMyHook, 1);
  EXPECT_EQ(HookCalls().setMyHook, 2);
}

TEST_F(KeyCaptureTest, HookFailuresAreSaidAndKuCopes) {
  Run("KR 1000 A$ A% 2");  // no library in the system directory
  ASSERT_EQ(keys.boxes.size(), 1u);
  EXPECT_EQ(keys.boxes[0].text, "Velcrum: KR: Can't Load Keyboard DLL (KeyHKVL.DLL)");
  EXPECT_TRUE(Said("Velcrum: KR: LoadKeyHookLibrary called failed."));
  EXPECT_TRUE(keys.timers.empty());
  Run("KU");
  EXPECT_TRUE(Said("Velcrum: KU: ClearMyHook KeyHookLibrary not loaded."));

  InstallHook({}, /*succeed=*/false);
  Run("KR 1000 A$ A% 2");
  EXPECT_TRUE(Said("Velcrum: KR: SetMyHook called failed."));
  EXPECT_EQ(HookCalls().passOn, -1) << "pass-on is not asked after a failed hook";
  EXPECT_TRUE(keys.timers.empty());
}

TEST(HookKeyConversionTest, TheScriptSeesOnlyWhatTheFiltersLetThrough) {
  constexpr uint32_t kCtrl = 2, kAlt = 4, kAltGr = 8 | 4;
  const struct {
    uint8_t character;
    uint32_t modifiers;
    uint8_t seen;
  } cases[] = {
      {'a', 0, 'a'},      {'a', 1, 'a'},      {27, 0, 0},         {8, 0, 0},
      {9, 0, 0},          {'a', kCtrl, 0},    {'a', kAlt, 0},     {'<', kCtrl, '<'},
      {'_', kAlt, '_'},   {'/', kAltGr, '/'}, {166, kAltGr, 166}, {128, kAltGr, 128},
      {225, kAltGr, 225}, {250, kAltGr, 250}, {163, kAltGr, 0},   {'1', kCtrl, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScriptCharacter(c.character, c.modifiers), c.seen)
        << int(c.character) << " with " << c.modifiers;
  }
}

TEST(HookKeyConversionTest, CharactersComeFromTheSystemsLayout) {
  constexpr uint32_t kShift = 1, kAltGr = 8 | 4, kCaps = 16, kNum = 256;
  ASSERT_TRUE(SelectKeyboardLayout("gb"));
  EXPECT_EQ(HookCharacter(0x04, false, kShift), 163) << "Shift+3: the pound sign";
  EXPECT_EQ(HookCharacter(0x05, false, kAltGr), 128) << "AltGr+4: the euro sign";
  EXPECT_EQ(HookCharacter(0x29, false, kShift), 172) << "Shift+`: the not sign";
  EXPECT_EQ(HookCharacter(0x29, false, kAltGr), 166) << "AltGr+`: the broken bar";
  EXPECT_EQ(HookCharacter(0x1E, false, kCaps), 'A');
  EXPECT_EQ(HookCharacter(0x47, false, kNum), '7') << "keypad 7 with Num Lock";
  EXPECT_EQ(HookCharacter(0x35, true, 0), '/') << "keypad /";
  EXPECT_EQ(HookCharacter(0x3B, false, 0), std::nullopt) << "F1 types nothing";
  ASSERT_TRUE(SelectKeyboardLayout("us"));
  EXPECT_EQ(HookCharacter(0x04, false, kShift), '#');
  EXPECT_FALSE(SelectKeyboardLayout("no-such-layout"));
  EXPECT_EQ(HookCharacter(0x04, false, kShift), '#') << "the layout in use is kept";
}

}  // namespace
}  // namespace velcrum
