// The window that windowless tiles (TKovaBtn) live on. The tiles draw on this window and have no
// window of their own, so a bar of many tiles costs one window. The window's procedure hands every
// message to HandleMessage first, and paints the tiles from its WM_PAINT with Paint:
//
//   LRESULT Proc(UINT msg, WPARAM wParam, LPARAM lParam) {
//     LRESULT result = 0;
//     if (tiles.HandleMessage(msg, wParam, lParam, result)) return result;
//     if (msg == WM_PAINT) { PaintDc dc(hwnd); /* own drawing */ tiles.Paint(dc.get(), dc.info().rcPaint);
//     ... }
//     ...
//   }
//
// The host also runs the timers of the tiles' faces (a module tile's tick): WM_TIMER goes to
// HandleMessage like the rest.
//
// The mouse messages go to the tooltip of the hints (for the tiles' hints), then to the visible,
// enabled tile under the pointer (the last created one where tiles overlap); while a mouse button is held on
// a tile the window keeps the capture and that tile gets the moves and the release wherever they happen (a
// window that hides lets the capture go: the held press ends there). A
// right button release on a tile is left to DefWindowProc, which raises WM_CONTEXTMENU; that one goes to the
// tile too.
//
// A rectangle is invalidated once until the window paints (a bar being built changes each tile
// many times, and a rebuilt tile takes the place of a destroyed one): the window must paint its
// update region through Paint, never validate or scroll it without painting the tiles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "win/Handles.h"
#include "win/TimerSet.h"

namespace ql {

class Hints;
class IconCache;
class TKovaBtn;

class TileHost {
 public:
  TileHost() = default;
  TileHost(const TileHost&) = delete;
  TileHost& operator=(const TileHost&) = delete;
  // The tiles still on the host stay, on no host.
  ~TileHost();

  // The window the tiles draw on, the hints they show through and the cache they load icons
  // through (both optional; they must outlive the host and its tiles). Tiles already on the host
  // move their hints to the new window.
  void Attach(HWND window, Hints* hints = nullptr, IconCache* icons = nullptr);
  HWND hwnd() const { return window_; }
  Hints* hints() const { return hints_; }
  IconCache* icons() const { return icons_; }

  // Every message of the window, first. True when a tile took it (the window returns `result`);
  // false when the window handles it itself.
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Paints every visible tile that meets `update` (client coordinates), in creation order, each
  // composed off-screen (on one surface for the whole call) and copied in one BitBlt; nothing
  // outside `update` is touched.
  void Paint(HDC dc, const RECT& update) const;

  // The tile that gets the mouse at `client`: the last created visible, enabled tile there.
  TKovaBtn* TileAt(POINT client) const;
  // The tiles on the host, in creation order (not owned).
  const std::vector<TKovaBtn*>& Tiles() const { return tiles_; }
  // The timers of the tiles' faces, on the host's window.
  win::TimerSet& Timers() { return timers_; }

 private:
  friend class TKovaBtn;

  // Called by the tiles as they come and go. Add returns the tile's number on the host.
  UINT_PTR Add(TKovaBtn* tile);
  void Remove(TKovaBtn* tile);
  // A tile stops getting the mouse (destroyed, hidden or disabled while it held it).
  void Forget(const TKovaBtn* tile);
  // InvalidateRect without erasing, unless `rect` lies in a rectangle invalidated since the last
  // paint.
  void Invalidate(const RECT& rect);

  // The tiles' copy of a texture picture. A bar gives the same picture to all its tiles: the
  // tiles share one copy as long as the picture is the same DIB section with the same bits.
  std::shared_ptr<const win::Bitmap> ShareTexture(HBITMAP picture);

  bool MouseMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool ContextMenu(WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool Holds(const TKovaBtn* tile) const;

  HWND window_ = nullptr;
  Hints* hints_ = nullptr;
  IconCache* icons_ = nullptr;
  std::vector<TKovaBtn*> tiles_;
  UINT_PTR nextId_ = 1;
  // The tile a held mouse button belongs to (the window has the capture for it).
  TKovaBtn* captured_ = nullptr;
  // Numbers of the tiles that got the last press of the left, right and middle buttons: a double
  // click counts only when both presses hit the same tile.
  UINT_PTR lastPress_[3] = {0, 0, 0};
  // The tile whose right button release raised the WM_CONTEXTMENU that follows.
  UINT_PTR menuTile_ = 0;
  // The rectangles invalidated since the last Paint (at most kInvalidKept).
  static constexpr std::size_t kInvalidKept = 256;
  mutable std::vector<RECT> invalid_;
  // Copies of texture pictures the tiles hold, with what their pictures were when copied.
  struct SharedTexture {
    HBITMAP picture = nullptr;
    DIBSECTION header{};
    std::vector<std::uint8_t> bits;
    std::weak_ptr<const win::Bitmap> copy;
  };
  std::vector<SharedTexture> textures_;
  win::TimerSet timers_;
  // Expires with the host: lets a dispatch notice that a handler destroyed it.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace ql
