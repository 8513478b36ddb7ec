#include "win/Canvas.h"

#include <algorithm>

#include "win/Utf.h"

namespace ql::win {

namespace {
Font MakeFont(std::wstring_view face, int lfHeight) {
  LOGFONTW lf{};
  lf.lfHeight = lfHeight;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::size_t n = std::min(face.size(), static_cast<std::size_t>(LF_FACESIZE - 1));
  face.copy(lf.lfFaceName, n);
  return Font(::CreateFontIndirectW(&lf));
}
}  // namespace

COLORREF ResolveColor(COLORREF color) {
  if ((color & 0xFF000000U) == 0x80000000U) return ::GetSysColor(static_cast<int>(color & 0xFFU));
  return color & 0x00FFFFFFU;
}

Font CreateFontPixels(std::wstring_view face, int pixelHeight) { return MakeFont(face, -pixelHeight); }

Font CreateFontPoints(HDC dc, std::wstring_view face, int points) {
  return MakeFont(face, -::MulDiv(points, ::GetDeviceCaps(dc, LOGPIXELSY), 72));
}

Font CreateDefaultCanvasFont(HDC dc) { return CreateFontPoints(dc, L"MS Sans Serif", 8); }

Canvas::Canvas(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}

Canvas::~Canvas() {
  // Puts the DC's own pen, brush, font and modes back before the owned objects are deleted.
  if (saved_ != 0) ::RestoreDC(dc_, saved_);
}

void Canvas::SetPenColor(COLORREF color) {
  color = ResolveColor(color);
  if (penChosen_ && color == penColor_) return;
  Pen pen(::CreatePen(PS_SOLID, 1, color));
  if (!pen) return;
  ::SelectObject(dc_, pen.get());
  pen_ = std::move(pen);  // the previous pen is no longer selected: deleted here
  penColor_ = color;
  penChosen_ = true;
}

void Canvas::SetBrushColor(COLORREF color) {
  color = ResolveColor(color);
  Brush brush(::CreateSolidBrush(color));
  if (!brush) return;
  ::SelectObject(dc_, brush.get());
  brush_ = std::move(brush);
  ::SetBkColor(dc_, color);
  ::SetBkMode(dc_, OPAQUE);
}

void Canvas::SetBrushClear() {
  ::SelectObject(dc_, ::GetStockObject(NULL_BRUSH));
  brush_.reset();
  ::SetBkMode(dc_, TRANSPARENT);
}

void Canvas::MoveTo(int x, int y) { ::MoveToEx(dc_, x, y, nullptr); }

void Canvas::LineTo(int x, int y) { ::LineTo(dc_, x, y); }

void Canvas::Line(int x1, int y1, int x2, int y2) {
  MoveTo(x1, y1);
  LineTo(x2, y2);
}

void Canvas::FillRect(int x1, int y1, int x2, int y2) {
  const RECT r{x1, y1, x2, y2};
  auto brush = static_cast<HBRUSH>(::GetCurrentObject(dc_, OBJ_BRUSH));
  ::FillRect(dc_, &r, brush);
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) { ::Rectangle(dc_, x1, y1, x2, y2); }

void Canvas::StretchDraw(int x, int y, int w, int h, HBITMAP bitmap) {
  if (bitmap == nullptr) return;
  BITMAP bm{};
  if (::GetObjectW(bitmap, sizeof bm, &bm) == 0) return;
  MemoryDc src(::CreateCompatibleDC(dc_));
  if (!src) return;
  SelectGuard sel(src.get(), bitmap);
  const int oldMode = ::SetStretchBltMode(dc_, COLORONCOLOR);
  ::StretchBlt(dc_, x, y, w, h, src.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  ::SetStretchBltMode(dc_, oldMode);
}

void Canvas::SetPixel(int x, int y, COLORREF color) { ::SetPixelV(dc_, x, y, ResolveColor(color)); }

void Canvas::SetFont(HFONT font) {
  if (font == nullptr) return;
  ::SelectObject(dc_, font);
  fontChosen_ = true;
}

void Canvas::UseDefaultFont() {
  if (!defaultFont_) defaultFont_ = CreateDefaultCanvasFont(dc_);
  if (defaultFont_) ::SelectObject(dc_, defaultFont_.get());
  fontChosen_ = true;
}

void Canvas::EnsureFont() {
  if (!fontChosen_) UseDefaultFont();
}

void Canvas::SetTextColor(COLORREF color) { ::SetTextColor(dc_, ResolveColor(color)); }

SIZE Canvas::TextExtent(std::string_view utf8) {
  EnsureFont();
  const std::wstring text = Widen(utf8);
  SIZE size{};
  ::GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

int Canvas::TextWidth(std::string_view utf8) { return static_cast<int>(TextExtent(utf8).cx); }

int Canvas::TextHeight(std::string_view utf8) { return static_cast<int>(TextExtent(utf8).cy); }

void Canvas::TextOut(int x, int y, std::string_view utf8) {
  EnsureFont();
  const std::wstring text = Widen(utf8);
  ::TextOutW(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace ql::win
