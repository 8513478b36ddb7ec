// Module tiles: a TKovaBtn that shows a face on a real tile window (mouse, hint, timer, a face
// that outlives its tile), and the four modules on the dock's bar (the module table, the virtual
// screens across rebuilds, drops on the recycle bin, the properties, GDI objects).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "DockFixture.h"
#include "FaceFixture.h"
#include "PixelSurface.h"
#include "TileWindow.h"
#include "core/VirtualScreens.h"
#include "modules/KovaClock.h"
#include "modules/KovaRecycler.h"
#include "modules/KovaStat.h"
#include "modules/ModuleFaces.h"
#include "modules/VirtualDesk.h"
#include "win/Utf.h"
#include "win/Win32WindowSystem.h"

namespace ql {
namespace {

using testing::DockFixture;
using namespace test::palette;  // NOLINT(google-build-using-namespace)

// A face that records what reaches it; it takes the plain right press, paints a white square in
// the middle and gives a hint naming the point.
class ProbeFace final : public TileFace {
 public:
  ProbeFace(TileSite& site, int* destroyed) : site_(site), destroyed_(destroyed) {}
  ~ProbeFace() override {
    if (destroyed_ != nullptr) ++*destroyed_;
  }
  void Paint(win::Canvas& canvas, int w, int h) const override {
    for (int y = h / 2 - 2; y < h / 2 + 2; ++y) {
      for (int x = w / 2 - 2; x < w / 2 + 2; ++x) canvas.SetPixel(x, y, kWhite);
    }
  }
  unsigned TickMs() const override { return 20; }
  bool Tick() override { return ++ticks % 2 == 0; }
  void Start(bool on) override {
    started_ = on;
    site_.StartedChanged();
  }
  bool Started() const override { return started_; }
  bool Mouse(MouseAction action, const MouseEvent& e) override {
    seen.push_back(action);
    return action == MouseAction::Down && e.button == MouseButton::Right && !e.doubleClick;
  }
  bool Drop(const std::vector<std::string>& files) override {
    if (OnDrop) OnDrop();  // may free the tile, as a close during a question does
    dropped = files;
    if (windowAfter != nullptr) *windowAfter = site_.Window();
    site_.Invalidate(true);  // a face cut off from its tile asks nothing of it
    return true;
  }
  std::string HintAt(POINT at) const override {
    return "at " + std::to_string(at.x) + "," + std::to_string(at.y);
  }

  int ticks = 0;
  std::vector<MouseAction> seen;
  std::vector<std::string> dropped;
  HWND* windowAfter = nullptr;
  std::function<void()> OnDrop;

