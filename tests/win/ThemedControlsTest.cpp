// The themed dialog controls on real child windows of a test form: clicks, the space key, the
// accelerators and tabbing through IsDialogMessageW, the radio groups, the composed faces pixel
// by pixel, the combo box's element menu (real menus, driven by the keyboard), and the group box
// under its siblings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PixelSurface.h"
#include "controls/KovaCheckBox.h"
#include "controls/KovaComboBox.h"
#include "controls/KovaGrpBox.h"
#include "controls/KovaRadioBtn.h"
#include "win/Canvas.h"
#include "win/Utf.h"

using ql::TCheckBoxState;
using ql::TKovaCheckBox;
using ql::TKovaComboBox;
using ql::TKovaGrpBox;
using ql::TKovaRadioBtn;
using ql::TLeftRight;
using ql::test::ColorText;
using ql::test::Pixels;
using ql::test::ReadPixels;

namespace {

using namespace ql::test::palette;              // NOLINT(google-build-using-namespace)
constexpr COLORREF kFace = RGB(200, 180, 160);  // a control colour no drawing uses

COLORREF Sys(int index) { return ::GetSysColor(index); }

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// What the form's modal loop does with one keyboard message: offers it to the dialog manager.
bool DialogKey(HWND form, UINT message, WPARAM key, LPARAM lParam = 1) {
  MSG msg{};
  msg.hwnd = ::GetFocus() != nullptr ? ::GetFocus() : form;
  msg.message = message;
  msg.wParam = key;
  msg.lParam = lParam;
  return ::IsDialogMessageW(form, &msg) != FALSE;
}
constexpr LPARAM kAltDown = 1L << 29;

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

void ClickAt(HWND h, int x = 5, int y = 5) {
  ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  ::SendMessageW(h, WM_LBUTTONUP, 0, At(x, y));
}

int CountColour(const Pixels& p, int x1, int y1, int x2, int y2, COLORREF c) {
  int n = 0;
  for (int y = y1; y <= y2; ++y) {
    for (int x = x1; x <= x2; ++x) n += p.At(x, y) == c ? 1 : 0;
  }
  return n;
}

::testing::AssertionResult PixelIs(const Pixels& p, int x, int y, COLORREF want) {
  const COLORREF got = p.At(x, y);
  if (got == want) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << x << "," << y << ") is " << ColorText(got) << ", want " << ColorText(want);
}

// Every pixel alike; otherwise how many differ and the first one.
::testing::AssertionResult SamePixels(const Pixels& got, const Pixels& want) {
  if (got.width != want.width || got.height != want.height) {
    return ::testing::AssertionFailure()
           << "size " << got.width << "x" << got.height << ", want " << want.width << "x" << want.height;
  }
  int bad = 0;
  int fx = 0;
  int fy = 0;
  for (int y = 0; y < got.height; ++y) {
    for (int x = 0; x < got.width; ++x) {
      if (got.At(x, y) == want.At(x, y)) continue;
      if (bad++ == 0) {
        fx = x;
        fy = y;
      }
    }
  }
  if (bad == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << bad << " pixels differ, first (" << fx << "," << fy << ") "
                                       << ColorText(got.At(fx, fy)) << " want " << ColorText(want.At(fx, fy));
}

int DefaultFontTextHeight(const std::string& text) {
  ql::win::MemoryDc dc(::CreateCompatibleDC(nullptr));
  ql::win::Font font = ql::win::CreateDefaultCanvasFont(dc.get());
  ql::win::SelectGuard sel(dc.get(), font.get());
  const std::wstring w = ql::win::Widen(text);
  SIZE size{};
  ::GetTextExtentPoint32W(dc.get(), w.c_str(), static_cast<int>(w.size()), &size);
  return static_cast<int>(size.cy);
}

LRESULT CALLBACK FormProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(h, msg, wParam, lParam);
}

// A visible, active top-level form holding the controls, as the dialogs do. One form serves every
// test (destroying an active top-level window costs Wine two seconds); each test starts with it
// empty and focused.
HWND TestForm() {
  static ql::win::OwnedWindow form;
  if (!form) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &FormProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"QlThemedTestForm";
    ::RegisterClassW(&wc);
    form.reset(::CreateWindowExW(0, L"QlThemedTestForm", L"Themed controls",
                                 WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN | WS_VISIBLE, 120, 220, 360,
                                 260, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
  }
  return form.get();
}

class ThemedControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(form(), nullptr);
    ::SetForegroundWindow(form());
    ::SetActiveWindow(form());
    ::SetFocus(form());
    Pump();
  }
  void TearDown() override {
    // Whatever a test left on the form goes with it.
    while (HWND child = ::GetWindow(form(), GW_CHILD)) ::DestroyWindow(child);
    Pump();
  }
  static HWND form() { return TestForm(); }

  std::unique_ptr<TKovaCheckBox> Check(const std::string& caption, int id = 10, int y = 30) {
    auto c = std::make_unique<TKovaCheckBox>();
    EXPECT_TRUE(c->Create(form(), id, 20, y, 97, 17, caption));
    return c;
  }
  std::unique_ptr<TKovaRadioBtn> Radio(HWND parent, const std::string& caption, int id, int y) {
    auto r = std::make_unique<TKovaRadioBtn>();
    EXPECT_TRUE(r->Create(parent, id, 20, y, 97, 17, caption));
    return r;
  }
};

// --- Check box ----------------------------------------------------------------------------------

TEST_F(ThemedControlsTest, CheckBoxAfterCreation) {
  TKovaCheckBox c;
  ASSERT_TRUE(c.Create(form(), 42, 7, 9));
  EXPECT_EQ(c.State(), TCheckBoxState::cbUnchecked);
  EXPECT_FALSE(c.Checked());
  EXPECT_FALSE(c.AllowGrayed());
  EXPECT_TRUE(c.Border());
  EXPECT_EQ(c.Alignment(), TLeftRight::taRightJustify);
  EXPECT_TRUE(c.Enabled());
  EXPECT_TRUE(c.Ctl3D());
  EXPECT_EQ(c.Color(), Sys(COLOR_BTNFACE));
  EXPECT_EQ(c.Font(), nullptr);
  const RECT r = c.Bounds();
  EXPECT_EQ(r.left, 7);
  EXPECT_EQ(r.top, 9);
  EXPECT_EQ(r.right - r.left, 97);
  EXPECT_EQ(r.bottom - r.top, 17);
  EXPECT_EQ(::GetDlgCtrlID(c.hwnd()), 42);
  EXPECT_EQ(::GetDlgItem(form(), 42), c.hwnd());
  const LONG style = ::GetWindowLongW(c.hwnd(), GWL_STYLE);
  const LONG want = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS;
  EXPECT_EQ(style & want, want);
  EXPECT_EQ(style & 0x0F, 0);  // not taken for a group box by the dialog manager
  wchar_t cls[32] = {};
  ::GetClassNameW(c.hwnd(), cls, 32);
  EXPECT_STREQ(cls, L"TKovaCheckBox");
  EXPECT_EQ(::SendMessageW(c.hwnd(), WM_GETDLGCODE, 0, 0), DLGC_BUTTON);
}

