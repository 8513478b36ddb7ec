// Rebuilding the bar: EffaceBarreBoutons + DessineBarre for 100 buttons with icons, measured in
// thread CPU time and wall time. Prints figures; fails only if the bar was not built.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchClock.h"
#include "DockFixture.h"

using ql::bench::Median;
using ql::bench::ThreadCpuMs;

int main() {
  ql::testing::DockFixture f;
  ql::testing::DockFixture::FillStore(f.store, ql::TConfig{}, 100, false, ql::testing::SystemIconLibrary());
  if (!f.Start()) return 1;
  if (std::getenv("QL_BENCH_NOICON") != nullptr) {
    for (ql::TBouton* b : f.dock->Boutons().MainBar()) b->IconPath.clear();
  }
  f.dock->FormShow();
  // The thread clock ticks coarsely: CPU time is taken over all the rebuilds, wall time per rebuild.
  constexpr int kRuns = 30;
  std::vector<double> wall;
  const double c0 = ThreadCpuMs();
  for (int i = 0; i < kRuns; ++i) {
    const auto w0 = std::chrono::steady_clock::now();
    f.Rebuild();
    const auto w1 = std::chrono::steady_clock::now();
    wall.push_back(std::chrono::duration<double, std::milli>(w1 - w0).count());
  }
  const double cpu = (ThreadCpuMs() - c0) / kRuns;
  if (f.dock->TileCount() != 100) return 1;
  std::printf("BENCH DessineBarre 100 buttons: %.2f ms CPU per rebuild (mean of %d), median %.2f ms wall\n",
              cpu, kRuns, Median(wall));
  return 0;
}
