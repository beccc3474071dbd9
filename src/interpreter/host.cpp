// The installed Host and the silent default that stands in when none is installed.
#include "interpreter/host.h"

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

Host& TheHost() { return *installedHost; }

void SetHost(Host* host) { installedHost = host ? host : &silentHost; }

}  // namespace velcrum
