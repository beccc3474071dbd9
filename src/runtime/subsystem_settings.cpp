// The subsystems' settings.
#include "runtime/subsystem_settings.h"

namespace velcrum {

NetworkSettings g_networkSettings;
InstanceSettings g_instanceSettings;
PanelSettings g_panelSettings;
UmdSettings g_umdSettings;
ToolSettings g_toolSettings;

void ResetSubsystemSettings() {
  g_networkSettings = NetworkSettings{};
  g_instanceSettings = InstanceSettings{};
  g_panelSettings = PanelSettings{};
  g_umdSettings = UmdSettings{};
  g_toolSettings = ToolSettings{};
}

}  // namespace velcrum
