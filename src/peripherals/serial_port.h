// The serial-port library of the under-monitor displays: ports numbered 1 to 256 (COM1 to
// COM256, each mapped to a host device by serial_port_names.h), addressed by index
// (number - 1) once open. Each open port has a reader thread that reads what arrives into
// the port's own receive buffer and touches nothing else; the runtime never reads it.
//
// Every call but the reader's runs on the GUI thread. Every wait is bounded: the reader's
// start 60 s, a write 1 s, the output's leaving and the reader's end
// on close 500 ms each.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace velcrum {

inline constexpr int kSerialPorts = 256;
// What OpenSerialPort answers when it fails, and when the port is open already (in this
// process, or held exclusively by another).
inline constexpr int kSerialPortFailed = -1;
inline constexpr int kSerialPortAlreadyOpen = -2;
// What WriteSerialPort answers when the write fails.
inline constexpr unsigned kSerialWriteFailed = 65535;

// Opens port `port` (1 for COM1) at `baudRate` with 8 data bits, even parity and one stop
// bit, held exclusively, and starts its reader. Returns the port index, or one of the two
// failures above; "Serial Port %d is already open" and the reason of any other failure go
// to the debug output.
int OpenSerialPort(int port, unsigned baudRate);

// Writes the bytes to the open port `index`, waiting at most 1 s for the line to take
// them. Returns the number of bytes written (fewer on the time-out), or
// kSerialWriteFailed when the port is not open or the device refuses; a short or failed
// write is reported to the debug output.
unsigned WriteSerialPort(int index, std::span<const uint8_t> bytes);

// Gives what was written up to 500 ms to leave, discards what has not left and what has
// arrived unread, ends the reader and closes the device.
// Nothing for a port that is not open.
void CloseSerialPort(int index);

// What the reader has received on the open port `index` (its latest 4096 bytes).
std::string SerialPortReceived(int index);

}  // namespace velcrum
