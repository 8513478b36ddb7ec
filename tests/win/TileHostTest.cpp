// Windowless tiles on a real host window: which tile the mouse messages reach and in what
// coordinates, the capture, double clicks, context menus, handlers that destroy tiles or the
// host, painting of an update rectangle, the hint tools of the tiles, and the icon cache.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "PixelSurface.h"
#include "TileWindow.h"
#include "controls/Hints.h"
#include "controls/IconCache.h"
#include "controls/KovaBtn.h"
#include "controls/TileHost.h"
#include "win/Utf.h"
#include "win/Win.h"

// After the Win32 layer's own header, which brings in <windows.h>.

using ql::IconCache;
using ql::MouseEvent;
using ql::TKovaBtn;
using ql::test::Pixels;
using ql::test::ReadPixels;
using ql::test::TileWindow;

namespace {

// One line per event: the tile's tag, the kind and the position in the tile.
struct Log {
  std::vector<std::string> lines;
  void Add(const TKovaBtn& b, const char* what, int x, int y) {
    lines.push_back(std::to_string(b.Tag()) + what + std::to_string(x) + "," + std::to_string(y));
  }
  void Add(const TKovaBtn& b, const char* what) { lines.push_back(std::to_string(b.Tag()) + what); }
};

std::string SystemFile(const wchar_t* name) {
  wchar_t dir[MAX_PATH] = {};
  ::GetSystemDirectoryW(dir, MAX_PATH);
  return ql::win::Narrow(std::wstring(dir) + L"\\" + name);
}

bool IconAlive(HICON icon) {
  ICONINFO info{};
  if (::GetIconInfo(icon, &info) == FALSE) return false;
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  return true;
}

class TileHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<TileWindow>();
    ASSERT_NE(window_->hwnd(), nullptr);
    ::GetCursorPos(&cursor_);
  }
  void TearDown() override {
    tiles_.clear();
    window_.reset();
  }

  // A tile tagged `tag` at (x, y, w, h) whose events go to log_.
  TKovaBtn& Add(std::int32_t tag, int x, int y, int w = 64, int h = 64) {
    auto b = std::make_unique<TKovaBtn>();
    EXPECT_TRUE(b->Create(window_->host(), x, y, w, h));
    b->SetTag(tag);
    b->OnMouseDown = [this](TKovaBtn& t, const MouseEvent& e) {
      log_.Add(t, e.doubleClick ? "d" : "D", e.x, e.y);
    };
    b->OnMouseMove = [this](TKovaBtn& t, const MouseEvent& e) { log_.Add(t, "M", e.x, e.y); };
    b->OnMouseUp = [this](TKovaBtn& t, const MouseEvent& e) { log_.Add(t, "U", e.x, e.y); };
    b->OnDblClick = [this](TKovaBtn& t) { log_.Add(t, "2"); };
    b->OnContextMenu = [this](TKovaBtn& t, POINT p) {
      POINT client = p;
      ::ScreenToClient(window_->hwnd(), &client);
      log_.Add(t, "C", client.x, client.y);
    };
    tiles_.push_back(std::move(b));
    return *tiles_.back();
  }
  bool Handle(UINT msg, WPARAM keys, int x, int y) {
    LRESULT result = 0;
    return window_->host().HandleMessage(msg, keys, MAKELPARAM(x, y), result);
  }
  std::vector<std::string> Take() { return std::exchange(log_.lines, {}); }

  std::unique_ptr<TileWindow> window_;
  std::vector<std::unique_ptr<TKovaBtn>> tiles_;
  Log log_;
  POINT cursor_{};
};

using Lines = std::vector<std::string>;

}  // namespace

// --- Mouse routing ------------------------------------------------------------------------------

