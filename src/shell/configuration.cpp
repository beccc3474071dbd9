// Reading the configuration: VELCRUM.INI in two groups, and handing the settings on.
#include "shell/configuration.h"

#include <algorithm>

#include "interpreter/format.h"
#include "interpreter/settings.h"
#include "platform/ascii_case.h"
#include "platform/profile.h"
#include "runtime/configuration_files.h"
#include "runtime/log_file.h"
#include "runtime/subsystem_settings.h"

namespace velcrum {

Configuration g_config;

namespace {

class IniReader {
 public:
  explicit IniReader(std::string file) : file_(std::move(file)) {}

  std::string Text(const char* section, const char* key, const char* defaultValue,
                   size_t size) const {
    return GetPrivateProfileString(section, key, defaultValue, size, file_);
  }

  void Write(const char* section, const char* key, std::string_view value) const {
    WriteBack(section, key, value, file_);
  }

  // An integer key: read with "-1" as default; a value of -1 means missing, and the key
  // is written back with `written` and the setting takes `used`.
  int Int(const char* section, const char* key, size_t size, int& setting, const char* written,
          int used) const {
    if (const auto number = ScanIniNumber(Text(section, key, "-1", size))) setting = *number;
    if (setting == -1) {
      Write(section, key, written);
      setting = used;
    }
    return setting;
  }

  void Clamped(const char* section, const char* key, int& setting, const char* written, int used,
               int low, int high) const {
    Int(section, key, 120, setting, written, used);
    setting = std::clamp(setting, low, high);
  }

  // A key read into a scratch value reset to 0 first; a missing key reads as -1.
  int Scratch(const char* section, const char* key, size_t size,
              const char* defaultValue = "-1") const {
    return ScanIniNumber(Text(section, key, defaultValue, size)).value_or(0);
  }

  // Obsolete keys: present in any form, they are overwritten with a marker.
  void Obsolete(const char* section, const char* key) const {
    if (Scratch(section, key, 9) != -1) Write(section, key, "OBSOLETE_PARAMETER");
  }

  // A debug switch: only 1 sets the bit; a missing key is written as "0".
  bool Switch(const char* key) const {
    const int value = Scratch("Debug", key, 9);
    if (value == -1) Write("Debug", key, "0");
    return value == 1;
  }

