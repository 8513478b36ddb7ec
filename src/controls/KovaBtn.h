// TKovaBtn, the icon button: the face of every tile of the dock, its main button and the previews
// of the dialogs. A square tile with a plain or textured background, an optional raised frame,
// the icon loaded from a file path and index, optional group dots and an optional caption on a
// dark strip. It has no pressed or hover look; mouse actions only go to its owner as events.
//
// It is a child window of its own (class "TKovaBtn"); the whole tile is composed off-screen and
// copied in one step, and the background is never erased, so repainting does not flicker.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "controls/Mouse.h"
#include "core/TileGeometry.h"
#include "win/Handles.h"
#include "win/Window.h"

namespace ql {

class Hints;

// Steps 2 to 4 of the button's icon loading for one path: an ".ico" file read at size x size;
// an icon pair extracted from a program, library or icon library at `index` (the small one when
// size <= 16); the shell's icon of the file otherwise, or when the extraction gave nothing.
// Empty when the path is empty or nothing could be read.
win::Icon LoadPathIcon(const std::string& path, std::int32_t index, std::int32_t size);

class TKovaBtn : public win::Window {
 public:
  static constexpr const wchar_t* kClassName = L"TKovaBtn";
  static constexpr COLORREF kLabelColor = RGB(34, 36, 75);

  TKovaBtn();
  ~TKovaBtn() override;

  // WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS at (x, y, width, height) in `parent`. With `hints`,
  // the button's hint is shown through it (the Hints must outlive the button's window).
  bool Create(HWND parent, int x, int y, int width, int height, Hints* hints = nullptr);

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
  // Copies the picture (nullptr empties the texture).
  void SetTexture(HBITMAP texture);
  bool HasTexture() const { return static_cast<bool>(texture_); }
  HBITMAP Texture() const { return texture_.get(); }
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

  // Whether an icon is shown (a path is set and its icon was loaded), and its handle (owned by
  // the button).
  bool HasIcon() const { return !iconPath_.empty() && static_cast<bool>(icon_); }
  HICON Icon() const { return icon_.get(); }

  // The whole tile as painted: a W x H 32-bit DIB section.
  win::Bitmap Compose() const;

  // Events. A left double click reports OnMouseDown with doubleClick set, then OnDblClick. The
  // mouse is captured while a button is held, so moves and the release outside are reported too.
  // A handler may destroy the button.
  std::function<void(TKovaBtn&, const MouseEvent&)> OnMouseDown;
  std::function<void(TKovaBtn&, const MouseEvent&)> OnMouseMove;
  std::function<void(TKovaBtn&, const MouseEvent&)> OnMouseUp;
  std::function<void(TKovaBtn&)> OnDblClick;
  std::function<void(TKovaBtn&, POINT screen)> OnContextMenu;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void ReloadIcon();
  void Repaint();
  void UpdateHint();
  void PaintTo(HDC dc) const;
  LRESULT MouseButtonMessage(UINT msg, WPARAM wParam, LPARAM lParam);

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

  win::Icon icon_;
  win::Bitmap texture_;
  win::Font font_;
  Hints* hints_ = nullptr;
  // Expires with the button: lets an event dispatch notice that its handler destroyed it.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace ql
