// A small child window that carries the windowless preview tiles of a dialog. The dialogs' group
// boxes are windows of their own, so a tile drawn on the dialog's surface would lie under them;
// this panel, created after its group box, lies above it and paints its tiles itself.
#pragma once

#include "controls/TileHost.h"
#include "win/Window.h"

namespace ql {

class Hints;

class PreviewPanel : public win::Window {
 public:
  // A child of `parent` at (x, y, width, height); tiles created on Host() are placed in the
  // panel's own coordinates. With `hints`, the tiles' hints are shown through it.
  bool Create(HWND parent, int x, int y, int width, int height, Hints* hints = nullptr);
  TileHost& Host() { return host_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  TileHost host_;
};

}  // namespace ql
