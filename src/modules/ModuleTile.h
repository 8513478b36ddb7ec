// A module tile on a window: a rectangle of that window that shows one TileFace over the tile's
// own look (colour, texture, frame), runs the face's timer and hands it the mouse, the drops and
// the hint questions. The window forwards its messages and paints the tile from its WM_PAINT:
//
//   LRESULT result = 0;
//   if (tile.HandleMessage(msg, wParam, lParam, result)) return result;   // its timer
//   ...
//   case WM_PAINT: { PaintDc dc(hwnd); ...; tile.Paint(dc.get(), dc.info().rcPaint); }
//
// The mouse messages over the tile go to OnMouse (client coordinates); what the face does not
// take is for the window's own handling (the dock's). A tick that changes the look invalidates
// the tile's rectangle: the window then paints it, composed off-screen and copied in one step.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/TileFace.h"
#include "win/Handles.h"
#include "win/TimerSet.h"

namespace ql {

class ModuleTile final : public TileSite {
 public:
  ModuleTile() = default;
  ~ModuleTile() override;

  // Places the tile at (x, y, width, height) of `window`'s client area; false without a window.
  bool Create(HWND window, int x, int y, int width, int height);
  // The face shown (the tile owns it); its timer runs while it is started.
  void SetFace(std::unique_ptr<TileFace> face);
  TileFace* Face() const { return face_.get(); }

  void SetBounds(int x, int y, int width, int height);
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  // Only stores the colour: the next repaint shows it.
  void SetColor(COLORREF color) { color_ = color; }
  void SetBorder(bool border);
  // Keeps a copy of the picture (nullptr: none).
  void SetTexture(HBITMAP texture);
  HBITMAP Texture() const { return texture_.get(); }
  TileLook Look() const { return {color_, texture_.get(), border_}; }

  // Starts or stops the face (the bar starts its modules once it is drawn).
  void Start(bool on);
  // Whether the face's timer runs.
  bool Ticking() const { return tick_ != 0; }

  // The timer's WM_TIMER; false for every other message.
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Paints the tile when it meets `update` (client coordinates of the window).
  void Paint(HDC dc, const RECT& update) const;
  // A mouse message at (x, y) of the window's client area over the tile: true when the face took
  // it (the dock must not handle it).
  bool OnMouse(UINT msg, WPARAM wParam, int x, int y);
  // Files dropped on the tile: true when the face took them.
  bool OnDrop(const std::vector<std::string>& files);
  // The face's hint at (x, y) of the window's client area.
  std::string HintAt(int x, int y) const;

  // TileSite
  HWND Window() const override { return window_; }
  SIZE Size() const override { return {width_, height_}; }
  void Invalidate(bool now = false) override;
  void StartedChanged() override;

  // After every tick that repainted (tests and the hint follow it).
  std::function<void()> OnTicked;

 private:
  void OnTick();

  HWND window_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 64;
  int height_ = 64;
  COLORREF color_ = RGB(192, 192, 192);
  bool border_ = true;
  win::Bitmap texture_;
  win::TimerSet timers_;
  win::TimerSet::Id tick_ = 0;
  // Declared last: destroyed first, while the timer set and the window are still there.
  std::unique_ptr<TileFace> face_;
};

}  // namespace ql
