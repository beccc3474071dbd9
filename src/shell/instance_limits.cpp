// The instance limits, walking the desktop's top-level windows from the bottom of the
// z-order upward. The bottom-most window is never asked, as the system always did.
#include "shell/instance_limits.h"

#include <climits>
#include <vector>

#include "network/kal_messages.h"
#include "platform/desktop/desktop.h"
#include "runtime/process_state.h"
#include "shell/configuration.h"

namespace velcrum {
namespace {

constexpr int kRetryLimit = 10;
int g_iCloseRetries = 0;

std::vector<platform::Hwnd> WindowsToAsk() {
  std::vector<platform::Hwnd> windows;
  bool bottomMost = true;
  for (const platform::WindowInfo& window :
       platform::TopLevelWindows(platform::ZOrder::kBottomFirst)) {
    if (!bottomMost) windows.push_back(window.hwnd);
    bottomMost = false;
  }
  return windows;
}

int CountCopies(const std::vector<platform::Hwnd>& windows) {
  int count = 0;
  for (const platform::Hwnd hwnd : windows) {
    const auto answer = platform::Send(hwnd, platform::Message::Plain(kMsgProbe));
    if (answer && static_cast<uint32_t>(*answer) == kProbeAnswer) ++count;
  }
  return count;
}

int LoadOf(int copies) {
  // A MaxExecWindows of 0 or less would divide by zero: any copy then counts as the
  // highest load there is.
  if (g_config.maxExecWindows <= 0) return copies > 0 ? INT_MAX : 0;
  return static_cast<int>(copies * 100.0 / g_config.maxExecWindows);
}

}  // namespace

int RunningCopiesLoad() {
  return LoadOf(CountCopies(WindowsToAsk()));
}

bool CloseOneSurplusCopy(int threshold) {
  const std::vector<platform::Hwnd> windows = WindowsToAsk();
  const int load = LoadOf(CountCopies(windows));
  if (threshold == 0 || load <= threshold) return false;
  for (const platform::Hwnd hwnd : windows) {
    const auto answer = platform::Send(hwnd, platform::Message::Plain(KAL_CLOSEDOWN, g_hwndMain));
    if (answer && static_cast<uint32_t>(*answer) == kClosedownAccepted) return true;
  }
  return false;
}

void OnCloseSurplusCopies(uint32_t threshold) {
  if (!CloseOneSurplusCopy(static_cast<int>(threshold))) {
    g_iCloseRetries = 0;
    return;
  }
  if (g_iCloseRetries > kRetryLimit) {
    g_iCloseRetries = 0;
    return;
  }
  platform::Post(g_hwndMain, platform::Message::Plain(kMsgCloseSurplusCopies, threshold));
  ++g_iCloseRetries;
}

void ResetInstanceLimitRetries() {
  g_iCloseRetries = 0;
}

}  // namespace velcrum
