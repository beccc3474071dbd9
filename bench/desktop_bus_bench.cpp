// Benchmarks of the desktop bus.
//
// FramedCall: the network link's framed call between two processes: a 513-byte copy-data
// frame to the peer's window, which answers with a 513-byte reply frame sent back to the
// caller's window while the caller waits, then returns. RawRoundTrip: the same bytes both
// ways over a bare Unix stream socket pair, echoed by a forked process: the floor any bus
// over Unix sockets stands on. Both run twice: with the two processes on the same CPU
// (what the software costs) and on two CPUs (what a machine with idle cores sees, where
// waking a sleeping process costs most). The run ends with the ratios.
//
// ProcessStartToWindow: from starting a process (this program in --window-child mode:
// a Qt application with a widget on the offscreen platform that opens the desktop and
// creates its top-level window) until that window is registered on the desktop.
#include <benchmark/benchmark.h>
#include <sched.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/desktop/window.h"
#include "recording_reporter.h"
#include "socket_echo.h"
#include "window_entry_watch.h"

namespace velcrum::platform {
namespace {

constexpr size_t kFrameBytes = 513;
constexpr uint32_t kReplyDwData = 2984u << 16;  // the link's reply message in the high word

std::string g_self;     // this program's path, to start it again as a peer or child
std::string g_desktop;  // the private desktop directory of the run

// Pins the calling process to one CPU (-1: leaves it free on every CPU it had).
cpu_set_t g_allCpus;
void PinTo(int cpu) {
  if (cpu < 0) {
    sched_setaffinity(0, sizeof g_allCpus, &g_allCpus);
    return;
  }
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(cpu, &one);
  sched_setaffinity(0, sizeof one, &one);
}

// --- the framed call ------------------------------------------------------------------

// The receiving side: answers every WM_COPYDATA with a reply frame sent back.
int RunPeer(int argc, char** argv) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (argc > 2) PinTo(std::atoi(argv[2]));
  QCoreApplication application(argc, argv);
  std::string error;
  if (!OpenDesktop(&error)) {
    std::fprintf(stderr, "peer: %s\n", error.c_str());
    return 1;
  }
  std::unique_ptr<Window> window = Window::Create(Window::Kind::kTopLevel, "bench peer");
  const Hwnd own = window->Handle();
  window->SetProc([own](const Message& m) -> Result {
    if (m.message == WM_CLOSE) PostQuit(0);
    if (m.message != WM_COPYDATA) return 0;
    Send(m.wParam, Message::CopyData(own, kReplyDwData, m.data));
    return 1;
  });
  std::printf("%04x\n", own);
  std::fflush(stdout);
  return RunMessageLoop();
}

void FramedCall(benchmark::State& state, Hwnd peer) {
  std::unique_ptr<Window> caller = Window::Create(Window::Kind::kTopLevel, "bench caller");
  std::string reply;
  caller->SetProc([&](const Message& m) -> Result {
    if (m.message == WM_COPYDATA && m.dwData == kReplyDwData) reply = m.data;
    return 1;
  });
  const Message frame =
      Message::CopyData(caller->Handle(), (2164u << 16) | 1, std::string(kFrameBytes, 'x'));
  for (auto _ : state) {
    const std::optional<Result> answer = Send(peer, frame);
    if (!answer || reply.size() != kFrameBytes) {
      state.SkipWithError("the framed call failed");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * 2 * kFrameBytes));
}

// --- the raw floor ----------------------------------------------------------------------

void RawRoundTrip(benchmark::State& state, int fd) {
  char buffer[kFrameBytes];
  std::memset(buffer, 'x', sizeof buffer);
  for (auto _ : state) {
    if (!SocketRoundTrip(fd, buffer, kFrameBytes)) {
      state.SkipWithError("the echo is gone");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * 2 * kFrameBytes));
}

// --- process start until its window is registered ---------------------------------------

int RunWindowChild(int argc, char** argv) {
  QApplication application(argc, argv);
  std::string error;
  if (!OpenDesktop(&error)) return 1;
  QWidget widget;
  std::unique_ptr<Window> window =
      Window::Create(Window::Kind::kTopLevel, "start " + std::to_string(getpid()), &widget);
  widget.show();
  window.reset();
  CloseDesktop();
  return 0;
}

void BM_ProcessStartToWindow(benchmark::State& state) {
  const int watch = inotify_init1(IN_CLOEXEC);
  inotify_add_watch(watch, g_desktop.c_str(), IN_CREATE);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
      PinTo(-1);
      execl(g_self.c_str(), g_self.c_str(), "--window-child", static_cast<char*>(nullptr));
      _exit(127);
    }
    const bool registered = AwaitWindowEntry(watch);
    const auto end = std::chrono::steady_clock::now();
    waitpid(child, nullptr, 0);
    if (!registered) {
      state.SkipWithError("no window registered");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  close(watch);
}
BENCHMARK(BM_ProcessStartToWindow)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

// Starts this program as a bus peer on `cpu`; its window's handle.
Hwnd StartPeer(int cpu, std::vector<FILE*>& peers) {
  FILE* peer = popen((g_self + " --peer " + std::to_string(cpu)).c_str(), "r");
  unsigned handle = 0;
  if (!peer || std::fscanf(peer, "%x", &handle) != 1) return kNoWindow;
  peers.push_back(peer);
  return handle;
}

}  // namespace
}  // namespace velcrum::platform

