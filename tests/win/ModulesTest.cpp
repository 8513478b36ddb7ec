// The module faces on memory DCs and real windows: the clock's layouts and bitmaps, the virtual
// screens' miniature and window moves, the recycle bin's drops, the gauges, and their GDI objects.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "FaceFixture.h"
#include "PixelSurface.h"
#include "core/Bouton.h"
#include "core/Config.h"
#include "core/MemoryStore.h"
#include "core/PerfFigures.h"
#include "core/VirtualScreens.h"
#include "modules/KovaClock.h"
#include "modules/KovaRecycler.h"
#include "modules/KovaStat.h"
#include "modules/ModuleFaces.h"
#include "modules/VirtualDesk.h"
#include "taskbar/WinUtil.h"
#include "win/RegistryStore.h"
#include "win/Utf.h"

namespace ql {
namespace {

using namespace test::palette;  // NOLINT(google-build-using-namespace)
using test::FakeSite;
using test::Pixels;
using test::ReadPixels;

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kDarkGreen = RGB(0, 128, 0);
const TileLook kPlain{kSilver, nullptr, false};

Pixels Compose(const TileFace& face, int w, int h, const TileLook& look = kPlain) {
  const win::Bitmap tile = ComposeFaceTile(face, w, h, look);
  return ReadPixels(tile.get());
}

// A clock at Thursday 3 December 2026, hh:mm:ss given, in a 24-hour format.
void SetTime(TKovaClock& clock, WORD h, WORD m, WORD s) {
  clock.Now = [h, m, s] { return SYSTEMTIME{2026, 12, 4, 3, h, m, s, 0}; };
  clock.Format = [] { return TimeFormat{"HH:mm:ss", "", ""}; };
}

TEST(ClockFace, TallLayoutStripCalendarAndDigits) {
  FakeSite site;
  TKovaClock clock(site);
  SetTime(clock, 12, 30, 1);
  ASSERT_TRUE(clock.Tick());
  EXPECT_EQ(clock.Shown(), "12:30");
  Pixels p = Compose(clock, 64, 64);
  // The strip (5, 4, 54 x 14): label colour, black frame above and left, silver right and below.
  EXPECT_EQ(p.At(8, 8), kLabel);
  EXPECT_EQ(p.At(30, 3), kBlack);
  EXPECT_EQ(p.At(30, 18), kSilver);
  EXPECT_EQ(p.At(58, 10), kSilver);
  // The calendar sheet at (10, 23): white inside, black and grey shadow on the right, transparent
  // outside.
  EXPECT_EQ(p.At(48, 28), kWhite);
  EXPECT_EQ(p.At(51, 40), kBlack);
  EXPECT_EQ(p.At(52, 40), kGrey);
  EXPECT_EQ(p.At(54, 40), kSilver);
  EXPECT_EQ(p.At(10, 58), kSilver);  // the lifted corner shows the tile through
  // "1" at 15, "2" at 19, the colon at 26, "0" at 37 (all at y 5).
  EXPECT_EQ(p.At(20, 7), kGreen);
  EXPECT_EQ(p.At(24, 5), kGreen);
  EXPECT_EQ(p.At(29, 7), kGreen);
  EXPECT_EQ(p.At(40, 7), kGreen);
  EXPECT_EQ(p.At(16, 7), kLabel);  // a transparent pixel of the "1"

  // Half a second later nothing changes; the next second turns the colon off.
  EXPECT_FALSE(clock.Tick());
  SetTime(clock, 12, 30, 2);
  EXPECT_TRUE(clock.Tick());
  EXPECT_EQ(clock.Shown(), "12 30");
  p = Compose(clock, 64, 64);
  EXPECT_EQ(p.At(29, 7), kDarkGreen);
}

TEST(ClockFace, ShortLayoutWritesPlainTextWithoutStripOrSheet) {
  FakeSite site(48, 48);
  TKovaClock clock(site);
  SetTime(clock, 9, 5, 7);
  clock.SetMode(true);
  clock.Tick();
  EXPECT_EQ(clock.Shown(), "9:05A");
  const Pixels p = Compose(clock, 48, 48);
  EXPECT_EQ(p.At(8, 8), kSilver);
  // The time in black from x = (48 - 10) / 2 - 12 = 7, y = 5, above the weekday at 19.
  int left = 48, top = 48;
  for (int y = 0; y < 18; ++y) {
    for (int x = 0; x < 48; ++x) {
      if (p.At(x, y) != kBlack) continue;
      left = std::min(left, x);
      top = std::min(top, y);
    }
  }
  EXPECT_GE(left, 7);
  EXPECT_LE(left, 9);
  EXPECT_GE(top, 5);
  EXPECT_LE(top, 9);
}

TEST(ClockFace, DoubleClickOpensTheSettingsAndStartRunsTheTimer) {
  FakeSite site;
  TKovaClock clock(site);
  int opened = 0;
  clock.OpenSettings = [&opened](HWND) { ++opened; };
  MouseEvent e;
  e.button = MouseButton::Left;
  e.left = true;
  EXPECT_FALSE(clock.Mouse(MouseAction::Down, e));
  EXPECT_EQ(opened, 0);
  e.doubleClick = true;
  EXPECT_FALSE(clock.Mouse(MouseAction::Down, e));  // the dock handles the press too
  EXPECT_EQ(opened, 1);

  clock.Start(true);
  clock.Start(true);
  EXPECT_EQ(site.startedChanges, 1);
  // On a tile: the timer runs on the host's window while the face is started.
  test::FaceWindow window;
  TKovaClock* c = window.Show<TKovaClock>();
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(window.tile.FaceTicking());
  window.tile.StartFace(true);
  EXPECT_TRUE(window.tile.FaceTicking());
  EXPECT_TRUE(window.PumpUntil([&] { return !c->Shown().empty(); }, 5000));
  EXPECT_EQ(window.tile.Hint(), "Clock Quaylite");
  window.tile.StartFace(false);
  EXPECT_FALSE(window.tile.FaceTicking());
}

// A visible application window of the test for the enumeration: an owned tool window (a window
// with an owner that is no task window, as a program's palette is), which Wine hides without
// waiting for a window manager.
win::OwnedWindow AppWindow(const wchar_t* title) {
  static const HWND owner = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Owner", WS_POPUP, 0, 0, 1, 1,
                                              nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  win::OwnedWindow w(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", title, WS_POPUP, 100, 100, 200, 100,
                                       owner, nullptr, ::GetModuleHandleW(nullptr), nullptr));
  ::ShowWindow(w.get(), SW_SHOWNOACTIVATE);
  return w;
}

WindowId Id(HWND w) { return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(w)); }

