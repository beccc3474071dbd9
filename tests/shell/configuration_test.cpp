// Reading the configuration: directories, VELCRUM.INI with write-back, NXI.INI and the
// workstation number.
#include "shell/configuration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "interpreter/host.h"
#include "interpreter/interpreter_reset.h"
#include "interpreter/settings.h"
#include "platform/platform_fixture.h"
#include "platform/profile.h"
#include "runtime/configuration_files.h"
#include "runtime/log_file.h"
#include "runtime/subsystem_settings.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class ConfigurationTest : public testing::PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    ResetInterpreter();
    ResetConfiguration();
    SetHost(&host);
    for (const char* name : {"CC_ROOT", "CC_SYSTEM", "CC_WORKSTATION"}) unsetenv(name);
    std::filesystem::create_directories(DriveC() / "windows");
  }
  void TearDown() override {
    SetHost(nullptr);
    for (const char* name : {"CC_ROOT", "CC_SYSTEM", "CC_WORKSTATION"}) unsetenv(name);
    PlatformTest::TearDown();
  }

  std::filesystem::path VelcrumIni() const { return DriveC() / "windows" / "VELCRUM.INI"; }
  std::filesystem::path NxiIni() const { return DriveC() / "windows" / "NXI.INI"; }

  // Every key=value of the file, by "Section/Key".
  std::map<std::string, std::string> Keys(const std::filesystem::path& file) const {
    std::map<std::string, std::string> keys;
    std::istringstream in(ReadFile(file));
    std::string line, section;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.starts_with("[")) {
        section = line.substr(1, line.find(']') - 1);
      } else if (const size_t eq = line.find('='); eq != std::string::npos) {
        keys[section + "/" + line.substr(0, eq)] = line.substr(eq + 1);
      }
    }
    return keys;
  }

  testing::RecordingHost host;
};

TEST_F(ConfigurationTest, DirectoriesFromTheEnvironmentOrTheLocatorFile) {
  EXPECT_EQ(ConfigurationDirectory(), "c:\\windows");
  EXPECT_EQ(SystemDirectory(), "c:\\windows");
  EXPECT_EQ(Keys(DriveC() / "vorn_config.ini"),
            (std::map<std::string, std::string>{{"Config/ConfigPath", "c:\\windows"},
                                                {"Config/SystemPath", "c:\\windows"}}));

  setenv("CC_ROOT", "/opt/vorn", 1);
  setenv("CC_SYSTEM", "site1", 1);
  EXPECT_EQ(ConfigurationDirectory(), "/opt/vorn\\site1\\config\\system");
  EXPECT_EQ(SystemDirectory(), "/opt/vorn\\site1\\windows\\lib");
  // Too long for the caller's buffer: the locator file decides.
  EXPECT_EQ(ConfigurationDirectory(20), "c:\\windows");

  setenv("CC_SYSTEM", "", 1);
  WritePrivateProfileString("Config", "ConfigPath", "d:\\cfg", "c:\\vorn_config.ini");
  EXPECT_EQ(ConfigurationDirectory(), "d:\\cfg");
  EXPECT_EQ(ConfigurationDirectory(4), "d:\\");
}

