// Which host serial device a Windows port number names. "COM1" is /dev/ttyS0, "COM2"
// /dev/ttyS1 and so on, unless VELCRUM.INI's section Ports names another device for the
// port (COM1=/dev/ttyUSB0, or a pseudo-terminal's path). Those keys are read, never
// written back: a site that has no Ports section keeps the plain mapping.
#pragma once

#include <string>

namespace velcrum {

// The host device of port `port` (1 for COM1); empty for a port below 1.
std::string HostSerialDevice(int port);

}  // namespace velcrum