TEST(VirtualDeskFace, MiniatureLightensTheActiveQuarterAndMarksScreensWithWindows) {
  win::OwnedWindow dock(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                          nullptr, ::GetModuleHandleW(nullptr), nullptr));
  DeskScreens screens(dock.get());
  FakeSite site;
  TVirtualDesk desk(site, screens);
  Pixels p = Compose(desk, 64, 64, {kSilver, nullptr, true});
  EXPECT_EQ(p.At(0, 10), kSilver);  // never framed
  EXPECT_EQ(p.At(10, 10), RGB(223, 223, 223));
  EXPECT_EQ(p.At(31, 31), RGB(223, 223, 223));
  EXPECT_EQ(p.At(32, 10), kSilver);  // the middle column frames the quarters
  EXPECT_EQ(p.At(40, 10), kSilver);
  EXPECT_EQ(p.At(3, 3), RGB(223, 223, 223));  // no window: no mark

  const win::OwnedWindow app = AppWindow(L"Virtual screens test");
  desk.Tick();
  ASSERT_NE(std::find(screens.List(1).begin(), screens.List(1).end(), Id(app.get())), screens.List(1).end());
  EXPECT_NE(desk.HintAt({10, 10}).find("Virtual screens test"), std::string::npos);
  EXPECT_EQ(desk.HintAt({40, 40}), "");

  screens.SendToScreen(app.get(), 4);
  EXPECT_TRUE(desk.Tick());
  EXPECT_FALSE(::IsWindowVisible(app.get()));
  p = Compose(desk, 64, 64);
  EXPECT_EQ(p.At(60, 60), RGB(255, 255, 0));
  EXPECT_EQ(p.At(61, 60), RGB(128, 128, 0));
  EXPECT_EQ(p.At(61, 61), RGB(102, 51, 0));
  EXPECT_EQ(p.At(60, 61), RGB(128, 128, 0));

  MouseEvent e;
  e.button = MouseButton::Left;
  e.left = true;
  e.x = 40;
  e.y = 40;
  e.shift = true;  // not the left button alone: nothing
  desk.Mouse(MouseAction::Down, e);
  EXPECT_EQ(screens.Active(), 1);
  e.shift = false;
  EXPECT_FALSE(desk.Mouse(MouseAction::Down, e));
  EXPECT_EQ(screens.Active(), 4);
  EXPECT_EQ(site.immediate, 1);  // repainted between hiding and showing
  EXPECT_TRUE(::IsWindowVisible(app.get()));
  p = Compose(desk, 64, 64);
  EXPECT_EQ(p.At(40, 40), RGB(223, 223, 223));
  EXPECT_EQ(p.At(10, 10), kSilver);
}

