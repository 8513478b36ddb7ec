// TKovaFace, what the themed dialog controls (check box and radio button through TKovaToggle,
// group box, combo box) share: a child window whose face is composed off-screen by Compose and
// copied to the window in one step (the background is never erased, so it never flickers); its
// enabled state, kept in step with the window's; its colour; and its caption, which is the window
// text too (SetWindowText changes the caption).
//
// The colour and the caption are protected: a control that shows them makes them public.
#pragma once

#include <string>

#include "win/Handles.h"
#include "win/Window.h"

namespace ql {

class TKovaFace : public win::Window {
 public:
  // Enables or disables the window too; repaints.
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

  // The whole face as painted now: a client-sized 32-bit DIB section.
  virtual win::Bitmap Compose() const = 0;

 protected:
  TKovaFace();

  // Registers `className` with `classStyle` once, then creates the window with the caption as its
  // text; `style` gains WS_DISABLED while the control is disabled.
  bool CreateFace(const wchar_t* className, UINT classStyle, DWORD style, HWND parent, int id, int x, int y,
                  int width, int height, std::string caption = {});

  // UTF-8, also set as the window text. Repaints.
  void SetCaption(std::string caption);
  const std::string& Caption() const { return caption_; }
  // The button face colour by default. Repaints.
  void SetColor(COLORREF color);
  COLORREF Color() const { return color_; }

  // Invalidates the face; with `now`, paints it before returning.
  void Repaint(bool now = false) const;

  // Painting, WM_SIZE, WM_ENABLE and WM_SETTEXT; everything else goes to DefWindowProc.
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  std::string caption_;
  bool enabled_ = true;
  COLORREF color_;
};

}  // namespace ql