int main(int argc, char** argv) {
  using namespace velcrum::platform;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  sched_getaffinity(0, sizeof g_allCpus, &g_allCpus);
  if (argc > 1 && std::strcmp(argv[1], "--peer") == 0) return RunPeer(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--window-child") == 0) return RunWindowChild(argc, argv);
  g_self = argv[0];

  // This process runs on the first CPU; "separate" peers on the second, if there is one.
  std::vector<int> cpus;
  for (int cpu = 0; cpu < CPU_SETSIZE && cpus.size() < 2; ++cpu) {
    if (CPU_ISSET(cpu, &g_allCpus)) cpus.push_back(cpu);
  }
  struct Placement {
    const char* name;
    int cpu;
    int echo = -1;
    Hwnd peer = kNoWindow;
  };
  std::vector<Placement> placements{{"same_cpu", cpus[0]}};
  if (cpus.size() > 1) placements.push_back({"separate_cpus", cpus[1]});
  PinTo(cpus[0]);
  // The echo processes are forked before Qt starts any thread.
  for (Placement& placement : placements) {
    placement.echo = StartSocketEcho(kFrameBytes, [cpu = placement.cpu] { PinTo(cpu); });
  }

  char dir[] = "/tmp/velcrum-bench-desktop-XXXXXX";
  if (!mkdtemp(dir)) return 1;
  g_desktop = dir;
  setenv("VELCRUM_DESKTOP", dir, 1);
  QCoreApplication application(argc, argv);
  std::string error;
  if (!OpenDesktop(&error)) {
    std::fprintf(stderr, "bench: %s\n", error.c_str());
    return 1;
  }
  std::vector<FILE*> peers;
  for (Placement& placement : placements) {
    placement.peer = StartPeer(placement.cpu, peers);
    if (placement.peer == kNoWindow) {
      std::fprintf(stderr, "bench: the peer did not start\n");
      return 1;
    }
    benchmark::RegisterBenchmark(
        (std::string("FramedCall/") + placement.name).c_str(),
        [peer = placement.peer](benchmark::State& state) { FramedCall(state, peer); })
        ->UseRealTime();
    benchmark::RegisterBenchmark(
        (std::string("RawRoundTrip/") + placement.name).c_str(),
        [fd = placement.echo](benchmark::State& state) { RawRoundTrip(state, fd); })
        ->UseRealTime();
  }

  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  for (const Placement& placement : placements) {
    const auto framed = reporter.seconds.find(std::string("FramedCall/") + placement.name);
    const auto raw = reporter.seconds.find(std::string("RawRoundTrip/") + placement.name);
    if (framed != reporter.seconds.end() && raw != reporter.seconds.end()) {
      std::printf("framed call / raw round trip, %s: %.2f\n", placement.name,
                  framed->second / raw->second);
    }
  }

  for (const Placement& placement : placements) Send(placement.peer, Message::Plain(WM_CLOSE));
  for (FILE* peer : peers) pclose(peer);
  CloseDesktop();
  std::filesystem::remove_all(g_desktop);
  return 0;
}