TEST(VirtualDeskFace, ScreensSurviveTheTileAndHiddenWindowsAreJournaled) {
  const std::string base = "Software\\QuayliteTests\\screens-" + std::to_string(::GetCurrentProcessId());
  win::RegistryStore store(HKEY_CURRENT_USER, base);
  const win::OwnedWindow app = AppWindow(L"Journaled window");
  const win::OwnedWindow other = AppWindow(L"Not ours");
  {
    DeskScreens screens(nullptr, &store);
    {
      FakeSite site;
      TVirtualDesk desk(site, screens);
      desk.Tick();
      screens.SendToScreen(app.get(), 2);
      desk.Tick();
    }  // the tile goes (a rebuild of the bar); the screens stay
    EXPECT_FALSE(::IsWindowVisible(app.get()));
    EXPECT_EQ(screens.List(2), (std::vector<WindowId>{Id(app.get())}));
    auto key = store.Open(kScreensKey, false);
    ASSERT_TRUE(key);
    EXPECT_EQ(ReadHiddenJournal(*key).size(), 1u);
  }  // the module removed: every window shown, the journal empty
  EXPECT_TRUE(::IsWindowVisible(app.get()));
  EXPECT_TRUE(ReadHiddenJournal(*store.Open(kScreensKey, false)).empty());

  // A journal left by a dock that ended hidden: the next start shows its windows, and only those
  // of the process that was journaled.
  ::ShowWindow(app.get(), SW_HIDE);
  ::ShowWindow(other.get(), SW_HIDE);
  {
    auto key = store.Open(kScreensKey, true);
    WriteHiddenJournal(*key, {{Id(app.get()), ::GetCurrentProcessId()}, {Id(other.get()), 1}});
  }
  RestoreHiddenWindows(store);
  EXPECT_TRUE(::IsWindowVisible(app.get()));
  EXPECT_FALSE(::IsWindowVisible(other.get()));
  EXPECT_TRUE(ReadHiddenJournal(*store.Open(kScreensKey, false)).empty());
  ::RegDeleteTreeW(HKEY_CURRENT_USER, win::Widen(base).c_str());
}

std::string TempFile(const char* name) {
  wchar_t dir[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, dir);
  const std::string path = win::Narrow(dir) + name;
  std::ofstream(win::Widen(path).c_str()) << "x";
  return path;
}

std::string SystemDirectory() {
  wchar_t dir[MAX_PATH] = {};
  ::GetSystemDirectoryW(dir, MAX_PATH);
  return win::Narrow(dir);
}

