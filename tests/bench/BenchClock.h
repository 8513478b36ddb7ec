// Clocks of the benchmarks: the wall clock, the thread's CPU time and the median of a series.
#pragma once

#include <algorithm>
#include <vector>

#include "win/Win.h"

namespace ql::bench {

// The performance counter in milliseconds.
inline double WallMs() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  ::QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / perMs;
}

// CPU time of the calling thread in milliseconds. The clock ticks coarsely (the system tick),
// so callers measure many repetitions and divide.
inline double ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ticks = [](FILETIME t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

// The middle value (the mean of the two middle ones for an even count); 0 for none.
inline double Median(std::vector<double> v) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace ql::bench
