// Building and destroying a bar of 100 windowless tiles on one host window, the way the dock
// rebuilds its bar: each tile gets its place, look, the bar's texture, a hint and an icon of
// shell32.dll (indices 0 to 99, modulo the number of icons there). The window paints between two
// rebuilds, as it does when the user sees the bar. Measured in thread CPU time over many
// repetitions (the thread clock under Wine ticks every 10 ms), without and with an IconCache, for
// the first build (icons read from the file) and for a rebuild (icons from the cache), plus
// painting the whole bar. Wall time includes the work of the Wine server. Prints BENCH lines;
// fails only when the bar was not built as asked.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "TileWindow.h"
#include "controls/Hints.h"
#include "controls/IconCache.h"
#include "controls/KovaBtn.h"
#include "win/Utf.h"
#include "win/Win.h"

namespace {

constexpr int kTiles = 100;
constexpr int kSide = 48 + 16;

using ql::bench::Median;
using ql::bench::ThreadCpuMs;

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

struct Bar {
  ql::test::TileWindow& window;
  std::string library;
  int icons = 0;
  HBITMAP texture = nullptr;
  std::vector<std::unique_ptr<ql::TKovaBtn>> tiles;

  // DessineBarre's sequence of properties for every tile of a main bar of 10 x 10 tiles.
  void Build() {
    tiles.reserve(kTiles);
    for (int i = 0; i < kTiles; ++i) {
      auto b = std::make_unique<ql::TKovaBtn>();
      const int x = (i % 10) * kSide;
      const int y = (i / 10) * kSide;
      if (!b->Create(window.host(), x, y, kSide, kSide)) continue;
      b->SetAutoSize(false);
      b->SetIconSize(48);
      b->SetBorder(true);
      b->SetShowHint(true);
      b->SetTag(i + 1);
      b->SetColor(RGB(192, 192, 192));
      b->SetTexture(texture);
      b->SetIconSource(library, i % icons);
      b->SetHint("Button " + std::to_string(i + 1));
      b->SetCaption(std::string());
      b->SetShowDots(true);
      b->SetGroupe(ql::TGroupeState::gNone);
      b->SetBounds(x, y, kSide, kSide);
      tiles.push_back(std::move(b));
    }
  }
  // EffaceBarreBoutons: from the last tile to the first.
  void Destroy() {
    while (!tiles.empty()) tiles.pop_back();
  }
  bool Complete() const {
    if (static_cast<int>(tiles.size()) != kTiles) return false;
    return std::all_of(tiles.begin(), tiles.end(), [](const auto& t) { return t->HasIcon(); });
  }
};

struct Figure {
  double cpuMs = 0;   // per repetition
  double wallMs = 0;  // median per repetition
  int runs = 0;
};

// Runs `step` (with `before` untimed before each run) until at least `minCpuMs` of CPU time and
// `minRuns` runs have been spent in it.
Figure Measure(const std::function<void()>& before, const std::function<void()>& step, double minCpuMs,
               int minRuns) {
  Figure f;
  std::vector<double> wall;
  double cpu = 0;
  while (cpu < minCpuMs || f.runs < minRuns) {
    if (before) before();
    const double c0 = ThreadCpuMs();
    const auto w0 = std::chrono::steady_clock::now();
    step();
    const auto w1 = std::chrono::steady_clock::now();
    cpu += ThreadCpuMs() - c0;
    wall.push_back(std::chrono::duration<double, std::milli>(w1 - w0).count());
    ++f.runs;
  }
  f.cpuMs = cpu / f.runs;
  f.wallMs = Median(wall);
  return f;
}

void Print(const char* what, const Figure& f) {
  std::printf("BENCH %s: %.2f ms CPU per %d tiles (mean of %d), median %.2f ms wall\n", what, f.cpuMs, kTiles,
              f.runs, f.wallMs);
}

}  // namespace

int main() {
  ql::test::TileWindow window(10 * kSide, 10 * kSide);
  if (window.hwnd() == nullptr) return 1;
  ql::Hints hints;
  if (!hints.Create(window.hwnd())) return 1;

  wchar_t dir[MAX_PATH] = {};
  ::GetSystemDirectoryW(dir, MAX_PATH);
  const std::wstring shell32 = std::wstring(dir) + L"\\shell32.dll";
  const int icons = static_cast<int>(::ExtractIconExW(shell32.c_str(), -1, nullptr, nullptr, 0));
  if (icons <= 0) {
    std::printf("no icons in %ls\n", shell32.c_str());
    return 1;
  }
  // A 64 x 64 24-bit DIB section, as a texture loaded from a .bmp file is.
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = 64;
  bi.bmiHeader.biHeight = 64;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ql::win::Bitmap texture(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!texture) return 1;

  Bar bar{window, ql::win::Narrow(shell32), icons, texture.get(), {}};
  bool ok = true;
  auto check = [&](const char* what) {
    if (!bar.Complete()) {
      std::printf("the bar %s was not built: %zu tiles\n", what, bar.tiles.size());
      ok = false;
    }
  };
  auto rebuild = [&] {
    bar.Destroy();
    bar.Build();
  };
  auto paint = [&] { ::UpdateWindow(window.hwnd()); };

  // Without a cache every build reads the 100 icons from the file.
  window.host().Attach(window.hwnd(), &hints, nullptr);
  bar.Build();
  check("without a cache");
  Pump();
  const Figure plain = Measure(paint, rebuild, 1500, 10);
  check("without a cache");

  // With a cache: a first build (the cache empty, the icons read) and the rebuilds after it.
  ql::IconCache cache;
  window.host().Attach(window.hwnd(), &hints, &cache);
  const Figure first = Measure(
      [&] {
        bar.Destroy();
        cache.Clear();
        paint();
      },
      [&] { bar.Build(); }, 1500, 10);
  check("with an empty cache");
  const Figure cached = Measure(paint, rebuild, 1500, 50);
  check("from the cache");
  if (cache.size() != static_cast<std::size_t>(std::min(icons, kTiles))) {
    std::printf("the cache holds %zu icons\n", cache.size());
    ok = false;
  }

  // Painting the whole bar once (each tile composed and copied).
  const Figure painted = Measure(
      nullptr, [&] { ::RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }, 1000,
      20);
  Pump();

  Print("tiles rebuild without IconCache (destroy + create, icons read)", plain);
  Print("tiles first build with IconCache (create, icons read)", first);
  Print("tiles rebuild with IconCache (destroy + create, icons cached)", cached);
  Print("tiles paint of the whole bar", painted);
  bar.Destroy();
  return ok ? 0 : 1;
}