bool Exists(const std::string& path) {
  return ::GetFileAttributesW(win::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(RecyclerFace, DropsAskFirstAndANoDeletesNothing) {
  FakeSite site;
  TKovaRecycler bin(site, nullptr);
  std::vector<std::string> asked;
  std::vector<std::string> recycled;
  bool answer = false;
  bin.Ask = [&](HWND, const std::string& q) {
    asked.push_back(q);
    return answer;
  };
  bin.Recycle = [&](HWND, const std::string& list) { recycled.push_back(list); };
  EXPECT_TRUE(bin.Drop({"A", "B", "C"}));
  EXPECT_EQ(asked, (std::vector<std::string>{"Send to the recycle bin ?"}));
  EXPECT_TRUE(recycled.empty());
  answer = true;
  bin.Drop({"A", "B", "C"});
  EXPECT_EQ(recycled, (std::vector<std::string>{"C|B|A|"}));
  bin.SetConfirm(false);
  bin.Drop({"D", std::string(260, 'x')});
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(recycled.back(), "D|");
  bin.Drop({std::string(300, 'y')});  // nothing left: nothing deleted
  EXPECT_EQ(recycled.size(), 2u);
}

TEST(RecyclerFace, RealFilesStayOnNoAndGoOnYes) {
  FakeSite site;
  TKovaRecycler bin(site, nullptr);
  const std::string kept = TempFile("ql_recycle_kept.txt");
  const std::string gone = TempFile("ql_recycle_gone.txt");
  bin.Ask = [](HWND, const std::string&) { return false; };
  bin.Drop({kept});
  EXPECT_TRUE(Exists(kept));
  bin.SetConfirm(false);
  bin.Drop({gone});
  EXPECT_FALSE(Exists(gone));
  ::DeleteFileW(win::Widen(kept).c_str());
}

TEST(RecyclerFace, OnlyAPlainRightPressIsTakenAndTheIconIsCentred) {
  FakeSite site;
  TKovaRecycler bin(site, nullptr);
  MouseEvent e;
  e.button = MouseButton::Right;
  e.right = true;
  for (auto change : {+[](MouseEvent& m) { m.shift = true; }, +[](MouseEvent& m) { m.ctrl = true; },
                      +[](MouseEvent& m) { m.doubleClick = true; }}) {
    MouseEvent m = e;
    change(m);
    EXPECT_FALSE(bin.Mouse(MouseAction::Down, m));  // the dock's menu comes instead
  }
  e.button = MouseButton::Left;
  e.right = false;
  e.left = true;
  EXPECT_FALSE(bin.Mouse(MouseAction::Down, e));

  bin.SetIconSize(32);
  bin.SetIconPath(SystemDirectory());
  ASSERT_NE(bin.Icon(), nullptr);
  const Pixels p = Compose(bin, 64, 64);
  int changed = 0;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const bool inIcon = x >= 16 && x < 48 && y >= 16 && y < 48;
      if (p.At(x, y) != kSilver) {
        ++changed;
        EXPECT_TRUE(inIcon) << x << "," << y;
      }
    }
  }
  EXPECT_GT(changed, 0);
}

// Statistics of a Windows 95/98 system, from a store.
std::unique_ptr<SystemStats> DynDataStats(bool withModem) {
  auto store = std::make_unique<MemoryStore>();
  auto key = store->Open(kStatDataKey, true);
  key->Write(kStatCpu, {ValueType::Binary, std::string("\x2A\x00", 2)});
  key->Write(kStatThreads, {ValueType::Binary, std::string("\x7B\x00\x00\x00", 4)});
  if (withModem) key->Write(kStatModem, {ValueType::Binary, std::string("\x80\x25\x00\x00", 4)});
  return std::make_unique<SystemStats>(std::move(store));
}

