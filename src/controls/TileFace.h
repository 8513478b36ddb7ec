// The face of a module tile: what the clock, the recycle bin, the virtual screens and the RAM/CPU
// gauges show and do, apart from what every tile has. The tile (the bar's, or a test's) keeps the
// background, the frame, the place, the timer and the dock's mouse handlers; it draws the
// background and frame, lets the face paint over them on the same off-screen surface and copies
// the whole tile to its window in one step.
//
// A tile that shows a face:
//   - paints it with PaintFaceTile from its window's WM_PAINT;
//   - runs a timer of TickMs() while Started() is true, and repaints when Tick() answers true;
//   - hands it the mouse presses and moves over it (in tile coordinates) and gives them to the
//     dock as well when Mouse() answers false (for a press answered true, the dock sees neither
//     the press nor the context menu it would raise);
//   - hands it the files dropped on it (Drop() false: the dock takes them);
//   - shows HintAt() of the pointer as the tile's hint (read again after every tick and move);
//   - calls Start(true) once the bar is drawn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls/Mouse.h"
#include "win/Canvas.h"

namespace ql {

enum class MouseAction : std::uint8_t { Down, Move, Up };

// What a face may ask of the tile that shows it.
class TileSite {
 public:
  TileSite() = default;
  TileSite(const TileSite&) = delete;
  TileSite& operator=(const TileSite&) = delete;
  virtual ~TileSite() = default;

  // The window the tile is drawn on: the owner of the face's menus and message boxes.
  virtual HWND Window() const = 0;
  // The tile's width and height.
  virtual SIZE Size() const = 0;
  // The face looks different: the tile is composed again and copied, at the next paint or (now)
  // before this returns.
  virtual void Invalidate(bool now = false) = 0;
  // Started() changed: the tile starts or stops the face's timer.
  virtual void StartedChanged() = 0;
};

class TileFace {
 public:
  TileFace() = default;
  TileFace(const TileFace&) = delete;
  TileFace& operator=(const TileFace&) = delete;
  virtual ~TileFace() = default;

  // Draws the face on a canvas of the tile's size, over the background and frame the tile drew.
  virtual void Paint(win::Canvas& canvas, int width, int height) const = 0;
  // False: the tile draws no frame, whatever the bar's relief option.
  virtual bool Framed() const { return true; }

  virtual unsigned TickMs() const { return 0; }
  // One timer tick; true when the tile must be repainted.
  virtual bool Tick() { return false; }
  virtual void Start(bool on) { (void)on; }
  virtual bool Started() const { return false; }

  // A press, release or move at (e.x, e.y) of the tile; true when the face took it.
  virtual bool Mouse(MouseAction action, const MouseEvent& e) {
    (void)action;
    (void)e;
    return false;
  }
  // Files dropped on the tile, in drop order; true when the face took them.
  virtual bool Drop(const std::vector<std::string>& files) {
    (void)files;
    return false;
  }
  // The hint at a point of the tile; empty for none.
  virtual std::string HintAt(POINT at) const {
    (void)at;
    return {};
  }
};

// The tile's own look: the background colour, the texture stretched over it (nullptr: none; not
// owned) and the raised frame (drawn only for a face that is Framed()).
struct TileLook {
  COLORREF color = RGB(192, 192, 192);
  HBITMAP texture = nullptr;
  bool border = true;
};

// Background, frame and face drawn at (0, 0) of `dc`.
void DrawFaceTile(HDC dc, const TileFace& face, int width, int height, const TileLook& look);
// The whole tile as a W x H 32-bit DIB section.
win::Bitmap ComposeFaceTile(const TileFace& face, int width, int height, const TileLook& look);
// The tile composed off-screen and copied to (x, y) of `dc` in one BitBlt.
void PaintFaceTile(HDC dc, int x, int y, const TileFace& face, int width, int height, const TileLook& look);

// A mouse message of a window as a face's event, at (x, y) of the tile (moves: button None).
struct FaceMouse {
  MouseAction action = MouseAction::Move;
  MouseEvent event;
};
FaceMouse FaceMouseEvent(UINT msg, WPARAM wParam, int x, int y);

// A font of the faces: `height` as LOGFONT takes it (negative: the characters' height in pixels,
// positive: the cell's), regular or italic.
win::Font CreateFaceFont(std::wstring_view face, int height, bool italic = false);
// Pixels of the screen for a size in points (read once: the resolution does not change).
int ScreenPoints(int points);

// The names of the files of a drop, in drop order (the drop handle stays the caller's).
std::vector<std::string> DroppedFiles(HDROP drop);

}  // namespace ql
