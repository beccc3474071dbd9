// The line settings of the under-monitor display chains on a POSIX terminal device: raw
// bytes, 8 data bits, even parity, one stop bit, no flow control, at a given baud rate.
// The port library sets them on the ports it opens, and umd-monitor on its side of the
// line, so that both ends agree.
#pragma once

#include <termios.h>

#include <optional>
#include <string>

namespace velcrum {

// The termios speed of a baud rate; none for a rate the terminal driver has no constant
// for (50 to 4000000 baud, the standard steps).
std::optional<speed_t> SerialSpeed(unsigned baudRate);

// `current` with the line settings applied: raw input and output (no echo, no line
// editing, no character translation, no signals), 8 data bits, even parity, one stop
// bit, the receiver on, modem lines ignored, reads that return what has arrived.
termios SerialLineTermios(const termios& current, speed_t speed);

// Sets the line settings on an open terminal device. Empty on success, else what failed.
// A pseudo-terminal gets everything but the parity bit, which its driver does not have.
std::string SetSerialLine(int fd, unsigned baudRate);

}  // namespace velcrum
