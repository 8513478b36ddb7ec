#include "controls/KovaGrpBox.h"

#include <utility>

#include "controls/ThemedPaint.h"
#include "core/ThemedGeometry.h"
#include "win/Canvas.h"
#include "win/Utf.h"

namespace ql {

namespace {
// Posted to itself by Create: sink again once the siblings created after it exist.
constexpr UINT kSinkMessage = WM_APP + 0x4B47;

void FrameRect(win::Canvas& canvas, const ThemedRect& r, COLORREF colour) {
  win::Brush brush(::CreateSolidBrush(colour));
  const RECT rect{r.left, r.top, r.right, r.bottom};
  if (brush) ::FrameRect(canvas.dc(), &rect, brush.get());
}
}  // namespace

TKovaGrpBox::TKovaGrpBox() : color_(themed::ButtonFace()) {}

TKovaGrpBox::~TKovaGrpBox() { Destroy(); }

bool TKovaGrpBox::Create(HWND parent, int x, int y, int width, int height, std::string caption) {
  if (!RegisterClassOnce(kClassName, 0)) return false;
  caption_ = std::move(caption);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  if (!enabled_) style |= WS_DISABLED;
  const std::wstring title = win::Widen(caption_);
  if (!Window::Create(0, kClassName, title.c_str(), style, x, y, width, height, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)))) {
    return false;
  }
  SinkToBottom();
  ::PostMessageW(hwnd(), kSinkMessage, 0, 0);
  return true;
}

void TKovaGrpBox::SinkToBottom() const {
  if (hwnd() == nullptr || ::GetWindow(hwnd(), GW_HWNDNEXT) == nullptr) return;
  // The siblings it uncovers are invalidated and paint over it.
  ::SetWindowPos(hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TKovaGrpBox::SetCaption(std::string caption) {
  if (caption == caption_) return;
  if (hwnd() != nullptr) ::SetWindowTextW(hwnd(), win::Widen(caption).c_str());
  caption_ = std::move(caption);
  Repaint();
}

void TKovaGrpBox::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (hwnd() != nullptr) ::EnableWindow(hwnd(), enabled ? TRUE : FALSE);
  Repaint();
}

void TKovaGrpBox::SetColor(COLORREF color) {
  if (color == color_) return;
  color_ = color;
  Repaint();
}

void TKovaGrpBox::Repaint() const {
  if (hwnd() != nullptr) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

win::Bitmap TKovaGrpBox::Compose() const {
  const SIZE size = themed::ClientSize(hwnd());
  const int w = static_cast<int>(size.cx);
  const int h = static_cast<int>(size.cy);
  return themed::ComposeFace(w, h, [&](win::Canvas& canvas) {
    canvas.SetBrushColor(color_);
    canvas.FillRect(0, 0, w, h);
    canvas.UseDefaultFont();
    const int textHeight = canvas.TextHeight(caption_);
    // The etched frame: light, then shadow one pixel up and left.
    FrameRect(canvas, GroupHighlightFrame(w, h, textHeight), themed::ButtonHighlight());
    FrameRect(canvas, GroupShadowFrame(w, h, textHeight), themed::ButtonShadow());
    // The caption on the control's colour interrupts the frame.
    const ThemedPoint at = GroupCaptionOrigin(w, canvas.TextWidth(caption_));
    canvas.SetBrushColor(color_);
    canvas.SetTextColor(themed::FontColour());
    canvas.TextOut(at.x, at.y, caption_);
  });
}

LRESULT TKovaGrpBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      win::PaintDc paint(hwnd());
      themed::CopyFace(paint.get(), Compose().get());
      return 0;
    }
    case WM_PRINTCLIENT:
      themed::CopyFace(reinterpret_cast<HDC>(wParam), Compose().get());
      return 0;
    case WM_SIZE:
      Repaint();  // the frame follows the size
      break;
    case kSinkMessage:
      SinkToBottom();
      return 0;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_ENABLE:
      enabled_ = wParam != 0;
      Repaint();
      break;
    case WM_SETTEXT: {
      const LRESULT r = Window::HandleMessage(msg, wParam, lParam);
      if (lParam != 0) caption_ = win::Narrow(reinterpret_cast<const wchar_t*>(lParam));
      Repaint();
      return r;
    }
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    default:
      break;
  }
  return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace ql