 private:
  TileSite& site_;
  int* destroyed_;
  bool started_ = false;
};

struct FaceTile {
  FaceTile() {
    tile = std::make_unique<TKovaBtn>();
    tile->Create(window.host(), 10, 10, 40, 40);
    tile->SetColor(kSilver);
    tile->SetShowHint(true);
    tile->OnMouseDown = [this](TKovaBtn&, const MouseEvent&) { ++downs; };
    tile->OnMouseUp = [this](TKovaBtn&, const MouseEvent&) { ++ups; };
    tile->OnContextMenu = [this](TKovaBtn&, POINT) { ++menus; };
    tile->SetFace([this](TileSite& site) {
      auto f = std::make_unique<ProbeFace>(site, &destroyed);
      face = f.get();
      return f;
    });
  }
  Hints hints;
  test::TileWindow window{200, 100, &hints};
  std::unique_ptr<TKovaBtn> tile;
  ProbeFace* face = nullptr;
  int destroyed = 0;
  int downs = 0;
  int ups = 0;
  int menus = 0;
};

TEST(ModuleTile, FacePaintsOverTheTileAndGetsTheMouseFirst) {
  FaceTile t;
  t.hints.Create(t.window.hwnd());
  t.window.host().Attach(t.window.hwnd(), &t.hints);
  ASSERT_NE(t.face, nullptr);
  const test::Pixels p = test::ReadPixels(t.tile->Compose().get());
  EXPECT_EQ(p.At(0, 0), kWhite);    // the tile's raised frame
  EXPECT_EQ(p.At(39, 39), kBlack);  // and its bottom-right edge
  EXPECT_EQ(p.At(5, 5), kSilver);   // the tile's background
  EXPECT_EQ(p.At(20, 20), kWhite);  // the face over it

  // A press the face takes: neither the press, its release nor the context menu reach the dock.
  t.window.Mouse(WM_RBUTTONDOWN, MK_RBUTTON, 20, 20);
  t.window.Mouse(WM_RBUTTONUP, 0, 20, 20);
  EXPECT_EQ(t.downs, 0);
  EXPECT_EQ(t.ups, 0);
  EXPECT_EQ(t.menus, 0);
  // One it leaves: the dock gets all three.
  t.window.Mouse(WM_RBUTTONDBLCLK, MK_RBUTTON, 20, 20);
  t.window.Mouse(WM_RBUTTONUP, 0, 20, 20);
  t.window.Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
  t.window.Mouse(WM_LBUTTONUP, 0, 20, 20);
  EXPECT_EQ(t.downs, 2);
  EXPECT_EQ(t.ups, 2);
  EXPECT_EQ(t.menus, 1);
  EXPECT_EQ(t.face->seen.size(), 6U);

  // The hint is the face's at the pointer, in tile coordinates.
  t.window.Mouse(WM_MOUSEMOVE, 0, 25, 13);
  EXPECT_EQ(t.tile->Hint(), "at 15,3");
  EXPECT_EQ(t.hints.Text(t.window.hwnd(), t.tile->Id()), "at 15,3");
}

TEST(ModuleTile, TheFaceTicksOnTheHostUntilStoppedOrItsTileGoes) {
  FaceTile t;
  test::FaceWindow pump;  // only for its message pump
  EXPECT_FALSE(t.tile->FaceTicking());
  t.tile->StartFace(true);
  EXPECT_TRUE(t.tile->FaceTicking());
  EXPECT_TRUE(pump.PumpUntil([&] { return t.face->ticks >= 4; }, 5000));
  t.tile->StartFace(false);
  const int stopped = t.face->ticks;
  pump.PumpUntil([] { return false; }, 100);
  EXPECT_EQ(t.face->ticks, stopped);

  t.tile->StartFace(true);
  EXPECT_EQ(t.window.host().Timers().size(), 1U);
  t.tile.reset();
  EXPECT_EQ(t.destroyed, 1);
  EXPECT_EQ(t.window.host().Timers().size(), 0U);
  pump.PumpUntil([] { return false; }, 100);  // no tick reaches the freed tile
}

TEST(ModuleTile, AFaceInsideItsOwnCallOutlivesItsTileCutOffFromIt) {
  FaceTile t;
  HWND windowAfter = t.window.hwnd();
  int destroyedDuring = -1;
  t.face->windowAfter = &windowAfter;
  t.face->OnDrop = [&t, &destroyedDuring] {
    t.tile.reset();  // the bar rebuilt, or the dock closed, while the face asked its question
    destroyedDuring = t.destroyed;
  };
  TKovaBtn* tile = t.tile.get();
  EXPECT_TRUE(tile->DropOnFace({"a.txt"}));
  EXPECT_EQ(destroyedDuring, 0);    // the face lived on to the end of its call
  EXPECT_EQ(windowAfter, nullptr);  // cut off from the freed tile
  EXPECT_EQ(t.destroyed, 1);        // and went once it returned
}

// ---- the dock's bar ----

// A visible application window of this test for the virtual screens: an owned tool window, which
// Wine hides without waiting for a window manager.
win::OwnedWindow AppWindow(const wchar_t* title) {
  static const HWND owner = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Owner", WS_POPUP, 0, 0, 1, 1,
                                              nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  win::OwnedWindow w(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", title, WS_POPUP, 100, 100, 200, 100,
                                       owner, nullptr, ::GetModuleHandleW(nullptr), nullptr));
  ::ShowWindow(w.get(), SW_SHOWNORMAL);
  return w;
}

bool Visible(const win::OwnedWindow& w) { return ::IsWindowVisible(w.get()) != FALSE; }

// The store of a bar: one plain button, then the given module records.
void StoreBar(MemoryStore& store, const TConfig& cfg, const std::vector<ButtonData>& modules) {
  ButtonList list;
  list.Append(ButtonData{"Notepad", "C:\\windows\\notepad.exe", "C:\\windows\\notepad.exe", "", 0});
  for (const ButtonData& m : modules) list.Append(m);
  EcritBaseRegistre(store, cfg, cfg.PosTop, list);
}

ButtonData Module(std::string_view kind, std::string iconPath = "") {
  return ButtonData{"", std::string(kind), std::move(iconPath), "", 0};
}

const std::vector<ButtonData> kAllFour = {Module(kModuleClock), Module(kModuleRecycler),
                                          Module(kModuleVirtualDesk), Module(kModuleSysInfo)};

TEST(DockModules, EveryKindGetsItsFaceWithTheCommonSettingsAndItsOwn) {
  DockFixture f;
  TConfig stored;
  stored.Taille = 32;
  stored.Relief = false;
  stored.ModeClock = true;
  stored.cfdel = false;
  stored.Couleur = 0x123456;
  StoreBar(f.store, stored, kAllFour);
  ASSERT_TRUE(f.Start());
  ASSERT_EQ(f.dock->TileCount(), 5U);
  const int side = f.dock->TileSide();
  for (int n = 2; n <= 5; ++n) {
    TKovaBtn* tile = f.dock->GetBtn(n);
    ASSERT_NE(tile, nullptr);
    ASSERT_NE(tile->Face(), nullptr) << n;
    EXPECT_EQ(tile->Tag(), n);
    EXPECT_EQ(tile->Color(), 0x123456U);
    EXPECT_FALSE(tile->Border());
    EXPECT_EQ(tile->Width(), side);
    EXPECT_EQ(tile->Top(), n * side);
  }
  EXPECT_EQ(f.dock->GetBtn(1)->Face(), nullptr);
  TKovaClock* clock = AsClock(f.dock->GetBtn(2)->Face());
  ASSERT_NE(clock, nullptr);
  EXPECT_TRUE(clock->Mode());
  EXPECT_TRUE(clock->Started());
  EXPECT_EQ(f.dock->GetBtn(2)->Hint(), "Clock Quaylite");
  TKovaRecycler* bin = AsRecycler(f.dock->GetBtn(3)->Face());
  ASSERT_NE(bin, nullptr);
  EXPECT_FALSE(bin->Confirm());
  EXPECT_EQ(bin->IconPath(), "c:\\recycled");
  EXPECT_EQ(bin->IconSize(), 32);
  EXPECT_NE(AsVirtualDesk(f.dock->GetBtn(4)->Face()), nullptr);
  TKovaStat* stat = AsStat(f.dock->GetBtn(5)->Face());
  ASSERT_NE(stat, nullptr);
  EXPECT_TRUE(stat->Started());
  for (int n : {2, 4, 5}) EXPECT_TRUE(f.dock->GetBtn(n)->FaceTicking()) << n;
  EXPECT_FALSE(f.dock->GetBtn(3)->FaceTicking());

  // Modules never launch, whatever the mouse does.
  f.dock->RunApp(2);
  f.dock->Input().BtnAppDblClick(*f.dock->GetBtn(5));
  EXPECT_EQ(f.dock->DernierLance(), 72360);
  // A double click on the gauges stops them.
  ::SendMessageW(f.dock->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(side / 2, 5 * side + side / 2));
  ::SendMessageW(f.dock->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(side / 2, 5 * side + side / 2));
  ::SendMessageW(f.dock->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(side / 2, 5 * side + side / 2));
  ::SendMessageW(f.dock->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(side / 2, 5 * side + side / 2));
  EXPECT_FALSE(stat->Started());
  EXPECT_EQ(f.dock->GetBtn(5)->Hint(), "INACTIVE");
  EXPECT_FALSE(f.dock->GetBtn(5)->FaceTicking());

  // A recycle bin record with a path of its own shows that path.
  DockFixture g;
  StoreBar(g.store, stored, {Module(kModuleRecycler, "C:\\windows")});
  ASSERT_TRUE(g.Start());
  EXPECT_EQ(AsRecycler(g.dock->GetBtn(2)->Face())->IconPath(), "C:\\windows");
}

TEST(DockModules, VirtualScreensSurviveRebuildsAndGoWithTheModuleOrTheDock) {
  const win::OwnedWindow app = AppWindow(L"Sent away");
  // A journal left by a dock that was killed with the window hidden: the start shows it again.
  ::ShowWindow(app.get(), SW_HIDE);
  DockFixture f;
  {
    auto key = f.store.Open(kScreensKey, true);
    WriteHiddenJournal(*key, {{win::IdOf(app.get()), ::GetCurrentProcessId()}});
  }
  TConfig stored;
  stored.Confirm = false;
  StoreBar(f.store, stored, {Module(kModuleVirtualDesk)});
  ASSERT_TRUE(f.Start());
  EXPECT_TRUE(Visible(app));
  ASSERT_NE(f.dock->FindPtrText(kModuleVirtualDesk), nullptr);
  DeskScreens* screens = f.dock->Screens();
  ASSERT_NE(screens, nullptr);
  // The program's own windows (its hint window is owned by the dock) belong to no screen.
  const win::OwnedWindow own(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Own", WS_POPUP | WS_VISIBLE, 0,
                                               0, 10, 10, f.dock->hwnd(), nullptr, nullptr, nullptr));
  screens->Tick();
  const auto listed = [&](const win::OwnedWindow& w) {
    const std::vector<WindowId>& l = screens->List(1);
    return std::find(l.begin(), l.end(), win::IdOf(w.get())) != l.end();
  };
  EXPECT_TRUE(listed(app));
  EXPECT_FALSE(listed(own));

