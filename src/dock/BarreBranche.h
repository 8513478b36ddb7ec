// The branch bar: a borderless window beside the dock that shows the members of one group at a
// time, slid in and out beside the group's tile.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/IconCache.h"
#include "controls/KovaBtn.h"
#include "controls/TileHostWindow.h"
#include "core/BarLayout.h"
#include "core/Bouton.h"
#include "core/Config.h"

namespace ql {

class Hints;

// What every member tile takes from the dock.
struct BranchStyle {
  const TConfig* config = nullptr;
  int side = 48;                        // S
  HBITMAP barTexture = nullptr;         // the bar's texture, or none
  std::function<void(TKovaBtn&)> wire;  // connects the dock's handlers to a new tile
};

class TBarreBranche final : public TileHostWindow {
 public:
  // The hidden window, owned by `owner`; its tiles show their hints through `hints` and load
  // their icons through `icons` (the dock's, shared with the bar).
  bool Create(HWND owner, Hints* hints = nullptr, IconCache* icons = nullptr);

  // Empties the window and, given a group, fills it with the group's members laid out in a row
  // (side bars) or a column (top bar). Returns the number of members.
  int CreeBarreBranche(const TBouton* group, const BranchStyle& style);

  // Shows the window just below `dockWindow` in the z-order and slides it in beside the group's
  // tile (`groupTile`, in the dock window `dock`), 10 pixels a step, repainting after each step.
  void SlideIn(HWND dockWindow, Edge edge, PixelRect dock, PixelPoint groupTile, int side, int count);
  // Slides it out toward the dock, 10 pixels a step (no final snap), then hides it.
  void SlideOut(Edge edge, PixelRect dock, int side);

  const std::vector<std::unique_ptr<TKovaBtn>>& Controls() const { return controls_; }
  // The member tile under a screen point, if any.
  TKovaBtn* TileAtScreen(POINT screen) const;

 private:
  void MoveStep(const BranchSlide& slide, int value) const;
  std::vector<std::unique_ptr<TKovaBtn>> controls_;
};

}  // namespace ql
