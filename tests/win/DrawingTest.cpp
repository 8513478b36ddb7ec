// The shared drawing routines and the canvas, pixel by pixel on memory DCs.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "PixelSurface.h"
#include "core/TileGeometry.h"
#include "taskbar/Drawing.h"
#include "win/Canvas.h"

using ql::test::ColorText;
using ql::test::Surface;

namespace {

using namespace ql::test::palette;          // NOLINT(google-build-using-namespace)
constexpr COLORREF kGround = RGB(1, 2, 3);  // what the surface held before a routine drew

// An expected picture: starts as the surface's fill, then painted region by region.
class Expected {
 public:
  Expected(int w, int h, COLORREF fill) : w_(w), h_(h), px_(static_cast<std::size_t>(w * h), fill) {}
  void Set(int x, int y, COLORREF c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[static_cast<std::size_t>(y * w_ + x)] = c;
  }
  // Inclusive bounds.
  void Rect(int x1, int y1, int x2, int y2, COLORREF c) {
    for (int y = y1; y <= y2; ++y) {
      for (int x = x1; x <= x2; ++x) Set(x, y, c);
    }
  }
  COLORREF At(int x, int y) const { return px_[static_cast<std::size_t>(y * w_ + x)]; }
  int w() const { return w_; }
  int h() const { return h_; }

 private:
  int w_;
  int h_;
  std::vector<COLORREF> px_;
};

// Compares every pixel; reports the first few differences.
::testing::AssertionResult Matches(const Surface& s, const Expected& e) {
  int bad = 0;
  std::string report;
  for (int y = 0; y < e.h(); ++y) {
    for (int x = 0; x < e.w(); ++x) {
      const COLORREF got = s.At(x, y);
      if (got != e.At(x, y)) {
        if (++bad <= 8) {
          report += " (" + std::to_string(x) + "," + std::to_string(y) + ") got " + ColorText(got) +
                    " want " + ColorText(e.At(x, y)) + ";";
        }
      }
    }
  }
  if (bad == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << bad << " pixels differ:" << report;
}

// A small DIB section painted pixel by pixel.
ql::win::Bitmap MakeBitmap(int w, int h, const std::function<COLORREF(int, int)>& colour, int bitCount = 24) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ql::win::Bitmap bmp(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  ql::win::MemoryDc dc(::CreateCompatibleDC(nullptr));
  ql::win::SelectGuard sel(dc.get(), bmp.get());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) ::SetPixelV(dc.get(), x, y, colour(x, y));
  }
  ::GdiFlush();
  return bmp;
}

}  // namespace

// --- Canvas -------------------------------------------------------------------------------------

TEST(Canvas, LinesExcludeTheirEndPointAndFillsTheirRightAndBottomEdges) {
  Surface s(10, 10, kGround);
  {
    ql::win::Canvas c(s.dc());
    c.SetPenColor(kWhite);
    c.Line(1, 1, 5, 1);
    c.SetBrushColor(kLabel);
    c.FillRect(2, 4, 5, 6);
    c.SetPenColor(kGrey);
    c.MoveTo(8, 2);
    c.LineTo(8, 5);
  }
  Expected e(10, 10, kGround);
  e.Rect(1, 1, 4, 1, kWhite);
  e.Rect(2, 4, 4, 5, kLabel);
  e.Rect(8, 2, 8, 4, kGrey);
  EXPECT_TRUE(Matches(s, e));
}

TEST(Canvas, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  Surface s(8, 8, kGround);
  {
    ql::win::Canvas c(s.dc());
    c.SetPenColor(kBlack);
    c.SetBrushColor(kWhite);
    c.Rectangle(1, 1, 6, 5);
  }
  Expected e(8, 8, kGround);
  e.Rect(1, 1, 5, 4, kBlack);
  e.Rect(2, 2, 4, 3, kWhite);
  EXPECT_TRUE(Matches(s, e));
}