 private:
  std::string file_;
};

}  // namespace

void ReadConfigurationGroup1() {
  const IniReader ini(VelcrumIniPath());
  ini.Int("System", "V2CompatibleVelcrumNames", 120, g_instanceSettings.v2CompatibleVelcrumNames,
          "0", 0);
  WindowPlacement& debug = g_toolSettings.debugWindow;
  ini.Clamped("Debug", "DebugWindowPositionX", debug.x, "200", 200, 0, 2048);
  ini.Clamped("Debug", "DebugWindowPositionY", debug.y, "310", 310, 0, 2048);
  ini.Clamped("Debug", "DebugWindowSizeW", debug.width, "640", 640, 0, 2048);
  ini.Clamped("Debug", "DebugWindowSizeH", debug.height, "700", 700, 0, 2048);
  WindowPlacement& editor = g_toolSettings.editorWindow;
  ini.Clamped("Editor", "EditorWindowPositionX", editor.x, "100", 100, 0, 2048);
  ini.Clamped("Editor", "EditorWindowPositionY", editor.y, "100", 100, 0, 2048);
  ini.Clamped("Editor", "EditorWindowSizeW", editor.width, "640", 640, 640, 2048);
  ini.Clamped("Editor", "EditorWindowSizeH", editor.height, "480", 480, 480, 2048);
  WindowPlacement& variables = g_toolSettings.variablesWindow;
  ini.Clamped("System", "VariablesWindowPositionX", variables.x, "200", 200, 200, 1000);
  ini.Clamped("System", "VariablesWindowPositionY", variables.y, "20", 20, 20, 1000);
  ini.Clamped("System", "VariablesWindowSizeW", variables.width, "200", 200, 200, 1000);
  ini.Clamped("System", "VariablesWindowSizeH", variables.height, "450", 450, 450, 1000);
}

void ReadConfigurationGroup2() {
  const IniReader ini(VelcrumIniPath());
  Configuration& c = g_config;
  NetworkSettings& network = g_networkSettings;
  ini.Int("System", "KALNXIEnable", 24, network.kalNxiEnable, "1", 1);
  ini.Int("32Bit", "SynchronousMode", 9, network.synchronousMode, "1", 1);
  ini.Int("System", "FastClose", 9, c.fastClose, "1", -1);
  ini.Obsolete("System", "VideoCard");
  UmdSettings& umd = g_umdSettings;
  for (int chain = 0; chain < 4; ++chain) {
    const std::string key = Format("iUmdChain%d", chain + 1);
    ini.Int("System", key.c_str(), 9, umd.chains[chain], "-1", -1);
  }
  umd.protocol = ini.Text("System", "UMDProtocol", "-1", 24);
  if (umd.protocol == "-1") {
    ini.Write("System", "UMDProtocol", "TSL");
    umd.protocol = "TSL";
  }
  umd.protocol = UpperAsciiText(umd.protocol);
  if (const auto baud = ScanIniNumber(ini.Text("System", "UMDBaudRate", "0", 9))) {
    umd.baudRate = static_cast<unsigned>(*baud);
  }
  if (umd.baudRate == 0) {
    ini.Write("System", "UMDBaudRate", "38400");
    umd.baudRate = 38400;
  }
  ini.Int("System", "UmdSize", 9, umd.size, "16", 16);
  ini.Int("System", "UmdVirtualisation", 9, umd.virtualisation, "0", 0);
  if (umd.virtualisation == 1) {
    ini.Write("System", "UMDProtocol", "TSL");
    ini.Write("System", "iUmdSize", "8");
    umd.protocol = "TSL";
    umd.size = 8;
  }
  ini.Int("System", "CycleAmazon", 9, umd.cycleAmazon, "1", 1);
  ini.Obsolete("System", "DebugMode");

  // The debug switches: a missing ShowDebugWindow clears the whole word first.
  const int showDebugWindow = ini.Scratch("Debug", "ShowDebugWindow", 9);
  if (showDebugWindow == -1) {
    ini.Write("Debug", "ShowDebugWindow", "0");
    c.debugFlags = 0;
  } else if (showDebugWindow == 1) {
    c.debugFlags |= kDebugWindowShown;
  }
  if (ini.Switch("OutputParserTrace")) c.debugFlags |= kDebugParserTrace;
  if (ini.Switch("OutputParserStack")) c.debugFlags |= kDebugSubroutineStackTrace;
  if (ini.Switch("OutputDebug")) c.debugFlags |= kDebugOutputDebug;
  if (ini.Switch("EnableOutputDBWIN")) c.debugFlags |= kDebugToSystemDebugger;

  ini.Int("System", "PrinterSupport", 9, g_panelSettings.printerSupport, "1", 0);
  c.videoCaptureApplication = ini.Text("System", "VideoCaptureApplication", "NONE", 128);
  if (c.videoCaptureApplication == "NONE") {
    ini.Write("System", "VideoCaptureApplication", "overlay.exe");
  }
  ini.Int("System", "AllowSystemMenuExit", 9, g_panelSettings.allowSystemMenuExit, "0", 0);
  c.timeStampStartup = ini.Scratch("System", "TimeStampStartup", 128, "0");
  c.timeStampProfiling = ini.Scratch("System", "TimeStampProfiling", 128, "0");
  ini.Int("System", "MaxExecWindows", 14, c.maxExecWindows, "24", 24);
  if (const auto number = ScanIniNumber(ini.Text("Debug", "NewStartUp", "-1", 10))) {
    c.newStartUp = *number;
  }
  if (c.newStartUp == -1) c.newStartUp = 1;
  ini.Int("Debug", "LogToFile", 10, c.logToFile, "0", 0);
  ini.Int("System", "TxVerticalBarCRLF", 17, c.txVerticalBarCrlf, "0", 0);
  const auto messageWindow = [&](const char* key, int& setting, const char* written, int used) {
    ini.Int("System", key, 20, setting, written, used);
    setting = std::clamp(setting, 0, 1000);
  };
  messageWindow("EmMessageWindowPositionX", c.emMessageWindowPositionX, "0", 0);
  messageWindow("EmMessageWindowPositionY", c.emMessageWindowPositionY, "0", 0);
  messageWindow("EmMessageWindowSizeW", c.emMessageWindowSizeW, "200", 200);
  messageWindow("EmMessageWindowSizeH", c.emMessageWindowSizeH, "170", 170);
  ini.Int("System", "EnableParameterInspection", 20, c.enableParameterInspection, "1", 1);
  ini.Int("System", "EnableParameterInspectMsgs", 20, c.enableParameterInspectMsgs, "1", 1);
  ini.Clamped("System", "SendTimeout", c.sendTimeout, "5000", 5000, 100, 600000);
  ini.Clamped("System", "BroadcastTimeout", c.broadcastTimeout, "300", 300, 10, 10000);
  const auto command = [&](const char* key, std::string& setting, const char* written) {
    setting = ini.Text("System", key, "-1", 512);
    if (setting == "-1") {
      ini.Write("System", key, written);
      setting = written;
    }
  };
  command("RebootCommand", c.rebootCommand, "systemctl reboot");
  command("LogoffCommand", c.logoffCommand, "loginctl terminate-session ${XDG_SESSION_ID}");

  g_instanceSettings.workstation = network.kalNxiEnable != 0 ? ReadWorkstationNumber() : 0;
  ApplyConfiguration();
}

void ApplyConfiguration() {
  const unsigned flags = g_config.debugFlags;
  g_settings.showDebugWindow = (flags & kDebugWindowShown) != 0;
  g_settings.enableOutputDbwin = (flags & kDebugToSystemDebugger) != 0;
  g_settings.outputParserTrace = (flags & kDebugParserTrace) != 0;
  g_settings.outputDebug = (flags & kDebugOutputDebug) != 0;
  g_settings.outputSubroutineStack = (flags & kDebugSubroutineStackTrace) != 0;
  g_settings.timeStampStartup = g_config.timeStampStartup == 1;
  g_settings.parameterInspection = g_config.enableParameterInspection == 0   ? Inspection::kOff
                                   : g_config.enableParameterInspection == 2 ? Inspection::kStrict
                                                                             : Inspection::kOn;
  g_settings.parameterInspectMsgs = g_config.enableParameterInspectMsgs != 0;
  g_settings.txVerticalBarCrlf = g_config.txVerticalBarCrlf;
  g_bLogToFile = g_config.logToFile != 0;
}

void ResetConfiguration() {
  g_config = Configuration{};
  ResetSubsystemSettings();
}

}  // namespace velcrum
