// The hints of a window: one tooltip control, its timing and colour, tools for child windows and
// rectangle tools for windowless tiles, added, updated, moved and removed.
#include <gtest/gtest.h>

#include "TileWindow.h"
#include "controls/Hints.h"
#include "win/Win.h"

// After the Win32 layer's own header, which brings in <windows.h>.

namespace {

class HintsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_.reset(::CreateWindowExW(0, L"STATIC", L"Hints tests", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(owner_);
    for (auto& c : children_) {
      c.reset(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, owner_.get(), nullptr,
                                ::GetModuleHandleW(nullptr), nullptr));
      ASSERT_TRUE(c);
    }
  }
  int ToolCount(const ql::Hints& h) const {
    return static_cast<int>(::SendMessageW(h.hwnd(), TTM_GETTOOLCOUNT, 0, 0));
  }
  // The tooltip's record of a rectangle tool.
  static TTTOOLINFOW RectTool(const ql::Hints& h, HWND window, UINT_PTR id) {
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = window;
    ti.uId = id;
    EXPECT_NE(::SendMessageW(h.hwnd(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)), 0);
    return ti;
  }

  ql::win::OwnedWindow owner_;
  ql::win::OwnedWindow children_[2];
};

}  // namespace

TEST_F(HintsTest, OneTooltipOwnedByTheWindowWithItsDelaysAndColour) {
  ql::Hints hints;
  EXPECT_EQ(hints.hwnd(), nullptr);
  ASSERT_TRUE(hints.Create(owner_.get()));
  HWND tip = hints.hwnd();
  wchar_t cls[64] = {};
  ::GetClassNameW(tip, cls, 64);
  EXPECT_STREQ(cls, TOOLTIPS_CLASSW);
  EXPECT_EQ(::GetWindow(tip, GW_OWNER), owner_.get());
  EXPECT_EQ(::SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 250);
  EXPECT_EQ(::SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 1000);
  EXPECT_EQ(static_cast<COLORREF>(::SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)), RGB(192, 192, 192));
  EXPECT_NE(::GetWindowLongW(tip, GWL_STYLE) & TTS_ALWAYSTIP, 0);
}

TEST_F(HintsTest, ToolsAreAddedUpdatedAndRemoved) {
  ql::Hints hints;
  ASSERT_TRUE(hints.Create(owner_.get()));
  HWND a = children_[0].get();
  HWND b = children_[1].get();

  hints.Set(a, "Clock", true);
  hints.Set(b, "Recycler", true);
  EXPECT_EQ(ToolCount(hints), 2);
  EXPECT_EQ(hints.Text(a), "Clock");
  EXPECT_EQ(hints.Text(b), "Recycler");

  TTTOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = owner_.get();
  ti.uId = reinterpret_cast<UINT_PTR>(a);
  ASSERT_TRUE(::SendMessageW(hints.hwnd(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_EQ(ti.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));

  hints.Set(a, "Horloge", true);  // an update, not a second tool
  EXPECT_EQ(ToolCount(hints), 2);
  EXPECT_EQ(hints.Text(a), "Horloge");

  hints.Set(a, "Horloge", false);
  EXPECT_FALSE(hints.Has(a));
  hints.Set(b, "", true);
  EXPECT_FALSE(hints.Has(b));
  EXPECT_EQ(ToolCount(hints), 0);

  hints.Set(a, "Clock", true);
  hints.Remove(a);
  hints.Remove(a);  // twice: harmless
  EXPECT_EQ(ToolCount(hints), 0);
  EXPECT_EQ(hints.Text(a), "");
}

TEST_F(HintsTest, WithoutATooltipEverythingIsANoOp) {
  ql::Hints hints;
  hints.Set(children_[0].get(), "Clock", true);
  EXPECT_FALSE(hints.Has(children_[0].get()));
  hints.Remove(children_[0].get());
}

TEST_F(HintsTest, TheTooltipGoesWithTheObject) {
  HWND tip = nullptr;
  {
    ql::Hints hints;
    ASSERT_TRUE(hints.Create(owner_.get()));
    tip = hints.hwnd();
    ASSERT_TRUE(::IsWindow(tip));
    ASSERT_TRUE(hints.Create(owner_.get()));  // a second Create replaces the first window
    EXPECT_FALSE(::IsWindow(tip));
    tip = hints.hwnd();
  }
  EXPECT_FALSE(::IsWindow(tip));
}

TEST_F(HintsTest, RectangleToolsAreAddedUpdatedMovedAndRemoved) {
  ql::Hints hints;
  ASSERT_TRUE(hints.Create(owner_.get()));
  HWND w = owner_.get();
  HWND other = children_[0].get();

  hints.SetRect(w, 1, RECT{0, 0, 64, 64}, "Clock", true);
  hints.SetRect(w, 2, RECT{64, 0, 128, 64}, "Recycler", true);
  hints.SetRect(other, 1, RECT{0, 0, 10, 10}, "Other", true);  // same number, another window
  hints.Set(children_[1].get(), "Child", true);                // a window tool beside them
  EXPECT_EQ(ToolCount(hints), 4);
  EXPECT_TRUE(hints.Has(w, 1));
  EXPECT_EQ(hints.Text(w, 1), "Clock");
  EXPECT_EQ(hints.Text(w, 2), "Recycler");
  EXPECT_EQ(hints.Text(other, 1), "Other");
  EXPECT_EQ(hints.Text(children_[1].get()), "Child");
  EXPECT_FALSE(hints.Has(w, 3));
  EXPECT_EQ(hints.Text(w, 3), "");

  TTTOOLINFOW ti = RectTool(hints, w, 2);
  EXPECT_EQ(ti.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), 0U);  // the window relays its mouse messages
  EXPECT_EQ(ti.rect.left, 64);
  EXPECT_EQ(ti.rect.right, 128);

  hints.SetRect(w, 2, RECT{128, 0, 192, 64}, "Corbeille", true);  // an update, not a second tool
  EXPECT_EQ(ToolCount(hints), 4);
  EXPECT_EQ(hints.Text(w, 2), "Corbeille");
  EXPECT_EQ(RectTool(hints, w, 2).rect.left, 128);

  hints.MoveRect(w, 2, RECT{0, 64, 64, 128});
  ti = RectTool(hints, w, 2);
  EXPECT_EQ(ti.rect.left, 0);
  EXPECT_EQ(ti.rect.top, 64);
  EXPECT_EQ(ti.rect.bottom, 128);
  EXPECT_EQ(hints.Text(w, 2), "Corbeille");
  hints.MoveRect(w, 9, RECT{0, 0, 1, 1});  // no such tool: nothing
  EXPECT_EQ(ToolCount(hints), 4);

  hints.SetRect(w, 1, RECT{0, 0, 64, 64}, "Clock", false);
  EXPECT_FALSE(hints.Has(w, 1));
  hints.SetRect(w, 2, RECT{0, 0, 64, 64}, "", true);
  EXPECT_FALSE(hints.Has(w, 2));
  EXPECT_TRUE(hints.Has(other, 1));
  hints.Remove(other, 1);
  hints.Remove(other, 1);  // twice: harmless
  EXPECT_EQ(ToolCount(hints), 1);
  EXPECT_TRUE(hints.Has(children_[1].get()));
}

TEST_F(HintsTest, RectangleToolsNeedATooltip) {
  ql::Hints hints;
  hints.SetRect(owner_.get(), 1, RECT{0, 0, 5, 5}, "Clock", true);
  EXPECT_FALSE(hints.Has(owner_.get(), 1));
  hints.MoveRect(owner_.get(), 1, RECT{0, 0, 6, 6});
  hints.Remove(owner_.get(), 1);
  // A new tooltip starts with no tools.
  ASSERT_TRUE(hints.Create(owner_.get()));
  hints.SetRect(owner_.get(), 1, RECT{0, 0, 5, 5}, "Clock", true);
  ASSERT_TRUE(hints.Create(owner_.get()));
  EXPECT_FALSE(hints.Has(owner_.get(), 1));
  hints.SetRect(owner_.get(), 1, RECT{0, 0, 5, 5}, "Clock", true);
  EXPECT_EQ(ToolCount(hints), 1);
}

namespace {
// Rests the mouse at (x, y) of `window` and waits for the hint; the number of the tool shown, or 0.
UINT_PTR HintShownAt(const ql::Hints& hints, HWND window, int x, int y, DWORD waitMs = 3000) {
  ::SendMessageW(hints.hwnd(), TTM_POP, 0, 0);
  POINT screen{x, y};
  ::ClientToScreen(window, &screen);
  ::SetCursorPos(screen.x, screen.y);
  // One move, then the mouse rests (every move would start the delay again).
  ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < waitMs) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    if (::IsWindowVisible(hints.hwnd()) &&
        ::SendMessageW(hints.hwnd(), TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != 0) {
      return ti.uId;
    }
    ::Sleep(20);
  }
  return 0;
}
}  // namespace

