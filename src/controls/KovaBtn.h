// TKovaBtn, the icon button: the face of every tile of the dock, its main button and the previews
// of the dialogs. A square tile with a plain or textured background, an optional raised frame,
// the icon loaded from a file path and index, optional group dots and an optional caption on a
// dark strip. It has no pressed or hover look; mouse actions only go to its owner as events.
//
// It is windowless: it lives on a TileHost and draws on the host's window, which hands it the mouse
// messages over it. The whole tile is composed off-screen and copied in one step, so repainting
// does not flicker; a property change invalidates only the tile's rectangle of the host window.
//
// A module tile is a TKovaBtn that shows a face (TileFace: the clock, the recycle bin, the virtual
// screens, the gauges) instead of its icon and caption. It keeps everything else of a tile: the
// background, frame, place, tag, texture, the dock's events and menu. The face paints over the
// background on the same off-screen surface, gets the mouse first, gives the hint, and its timer
// runs on the host's window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/Mouse.h"
#include "controls/Picture.h"  // LoadPathIcon, LoadTexture
#include "controls/TileFace.h"
#include "core/TileGeometry.h"
#include "win/Handles.h"

namespace ql {

class TileHost;

// A copy of a picture for a button's texture: a 32-bit DIB section of the same size and colours,
// read with GetDIBits (several times cheaper than CopyImage under Wine); CopyImage when the picture
// cannot be read that way. Empty for no picture.
win::Bitmap CopyPicture(HBITMAP picture);

class TKovaBtn {
 public:
  static constexpr COLORREF kLabelColor = RGB(34, 36, 75);
  // Makes a face for the site the tile gives it (the face keeps the site for its whole life).
  using FaceMaker = std::function<std::unique_ptr<TileFace>(TileSite&)>;

  TKovaBtn();
  TKovaBtn(const TKovaBtn&) = delete;
  TKovaBtn& operator=(const TKovaBtn&) = delete;
  // Leaves the host: its hint goes and its rectangle is painted again without it.
  ~TKovaBtn();

  // Puts the button on `host` at (x, y, width, height) in the client area of the host's window,
  // leaving any host it was on; false (and on no host) when the host has no window. Its hint is
  // shown through the host's Hints, its icon loaded through the host's IconCache when it has one.
  bool Create(TileHost& host, int x, int y, int width, int height);
  TileHost* Host() const { return host_; }
  // The host's window, or nullptr.
  HWND ParentWindow() const;
  // The button's number on its host (the id of its hint tool); 0 when on no host.
  UINT_PTR Id() const { return id_; }

  // Stores the path and loads its icon.
  void SetIconPath(std::string path);
  const std::string& IconPath() const { return iconPath_; }
  // A different index loads the icon again; an equal one does nothing.
  void SetIconIndex(std::int32_t index);
  // Both at once, with one icon load (as setting the path, then the index, ends).
  void SetIconSource(std::string path, std::int32_t index);
  std::int32_t IconIndex() const { return iconIndex_; }
  // With AutoSize, resizes the button to the icon (and caption); always loads the icon again.
  void SetIconSize(std::int32_t size);
  std::int32_t IconSize() const { return iconSize_; }
  // Stores and repaints; the size follows only the next SetIconSize.
  void SetAutoSize(bool autoSize);
  bool AutoSize() const { return autoSize_; }
  void SetBorder(bool border);
  bool Border() const { return border_; }
  void SetShowDots(bool showDots);
  bool ShowDots() const { return showDots_; }
  void SetGroupe(TGroupeState groupe);
  TGroupeState Groupe() const { return groupe_; }
  // Copies the picture (nullptr empties the texture). The tiles of one host given the same
  // picture share one copy, which is never drawn on (see TileHost).
  void SetTexture(HBITMAP texture);
  bool HasTexture() const { return texture_ && *texture_; }
  HBITMAP Texture() const { return texture_ ? texture_->get() : nullptr; }
  // Only stores the colour: the next repaint shows it.
  void SetColor(COLORREF color) { color_ = color; }
  COLORREF Color() const { return color_; }
  // Repaints; does not resize.
  void SetCaption(std::string caption);
  const std::string& Caption() const { return caption_; }
  void SetHint(std::string hint);
  const std::string& Hint() const { return hint_; }
  void SetShowHint(bool showHint);
  bool ShowHint() const { return showHint_; }
  void SetTag(std::int32_t tag) { tag_ = tag; }
  std::int32_t Tag() const { return tag_; }
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  void SetVisible(bool visible);
  bool Visible() const { return visible_; }
  void SetBounds(int x, int y, int width, int height);
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The font of the caption: face and character height in pixels (the dialogs use "small", 9).
  void SetFont(std::wstring face, int pixelHeight);
  HFONT Font() const { return font_.get(); }

