// The interpreter's speed on a counting loop, against the same loop in Tcl.
//
// Velcrum runs line 100, "NA a% 1 a%:JL a% N 100 0", through the real executor with the
// debug output off: every pass of the line is one loop iteration of two commands, and
// the line is fetched from the script store on every pass. Tcl runs
// `while {$a < N} {incr a}` inside a proc (so that it is byte-compiled) in a tclsh child
// process that times itself with `time`. Both count to the same N; each is timed a few
// times and its best run counts. The last line printed is the summary, for example
//   velcrum/tcl ratio: 0.83 (velcrum 12.1 ns/iteration, tcl 14.6 ns/iteration)
// Build optimised (RelWithDebInfo) for meaningful figures.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string>

#include "interpreter/executor.h"
#include "interpreter/format.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "one_cpu.h"
#include "runtime/module.h"
#include "shell/display_free_modules.h"

namespace velcrum {
namespace {

constexpr int kLoopCount = 10'000'000;
constexpr int kRuns = 3;
constexpr double kCommandsPerIteration = 2;

double bestVelcrumNs = std::numeric_limits<double>::infinity();
double bestTclNs = std::numeric_limits<double>::infinity();

void VelcrumLoop(benchmark::State& state) {
  InstallModules(DisplayFreeModules());
  ResetModules();
  InterpreterSettings settings;  // every debug switch off, parameter inspection on
  g_settings = settings;
  VLSTMSup_SetMem(100, Format("NA a%% 1 a%%:JL a%% %d 100 0", kLoopCount));
  int32_t& counter = g_lIntegerVariables[VariableIndex('a')];
  for (auto _ : state) {
    counter = 0;
    const auto start = std::chrono::steady_clock::now();
    RunLine(100, 0);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(elapsed.count());
    if (counter != kLoopCount) {
      state.SkipWithError("the loop did not count to its end");
      return;
    }
    bestVelcrumNs = std::min(bestVelcrumNs, elapsed.count() * 1e9 / kLoopCount);
  }
  state.counters["ns_per_iteration"] = bestVelcrumNs;
  state.counters["ns_per_command"] = bestVelcrumNs / kCommandsPerIteration;
}

// Runs the Tcl loop once in a tclsh child process (after a short warm-up run) and
// returns the microseconds Tcl's own `time` measured; negative when tclsh failed.
double RunTclLoop(const std::filesystem::path& script) {
  const std::string command = "tclsh '" + script.string() + "'";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  double microseconds = -1;
  long counted = 0;
  if (std::fscanf(pipe, "%lf %ld", &microseconds, &counted) != 2 || counted != kLoopCount) {
    microseconds = -1;
  }
  if (pclose(pipe) != 0) microseconds = -1;
  return microseconds;
}

void TclLoop(benchmark::State& state) {
  std::random_device random;
  const std::filesystem::path script =
      std::filesystem::temp_directory_path() / Format("velcrum-bench-%08x.tcl", random());
  std::ofstream(script) << Format(
      "proc loop {} { set a 0; while {$a < %d} {incr a}; return $a }\n"
      "proc warm {} { set a 0; while {$a < 1000} {incr a}; return $a }\n"
      "warm\n"
      "set t [time {set r [loop]}]\n"
      "puts \"[lindex $t 0] $r\"\n",
      kLoopCount);
  for (auto _ : state) {
    const double microseconds = RunTclLoop(script);
    if (microseconds < 0) {
      state.SkipWithError("tclsh did not run the loop");
      break;
    }
    state.SetIterationTime(microseconds / 1e6);
    bestTclNs = std::min(bestTclNs, microseconds * 1e3 / kLoopCount);
  }
  std::filesystem::remove(script);
  state.counters["ns_per_iteration"] = bestTclNs;
}

BENCHMARK(VelcrumLoop)->Iterations(kRuns)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TclLoop)->Iterations(kRuns)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velcrum

int main(int argc, char** argv) {
  StayOnThisCpu();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  using velcrum::bestTclNs;
  using velcrum::bestVelcrumNs;
  if (std::isinf(bestVelcrumNs) || std::isinf(bestTclNs)) {
    std::printf("velcrum/tcl ratio: unavailable (a loop did not run)\n");
    return 1;
  }
  std::printf("velcrum/tcl ratio: %.2f (velcrum %.1f ns/iteration, tcl %.1f ns/iteration)\n",
              bestVelcrumNs / bestTclNs, bestVelcrumNs, bestTclNs);
  return 0;
}