TEST_F(ThemedControlsTest, CaptionIsTheWindowTextBothWays) {
  auto c = Check("&Use default texture");
  wchar_t text[64] = {};
  ::GetWindowTextW(c->hwnd(), text, 64);
  EXPECT_STREQ(text, L"&Use default texture");
  c->SetCaption("Caf\xC3\xA9 &bar");
  ::GetWindowTextW(c->hwnd(), text, 64);
  EXPECT_STREQ(text, L"Caf\u00E9 &bar");
  ::SetWindowTextW(c->hwnd(), L"&Other");
  EXPECT_EQ(c->Caption(), "&Other");
}

TEST_F(ThemedControlsTest, ClickAlternatesAndRaisesOnClickAfterTheToggle) {
  auto c = Check("&Texture");
  std::vector<TCheckBoxState> seen;
  c->OnClick = [&](TKovaCheckBox& self) {
    EXPECT_EQ(&self, c.get());
    seen.push_back(self.State());
  };
  ::SetFocus(form());
  ClickAt(c->hwnd());
  EXPECT_TRUE(c->Checked());
  EXPECT_EQ(::GetFocus(), c->hwnd());  // a click takes the focus
  ClickAt(c->hwnd());
  EXPECT_EQ(c->State(), TCheckBoxState::cbUnchecked);
  ClickAt(c->hwnd());
  ASSERT_EQ(seen.size(), 3U);
  EXPECT_EQ(seen[0], TCheckBoxState::cbChecked);
  EXPECT_EQ(seen[1], TCheckBoxState::cbUnchecked);
  EXPECT_EQ(seen[2], TCheckBoxState::cbChecked);
}

TEST_F(ThemedControlsTest, AllowGrayedCyclesUncheckedGrayedChecked) {
  auto c = Check("Grey");
  c->SetAllowGrayed(true);
  std::vector<TCheckBoxState> seen;
  c->OnClick = [&](TKovaCheckBox& self) { seen.push_back(self.State()); };
  for (int i = 0; i < 4; ++i) ClickAt(c->hwnd());
  const std::vector<TCheckBoxState> want{TCheckBoxState::cbGrayed, TCheckBoxState::cbChecked,
                                         TCheckBoxState::cbUnchecked, TCheckBoxState::cbGrayed};
  EXPECT_EQ(seen, want);
  EXPECT_FALSE(c->Checked());  // grayed is not checked
  c->SetChecked(false);
  EXPECT_EQ(c->State(), TCheckBoxState::cbUnchecked);
  c->SetChecked(true);
  EXPECT_EQ(c->State(), TCheckBoxState::cbChecked);
}

