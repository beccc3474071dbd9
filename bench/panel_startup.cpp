// A panel's start until its first panel is on the desktop, by the number of controls.
//
// Each run starts the velcrum program under a panel's name (offscreen platform, network
// switched off) whose line 30000 shows panel 1 and then ends the process at once
// ("PS 1:EQ 1000"); it is timed until the process has ended, so the figure is an upper
// bound of the time until the panel, with every control made, was shown. Panel300 has 300
// controls (buttons, texts, edits, check boxes, scroll bars and latching buttons in a
// grid), Panel1 one; NxiStartToWindow, nxi's start until its window is registered, is the
// baseline of the same run. The run ends with the ratios and the resident memory of a
// panel that stays open with 300 controls.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "recording_reporter.h"
#include "window_entry_watch.h"

namespace {

namespace fs = std::filesystem;

fs::path g_work;  // the run's desktop, drive C and panels

// The program started until it has registered `windows` windows, its standard error in
// the work directory.
double StartUntilRegistered(const std::string& program, int windows, pid_t& child) {
  const std::string errors = (g_work / (fs::path(program).stem().string() + ".err")).string();
  return StartUntilWindows(program, (g_work / "desktop").string(), errors, windows, child);
}

// Starts the program and waits for its end. The time taken, or a negative number when it
// failed.
double StartUntilExit(const std::string& program) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    std::freopen((g_work / (fs::path(program).stem().string() + ".err")).c_str(), "w", stderr);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  const auto end = std::chrono::steady_clock::now();
  const bool good = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return good ? std::chrono::duration<double>(end - start).count() : -1;
}

// Whether the panel's standard error says that its dialog could not be made.
bool CreationFailed(const char* panel) {
  std::ifstream errors(g_work / (fs::path(panel).stem().string() + ".err"));
  for (std::string line; std::getline(errors, line);) {
    if (line.find("CreateDialog FAILED") != std::string::npos) return true;
  }
  return false;
}

void RunPanel(benchmark::State& state, const char* panel) {
  for (auto _ : state) {
    const double seconds = StartUntilExit((g_work / panel).string());
    if (seconds < 0 || CreationFailed(panel)) {
      state.SkipWithError("the panel did not show: see its standard error in the work directory");
      break;
    }
    state.SetIterationTime(seconds);
  }
}

void BM_Panel300StartToPanel(benchmark::State& state) {
  RunPanel(state, "P300.EXE");
}
void BM_Panel1StartToPanel(benchmark::State& state) {
  RunPanel(state, "P1.EXE");
}

void BM_NxiStartToWindow(benchmark::State& state) {
  TimeNxiStarts(state, NXI_PATH, (g_work / "desktop").string(), (g_work / "nxi.err").string());
}

BENCHMARK(BM_NxiStartToWindow)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Panel1StartToPanel)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Panel300StartToPanel)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

// A dialog of `controls` controls in a grid of 20 columns, 60 by 14 dialog units each.
std::string PanelScript(int controls) {
  static const char* const kStatements[] = {
      "PUSHBUTTON \"Src\", %d, %d, %d, 56, 12",
      "LTEXT \"Label\", %d, %d, %d, 56, 12",
      "EDITTEXT %d, %d, %d, 56, 12",
      "CONTROL \"Cam\", %d, \"VornLatch\", WS_TABSTOP, %d, %d, 56, 12",
      "AUTOCHECKBOX \"Tally\", %d, %d, %d, 56, 12",
      "SCROLLBAR %d, %d, %d, 56, 12",
  };
  std::ostringstream rc;
  rc << "#include <windows.h>\n1 DIALOGEX 0, 0, 1210, " << (controls / 20 + 1) * 14 + 10
     << "\nSTYLE DS_SETFONT | WS_POPUP | WS_CAPTION\nCAPTION \"Bench panel\"\n"
        "FONT 8, \"MS Sans Serif\"\nBEGIN\n";
  for (int i = 0; i < controls; ++i) {
    char line[160];
    std::snprintf(line, sizeof line, kStatements[i % 6], 1001 + i, 5 + (i % 20) * 60,
                  5 + (i / 20) * 14);
    rc << "    " << line << "\n";
  }
  rc << "END\n";
  return rc.str();
}

void MakePanel(const char* name, int controls, const char* startUp) {
  const fs::path panel = g_work / name;
  fs::create_symlink(VELCRUM_PATH, panel);
  std::ofstream(fs::path(panel).replace_extension(".rc")) << PanelScript(controls);
  std::ofstream(fs::path(panel).replace_extension(".AST")) << "30000, \"" << startUp << "\"\n";
}

bool PrepareWork() {
  char dir[] = "/tmp/velcrum-bench-panel-XXXXXX";
  if (!mkdtemp(dir)) return false;
  g_work = dir;
  const fs::path windows = g_work / "root" / "drive_c" / "windows";
  fs::create_directories(windows);
  fs::create_directories(g_work / "desktop");
  fs::permissions(g_work / "desktop", fs::perms::owner_all);
  fs::copy_file(VORN_CC_PATH, windows / "VORN_CC.DLL");
  fs::copy_file(BWCC32_PATH, windows / "BWCC32.DLL");
  // The system debugger's lines go to standard error, where a failed creation shows.
  std::ofstream(windows / "VELCRUM.INI")
      << "[System]\r\nKALNXIEnable=0\r\nFastClose=1\r\n[Debug]\r\nEnableOutputDBWIN=1\r\n";
  MakePanel("P300.EXE", 300, "PS 1:EQ 1000");
  MakePanel("P1.EXE", 1, "PS 1:EQ 1000");
  MakePanel("RSS300.EXE", 300, "PS 1");
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

// VmRSS of a process in MiB, -1 when it cannot be read.
double ResidentMiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024;
  }
  return -1;
}

// The resident memory of a panel with 300 controls once it is shown and has settled.
double Panel300ResidentMiB() {
  pid_t child = 0;
  if (StartUntilRegistered((g_work / "RSS300.EXE").string(), 2, child) < 0) return -1;
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const double mib = ResidentMiB(child);
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  return mib;
}

}  // namespace

int main(int argc, char** argv) {
  if (!PrepareWork()) return 1;
  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto find = [&reporter](const char* name) {
    const auto found = reporter.seconds.find(name);
    return found == reporter.seconds.end() ? -1.0 : found->second;
  };
  const double panel300 = find("BM_Panel300StartToPanel");
  const double panel1 = find("BM_Panel1StartToPanel");
  const double nxi = find("BM_NxiStartToWindow");
  if (panel300 > 0 && panel1 > 0 && nxi > 0) {
    std::printf("300-control panel start: %.1f ms (target 150 ms)\n", panel300);
    std::printf("300-control panel / 1-control panel: %.2f (target at most 2)\n",
                panel300 / panel1);
    std::printf("300-control panel / nxi start: %.2f\n", panel300 / nxi);
  }
  std::printf("resident memory of a shown 300-control panel: %.1f MiB (target at most 40)\n",
              Panel300ResidentMiB());
  fs::remove_all(g_work);
  return 0;
}
