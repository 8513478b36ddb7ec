#include "core/TileGeometry.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "core/Text.h"

namespace ql {

IconSource ClassifyIconPath(std::string_view path) {
  if (path.empty()) return IconSource::None;
  const std::string lower = ToLowerAscii(path);
  const auto contains = [&lower](std::string_view part) { return lower.find(part) != std::string::npos; };
  if (contains(".ico")) return IconSource::IcoFile;
  if (contains(".exe") || contains(".dll") || contains(".icl")) return IconSource::Extract;
  return IconSource::Shell;
}

bool UsesSmallIcon(std::int32_t iconSize) { return iconSize <= 16; }

int AutoTileSize(std::int32_t iconSize, bool hasCaption, int captionTextHeight) {
  return hasCaption ? iconSize + 14 + captionTextHeight : iconSize + 16;
}

TilePoint IconOrigin(int width, int height, std::int32_t iconSize) {
  return {(width - iconSize) / 2, (height - iconSize) / 2};
}

bool HasGroupDots(TGroupeState groupe, bool showDots) { return groupe != TGroupeState::gNone && showDots; }

GroupDots DotsLayout(TGroupeState groupe, int width, int height, int captionTextHeight) {
  GroupDots dots;
  dots.x0 = groupe == TGroupeState::gLeft ? 3 : width - 15;
  dots.yd = height - captionTextHeight - 5;
  return dots;
}

bool DotPixelIsWhite(int dx, int row) {
  // Dark at the upper left, light at the lower right: a small sunken dot.
  static constexpr std::array<std::array<bool, 3>, 2> kPattern{{{false, false, true}, {false, true, true}}};
  return kPattern.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(dx));
}

LabelLayout CaptionLayout(int width, int height, int textWidth, int textHeight) {
  LabelLayout l;
  l.tx = (width - textWidth) / 2;
  l.ty = height - textHeight - 2;
  l.stripLeft = 0;
  l.stripTop = l.ty + 1;
  l.stripWidth = width - 1;
  l.stripHeight = 11;
  return l;
}

void CheckColour(const Rgb& colour) {
  for (int c : {colour.r, colour.g, colour.b}) {
    if (c < 0 || c > 255) throw std::out_of_range("colour component outside 0..255: " + Decimal(c));
  }
}

int GaugeFill(std::int64_t percent, int width) {
  // 64-bit product: any 32-bit percentage times any width fits; C++ division truncates toward 0.
  const std::int64_t fill = percent * (static_cast<std::int64_t>(width) - 3) / 100;
  return static_cast<int>(std::clamp<std::int64_t>(fill, INT32_MIN, INT32_MAX));
}

std::int32_t ParseGaugePercent(std::string_view text) {
  const auto value = ParseDecimal(text);
  if (!value) throw std::invalid_argument("'" + std::string(text) + "' is not a valid integer value");
  return *value;
}

Rgb GaugeShade(const Rgb& start, int columns) {
  const int step = 5 * std::max(columns, 0);
  return {std::max(start.r - step, 0), std::max(start.g - step, 0), std::max(start.b - step, 0)};
}

}  // namespace ql