TEST_F(TileHostTest, PressMoveAndReleaseReachTheTileUnderThePointInItsCoordinates) {
  Add(1, 0, 0);
  Add(2, 64, 0);
  Add(3, 0, 64, 128, 32);
  window_->Mouse(WM_MOUSEMOVE, 0, 70, 10);
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 70, 10);
  window_->Mouse(WM_LBUTTONUP, 0, 71, 12);
  window_->Mouse(WM_MOUSEMOVE, 0, 5, 63);
  window_->Mouse(WM_MOUSEMOVE, 0, 127, 64);
  window_->Mouse(WM_MBUTTONDOWN, MK_MBUTTON, 100, 90);
  window_->Mouse(WM_MBUTTONUP, 0, 100, 90);
  EXPECT_EQ(Take(), (Lines{"2M6,10", "2D6,10", "2U7,12", "1M5,63", "3M127,0", "3D100,26", "3U100,26"}));
  EXPECT_TRUE(window_->own.empty());

  // The tile under a point, as the host sees it.
  EXPECT_EQ(window_->host().TileAt(POINT{64, 63}), tiles_[1].get());
  EXPECT_EQ(window_->host().TileAt(POINT{128, 95}), nullptr);
  EXPECT_EQ(window_->host().TileAt(POINT{127, 95}), tiles_[2].get());
}

TEST_F(TileHostTest, AClickOutsideEveryTileIsLeftToTheWindow) {
  Add(1, 0, 0);
  EXPECT_FALSE(Handle(WM_LBUTTONDOWN, MK_LBUTTON, 200, 200));
  EXPECT_FALSE(Handle(WM_LBUTTONUP, 0, 200, 200));
  EXPECT_FALSE(Handle(WM_MOUSEMOVE, 0, 64, 0));
  EXPECT_TRUE(Handle(WM_MOUSEMOVE, 0, 63, 0));
  EXPECT_FALSE(Handle(WM_PAINT, 0, 0, 0));
  EXPECT_FALSE(Handle(WM_KEYDOWN, VK_SPACE, 0, 0));
  EXPECT_EQ(::GetCapture(), nullptr);

  window_->Mouse(WM_RBUTTONDOWN, MK_RBUTTON, 300, 10);
  window_->Mouse(WM_RBUTTONUP, 0, 300, 10);
  EXPECT_EQ(window_->own, (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}));
  EXPECT_EQ(Take(), (Lines{"1M63,0"}));
}

TEST_F(TileHostTest, TheCaptureKeepsMovesAndTheReleaseWithThePressedTile) {
  Add(1, 0, 0);
  Add(2, 64, 0);
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
  EXPECT_EQ(::GetCapture(), window_->hwnd());
  window_->Mouse(WM_MOUSEMOVE, MK_LBUTTON, 80, 10);                 // over the other tile
  window_->Mouse(WM_MOUSEMOVE, MK_LBUTTON, -5, 350);                // outside the window
  window_->Mouse(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 90, 10);  // a second button, still tile 1
  window_->Mouse(WM_LBUTTONUP, MK_RBUTTON, 90, 10);
  EXPECT_EQ(::GetCapture(), window_->hwnd());
  window_->Mouse(WM_RBUTTONUP, 0, 90, 10);
  EXPECT_EQ(::GetCapture(), nullptr);
  window_->Mouse(WM_MOUSEMOVE, 0, 80, 10);
  const Lines lines = Take();
  ASSERT_GE(lines.size(), 6U);
  EXPECT_EQ(lines[0], "1D10,10");
  EXPECT_EQ(lines[1], "1M80,10");
  EXPECT_EQ(lines[2], "1M-5,350");
  EXPECT_EQ(lines[3], "1D90,10");
  EXPECT_EQ(lines[4], "1U90,10");
  EXPECT_EQ(lines[5], "1U90,10");
  // The right release raised a context menu: over tile 2, but it belongs to tile 1 that had the
  // press, as it did when each tile was a window of its own.
  EXPECT_EQ(lines.back(), "2M16,10");
  ASSERT_EQ(lines.size(), 8U);
  EXPECT_EQ(lines[6], "1C90,10");
}

TEST_F(TileHostTest, AnotherWindowTakingTheMouseEndsTheCapture) {
  Add(1, 0, 0);
  Add(2, 64, 0);
  ql::win::OwnedWindow other(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                               ::GetModuleHandleW(nullptr), nullptr));
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
  ::SetCapture(other.get());
  ::ReleaseCapture();
  window_->Mouse(WM_MOUSEMOVE, 0, 80, 10);  // to the tile under the point again
  EXPECT_EQ(Take(), (Lines{"1D10,10", "2M16,10"}));
}

