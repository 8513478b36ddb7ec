// One tick of each module that runs by itself, in thread CPU time: the clock (time text, then the
// tile composed again), the RAM/CPU gauges (memory status, processor times, tile composed) and the
// virtual screens with 50 application windows open (enumeration, lists, miniature), against a raw
// EnumWindows over the same windows. Many repetitions per figure (the thread clock under Wine
// ticks coarsely). Prints BENCH lines; fails only when the screens did not see the windows.
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "BenchClock.h"
#include "FaceFixture.h"
#include "modules/KovaClock.h"
#include "modules/KovaStat.h"
#include "modules/VirtualDesk.h"
#include "win/Win.h"

namespace {

constexpr int kWindows = 50;
constexpr int kRepeats = 400;

using ql::bench::ThreadCpuMs;

double PerCall(const std::function<void()>& work) {
  work();  // warm
  const double start = ThreadCpuMs();
  for (int i = 0; i < kRepeats; ++i) work();
  return (ThreadCpuMs() - start) / kRepeats;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  if (::IsWindowVisible(window) != FALSE) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

}  // namespace

int main() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  // Owned tool windows: application windows for the enumeration, hidden and shown without delay.
  ql::win::OwnedWindow owner(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Owner", WS_POPUP, 0, 0, 1, 1,
                                               nullptr, nullptr, instance, nullptr));
  std::vector<ql::win::OwnedWindow> windows;
  for (int i = 0; i < kWindows; ++i) {
    windows.emplace_back(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Bench window", WS_POPUP, 10 + i, 10,
                                           100, 50, owner.get(), nullptr, instance, nullptr));
    ::ShowWindow(windows.back().get(), SW_SHOWNOACTIVATE);
  }

  ql::test::FakeSite site(64, 64);
  const ql::TileLook look{RGB(192, 192, 192), nullptr, true};

  ql::TKovaClock clock(site);
  const double clockMs = PerCall([&] {
    clock.Tick();
    ql::ComposeFaceTile(clock, 64, 64, look);
  });

  ql::TKovaStat stat(site);
  stat.Start(true);
  const double statMs = PerCall([&] {
    stat.Tick();
    ql::ComposeFaceTile(stat, 64, 64, look);
  });

  ql::DeskScreens screens(nullptr);
  ql::TVirtualDesk desk(site, screens);
  const double deskMs = PerCall([&] {
    desk.Tick();
    ql::ComposeFaceTile(desk, 64, 64, look);
  });
  const std::size_t listed = screens.List(1).size();

  int visible = 0;
  const double enumMs = PerCall([&] {
    visible = 0;
    ::EnumWindows(&CountWindow, reinterpret_cast<LPARAM>(&visible));
  });

  std::printf("BENCH clock tick: %.3f ms CPU (text and the tile composed)\n", clockMs);
  std::printf("BENCH gauges tick: %.3f ms CPU (memory, processor, threads, the tile composed)\n", statMs);
  std::printf("BENCH virtual screens tick: %.3f ms CPU with %zu application windows listed\n", deskMs,
              listed);
  std::printf("BENCH raw EnumWindows: %.3f ms CPU over %d visible top-level windows\n", enumMs, visible);
  if (listed < static_cast<std::size_t>(kWindows)) {
    std::printf("the virtual screens listed %zu of %d windows\n", listed, kWindows);
    return 1;
  }
  return 0;
}