TEST_F(ThemedControlsTest, ReleaseOutsideOrSetByCodeIsNoClick) {
  auto c = Check("Out");
  int clicks = 0;
  c->OnClick = [&](TKovaCheckBox&) { ++clicks; };
  ::SendMessageW(c->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_EQ(::GetCapture(), c->hwnd());
  ::SendMessageW(c->hwnd(), WM_LBUTTONUP, 0, At(150, 5));
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(c->State(), TCheckBoxState::cbUnchecked);
  // A release without a press in the control is no click either.
  ::SendMessageW(c->hwnd(), WM_LBUTTONUP, 0, At(5, 5));
  c->SetState(TCheckBoxState::cbGrayed);
  EXPECT_EQ(::SendMessageW(c->hwnd(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  ::SendMessageW(c->hwnd(), BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_TRUE(c->Checked());
  EXPECT_EQ(::SendMessageW(c->hwnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(clicks, 0);
}

TEST_F(ThemedControlsTest, SpaceKeyClicksOncePerPress) {
  auto c = Check("&Space");
  int clicks = 0;
  c->OnClick = [&](TKovaCheckBox& self) {
    ++clicks;
    EXPECT_TRUE(self.Checked());
  };
  ::SetFocus(c->hwnd());
  ASSERT_EQ(::GetFocus(), c->hwnd());
  // Through the dialog manager, as the form's loop passes it on.
  EXPECT_TRUE(DialogKey(form(), WM_KEYDOWN, VK_SPACE));
  EXPECT_TRUE(c->Checked());
  EXPECT_EQ(clicks, 1);
  // Auto-repeat of the held key does nothing more.
  ::SendMessageW(c->hwnd(), WM_KEYDOWN, VK_SPACE, 1 | (1L << 30));
  EXPECT_TRUE(c->Checked());
  EXPECT_EQ(clicks, 1);
}

TEST_F(ThemedControlsTest, AcceleratorTogglesWithoutOnClickAndTakesTheFocus) {
  auto other = Check("Other", 11, 60);
  auto c = Check("&Use default texture", 10, 30);
  int clicks = 0;
  c->OnClick = [&](TKovaCheckBox&) { ++clicks; };
  ::SetFocus(other->hwnd());
  ASSERT_EQ(::GetFocus(), other->hwnd());

  // Alt+U: the dialog manager finds the letter and sends the control BM_CLICK.
  EXPECT_TRUE(DialogKey(form(), WM_SYSCHAR, 'u', kAltDown));
  EXPECT_TRUE(c->Checked());
  EXPECT_EQ(::GetFocus(), c->hwnd());
  // The letter alone (the focused control does not want characters), upper case too.
  ::SetFocus(other->hwnd());
  EXPECT_TRUE(DialogKey(form(), WM_CHAR, 'U'));
  EXPECT_FALSE(c->Checked());
  EXPECT_EQ(::GetFocus(), c->hwnd());
  EXPECT_EQ(clicks, 0);
  // Another letter is not this control's.
  DialogKey(form(), WM_CHAR, 's');
  EXPECT_FALSE(c->Checked());
}

TEST_F(ThemedControlsTest, DisabledCheckBoxIgnoresAcceleratorClickAndSpace) {
  auto other = Check("Other", 11, 60);
  auto c = Check("&Use", 10, 30);
  int clicks = 0;
  c->OnClick = [&](TKovaCheckBox&) { ++clicks; };
  c->SetEnabled(false);
  EXPECT_FALSE(c->Enabled());
  EXPECT_FALSE(::IsWindowEnabled(c->hwnd()));
  ::SetFocus(other->hwnd());
  DialogKey(form(), WM_CHAR, 'u');
  ::SendMessageW(c->hwnd(), BM_CLICK, 0, 0);  // even when sent straight to it
  ClickAt(c->hwnd());
  ::SendMessageW(c->hwnd(), WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_EQ(c->State(), TCheckBoxState::cbUnchecked);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(::GetFocus(), other->hwnd());
  EXPECT_FALSE(c->CanFocus());

  // Enabled from outside (EnableWindow) it follows.
  ::EnableWindow(c->hwnd(), TRUE);
  EXPECT_TRUE(c->Enabled());
  DialogKey(form(), WM_SYSCHAR, 'u', kAltDown);
  EXPECT_TRUE(c->Checked());
}

TEST_F(ThemedControlsTest, TabMovesThroughTheTabStopsAndSkipsTheGroupBox) {
  TKovaGrpBox g;
  ASSERT_TRUE(g.Create(form(), 5, 5, 300, 200, " Options "));
  auto a = Check("A", 10, 30);
  auto b = Check("B", 11, 60);
  auto r = Radio(form(), "R", 12, 90);
  ::SetFocus(a->hwnd());
  EXPECT_TRUE(DialogKey(form(), WM_KEYDOWN, VK_TAB));
  EXPECT_EQ(::GetFocus(), b->hwnd());
  EXPECT_TRUE(DialogKey(form(), WM_KEYDOWN, VK_TAB));
  EXPECT_EQ(::GetFocus(), r->hwnd());
  EXPECT_TRUE(DialogKey(form(), WM_KEYDOWN, VK_TAB));
  EXPECT_EQ(::GetFocus(), a->hwnd());
}

TEST_F(ThemedControlsTest, OnClickMayDestroyTheControl) {
  auto c = Check("Gone");
  c->OnClick = [&](TKovaCheckBox&) { c.reset(); };
  const HWND h = c->hwnd();
  ClickAt(h);
  EXPECT_EQ(c, nullptr);
  EXPECT_FALSE(::IsWindow(h));
}

// --- Radio button -------------------------------------------------------------------------------

TEST_F(ThemedControlsTest, RadioAfterCreation) {
  TKovaRadioBtn r;
  ASSERT_TRUE(r.Create(form(), 7, 3, 4, 97, 17, "&Radio"));
  EXPECT_FALSE(r.Checked());
  const RECT b = r.Bounds();
  EXPECT_EQ(b.right - b.left, 97);
  EXPECT_EQ(b.bottom - b.top, 17);
  EXPECT_NE(::GetWindowLongW(r.hwnd(), GWL_STYLE) & WS_TABSTOP, 0);
  EXPECT_EQ(::SendMessageW(r.hwnd(), WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON);
}

TEST_F(ThemedControlsTest, ClickingARadioUnchecksItsSiblingsOnly) {
  // A second parent with its own radio buttons.
  ql::win::OwnedWindow panel(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 180, 10, 150, 100,
                                               form(), nullptr, ::GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(panel);
  auto a = Radio(form(), "A", 1, 10);
  auto b = Radio(form(), "B", 2, 30);
  auto check = Check("C", 3, 50);
  auto p = Radio(panel.get(), "P", 4, 10);
  auto q = Radio(panel.get(), "Q", 5, 30);
  q->SetChecked(true);
  a->SetChecked(true);
  check->SetChecked(true);

  std::vector<bool> previous;
  b->OnClick = [&](TKovaRadioBtn& self) { previous.push_back(self.Checked()); };
  ClickAt(b->hwnd());
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(check->Checked());  // not a radio button
  EXPECT_TRUE(q->Checked());      // another parent
  EXPECT_FALSE(p->Checked());
  EXPECT_EQ(::GetFocus(), b->hwnd());
  // Clicking the checked one again: still checked, OnClick sees it checked.
  ClickAt(b->hwnd());
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(previous, (std::vector<bool>{false, true}));

  // Setting by code unchecks the siblings too, without OnClick.
  a->SetChecked(true);
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(::SendMessageW(a->hwnd(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(previous.size(), 2U);
  p->SetChecked(true);
  EXPECT_FALSE(q->Checked());
  EXPECT_TRUE(a->Checked());
}

TEST_F(ThemedControlsTest, RadioSpaceKeyChecksAndAcceleratorOnlyFocuses) {
  auto a = Radio(form(), "&Alpha", 1, 10);
  auto b = Radio(form(), "&Beta", 2, 30);
  int clicks = 0;
  a->OnClick = [&](TKovaRadioBtn&) { ++clicks; };
  b->OnClick = [&](TKovaRadioBtn&) { ++clicks; };
  ::SetFocus(b->hwnd());
  EXPECT_TRUE(DialogKey(form(), WM_SYSCHAR, 'a', kAltDown));
  EXPECT_EQ(::GetFocus(), a->hwnd());
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(DialogKey(form(), WM_KEYDOWN, VK_SPACE));
  EXPECT_TRUE(a->Checked());
  EXPECT_EQ(clicks, 1);
  // A disabled radio button leaves the accelerator alone.
  b->SetEnabled(false);
  DialogKey(form(), WM_CHAR, 'b');
  EXPECT_EQ(::GetFocus(), a->hwnd());
}

// --- Faces --------------------------------------------------------------------------------------

class ThemedFaceTest : public ThemedControlsTest {
 protected:
  // Mark origin of a 97 x 17 control: (0, 0) or (81, 0).
  static constexpr int kW = 97;
  static constexpr int kH = 17;
};

TEST_F(ThemedFaceTest, CheckedBoxShowsTheRaisedBoxAndTheTick) {
  auto c = Check("Tick");
  c->SetColor(kFace);
  c->SetChecked(true);
  const Pixels p = ReadPixels(c->Compose().get());
  ASSERT_EQ(p.width, kW);
  ASSERT_EQ(p.height, kH);
  // The box: white top and left, black bottom and right, dark grey inside them.
  EXPECT_TRUE(PixelIs(p, 0, 0, kWhite));
  EXPECT_TRUE(PixelIs(p, 14, 0, kWhite));
  EXPECT_TRUE(PixelIs(p, 0, 14, kWhite));
  EXPECT_TRUE(PixelIs(p, 15, 0, kBlack));
  EXPECT_TRUE(PixelIs(p, 0, 15, kBlack));
  EXPECT_TRUE(PixelIs(p, 15, 15, kBlack));
  EXPECT_TRUE(PixelIs(p, 1, 14, kDark));
  EXPECT_TRUE(PixelIs(p, 14, 14, kDark));
  EXPECT_TRUE(PixelIs(p, 14, 1, kDark));
  EXPECT_TRUE(PixelIs(p, 1, 1, kFace));
  // The tick: white, black over white, dark grey over black.
  EXPECT_TRUE(PixelIs(p, 12, 2, kWhite));
  EXPECT_TRUE(PixelIs(p, 7, 7, kWhite));
  EXPECT_TRUE(PixelIs(p, 4, 10, kWhite));
  EXPECT_TRUE(PixelIs(p, 3, 11, kWhite));
  EXPECT_TRUE(PixelIs(p, 3, 6, kWhite));
  EXPECT_TRUE(PixelIs(p, 3, 5, kFace));
  EXPECT_TRUE(PixelIs(p, 12, 3, kBlack));
  EXPECT_TRUE(PixelIs(p, 7, 8, kBlack));
  EXPECT_TRUE(PixelIs(p, 3, 12, kBlack));
  EXPECT_TRUE(PixelIs(p, 4, 6, kBlack));
  EXPECT_TRUE(PixelIs(p, 2, 13, kFace));
  EXPECT_TRUE(PixelIs(p, 4, 9, kDark));
  EXPECT_TRUE(PixelIs(p, 5, 8, kDark));
  EXPECT_TRUE(PixelIs(p, 12, 4, kDark));
  EXPECT_TRUE(PixelIs(p, 8, 8, kDark));
  EXPECT_TRUE(PixelIs(p, 4, 12, kDark));
  EXPECT_TRUE(PixelIs(p, 3, 13, kFace));
  EXPECT_TRUE(PixelIs(p, 10, 10, kFace));
}

TEST_F(ThemedFaceTest, UncheckedAndGrayedShowTheEmptyBoxAndBorderOffOnlyFills) {
  auto c = Check("Box");
  c->SetColor(kFace);
  for (TCheckBoxState s : {TCheckBoxState::cbUnchecked, TCheckBoxState::cbGrayed}) {
    c->SetState(s);
    const Pixels p = ReadPixels(c->Compose().get());
    EXPECT_TRUE(PixelIs(p, 0, 0, kWhite));
    EXPECT_TRUE(PixelIs(p, 0, 15, kBlack));
    EXPECT_TRUE(PixelIs(p, 15, 0, kBlack));
    EXPECT_TRUE(PixelIs(p, 14, 14, kDark));
    // Inside the frame: nothing but the colour.
    EXPECT_EQ(CountColour(p, 1, 1, 13, 13, kFace), 13 * 13);
  }
  c->SetBorder(false);
  c->SetChecked(true);
  const Pixels p = ReadPixels(c->Compose().get());
  EXPECT_TRUE(PixelIs(p, 0, 0, kFace));
  EXPECT_TRUE(PixelIs(p, 15, 15, kFace));
  EXPECT_TRUE(PixelIs(p, 14, 14, kFace));
  EXPECT_TRUE(PixelIs(p, 7, 7, kWhite));  // the tick stays
}

TEST_F(ThemedFaceTest, LeftJustifiedPutsTheMarkAtTheRightEdge) {
  auto c = Check("Left");
  c->SetColor(kFace);
  c->SetChecked(true);
  c->SetAlignment(TLeftRight::taLeftJustify);
  const Pixels p = ReadPixels(c->Compose().get());
  const int x0 = kW - 16;
  EXPECT_TRUE(PixelIs(p, x0, 0, kWhite));
  EXPECT_TRUE(PixelIs(p, x0 + 15, 15, kBlack));
  EXPECT_TRUE(PixelIs(p, kW - 1, 0, kBlack));
  EXPECT_TRUE(PixelIs(p, x0 + 12, 2, kWhite));
  EXPECT_TRUE(PixelIs(p, x0 + 12, 3, kBlack));
  EXPECT_TRUE(PixelIs(p, 0, 0, kFace));
  EXPECT_TRUE(PixelIs(p, 0, 15, kFace));
  // The caption starts at x = 1: text pixels in the first columns, none left of it.
  EXPECT_EQ(CountColour(p, 0, 0, 0, kH - 1, kFace), kH);
  EXPECT_GT(CountColour(p, 1, 0, 12, kH - 1, Sys(COLOR_WINDOWTEXT)), 0);
}

TEST_F(ThemedFaceTest, MarkIsCentredVertically) {
  TKovaCheckBox c;
  ASSERT_TRUE(c.Create(form(), 1, 0, 0, 120, 30, "Tall"));
  c.SetColor(kFace);
  const Pixels p = ReadPixels(c.Compose().get());
  // y0 = (30 - 16) / 2 = 7
  EXPECT_TRUE(PixelIs(p, 0, 6, kFace));
  EXPECT_TRUE(PixelIs(p, 0, 7, kWhite));
  EXPECT_TRUE(PixelIs(p, 0, 22, kBlack));
  EXPECT_TRUE(PixelIs(p, 0, 23, kFace));
}

TEST_F(ThemedFaceTest, CaptionEnabledDisabledEmbossedAndFocused) {
  auto c = Check("MMMM");
  c->SetColor(kFace);
  const COLORREF text = Sys(COLOR_WINDOWTEXT);
  const COLORREF grey = Sys(COLOR_GRAYTEXT);
  const COLORREF light = Sys(COLOR_BTNHIGHLIGHT);
  // The caption lies from x = 20; nothing between the mark and it.
  Pixels p = ReadPixels(c->Compose().get());
  EXPECT_EQ(CountColour(p, 16, 0, 19, kH - 1, kFace), 4 * kH);
  EXPECT_GT(CountColour(p, 20, 0, kW - 1, kH - 1, text), 10);

  c->SetEnabled(false);
  p = ReadPixels(c->Compose().get());
  EXPECT_EQ(CountColour(p, 20, 0, kW - 1, kH - 1, text), 0);
  EXPECT_GT(CountColour(p, 20, 0, kW - 1, kH - 1, grey), 10);
  EXPECT_GT(CountColour(p, 20, 0, kW - 1, kH - 1, light), 3);  // the embossed copy
  c->SetCtl3D(false);
  p = ReadPixels(c->Compose().get());
  EXPECT_EQ(CountColour(p, 20, 0, kW - 1, kH - 1, light), 0);
  EXPECT_GT(CountColour(p, 20, 0, kW - 1, kH - 1, grey), 10);

  // The focus rectangle goes around the caption: its corner pixels change when focused.
  c->SetEnabled(true);
  const Pixels before = ReadPixels(c->Compose().get());
  ::SetFocus(c->hwnd());
  ASSERT_TRUE(c->Focused());
  const Pixels focused = ReadPixels(c->Compose().get());
  int changed = 0;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) changed += focused.At(x, y) != before.At(x, y) ? 1 : 0;
  }
  EXPECT_GT(changed, 10);
  EXPECT_EQ(CountColour(focused, 0, 0, 19, kH - 1, kFace), CountColour(before, 0, 0, 19, kH - 1, kFace));
}

TEST_F(ThemedFaceTest, RadioMarkPixels) {
  auto r = Radio(form(), "Radio", 1, 10);
  r->SetColor(kFace);
  Pixels p = ReadPixels(r->Compose().get());
  // Single pixels and the black and white edges.
  EXPECT_TRUE(PixelIs(p, 3, 3, kDark));
  EXPECT_TRUE(PixelIs(p, 10, 2, kDark));
  EXPECT_TRUE(PixelIs(p, 2, 10, kDark));
  EXPECT_TRUE(PixelIs(p, 3, 13, kLight));
  EXPECT_TRUE(PixelIs(p, 13, 3, kLight));
  EXPECT_TRUE(PixelIs(p, 13, 4, kLight));
  EXPECT_TRUE(PixelIs(p, 7, 1, kBlack));
  EXPECT_TRUE(PixelIs(p, 1, 7, kBlack));
  EXPECT_TRUE(PixelIs(p, 7, 14, kWhite));
  EXPECT_TRUE(PixelIs(p, 12, 12, kWhite));
  EXPECT_TRUE(PixelIs(p, 14, 7, kWhite));
  // Unchecked: the inside is the colour; outside the circle's box too.
  EXPECT_TRUE(PixelIs(p, 7, 7, kFace));
  EXPECT_TRUE(PixelIs(p, 15, 15, kFace));
  EXPECT_TRUE(PixelIs(p, 0, 0, kFace));
  r->SetChecked(true);
  p = ReadPixels(r->Compose().get());
  EXPECT_EQ(CountColour(p, 5, 5, 9, 9, kWhite), 25);  // the white dot
  EXPECT_TRUE(PixelIs(p, 13, 3, kLight));
  r->SetAlignment(TLeftRight::taLeftJustify);
  p = ReadPixels(r->Compose().get());
  EXPECT_EQ(CountColour(p, kW - 16 + 5, 5, kW - 16 + 9, 9, kWhite), 25);
  EXPECT_TRUE(PixelIs(p, kW - 16 + 13, 3, kLight));
}

TEST_F(ThemedFaceTest, PaintCopiesTheComposedFaceWithoutErasing) {
  auto c = Check("Paint");
  c->SetColor(kFace);
  c->SetChecked(true);
  ql::test::Surface s(kW, kH, RGB(7, 7, 7));
  EXPECT_NE(::SendMessageW(c->hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(s.dc()), 0), 0);
  EXPECT_EQ(CountColour(ReadPixels(s.bitmap()), 0, 0, kW - 1, kH - 1, RGB(7, 7, 7)), kW * kH);
  ::SendMessageW(c->hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(s.dc()), PRF_CLIENT);
  EXPECT_TRUE(SamePixels(ReadPixels(s.bitmap()), ReadPixels(c->Compose().get())));

  // The window on the screen shows the same face.
  ::RedrawWindow(c->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ql::test::Surface screen(kW, kH, RGB(7, 7, 7));
  {
    ql::win::WindowDc dc(c->hwnd());
    ::BitBlt(screen.dc(), 0, 0, kW, kH, dc.get(), 0, 0, SRCCOPY);
  }
  EXPECT_TRUE(SamePixels(ReadPixels(screen.bitmap()), ReadPixels(c->Compose().get())));
}

TEST_F(ThemedFaceTest, FontIsTheCallersOrTheDialogFont) {
  auto c = Check("WW");
  c->SetColor(kFace);
  // Columns of the caption that are not plain colour.
  auto inkColumns = [&](const Pixels& p) {
    int n = 0;
    for (int x = 20; x < kW; ++x) n += CountColour(p, x, 0, x, kH - 1, kFace) < kH ? 1 : 0;
    return n;
  };
  const Pixels dialogFont = ReadPixels(c->Compose().get());
  ql::win::Font big = ql::win::CreateFontPixels(L"Arial", 15);
  c->SetFont(big.get());
  EXPECT_EQ(c->Font(), big.get());
  EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(c->hwnd(), WM_GETFONT, 0, 0)), big.get());
  const Pixels bigFont = ReadPixels(c->Compose().get());
  EXPECT_GT(inkColumns(bigFont), inkColumns(dialogFont));
  EXPECT_GT(inkColumns(dialogFont), 8);
  ::SendMessageW(c->hwnd(), WM_SETFONT, 0, TRUE);
  EXPECT_EQ(c->Font(), nullptr);
  EXPECT_TRUE(SamePixels(ReadPixels(c->Compose().get()), dialogFont));
}

// --- Group box ----------------------------------------------------------------------------------

TEST_F(ThemedControlsTest, GroupBoxEtchedFrameAndCaptionGap) {
  TKovaGrpBox g;
  ASSERT_TRUE(g.Create(form(), 5, 5, 180, 100, " Options "));
  EXPECT_EQ(g.Color(), Sys(COLOR_BTNFACE));
  g.SetColor(kFace);
  const Pixels p = ReadPixels(g.Compose().get());
  ASSERT_EQ(p.width, 180);
  ASSERT_EQ(p.height, 100);
  const COLORREF hi = Sys(COLOR_BTNHIGHLIGHT);
  const COLORREF sh = Sys(COLOR_BTNSHADOW);
  const int th = DefaultFontTextHeight(" Options ");
  const int top = th / 2;
  EXPECT_TRUE(PixelIs(p, 0, 50, sh));
  EXPECT_TRUE(PixelIs(p, 1, 50, hi));
  EXPECT_TRUE(PixelIs(p, 178, 50, sh));
  EXPECT_TRUE(PixelIs(p, 179, 50, hi));
  EXPECT_TRUE(PixelIs(p, 50, 98, sh));
  EXPECT_TRUE(PixelIs(p, 50, 99, hi));
  EXPECT_TRUE(PixelIs(p, 3, top, sh));
  EXPECT_TRUE(PixelIs(p, 3, top + 1, hi));
  EXPECT_TRUE(PixelIs(p, 176, top, sh));
  EXPECT_TRUE(PixelIs(p, 0, top - 1, kFace));
  EXPECT_TRUE(PixelIs(p, 50, 50, kFace));
  EXPECT_TRUE(PixelIs(p, 1, 99, hi));
  EXPECT_TRUE(PixelIs(p, 0, 99, kFace));
  // The caption interrupts the frame: no shadow along the top under the centred text, whose
  // leading blank shows the colour.
  const int centre = 90;
  EXPECT_NE(p.At(centre, top), sh);
  int shadowOnTop = 0;
  for (int x = 0; x < 180; ++x) shadowOnTop += p.At(x, top) == sh ? 1 : 0;
  EXPECT_LT(shadowOnTop, 179 - 20);
  EXPECT_GT(shadowOnTop, 60);
}

// What the screen shows of a window's client area.
Pixels OnScreen(HWND h) {
  RECT r{};
  ::GetClientRect(h, &r);
  ql::test::Surface shot(r.right, r.bottom);
  {
    ql::win::WindowDc dc(h);
    ::BitBlt(shot.dc(), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
  }
  return ReadPixels(shot.bitmap());
}

TEST_F(ThemedControlsTest, GroupBoxMadeFirstEndsUnderTheControlsMadeAfterIt) {
  // As a dialog does: the group box, then the controls over it.
  TKovaGrpBox g;
  ASSERT_TRUE(g.Create(form(), 5, 5, 300, 200, " View "));
  g.SetColor(RGB(10, 120, 10));
  auto c = Check("&Over", 10, 30);
  c->SetColor(kFace);
  c->SetChecked(true);
  auto r = Radio(form(), "&Radio", 11, 60);
  r->SetColor(kFace);
  EXPECT_EQ(::GetWindow(r->hwnd(), GW_HWNDNEXT), nullptr);  // made last: at the bottom for now
  Pump();                                                   // back in the message loop, the group box sinks
  EXPECT_EQ(::GetWindow(g.hwnd(), GW_HWNDNEXT), nullptr);
  EXPECT_EQ(::GetWindow(form(), GW_CHILD), c->hwnd());  // the tab order is untouched

  ::RedrawWindow(form(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  EXPECT_TRUE(SamePixels(OnScreen(c->hwnd()), ReadPixels(c->Compose().get())));
  EXPECT_TRUE(SamePixels(OnScreen(r->hwnd()), ReadPixels(r->Compose().get())));

  // A control made later, once the form is up, goes under it again until SinkToBottom.
  auto late = Check("Late", 12, 90);
  g.SinkToBottom();
  EXPECT_EQ(::GetWindow(g.hwnd(), GW_HWNDNEXT), nullptr);
  ::RedrawWindow(form(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_TRUE(SamePixels(OnScreen(late->hwnd()), ReadPixels(late->Compose().get())));
}

TEST_F(ThemedControlsTest, GroupBoxLetsTheMousePassAndIsNoTabStop) {
  TKovaGrpBox g;
  ASSERT_TRUE(g.Create(form(), 5, 5, 300, 200, " View "));
  EXPECT_NE(::GetWindowLongW(g.hwnd(), GWL_STYLE) & WS_CLIPSIBLINGS, 0);
  EXPECT_EQ(::GetWindowLongW(g.hwnd(), GWL_STYLE) & WS_TABSTOP, 0);
  EXPECT_EQ(::SendMessageW(g.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(200, 300)), HTTRANSPARENT);
  EXPECT_EQ(::SendMessageW(g.hwnd(), WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

// --- Combo box ----------------------------------------------------------------------------------

// Runs `during` from a timer while the element menu is open (the menu's own loop dispatches it),
// then leaves the menu with `keys` (virtual keys posted to the menu loop) or EndMenu without any.
struct MenuDriver {
  std::vector<WPARAM> keys;
  RECT menuRect{};
  bool sawMenu = false;
  std::vector<RECT> items;
};
MenuDriver* g_driver = nullptr;
const TKovaComboBox* g_combo = nullptr;  // whose element menu is open

void CALLBACK DriveMenu(HWND form, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(form, id);
  MenuDriver& d = *g_driver;
  HWND popup = ::FindWindowW(L"#32768", nullptr);
  if (popup != nullptr && ::IsWindowVisible(popup)) {
    d.sawMenu = true;
    ::GetWindowRect(popup, &d.menuRect);
    HMENU menu = g_combo != nullptr ? g_combo->ElementMenu() : nullptr;
    for (int i = 0; menu != nullptr && i < ::GetMenuItemCount(menu); ++i) {
      RECT r{};
      ::GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
      d.items.push_back(r);
    }
  }
  if (d.keys.empty()) {
    ::EndMenu();
    return;
  }
  HWND target = popup != nullptr ? popup : form;
  for (WPARAM k : d.keys) {
    ::PostMessageW(target, WM_KEYDOWN, k, 1);
    ::PostMessageW(target, WM_KEYUP, k, 1 | (3L << 30));
  }
}

class ComboTest : public ThemedControlsTest {
 protected:
  void SetUp() override {
    ThemedControlsTest::SetUp();
    ASSERT_TRUE(combo_.Create(form(), 30, 40, 100, 121));
    g_driver = &driver_;
    g_combo = &combo_;
  }
  void TearDown() override {
    g_driver = nullptr;
    g_combo = nullptr;
    combo_.Destroy();
    ThemedControlsTest::TearDown();
  }
  // Opens the menu (as `open` does) and answers it with `keys`.
  void RunMenu(std::vector<WPARAM> keys, const std::function<void()>& open) {
    driver_ = MenuDriver{};
    driver_.keys = std::move(keys);
    ::SetTimer(form(), 77, 150, &DriveMenu);
    open();
    ::KillTimer(form(), 77);
  }
  // The element at `index` chosen with the keyboard: down from no selection to it, then Return.
  void Choose(int index) {
    std::vector<WPARAM> keys(static_cast<std::size_t>(index) + 1, VK_DOWN);
    keys.push_back(VK_RETURN);
    RunMenu(keys, [this] { combo_.OpenMenu(); });
  }

  TKovaComboBox combo_;
  MenuDriver driver_;
};

TEST_F(ComboTest, EmptyListShowsParenthesesAndElementsShowTheFirst) {
  EXPECT_EQ(combo_.Text(), "()");
  EXPECT_EQ(combo_.ItemSel(), 0);
  EXPECT_TRUE(combo_.Elements().empty());
  const RECT r = combo_.Bounds();
  EXPECT_EQ(r.bottom - r.top, 21);
  EXPECT_EQ(r.right - r.left, 121);
  EXPECT_EQ(::GetDlgItem(form(), 30), combo_.hwnd());

  combo_.SetElements({"Normal Button", "Select. Button"});
  EXPECT_EQ(combo_.Text(), "Normal Button");
  EXPECT_EQ(combo_.Elements().size(), 2U);
  combo_.SetItemSel(1);
  EXPECT_EQ(combo_.Text(), "Select. Button");
  EXPECT_EQ(combo_.ItemSel(), 1);
  combo_.SetElements({});
  EXPECT_EQ(combo_.Text(), "()");
  EXPECT_EQ(combo_.ItemSel(), 0);
}

TEST_F(ComboTest, ItemSelOutsideTheListIsIgnored) {
  combo_.SetElements({"a", "b", "c"});
  combo_.SetItemSel(2);
  for (std::int32_t bad : {-1, 3, 1000, INT32_MIN, INT32_MAX}) {
    combo_.SetItemSel(bad);
    EXPECT_EQ(combo_.ItemSel(), 2);
    EXPECT_EQ(combo_.Text(), "c");
  }
  TKovaComboBox unplaced;  // no window, no list
  unplaced.SetItemSel(0);
  EXPECT_EQ(unplaced.Text(), "()");
  unplaced.OpenMenu();  // nothing to show, no window: nothing happens
}

TEST_F(ComboTest, HeightIsAlways21) {
  ::MoveWindow(combo_.hwnd(), 30, 40, 150, 60, TRUE);
  const RECT r = combo_.Bounds();
  EXPECT_EQ(r.right - r.left, 150);
  EXPECT_EQ(r.bottom - r.top, 21);
}

TEST_F(ComboTest, FaceIsRaisedWithThePopupMarkAndTheText) {
  combo_.SetElements({"Xyz"});
  const Pixels p = ReadPixels(combo_.Compose().get());
  ASSERT_EQ(p.width, 121);
  ASSERT_EQ(p.height, 21);
  const COLORREF face = Sys(COLOR_BTNFACE);
  const int w = 121;
  const int h = 21;
  EXPECT_TRUE(PixelIs(p, 0, 0, kWhite));
  EXPECT_TRUE(PixelIs(p, 0, h - 2, kWhite));
  EXPECT_TRUE(PixelIs(p, 60, 0, kWhite));
  EXPECT_TRUE(PixelIs(p, 0, h - 1, kBlack));
  EXPECT_TRUE(PixelIs(p, w - 1, h - 1, kBlack));
  EXPECT_TRUE(PixelIs(p, w - 1, 1, kBlack));
  EXPECT_TRUE(PixelIs(p, w - 1, 0, kWhite));  // the black line stops short of the top row
  EXPECT_TRUE(PixelIs(p, 1, h - 2, kGrey));
  EXPECT_TRUE(PixelIs(p, w - 2, h - 2, kGrey));
  EXPECT_TRUE(PixelIs(p, w - 2, 1, kGrey));
  EXPECT_TRUE(PixelIs(p, 2, 2, face));
  // The popup mark against the right edge.
  EXPECT_TRUE(PixelIs(p, w - 14, 7, face));
  EXPECT_TRUE(PixelIs(p, w - 15, 6, kWhite));
  EXPECT_TRUE(PixelIs(p, w - 15, 10, kWhite));
  EXPECT_TRUE(PixelIs(p, w - 15, 11, kBlack));
  EXPECT_TRUE(PixelIs(p, w - 7, 6, kBlack));
  EXPECT_TRUE(PixelIs(p, w - 14, 10, kGrey));
  EXPECT_TRUE(PixelIs(p, w - 8, 7, kGrey));
  EXPECT_TRUE(PixelIs(p, w - 5, 13, kGrey));
  EXPECT_TRUE(PixelIs(p, w - 4, 13, face));
  // The text from x = 5.
  const COLORREF text = Sys(COLOR_WINDOWTEXT);
  EXPECT_EQ(CountColour(p, 2, 2, 4, h - 3, text), 0);
  EXPECT_GT(CountColour(p, 5, 2, 40, h - 3, text), 5);
}

TEST_F(ComboTest, EntriesAreMeasuredAndDrawnRaisedWithTheMarkOnTheSelectedElement) {
  combo_.SetElements({"one", "two", "three"});
  combo_.SetItemSel(1);
  MEASUREITEMSTRUCT mi{};
  mi.CtlType = ODT_MENU;
  mi.itemData = 0;
  EXPECT_TRUE(::SendMessageW(combo_.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi)));
  EXPECT_EQ(mi.itemHeight, 21U);
  EXPECT_EQ(mi.itemWidth, 121U - 18U);

  const int w = 103;
  auto draw = [&](ULONG_PTR index, UINT state) {
    ql::test::Surface s(w, 21, RGB(7, 7, 7));
    DRAWITEMSTRUCT di{};
    di.CtlType = ODT_MENU;
    di.itemData = index;
    di.itemState = state;
    di.rcItem = RECT{0, 0, w, 21};
    di.hDC = s.dc();
    EXPECT_TRUE(::SendMessageW(combo_.hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di)));
    return ReadPixels(s.bitmap());
  };
  const COLORREF face = Sys(COLOR_BTNFACE);
  // Not selected, not the chosen element: silver, one pixel short of the bottom.
  Pixels p = draw(0, 0);
  EXPECT_TRUE(PixelIs(p, 0, 0, kBlack));
  EXPECT_TRUE(PixelIs(p, 1, 1, kWhite));
  EXPECT_TRUE(PixelIs(p, w - 2, 5, kGrey));
  EXPECT_TRUE(PixelIs(p, w - 1, 5, kBlack));
  EXPECT_TRUE(PixelIs(p, 50, 19, kGrey));
  EXPECT_TRUE(PixelIs(p, 50, 20, RGB(7, 7, 7)));  // the box is 20 high: the last row stays the menu's
  EXPECT_TRUE(PixelIs(p, w - 20, 10, RGB(192, 192, 192)));
  EXPECT_TRUE(PixelIs(p, w - 14, 7, RGB(192, 192, 192)));  // no mark
  // Selected (under the mouse): light grey, full height.
  p = draw(0, ODS_SELECTED);
  EXPECT_TRUE(PixelIs(p, w - 20, 10, RGB(228, 228, 228)));
  EXPECT_TRUE(PixelIs(p, 50, 20, kGrey));
  // The element that is ItemSel carries the popup mark.
  p = draw(1, 0);
  EXPECT_TRUE(PixelIs(p, w - 14, 7, face));
  EXPECT_TRUE(PixelIs(p, w - 15, 6, kWhite));
  EXPECT_TRUE(PixelIs(p, w - 7, 11, kBlack));
  // Black text from x = 5.
  EXPECT_EQ(CountColour(p, 2, 2, 4, 18, kBlack), 0);
  EXPECT_GT(CountColour(p, 5, 3, 30, 18, kBlack), 5);
}

TEST_F(ComboTest, MenuOpensSoThatTheSelectedElementLiesOverTheControl) {
  combo_.SetElements({"zero", "one", "two", "three"});
  combo_.SetItemSel(2);
  POINT origin{0, 0};
  ::ClientToScreen(combo_.hwnd(), &origin);
  RunMenu({}, [this] { combo_.OpenMenu(); });
  if (!driver_.sawMenu) GTEST_SKIP() << "the popup menu window could not be found while it was open";
  EXPECT_EQ(driver_.menuRect.left, origin.x);
  EXPECT_EQ(driver_.menuRect.top, origin.y - 47);
  EXPECT_NE(combo_.ElementMenu(), nullptr);
  EXPECT_EQ(::GetMenuItemCount(combo_.ElementMenu()), 4);
  EXPECT_EQ(combo_.ItemSel(), 2);  // dismissed: nothing changes
}

TEST_F(ComboTest, MenuEntriesAre21HighAndRebuiltAtEachOpening) {
  combo_.SetElements({"zero", "one", "two"});
  RunMenu({}, [this] { combo_.OpenMenu(); });
  if (!driver_.sawMenu) GTEST_SKIP() << "the popup menu window could not be found while it was open";
  ASSERT_EQ(driver_.items.size(), 3U);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(driver_.items[i].bottom - driver_.items[i].top, 21) << i;
    EXPECT_GE(driver_.items[i].right - driver_.items[i].left, 121 - 18) << i;
    if (i > 0) {
      EXPECT_EQ(driver_.items[i].top, driver_.items[i - 1].bottom);
    }
  }
  const int height = driver_.menuRect.bottom - driver_.menuRect.top;
  EXPECT_GE(height, 3 * 21);
  EXPECT_LE(height, 3 * 21 + 12);  // the menu's border

  combo_.SetElements({"a", "b"});
  RunMenu({}, [this] { combo_.OpenMenu(); });
  EXPECT_EQ(driver_.items.size(), 2U);
  EXPECT_EQ(::GetMenuItemCount(combo_.ElementMenu()), 2);
}

TEST_F(ComboTest, ChoosingAnotherElementRaisesOnChangeOnce) {
  combo_.SetElements({"zero", "one", "two"});
  std::vector<std::int32_t> changes;
  combo_.OnChange = [&](TKovaComboBox& self) {
    EXPECT_EQ(&self, &combo_);
    changes.push_back(self.ItemSel());
    EXPECT_EQ(self.Text(), self.Elements()[static_cast<std::size_t>(self.ItemSel())]);
  };
  Choose(2);
  if (!driver_.sawMenu) GTEST_SKIP() << "the popup menu window could not be found while it was open";
  EXPECT_EQ(combo_.ItemSel(), 2);
  EXPECT_EQ(combo_.Text(), "two");
  EXPECT_EQ(changes, (std::vector<std::int32_t>{2}));
  // The current one again: no OnChange.
  Choose(2);
  EXPECT_EQ(combo_.ItemSel(), 2);
  EXPECT_EQ(changes.size(), 1U);
  // Escape: nothing chosen.
  RunMenu({VK_ESCAPE}, [this] { combo_.OpenMenu(); });
  EXPECT_EQ(combo_.ItemSel(), 2);
  EXPECT_EQ(changes.size(), 1U);
  Choose(0);
  EXPECT_EQ(combo_.Text(), "zero");
  EXPECT_EQ(changes, (std::vector<std::int32_t>{2, 0}));
}

TEST_F(ComboTest, PlainLeftPressOpensTheMenuOtherPressesGoToOnMouseDown) {
  combo_.SetElements({"zero", "one"});
  std::vector<ql::MouseEvent> downs;
  combo_.OnMouseDown = [&](TKovaComboBox&, const ql::MouseEvent& e) { downs.push_back(e); };

  RunMenu({}, [this] { ::SendMessageW(combo_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(8, 9)); });
  if (!driver_.sawMenu) GTEST_SKIP() << "the popup menu window could not be found while it was open";
  EXPECT_TRUE(downs.empty());

  RunMenu({}, [this] { ::SendMessageW(combo_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, At(8, 9)); });
  EXPECT_FALSE(driver_.sawMenu);
  RunMenu({}, [this] { ::SendMessageW(combo_.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, At(3, 4)); });
  EXPECT_FALSE(driver_.sawMenu);
  RunMenu({}, [this] { ::SendMessageW(combo_.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(8, 9)); });
  EXPECT_FALSE(driver_.sawMenu);
  ASSERT_EQ(downs.size(), 3U);
  EXPECT_EQ(downs[0].button, ql::MouseButton::Left);
  EXPECT_TRUE(downs[0].shift);
  EXPECT_EQ(downs[0].x, 8);
  EXPECT_EQ(downs[0].y, 9);
  EXPECT_EQ(downs[1].button, ql::MouseButton::Right);
  EXPECT_TRUE(downs[1].right);
  EXPECT_EQ(downs[2].button, ql::MouseButton::Left);
  EXPECT_TRUE(downs[2].doubleClick);
  EXPECT_NE(::GetClassLongW(combo_.hwnd(), GCL_STYLE) & CS_DBLCLKS, 0U);
}

TEST_F(ComboTest, OnChangeMayDestroyTheControl) {
  combo_.SetElements({"zero", "one"});
  combo_.OnChange = [&](TKovaComboBox& self) { self.Destroy(); };
  Choose(1);
  if (!driver_.sawMenu) GTEST_SKIP() << "the popup menu window could not be found while it was open";
  EXPECT_EQ(combo_.hwnd(), nullptr);
  EXPECT_EQ(combo_.ItemSel(), 1);
}

// --- Resources ----------------------------------------------------------------------------------

void MakePaintDestroy(HWND form) {
  TKovaGrpBox g;
  g.Create(form, 5, 5, 300, 200, " Options ");
  TKovaCheckBox c;
  c.Create(form, 1, 20, 30, 97, 17, "&Check");
  c.SetChecked(true);
  TKovaRadioBtn r;
  r.Create(form, 2, 20, 60, 97, 17, "&Radio");
  r.SetChecked(true);
  TKovaComboBox k;
  k.Create(form, 3, 20, 90, 121);
  k.SetElements({"one", "two"});
  ::SetFocus(c.hwnd());
  ::RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  ql::test::Surface s(103, 21);
  DRAWITEMSTRUCT di{};
  di.CtlType = ODT_MENU;
  di.itemData = 0;
  di.rcItem = RECT{0, 0, 103, 21};
  di.hDC = s.dc();
  ::SendMessageW(k.hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di));
  Pump();
}

TEST_F(ThemedControlsTest, GdiObjectCountStaysFlatAcrossCreatePaintDestroyCycles) {
  for (int i = 0; i < 3; ++i) MakePaintDestroy(form());  // warm-up: the font system's caches
  const std::uint32_t before = ql::test::GdiObjects();
  ASSERT_GT(before, 0U);
  for (int i = 0; i < 30; ++i) MakePaintDestroy(form());
  EXPECT_EQ(ql::test::GdiObjects(), before);
}

}  // namespace