TEST_F(TileHostTest, ACaptureLetGoWithNoTakerLeavesThePressHeld) {
  Add(1, 0, 0);
  Add(2, 64, 0);
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
  ::ReleaseCapture();                                // as a hint showing under the press does under Wine
  window_->Mouse(WM_MOUSEMOVE, MK_LBUTTON, 80, 10);  // the button is still down: still tile 1's
  EXPECT_EQ(::GetCapture(), window_->hwnd());
  window_->Mouse(WM_LBUTTONUP, 0, 80, 10);
  EXPECT_EQ(Take(), (Lines{"1D10,10", "1M80,10", "1U80,10"}));
  EXPECT_EQ(::GetCapture(), nullptr);

  // A release the window never saw: the next move with no button down is the tile's below it.
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
  ::ReleaseCapture();
  window_->Mouse(WM_MOUSEMOVE, 0, 80, 10);
  EXPECT_EQ(Take(), (Lines{"1D10,10", "2M16,10"}));
}

TEST_F(TileHostTest, DoubleClickOrderAndPressesOnTwoTiles) {
  Add(1, 0, 0);
  Add(2, 64, 0);
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 3, 3);
  window_->Mouse(WM_LBUTTONUP, 0, 3, 3);
  window_->Mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, 3, 3);
  window_->Mouse(WM_LBUTTONUP, 0, 3, 3);
  EXPECT_EQ(Take(), (Lines{"1D3,3", "1U3,3", "1d3,3", "12", "1U3,3"}));

  // The window sees a double click when the second press lands near the first, even on the next
  // tile: that is two single presses, one per tile.
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 63, 3);
  window_->Mouse(WM_LBUTTONUP, 0, 63, 3);
  window_->Mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, 65, 3);
  window_->Mouse(WM_LBUTTONUP, 0, 65, 3);
  EXPECT_EQ(Take(), (Lines{"1D63,3", "1U63,3", "2D1,3", "2U1,3"}));

  // Same after a press outside every tile.
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 300, 3);
  window_->Mouse(WM_LBUTTONUP, 0, 300, 3);
  window_->Mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, 70, 3);
  window_->Mouse(WM_LBUTTONUP, 0, 70, 3);
  EXPECT_EQ(Take(), (Lines{"2D6,3", "2U6,3"}));
}

TEST_F(TileHostTest, ARightReleaseOnATileGivesItsContextMenu) {
  Add(1, 0, 0);
  TKovaBtn& two = Add(2, 64, 0);
  window_->Mouse(WM_RBUTTONDOWN, MK_RBUTTON, 70, 20);
  window_->Mouse(WM_RBUTTONUP, 0, 70, 20);
  EXPECT_EQ(Take(), (Lines{"2D6,20", "2U6,20", "2C70,20"}));
  EXPECT_TRUE(window_->ownMenus.empty());

  // A menu request from the system at a point over a tile.
  POINT screen{10, 10};
  ::ClientToScreen(window_->hwnd(), &screen);
  ::SendMessageW(window_->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_->hwnd()),
                 MAKELPARAM(screen.x, screen.y));
  EXPECT_EQ(Take(), (Lines{"1C10,10"}));

  // One raised in a child window passes up with the child's handle: not a tile's.
  ::SendMessageW(window_->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(::GetDesktopWindow()),
                 MAKELPARAM(screen.x, screen.y));
  EXPECT_TRUE(Take().empty());
  EXPECT_EQ(window_->ownMenus.size(), 1U);

  // From the keyboard with no tile holding the mouse: the window's own.
  ::SendMessageW(window_->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_->hwnd()), -1);
  EXPECT_TRUE(Take().empty());
  EXPECT_EQ(window_->ownMenus.size(), 2U);

  // A tile without a menu handler leaves the menu to the window.
  two.OnContextMenu = nullptr;
  window_->Mouse(WM_RBUTTONDOWN, MK_RBUTTON, 70, 20);
  window_->Mouse(WM_RBUTTONUP, 0, 70, 20);
  EXPECT_EQ(Take(), (Lines{"2D6,20", "2U6,20"}));
  EXPECT_EQ(window_->ownMenus.size(), 3U);
}

