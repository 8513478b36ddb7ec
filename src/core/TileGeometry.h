// Arithmetic of the tiles and of the shared drawing routines: where the icon, the group dots, the
// label strip and the caption of an icon button go, how big an auto-sized button is, where its
// icon comes from, and how the gauge bar fills and darkens. No window system here.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ql {

// Group marker of an icon button (stored in one byte).
enum class TGroupeState : std::uint8_t { gNone = 0, gLeft = 1, gRight = 2 };

// Where the icon of a path is read from. The tests are substring tests on the lower-cased path,
// in this order: ".ico" anywhere, then ".exe", ".dll" or ".icl" anywhere, then the shell.
enum class IconSource : std::uint8_t { None, IcoFile, Extract, Shell };
IconSource ClassifyIconPath(std::string_view path);

// Icons this small use the small icon of a file or of the shell.
bool UsesSmallIcon(std::int32_t iconSize);

// Edge of an auto-sized button: the icon plus 16 without a caption, plus 14 and the caption's
// text height with one.
int AutoTileSize(std::int32_t iconSize, bool hasCaption, int captionTextHeight);

struct TilePoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TilePoint&, const TilePoint&) = default;
};

// Top-left corner of the icon, centred in the whole tile (halves truncated toward zero).
TilePoint IconOrigin(int width, int height, std::int32_t iconSize);

// The three sunken dots of a group button. Each dot is 3 pixels wide on rows yd - 1 and yd.
struct GroupDots {
  static constexpr int kCount = 3;
  static constexpr int kStep = 4;
  static constexpr int kDotWidth = 3;
  int x0 = 0;  // first column of the first dot
  int yd = 0;  // lower row
  int Left() const { return x0; }
  int Right() const { return x0 + (kCount - 1) * kStep + kDotWidth - 1; }
};
// Whether the dots are drawn, and where: gLeft starts at 3, gRight at width - 15; the lower row is
// height - textHeight - 5 (text height of the caption in the default canvas font).
bool HasGroupDots(TGroupeState groupe, bool showDots);
GroupDots DotsLayout(TGroupeState groupe, int width, int height, int captionTextHeight);
// True when the pixel of a dot at column dx (0..2) and row (0 = upper, 1 = lower) is white,
// false when black: upper row black, black, white; lower row black, white, white.
bool DotPixelIsWhite(int dx, int row);

// The caption and its dark strip, measured in the button's own font.
struct LabelLayout {
  int tx = 0;  // caption left
  int ty = 0;  // caption base line: text at ty + 1, shadow at ty + 2
  int stripLeft = 0;
  int stripTop = 0;
  int stripWidth = 0;
  int stripHeight = 0;
  TilePoint Text() const { return {tx, ty + 1}; }
  TilePoint Shadow() const { return {tx + 1, ty + 2}; }
};
LabelLayout CaptionLayout(int width, int height, int textWidth, int textHeight);

// The label colour of the program, also the empty part of a gauge.
struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};
inline constexpr Rgb kLabelColour{34, 36, 75};

// Throws std::out_of_range when a component is outside 0..255.
void CheckColour(const Rgb& colour);

// Number of shaded gauge columns: percent * (width - 3) / 100, truncated toward zero.
int GaugeFill(std::int64_t percent, int width);
// Percentage text of a gauge read as a decimal integer; throws std::invalid_argument otherwise.
std::int32_t ParseGaugePercent(std::string_view text);
// Colour of the shaded column after `columns` columns: every component 5 darker per column,
// never below 0.
Rgb GaugeShade(const Rgb& start, int columns);

}  // namespace ql
