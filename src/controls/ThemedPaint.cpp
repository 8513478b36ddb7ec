#include "controls/ThemedPaint.h"

#include "win/Surface.h"

namespace ql::themed {

COLORREF ButtonFace() { return ::GetSysColor(COLOR_BTNFACE); }
COLORREF ButtonHighlight() { return ::GetSysColor(COLOR_BTNHIGHLIGHT); }
COLORREF ButtonShadow() { return ::GetSysColor(COLOR_BTNSHADOW); }
COLORREF GrayText() { return ::GetSysColor(COLOR_GRAYTEXT); }
COLORREF FontColour() { return ::GetSysColor(COLOR_WINDOWTEXT); }

COLORREF MarkRgb(MarkColour colour, COLORREF face) {
  switch (colour) {
    case MarkColour::kWhite:
      return kWhite;
    case MarkColour::kBlack:
      return kBlack;
    case MarkColour::kDarkGrey:
      return kDarkGrey;
    case MarkColour::kLightGrey:
      return kLightGrey;
    case MarkColour::kGrey:
      return kGrey;
    case MarkColour::kFace:
      return face;
  }
  return face;
}

void DrawMarkSteps(win::Canvas& canvas, const MarkStep* steps, std::size_t count, int x0, int y0,
                   COLORREF face) {
  for (std::size_t i = 0; i < count; ++i) {
    const MarkStep& s = steps[i];
    const COLORREF rgb = MarkRgb(s.colour, face);
    switch (s.kind) {
      case MarkStep::Kind::kLine:
        canvas.SetPenColor(rgb);
        canvas.Line(x0 + s.a.x, y0 + s.a.y, x0 + s.b.x, y0 + s.b.y);
        break;
      case MarkStep::Kind::kFill:
        canvas.SetBrushColor(rgb);
        canvas.FillRect(x0 + s.a.x, y0 + s.a.y, x0 + s.b.x, y0 + s.b.y);
        break;
      case MarkStep::Kind::kPixel:
        canvas.SetPixel(x0 + s.a.x, y0 + s.a.y, rgb);
        break;
    }
  }
}

win::Bitmap NewFaceBitmap(int width, int height) { return win::TopDownBitmap(width, height); }

void CopyFace(HDC target, HBITMAP face, int x, int y) {
  if (target == nullptr || face == nullptr) return;
  BITMAP bm{};
  if (::GetObjectW(face, sizeof bm, &bm) == 0) return;
  win::MemoryDc mem(::CreateCompatibleDC(target));
  if (!mem) return;
  win::SelectGuard select(mem.get(), face);
  ::BitBlt(target, x, y, bm.bmWidth, bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight, mem.get(), 0, 0, SRCCOPY);
}

SIZE ClientSize(HWND hwnd) {
  RECT r{};
  if (hwnd != nullptr) ::GetClientRect(hwnd, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace ql::themed
