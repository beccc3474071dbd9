// The installed Host and the silent default that stands in when none is installed.
#include "interpreter/host.h"

#include <chrono>
#include <thread>

namespace velcrum {
namespace {

class SilentHost final : public Host {
 public:
  void SystemDebuggerOut(std::string_view) override {}
  MessageBoxAnswer ShowMessageBox(std::string_view, std::string_view, MessageBoxStyle) override {
    return MessageBoxAnswer::kOk;
  }
};

SilentHost silentHost;
Host* installedHost = &silentHost;

}  // namespace

bool Host::DispatchMessagesUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

Host& TheHost() { return *installedHost; }

void SetHost(Host* host) { installedHost = host ? host : &silentHost; }

}  // namespace velcrum
