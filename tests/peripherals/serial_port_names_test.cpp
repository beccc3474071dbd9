// Windows port numbers to host serial devices, with VELCRUM.INI's Ports section.
#include "peripherals/serial_port_names.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace velcrum {
namespace {

namespace fs = std::filesystem;

TEST(SerialPortNamesTest, PlainPortsAreTtySAndTheIniOverridesOneAtATime) {
  char pattern[] = "/tmp/velcrum-ports-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path drive = fs::path(pattern) / "drive_c";
  fs::create_directories(drive / "windows");
  setenv("VELCRUM_DRIVE_C", drive.c_str(), 1);

  EXPECT_EQ(HostSerialDevice(1), "/dev/ttyS0") << "no VELCRUM.INI at all";
  std::ofstream(drive / "windows" / "VELCRUM.INI") << "[Ports]\r\nCOM2=/dev/pts/7\r\n";
  EXPECT_EQ(HostSerialDevice(1), "/dev/ttyS0");
  EXPECT_EQ(HostSerialDevice(2), "/dev/pts/7");
  EXPECT_EQ(HostSerialDevice(4), "/dev/ttyS3");
  EXPECT_EQ(HostSerialDevice(0), "");
  std::ifstream written(drive / "windows" / "VELCRUM.INI");
  const std::string text((std::istreambuf_iterator<char>(written)), {});
  EXPECT_EQ(text, "[Ports]\r\nCOM2=/dev/pts/7\r\n") << "read, never written back";

  unsetenv("VELCRUM_DRIVE_C");
  fs::remove_all(pattern);
}

}  // namespace
}  // namespace velcrum
