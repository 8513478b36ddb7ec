// The mouse on the tiles of the bar and of the branch. A left press (the left button alone, no
// key) opens and closes branches and, with SingleClick, launches; a double click launches; a
// Shift+left press starts a drag once the mouse has moved by the system's drag threshold, and its
// release on another tile exchanges the two buttons.
#pragma once

#include <cstdint>

#include "controls/KovaBtn.h"
#include "controls/Mouse.h"

namespace ql {

class TQuaylite;

class TileInput {
 public:
  explicit TileInput(TQuaylite& dock) : dock_(dock) {}

  // Connects a tile of the bar or of the branch to the handlers below (and to the button menu).
  void Wire(TKovaBtn& tile);

  void BtnAppMouseDown(TKovaBtn& tile, const MouseEvent& e);
  void BtnAppDblClick(TKovaBtn& tile);
  // Exchanges the buttons numbered `source` and `target` (a drag dropped on a tile): on the main
  // bar or inside the open branch, never across; the two tiles swap places and numbers without a
  // rebuild, and the store is written.
  void BtnAppDragDrop(std::int32_t source, std::int32_t target);

  bool Dragging() const { return dragging_; }

 private:
  void BtnAppMouseMove(const MouseEvent& e);
  void BtnAppMouseUp(const MouseEvent& e);
  void EndDrag();

  TQuaylite& dock_;
  // A Shift-drag in progress: the tile pressed, where, and whether it has started moving.
  std::int32_t dragSource_ = -1;
  POINT dragStart_{};
  bool dragging_ = false;
};

// "Left" as the dock's handlers mean it: the left button pressed alone, with no key held.
bool LeftAlone(const MouseEvent& e);

}  // namespace ql
