// Layout arithmetic of the bar and its branch: where the dock window and its tiles go on each
// edge, the strip reserved for the desktop toolbar, and the 10-pixel steps of the slides and
// folds. Screen pixels throughout; S is the side of one tile.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Config.h"

namespace ql {

struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct BarPlacement {
  PixelRect window;               // the dock window
  std::vector<PixelPoint> tiles;  // top-left of each main-bar tile after the main button
  int longueurBarre = 0;          // unfolded length along the edge
};

// The dock window and its tiles for `count` main-bar records.
BarPlacement PlaceBar(Edge edge, int side, int count, int posTop, int screenWidth, int screenHeight);

// The desktop-toolbar request: edge code (ABE_LEFT 0, ABE_TOP 1, ABE_RIGHT 2) and rectangle
// (left, top, right, bottom) for a bar at `keptLeft` of the given size; F is the frame height.
struct AppBarRequest {
  unsigned edge = 2;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const AppBarRequest&, const AppBarRequest&) = default;
};
AppBarRequest DesktopToolbarRequest(Edge edge, int keptLeft, int width, int height, int frame,
                                    int screenWidth, int screenHeight);

// One slide of the branch window: its size, the coordinate that stays put, and the successive
// values of the moving one (Left on side bars, Top on the top bar), one repaint each.
struct BranchSlide {
  bool movesLeft = true;  // the moving coordinate is Left (side bars) or Top (top bar)
  int fixed = 0;          // Top on side bars, Left on the top bar
  int width = 0;
  int height = 0;
  std::vector<int> steps;
};

// Opening beside the group tile at (groupLeft, groupTop) of the dock window.
BranchSlide BranchOpening(Edge edge, PixelRect dock, PixelPoint groupTile, int side, int count);
// Closing from the branch window's current rectangle; no final snap.
BranchSlide BranchClosing(Edge edge, PixelRect dock, PixelRect branch, int side);

// Fold or unfold of the bar's length: from `current` toward S (fold) or toward the full length.
// Returns the successive lengths, the last one exact.
std::vector<int> FoldSteps(int current, int side, int longueurBarre);

}  // namespace ql
