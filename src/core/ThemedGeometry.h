// Arithmetic of the themed dialog controls (check box, radio button, group box, combo box): where
// the caption and the mark go, how a click moves the check box through its states, where the
// element menu of the combo box opens and how big its entries are, and the marks themselves as
// tables of drawing steps. No window system here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ql {

// Side of the caption: taRightJustify puts the box at the left and the caption to its right,
// taLeftJustify puts the caption at the left and the box at the right edge.
enum class TLeftRight : std::uint8_t { taLeftJustify, taRightJustify };
enum class TCheckBoxState : std::uint8_t { cbUnchecked, cbChecked, cbGrayed };

struct ThemedPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ThemedPoint&, const ThemedPoint&) = default;
};

// A rectangle by its edges; right and bottom are outside it.
struct ThemedRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const ThemedRect&, const ThemedRect&) = default;
};

// --- Check box and radio button -----------------------------------------------------------------

// Edge of the square mark of a check box or radio button.
inline constexpr int kMarkSize = 16;

// Rectangle of the caption in a client area of clientWidth x clientHeight. `captionWidth` and
// `textHeight` are the extent of the whole caption text (its "&" included); `ampersandWidth` is
// taken off once when the caption has an "&" (it is not shown). Halves are truncated toward zero;
// the result is clipped to the client area.
ThemedRect ToggleCaptionRect(TLeftRight alignment, int clientWidth, int clientHeight, int captionWidth,
                             int textHeight, bool hasAmpersand, int ampersandWidth);

// Top-left corner of the 16 x 16 mark: at the right edge for taLeftJustify, at x = 0 for
// taRightJustify, vertically centred.
ThemedPoint ToggleMarkOrigin(TLeftRight alignment, int clientWidth, int clientHeight);

// The state a click leaves a check box in: unchecked goes to grayed when grayed is allowed, else
// to checked; checked goes to unchecked; grayed goes to checked.
TCheckBoxState NextCheckState(TCheckBoxState state, bool allowGrayed);

// --- Marks as drawing steps ---------------------------------------------------------------------

// Colours of the marks. kFace is the control's own colour (the button face for the combo box).
enum class MarkColour : std::uint8_t { kWhite, kBlack, kDarkGrey, kLightGrey, kGrey, kFace };

// One step of a mark, relative to the mark's origin:
//  - kLine: a one-pixel line from `a` up to, not including, `b`;
//  - kFill: the rectangle from `a` to `b` (b outside);
//  - kPixel: the single pixel `a`.
struct MarkStep {
  enum class Kind : std::uint8_t { kLine, kFill, kPixel };
  Kind kind = Kind::kLine;
  MarkColour colour = MarkColour::kBlack;
  ThemedPoint a;
  ThemedPoint b;
};

// The raised outline of the check box's square, drawn over its white frame when Border is on:
// black along the bottom and the right, dark grey one pixel inside.
extern const std::array<MarkStep, 4> kCheckBoxRelief;
// The tick of a checked check box: two white, then two black, then two dark grey lines.
extern const std::array<MarkStep, 6> kCheckTick;
// The radio button's relief, drawn after its dark grey circle: the black upper-left edge, single
// dark and light grey pixels, and white lines along the lower-right edge.
extern const std::array<MarkStep, 19> kRadioRelief;
// The radio button's circle and, when checked, its white dot: ellipses in these boxes.
inline constexpr ThemedRect kRadioCircle{0, 0, 15, 15};
inline constexpr ThemedRect kRadioDot{2, 2, 13, 13};
// The combo box's popup mark (a small raised square with a drop shadow), relative to the top-right
// corner (R, T) of the rectangle it marks: every x is negative.
extern const std::array<MarkStep, 8> kPopupMark;

// --- Group box ----------------------------------------------------------------------------------

// The etched frame: first the light rectangle, then the shadow one, each one pixel wide, for a
// client area of width x height and a caption text height.
ThemedRect GroupHighlightFrame(int width, int height, int textHeight);
ThemedRect GroupShadowFrame(int width, int height, int textHeight);
// Where the caption goes: centred at the top.
ThemedPoint GroupCaptionOrigin(int width, int textWidth);

// --- Combo box ----------------------------------------------------------------------------------

inline constexpr int kComboHeight = 21;
inline constexpr int kElementHeight = 21;

// Top of the combo box's text for a control of `controlHeight` and the text's height.
int ComboTextTop(int controlHeight, int textHeight);

// Top-left corner of the element menu on the screen: the control's client origin moved up by
// itemSel x 21 + 5, so that the selected element lies over the control.
ThemedPoint ElementMenuOrigin(ThemedPoint clientOrigin, std::int32_t itemSel);

// Width of an entry of the element menu: client width - 18, never below 0.
int ElementEntryWidth(int clientWidth);

// Menu command of the element at `index` (commands start at 1: 0 means nothing chosen), and back:
// -1 for 0 or anything outside a list of `count` elements.
unsigned ElementCommand(std::int32_t index);
std::int32_t ElementFromCommand(unsigned command, std::size_t count);

}  // namespace ql