TEST_F(ConfigurationTest, AFreshInstallationWritesEveryKeyWithItsDefault) {
  WriteFile(VelcrumIni(), "");
  WriteFile(NxiIni(), "[Network]\nWorkstation=12\n");
  ReadConfigurationGroup1();
  ReadConfigurationGroup2();
  std::map<std::string, std::string> expected = {
      {"System/V2CompatibleVelcrumNames", "0"},
      {"Debug/DebugWindowPositionX", "200"},
      {"Debug/DebugWindowPositionY", "310"},
      {"Debug/DebugWindowSizeW", "640"},
      {"Debug/DebugWindowSizeH", "700"},
      {"Editor/EditorWindowPositionX", "100"},
      {"Editor/EditorWindowPositionY", "100"},
      {"Editor/EditorWindowSizeW", "640"},
      {"Editor/EditorWindowSizeH", "480"},
      {"System/VariablesWindowPositionX", "200"},
      {"System/VariablesWindowPositionY", "20"},
      {"System/VariablesWindowSizeW", "200"},
      {"System/VariablesWindowSizeH", "450"},
      {"System/KALNXIEnable", "1"},
      {"32Bit/SynchronousMode", "1"},
      {"System/FastClose", "1"},
      {"System/iUmdChain1", "-1"},
      {"System/iUmdChain2", "-1"},
      {"System/iUmdChain3", "-1"},
      {"System/iUmdChain4", "-1"},
      {"System/UMDProtocol", "TSL"},
      {"System/UMDBaudRate", "38400"},
      {"System/UmdSize", "16"},
      {"System/UmdVirtualisation", "0"},
      {"System/CycleAmazon", "1"},
      {"Debug/ShowDebugWindow", "0"},
      {"Debug/OutputParserTrace", "0"},
      {"Debug/OutputParserStack", "0"},
      {"Debug/OutputDebug", "0"},
      {"Debug/EnableOutputDBWIN", "0"},
      {"System/PrinterSupport", "1"},
      {"System/VideoCaptureApplication", "overlay.exe"},
      {"System/AllowSystemMenuExit", "0"},
      {"System/MaxExecWindows", "24"},
      {"Debug/LogToFile", "0"},
      {"System/TxVerticalBarCRLF", "0"},
      {"System/EmMessageWindowPositionX", "0"},
      {"System/EmMessageWindowPositionY", "0"},
      {"System/EmMessageWindowSizeW", "200"},
      {"System/EmMessageWindowSizeH", "170"},
      {"System/EnableParameterInspection", "1"},
      {"System/EnableParameterInspectMsgs", "1"},
      {"System/SendTimeout", "5000"},
      {"System/BroadcastTimeout", "300"},
      {"System/RebootCommand", "systemctl reboot"},
      {"System/LogoffCommand", "loginctl terminate-session ${XDG_SESSION_ID}"},
  };
  expected["System/RebootCommand"] = "systemctl reboot";
  expected["System/LogoffCommand"] = "loginctl terminate-session ${XDG_SESSION_ID}";
  EXPECT_EQ(Keys(VelcrumIni()), expected);

  const Configuration& c = g_config;
  EXPECT_EQ(c.fastClose, -1);
  EXPECT_EQ(g_panelSettings.printerSupport, 0);  // written as 1, off for this run
  EXPECT_EQ(c.videoCaptureApplication, "NONE");
  EXPECT_EQ(c.newStartUp, 1);
  EXPECT_EQ(c.maxExecWindows, 24);
  EXPECT_EQ(c.sendTimeout, 5000);
  EXPECT_EQ(c.broadcastTimeout, 300);
  EXPECT_EQ(g_instanceSettings.workstation, 12);
  EXPECT_EQ(c.debugFlags, 0u);
  EXPECT_TRUE(host.boxes.empty());

  // A second run reads what the first wrote and writes nothing new.
  const std::string before = ReadFile(VelcrumIni());
  ResetConfiguration();
  ReadConfigurationGroup1();
  ReadConfigurationGroup2();
  EXPECT_EQ(ReadFile(VelcrumIni()), before);
  EXPECT_EQ(g_panelSettings.printerSupport, 1);
}

TEST_F(ConfigurationTest, ValuesAreClampedAndDebugSwitchesSetBits) {
  WriteFile(VelcrumIni(),
            "[Editor]\r\nEditorWindowSizeW=100\r\n[System]\r\nVariablesWindowPositionY=5000\r\n"
            "EmMessageWindowPositionX=-50\r\nUMDProtocol=amazon\r\nKALNXIEnable=0\r\n"
            "VideoCard=x\r\nTimeStampStartup=1\r\nEnableParameterInspection=2\r\n"
            "SendTimeout=5\r\nBroadcastTimeout=99999\r\n"
            "[Debug]\r\nShowDebugWindow=1\r\nEnableOutputDBWIN=1\r\nOutputParserTrace=2\r\n"
            "LogToFile=1\r\nNewStartUp=0\r\n");
  ReadConfigurationGroup1();
  ReadConfigurationGroup2();
  const Configuration& c = g_config;
  EXPECT_EQ(g_toolSettings.editorWindow.width, 640);
  EXPECT_EQ(g_toolSettings.variablesWindow.y, 1000);
  EXPECT_EQ(c.emMessageWindowPositionX, 0);
  EXPECT_EQ(c.sendTimeout, 100);
  EXPECT_EQ(c.broadcastTimeout, 10000);
  EXPECT_EQ(g_umdSettings.protocol, "AMAZON");
  EXPECT_EQ(g_instanceSettings.workstation, 0);  // network off: no workstation number asked for
  EXPECT_EQ(c.newStartUp, 0);
  EXPECT_EQ(c.debugFlags, kDebugWindowShown | kDebugToSystemDebugger);
  const auto keys = Keys(VelcrumIni());
  EXPECT_EQ(keys.at("Debug/OutputDebug"), "0");
  EXPECT_EQ(keys.at("Debug/OutputParserTrace"), "2");
  EXPECT_EQ(keys.at("System/VideoCard"), "OBSOLETE_PARAMETER");
  EXPECT_EQ(keys.count("System/DebugMode"), 0u);
  // Keys written back keep the file's CR LF line ends.
  const std::string content = ReadFile(VelcrumIni());
  EXPECT_EQ(std::count(content.begin(), content.end(), '\n'),
            std::count(content.begin(), content.end(), '\r'));

  EXPECT_TRUE(g_settings.showDebugWindow);
  EXPECT_TRUE(g_settings.enableOutputDbwin);
  EXPECT_FALSE(g_settings.outputDebug);
  EXPECT_TRUE(g_settings.timeStampStartup);
  EXPECT_EQ(g_settings.parameterInspection, Inspection::kStrict);
}