TEST_F(TileHostTest, DisabledAndInvisibleTilesGetNothing) {
  TKovaBtn& below = Add(1, 0, 0);
  TKovaBtn& above = Add(2, 0, 0);
  TKovaBtn& alone = Add(3, 100, 0);
  above.SetEnabled(false);
  alone.SetVisible(false);
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);  // through the disabled tile to the one below
  window_->Mouse(WM_LBUTTONUP, 0, 5, 5);
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 110, 5);
  window_->Mouse(WM_LBUTTONUP, 0, 110, 5);
  EXPECT_EQ(Take(), (Lines{"1D5,5", "1U5,5"}));
  EXPECT_EQ(window_->own, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  EXPECT_EQ(window_->host().TileAt(POINT{110, 5}), nullptr);

  // Disabled while it holds the mouse: the capture ends and the rest is the window's.
  below.SetEnabled(false);
  alone.SetVisible(true);
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 110, 5);
  EXPECT_EQ(::GetCapture(), window_->hwnd());
  alone.SetEnabled(false);
  EXPECT_EQ(::GetCapture(), nullptr);
  window_->Mouse(WM_LBUTTONUP, 0, 110, 5);
  window_->Mouse(WM_MOUSEMOVE, 0, 5, 5);
  EXPECT_EQ(Take(), (Lines{"3D10,5"}));
}

TEST_F(TileHostTest, WhereTilesOverlapTheLastCreatedGetsTheMouseAndIsPaintedOnTop) {
  TKovaBtn& first = Add(1, 0, 0, 64, 64);
  TKovaBtn& second = Add(2, 32, 0, 64, 64);
  first.SetColor(RGB(200, 0, 0));
  first.SetBorder(false);
  second.SetColor(RGB(0, 0, 200));
  second.SetBorder(false);
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 40, 10);
  window_->Mouse(WM_LBUTTONUP, 0, 40, 10);
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 31, 10);
  window_->Mouse(WM_LBUTTONUP, 0, 31, 10);
  EXPECT_EQ(Take(), (Lines{"2D8,10", "2U8,10", "1D31,10", "1U31,10"}));

  ql::test::Surface s(100, 64, TileWindow::kGround);
  window_->host().Paint(s.dc(), RECT{0, 0, 100, 64});
  EXPECT_EQ(s.At(31, 30), RGB(200, 0, 0));
  EXPECT_EQ(s.At(32, 30), RGB(0, 0, 200));
  EXPECT_EQ(s.At(63, 30), RGB(0, 0, 200));
  EXPECT_EQ(s.At(96, 30), TileWindow::kGround);
}

// --- Handlers that destroy ----------------------------------------------------------------------

TEST_F(TileHostTest, AHandlerMayDestroyItsTileOrEveryTile) {
  Add(1, 0, 0);
  TKovaBtn& two = Add(2, 64, 0);
  Add(3, 128, 0);
  // The dock rebuilds its whole bar from a press.
  two.OnMouseDown = [this](TKovaBtn&, const MouseEvent&) { tiles_.clear(); };
  two.OnDblClick = [this](TKovaBtn& t) { log_.Add(t, "2"); };
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 70, 5);
  window_->Mouse(WM_LBUTTONUP, 0, 70, 5);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_TRUE(window_->host().Tiles().empty());
  EXPECT_TRUE(Take().empty());
  EXPECT_EQ(window_->own, (std::vector<UINT>{WM_LBUTTONUP}));

  // Its own tile, from a double click's press: no OnDblClick after it.
  TKovaBtn& four = Add(4, 0, 0);
  Add(5, 64, 0);
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  window_->Mouse(WM_LBUTTONUP, 0, 5, 5);
  four.OnMouseDown = [this](TKovaBtn&, const MouseEvent&) { tiles_.erase(tiles_.begin()); };
  four.OnDblClick = [this](TKovaBtn& t) { log_.Add(t, "2"); };
  window_->Mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 5);
  EXPECT_EQ(Take(), (Lines{"4D5,5", "4U5,5"}));
  ASSERT_EQ(window_->host().Tiles().size(), 1U);
  EXPECT_EQ(window_->host().Tiles()[0]->Tag(), 5);

  // From a right release: no context menu follows for a tile that is gone.
  TKovaBtn& five = *tiles_[0];
  five.OnMouseUp = [this](TKovaBtn&, const MouseEvent&) { tiles_.clear(); };
  window_->own.clear();
  window_->Mouse(WM_RBUTTONDOWN, MK_RBUTTON, 70, 5);
  window_->Mouse(WM_RBUTTONUP, 0, 70, 5);
  EXPECT_EQ(Take(), (Lines{"5D6,5"}));
  EXPECT_TRUE(window_->own.empty());

  // The host carries on.
  Add(6, 0, 0);
  window_->Mouse(WM_MOUSEMOVE, 0, 1, 2);
  EXPECT_EQ(Take(), (Lines{"6M1,2"}));
}

