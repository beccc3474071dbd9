// A display chain for the tests: a pseudo-terminal whose slave side the runtime opens as
// a serial port and whose master side the test reads every byte from. The test keeps a
// slave descriptor of its own, so that the line's settings can be read and the terminal
// stays up between the runtime's opens.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace velcrum::testing {

class PtyChain {
 public:
  PtyChain() {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) == 0) {
      slavePath_ = name;
      fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
      // Raw until the runtime sets the line, so that nothing the test writes is changed.
      termios raw{};
      tcgetattr(slave_, &raw);
      cfmakeraw(&raw);
      tcsetattr(slave_, TCSANOW, &raw);
    }
  }
  ~PtyChain() {
    if (master_ >= 0) close(master_);
    if (slave_ >= 0) close(slave_);
  }
  PtyChain(const PtyChain&) = delete;
  PtyChain& operator=(const PtyChain&) = delete;

  bool ok() const { return master_ >= 0; }
  const std::string& slavePath() const { return slavePath_; }
  termios SlaveLine() const {
    termios line{};
    tcgetattr(slave_, &line);
    return line;
  }

  // Everything that arrives until the line has been quiet for `quietMs` (at most 5 s).
  std::string Read(int quietMs = 100) {
    std::string bytes;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < limit) {
      pollfd wait = {master_, POLLIN, 0};
      if (poll(&wait, 1, quietMs) <= 0 || (wait.revents & POLLIN) == 0) break;
      char chunk[256];
      const ssize_t count = read(master_, chunk, sizeof chunk);
      if (count <= 0) break;
      bytes.append(chunk, static_cast<std::size_t>(count));
    }
    return bytes;
  }

  // Bytes the far end sends towards the runtime.
  void Send(const std::string& bytes) { (void)!write(master_, bytes.data(), bytes.size()); }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

// Bytes written as a string literal cannot hold "\x80A" unambiguously; this builds them.
inline std::string Bytes(std::initializer_list<int> bytes) {
  std::string text;
  for (const int byte : bytes) text += static_cast<char>(byte);
  return text;
}

}  // namespace velcrum::testing
