// The keyboard capture on the real main window in this process: modes 0 and 1 with key
// input from the desktop tool, mode 2 with the scripted hook library posting through the
// desktop, and with the real KeyHKVL.DLL reading a keyboard made with /dev/uinput.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "desktop_fixture.h"
#include "interpreter/executor.h"
#include "interpreter/host.h"
#include "interpreter/script_store.h"
#include "interpreter/variables.h"
#include "platform/shared_library.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "shell/main_window.h"
#include "shell/runtime_host.h"
#include "shell/runtime_modules.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;

class KeyboardCaptureTest : public platform::testing::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    drive_ = fs::path(dir_) / "drive_c";
    fs::create_directories(drive_ / "windows");
    setenv("VELCRUM_DRIVE_C", drive_.c_str(), 1);
    InstallModules(RuntimeModules());
    ResetModules();
    SetHost(&host_);
    ASSERT_TRUE(CreateMainWindow());
    ShowMainWindowOnDesktop();
    bStartUpDone = true;
    // Line 1000 notes each press's A% in the next memory, line 1200 each release's as
    // 1000 + A%.
    VLSTMSup_SetMem(1000, "NA n% 1 n%:MS A% n% n%");
    VLSTMSup_SetMem(1200, "NA n% 1 n%:NA A% 1000 B%:MS B% n% n%");
  }
  void TearDown() override {
    ResetModules();
    DestroyMainWindow();
    SetHost(nullptr);
    unsetenv("VELCRUM_DRIVE_C");
    DesktopTest::TearDown();
  }

  static void Run(const char* line) {
    VLSTMSup_SetMem(100, line);
    RunLine(100, 0);
  }
  static std::vector<int> Runs() {
    std::vector<int> runs;
    for (int i = 1; i <= g_lIntegerVariables[VariableIndex('n')]; ++i) {
      runs.push_back(GetMem("MG", i));
    }
    return runs;
  }
  bool AwaitRuns(const std::vector<int>& expected) {
    return WaitUntil([&] { return Runs() == expected; }, 5000);
  }
  void Type(const std::string& keys) {
    int status = -1;
    std::string errors;
    RunTool({"key", HandleText(g_hwndMain), keys}, &status, &errors);
    EXPECT_EQ(status, 0) << errors;
  }
  void InstallHookLibrary(const char* built) {
    fs::copy_file(built, drive_ / "windows" / "KeyHKVL.DLL", fs::copy_options::overwrite_existing);
  }

  RuntimeHost host_;
  fs::path drive_;
};

TEST_F(KeyboardCaptureTest, ModeZeroTakesTheMainWindowsPressesAndCharacters) {
  Run("KR 1000 A$ A% 0");
  Type("{F1}a{Left}");
  EXPECT_TRUE(AwaitRuns({146, 'a', 129})) << ::testing::PrintToString(Runs());
  EXPECT_STREQ(g_szStringVariables[VariableIndex('A')], "");
}

TEST_F(KeyboardCaptureTest, ModeOneTakesReleasesTooWithTheModifiersInS) {
  Run("KR 1000 A$ A% 1");
  Type("{F1}");
  EXPECT_TRUE(AwaitRuns({146, 1146}));
  Type("X");
  EXPECT_TRUE(AwaitRuns({146, 1146, 16, 'X', 1016})) << ::testing::PrintToString(Runs());
  Type("{Ctrl+F2}");
  EXPECT_TRUE(AwaitRuns({146, 1146, 16, 'X', 1016, 17, 147, 1147, 1017}))
      << ::testing::PrintToString(Runs());
  Run("KU");
  Type("{F1}");
  EXPECT_FALSE(WaitUntil([] { return Runs().size() > 9; }, 300)) << "KU ended the capture";
}

TEST_F(KeyboardCaptureTest, ModeTwoTakesTheKeysTheHookLibraryPostsToTheWindow) {
  InstallHookLibrary(SCRIPTED_KEY_HOOK_PATH);
  SharedLibrary hook = SharedLibrary::OpenWindowsPath("c:\\windows\\KeyHKVL.DLL");
  ASSERT_TRUE(hook);
  using Script = void (*)(const uint32_t*, int, int);
  const uint32_t keys[] = {123, 0x00580001, 123, 0xC0580001u, 'A', 0x001E0001};  // F12, a
  hook.Entry<Script>("ScriptedKeyHookScript")(keys, 3, 1);
  Run("KR 1000 A$ A% 2");
  EXPECT_TRUE(AwaitRuns({157, 1157, 'a'})) << ::testing::PrintToString(Runs());
  Run("KU");
}

// The real library, with a keyboard of our own made through /dev/uinput; only where this
// user may make one and read it (root, or the "input" group with access to /dev/uinput).
TEST_F(KeyboardCaptureTest, TheRealLibraryPostsTheKeysOfAKeyboard) {
  const int uinput = open("/dev/uinput", O_RDWR | O_CLOEXEC);
  if (uinput < 0) {
    GTEST_SKIP() << "/dev/uinput cannot be opened here (" << std::strerror(errno)
                 << "): the real KeyHKVL.DLL is not tried";
  }
  libevdev* model = libevdev_new();
  libevdev_set_name(model, "velcrum test keyboard");
  libevdev_enable_event_type(model, EV_KEY);
  for (const unsigned code : {KEY_A, KEY_ENTER, KEY_F1, KEY_LEFTSHIFT}) {
    libevdev_enable_event_code(model, EV_KEY, code, nullptr);
  }
  libevdev_uinput* keyboard = nullptr;
  const int made = libevdev_uinput_create_from_device(model, uinput, &keyboard);
  libevdev_free(model);
  if (made != 0) {
    close(uinput);
    GTEST_SKIP() << "no keyboard can be made through /dev/uinput here";
  }
  // The device node appears once the kernel (or udev) has made it.
  WaitUntil([&] { return fs::exists(libevdev_uinput_get_devnode(keyboard)); }, 2000);

  InstallHookLibrary(KEY_HOOK_LIBRARY_PATH);
  Run("KR 1000 A$ A% 2");
  const auto press = [&](unsigned code, int value) {
    libevdev_uinput_write_event(keyboard, EV_KEY, code, value);
    libevdev_uinput_write_event(keyboard, EV_SYN, SYN_REPORT, 0);
  };
  press(KEY_F1, 1);
  press(KEY_F1, 0);
  press(KEY_A, 1);
  press(KEY_A, 0);
  EXPECT_TRUE(AwaitRuns({146, 1146, 'a'})) << ::testing::PrintToString(Runs());
  Run("KU");
  libevdev_uinput_destroy(keyboard);
  close(uinput);
}

}  // namespace
}  // namespace velcrum
