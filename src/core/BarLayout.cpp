#include "core/BarLayout.h"

namespace ql {

namespace {
constexpr int kStep = 10;
}

BarPlacement PlaceBar(Edge edge, int side, int count, int posTop, int screenWidth, int screenHeight) {
  BarPlacement out;
  int p = side;
  for (int i = 0; i < count; ++i, p += side) {
    out.tiles.push_back(edge == Edge::Top ? PixelPoint{p, 0} : PixelPoint{0, p});
  }
  if (edge == Edge::Top) {
    out.window = {posTop, 0, p, side};
    out.longueurBarre = p;
  } else {
    const int left = edge == Edge::Left ? 0 : screenWidth - side;
    const int top = posTop <= screenHeight ? posTop : 0;
    out.window = {left, top, side, p};
    out.longueurBarre = p;
  }
  return out;
}

AppBarRequest DesktopToolbarRequest(Edge edge, int keptLeft, int width, int height, int frame,
                                    int screenWidth, int screenHeight) {
  switch (edge) {
    case Edge::Left:
      return {0, 0, 0, frame + width, screenHeight};
    case Edge::Top:
      return {1, 0, 0, screenWidth, frame + height};
    case Edge::Right:
    default:
      return {2, keptLeft - frame, 0, screenWidth, screenHeight};
  }
}

BranchSlide BranchOpening(Edge edge, PixelRect dock, PixelPoint groupTile, int side, int count) {
  BranchSlide s;
  const int y = dock.top + groupTile.y;
  const int x = dock.left + groupTile.x;
  if (edge == Edge::Top) {
    s.movesLeft = false;
    s.fixed = x;
    s.width = side;
    s.height = side * count;
    const int target = side;
    int top = -s.height;
    s.steps.push_back(top);
    while (top + kStep < target) s.steps.push_back(top += kStep);
    s.steps.push_back(target);
    return s;
  }
  s.fixed = y;
  s.width = side * count;
  s.height = side;
  if (edge == Edge::Left) {
    const int target = dock.left + side;
    int left = -target;
    s.steps.push_back(left);
    while (left + kStep < target) s.steps.push_back(left += kStep);
    s.steps.push_back(target);
  } else {
    const int target = dock.left - s.width;
    int left = dock.left + side;
    s.steps.push_back(left);
    while (left - kStep > target) s.steps.push_back(left -= kStep);
    s.steps.push_back(target);
  }
  return s;
}

BranchSlide BranchClosing(Edge edge, PixelRect dock, PixelRect branch, int side) {
  BranchSlide s;
  s.width = branch.width;
  s.height = branch.height;
  if (edge == Edge::Top) {
    s.movesLeft = false;
    s.fixed = branch.left;
    int top = branch.top;
    while (top - kStep > side - branch.height) s.steps.push_back(top -= kStep);
    return s;
  }
  s.fixed = branch.top;
  int left = branch.left;
  if (edge == Edge::Left) {
    while (left - kStep > side - branch.width) s.steps.push_back(left -= kStep);
  } else {
    while (left + kStep < dock.left) s.steps.push_back(left += kStep);
  }
  return s;
}

std::vector<int> FoldSteps(int current, int side, int longueurBarre) {
  std::vector<int> steps;
  if (current == side) {
    int len = side;
    while (len + kStep < longueurBarre) steps.push_back(len += kStep);
    steps.push_back(longueurBarre);
  } else {
    int len = longueurBarre;
    while (len - kStep > side) steps.push_back(len -= kStep);
    steps.push_back(side);
  }
  return steps;
}

}  // namespace ql
