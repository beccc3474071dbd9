// Revertive bursts: how many revertives a panel takes per second from nxi, and that it
// loses none.
//
// The panel runs in this process, as velcrum runs it: the runtime's modules, the main
// window with its 5 ms drain timer, synchronous mode with the two queues at their real
// sizes. It registers router 12 for destinations 1 to 16 with a line that counts. nxi (a
// real process on a private desktop) is asked with `nxi do "burst 12 10000 integer"` for
// 10,000 integer revertives, each of which costs the panel a name lookup at nxi, and then
// for 10,000 text revertives. A revertive is counted when its line has run.
//
// The floor is what the round trips cost on their own: an integer revertive needs three
// (nxi's send to the panel, the panel's KAL_GET_NAME and nxi's reply frame), a text
// revertive two (nxi's frame and the panel's reply frame). The raw round trip is measured
// in the same run over a bare Unix socket pair.
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "interpreter/executor.h"
#include "interpreter/host.h"
#include "interpreter/script_store.h"
#include "interpreter/variables.h"
#include "network/kal_messages.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/window.h"
#include "runtime/cvorn_fifo.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "runtime/subsystem_settings.h"
#include "runtime/timers.h"
#include "shell/main_window.h"
#include "shell/runtime_modules.h"
#include "socket_echo.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRevertives = 10000;
constexpr int kRoundTrips = 20000;
constexpr size_t kFrameBytes = 513;

// Counts what would be lost: the queue's full message goes to the system debugger.
class CountingHost final : public velcrum::Host {
 public:
  void SystemDebuggerOut(std::string_view text) override {
    if (text.find("write buffer is full") != std::string_view::npos) ++overflows;
  }
  velcrum::MessageBoxAnswer ShowMessageBox(std::string_view, std::string_view,
                                           velcrum::MessageBoxStyle) override {
    return velcrum::MessageBoxAnswer::kOk;
  }
  int overflows = 0;
};

int32_t& Counted() {
  return velcrum::g_lIntegerVariables[velcrum::VariableIndex('C')];
}

void RunText(const std::string& text) {
  velcrum::VLSTMSup_SetMem(100, text.c_str());
  velcrum::RunLine(100, 0);
}

// Runs `nxi do TEXT` while this process goes on taking messages; its answer.
std::string NxiDo(const std::string& text, int timeoutMs) {
  QProcess process;
  process.start(NXI_PATH, {"do", QString::fromStdString(text)});
  QElapsedTimer clock;
  clock.start();
  while (process.state() != QProcess::NotRunning && clock.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    process.waitForFinished(0);
  }
  if (process.state() != QProcess::NotRunning) process.kill();
  return process.readAllStandardOutput().trimmed().toStdString();
}

struct BurstResult {
  double seconds = 0;
  int counted = 0;
};

