#pragma once
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
namespace orvane { inline void Phase(const char *name) {
  static auto last = std::chrono::steady_clock::now();
  static double lastCpu = 0;
  static bool on = std::getenv("ORVANE_PHASES");
  auto now = std::chrono::steady_clock::now();
  rusage ru{}; getrusage(RUSAGE_SELF, &ru);
  double cpu = ru.ru_utime.tv_sec*1e3 + ru.ru_utime.tv_usec/1e3 + ru.ru_stime.tv_sec*1e3 + ru.ru_stime.tv_usec/1e3;
  if (on) std::fprintf(stderr, "%-10s %7.1f ms cpu %7.1f\n", name, std::chrono::duration<double, std::milli>(now-last).count(), cpu-lastCpu);
  last = now; lastCpu = cpu; } }
