// Base of every window whose client area carries windowless tiles (TKovaBtn): the dock, the
// branch bar, the dialogs' preview panels. The tiles get every message first; the background is
// never erased; WM_PAINT paints the ground the tiles leave uncovered (with the tiles' rectangles
// clipped out, so nothing is painted twice) and then the tiles, each composed off-screen.
//
// A derived window creates itself (CreateForm for a top-level window, Window::Create for a child),
// then attaches the tiles with AttachTiles; the messages the tiles leave reach its OwnMessage.
#pragma once

#include <memory>

#include "controls/TileHost.h"
#include "win/Form.h"

namespace ql {

class Hints;
class IconCache;

class TileHostWindow : public win::Form {
 public:
  TileHost& Host() { return *host_; }
  const TileHost& Host() const { return *host_; }

 protected:
  // The tiles draw on this window (once created), show their hints through `hints` and load their
  // icons through `icons` (both optional, outliving the window's tiles).
  void AttachTiles(Hints* hints = nullptr, IconCache* icons = nullptr);

  // Every message the tiles did not take (WM_ERASEBKGND and WM_PAINT never get here). The default
  // is the window's default handling.
  virtual LRESULT OwnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return Form::HandleMessage(msg, wParam, lParam);
  }
  // Paints what no tile covers within `update` (the tiles are clipped out). Nothing by default:
  // the tiles cover the window.
  virtual void PaintGround(HDC /*dc*/, const RECT& /*update*/) {}
  // Destroys the host now (the tiles still on it stay, on no host); the window then has no tiles.
  // Only for tests of what the tiles do when their host goes first.
  void DropHost() { host_.reset(); }

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  // The tiles' messages, WM_ERASEBKGND (answered without erasing) and WM_PAINT: true when handled.
  bool TileMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  std::unique_ptr<TileHost> host_ = std::make_unique<TileHost>();
};

}  // namespace ql