  f.dock->SendFenToScreen(win::IdOf(app.get()), 2);
  screens->Tick();
  EXPECT_FALSE(Visible(app));
  EXPECT_EQ(screens->List(2), std::vector<WindowId>{win::IdOf(app.get())});
  EXPECT_EQ(ReadHiddenJournal(*f.store.Open(kScreensKey, false)).size(), 1U);

  // A new icon size and a dropped file rebuild the bar: the same screens, the window still away.
  f.dock->Commands().TailleIconeClick(48);
  f.Rebuild();
  EXPECT_EQ(f.dock->Screens(), screens);
  EXPECT_FALSE(Visible(app));
  EXPECT_EQ(screens->List(2).size(), 1U);
  // The miniature's tile still shows the same screens: a click on quarter 2 brings it back.
  const int side = f.dock->TileSide();
  TKovaBtn* desk = f.dock->GetBtn(2);
  ASSERT_NE(desk, nullptr);
  ::SendMessageW(f.dock->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(desk->Left() + side * 3 / 4, desk->Top() + side / 4));
  ::SendMessageW(f.dock->hwnd(), WM_LBUTTONUP, 0,
                 MAKELPARAM(desk->Left() + side * 3 / 4, desk->Top() + side / 4));
  EXPECT_EQ(screens->Active(), 2);
  EXPECT_TRUE(Visible(app));

