// The branch bar: a borderless window beside the dock that shows the members of one group at a
// time, slid in and out by the dock.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/IconCache.h"
#include "controls/KovaBtn.h"
#include "controls/TileHost.h"
#include "core/Bouton.h"
#include "core/Config.h"
#include "win/Form.h"

namespace ql {

class Hints;

// What every member tile takes from the dock's settings.
struct BranchStyle {
  const TConfig* config = nullptr;
  int side = 48;                        // S
  HBITMAP barTexture = nullptr;         // the bar's texture, or none
  std::function<void(TKovaBtn&)> wire;  // connects the dock's handlers to a new tile
};

class TBarreBranche final : public win::Form {
 public:
  bool Create(HWND owner);
  // The dock's hints and icon cache, used by the member tiles.
  void SetTileServices(Hints* hints, IconCache* icons);

  // Empties the window and, given a group, fills it with the group's members laid out in a row
  // (side bars) or a column (top bar). Returns the number of members.
  int CreeBarreBranche(const TBouton* group, const BranchStyle& style);

  const std::vector<std::unique_ptr<TKovaBtn>>& Controls() const { return controls_; }
  // The member tile under a screen point, if any.
  TKovaBtn* TileAtScreen(POINT screen) const;

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  TileHost host_;
  Hints* hints_ = nullptr;
  IconCache* icons_ = nullptr;
  std::vector<std::unique_ptr<TKovaBtn>> controls_;
};

// Loads a bitmap file for a texture; empty when the file is not a readable bitmap.
win::Bitmap LoadTexture(const std::string& path);

}  // namespace ql