TEST_F(TileHostTest, AHandlerMayDestroyTheHost) {
  TKovaBtn& one = Add(1, 0, 0);
  one.OnMouseDown = [this](TKovaBtn&, const MouseEvent&) { window_->DropHost(); };
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  EXPECT_EQ(one.Host(), nullptr);
  EXPECT_EQ(::GetCapture(), nullptr);
  window_->Mouse(WM_LBUTTONUP, 0, 5, 5);
  EXPECT_EQ(window_->own, (std::vector<UINT>{WM_LBUTTONUP}));
}

TEST_F(TileHostTest, DestroyingTheHostBeforeItsTilesLeavesThemOnNoHost) {
  ql::Hints hints;
  ASSERT_TRUE(hints.Create(window_->hwnd()));
  window_->host().Attach(window_->hwnd(), &hints);
  TKovaBtn& one = Add(1, 0, 0);
  one.SetHint("One");
  one.SetShowHint(true);
  const UINT_PTR id = one.Id();
  ASSERT_TRUE(hints.Has(window_->hwnd(), id));
  window_->Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
  ASSERT_EQ(::GetCapture(), window_->hwnd());

  window_->DropHost();
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_FALSE(hints.Has(window_->hwnd(), id));
  EXPECT_EQ(one.Host(), nullptr);
  EXPECT_EQ(one.ParentWindow(), nullptr);
  one.SetCaption("Still here");
  one.SetBounds(1, 1, 32, 32);
  one.SetHint("Two");
  one.SetVisible(false);
  EXPECT_EQ(one.Width(), 32);
  EXPECT_TRUE(static_cast<bool>(one.Compose()));
  tiles_.clear();
}

// --- Painting -----------------------------------------------------------------------------------

