// What the themed check box and radio button share: a focusable child window with a caption whose
// "&" letter is the accelerator, drawn beside a 16 x 16 mark; its colour, font, alignment and
// enabled state; and the keyboard and mouse handling.
//
// Keyboard use goes through the dialog manager: the form's modal loop passes its messages to
// IsDialogMessageW. The controls are tab stops, answer WM_GETDLGCODE as buttons (so the dialog
// manager looks up their "&" letter, pressed alone or with Alt) and take the BM_CLICK it then
// sends as the accelerator. The space key, or a left click (press and release inside), is a click.
// BM_GETCHECK and BM_SETCHECK read and set the checked state without any event.
#pragma once

#include <memory>
#include <string>

#include "controls/KovaFace.h"
#include "core/ThemedGeometry.h"
#include "win/Canvas.h"
#include "win/Handles.h"

namespace ql {

class TKovaToggle : public TKovaFace {
 public:
  ~TKovaToggle() override;

  // UTF-8; "&" marks the accelerator letter ("&&" shows one "&"). Repaints.
  using TKovaFace::Caption;
  using TKovaFace::SetCaption;
  void SetAlignment(TLeftRight alignment);
  TLeftRight Alignment() const { return alignment_; }
  // The colour behind the caption and inside the mark; the button face colour by default.
  using TKovaFace::Color;
  using TKovaFace::SetColor;
  // The caption's font; not owned: the caller keeps it alive while the control uses it. Without
  // one (nullptr), "MS Sans Serif" 8 points. WM_SETFONT does the same.
  void SetFont(HFONT font);
  HFONT Font() const { return font_; }
  // With 3-D on (the default), a disabled caption is embossed: a highlight copy one pixel right
  // and down under the grey text.
  void SetCtl3D(bool ctl3d);
  bool Ctl3D() const { return ctl3d_; }

  // Whether the control has the keyboard focus, and whether it can take it now (a window that is
  // visible and enabled, as are its parents).
  bool Focused() const;
  bool CanFocus() const;

  win::Bitmap Compose() const override;

 protected:
  TKovaToggle();
  bool CreateToggle(const wchar_t* className, HWND parent, int id, int x, int y, int width, int height,
                    std::string caption);

  // The 16 x 16 mark with its top-left corner at (x0, y0).
  virtual void DrawMark(win::Canvas& canvas, int x0, int y0) const = 0;
  // A left click or the space key.
  virtual void UserClick() = 0;
  // The accelerator, sent by the dialog manager as BM_CLICK; only while enabled and focusable.
  virtual void Accelerator() = 0;
  // WM_GETDLGCODE.
  virtual LRESULT DialogCode() const = 0;
  virtual LRESULT GetCheck() const = 0;
  virtual void SetCheck(WPARAM check) = 0;

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  void TakeFocus() const;
  // Expires with the control: tells an event dispatch that its handler destroyed the control.
  std::weak_ptr<int> Alive() const { return alive_; }

 private:
  void PaintCaption(win::Canvas& canvas, int width, int height) const;

  TLeftRight alignment_ = TLeftRight::taRightJustify;
  bool ctl3d_ = true;
  HFONT font_ = nullptr;
  bool pressed_ = false;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace ql