// One burst: from the `do` request until every revertive's line has run (or a minute, or
// two seconds after nxi has sent the last).
BurstResult Burst(const char* form) {
  Counted() = 0;
  const auto start = Clock::now();
  QProcess process;
  process.start(NXI_PATH, {"do", QString("burst 12 %1 %2").arg(kRevertives).arg(form)});
  QElapsedTimer clock;
  clock.start();
  auto end = start;
  qint64 sentAt = -1;
  while (clock.elapsed() < 60000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (Counted() >= kRevertives && end == start) end = Clock::now();
    if (process.state() == QProcess::NotRunning) {
      if (end != start) break;
      if (sentAt < 0) sentAt = clock.elapsed();
      if (clock.elapsed() - sentAt > 2000) break;
    }
  }
  if (end == start) end = Clock::now();
  process.waitForFinished(1000);
  std::fprintf(stderr, "nxi do burst %s: %s\n", form,
               process.readAllStandardOutput().trimmed().constData());
  return {std::chrono::duration<double>(end - start).count(), Counted()};
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The echo is forked before Qt starts any thread.
  const int echo = StartSocketEcho(kFrameBytes);
  QApplication application(argc, argv);
  char desktop[] = "/tmp/velcrum-revertive-burst-XXXXXX";
  if (mkdtemp(desktop) == nullptr) return 1;
  setenv("VELCRUM_DESKTOP", desktop, 1);
  std::string error;
  if (!velcrum::platform::OpenDesktop(&error)) {
    std::fprintf(stderr, "revertive_burst: no desktop: %s\n", error.c_str());
    return 1;
  }

  QProcess nxi;
  nxi.start(NXI_PATH, {});
  QElapsedTimer waited;
  waited.start();
  while (velcrum::platform::FindWindow("NXI") == velcrum::platform::kNoWindow &&
         waited.elapsed() < 10000) {
    QThread::msleep(5);
  }
  const velcrum::platform::Hwnd nxiWindow = velcrum::platform::FindWindow("NXI");
  if (nxiWindow == velcrum::platform::kNoWindow) {
    std::fprintf(stderr, "revertive_burst: nxi did not start\n");
    return 1;
  }
  const std::string added = NxiDo("add router 12 16 16 integer", 10000);
  if (added.find("added") == std::string::npos) {
    std::fprintf(stderr, "revertive_burst: nxi did not add the router: %s\n", added.c_str());
    return 1;
  }

  CountingHost host;
  velcrum::InstallModules(velcrum::RuntimeModules());
  velcrum::ResetModules();
  velcrum::SetHost(&host);
  if (!velcrum::CreateMainWindow()) return 1;
  velcrum::g_hwndNxi = nxiWindow;
  velcrum::g_networkSettings.synchronousMode = 1;
  velcrum::g_pCmdFifo = std::make_unique<velcrum::Cvorn_fifo>();
  velcrum::g_pRevFifo = std::make_unique<velcrum::Cvorn_fifo>();
  velcrum::g_pCmdFifo->Init("BURST", "CmdFifo", 1024, 128);
  velcrum::g_pRevFifo->Init("BURST", "RevFifo", 1024, 1024);
  velcrum::MainWindow()->SetTimer(velcrum::kQueueDrainTimer, 5);
  velcrum::bStartUpDone = true;
  velcrum::VLSTMSup_SetMem(2000, "NA C% 1 C%");
  RunText("RR 12 1 16 2000 0");

  const BurstResult integer = Burst("integer");
  const BurstResult text = Burst("text");

  char buffer[kFrameBytes] = {};
  const auto rawStart = Clock::now();
  for (int i = 0; i < kRoundTrips; ++i) SocketRoundTrip(echo, buffer, kFrameBytes);
  const double roundTrip =
      std::chrono::duration<double>(Clock::now() - rawStart).count() / kRoundTrips;

  const auto report = [&](const char* form, const BurstResult& result, int roundTrips,
                          int floorTarget) {
    const double rate = result.counted / result.seconds;
    const double floorRate = 1.0 / (roundTrips * roundTrip);
    std::printf(
        "%-7s revertives: %d of %d counted, %.0f per second (target %d); floor of %d "
        "round trips each %.0f per second, rate / floor %.2f\n",
        form, result.counted, kRevertives, rate, floorTarget, roundTrips, floorRate,
        rate / floorRate);
  };
  std::printf("raw Unix-socket round trip, 513 bytes: %.1f us\n", roundTrip * 1e6);
  report("integer", integer, 3, 4000);
  report("text", text, 2, 10000);
  std::printf("RevFifo high-water mark %d of 1024, overflow reports %d, lost %d\n",
              velcrum::g_pRevFifo->GetHighWaterMark(), host.overflows,
              2 * kRevertives - integer.counted - text.counted);

  velcrum::platform::Send(velcrum::g_hwndNxi,
                          velcrum::platform::Message::Plain(velcrum::platform::WM_CLOSE));
  nxi.waitForFinished(5000);
  velcrum::DestroyMainWindow();
  velcrum::platform::CloseDesktop();
  std::filesystem::remove_all(desktop);
  const bool lost =
      integer.counted != kRevertives || text.counted != kRevertives || host.overflows != 0;
  return lost ? 1 : 0;
}
