// The menus' looks pixel by pixel on memory DCs: every entry is drawn at (L, T) = (5, 4) of a
// larger surface, so that its place shows too.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MenuFiles.h"
#include "PixelSurface.h"
#include "controls/MenuBMP.h"
#include "controls/MenuLook.h"

using ql::MenuEntryLook;
using ql::MenuKind;
using ql::MenuLook;
using ql::test::ColorText;
using ql::test::Surface;

namespace {

using namespace ql::test::palette;  // NOLINT(google-build-using-namespace)
constexpr COLORREF kGround = RGB(1, 2, 3);
constexpr COLORREF kNorm = RGB(10, 200, 30);  // the plain entries' texture
constexpr COLORREF kSel = RGB(200, 40, 90);   // the selected entry's texture
constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr int L = 5;
constexpr int T = 4;
constexpr int W = 140;
constexpr int H = 20;

COLORREF Sys(int index) { return ::GetSysColor(index) & 0xFFFFFF; }

int Count(const Surface& s, int x1, int y1, int x2, int y2, COLORREF c) {
  int n = 0;
  for (int y = y1; y <= y2; ++y) {
    for (int x = x1; x <= x2; ++x) n += s.At(x, y) == c ? 1 : 0;
  }
  return n;
}

// A 16 x 16 picture: a red square (4..11) on `key`.
ql::win::Bitmap Picture(COLORREF key) {
  Surface s(16, 16, key);
  ql::win::Brush red(::CreateSolidBrush(kRed));
  const RECT square{4, 4, 12, 12};
  ::FillRect(s.dc(), &square, red.get());
  ql::win::Bitmap copy(static_cast<HBITMAP>(::CopyImage(s.bitmap(), IMAGE_BITMAP, 0, 0, 0)));
  return copy;
}

class MenuLookTest : public ::testing::Test {
 protected:
  MenuLookTest() : files_("qlmenulook") {
    norm_ = files_.Bmp("norm.bmp", kNorm);
    sel_ = files_.Bmp("sel.bmp", kSel);
    notBitmap_ = files_.File("text.bmp", {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'});
  }

  std::unique_ptr<Surface> Draw(const MenuEntryLook& entry, bool selected, bool kova,
                                const std::string& itSel = {}, const std::string& itNorm = {}, int h = H) {
    look_.SetOptions({kova, itSel, itNorm});
    auto s = std::make_unique<Surface>(W + 2 * L, h + 2 * T, kGround);
    look_.Draw(entry, s->dc(), RECT{L, T, L + W, T + h}, selected);
    return s;
  }
  static MenuEntryLook Entry(MenuKind kind, const char* caption, HBITMAP image = nullptr) {
    MenuEntryLook e;
    e.kind = kind;
    e.caption = caption;
    e.image = image;
    e.imageKey = kind == MenuKind::Main ? ql::MenuBMP::kTransparent : ql::kMenuIconKey;
    return e;
  }
  // The caption's pixels of colour `c` (the caption starts at x + 5 or x + 23, y + 3).
  static int CaptionPixels(const Surface& s, int left, COLORREF c) {
    return Count(s, L + left, T + 4, L + 60, T + 14, c);
  }
  // Nothing outside the entry changed.
  static void ExpectAroundUntouched(const Surface& s, int h = H) {
    EXPECT_EQ(Count(s, 0, 0, W + 2 * L - 1, T - 1, kGround), (W + 2 * L) * T);
    EXPECT_EQ(Count(s, 0, T + h, W + 2 * L - 1, h + 2 * T - 1, kGround), (W + 2 * L) * T);
    EXPECT_EQ(Count(s, 0, T, L - 1, T + h - 1, kGround), L * h);
    EXPECT_EQ(Count(s, L + W, T, W + 2 * L - 1, T + h - 1, kGround), L * h);
  }

  ql::test::ScratchFolder files_;
  MenuLook look_;
  std::string norm_;
  std::string sel_;
  std::string notBitmap_;
};

}  // namespace

TEST_F(MenuLookTest, TitleIsASunkenLabelBoxWithAWhiteCaptionInBothLooksAndMenus) {
  for (const MenuKind kind : {MenuKind::Main, MenuKind::Shell}) {
    for (const bool kova : {false, true}) {
      MenuEntryLook title = Entry(kind, "My Computer");
      title.title = true;
      const auto s = Draw(title, true, kova, sel_, norm_);
      SCOPED_TRACE(std::string(kind == MenuKind::Main ? "main" : "shell") + (kova ? " kova" : " standard"));
      EXPECT_EQ(s->At(L, T + 8), kBlack);            // left column of the frame
      EXPECT_EQ(s->At(L + W - 1, T + 8), kSilver);   // right column
      EXPECT_EQ(s->At(L + 70, T + H - 1), kSilver);  // bottom row, the entry's last
      EXPECT_EQ(s->At(L + W - 3, T + 10), kLabel);
      EXPECT_EQ(s->At(L + 1, T), kLabel);  // the top frame row lies above the entry
      EXPECT_GT(CaptionPixels(*s, 5, kWhite), 5);
      EXPECT_EQ(
          Count(*s, L + 1, T, L + W - 2, T + H - 2, kNorm) + Count(*s, L + 1, T, L + W - 2, T + H - 2, kSel),
          0);
      ExpectAroundUntouched(*s);
    }
  }
}

TEST_F(MenuLookTest, PictureLookDrawsRaisedBoxesWithoutTextures) {
  const auto plain = Draw(Entry(MenuKind::Shell, "Entry"), false, true);
  EXPECT_EQ(plain->At(L, T + 8), kBlack);
  EXPECT_EQ(plain->At(L + 1, T + 8), kWhite);
  EXPECT_EQ(plain->At(L + W - 2, T + 8), kGrey);
  EXPECT_EQ(plain->At(L + W - 1, T + 8), kBlack);
  EXPECT_EQ(plain->At(L + W - 10, T + 10), kSilver);
  EXPECT_EQ(plain->At(L + 10, T + H - 2), kGrey);    // the box is one row short:
  EXPECT_EQ(plain->At(L + 10, T + H - 1), kGround);  // the menu's own row stays
  EXPECT_GT(CaptionPixels(*plain, 5, Sys(COLOR_MENUTEXT)), 5);
  ExpectAroundUntouched(*plain);

  // Selected: the light box over the whole entry, the caption in black.
  const auto selected = Draw(Entry(MenuKind::Shell, "Entry"), true, true);
  EXPECT_EQ(selected->At(L + W - 10, T + 10), RGB(228, 228, 228));
  EXPECT_EQ(selected->At(L + 10, T + H - 1), kGrey);
  EXPECT_GT(CaptionPixels(*selected, 5, kBlack), 5);
  ExpectAroundUntouched(*selected);

  // The main menu's shell entries carry the arrow mark at (R - 15, T + 7); the shell menu's none.
  MenuEntryLook folder = ql::MainMenuEntry(3, "Control Panel", nullptr);
  const auto arrow = Draw(folder, false, true);
  const int ax = L + W - 15;
  const int ay = T + 7;
  EXPECT_EQ(arrow->At(ax, ay + 3), kBlack);
  EXPECT_EQ(arrow->At(ax + 1, ay), kBlack);
  EXPECT_EQ(arrow->At(ax + 2, ay + 1), kGrey);
  EXPECT_EQ(arrow->At(ax + 1, ay + 6), kWhite);
  EXPECT_EQ(plain->At(ax, ay + 3), kSilver);
  EXPECT_EQ(Draw(ql::MainMenuEntry(11, "Shutdown Computer", nullptr), false, true)->At(ax, ay + 3), kSilver);
}

TEST_F(MenuLookTest, PictureLookTexturesAndTheirFallbacks) {
  const auto plain = Draw(Entry(MenuKind::Shell, "Entry"), false, true, sel_, norm_);
  EXPECT_EQ(plain->At(L, T), kNorm);
  EXPECT_EQ(plain->At(L + W - 1, T + H - 1), kNorm);
  EXPECT_EQ(plain->At(L + W - 10, T + 10), kNorm);
  ExpectAroundUntouched(*plain);

  // The selected texture fills the entry less its outer ring; the caption keeps the menu's colour.
  const auto selected = Draw(Entry(MenuKind::Shell, "Entry"), true, true, sel_, norm_);
  EXPECT_EQ(selected->At(L + 1, T + 1), kSel);
  EXPECT_EQ(selected->At(L + W - 2, T + H - 2), kSel);
  EXPECT_EQ(selected->At(L, T), kGround);
  EXPECT_EQ(selected->At(L + W - 1, T + H - 1), kGround);
  EXPECT_GT(CaptionPixels(*selected, 5, Sys(COLOR_HIGHLIGHTTEXT)), 5);

  // A selected texture that cannot be read: the light box. The shell menu keeps the menu's text
  // colour then; the main menu writes in black as if no texture were set.
  for (const std::string& bad : {std::string("C:\\no\\such.bmp"), notBitmap_}) {
    const auto shell = Draw(Entry(MenuKind::Shell, "Entry"), true, true, bad, notBitmap_);
    EXPECT_EQ(shell->At(L + W - 10, T + 10), RGB(228, 228, 228));
    EXPECT_GT(CaptionPixels(*shell, 5, Sys(COLOR_HIGHLIGHTTEXT)), 5);
    EXPECT_EQ(CaptionPixels(*shell, 5, kBlack), 0);
    const auto main = Draw(ql::MainMenuEntry(15, "Quaylite Configuration", nullptr), true, true, bad);
    EXPECT_GT(CaptionPixels(*main, 5, kBlack), 5);
    // An unreadable plain texture gives the plain box.
    EXPECT_EQ(Draw(Entry(MenuKind::Shell, "Entry"), false, true, sel_, bad)->At(L + W - 10, T + 10), kSilver);
  }
}

TEST_F(MenuLookTest, StandardLookFillsInTheMenuColoursAndDrawsThePicture) {
  const ql::win::Bitmap icon = Picture(ql::kMenuIconKey);
  const auto plain = Draw(Entry(MenuKind::Shell, "Entry", icon.get()), false, false);
  EXPECT_EQ(plain->At(L, T), Sys(COLOR_MENU));
  EXPECT_EQ(plain->At(L + W - 1, T + H - 1), Sys(COLOR_MENU));
  EXPECT_EQ(plain->At(L + 4 + 5, T + 3 + 5), kRed);             // the picture at (L + 4, T + 3)
  EXPECT_EQ(plain->At(L + 4 + 3, T + 3 + 3), Sys(COLOR_MENU));  // its key left out
  EXPECT_EQ(Count(*plain, L, T, L + W - 1, T + H - 1, kMagenta), 0);
  EXPECT_GT(CaptionPixels(*plain, 23, Sys(COLOR_MENUTEXT)), 5);
  EXPECT_EQ(Count(*plain, L + 21, T + 3, L + 22, T + 16, Sys(COLOR_MENUTEXT)), 0);  // caption from L + 23
  ExpectAroundUntouched(*plain);

  const auto selected = Draw(Entry(MenuKind::Shell, "Entry", icon.get()), true, false);
  EXPECT_EQ(selected->At(L, T), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(selected->At(L + W - 1, T + H - 1), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(selected->At(L + 9, T + 8), kRed);
  EXPECT_GT(CaptionPixels(*selected, 23, Sys(COLOR_HIGHLIGHTTEXT)), 5);

  // The main menu's pictures have white for their key; the picture look draws no picture.
  const ql::win::Bitmap white = Picture(kWhite);
  const auto main = Draw(ql::MainMenuEntry(9, "Format Floppy Disk", white.get()), false, false);
  EXPECT_EQ(main->At(L + 9, T + 8), kRed);
  EXPECT_EQ(main->At(L + 7, T + 6), Sys(COLOR_MENU));
  EXPECT_EQ(Draw(Entry(MenuKind::Shell, "Entry", icon.get()), false, true)->At(L + 9, T + 8), kSilver);
}

TEST_F(MenuLookTest, StandardLookTexturesAndTheirFallbacks) {
  const auto plain = Draw(Entry(MenuKind::Shell, "Entry"), false, false, sel_, norm_);
  EXPECT_EQ(plain->At(L, T), kNorm);
  EXPECT_EQ(plain->At(L + W - 1, T + H - 1), kNorm);
  const auto selected = Draw(Entry(MenuKind::Shell, "Entry"), true, false, sel_, norm_);
  EXPECT_EQ(selected->At(L + 1, T + 1), kSel);
  EXPECT_EQ(selected->At(L + W - 2, T + H - 2), kSel);
  EXPECT_EQ(selected->At(L, T), kGround);
  ExpectAroundUntouched(*selected);

  const auto badPlain = Draw(Entry(MenuKind::Shell, "Entry"), false, false, notBitmap_, notBitmap_);
  EXPECT_EQ(badPlain->At(L + W - 10, T + 10), Sys(COLOR_MENU));
  const auto badSelected = Draw(Entry(MenuKind::Shell, "Entry"), true, false, "C:\\no\\such.bmp", norm_);
  EXPECT_EQ(badSelected->At(L, T), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(badSelected->At(L + W - 10, T + 10), Sys(COLOR_HIGHLIGHT));
}

TEST_F(MenuLookTest, SeparatorsAreEtchedLines) {
  // The main menu's: 10 pixels, in the button shadow and highlight colours, from L + 3 to R - 4.
  const int h = ql::kMenuSeparatorHeight;
  const auto main = Draw(ql::MainMenuEntry(8, "-", nullptr), false, false, {}, {}, h);
  EXPECT_EQ(main->At(L + 3, T + 3), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(main->At(L + W - 4, T + 3), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(main->At(L + 3, T + 4), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(main->At(L + W - 4, T + 4), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(main->At(L + 2, T + 3), kGround);
  EXPECT_EQ(main->At(L + W - 3, T + 3), kGround);
  // Only the two lines: no background of its own.
  EXPECT_EQ(Count(*main, L, T, L + W - 1, T + h - 1, kGround), W * h - 2 * (W - 6));
  ExpectAroundUntouched(*main, h);

  // The shell menu's: black over white; a plain texture lies behind.
  const auto shell = Draw(Entry(MenuKind::Shell, "-"), false, false, {}, norm_);
  EXPECT_EQ(shell->At(L + 3, T + 3), kBlack);
  EXPECT_EQ(shell->At(L + 3, T + 4), kWhite);
  EXPECT_EQ(shell->At(L, T), kNorm);
  EXPECT_EQ(shell->At(L + W - 1, T + H - 1), kNorm);
  EXPECT_EQ(Count(*shell, L, T + 5, L + W - 1, T + H - 1, kNorm), W * (H - 5));  // no caption

  // The picture look has no separators: "-" is an entry like the others.
  const auto kova = Draw(Entry(MenuKind::Shell, "-"), false, true);
  EXPECT_EQ(kova->At(L + 1, T + 8), kWhite);
  EXPECT_EQ(kova->At(L + W - 10, T + 10), kSilver);
}

TEST_F(MenuLookTest, MeasureGivesTheHeightsAndRoomForCaptionPictureAndArrow) {
  look_.SetOptions({false, {}, {}});
  EXPECT_EQ(look_.Measure(ql::MainMenuEntry(8, "-", nullptr)).cy, ql::kMenuSeparatorHeight);
  EXPECT_EQ(look_.Measure(ql::MainMenuEntry(11, "Shutdown Computer", nullptr)).cy, ql::kMenuEntryHeight);
  EXPECT_EQ(look_.Measure(Entry(MenuKind::Shell, "-")).cy, ql::kMenuEntryHeight);
  const SIZE shortOne = look_.Measure(Entry(MenuKind::Shell, "A"));
  const SIZE longOne = look_.Measure(Entry(MenuKind::Shell, "A much longer caption than that"));
  EXPECT_GT(longOne.cx, shortOne.cx + 50);
  EXPECT_GE(shortOne.cx, 23 + 16);
  // The picture look starts its caption 18 pixels further left.
  look_.SetOptions({true, {}, {}});
  EXPECT_EQ(look_.Measure(Entry(MenuKind::Shell, "A much longer caption than that")).cx, longOne.cx - 18);
}

TEST(MenuBMP, ThirteenWhiteKeyedPicturesFromTheProgram) {
  // The program's resources; this test program has none.
  ql::MenuBMP none;
  EXPECT_FALSE(none.Load());
  EXPECT_EQ(none.Image(0), nullptr);

  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring program(self);
  program = program.substr(0, program.find_last_of(L'\\')) + L"\\..\\..\\src\\quaylite.exe";
  HMODULE module = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) GTEST_SKIP() << "quaylite.exe is not built beside the tests";
  {
    ql::MenuBMP pictures;
    EXPECT_TRUE(pictures.Load(module));
    for (int i = 0; i < ql::MenuBMP::kCount; ++i) {
      const ql::test::Pixels p = ql::test::ReadPixels(pictures.Image(i));
      ASSERT_EQ(p.width, 16) << i;
      ASSERT_EQ(p.height, 16) << i;
      int drawn = 0;
      for (COLORREF c : p.data) {
        EXPECT_NE(c, kMagenta) << i;
        drawn += c != kWhite ? 1 : 0;
      }
      EXPECT_EQ(p.At(0, 0), kWhite) << i;  // every picture leaves its first row transparent
      EXPECT_GT(drawn, 30) << "picture " << i << " is almost empty";
    }
    EXPECT_EQ(pictures.Image(ql::MenuBMP::kCount), nullptr);
    EXPECT_EQ(pictures.Image(-1), nullptr);
  }
  ::FreeLibrary(module);
}
