// Times one poll tick of the task bar (TTaskBar, real host windows and buttons) on desktops of 50
// and 200 application windows: idle (nothing changed) and with one window appearing, against a
// raw pass over the same windows in the same run (EnumWindows and one title read per window).
// Prints "BENCH ..." lines; fails only when a button is missing.
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "core/Config.h"
#include "taskbar/TaskBar.h"
#include "win/Handles.h"
#include "win/Win.h"
#include "win/Win32WindowSystem.h"

namespace {

using ql::bench::WallMs;

constexpr int kRuns = 15;
constexpr int kTicksPerRun = 200;
constexpr int kAppearances = 15;

BOOL CALLBACK RawVisit(HWND h, LPARAM bytes) {
  wchar_t text[256];
  *reinterpret_cast<std::size_t*>(bytes) += static_cast<std::size_t>(::InternalGetWindowText(h, text, 256));
  return TRUE;
}

ql::win::OwnedWindow AppWindow(int i) {
  const std::wstring title = L"Bench application " + std::to_wstring(i);
  // Off the screen: listed as visible, never mapped on the display.
  return ql::win::OwnedWindow(::CreateWindowExW(0, L"QlBenchTaskApp", title.c_str(),
                                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, -3000, -3000, 100, 80,
                                                nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
}

bool Measure(int count) {
  std::vector<ql::win::OwnedWindow> windows;
  for (int i = 0; i < count; ++i) {
    windows.push_back(AppWindow(i));
    if (!windows.back()) return false;
  }
  ql::TConfigTask cfg;
  cfg.SmallStyle = true;
  ql::TTaskBar bar;
  if (!bar.CreateForm(nullptr, L"TTaskBar", L"TaskBar", WS_POPUP, WS_EX_TOOLWINDOW, 0, -500, 0, 0))
    return false;
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  bar.UseIconFolder(std::filesystem::path(temp));
  bar.Cree(cfg);
  bar.Init();
  bar.Timer1Timer();  // every window gets its button
  for (const auto& w : windows) {
    if (bar.ButtonOf(ql::win::IdOf(w.get())) == nullptr) {
      std::printf("no button for a window\n");
      return false;
    }
  }

  // CPU time in runs long enough for the system's coarse CPU clock; wall time per tick as well.
  std::vector<double> rawCpu;
  std::vector<double> idleCpu;
  std::vector<double> rawIdleWall;
  std::vector<double> idleWall;
  std::size_t bytes = 0;
  for (int run = 0; run < kRuns; ++run) {
    double c0 = ql::bench::ThreadCpuMs();
    double t0 = WallMs();
    for (int k = 0; k < kTicksPerRun; ++k) ::EnumWindows(&RawVisit, reinterpret_cast<LPARAM>(&bytes));
    rawIdleWall.push_back((WallMs() - t0) / kTicksPerRun);
    rawCpu.push_back((ql::bench::ThreadCpuMs() - c0) / kTicksPerRun);
    c0 = ql::bench::ThreadCpuMs();
    t0 = WallMs();
    for (int k = 0; k < kTicksPerRun; ++k) bar.Timer1Timer();
    idleWall.push_back((WallMs() - t0) / kTicksPerRun);
    idleCpu.push_back((ql::bench::ThreadCpuMs() - c0) / kTicksPerRun);
  }

  std::vector<double> rawWall;
  std::vector<double> appearWall;
  for (int a = 0; a < kAppearances; ++a) {
    double t0 = WallMs();
    ::EnumWindows(&RawVisit, reinterpret_cast<LPARAM>(&bytes));
    rawWall.push_back(WallMs() - t0);
    ql::win::OwnedWindow extra = AppWindow(count + a);
    t0 = WallMs();
    bar.Timer1Timer();
    appearWall.push_back(WallMs() - t0);
    if (bar.ButtonOf(ql::win::IdOf(extra.get())) == nullptr) return false;
    extra.reset();
    bar.Timer1Timer();
  }

  const double raw = ql::bench::Median(rawCpu);
  const double idle = ql::bench::Median(idleCpu);
  const double rawW = ql::bench::Median(rawIdleWall);
  const double idleW = ql::bench::Median(idleWall);
  std::printf(
      "BENCH taskbar_tick windows=%d raw_pass_cpu_ms=%.3f idle_tick_cpu_ms=%.3f idle_over_raw_cpu=%.2f "
      "raw_pass_wall_ms=%.3f idle_tick_wall_ms=%.3f idle_over_raw_wall=%.2f raw_pass_once_wall_ms=%.3f "
      "appearing_tick_wall_ms=%.3f (medians; %d runs of %d ticks, %d appearances)\n",
      count, raw, idle, raw > 0 ? idle / raw : 0.0, rawW, idleW, rawW > 0 ? idleW / rawW : 0.0,
      ql::bench::Median(rawWall), ql::bench::Median(appearWall), kRuns, kTicksPerRun, kAppearances);
  bar.Enleve();
  return bytes > 0;
}

}  // namespace

int main() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
  wc.lpszClassName = L"QlBenchTaskApp";
  if (::RegisterClassExW(&wc) == 0) return 1;
  return Measure(50) && Measure(200) ? 0 : 1;
}
