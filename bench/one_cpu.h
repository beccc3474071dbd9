// Keeps a benchmark and the programs it starts on the one CPU it began on.
//
// A ratio compares two programs that run one after the other. The CPUs of a machine need
// not be equally fast (a virtual machine's often are not), and a run whose halves land on
// different CPUs reads the difference between the CPUs instead of that between the
// programs. Children inherit the affinity, so the comparison programs run there too.
#pragma once

#include <sched.h>

#include <cstdio>

inline void StayOnThisCpu() {
  const int cpu = sched_getcpu();
  cpu_set_t set;
  CPU_ZERO(&set);
  CPU_SET(cpu, &set);
  if (cpu < 0 || sched_setaffinity(0, sizeof set, &set) != 0) {
    std::fprintf(stderr, "benchmark: cannot stay on one CPU; the ratio may mix two\n");
    return;
  }
  std::fprintf(stderr, "benchmark: running on CPU %d\n", cpu);
}