  // Back to screen 1 (the window is hidden again), then the module is deleted: it shows.
  ::SendMessageW(f.dock->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(desk->Left() + side / 4, desk->Top() + side / 4));
  ::SendMessageW(f.dock->hwnd(), WM_LBUTTONUP, 0,
                 MAKELPARAM(desk->Left() + side / 4, desk->Top() + side / 4));
  EXPECT_FALSE(Visible(app));
  f.dock->Commands().SupprimerClick(2, "");
  EXPECT_EQ(f.dock->Screens(), nullptr);
  EXPECT_TRUE(Visible(app));
  EXPECT_TRUE(ReadHiddenJournal(*f.store.Open(kScreensKey, false)).empty());
  f.dock->SendFenToScreen(win::IdOf(app.get()), 3);  // without the module: nothing
  EXPECT_TRUE(Visible(app));

  // The dock's close shows what its screens hid.
  DockFixture g;
  StoreBar(g.store, stored, {Module(kModuleVirtualDesk)});
  ASSERT_TRUE(g.Start());
  g.dock->SendFenToScreen(win::IdOf(app.get()), 4);
  g.dock->Screens()->Tick();
  EXPECT_FALSE(Visible(app));
  ::SendMessageW(g.dock->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Visible(app));
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE) {
  }
}