TEST(Canvas, GivesTheDcBackAsItFoundItAndFreesWhatItMade) {
  Surface s(8, 8, kGround);
  HGDIOBJ pen = ::GetCurrentObject(s.dc(), OBJ_PEN);
  HGDIOBJ brush = ::GetCurrentObject(s.dc(), OBJ_BRUSH);
  HGDIOBJ font = ::GetCurrentObject(s.dc(), OBJ_FONT);
  const int mode = ::GetBkMode(s.dc());
  HGDIOBJ madePen = nullptr;
  HGDIOBJ madeBrush = nullptr;
  HGDIOBJ madeFont = nullptr;
  {
    ql::win::Canvas c(s.dc());
    c.SetPenColor(kWhite);
    c.SetBrushColor(kLabel);
    EXPECT_GT(c.TextHeight("Ag"), 0);
    madePen = ::GetCurrentObject(s.dc(), OBJ_PEN);
    madeBrush = ::GetCurrentObject(s.dc(), OBJ_BRUSH);
    madeFont = ::GetCurrentObject(s.dc(), OBJ_FONT);
    EXPECT_NE(madePen, pen);
    EXPECT_NE(madeBrush, brush);
    EXPECT_NE(madeFont, font);
    c.SetBrushClear();
    EXPECT_EQ(::GetBkMode(s.dc()), TRANSPARENT);
  }
  EXPECT_EQ(::GetCurrentObject(s.dc(), OBJ_PEN), pen);
  EXPECT_EQ(::GetCurrentObject(s.dc(), OBJ_BRUSH), brush);
  EXPECT_EQ(::GetCurrentObject(s.dc(), OBJ_FONT), font);
  EXPECT_EQ(::GetBkMode(s.dc()), mode);
  // The objects the canvas made are gone.
  EXPECT_EQ(::GetObjectType(madePen), 0U);
  EXPECT_EQ(::GetObjectType(madeBrush), 0U);
  EXPECT_EQ(::GetObjectType(madeFont), 0U);
}

TEST(Canvas, DefaultFontIsMsSansSerifEightPoints) {
  Surface s(4, 4);
  ql::win::Font font = ql::win::CreateDefaultCanvasFont(s.dc());
  ASSERT_TRUE(font);
  LOGFONTW lf{};
  ASSERT_NE(::GetObjectW(font.get(), sizeof lf, &lf), 0);
  EXPECT_STREQ(lf.lfFaceName, L"MS Sans Serif");
  EXPECT_EQ(lf.lfHeight, -::MulDiv(8, ::GetDeviceCaps(s.dc(), LOGPIXELSY), 72));

  // Text is measured in that font until another one is set.
  ql::win::Canvas c(s.dc());
  const int defaultWidth = c.TextWidth("Quaylite");
  ql::win::Font big = ql::win::CreateFontPixels(L"Arial", 40);
  c.SetFont(big.get());
  EXPECT_GT(c.TextWidth("Quaylite"), defaultWidth);
  c.UseDefaultFont();
  EXPECT_EQ(c.TextWidth("Quaylite"), defaultWidth);
}

TEST(Canvas, StretchDrawScalesTheWholeBitmapWithoutSmoothing) {
  auto bmp = MakeBitmap(2, 1, [](int x, int) { return x == 0 ? kLabel : kSilver; });
  Surface s(12, 6, kGround);
  {
    ql::win::Canvas c(s.dc());
    c.StretchDraw(1, 1, 10, 4, bmp.get());
  }
  Expected e(12, 6, kGround);
  e.Rect(1, 1, 5, 4, kLabel);
  e.Rect(6, 1, 10, 4, kSilver);
  EXPECT_TRUE(Matches(s, e));
}

// --- DrawBackground -----------------------------------------------------------------------------

TEST(DrawBackground, WithoutTextureOrBorderFillsTheTileAndNothingElse) {
  Surface s(70, 70, kGround);
  {
    ql::win::Canvas c(s.dc());
    ql::DrawBackground(c, 64, 60, RGB(10, 20, 30), nullptr, false);
  }
  Expected e(70, 70, kGround);
  e.Rect(0, 0, 63, 59, RGB(10, 20, 30));
  EXPECT_TRUE(Matches(s, e));
}

TEST(DrawBackground, BorderIsWhiteLeftAndTopBlackRightAndBottom) {
  Surface s(64, 64, kGround);
  {
    ql::win::Canvas c(s.dc());
    ql::DrawBackground(c, 64, 64, kSilver, nullptr, true);
  }
  Expected e(64, 64, kSilver);
  e.Rect(0, 0, 0, 63, kWhite);
  e.Rect(0, 0, 63, 0, kWhite);
  e.Rect(63, 0, 63, 63, kBlack);
  e.Rect(1, 63, 63, 63, kBlack);
  EXPECT_TRUE(Matches(s, e));
  EXPECT_EQ(s.At(63, 0), kBlack);  // top-right
  EXPECT_EQ(s.At(0, 63), kWhite);  // bottom-left
}

