#include <gtest/gtest.h>

#include "core/BarLayout.h"
#include "core/Command.h"

namespace ql {
namespace {

TEST(PlaceBar, RightEdgeColumnOfThreeAtTheScreenEdge) {
  BarPlacement p = PlaceBar(Edge::Right, 48, 3, 0, 1024, 768);
  EXPECT_EQ(p.window, (PixelRect{976, 0, 48, 192}));
  EXPECT_EQ(p.longueurBarre, 192);
  ASSERT_EQ(p.tiles.size(), 3U);
  EXPECT_EQ(p.tiles[0], (PixelPoint{0, 48}));
  EXPECT_EQ(p.tiles[2], (PixelPoint{0, 144}));
}

TEST(PlaceBar, PositionAlongTheEdge) {
  EXPECT_EQ(PlaceBar(Edge::Left, 48, 0, 300, 1024, 768).window, (PixelRect{0, 300, 48, 48}));
  // Beyond the screen height a side bar goes back to the top; exactly the height is kept.
  EXPECT_EQ(PlaceBar(Edge::Left, 48, 0, 769, 1024, 768).window.top, 0);
  EXPECT_EQ(PlaceBar(Edge::Left, 48, 0, 768, 1024, 768).window.top, 768);
  // The top bar takes PosTop as its Left without a check.
  BarPlacement top = PlaceBar(Edge::Top, 40, 2, 5000, 1024, 768);
  EXPECT_EQ(top.window, (PixelRect{5000, 0, 120, 40}));
  EXPECT_EQ(top.tiles[1], (PixelPoint{80, 0}));
}

TEST(DesktopToolbar, RectanglePerEdge) {
  EXPECT_EQ(DesktopToolbarRequest(Edge::Left, 0, 48, 200, 4, 1024, 768), (AppBarRequest{0, 0, 0, 52, 768}));
  EXPECT_EQ(DesktopToolbarRequest(Edge::Top, 10, 200, 48, 4, 1024, 768), (AppBarRequest{1, 0, 0, 1024, 52}));
  EXPECT_EQ(DesktopToolbarRequest(Edge::Right, 976, 48, 200, 4, 1024, 768),
            (AppBarRequest{2, 972, 0, 1024, 768}));
}

TEST(BranchSlide, RightBarOpensLeftwardLevelWithTheGroup) {
  const PixelRect dock{976, 100, 48, 192};
  BranchSlide s = BranchOpening(Edge::Right, dock, PixelPoint{0, 96}, 48, 2);
  EXPECT_TRUE(s.movesLeft);
  EXPECT_EQ(s.fixed, 196);
  EXPECT_EQ(s.width, 96);
  EXPECT_EQ(s.height, 48);
  EXPECT_EQ(s.steps.front(), 1024);
  EXPECT_EQ(s.steps.back(), 880);
  for (std::size_t i = 1; i + 1 < s.steps.size(); ++i) EXPECT_EQ(s.steps[i - 1] - s.steps[i], 10);
  // Closing slides back right until it would pass the dock's Left; no final snap.
  BranchSlide c = BranchClosing(Edge::Right, dock, PixelRect{880, 196, 96, 48}, 48);
  EXPECT_EQ(c.steps.front(), 890);
  EXPECT_EQ(c.steps.back(), 970);
}

TEST(BranchSlide, LeftAndTopBars) {
  BranchSlide l = BranchOpening(Edge::Left, PixelRect{0, 0, 48, 144}, PixelPoint{0, 48}, 48, 3);
  EXPECT_EQ(l.steps.front(), -48);
  EXPECT_EQ(l.steps.back(), 48);
  EXPECT_EQ(l.fixed, 48);
  BranchSlide c = BranchClosing(Edge::Left, PixelRect{0, 0, 48, 144}, PixelRect{48, 48, 144, 48}, 48);
  EXPECT_GT(c.steps.back(), 48 - 144);
  EXPECT_LE(c.steps.back() - 10, 48 - 144);

  BranchSlide t = BranchOpening(Edge::Top, PixelRect{200, 0, 144, 48}, PixelPoint{96, 0}, 48, 2);
  EXPECT_FALSE(t.movesLeft);
  EXPECT_EQ(t.fixed, 296);
  EXPECT_EQ(t.width, 48);
  EXPECT_EQ(t.height, 96);
  EXPECT_EQ(t.steps.front(), -96);
  EXPECT_EQ(t.steps.back(), 48);
}

TEST(FoldSteps, FoldsToOneTileAndBackInTens) {
  std::vector<int> fold = FoldSteps(192, 48, 192);
  EXPECT_EQ(fold.front(), 182);
  EXPECT_EQ(fold.back(), 48);
  EXPECT_EQ(fold[fold.size() - 2], 52);
  std::vector<int> unfold = FoldSteps(48, 48, 192);
  EXPECT_EQ(unfold.front(), 58);
  EXPECT_EQ(unfold.back(), 192);
  EXPECT_EQ(unfold[unfold.size() - 2], 188);
}

TEST(Command, SplitsAtTheFirstBar) {
  SplitCommand c = SplitBtnApp("c:\\app.exe|one two|three");
  EXPECT_EQ(c.target, "c:\\app.exe");
  EXPECT_EQ(c.parameters, "one two|three");
  EXPECT_EQ(c.directory, "c:\\");
  SplitCommand plain = SplitBtnApp("notepad");
  EXPECT_EQ(plain.target, "notepad");
  EXPECT_EQ(plain.parameters, "");
  EXPECT_EQ(plain.directory, "");
  EXPECT_EQ(SplitBtnApp("d:readme.txt").directory, "d:");
}

TEST(Command, FileNamePartKeepsTheExtension) {
  EXPECT_EQ(FileNamePart("C:\\dir.x\\My File.txt"), "My File.txt");
  EXPECT_EQ(FileNamePart("a:b"), "b");
  EXPECT_EQ(FileNamePart("plain"), "plain");
}

}  // namespace
}  // namespace ql
