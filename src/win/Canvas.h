// A small drawing surface over an HDC: the pen, brush and font state and the line semantics the
// drawing routines are written for (a line colours its start point, not its end point; a filled
// rectangle (x1, y1)-(x2, y2) covers x1..x2-1 and y1..y2-1). The canvas owns the pens, brushes
// and fonts it creates and gives the DC back exactly as it found it (SaveDC / RestoreDC).
#pragma once

#include <string>
#include <string_view>

#include "win/Handles.h"

namespace ql::win {

class Canvas {
 public:
  explicit Canvas(HDC dc);
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas();

  HDC dc() const { return dc_; }

  // Solid one-pixel pen.
  void SetPenColor(COLORREF color);
  // Solid brush; text is then drawn on an opaque background of the brush colour.
  void SetBrushColor(COLORREF color);
  // Hollow brush; text is then drawn without a background.
  void SetBrushClear();

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Line(int x1, int y1, int x2, int y2);
  void FillRect(int x1, int y1, int x2, int y2);
  // Outline with the pen, inside with the brush.
  void Rectangle(int x1, int y1, int x2, int y2);
  // The whole bitmap scaled onto (x, y, w, h), one source pixel per block (no smoothing).
  void StretchDraw(int x, int y, int w, int h, HBITMAP bitmap);
  void SetPixel(int x, int y, COLORREF color);

  // Text uses the font set last; until one is set, the default canvas font.
  void SetFont(HFONT font);  // not owned: it must outlive its use on this canvas
  void UseDefaultFont();
  void SetTextColor(COLORREF color);
  int TextWidth(std::string_view utf8);
  int TextHeight(std::string_view utf8);
  void TextOut(int x, int y, std::string_view utf8);

 private:
  SIZE TextExtent(std::string_view utf8);
  void EnsureFont();

  HDC dc_;
  int saved_;
  Pen pen_;
  Brush brush_;
  Font defaultFont_;
  bool fontChosen_ = false;
  bool penChosen_ = false;
  COLORREF penColor_ = 0;
};

// "MS Sans Serif" at 8 points for the DC's vertical resolution (the platform may substitute a
// face of its own).
Font CreateDefaultCanvasFont(HDC dc);
// A font whose characters are `pixelHeight` pixels high (without internal leading).
Font CreateFontPixels(std::wstring_view face, int pixelHeight);
// A font of `points` points for the DC's vertical resolution.
Font CreateFontPoints(HDC dc, std::wstring_view face, int points);

// Resolves system colours (0x80000000 | COLOR_xxx) to RGB; other values pass unchanged.
COLORREF ResolveColor(COLORREF color);

}  // namespace ql::win
