// The subsystems' settings.
#include "runtime/subsystem_settings.h"

namespace velcrum {

NetworkSettings g_networkSettings;
InstanceSettings g_instanceSettings;

void ResetSubsystemSettings() {
  g_networkSettings = NetworkSettings{};
  g_instanceSettings = InstanceSettings{};
}

}  // namespace velcrum