TEST(DrawBackground, FirstWhiteLineStartsOneRowBelowTheTile) {
  // The white line runs from (0, H) up: on a bigger canvas that pixel is coloured too.
  Surface s(40, 40, kGround);
  {
    ql::win::Canvas c(s.dc());
    ql::DrawBackground(c, 30, 30, kSilver, nullptr, true);
  }
  EXPECT_EQ(s.At(0, 30), kWhite);
  EXPECT_EQ(s.At(1, 30), kGround);
  EXPECT_EQ(s.At(30, 0), kGround);
  EXPECT_EQ(s.At(29, 29), kBlack);
}

TEST(DrawBackground, TextureIsStretchedOverTheWholeTile) {
  const COLORREF quad[2][2] = {{RGB(200, 0, 0), RGB(0, 200, 0)}, {RGB(0, 0, 200), RGB(200, 200, 0)}};
  auto texture = MakeBitmap(2, 2, [&](int x, int y) { return quad[y][x]; });
  Surface s(64, 64, kGround);
  {
    ql::win::Canvas c(s.dc());
    ql::DrawBackground(c, 64, 64, kSilver, texture.get(), false);
  }
  Expected e(64, 64, kGround);
  e.Rect(0, 0, 31, 31, quad[0][0]);
  e.Rect(32, 0, 63, 31, quad[0][1]);
  e.Rect(0, 32, 31, 63, quad[1][0]);
  e.Rect(32, 32, 63, 63, quad[1][1]);
  EXPECT_TRUE(Matches(s, e));

  // With the border the frame goes over the texture.
  {
    ql::win::Canvas c(s.dc());
    ql::DrawBackground(c, 64, 64, kSilver, texture.get(), true);
  }
  e.Rect(0, 0, 0, 63, kWhite);
  e.Rect(0, 0, 63, 0, kWhite);
  e.Rect(63, 0, 63, 63, kBlack);
  e.Rect(1, 63, 63, 63, kBlack);
  EXPECT_TRUE(Matches(s, e));
}

// --- DrawSunkenBox ------------------------------------------------------------------------------

TEST(DrawSunkenBox, FrameRowsLieOutsideTheFillAndColumnsOnIt) {
  Surface s(40, 30, kGround);
  {
    ql::win::Canvas c(s.dc());
    ql::DrawSunkenBox(c, 5, 10, 20, 11, 34, 36, 75);
  }
  Expected e(40, 30, kGround);
  e.Rect(5, 10, 24, 20, kLabel);   // fill (5,10)-(25,21)
  e.Rect(24, 9, 24, 20, kSilver);  // right column, from the top frame row down
  e.Rect(5, 21, 24, 21, kSilver);  // bottom row, its left end (4,21) not reached
  e.Rect(5, 10, 5, 20, kBlack);    // left column
  e.Rect(5, 9, 23, 9, kBlack);     // top row; its right end stays silver
  EXPECT_TRUE(Matches(s, e));
}

TEST(DrawSunkenBox, AtTheTopEdgeTheTopFrameRowIsClipped) {
  Surface s(30, 20, kGround);
  {
    ql::win::Canvas c(s.dc());
    ql::DrawSunkenBox(c, 0, 0, 30, 11, 34, 36, 75);
  }
  Expected e(30, 20, kGround);
  e.Rect(0, 0, 29, 10, kLabel);
  e.Rect(29, 0, 29, 10, kSilver);
  e.Rect(0, 11, 29, 11, kSilver);
  e.Rect(0, 0, 0, 10, kBlack);
  EXPECT_TRUE(Matches(s, e));
}

// --- DrawRaisedBox ------------------------------------------------------------------------------

TEST(DrawRaisedBox, BlackOutlineWhiteLightGreyShade) {
  const COLORREF face = RGB(210, 220, 230);
  Surface s(30, 20, kGround);
  {
    ql::win::Canvas c(s.dc());
    ql::DrawRaisedBox(c, 3, 4, 20, 10, 210, 220, 230);
  }
  Expected e(30, 20, kGround);
  e.Rect(3, 4, 22, 13, kBlack);  // outline of (3,4)-(23,14)
  e.Rect(4, 5, 21, 12, face);    // inside
  e.Rect(21, 5, 21, 12, kGrey);  // (21,5)-(21,13)
  e.Rect(4, 13, 21, 13, kGrey);  // (21,13)-(3,13), on the outline's bottom row
  e.Rect(4, 6, 4, 14, kWhite);   // (4,14)-(4,5): starts one row below the outline
  e.Rect(4, 5, 21, 5, kWhite);   // (4,5)-(22,5)
  EXPECT_TRUE(Matches(s, e));
  EXPECT_EQ(s.At(3, 13), kBlack);
  EXPECT_EQ(s.At(22, 5), kBlack);
}

