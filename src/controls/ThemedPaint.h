// Painting shared by the themed dialog controls: every face is composed in an off-screen bitmap
// and copied to the window in one step, and the marks are painted from their tables of steps.
#pragma once

#include <array>
#include <cstddef>
#include <utility>

#include "core/ThemedGeometry.h"
#include "win/Canvas.h"
#include "win/Handles.h"

namespace ql::themed {

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kDarkGrey = RGB(85, 85, 85);
inline constexpr COLORREF kLightGrey = RGB(170, 170, 170);
inline constexpr COLORREF kGrey = RGB(128, 128, 128);

// The colours of the platform's scheme the controls use.
COLORREF ButtonFace();
COLORREF ButtonHighlight();
COLORREF ButtonShadow();
COLORREF GrayText();
COLORREF FontColour();  // the default colour of a font: the window text colour

// The RGB value of a mark colour; kFace is `face`.
COLORREF MarkRgb(MarkColour colour, COLORREF face);

// Paints the steps in order with the mark's origin at (x0, y0).
void DrawMarkSteps(win::Canvas& canvas, const MarkStep* steps, std::size_t count, int x0, int y0,
                   COLORREF face);
template <std::size_t N>
void DrawMarkSteps(win::Canvas& canvas, const std::array<MarkStep, N>& steps, int x0, int y0, COLORREF face) {
  DrawMarkSteps(canvas, steps.data(), N, x0, y0, face);
}

// A width x height 32-bit top-down DIB section (empty for a size of 0).
win::Bitmap NewFaceBitmap(int width, int height);

// Composes a face: `draw(canvas)` paints on a canvas over a new width x height bitmap, which is
// returned when done (empty when the size is 0 or the bitmap could not be made).
template <typename Draw>
win::Bitmap ComposeFace(int width, int height, Draw&& draw) {
  win::Bitmap face = NewFaceBitmap(width, height);
  if (!face) return face;
  win::MemoryDc mem(::CreateCompatibleDC(nullptr));
  if (!mem) return {};
  {
    win::SelectGuard select(mem.get(), face.get());
    win::Canvas canvas(mem.get());
    std::forward<Draw>(draw)(canvas);
  }
  ::GdiFlush();
  return face;
}

// Copies a composed face to (x, y) of `target` in one step.
void CopyFace(HDC target, HBITMAP face, int x = 0, int y = 0);

// Client size of a window; 0 x 0 without one.
SIZE ClientSize(HWND hwnd);

}  // namespace ql::themed
