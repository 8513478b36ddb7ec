#include <gtest/gtest.h>

#include "core/ThemedGeometry.h"

namespace ql {
namespace {

TEST(ToggleCaption, RightJustifiedStartsAfterTheBoxAndDropsTheAmpersandWidth) {
  // A 97 x 17 control, caption "&Use default texture" 110 wide with its "&" (6 wide), 13 high.
  const ThemedRect r = ToggleCaptionRect(TLeftRight::taRightJustify, 200, 17, 110, 13, true, 6);
  EXPECT_EQ(r, (ThemedRect{20, 0, 124, 16}));
  // Without "&" the whole width counts; the ampersand width is then ignored.
  EXPECT_EQ(ToggleCaptionRect(TLeftRight::taRightJustify, 200, 17, 110, 13, false, 6),
            (ThemedRect{20, 0, 130, 16}));
}

TEST(ToggleCaption, LeftJustifiedStartsAtOne) {
  const ThemedRect r = ToggleCaptionRect(TLeftRight::taLeftJustify, 97, 25, 40, 13, false, 0);
  // top = (25 - 13) / 2 - 2 = 4, bottom = 4 + 13 + 3.
  EXPECT_EQ(r, (ThemedRect{1, 4, 41, 20}));
}

TEST(ToggleCaption, HalvesTruncateTowardZeroAndTheRectangleIsClipped) {
  // (16 - 13) / 2 - 2 = -1 before clipping: clipped to the top; the bottom 15 stays.
  EXPECT_EQ(ToggleCaptionRect(TLeftRight::taRightJustify, 97, 16, 30, 13, false, 0),
            (ThemedRect{20, 0, 50, 15}));
  // (10 - 13) / 2 = -1 (toward zero, not -2): top -3, bottom 13, clipped to 0..10.
  EXPECT_EQ(ToggleCaptionRect(TLeftRight::taRightJustify, 97, 10, 30, 13, false, 0),
            (ThemedRect{20, 0, 50, 10}));
  // Wider than the client: the right edge stops at the client width.
  EXPECT_EQ(ToggleCaptionRect(TLeftRight::taRightJustify, 97, 17, 300, 13, false, 0).right, 97);
  // A client narrower than the caption's start gives an empty, not an inverted, rectangle.
  const ThemedRect narrow = ToggleCaptionRect(TLeftRight::taRightJustify, 12, 17, 30, 13, false, 0);
  EXPECT_EQ(narrow.left, 12);
  EXPECT_EQ(narrow.right, 12);
  // An empty caption is an empty rectangle at its start.
  const ThemedRect empty = ToggleCaptionRect(TLeftRight::taLeftJustify, 97, 17, 0, 13, false, 0);
  EXPECT_EQ(empty.left, empty.right);
}

TEST(ToggleMark, RightEdgeForLeftJustifiedAndCentredVertically) {
  EXPECT_EQ(ToggleMarkOrigin(TLeftRight::taLeftJustify, 97, 17), (ThemedPoint{81, 0}));
  EXPECT_EQ(ToggleMarkOrigin(TLeftRight::taRightJustify, 97, 17), (ThemedPoint{0, 0}));
  EXPECT_EQ(ToggleMarkOrigin(TLeftRight::taRightJustify, 97, 30), (ThemedPoint{0, 7}));
  // A control lower than the mark: (15 - 16) / 2 truncates to 0.
  EXPECT_EQ(ToggleMarkOrigin(TLeftRight::taRightJustify, 97, 15), (ThemedPoint{0, 0}));
  EXPECT_EQ(ToggleMarkOrigin(TLeftRight::taRightJustify, 97, 12), (ThemedPoint{0, -2}));
}

TEST(CheckState, WithoutGrayedAlternates) {
  TCheckBoxState s = TCheckBoxState::cbUnchecked;
  s = NextCheckState(s, false);
  EXPECT_EQ(s, TCheckBoxState::cbChecked);
  s = NextCheckState(s, false);
  EXPECT_EQ(s, TCheckBoxState::cbUnchecked);
  s = NextCheckState(s, false);
  EXPECT_EQ(s, TCheckBoxState::cbChecked);
}

TEST(CheckState, WithGrayedCyclesThroughThreeStates) {
  TCheckBoxState s = TCheckBoxState::cbUnchecked;
  const TCheckBoxState expected[] = {TCheckBoxState::cbGrayed, TCheckBoxState::cbChecked,
                                     TCheckBoxState::cbUnchecked, TCheckBoxState::cbGrayed};
  for (TCheckBoxState e : expected) {
    s = NextCheckState(s, true);
    EXPECT_EQ(s, e);
  }
  // A grayed box set by code still goes to checked when grayed is no longer allowed.
  EXPECT_EQ(NextCheckState(TCheckBoxState::cbGrayed, false), TCheckBoxState::cbChecked);
}

TEST(GroupBox, EtchedFrameAndCentredCaption) {
  EXPECT_EQ(GroupHighlightFrame(180, 100, 13), (ThemedRect{1, 7, 180, 100}));
  EXPECT_EQ(GroupShadowFrame(180, 100, 13), (ThemedRect{0, 6, 179, 99}));
  EXPECT_EQ(GroupCaptionOrigin(180, 51), (ThemedPoint{64, 0}));
  // A caption wider than the box starts left of it (truncated toward zero).
  EXPECT_EQ(GroupCaptionOrigin(40, 51), (ThemedPoint{-5, 0}));
}

TEST(ComboBox, TextIsCentredInTheControlHeight) {
  EXPECT_EQ(ComboTextTop(kComboHeight, 13), 4);
  EXPECT_EQ(ComboTextTop(kComboHeight, 16), 2);
  EXPECT_EQ(ComboTextTop(kComboHeight, 24), -1);
}

TEST(ElementMenu, OpensSoThatTheSelectedElementLiesOverTheControl) {
  const ThemedPoint origin{300, 400};
  EXPECT_EQ(ElementMenuOrigin(origin, 0), (ThemedPoint{300, 395}));
  EXPECT_EQ(ElementMenuOrigin(origin, 2), (ThemedPoint{300, 353}));  // 47 above
  EXPECT_EQ(ElementMenuOrigin(origin, 5), (ThemedPoint{300, 290}));
  // Far down a long list the menu may start above the screen: no overflow.
  EXPECT_EQ(ElementMenuOrigin({0, 0}, 0x7FFFFFFF).y, -0x7FFFFFFF - 1);
}

TEST(ElementMenu, EntryWidthAndCommands) {
  EXPECT_EQ(ElementEntryWidth(121), 103);
  EXPECT_EQ(ElementEntryWidth(10), 0);
  EXPECT_EQ(ElementCommand(0), 1U);
  EXPECT_EQ(ElementFromCommand(ElementCommand(2), 3), 2);
  EXPECT_EQ(ElementFromCommand(0, 3), -1);  // menu dismissed
  EXPECT_EQ(ElementFromCommand(4, 3), -1);
}

// The marks are pixel art: a tiny rasteriser of their steps (lines are only horizontal, vertical
// or at 45 degrees, where every line drawing agrees) shows the final colour of each pixel.
template <std::size_t N>
int ColourAt(const std::array<MarkStep, N>& steps, int x, int y) {
  int colour = -1;  // untouched
  for (const MarkStep& s : steps) {
    bool hit = false;
    if (s.kind == MarkStep::Kind::kPixel) {
      hit = s.a.x == x && s.a.y == y;
    } else if (s.kind == MarkStep::Kind::kFill) {
      hit = x >= s.a.x && x < s.b.x && y >= s.a.y && y < s.b.y;
    } else {
      const int dx = (s.b.x > s.a.x) - (s.b.x < s.a.x);
      const int dy = (s.b.y > s.a.y) - (s.b.y < s.a.y);
      for (ThemedPoint p = s.a; !(p == s.b); p.x += dx, p.y += dy) {
        if (p.x == x && p.y == y) hit = true;
      }
    }
    if (hit) colour = static_cast<int>(s.colour);
  }
  return colour;
}

constexpr int kWhite = static_cast<int>(MarkColour::kWhite);
constexpr int kBlack = static_cast<int>(MarkColour::kBlack);
constexpr int kDark = static_cast<int>(MarkColour::kDarkGrey);
constexpr int kLight = static_cast<int>(MarkColour::kLightGrey);
constexpr int kGrey = static_cast<int>(MarkColour::kGrey);
constexpr int kFace = static_cast<int>(MarkColour::kFace);

TEST(Marks, EveryLineIsStraightOrDiagonal) {
  auto check = [](const auto& steps) {
    for (const MarkStep& s : steps) {
      if (s.kind != MarkStep::Kind::kLine) continue;
      const int w = s.b.x - s.a.x;
      const int h = s.b.y - s.a.y;
      EXPECT_TRUE(w == 0 || h == 0 || w == h || w == -h)
          << s.a.x << "," << s.a.y << " " << s.b.x << "," << s.b.y;
    }
  };
  check(kCheckBoxRelief);
  check(kCheckTick);
  check(kRadioRelief);
  check(kPopupMark);
}

TEST(Marks, TickEndsWithBlackOverWhiteAndGreyOverBlack) {
  EXPECT_EQ(ColourAt(kCheckTick, 12, 2), kWhite);
  EXPECT_EQ(ColourAt(kCheckTick, 4, 10), kWhite);
  EXPECT_EQ(ColourAt(kCheckTick, 3, 11), kWhite);  // end of the first line, start of the second's run
  EXPECT_EQ(ColourAt(kCheckTick, 3, 6), kWhite);
  EXPECT_EQ(ColourAt(kCheckTick, 3, 5), -1);       // end point of the short white line
  EXPECT_EQ(ColourAt(kCheckTick, 3, 12), kBlack);  // white first, then the long black line
  EXPECT_EQ(ColourAt(kCheckTick, 12, 3), kBlack);
  EXPECT_EQ(ColourAt(kCheckTick, 2, 13), -1);
  EXPECT_EQ(ColourAt(kCheckTick, 4, 6), kBlack);
  EXPECT_EQ(ColourAt(kCheckTick, 4, 9), kDark);  // black first, then dark grey
  EXPECT_EQ(ColourAt(kCheckTick, 5, 8), kDark);
  EXPECT_EQ(ColourAt(kCheckTick, 6, 7), -1);
  EXPECT_EQ(ColourAt(kCheckTick, 12, 4), kDark);
  EXPECT_EQ(ColourAt(kCheckTick, 4, 12), kDark);
  EXPECT_EQ(ColourAt(kCheckTick, 3, 13), -1);
}

TEST(Marks, BoxReliefCornersAreBlack) {
  EXPECT_EQ(ColourAt(kCheckBoxRelief, 0, 15), kBlack);
  EXPECT_EQ(ColourAt(kCheckBoxRelief, 15, 15), kBlack);
  EXPECT_EQ(ColourAt(kCheckBoxRelief, 15, 0), kBlack);
  EXPECT_EQ(ColourAt(kCheckBoxRelief, 15, -1), -1);
  EXPECT_EQ(ColourAt(kCheckBoxRelief, 1, 14), kDark);
  EXPECT_EQ(ColourAt(kCheckBoxRelief, 14, 14), kDark);
  EXPECT_EQ(ColourAt(kCheckBoxRelief, 14, 1), kDark);
  EXPECT_EQ(ColourAt(kCheckBoxRelief, 14, 0), -1);
  EXPECT_EQ(ColourAt(kCheckBoxRelief, 0, 14), -1);
}

TEST(Marks, RadioReliefPixels) {
  EXPECT_EQ(ColourAt(kRadioRelief, 9, 1), kBlack);
  EXPECT_EQ(ColourAt(kRadioRelief, 4, 2), kBlack);
  EXPECT_EQ(ColourAt(kRadioRelief, 1, 9), kBlack);
  EXPECT_EQ(ColourAt(kRadioRelief, 1, 10), -1);  // the polyline's last point
  EXPECT_EQ(ColourAt(kRadioRelief, 3, 3), kDark);
  EXPECT_EQ(ColourAt(kRadioRelief, 10, 2), kDark);
  EXPECT_EQ(ColourAt(kRadioRelief, 2, 10), kDark);
  EXPECT_EQ(ColourAt(kRadioRelief, 3, 13), kLight);
  EXPECT_EQ(ColourAt(kRadioRelief, 13, 4), kLight);
  EXPECT_EQ(ColourAt(kRadioRelief, 4, 13), kWhite);
  EXPECT_EQ(ColourAt(kRadioRelief, 9, 14), kWhite);
  EXPECT_EQ(ColourAt(kRadioRelief, 10, 14), -1);
  EXPECT_EQ(ColourAt(kRadioRelief, 12, 12), kWhite);
  EXPECT_EQ(ColourAt(kRadioRelief, 14, 10), -1);
  EXPECT_EQ(ColourAt(kRadioRelief, 15, 8), -1);
  EXPECT_EQ(ColourAt(kRadioRelief, 14, 9), kWhite);
  EXPECT_EQ(ColourAt(kRadioRelief, 14, 5), kWhite);
  EXPECT_EQ(ColourAt(kRadioRelief, 14, 4), -1);
}

TEST(Marks, PopupMarkIsARaisedSquareWithAShadow) {
  // Relative to the top-right corner: the face square, its white top and left, black bottom and
  // right, and the grey shadow below and to the right.
  EXPECT_EQ(ColourAt(kPopupMark, -14, 7), kFace);
  EXPECT_EQ(ColourAt(kPopupMark, -9, 9), kFace);
  EXPECT_EQ(ColourAt(kPopupMark, -15, 6), kWhite);
  EXPECT_EQ(ColourAt(kPopupMark, -8, 6), kWhite);
  EXPECT_EQ(ColourAt(kPopupMark, -15, 10), kWhite);
  EXPECT_EQ(ColourAt(kPopupMark, -7, 6), kBlack);
  EXPECT_EQ(ColourAt(kPopupMark, -15, 11), kBlack);
  EXPECT_EQ(ColourAt(kPopupMark, -14, 10), kGrey);
  EXPECT_EQ(ColourAt(kPopupMark, -8, 7), kGrey);
  EXPECT_EQ(ColourAt(kPopupMark, -5, 13), kGrey);
  EXPECT_EQ(ColourAt(kPopupMark, -4, 13), -1);
  EXPECT_EQ(ColourAt(kPopupMark, -7, 5), -1);
}

}  // namespace
}  // namespace ql