TEST_F(TileHostTest, PaintTouchesOnlyTheUpdateRectangle) {
  TKovaBtn& one = Add(1, 0, 0);
  TKovaBtn& two = Add(2, 100, 0);
  one.SetColor(RGB(200, 0, 0));
  two.SetColor(RGB(0, 0, 200));
  two.SetCaption("Two");
  ql::test::Surface s(200, 100, TileWindow::kGround);
  const RECT update{32, 10, 120, 40};
  window_->host().Paint(s.dc(), update);
  const Pixels painted = ReadPixels(s.bitmap());
  const Pixels a = ReadPixels(one.Compose().get());
  const Pixels b = ReadPixels(two.Compose().get());
  int wrong = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      COLORREF want = TileWindow::kGround;
      if (x >= update.left && x < update.right && y >= update.top && y < update.bottom) {
        if (x < 64 && y < 64) want = a.At(x, y);
        if (x >= 100 && x < 164 && y < 64) want = b.At(x - 100, y);
      }
      wrong += painted.At(x, y) == want ? 0 : 1;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(TileHostTest, TheWindowRepaintsOnlyTheChangedTile) {
  TKovaBtn& one = Add(1, 0, 0);
  Add(2, 100, 0);
  ::UpdateWindow(window_->hwnd());
  one.SetCaption("One");
  ::UpdateWindow(window_->hwnd());
  EXPECT_EQ(window_->lastPaint.left, 0);
  EXPECT_EQ(window_->lastPaint.top, 0);
  EXPECT_EQ(window_->lastPaint.right, 64);
  EXPECT_EQ(window_->lastPaint.bottom, 64);
  // Destroying a tile repaints its place.
  tiles_.erase(tiles_.begin() + 1);
  RECT dirty{};
  ASSERT_TRUE(::GetUpdateRect(window_->hwnd(), &dirty, FALSE));
  EXPECT_EQ(dirty.left, 100);
  EXPECT_EQ(dirty.right, 164);
}

// --- The list of tiles --------------------------------------------------------------------------

TEST_F(TileHostTest, TilesAreListedInCreationOrderUntilTheyGo) {
  Add(1, 0, 0);
  Add(2, 64, 0);
  Add(3, 128, 0);
  const auto& list = window_->host().Tiles();
  ASSERT_EQ(list.size(), 3U);
  EXPECT_EQ(list[0]->Tag(), 1);
  EXPECT_EQ(list[2]->Tag(), 3);
  EXPECT_NE(list[0]->Id(), list[1]->Id());
  EXPECT_NE(list[1]->Id(), list[2]->Id());
  tiles_.erase(tiles_.begin() + 1);
  ASSERT_EQ(list.size(), 2U);
  EXPECT_EQ(list[0]->Tag(), 1);
  EXPECT_EQ(list[1]->Tag(), 3);
  EXPECT_EQ(window_->host().TileAt(POINT{70, 5}), nullptr);
}

// --- Hints --------------------------------------------------------------------------------------

namespace {
RECT ToolRect(const ql::Hints& hints, HWND window, UINT_PTR id) {
  TTTOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = window;
  ti.uId = id;
  ::SendMessageW(hints.hwnd(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti));
  return ti.rect;
}
}  // namespace

TEST_F(TileHostTest, HintToolsFollowTheTilesAndGoWithThem) {
  ql::Hints hints;
  ASSERT_TRUE(hints.Create(window_->hwnd()));
  window_->host().Attach(window_->hwnd(), &hints);
  HWND w = window_->hwnd();
  TKovaBtn& one = Add(1, 0, 0);
  TKovaBtn& two = Add(2, 64, 0);
  one.SetHint("One");
  one.SetShowHint(true);
  two.SetHint("Two");
  two.SetShowHint(true);
  ASSERT_TRUE(hints.Has(w, one.Id()));
  ASSERT_TRUE(hints.Has(w, two.Id()));
  EXPECT_EQ(hints.Text(w, two.Id()), "Two");
  RECT r = ToolRect(hints, w, two.Id());
  EXPECT_EQ(r.left, 64);
  EXPECT_EQ(r.right, 128);
  EXPECT_EQ(r.bottom, 64);

  two.SetBounds(10, 100, 32, 40);
  r = ToolRect(hints, w, two.Id());
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right, 42);
  EXPECT_EQ(r.bottom, 140);
  two.SetIconSize(16);  // auto size: 32 x 32
  r = ToolRect(hints, w, two.Id());
  EXPECT_EQ(r.right, 42);
  EXPECT_EQ(r.bottom, 132);

  const UINT_PTR oneId = one.Id();
  tiles_.erase(tiles_.begin());
  EXPECT_FALSE(hints.Has(w, oneId));
  EXPECT_TRUE(hints.Has(w, two.Id()));
  EXPECT_EQ(::SendMessageW(hints.hwnd(), TTM_GETTOOLCOUNT, 0, 0), 1);

  // Attached to another window, the tiles take their hints along.
  TileWindow other;
  const UINT_PTR twoId = two.Id();
  window_->host().Attach(other.hwnd(), &hints);
  EXPECT_FALSE(hints.Has(w, twoId));
  EXPECT_TRUE(hints.Has(other.hwnd(), twoId));
  window_->host().Attach(w, &hints);
  tiles_.clear();
  EXPECT_EQ(::SendMessageW(hints.hwnd(), TTM_GETTOOLCOUNT, 0, 0), 0);
  window_->host().Attach(w);
}

// --- Textures -----------------------------------------------------------------------------------

