#include "controls/KovaFace.h"

#include <utility>

#include "controls/ThemedPaint.h"
#include "win/Utf.h"

namespace ql {

TKovaFace::TKovaFace() : color_(themed::ButtonFace()) {}

bool TKovaFace::CreateFace(const wchar_t* className, UINT classStyle, DWORD style, HWND parent, int id, int x,
                           int y, int width, int height, std::string caption) {
  if (!RegisterClassOnce(className, classStyle)) return false;
  caption_ = std::move(caption);
  if (!enabled_) style |= WS_DISABLED;
  const std::wstring title = win::Widen(caption_);
  return Window::Create(0, className, title.c_str(), style, x, y, width, height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void TKovaFace::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (hwnd() != nullptr) ::EnableWindow(hwnd(), enabled ? TRUE : FALSE);
  Repaint();
}

void TKovaFace::SetCaption(std::string caption) {
  if (caption == caption_) return;
  // The dialog manager looks for a control's accelerator in its window text.
  if (hwnd() != nullptr) ::SetWindowTextW(hwnd(), win::Widen(caption).c_str());
  caption_ = std::move(caption);
  Repaint();
}

void TKovaFace::SetColor(COLORREF color) {
  if (color == color_) return;
  color_ = color;
  Repaint();
}

void TKovaFace::Repaint(bool now) const {
  if (hwnd() == nullptr) return;
  ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | (now ? RDW_UPDATENOW : 0U));
}

LRESULT TKovaFace::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the face covers the whole client area
    case WM_PAINT: {
      win::PaintDc paint(hwnd());
      themed::CopyFace(paint.get(), Compose().get());
      return 0;
    }
    case WM_PRINTCLIENT:
      themed::CopyFace(reinterpret_cast<HDC>(wParam), Compose().get());
      return 0;
    case WM_SIZE:
      Repaint();  // the face follows the size
      break;
    case WM_ENABLE:
      enabled_ = wParam != 0;
      Repaint();
      break;
    case WM_SETTEXT: {
      // Text set from outside (SetWindowText) becomes the caption as well.
      const LRESULT r = Window::HandleMessage(msg, wParam, lParam);
      if (lParam != 0) caption_ = win::Narrow(reinterpret_cast<const wchar_t*>(lParam));
      Repaint();
      return r;
    }
    default:
      break;
  }
  return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace ql
