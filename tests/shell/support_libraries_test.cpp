// Loading the support libraries at start: the two control libraries from the system
// directory, the panel's extension library beside the program (and its binding to the
// executor), BWCCRegister and the control classes the libraries provide.
#include "shell/support_libraries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "controls/control_library.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/host.h"
#include "interpreter/interpreter_reset.h"
#include "interpreter/script_store.h"
#include "interpreter/variables.h"
#include "platform/platform_fixture.h"
#include "platform/shared_library.h"
#include "runtime/configuration_files.h"
#include "runtime/module.h"
#include "runtime/module_path.h"
#include "shell/configuration.h"
#include "shell/display_free_modules.h"
#include "support/control_libraries.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;

const std::string kExtensionMessage =
    "An external dll '%s' was found but did not contain a valid VelcrumCall() function. "
    "Please correct the dll or remove it before running this panel again";

class SupportLibrariesTest : public testing::PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    ResetInterpreter();
    ResetConfiguration();
    ResetSupportLibraries();
    for (const char* name : {"CC_ROOT", "CC_SYSTEM"}) unsetenv(name);
    SetHost(&host);
  }
  void TearDown() override {
    ResetSupportLibraries();
    SetHost(nullptr);
    for (const char* name : {"CC_ROOT", "CC_SYSTEM"}) unsetenv(name);
    g_modulePath.clear();
    PlatformTest::TearDown();
  }

  fs::path Windows() const { return DriveC() / "windows"; }

  // A panel program file in its own directory (whose name holds a dot), so that the
  // extension library goes beside it.
  fs::path Panel() const { return base_ / "panels.v2" / "Desk 4.EXE"; }
  void PlaceExtension(const char* built, const std::string& name = "Desk 4.dll") {
    fs::create_directories(Panel().parent_path());
    fs::copy_file(built, Panel().parent_path() / name);
  }

  static std::string ExtensionMessage(const std::string& path) {
    std::string text = kExtensionMessage;
    return text.replace(text.find("%s"), 2, path);
  }

  bool HasClass(const std::string& name) const {
    const auto classes = SupportControlClasses();
    return std::any_of(classes.begin(), classes.end(),
                       [&](const ControlClass& c) { return c.name == name; });
  }

  testing::RecordingHost host;
};

TEST_F(SupportLibrariesTest, BothLibrariesInTheSystemDirectoryLoadSilently) {
  ASSERT_TRUE(testing::InstallControlLibraries(Windows()));
  const SupportLibraryLoad load = LoadSupportLibraries();
  EXPECT_FALSE(load.failed);
  EXPECT_EQ(load.extension, ExtensionCheck::kNone);
  EXPECT_TRUE(host.boxes.empty());
  for (const char* name :
       {"VornButton", "BorBtn", "BorCheck", "BorRadio", "BorShade", "BorStatic"}) {
    EXPECT_TRUE(HasClass(name)) << name;
  }
}

TEST_F(SupportLibrariesTest, EachMissingLibraryIsReportedWithItsFullPath) {
  struct Case {
    bool vornCc, bwcc32;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {false, true, {"V3:Velcrum: Cannot find c:\\windows\\VORN_CC.DLL"}},
      {true, false, {"V3:Velcrum: Cannot find c:\\windows\\BWCC32.DLL"}},
      {false,
       false,
       {"V3:Velcrum: Cannot find c:\\windows\\VORN_CC.DLL",
        "V3:Velcrum: Cannot find c:\\windows\\BWCC32.DLL"}},
  };
  for (const Case& c : cases) {
    fs::remove_all(Windows());
    ASSERT_TRUE(testing::InstallControlLibraries(Windows()));
    if (!c.vornCc) fs::remove(Windows() / "VORN_CC.DLL");
    if (!c.bwcc32) fs::remove(Windows() / "BWCC32.DLL");
    host.boxes.clear();
    const SupportLibraryLoad load = LoadSupportLibraries();
    EXPECT_TRUE(load.failed);
    ASSERT_EQ(host.boxes.size(), c.texts.size());
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
      EXPECT_EQ(host.boxes[i].caption, "! Error !");
      EXPECT_EQ(host.boxes[i].text, c.texts[i]);
    }
    // The library that is there is loaded all the same.
    EXPECT_EQ(HasClass("VornButton"), c.vornCc);
    EXPECT_EQ(HasClass("BorBtn"), c.bwcc32);
  }
}

