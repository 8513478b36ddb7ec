#include "dock/BarreBranche.h"

#include "controls/TileStyle.h"

namespace ql {

namespace {
constexpr int kHiddenTop = -500;
}  // namespace

bool TBarreBranche::Create(HWND owner, Hints* hints, IconCache* icons) {
  if (!CreateForm(owner, L"TBarreBranche", L"BarreBranche", WS_POPUP, WS_EX_TOOLWINDOW, 0, kHiddenTop, 48,
                  48)) {
    return false;
  }
  AttachTiles(hints, icons);
  return true;
}

int TBarreBranche::CreeBarreBranche(const TBouton* group, const BranchStyle& style) {
  RECT r = Bounds();
  ::SetWindowPos(hwnd(), nullptr, r.left, kHiddenTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  controls_.clear();
  if (group == nullptr || style.config == nullptr) return 0;
  const bool column = EdgeOf(style.config->Sens) == Edge::Top;
  int q = 0;
  for (const TBouton* m : ButtonList::Members(*group)) {
    auto btn = std::make_unique<TKovaBtn>();
    const int x = column ? 0 : q;
    const int y = column ? q : 0;
    if (!btn->Create(Host(), x, y, style.side, style.side)) continue;
    StyleTile(*btn, *m, *style.config, style.barTexture, TilePlace::Branch);
    btn->SetBounds(x, y, style.side, style.side);
    if (style.wire) style.wire(*btn);
    controls_.push_back(std::move(btn));
    q += style.side;
  }
  return static_cast<int>(controls_.size());
}

void TBarreBranche::MoveStep(const BranchSlide& slide, int value) const {
  const int x = slide.movesLeft ? value : slide.fixed;
  const int y = slide.movesLeft ? slide.fixed : value;
  ::SetWindowPos(hwnd(), nullptr, x, y, slide.width, slide.height, SWP_NOZORDER | SWP_NOACTIVATE);
  // Inside a running slide: paint now rather than when the message loop comes round.
  ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TBarreBranche::SlideIn(HWND dockWindow, Edge edge, PixelRect dock, PixelPoint groupTile, int side,
                            int count) {
  if (hwnd() == nullptr) return;
  const BranchSlide slide = BranchOpening(edge, dock, groupTile, side, count);
  MoveStep(slide, slide.steps.front());
  ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  ::SetWindowPos(hwnd(), dockWindow, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (int v : slide.steps) MoveStep(slide, v);
}

void TBarreBranche::SlideOut(Edge edge, PixelRect dock, int side) {
  if (hwnd() == nullptr) return;
  const RECT b = Bounds();
  const BranchSlide slide =
      BranchClosing(edge, dock, PixelRect{b.left, b.top, b.right - b.left, b.bottom - b.top}, side);
  for (int v : slide.steps) MoveStep(slide, v);
  Hide();
}

TKovaBtn* TBarreBranche::TileAtScreen(POINT screen) const {
  if (hwnd() == nullptr || ::WindowFromPoint(screen) != hwnd()) return nullptr;
  ::ScreenToClient(hwnd(), &screen);
  return Host().TileAt(screen);
}

}  // namespace ql