// --- DrawArrow ----------------------------------------------------------------------------------

TEST(DrawArrow, BlackBackGreyUpperEdgeWhiteLowerEdge) {
  Surface s(14, 12, kGround);
  {
    ql::win::Canvas c(s.dc());
    ql::DrawArrow(c, 2, 1);
  }
  // Black: (2,7)-(2,1) and (2,1)-(4,1).
  for (int y = 1; y <= 7; ++y) EXPECT_EQ(s.At(2, y), kBlack) << "y=" << y;
  EXPECT_EQ(s.At(3, 1), kBlack);
  EXPECT_EQ(s.At(4, 1), kGround);
  // Grey: (4,2)-(8,4), one pixel per column 4..7.
  EXPECT_EQ(s.At(4, 2), kGrey);
  EXPECT_EQ(s.At(6, 3), kGrey);
  for (int x = 4; x <= 7; ++x) {
    int greys = 0;
    for (int y = 0; y < 12; ++y) greys += s.At(x, y) == kGrey ? 1 : 0;
    EXPECT_EQ(greys, 1) << "x=" << x;
  }
  // White: (3,7)-(8,4) then (8,4)-(9,3).
  EXPECT_EQ(s.At(3, 7), kWhite);
  EXPECT_EQ(s.At(4, 6), kWhite);
  EXPECT_EQ(s.At(5, 6), kWhite);
  EXPECT_EQ(s.At(6, 5), kWhite);
  EXPECT_EQ(s.At(7, 5), kWhite);
  EXPECT_EQ(s.At(8, 4), kWhite);
  EXPECT_EQ(s.At(9, 3), kGround);
  // Nothing else: 7 + 1 black, 4 grey, 6 white.
  int drawn = 0;
  for (COLORREF c : s.Pixels()) drawn += c != kGround ? 1 : 0;
  EXPECT_EQ(drawn, 8 + 4 + 6);
}

// --- DrawTransparent ----------------------------------------------------------------------------

TEST(DrawTransparent, KeyColouredPixelsLeaveTheCanvasAsItWas) {
  // A 5 x 4 picture: a magenta frame around colours, one of them almost magenta.
  auto picture = [](int x, int y) -> COLORREF {
    if (x == 0 || y == 0 || x == 4 || y == 3) return kMagenta;
    if (x == 2 && y == 2) return RGB(254, 0, 255);
    return RGB(10 * x, 20 * y, 200);
  };
  for (int bits : {24, 32}) {
    auto bmp = MakeBitmap(5, 4, picture, bits);
    Surface s(12, 10, kGround);
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 12; ++x) s.Set(x, y, RGB(x * 20, y * 20, 7));
    }
    const auto before = s.Pixels();
    {
      ql::win::Canvas c(s.dc());
      ql::DrawTransparent(c, bmp.get(), 3, 2, kMagenta);
    }
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 12; ++x) {
        const int px = x - 3;
        const int py = y - 2;
        COLORREF want = before[static_cast<std::size_t>(y * 12 + x)];
        if (px >= 0 && py >= 0 && px < 5 && py < 4 && picture(px, py) != kMagenta) want = picture(px, py);
        EXPECT_EQ(s.At(x, y), want) << bits << "-bit at " << x << "," << y;
      }
    }
    // The source picture itself is untouched.
    const auto src = ql::test::ReadPixels(bmp.get());
    EXPECT_EQ(src.At(0, 0), kMagenta);
    EXPECT_EQ(src.At(1, 1), RGB(10, 20, 200));
  }
}

// --- DrawGauge ----------------------------------------------------------------------------------

namespace {
// Colour of every row of a column: the single colour, or kGround + 1 as "mixed".
COLORREF Column(const Surface& s, int x, int y1, int y2) {
  const COLORREF c = s.At(x, y1);
  for (int y = y1; y <= y2; ++y) {
    if (s.At(x, y) != c) return RGB(1, 2, 4);
  }
  return c;
}
}  // namespace

