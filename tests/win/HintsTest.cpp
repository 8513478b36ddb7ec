// The hints of a window: one tooltip control, its timing and colour, tools added, updated and
// removed.
#include <gtest/gtest.h>

#include "controls/Hints.h"

// After the Win32 layer's own header, which brings in <windows.h>.
#include <commctrl.h>

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