TEST(StatFace, TickFillsGaugesLabelsAndHintAndStoppingEmptiesThem) {
  FakeSite site;
  TKovaStat stat(site, DynDataStats(true));
  EXPECT_EQ(stat.TickMs(), 300u);
  stat.Start(true);
  ASSERT_TRUE(stat.Tick());
  EXPECT_EQ(stat.Hint().rfind("RAM USED : ", 0), 0u);
  EXPECT_NE(stat.Hint().find("\rFREE RAM : "), std::string::npos);
  EXPECT_EQ(stat.CpuGauge(), 42);
  EXPECT_EQ(stat.Threads(), "123");
  EXPECT_EQ(stat.Modem(), "NC");  // 9600
  Pixels p = Compose(stat, 64, 64);
  // The processor gauge (20, 29, 41 x 6) at 42 %: 15 columns from 21 in the start colour, darkening.
  EXPECT_EQ(p.At(21, 31), RGB(255, 200, 128));
  EXPECT_EQ(p.At(35, 31), RGB(185, 130, 58));
  EXPECT_EQ(p.At(37, 31), kLabel);
  EXPECT_EQ(p.At(20, 28), kBlack);  // the box's frame
  EXPECT_EQ(p.At(60, 35), kSilver);

  stat.Start(false);
  EXPECT_EQ(stat.Hint(), "INACTIVE");
  EXPECT_TRUE(stat.Threads().empty() && stat.Modem().empty());
  p = Compose(stat, 64, 64);
  EXPECT_EQ(p.At(21, 31), kLabel);

  MouseEvent e;
  e.button = MouseButton::Left;
  e.left = true;
  e.doubleClick = true;
  EXPECT_FALSE(stat.Mouse(MouseAction::Down, e));
  EXPECT_TRUE(stat.Started());
  EXPECT_EQ(stat.Hint(), "INACTIVE");  // until the first tick
}

TEST(StatFace, MissingStatisticsShowEmptyLabelsNotOldNumbers) {
  FakeSite site;
  TKovaStat stat(site, DynDataStats(false));
  stat.Start(true);
  stat.Tick();
  EXPECT_EQ(stat.Threads(), "123");  // read although the modem value before it is missing
  EXPECT_EQ(stat.Modem(), "");
}

TEST(StatFace, SystemFiguresOnThisSystem) {
  const MemoryStatus s = ReadMemoryStatus();
  EXPECT_GT(s.totalPhys, 0u);
  EXPECT_LE(s.availPhys, s.totalPhys);
  EXPECT_FALSE(TotalRamKo().empty());
  SystemStats stats;
  if (stats.FromDynData()) GTEST_SKIP() << "Windows 95/98 statistics";
  stats.Sample(0);
  ::Sleep(50);
  const SystemSample sample = stats.Sample(2000);
  if (sample.cpu) {
    EXPECT_LE(*sample.cpu, 100);
  }
  EXPECT_EQ(sample.modem, "");
  ASSERT_TRUE(sample.threads);
  for (const char c : *sample.threads) EXPECT_TRUE(c >= '0' && c <= '9');
  EXPECT_FALSE(stats.Sample(2500).threads);  // at most once a second
}

TEST(ModuleFaces, FactoryAndGdiObjectsStayFlat) {
  test::FaceWindow window;
  DeskScreens screens(window.hwnd());
  const ModuleContext context{window.hwnd(), &screens, {}};
  TConfig config;
  config.Taille = 32;
  auto record = [](std::string_view kind) {
    auto b = std::make_unique<TBouton>();
    b->BtnApp = kind;
    return b;
  };
  test::FakeSite site;
  EXPECT_EQ(MakeModuleFace(*record("notepad.exe"), config, site, context), nullptr);
  EXPECT_EQ(MakeModuleFace(*record(kModuleVirtualDesk), config, site, {window.hwnd(), nullptr, {}}), nullptr);
  auto bin = MakeModuleFace(*record(kModuleRecycler), config, site, context);
  ASSERT_NE(AsRecycler(bin.get()), nullptr);
  EXPECT_EQ(AsRecycler(bin.get())->IconPath(), "c:\\recycled");
  EXPECT_EQ(AsClock(bin.get()), nullptr);

  test::Surface surface(64, 64);
  auto round = [&] {
    for (const auto kind : {kModuleClock, kModuleRecycler, kModuleVirtualDesk, kModuleSysInfo}) {
      const auto rec = record(kind);
      window.tile.SetFace([&](TileSite& s) { return MakeModuleFace(*rec, config, s, context); });
      window.tile.StartFace(true);
      for (int i = 0; i < 20; ++i) {
        window.tile.Face()->Tick();
        window.tile.Paint(surface.dc());
      }
      window.tile.SetFace(nullptr);
    }
  };
  round();
  const std::uint32_t before = test::GdiObjects();
  for (int i = 0; i < 10; ++i) round();
  EXPECT_EQ(test::GdiObjects(), before);
}

}  // namespace
}  // namespace ql
