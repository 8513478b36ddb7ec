#include "taskbar/Drawing.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/PerfFigures.h"
#include "core/TileGeometry.h"

namespace ql {

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kSilver = RGB(192, 192, 192);

COLORREF CheckedRgb(int r, int g, int b) {
  CheckColour({r, g, b});
  return RGB(r, g, b);
}
}  // namespace

void DrawBackground(win::Canvas& canvas, int width, int height, COLORREF color, HBITMAP texture,
                    bool border) {
  if (texture == nullptr) {
    canvas.SetBrushColor(color);
    canvas.FillRect(0, 0, width, height);
  } else {
    canvas.StretchDraw(0, 0, width, height, texture);
  }
  if (border) {
    canvas.SetPenColor(kWhite);
    canvas.Line(0, height, 0, 0);
    canvas.LineTo(width, 0);
    canvas.SetPenColor(kBlack);
    canvas.Line(width - 1, 0, width - 1, height - 1);
    canvas.LineTo(0, height - 1);
  }
}

void DrawSunkenBox(win::Canvas& canvas, int x, int y, int width, int height, int r, int g, int b) {
  canvas.SetBrushColor(CheckedRgb(r, g, b));
  canvas.FillRect(x, y, x + width, y + height);
  canvas.SetPenColor(kSilver);
  canvas.Line(x + width - 1, y - 1, x + width - 1, y + height);
  canvas.LineTo(x - 1, y + height);
  canvas.SetPenColor(kBlack);
  canvas.Line(x, y + height - 1, x, y - 1);
  canvas.LineTo(x + width - 1, y - 1);
}

void DrawRaisedBox(win::Canvas& canvas, int x, int y, int width, int height, int r, int g, int b) {
  canvas.SetBrushColor(CheckedRgb(r, g, b));
  canvas.SetPenColor(kBlack);
  canvas.Rectangle(x, y, x + width, y + height);
  canvas.SetPenColor(kGrey);
  canvas.Line(x + width - 2, y + 1, x + width - 2, y + height - 1);
  canvas.LineTo(x, y + height - 1);
  canvas.SetPenColor(kWhite);
  canvas.Line(x + 1, y + height, x + 1, y + 1);
  canvas.LineTo(x + width - 1, y + 1);
}

void DrawArrow(win::Canvas& canvas, int x, int y) {
  canvas.SetPenColor(kBlack);
  canvas.Line(x, y + 6, x, y);
  canvas.LineTo(x + 2, y);
  canvas.SetPenColor(kGrey);
  canvas.Line(x + 2, y + 1, x + 6, y + 3);
  canvas.SetPenColor(kWhite);
  canvas.Line(x + 1, y + 6, x + 6, y + 3);
  canvas.LineTo(x + 7, y + 2);
}

void DrawTransparent(win::Canvas& canvas, HBITMAP bitmap, int x, int y, COLORREF key) {
  if (bitmap == nullptr) return;
  BITMAP bm{};
  if (::GetObjectW(bitmap, sizeof bm, &bm) == 0) return;
  const int w = bm.bmWidth;
  const int h = std::abs(bm.bmHeight);
  HDC dc = canvas.dc();

  win::MemoryDc src(::CreateCompatibleDC(dc));
  win::MemoryDc maskDc(::CreateCompatibleDC(dc));
  win::Bitmap mask(::CreateBitmap(w, h, 1, 1, nullptr));
  if (!src || !maskDc || !mask) return;
  win::SelectGuard selSrc(src.get(), bitmap);
  win::SelectGuard selMask(maskDc.get(), mask.get());

  // Colour to monochrome: pixels of the source's background colour become 1, the others 0.
  const COLORREF oldSrcBk = ::SetBkColor(src.get(), win::ResolveColor(key));
  ::BitBlt(maskDc.get(), 0, 0, w, h, src.get(), 0, 0, SRCCOPY);
  ::SetBkColor(src.get(), oldSrcBk);

  // dest ^ src, then AND the mask (key pixels keep the XOR, the others become 0), then ^ src again:
  // key pixels get the canvas back, the others the source. The source bitmap is never changed.
  // Monochrome to colour maps 1 to the background colour and 0 to the text colour.
  const COLORREF oldText = ::SetTextColor(dc, kBlack);
  const COLORREF oldBk = ::SetBkColor(dc, kWhite);
  ::BitBlt(dc, x, y, w, h, src.get(), 0, 0, SRCINVERT);
  ::BitBlt(dc, x, y, w, h, maskDc.get(), 0, 0, SRCAND);
  ::BitBlt(dc, x, y, w, h, src.get(), 0, 0, SRCINVERT);
  ::SetTextColor(dc, oldText);
  ::SetBkColor(dc, oldBk);
}

void DrawGauge(win::Canvas& canvas, int x, int y, int width, int height, int r, int g, int b,
               std::string_view percent) {
  const GaugeColumns plan = PlanGauge(x, width, ParseGaugePercent(percent), Rgb{r, g, b});

  // Columns right of the visible area change nothing: stop there (a huge percentage stays cheap).
  RECT clip{};
  const int lastVisible = ::GetClipBox(canvas.dc(), &clip) != ERROR ? static_cast<int>(clip.right)
                                                                    : plan.firstShaded + plan.shaded;
  const int shadedEnd = std::min(plan.shaded, std::max(lastVisible - x, 0));
  for (int i = 0; i < shadedEnd; ++i) {
    const int column = plan.firstShaded + i;
    const Rgb c = plan.ShadeAt(column);
    canvas.SetPenColor(RGB(c.r, c.g, c.b));
    canvas.Line(column, y, column, y + height);
  }
  canvas.SetPenColor(RGB(kLabelColour.r, kLabelColour.g, kLabelColour.b));
  for (std::int64_t column = plan.firstEmpty; column <= plan.lastEmpty; ++column) {
    canvas.Line(static_cast<int>(column), y, static_cast<int>(column), y + height);
  }
}

}  // namespace ql