// An HDROP of wide paths dropped at a client point, as the shell gives it.
HDROP DropAt(POINT at, const std::vector<std::wstring>& paths) {
  std::size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* df = static_cast<DROPFILES*>(::GlobalLock(mem));
  df->pFiles = sizeof(DROPFILES);
  df->pt = at;
  df->fWide = TRUE;
  auto* out = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(df) + sizeof(DROPFILES));
  for (const auto& p : paths) {
    std::memcpy(out, p.c_str(), p.size() * sizeof(wchar_t));
    out += p.size() + 1;
  }
  ::GlobalUnlock(mem);
  return static_cast<HDROP>(mem);
}

TEST(DockModules, FilesDroppedOnTheRecycleBinAreItsAndElsewhereMakeAButton) {
  DockFixture f;
  TConfig stored;
  stored.cfdel = false;
  StoreBar(f.store, stored, {Module(kModuleRecycler), Module(kModuleClock)});
  ASSERT_TRUE(f.Start());
  TKovaRecycler* bin = AsRecycler(f.dock->GetBtn(2)->Face());
  ASSERT_NE(bin, nullptr);
  std::vector<std::string> recycled;
  bin->Recycle = [&recycled](HWND, const std::string& list) { recycled.push_back(list); };
  const int side = f.dock->TileSide();
  auto drop = [&](int tile, const std::vector<std::wstring>& files) {
    const POINT at{side / 2, tile * side + side / 2};
    ::SendMessageW(f.dock->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropAt(at, files)), 0);
  };
  drop(2, {L"C:\\a.txt", L"C:\\b.txt"});
  EXPECT_EQ(recycled, std::vector<std::string>{"C:\\b.txt|C:\\a.txt|"});
  EXPECT_EQ(f.dock->TileCount(), 3U);
  drop(3, {L"C:\\windows\\notepad.exe"});  // the clock takes no files: a new button
  EXPECT_EQ(f.dock->TileCount(), 4U);
  EXPECT_EQ(f.dock->Boutons().FindPtr(4)->BtnApp, "C:\\windows\\notepad.exe");
  EXPECT_EQ(recycled.size(), 1U);
}

// The properties dialog, from inside its modal loop: a new icon path, then OK.
TProprietes* g_dialog = nullptr;
void CALLBACK TypePathThenOk(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  if (g_dialog == nullptr || !g_dialog->Visible()) return;
  g_dialog->SetText(TProprietes::kIcone, "C:\\windows\\system32");
  ::PostMessageW(g_dialog->hwnd(), WM_COMMAND, IDOK, 0);
}

TEST(DockModules, PropertiesOkGivesTheRecycleBinItsNewPath) {
  DockFixture f;
  StoreBar(f.store, TConfig{}, {Module(kModuleRecycler)});
  ASSERT_TRUE(f.Start());
  g_dialog = &f.peers->proprietes;
  ::SetTimer(nullptr, 0, 300, &TypePathThenOk);
  f.dock->Commands().ChangerIconeClick(2, TileKind::Recycler);
  g_dialog = nullptr;
  EXPECT_EQ(f.dock->Boutons().FindPtr(2)->IconPath, "C:\\windows\\system32");
  EXPECT_EQ(AsRecycler(f.dock->GetBtn(2)->Face())->IconPath(), "C:\\windows\\system32");
}

TEST(DockModules, GdiObjectsStayFlatOverTicksAndRebuildsOfAllFour) {
  DockFixture f;
  StoreBar(f.store, TConfig{}, kAllFour);
  ASSERT_TRUE(f.Start());
  f.dock->FormShow();
  auto ticks = [&] {
    for (int i = 0; i < 10; ++i) {
      for (int n = 2; n <= 5; ++n) f.dock->GetBtn(n)->Face()->Tick();
      ::RedrawWindow(f.dock->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
  };
  f.Rebuild();
  ticks();
  const std::uint32_t before = test::GdiObjects();
  ASSERT_GT(before, 0U);
  for (int i = 0; i < 30; ++i) {
    f.Rebuild();
    ticks();
  }
  EXPECT_EQ(test::GdiObjects(), before);
}

}  // namespace
}  // namespace ql
