// The drawing routines that give the dock its look: tile background and relief, the dark label
// strip, the light raised box of menu entries, the submenu arrow, bitmaps with a transparent key
// colour, and the shaded gauge bar. They keep no state; each leaves the canvas's pen and brush as
// it set them last. Colour components outside 0..255 throw std::out_of_range.
#pragma once

#include <string_view>

#include "win/Canvas.h"

namespace ql {

// Fills (0, 0)-(W, H) with `color`, or stretches `texture` over it when there is one (nullptr:
// none); with `border`, a one-pixel raised frame (white left and top, black right and bottom).
void DrawBackground(win::Canvas& canvas, int width, int height, COLORREF color, HBITMAP texture, bool border);

// A strip filled with (r, g, b), a black frame above and left and a silver one right and below.
// The top frame row is y - 1 and the bottom one y + height, outside the filled area.
void DrawSunkenBox(win::Canvas& canvas, int x, int y, int width, int height, int r, int g, int b);

// A box filled with (r, g, b) in a black outline, lit white inside at the top and left and shaded
// grey inside at the right and on the bottom row.
void DrawRaisedBox(win::Canvas& canvas, int x, int y, int width, int height, int r, int g, int b);

// The 8 x 7 submenu arrow mark with its top-left corner at (x, y).
void DrawArrow(win::Canvas& canvas, int x, int y);

// Copies `bitmap` at its own size to (x, y), leaving out every pixel of colour `key`.
void DrawTransparent(win::Canvas& canvas, HBITMAP bitmap, int x, int y, COLORREF key);

// A gauge bar: percent * (W - 3) / 100 shaded columns from x + 1, starting in (r, g, b) and 5
// darker per column, one untouched column, then the label colour up to x + W - 2. Throws
// std::invalid_argument when `percent` is not a decimal integer.
void DrawGauge(win::Canvas& canvas, int x, int y, int width, int height, int r, int g, int b,
               std::string_view percent);

}  // namespace ql