TEST_F(SupportLibrariesTest, NamesAreFoundWithoutRegardToCase) {
  fs::create_directories(DriveC() / "Windows");
  fs::copy_file(testing::BuiltVornCc(), DriveC() / "Windows" / "vorn_cc.dll");
  fs::copy_file(testing::BuiltBwcc32(), DriveC() / "Windows" / "Bwcc32.Dll");
  EXPECT_FALSE(LoadSupportLibraries().failed);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(SupportLibrariesTest, AFileThatIsNoLibraryCountsAsMissing) {
  ASSERT_TRUE(testing::InstallControlLibraries(Windows()));
  WriteFile(Windows() / "BWCC32.DLL", "not a library");
  EXPECT_TRUE(LoadSupportLibraries().failed);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "V3:Velcrum: Cannot find c:\\windows\\BWCC32.DLL");
}

TEST_F(SupportLibrariesTest, SystemDirectoryFromTheEnvironmentIsAHostPath) {
  const fs::path root = base_ / "cc";
  setenv("CC_ROOT", root.c_str(), 1);
  setenv("CC_SYSTEM", "site", 1);
  const std::string system = root.string() + "\\site\\windows\\lib";
  ASSERT_EQ(SystemDirectory(), system);

  EXPECT_TRUE(LoadSupportLibraries().failed);
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[0].text, "V3:Velcrum: Cannot find " + system + "\\VORN_CC.DLL");

  host.boxes.clear();
  ASSERT_TRUE(testing::InstallControlLibraries(root / "site" / "windows" / "lib"));
  EXPECT_FALSE(LoadSupportLibraries().failed);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(SupportLibrariesTest, ExtensionLibraryPathCutsOnlyTheFileName) {
  const std::pair<const char*, const char*> cases[] = {
      {"/opt/panels/Desk 4.EXE", "/opt/panels/Desk 4.dll"},
      {"/opt/panels/desk.v2.exe", "/opt/panels/desk.v2.dll"},
      {"/opt/panels.d/desk", "/opt/panels.d/desk.dll"},
      {"/opt/panels/.hidden", "/opt/panels/.dll"},
      {"", ""},
  };
  for (const auto& [module, extension] : cases) {
    EXPECT_EQ(ExtensionLibraryPath(module), extension) << module;
  }
}

TEST_F(SupportLibrariesTest, NoExtensionLibraryIsNoExtension) {
  ASSERT_TRUE(testing::InstallControlLibraries(Windows()));
  g_modulePath = Panel().string();
  const SupportLibraryLoad load = LoadSupportLibraries();
  EXPECT_EQ(load.extension, ExtensionCheck::kNone);
  EXPECT_EQ(ExtensionEntry(), nullptr);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(SupportLibrariesTest, ExtensionWithoutVelcrumCallIsReported) {
  ASSERT_TRUE(testing::InstallControlLibraries(Windows()));
  PlaceExtension(EXTENSION_WITHOUT_CALL_PATH);
  g_modulePath = Panel().string();
  const SupportLibraryLoad load = LoadSupportLibraries();
  EXPECT_FALSE(load.failed);
  EXPECT_EQ(load.extension, ExtensionCheck::kInvalid);
  EXPECT_EQ(ExtensionEntry(), nullptr);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "! Error !");
  EXPECT_EQ(host.boxes[0].text, ExtensionMessage((Panel().parent_path() / "Desk 4.dll").string()));
}

TEST_F(SupportLibrariesTest, ExtensionWithVelcrumCallIsKeptAndCallable) {
  ASSERT_TRUE(testing::InstallControlLibraries(Windows()));
  // Written in another case than the program's name: found all the same.
  PlaceExtension(EXTENSION_WITH_CALL_PATH, "DESK 4.DLL");
  g_modulePath = Panel().string();
  const SupportLibraryLoad load = LoadSupportLibraries();
  EXPECT_EQ(load.extension, ExtensionCheck::kValid);
  EXPECT_TRUE(host.boxes.empty());
  const VelcrumCallFunction call = ExtensionEntry();
  ASSERT_NE(call, nullptr);
  char strings[52][256] = {};
  int32_t integers[52] = {};
  EXPECT_EQ(call(11, strings, integers, nullptr, nullptr), 0);
  EXPECT_EQ(call(10, strings, integers, nullptr, nullptr), 1);
  EXPECT_STREQ(strings[0], "taken");
  EXPECT_EQ(integers[0], 10);
}