  // (Left, Top) - (Left + Width, Top + Height) in the host's client area.
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }

  // Whether an icon is shown (a path is set and its icon was loaded), and its handle (held by the
  // button, shared with the host's IconCache when there is one).
  bool HasIcon() const { return !iconPath_.empty() && icon_ && *icon_; }
  HICON Icon() const { return icon_ ? icon_->get() : nullptr; }

  // Shows the face `make` gives (an empty maker, or no face made: the plain button again). The
  // face replaced goes at once, unless it is inside a call of its own (a question, a menu): it
  // then goes when that call returns, cut off from the tile. So does the face of a destroyed tile.
  void SetFace(const FaceMaker& make);
  TileFace* Face() const;
  // Starts or stops the face; its timer runs on the host's window while it is started.
  void StartFace(bool on);
  bool FaceTicking() const { return faceTimer_ != 0; }
  // Files dropped on the tile: true when the face took them.
  bool DropOnFace(const std::vector<std::string>& files);

  // The whole tile as painted: a W x H 32-bit DIB section.
  win::Bitmap Compose() const;
  // Draws the tile at (Left, Top) of `dc`; nothing when invisible.
  void Paint(HDC dc) const;

  // Events, with positions in the button's own coordinates. A left double click reports
  // OnMouseDown with doubleClick set, then OnDblClick. With a face, the face sees every press,
  // release and move first; a press it takes, and that press's release, raise no event (and no
  // context menu). The mouse stays with the button while a
  // mouse button is held, so moves and the release outside are reported too. A disabled or
  // invisible button gets none. A handler may destroy the button, or its host.
  std::function<void(TKovaBtn&, const MouseEvent&)> OnMouseDown;
  std::function<void(TKovaBtn&, const MouseEvent&)> OnMouseMove;
  std::function<void(TKovaBtn&, const MouseEvent&)> OnMouseUp;
  std::function<void(TKovaBtn&)> OnDblClick;
  std::function<void(TKovaBtn&, POINT screen)> OnContextMenu;

 private:
  friend class TileHost;
  class FaceSite;
  struct FaceHolder;

  void ReloadIcon();
  void Repaint();
  void Invalidate(const RECT& rect);
  void UpdateHint();
  void RemoveHint();
  void Leave();
  // Draws the tile at (0, 0) of a memory DC whose bitmap is at least Width x Height.
  void Draw(HDC mem) const;
  // Paints the visible tiles that meet `clip` (and only inside it), in this order.
  static void PaintTiles(const TKovaBtn* const* tiles, std::size_t count, HDC dc, const RECT& clip);
  // A mouse message from the host, at (x, y) of the button. True when the face took it: a right
  // release then raises no context menu.
  bool MouseMessage(UINT msg, WPARAM wParam, int x, int y);
  bool FaceMouseMessage(UINT msg, WPARAM wParam, int x, int y);
  // The face started or stopped (or the tile changed hosts): its timer follows.
  void FaceStartedChanged();
  void FaceTick();
  void StopFaceTimer();
  void DropFace();
  // The hint becomes the face's at the last pointer position. The hint window is told at once
  // when the pointer is on the tile (`pointerHere`, or the cursor is there) or the tile has no
  // hint yet; otherwise when the pointer next moves on it (a tick may change the hint each time).
  void RefreshFaceHint(bool pointerHere = false);
  bool CursorOnTile() const;

  std::string iconPath_;
  std::int32_t iconIndex_ = 999;
  std::int32_t iconSize_ = 48;
  bool autoSize_ = true;
  bool border_ = true;
  bool showDots_ = true;
  TGroupeState groupe_ = TGroupeState::gNone;
  COLORREF color_ = RGB(192, 192, 192);
  std::string caption_;
  std::string hint_;
  bool showHint_ = false;
  std::int32_t tag_ = 0;
  bool enabled_ = true;
  bool visible_ = true;
  int left_ = 0;
  int top_ = 0;
  int width_ = 62;
  int height_ = 62;

  std::shared_ptr<const win::Icon> icon_;
  std::shared_ptr<const win::Bitmap> texture_;
  win::Font font_;
  TileHost* host_ = nullptr;
  UINT_PTR id_ = 0;
  bool hasHintTool_ = false;
  std::shared_ptr<FaceHolder> face_;
  UINT_PTR faceTimer_ = 0;                    // the face's timer on the host, 0 when none
  MouseButton faceHeld_ = MouseButton::None;  // the button of a press the face took
  POINT facePointer_{-1, -1};                 // the pointer over the tile, for the face's hint
  bool hintStale_ = false;                    // hint_ is newer than the hint window's text
  // Expires with the button: lets an event dispatch notice that its handler destroyed it.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace ql
