// The subsystems' settings.
#include "runtime/subsystem_settings.h"

namespace velcrum {

NetworkSettings g_networkSettings;
InstanceSettings g_instanceSettings;
PanelSettings g_panelSettings;

void ResetSubsystemSettings() {
  g_networkSettings = NetworkSettings{};
  g_instanceSettings = InstanceSettings{};
  g_panelSettings = PanelSettings{};
}

}  // namespace velcrum
