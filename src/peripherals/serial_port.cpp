// The serial-port library on POSIX terminal devices. The 256 port records live in one
// block, allocated by the first open and freed when the last port closes. A record's line
// (the device, the reader's stop pipe and its receive buffer) is shared with the reader
// thread, so that a reader slow to end never reads a closed or reused descriptor: the last
// of the two to let go closes the device.
#include "peripherals/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "peripherals/serial_line.h"
#include "peripherals/serial_port_names.h"

namespace velcrum {
namespace {

constexpr std::size_t kReceiveBufferSize = 4096;
constexpr std::size_t kReadChunk = 16;
constexpr auto kReaderStartLimit = std::chrono::milliseconds(60000);
constexpr auto kReaderEndLimit = std::chrono::milliseconds(500);
constexpr int kWriteLimitMs = 1000;
constexpr auto kDrainLimit = std::chrono::milliseconds(500);

struct PortLine {
  int fd = -1;
  int stopRead = -1;
  int stopWrite = -1;
  std::mutex mutex;
  std::condition_variable ended;
  bool readerEnded = false;
  std::string received;

  ~PortLine() {
    for (const int descriptor : {fd, stopRead, stopWrite}) {
      if (descriptor >= 0) close(descriptor);
    }
  }
};

struct PortRecord {
  int number = 0;
  std::shared_ptr<PortLine> line;
  std::thread reader;
};

std::unique_ptr<std::array<PortRecord, kSerialPorts>> g_ports;

PortRecord* OpenRecord(int index) {
  if (!g_ports || index < 0 || index >= kSerialPorts) return nullptr;
  PortRecord& record = (*g_ports)[index];
  return record.line ? &record : nullptr;
}

void Keep(PortLine& line, const char* bytes, std::size_t count) {
  const std::lock_guard lock(line.mutex);
  line.received.append(bytes, count);
  if (line.received.size() > kReceiveBufferSize) {
    line.received.erase(0, line.received.size() - kReceiveBufferSize);
  }
}

// The reader: chunks of 16 bytes into the receive buffer until told to stop. A device
// that hangs up (the far end of a pseudo-terminal closed) is only waited on for the stop.
void ReadPort(std::shared_ptr<PortLine> line, std::promise<void> started) {
  started.set_value();
  pollfd waits[2] = {{line->stopRead, POLLIN, 0}, {line->fd, POLLIN, 0}};
  nfds_t watched = 2;
  for (;;) {
    if (poll(waits, watched, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (waits[0].revents != 0) break;
    if (watched == 2 && (waits[1].revents & POLLIN) != 0) {
      char chunk[kReadChunk];
      const ssize_t count = read(line->fd, chunk, sizeof chunk);
      if (count > 0) Keep(*line, chunk, static_cast<std::size_t>(count));
      if (count > 0 || (count < 0 && (errno == EAGAIN || errno == EINTR))) continue;
      watched = 1;
    } else if (watched == 2 && waits[1].revents != 0) {
      watched = 1;
    }
  }
  const std::lock_guard lock(line->mutex);
  line->readerEnded = true;
  line->ended.notify_all();
}

// The purge of the close. A write is complete when the line has taken it; on Windows the
// write waits for that, here the bytes may still wait in the driver, so they get up to
// 500 ms to leave before what is left is discarded. Only what is still waiting is
// discarded: on a pseudo-terminal the written bytes already wait at the far end, and a
// flush of the output would take them from there.
void Purge(int fd) {
  const auto limit = std::chrono::steady_clock::now() + kDrainLimit;
  int waiting = 0;
  while (ioctl(fd, TIOCOUTQ, &waiting) == 0 && waiting > 0 &&
         std::chrono::steady_clock::now() < limit) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  tcflush(fd, waiting > 0 ? TCIOFLUSH : TCIFLUSH);
}

int Fail(int port, const std::string& device, const std::string& reason) {
  DebugOut(Format("Serial port %d (%s): %s", port, device.c_str(), reason.c_str()));
  return kSerialPortFailed;
}

// Ends the reader: at most 500 ms for it to see the stop; one that has not is left to end
// on its own, holding the line until it does.
void EndReader(PortRecord& record) {
  PortLine& line = *record.line;
  const char stop = 0;
  if (write(line.stopWrite, &stop, 1) < 0) {
    DebugOut(
        Format("Serial port %d: reader not told to stop: %s", record.number, std::strerror(errno)));
  }
  std::unique_lock lock(line.mutex);
  const bool ended = line.ended.wait_for(lock, kReaderEndLimit, [&] { return line.readerEnded; });
  lock.unlock();
  if (ended) {
    record.reader.join();
  } else {
    record.reader.detach();
  }
}

}  // namespace

int OpenSerialPort(int port, unsigned baudRate) {
  const int index = port - 1;
  if (index < 0 || index >= kSerialPorts) return Fail(port, "-", "no such port");
  if (OpenRecord(index)) {
    DebugOut(Format("Serial Port %d is already open", port));
    return kSerialPortAlreadyOpen;
  }
  const std::string device = HostSerialDevice(port);
  auto line = std::make_shared<PortLine>();
  line->fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (line->fd < 0) {
    if (errno == EBUSY) {
      DebugOut(Format("Serial Port %d is already open", port));
      return kSerialPortAlreadyOpen;
    }
    return Fail(port, device, std::strerror(errno));
  }
  // Exclusive, as a Windows port is: another process's open fails with EBUSY.
  ioctl(line->fd, TIOCEXCL);
  if (const std::string refused = SetSerialLine(line->fd, baudRate); !refused.empty()) {
    ioctl(line->fd, TIOCNXCL);
    return Fail(port, device, refused);
  }
  int stop[2];
  if (pipe2(stop, O_CLOEXEC | O_NONBLOCK) != 0) {
    ioctl(line->fd, TIOCNXCL);
    return Fail(port, device, std::strerror(errno));
  }
  line->stopRead = stop[0];
  line->stopWrite = stop[1];

  if (!g_ports) g_ports = std::make_unique<std::array<PortRecord, kSerialPorts>>();
  PortRecord& record = (*g_ports)[index];
  record.number = port;
  record.line = line;
  std::promise<void> started;
  std::future<void> up = started.get_future();
  record.reader = std::thread(ReadPort, line, std::move(started));
  if (up.wait_for(kReaderStartLimit) != std::future_status::ready) {
    ShowMessage("Comms library very serious internal error. Contact VORN support");
    CloseSerialPort(port - 1);
    return kSerialPortFailed;
  }
  return index;
}

unsigned WriteSerialPort(int index, std::span<const uint8_t> bytes) {
  PortRecord* record = OpenRecord(index);
  if (!record) return kSerialWriteFailed;
  const int fd = record->line->fd;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriteLimitMs);
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = write(fd, bytes.data() + written, bytes.size() - written);
    if (count > 0) {
      written += static_cast<std::size_t>(count);
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 && errno != EAGAIN) {
      DebugOut(Format("Serial port %d: write failed: %s", record->number, std::strerror(errno)));
      return kSerialWriteFailed;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd wait = {fd, POLLOUT, 0};
    poll(&wait, 1, static_cast<int>(left.count()));
  }
  if (written < bytes.size()) {
    DebugOut(Format("Serial port %d: %zu of %zu bytes written in 1 s", record->number, written,
                    bytes.size()));
  }
  return static_cast<unsigned>(written);
}

void CloseSerialPort(int index) {
  PortRecord* record = OpenRecord(index);
  if (!record) return;
  Purge(record->line->fd);
  EndReader(*record);
  ioctl(record->line->fd, TIOCNXCL);
  *record = PortRecord{};
  for (const PortRecord& other : *g_ports) {
    if (other.line) return;
  }
  g_ports.reset();
}

std::string SerialPortReceived(int index) {
  PortRecord* record = OpenRecord(index);
  if (!record) return {};
  const std::lock_guard lock(record->line->mutex);
  return record->line->received;
}

}  // namespace velcrum
