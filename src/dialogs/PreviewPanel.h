// A small child window that carries the windowless preview tiles of a dialog. The dialogs' group
// boxes are windows of their own, so a tile drawn on the dialog's surface would lie under them;
// this panel, created after its group box, lies above it and paints its tiles itself.
#pragma once

#include "controls/TileHostWindow.h"

namespace ql {

class Hints;

class PreviewPanel final : public TileHostWindow {
 public:
  // A child of `parent` at (x, y, width, height); tiles created on Host() are placed in the
  // panel's own coordinates. With `hints`, the tiles' hints are shown through it.
  bool Create(HWND parent, int x, int y, int width, int height, Hints* hints = nullptr);

 protected:
  // What the tiles leave uncovered takes the dialog's face colour.
  void PaintGround(HDC dc, const RECT& update) override;
};

}  // namespace ql
