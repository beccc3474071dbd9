// The velcrum program's start-up.
//
// PanelStartToWindow: from starting a panel (the velcrum program under a panel's name, on
// the offscreen platform, network switched off, a script whose start-up line closes the
// panel again) until its main window is registered on the desktop. NxiStartToWindow, the
// baseline in the same run: the same for nxi, a bare program with one window on the bus.
// The ratio says what the runtime's own start-up adds. Each panel run also reports, from
// its trace points, the milliseconds from its entry to the start of line 30000.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "recording_reporter.h"
#include "window_entry_watch.h"

namespace {

namespace fs = std::filesystem;

fs::path g_work;  // the run's desktop, drive C and panel

double StartUntilWindow(const std::string& program, const std::string& errorFile, pid_t& child) {
  return StartUntilWindows(program, (g_work / "desktop").string(), errorFile, 1, child);
}

// "Velcrum: 13d1 - running STARTUP, time since start: N" in the panel's output.
int EntryToLine30000(const std::string& errorFile) {
  std::ifstream file(errorFile);
  const std::string head = "Velcrum: 13d1 - running STARTUP, time since start: ";
  for (std::string line; std::getline(file, line);) {
    if (line.rfind(head, 0) == 0) return std::atoi(line.c_str() + head.size());
  }
  return -1;
}

void BM_PanelStartToWindow(benchmark::State& state) {
  const std::string errors = (g_work / "panel.err").string();
  double line30000 = 0;
  for (auto _ : state) {
    pid_t child = 0;
    const double seconds = StartUntilWindow((g_work / "BENCH.EXE").string(), errors, child);
    waitpid(child, nullptr, 0);
    const int entryToLine = EntryToLine30000(errors);
    if (seconds < 0 || entryToLine < 0) {
      state.SkipWithError("the panel did not start: see its standard error in the work directory");
      break;
    }
    state.SetIterationTime(seconds);
    line30000 += entryToLine;
  }
  state.counters["entry_to_line_30000_ms"] =
      benchmark::Counter(line30000, benchmark::Counter::kAvgIterations);
}

void BM_NxiStartToWindow(benchmark::State& state) {
  TimeNxiStarts(state, NXI_PATH, (g_work / "desktop").string(), (g_work / "nxi.err").string());
}

BENCHMARK(BM_NxiStartToWindow)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanelStartToWindow)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

// A drive C with the control libraries and a VELCRUM.INI, and the panel.
bool PrepareWork() {
  char dir[] = "/tmp/velcrum-bench-startup-XXXXXX";
  if (!mkdtemp(dir)) return false;
  g_work = dir;
  const fs::path windows = g_work / "root" / "drive_c" / "windows";
  fs::create_directories(windows);
  fs::create_directories(g_work / "desktop");
  fs::permissions(g_work / "desktop", fs::perms::owner_all);
  fs::copy_file(VORN_CC_PATH, windows / "VORN_CC.DLL");
  fs::copy_file(BWCC32_PATH, windows / "BWCC32.DLL");
  std::ofstream(windows / "VELCRUM.INI") << "[System]\r\nKALNXIEnable=0\r\nTimeStampStartup=1\r\n";
  std::ofstream(g_work / "BENCH.AST") << "30000, \"EQ 100\"\n";
  fs::create_symlink(VELCRUM_PATH, g_work / "BENCH.EXE");
  setenv("VELCRUM_DESKTOP", (g_work / "desktop").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (g_work / "desktop").c_str(), 1);
  setenv("VELCRUM_ROOT", (g_work / "root").c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("VELCRUM_MESSAGEBOX", "ok", 1);
  unsetenv("VELCRUM_DRIVE_C");
  unsetenv("CC_ROOT");
  unsetenv("CC_SYSTEM");
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (!PrepareWork()) return 1;
  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto panel = reporter.seconds.find("BM_PanelStartToWindow");
  const auto nxi = reporter.seconds.find("BM_NxiStartToWindow");
  if (panel != reporter.seconds.end() && nxi != reporter.seconds.end()) {
    std::printf("panel start / nxi start, until the main window is registered: %.2f\n",
                panel->second / nxi->second);
  }
  fs::remove_all(g_work);
  return 0;
}
