// Times one poll of the task bar's window list on a desktop of 300 real top-level windows (200
// task windows, 100 tool windows): ListTaskWindows over the Win32 window system, and the same
// with the title of every listed window read, as the task bar's title pass does on every tick.
// Prints "BENCH ..." lines; fails only when the list is wrong.
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "core/WindowLists.h"
#include "win/Handles.h"
#include "win/Win.h"
#include "win/Win32WindowSystem.h"

namespace {

using ql::bench::WallMs;

constexpr int kTasks = 200;
constexpr int kTools = 100;
constexpr int kRuns = 30;
constexpr int kPollsPerRun = 10;

}  // namespace

int main() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QlBenchWindow";
  if (::RegisterClassExW(&wc) == 0) return 1;
  std::vector<ql::win::OwnedWindow> windows;
  for (int i = 0; i < kTasks + kTools; ++i) {
    const std::wstring title = L"Bench window " + std::to_wstring(i);
    // Off the screen: listed as visible, never mapped on the display.
    windows.emplace_back(::CreateWindowExW(i < kTasks ? 0 : WS_EX_TOOLWINDOW, wc.lpszClassName, title.c_str(),
                                           WS_OVERLAPPEDWINDOW | WS_VISIBLE, -3000, -3000, 100, 80, nullptr,
                                           nullptr, wc.hInstance, nullptr));
    if (!windows.back()) return 1;
  }

  ql::win::Win32WindowSystem system;
  ql::WindowLists lists(system);
  std::vector<std::string> list;
  std::vector<double> listMs;
  std::vector<double> titlesMs;
  std::size_t titleBytes = 0;
  for (int run = 0; run < kRuns; ++run) {
    double t0 = WallMs();
    for (int p = 0; p < kPollsPerRun; ++p) {
      list.clear();
      bool changed = false;
      lists.ListTaskWindows(list, changed);
    }
    listMs.push_back((WallMs() - t0) / kPollsPerRun);

    t0 = WallMs();
    for (int p = 0; p < kPollsPerRun; ++p) {
      list.clear();
      bool changed = false;
      lists.ListTaskWindows(list, changed);
      for (const std::string& h : list) titleBytes += system.Title(*ql::ParseHandleText(h)).size();
    }
    titlesMs.push_back((WallMs() - t0) / kPollsPerRun);
  }

  int ours = 0;
  for (const auto& w : windows) {
    const std::string text = ql::HandleText(ql::win::IdOf(w.get()));
    for (const std::string& h : list) ours += h == text ? 1 : 0;
  }
  std::printf(
      "BENCH window_poll windows=%d listed_ours=%d list_ms=%.3f list_and_titles_ms=%.3f (median wall time "
      "of one poll, %d runs)\n",
      kTasks + kTools, ours, ql::bench::Median(listMs), ql::bench::Median(titlesMs), kRuns);
  if (ours != kTasks || titleBytes == 0) {
    std::printf("wrong list: %d of our %d task windows listed\n", ours, kTasks);
    return 1;
  }
  return 0;
}
