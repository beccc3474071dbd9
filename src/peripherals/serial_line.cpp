// The chains' line settings on termios.
#include "peripherals/serial_line.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <cstring>

namespace velcrum {
namespace {

struct SpeedRow {
  unsigned baudRate;
  speed_t speed;
};

constexpr SpeedRow kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

// Unix98 pseudo-terminal slaves have the major device numbers 136 to 143.
bool IsPseudoTerminal(int fd) {
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode)) return false;
  const unsigned major = major(status.st_rdev);
  return major >= 136 && major <= 143;
}

}  // namespace

std::optional<speed_t> SerialSpeed(unsigned baudRate) {
  for (const SpeedRow& row : kSpeeds) {
    if (row.baudRate == baudRate) return row.speed;
  }
  return std::nullopt;
}

termios SerialLineTermios(const termios& current, speed_t speed) {
  termios line = current;
  cfmakeraw(&line);
  line.c_cflag &= ~(CSIZE | PARODD | CSTOPB | CRTSCTS);
  line.c_cflag |= CS8 | PARENB | CREAD | CLOCAL;
  line.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
  line.c_cc[VMIN] = 0;
  line.c_cc[VTIME] = 0;
  cfsetispeed(&line, speed);
  cfsetospeed(&line, speed);
  return line;
}

std::string SetSerialLine(int fd, unsigned baudRate) {
  const std::optional<speed_t> speed = SerialSpeed(baudRate);
  if (!speed) return "no such baud rate: " + std::to_string(baudRate);
  termios current{};
  if (tcgetattr(fd, &current) != 0) return std::string("not a terminal: ") + std::strerror(errno);
  termios line = SerialLineTermios(current, *speed);
  // A pseudo-terminal's driver has no parity: it clears the bit, and some kernels refuse
  // a request that sets it once the line is in use.
  if (IsPseudoTerminal(fd)) line.c_cflag &= ~PARENB;
  if (tcsetattr(fd, TCSANOW, &line) != 0) {
    return std::string("line settings refused: ") + std::strerror(errno);
  }
  return {};
}

}  // namespace velcrum
