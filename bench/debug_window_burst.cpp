// Debug lines with the debug window open against closed: a script that writes 100,000
// lines of the parser trace runs in this process, as velcrum runs it (the runtime's
// modules and host on the offscreen platform), once with the window closed and once open,
// and the ratio of the times is printed. The open run's time includes the painting that
// follows, once the event loop runs again.
//
// Two forms: one burst (a line that jumps to itself 100,000 times, the event loop
// waiting until it ends) and 1,000 turns of the event loop with 100 lines each (each turn
// paints, moving the text up and painting only the new rows). The window should cost the
// script less than doubling its time. Run: bench/debug_window_burst
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "interpreter/executor.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "platform/desktop/desktop.h"
#include "runtime/module.h"
#include "runtime/subsystem_settings.h"
#include "shell/runtime_host.h"
#include "shell/runtime_modules.h"
#include "tools/debug_window.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLines = 100000;
constexpr int kTurns = 1000;
constexpr int kRepeats = 3;

// The line writes one "Trace:" line a run; it runs until a% reaches the count.
void RunLoop(int count) {
  velcrum::g_lIntegerVariables[velcrum::VariableIndex('a')] = 0;
  velcrum::VLSTMSup_SetMem(100, velcrum::Format("NA a%% 1 a%%:JL a%% %d 100 0", count).c_str());
  velcrum::RunLine(100, 0);
}

void OneBurst() {
  RunLoop(kLines);
  QCoreApplication::processEvents();
}

void InTurns() {
  for (int turn = 0; turn < kTurns; ++turn) {
    RunLoop(kLines / kTurns);
    QCoreApplication::processEvents();
  }
}

// The best of a few runs, in seconds.
double Best(const std::function<void()>& run) {
  double best = 1e9;
  for (int n = 0; n < kRepeats; ++n) {
    const auto start = Clock::now();
    run();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  char desktop[] = "/tmp/velcrum-debug-window-burst-XXXXXX";
  if (mkdtemp(desktop) == nullptr) return 1;
  setenv("VELCRUM_DESKTOP", desktop, 1);
  std::string error;
  if (!velcrum::platform::OpenDesktop(&error)) {
    std::fprintf(stderr, "debug_window_burst: no desktop: %s\n", error.c_str());
    return 1;
  }
  velcrum::RuntimeHost host;
  velcrum::InstallModules(velcrum::RuntimeModules());
  velcrum::ResetModules();
  velcrum::SetHost(&host);
  velcrum::g_settings.showDebugWindow = true;
  velcrum::g_settings.outputParserTrace = true;
  velcrum::g_toolSettings.debugWindow = {200, 310, 640, 700};

  const double burstClosed = Best(OneBurst);
  const double turnsClosed = Best(InTurns);
  velcrum::OpenDebugWindow();
  if (!velcrum::DebugWindowExists()) {
    std::fprintf(stderr, "debug_window_burst: the debug window did not open\n");
    return 1;
  }
  QCoreApplication::processEvents();
  const double burstOpen = Best(OneBurst);
  const double turnsOpen = Best(InTurns);
  velcrum::CloseDebugWindow();

  std::printf("%d debug lines in one burst: closed %.1f ms, open %.1f ms, open / closed %.2f\n",
              kLines, burstClosed * 1e3, burstOpen * 1e3, burstOpen / burstClosed);
  std::printf(
      "%d debug lines in %d event-loop turns: closed %.1f ms, open %.1f ms, open / closed "
      "%.2f\n",
      kLines, kTurns, turnsClosed * 1e3, turnsOpen * 1e3, turnsOpen / turnsClosed);

  velcrum::SetHost(nullptr);
  velcrum::ResetModules();
  velcrum::platform::CloseDesktop();
  std::filesystem::remove_all(desktop);
  return 0;
}