TEST_F(SupportLibrariesTest, TheExtensionIsOfferedEveryLineAndDrivesTheInterpreter) {
  InstallModules(DisplayFreeModules());
  ResetModules();
  ASSERT_TRUE(testing::InstallControlLibraries(Windows()));
  PlaceExtension(CALC_LIBRARY_PATH);
  g_modulePath = Panel().string();
  ASSERT_EQ(LoadSupportLibraries().extension, ExtensionCheck::kValid);
  EXPECT_EQ(g_pAppDllCall, ExtensionEntry());

  const auto var = [](char letter) -> int32_t& { return g_lIntegerVariables[letter - 'A']; };
  VLSTMSup_SetMem(20000, "NA 1 1 X%");
  VLSTMSup_SetMem(100, "NA 1 1 X%");
  var('Z') = 41;
  RunLine(20000, 0);
  EXPECT_EQ(var('X'), 0) << "the line the library took never ran";
  EXPECT_EQ(var('Z'), 42) << "written in place";
  EXPECT_STREQ(g_szStringVariables['Z' - 'A'], "calc was here");
  EXPECT_EQ(var('Y'), 142) << "the callback's command saw the library's write";
  RunLine(100, 0);
  EXPECT_EQ(var('X'), 2) << "a line the library leaves runs as usual";

  ResetSupportLibraries();
  EXPECT_EQ(g_pAppDllCall, nullptr) << "no call into a library that is gone";
}

TEST_F(SupportLibrariesTest, ExtensionIsCheckedEvenWhenAControlLibraryIsMissing) {
  PlaceExtension(EXTENSION_WITHOUT_CALL_PATH);
  g_modulePath = Panel().string();
  const SupportLibraryLoad load = LoadSupportLibraries();
  EXPECT_TRUE(load.failed);
  EXPECT_EQ(load.extension, ExtensionCheck::kInvalid);
  ASSERT_EQ(host.boxes.size(), 3u);
  EXPECT_EQ(host.boxes[2].text, ExtensionMessage((Panel().parent_path() / "Desk 4.dll").string()));
}

TEST_F(SupportLibrariesTest, RegisterBwccCallsTheExportAndFreeBwccLetsItGo) {
  ASSERT_TRUE(testing::InstallControlLibraries(Windows()));
  ASSERT_FALSE(LoadSupportLibraries().failed);
  // The same file opened again is the same loaded library, so its state is visible here.
  const SharedLibrary bwcc = SharedLibrary::Open((Windows() / "BWCC32.DLL").string());
  const auto registered =
      bwcc.Entry<BwccRegisteredInstanceFunction>(VELCRUM_BWCC_REGISTERED_INSTANCE_SYMBOL);
  ASSERT_NE(registered, nullptr);
  EXPECT_EQ(registered(), 0u);
  RegisterBwcc(0x4711);
  EXPECT_EQ(registered(), 0x4711u);

  EXPECT_TRUE(HasClass("BorBtn"));
  FreeBwcc();
  EXPECT_FALSE(HasClass("BorBtn"));
  EXPECT_TRUE(HasClass("VornButton"));
  RegisterBwcc(1);  // nothing to call any more
  EXPECT_EQ(registered(), 0x4711u);
}

TEST_F(SupportLibrariesTest, RegisterBwccWithoutTheExportDoesNothing) {
  // A BWCC32.DLL that provides classes but no BWCCRegister.
  fs::create_directories(Windows());
  fs::copy_file(testing::BuiltVornCc(), Windows() / "VORN_CC.DLL");
  fs::copy_file(testing::BuiltVornCc(), Windows() / "BWCC32.DLL");
  ASSERT_FALSE(LoadSupportLibraries().failed);
  RegisterBwcc(0x4711);
  EXPECT_TRUE(host.boxes.empty());
}

}  // namespace
}  // namespace velcrum