TEST_F(ConfigurationTest, UmdVirtualisationForcesTslOfWidthEight) {
  WriteFile(VelcrumIni(), "[System]\nUmdVirtualisation=1\nUMDProtocol=AMAZON\nKALNXIEnable=0\n");
  ReadConfigurationGroup2();
  EXPECT_EQ(g_umdSettings.protocol, "TSL");
  EXPECT_EQ(g_umdSettings.size, 8);
  const auto keys = Keys(VelcrumIni());
  EXPECT_EQ(keys.at("System/UMDProtocol"), "TSL");
  EXPECT_EQ(keys.at("System/iUmdSize"), "8");
}

TEST_F(ConfigurationTest, WorkstationNumberFromEnvironmentOrNxiIni) {
  struct Case {
    const char* environment;  // nullptr: unset
    const char* nxiIni;       // nullptr: no file
    int number;
  };
  const Case cases[] = {
      {"12", "[Network]\nWorkstation=5\n", 12},         {"0", "[Network]\nWorkstation=5\n", 5},
      {"1000", "[Network]\nWorkstation=5\n", 5},        {"", "[Network]\nWorkstation=5\n", 5},
      {nullptr, "[network]\nworkstation=2000\n", 2000},  // no range check from the file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.environment ? c.environment : "(unset)");
    if (c.environment)
      setenv("CC_WORKSTATION", c.environment, 1);
    else
      unsetenv("CC_WORKSTATION");
    WriteFile(NxiIni(), c.nxiIni);
    EXPECT_EQ(ReadWorkstationNumber(), c.number);
  }
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(ConfigurationTest, AnUnsetWorkstationIsReportedOnceAnd999Written) {
  EXPECT_EQ(ReadWorkstationNumber(), -1);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Velcrum V3.08.41");
  EXPECT_EQ(host.boxes[0].text, "Workstation ID not set in NXI.INI");
  EXPECT_EQ(host.boxes[0].style.icon, MessageBoxIcon::kExclamation);
  EXPECT_EQ(ReadWorkstationNumber(), 999);
  EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(ConfigurationTest, AWriteBackThatFailsIsSaidOnTheDebuggerAndInTheLog) {
  // A directory where VELCRUM.INI should be: every key reads as missing and no write-back
  // can land.
  std::filesystem::create_directories(VelcrumIni());
  std::filesystem::create_directories(DriveC() / "vornlogs");
  g_bLogToFile = true;
  ReadConfigurationGroup1();
  const std::string line =
      "Cannot write [System] V2CompatibleVelcrumNames=0 to c:\\windows\\VELCRUM.INI: Is a "
      "directory";
  EXPECT_EQ(std::count(host.debugger.begin(), host.debugger.end(), line), 1);
  std::string log;
  for (const auto& entry : std::filesystem::directory_iterator(DriveC() / "vornlogs")) {
    log += ReadFile(entry.path());
  }
  EXPECT_NE(log.find(" - " + line + "\r\n"), std::string::npos) << log;
  ResetLogFile();

  // A write-back that lands says nothing.
  host.debugger.clear();
  std::filesystem::remove(VelcrumIni());
  ReadConfigurationGroup1();
  EXPECT_TRUE(host.debugger.empty());
}

}  // namespace
}  // namespace velcrum