TEST_F(TileHostTest, TilesGivenTheSamePictureShareOneCopyUntilThePictureChanges) {
  TKovaBtn& one = Add(1, 0, 0);
  TKovaBtn& two = Add(2, 64, 0);
  TKovaBtn& three = Add(3, 128, 0);
  for (TKovaBtn* t : {&one, &two, &three}) t->SetBorder(false);
  HBITMAP first = nullptr;
  {
    ql::test::Surface picture(4, 4, RGB(10, 200, 30));
    one.SetTexture(picture.bitmap());
    two.SetTexture(picture.bitmap());
    first = one.Texture();
    EXPECT_NE(first, picture.bitmap());
    EXPECT_EQ(two.Texture(), first);
    // Drawn on after it was given: the next tile gets a copy of what it shows now.
    picture.Fill(RGB(200, 10, 30));
    three.SetTexture(picture.bitmap());
    EXPECT_NE(three.Texture(), first);
  }  // the picture is gone, the copies stay
  EXPECT_EQ(ReadPixels(one.Compose().get()).At(30, 30), RGB(10, 200, 30));
  EXPECT_EQ(ReadPixels(two.Compose().get()).At(30, 30), RGB(10, 200, 30));
  EXPECT_EQ(ReadPixels(three.Compose().get()).At(30, 30), RGB(200, 10, 30));

  // A tile's copy given to another tile is shared as it is.
  three.SetTexture(one.Texture());
  EXPECT_EQ(three.Texture(), first);
  // The copy goes with the last tile holding it.
  one.SetTexture(nullptr);
  two.SetTexture(nullptr);
  EXPECT_NE(::GetObjectType(first), 0U);
  three.SetTexture(nullptr);
  EXPECT_EQ(::GetObjectType(first), 0U);

  // A tile on no host keeps a copy of its own.
  ql::test::Surface picture(4, 4, RGB(10, 200, 30));
  TKovaBtn loose;
  loose.SetTexture(picture.bitmap());
  one.SetTexture(picture.bitmap());
  EXPECT_TRUE(loose.HasTexture());
  EXPECT_NE(loose.Texture(), one.Texture());
}

// --- Icon cache ---------------------------------------------------------------------------------

namespace {
// A 16 x 16 32-bit .ico of one colour.
std::vector<char> PlainIco() {
  constexpr int n = 16;
  std::vector<char> f;
  auto u16 = [&f](unsigned v) {
    f.push_back(static_cast<char>(v & 0xFF));
    f.push_back(static_cast<char>((v >> 8) & 0xFF));
  };
  auto u32 = [&](unsigned v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  const unsigned xorBytes = n * n * 4;
  const unsigned andBytes = n * 4;
  u16(0);
  u16(1);
  u16(1);
  f.push_back(n);
  f.push_back(n);
  f.push_back(0);
  f.push_back(0);
  u16(1);
  u16(32);
  u32(40 + xorBytes + andBytes);
  u32(22);
  u32(40);
  u32(n);
  u32(2 * n);
  u16(1);
  u16(32);
  for (int i = 0; i < 6; ++i) u32(i == 0 ? 0 : i == 1 ? xorBytes + andBytes : 0);
  for (unsigned i = 0; i < xorBytes / 4; ++i) {
    f.push_back(static_cast<char>(0x40));
    f.push_back(static_cast<char>(0x80));
    f.push_back(static_cast<char>(0xC0));
    f.push_back(static_cast<char>(0xFF));
  }
  for (unsigned i = 0; i < andBytes; ++i) f.push_back(0);
  return f;
}

std::string TempPath(const wchar_t* name) {
  wchar_t tmp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, tmp);
  return ql::win::Narrow(std::wstring(tmp) + L"qltile" + std::to_wstring(::GetCurrentProcessId()) + name);
}
}  // namespace