TEST(DrawGauge, FullBarShadesFiftyColumnsSkipsOneAndHasNoEmptyPart) {
  Surface s(70, 14, kGround);
  {
    ql::win::Canvas c(s.dc());
    ql::DrawGauge(c, 5, 2, 53, 8, 20, 200, 255, "100");
  }
  for (int i = 0; i < 50; ++i) {
    const ql::Rgb want = ql::GaugeShade({20, 200, 255}, i);
    EXPECT_EQ(Column(s, 6 + i, 2, 9), RGB(want.r, want.g, want.b)) << "column " << 6 + i;
  }
  EXPECT_EQ(Column(s, 6, 2, 9), RGB(20, 200, 255));
  EXPECT_EQ(Column(s, 26, 2, 9), RGB(0, 100, 155));  // after 20 columns
  EXPECT_EQ(Column(s, 55, 2, 9), RGB(0, 0, 10));
  EXPECT_EQ(Column(s, 56, 0, 13), kGround);  // X + 51: skipped
  EXPECT_EQ(Column(s, 57, 0, 13), kGround);  // no label part
  EXPECT_EQ(Column(s, 5, 0, 13), kGround);
  for (int x = 0; x < 70; ++x) {
    EXPECT_EQ(s.At(x, 1), kGround);  // rows Y - 1 and Y + H untouched
    EXPECT_EQ(s.At(x, 10), kGround);
  }
}

TEST(DrawGauge, EmptyBarIsAllLabelColourFromTheSecondColumn) {
  Surface s(70, 14, kGround);
  {
    ql::win::Canvas c(s.dc());
    ql::DrawGauge(c, 5, 2, 53, 8, 20, 200, 255, "0");
  }
  Expected e(70, 14, kGround);
  e.Rect(7, 2, 56, 9, kLabel);  // X + 2 .. X + W - 2
  EXPECT_TRUE(Matches(s, e));
}

TEST(DrawGauge, PartialBarShadesSkipsAndFillsTheRest) {
  Surface s(70, 14, kGround);
  {
    ql::win::Canvas c(s.dc());
    ql::DrawGauge(c, 5, 2, 53, 8, 100, 100, 100, "40");  // fill 20
  }
  Expected e(70, 14, kGround);
  for (int i = 0; i < 20; ++i) {
    const int v = 100 - 5 * i > 0 ? 100 - 5 * i : 0;
    e.Rect(6 + i, 2, 6 + i, 9, RGB(v, v, v));
  }
  e.Rect(27, 2, 56, 9, kLabel);
  EXPECT_TRUE(Matches(s, e));
}

TEST(DrawGauge, HugePercentageOnlyDrawsWhatCanBeSeen) {
  Surface s(30, 6, kGround);
  {
    ql::win::Canvas c(s.dc());
    ql::DrawGauge(c, 0, 0, 20, 6, 255, 255, 255, "2147483647");
  }
  // Shaded past the gauge's own width up to the canvas edge, as the arithmetic says.
  EXPECT_EQ(Column(s, 1, 0, 5), kWhite);
  EXPECT_EQ(Column(s, 29, 0, 5), RGB(115, 115, 115));
  EXPECT_EQ(Column(s, 0, 0, 5), kGround);
}

// --- Errors -------------------------------------------------------------------------------------

TEST(Drawing, ColourComponentsAbove255AndBadPercentagesThrow) {
  Surface s(20, 20, kGround);
  ql::win::Canvas c(s.dc());
  EXPECT_THROW(ql::DrawSunkenBox(c, 0, 0, 10, 10, 256, 0, 0), std::out_of_range);
  EXPECT_THROW(ql::DrawRaisedBox(c, 0, 0, 10, 10, 0, 300, 0), std::out_of_range);
  EXPECT_THROW(ql::DrawGauge(c, 0, 0, 10, 10, 0, 0, 256, "10"), std::out_of_range);
  EXPECT_THROW(ql::DrawGauge(c, 0, 0, 10, 10, 0, 0, 0, "ten"), std::invalid_argument);
  EXPECT_THROW(ql::DrawGauge(c, 0, 0, 10, 10, 0, 0, 0, ""), std::invalid_argument);
  EXPECT_NO_THROW(ql::DrawGauge(c, 0, 0, 10, 10, 255, 255, 255, "-5"));
}
