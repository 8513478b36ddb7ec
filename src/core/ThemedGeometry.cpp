#include "core/ThemedGeometry.h"

#include <algorithm>
#include <limits>

namespace ql {

namespace {
using K = MarkStep::Kind;
using C = MarkColour;

constexpr MarkStep Line(C colour, int x1, int y1, int x2, int y2) {
  return {K::kLine, colour, {x1, y1}, {x2, y2}};
}
constexpr MarkStep Fill(C colour, int x1, int y1, int x2, int y2) {
  return {K::kFill, colour, {x1, y1}, {x2, y2}};
}
constexpr MarkStep Pixel(C colour, int x, int y) { return {K::kPixel, colour, {x, y}, {x, y}}; }
}  // namespace

const std::array<MarkStep, 4> kCheckBoxRelief{{
    Line(C::kBlack, 0, 15, 15, 15),
    Line(C::kBlack, 15, 15, 15, -1),
    Line(C::kDarkGrey, 1, 14, 14, 14),
    Line(C::kDarkGrey, 14, 14, 14, 0),
}};

const std::array<MarkStep, 6> kCheckTick{{
    Line(C::kWhite, 12, 2, 3, 11),
    Line(C::kWhite, 3, 12, 3, 5),
    Line(C::kBlack, 12, 3, 2, 13),
    Line(C::kBlack, 4, 9, 4, 5),
    Line(C::kDarkGrey, 4, 9, 6, 7),
    Line(C::kDarkGrey, 12, 4, 3, 13),
}};

const std::array<MarkStep, 19> kRadioRelief{{
    // The black edge inside the upper left of the circle, as one polyline.
    Line(C::kBlack, 9, 1, 5, 1),     Line(C::kBlack, 5, 1, 4, 2),     Line(C::kBlack, 4, 2, 3, 2),
    Line(C::kBlack, 3, 2, 2, 3),     Line(C::kBlack, 2, 3, 2, 4),     Line(C::kBlack, 2, 4, 1, 5),
    Line(C::kBlack, 1, 5, 1, 10),    Pixel(C::kDarkGrey, 3, 3),       Pixel(C::kDarkGrey, 10, 2),
    Pixel(C::kDarkGrey, 2, 10),      Pixel(C::kLightGrey, 3, 13),     Pixel(C::kLightGrey, 13, 3),
    Pixel(C::kLightGrey, 13, 4),     Line(C::kWhite, 4, 13, 5, 14),   Line(C::kWhite, 5, 14, 10, 14),
    Line(C::kWhite, 10, 13, 11, 13), Line(C::kWhite, 11, 13, 14, 10), Line(C::kWhite, 13, 10, 15, 8),
    Line(C::kWhite, 14, 9, 14, 4),
}};

const std::array<MarkStep, 8> kPopupMark{{
    Fill(C::kGrey, -13, 8, -4, 14),
    Line(C::kBlack, -15, 11, -7, 11),
    Line(C::kBlack, -7, 11, -7, 5),
    Line(C::kWhite, -15, 10, -15, 6),
    Line(C::kWhite, -15, 6, -7, 6),
    Fill(C::kFace, -14, 7, -8, 10),
    Pixel(C::kGrey, -14, 10),
    Pixel(C::kGrey, -8, 7),
}};

ThemedRect ToggleCaptionRect(TLeftRight alignment, int clientWidth, int clientHeight, int captionWidth,
                             int textHeight, bool hasAmpersand, int ampersandWidth) {
  ThemedRect r;
  r.left = alignment == TLeftRight::taRightJustify ? 20 : 1;
  r.right = r.left + captionWidth - (hasAmpersand ? ampersandWidth : 0);
  r.top = (clientHeight - textHeight) / 2 - 2;
  r.bottom = r.top + textHeight + 3;
  // Clipped to the client area (an empty rectangle stays empty, never inverted).
  r.left = std::clamp(r.left, 0, std::max(clientWidth, 0));
  r.right = std::clamp(r.right, r.left, std::max(clientWidth, r.left));
  r.top = std::clamp(r.top, 0, std::max(clientHeight, 0));
  r.bottom = std::clamp(r.bottom, r.top, std::max(clientHeight, r.top));
  return r;
}

ThemedPoint ToggleMarkOrigin(TLeftRight alignment, int clientWidth, int clientHeight) {
  return {alignment == TLeftRight::taLeftJustify ? clientWidth - kMarkSize : 0,
          (clientHeight - kMarkSize) / 2};
}

TCheckBoxState NextCheckState(TCheckBoxState state, bool allowGrayed) {
  switch (state) {
    case TCheckBoxState::cbUnchecked:
      return allowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked;
    case TCheckBoxState::cbChecked:
      return TCheckBoxState::cbUnchecked;
    case TCheckBoxState::cbGrayed:
      return TCheckBoxState::cbChecked;
  }
  return TCheckBoxState::cbUnchecked;
}

ThemedRect GroupHighlightFrame(int width, int height, int textHeight) {
  return {1, textHeight / 2 + 1, width, height};
}

ThemedRect GroupShadowFrame(int width, int height, int textHeight) {
  return {0, textHeight / 2, width - 1, height - 1};
}

ThemedPoint GroupCaptionOrigin(int width, int textWidth) { return {(width - textWidth) / 2, 0}; }

int ComboTextTop(int controlHeight, int textHeight) { return (controlHeight - textHeight) / 2; }

ThemedPoint ElementMenuOrigin(ThemedPoint clientOrigin, std::int32_t itemSel) {
  const std::int64_t up = static_cast<std::int64_t>(itemSel) * kElementHeight + 5;
  const std::int64_t y = std::clamp<std::int64_t>(clientOrigin.y - up, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max());
  return {clientOrigin.x, static_cast<int>(y)};
}

int ElementEntryWidth(int clientWidth) { return std::max(clientWidth - 18, 0); }

unsigned ElementCommand(std::int32_t index) { return static_cast<unsigned>(index) + 1U; }

std::int32_t ElementFromCommand(unsigned command, std::size_t count) {
  if (command == 0 || command > count) return -1;
  return static_cast<std::int32_t>(command - 1U);
}

}  // namespace ql