// The window relays its mouse messages through its TileHost.
TEST_F(HintsTest, ARectangleToolShowsItsHintAndTheOthersStillDoWhenOneGoes) {
  ql::test::TileWindow window(200, 100);
  ql::Hints hints;
  ASSERT_TRUE(hints.Create(window.hwnd()));
  window.host().Attach(window.hwnd(), &hints);
  hints.SetRect(window.hwnd(), 1, RECT{0, 0, 50, 50}, "One", true);
  hints.SetRect(window.hwnd(), 2, RECT{50, 0, 100, 50}, "Two", true);
  hints.SetRect(window.hwnd(), 3, RECT{100, 0, 150, 50}, "Three", true);
  if (HintShownAt(hints, window.hwnd(), 75, 25) != 2) {
    GTEST_SKIP() << "no tooltip shows for a resting mouse on this display";
  }
  HintShownAt(hints, window.hwnd(), 180, 80, 300);  // away from every tool
  hints.Remove(window.hwnd(), 1);
  EXPECT_EQ(HintShownAt(hints, window.hwnd(), 75, 25), 2U);
  HintShownAt(hints, window.hwnd(), 180, 80, 300);
  hints.Remove(window.hwnd(), 3);
  EXPECT_EQ(HintShownAt(hints, window.hwnd(), 75, 25), 2U);
  HintShownAt(hints, window.hwnd(), 180, 80, 300);
  EXPECT_EQ(HintShownAt(hints, window.hwnd(), 110, 25, 1000), 0U);  // tool 3 is gone
  window.host().Attach(window.hwnd());
}

TEST_F(HintsTest, RelayTakesOnlyMouseMessages) {
  ql::Hints hints;
  hints.Relay(owner_.get(), WM_MOUSEMOVE, 0, 0);  // no tooltip: nothing
  ASSERT_TRUE(hints.Create(owner_.get()));
  hints.SetRect(owner_.get(), 1, RECT{0, 0, 50, 50}, "One", true);
  hints.Relay(owner_.get(), WM_KEYDOWN, VK_SPACE, 0);
  hints.Relay(owner_.get(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(hints.Has(owner_.get(), 1));
}
