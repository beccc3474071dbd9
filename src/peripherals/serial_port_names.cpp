// The port mapping: one key per port in VELCRUM.INI's Ports section, else /dev/ttyS<n-1>.
#include "peripherals/serial_port_names.h"

#include "platform/profile.h"
#include "runtime/configuration_files.h"

namespace velcrum {

std::string HostSerialDevice(int port) {
  if (port < 1) return {};
  constexpr std::size_t kLongestPath = 4096;
  const std::string plain = "/dev/ttyS" + std::to_string(port - 1);
  return GetPrivateProfileString("Ports", "COM" + std::to_string(port), plain, kLongestPath,
                                 VelcrumIniPath());
}

}  // namespace velcrum