TEST(IconCacheTest, OneIconPerPathIndexAndSize) {
  IconCache cache;
  const std::string shell32 = SystemFile(L"shell32.dll");
  auto a = cache.Load(shell32, 3, 48);
  ASSERT_TRUE(a && *a);
  EXPECT_EQ(cache.Load(shell32, 3, 48), a);  // the same object, not a second icon
  EXPECT_EQ(cache.size(), 1U);
  auto otherIndex = cache.Load(shell32, 4, 48);
  auto otherSize = cache.Load(shell32, 3, 16);
  EXPECT_NE(otherIndex, a);
  EXPECT_NE(otherSize, a);
  EXPECT_NE(otherIndex->get(), a->get());
  EXPECT_NE(otherSize->get(), a->get());
  EXPECT_EQ(cache.size(), 3U);

  // Trim keeps what someone else holds.
  otherIndex.reset();
  cache.Trim();
  EXPECT_EQ(cache.size(), 2U);
  HICON held = a->get();
  cache.Clear();
  EXPECT_EQ(cache.size(), 0U);
  EXPECT_TRUE(IconAlive(held));  // still held here
  a.reset();
  EXPECT_FALSE(IconAlive(held));
}

TEST(IconCacheTest, AFailedLoadIsKeptTooUntilCleared) {
  IconCache cache;
  const std::string path = TempPath(L"late.ico");
  ::DeleteFileW(ql::win::Widen(path).c_str());
  auto missing = cache.Load(path, 999, 16);
  ASSERT_NE(missing, nullptr);
  EXPECT_FALSE(*missing);
  {
    const std::vector<char> ico = PlainIco();
    std::ofstream out(ql::win::Widen(path).c_str(), std::ios::binary);
    out.write(ico.data(), static_cast<std::streamsize>(ico.size()));
  }
  // The file is there now, but the cache does not look again.
  EXPECT_EQ(cache.Load(path, 999, 16), missing);
  EXPECT_FALSE(*cache.Load(path, 999, 16));
  cache.Clear();
  EXPECT_TRUE(*cache.Load(path, 999, 16));
  ::DeleteFileW(ql::win::Widen(path).c_str());
}

TEST_F(TileHostTest, TilesOfAHostWithACacheShareItsIcons) {
  IconCache cache;
  window_->host().Attach(window_->hwnd(), nullptr, &cache);
  EXPECT_EQ(window_->host().icons(), &cache);
  const std::string shell32 = SystemFile(L"shell32.dll");
  TKovaBtn& one = Add(1, 0, 0);
  TKovaBtn& two = Add(2, 64, 0);
  one.SetAutoSize(false);
  two.SetAutoSize(false);
  one.SetIconSource(shell32, 5);
  two.SetIconSource(shell32, 5);
  ASSERT_TRUE(one.HasIcon());
  EXPECT_EQ(one.Icon(), two.Icon());
  EXPECT_EQ(cache.size(), 1U);
  // The tile draws the cached icon like its own.
  TKovaBtn loose;
  loose.SetBounds(0, 0, 64, 64);
  loose.SetAutoSize(false);
  loose.SetIconSource(shell32, 5);
  EXPECT_NE(loose.Icon(), one.Icon());
  EXPECT_EQ(ReadPixels(loose.Compose().get()).data, ReadPixels(one.Compose().get()).data);

  two.SetIconSize(16);  // another size, another entry
  EXPECT_NE(two.Icon(), one.Icon());
  EXPECT_EQ(cache.size(), 2U);
  HICON shared = one.Icon();
  tiles_.clear();
  EXPECT_TRUE(IconAlive(shared));  // the cache keeps it for the next bar
  cache.Trim();
  EXPECT_EQ(cache.size(), 0U);
  EXPECT_FALSE(IconAlive(shared));

  // The retry with 999 goes through the cache as well, and the failures are kept.
  const std::string broken = TempPath(L"broken.ico");
  {
    std::ofstream out(ql::win::Widen(broken).c_str(), std::ios::binary);
    out << "not an icon";
  }
  TKovaBtn& three = Add(3, 0, 0);
  three.SetIconSource(broken, 7);
  EXPECT_FALSE(three.HasIcon());
  EXPECT_EQ(three.IconIndex(), 999);
  EXPECT_EQ(cache.size(), 2U);
  ::DeleteFileW(ql::win::Widen(broken).c_str());
  tiles_.clear();
  window_->host().Attach(window_->hwnd());
}
