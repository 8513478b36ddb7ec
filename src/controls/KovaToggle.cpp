#include "controls/KovaToggle.h"

#include <utility>

#include "controls/ThemedPaint.h"
#include "win/Utf.h"

namespace ql {

TKovaToggle::TKovaToggle() = default;

TKovaToggle::~TKovaToggle() { Destroy(); }

bool TKovaToggle::CreateToggle(const wchar_t* className, HWND parent, int id, int x, int y, int width,
                               int height, std::string caption) {
  // The low style bits stay 0: the dialog manager must not take the control for a group box.
  return CreateFace(className, 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, parent, id, x, y,
                    width, height, std::move(caption));
}

void TKovaToggle::SetAlignment(TLeftRight alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Repaint();
}

void TKovaToggle::SetFont(HFONT font) {
  font_ = font;
  Repaint();
}

void TKovaToggle::SetCtl3D(bool ctl3d) {
  if (ctl3d == ctl3d_) return;
  ctl3d_ = ctl3d;
  Repaint();
}

bool TKovaToggle::Focused() const { return hwnd() != nullptr && ::GetFocus() == hwnd(); }

bool TKovaToggle::CanFocus() const {
  if (hwnd() == nullptr || ::IsWindowVisible(hwnd()) == FALSE) return false;
  for (HWND h = hwnd(); h != nullptr; h = ::GetParent(h)) {
    if (::IsWindowEnabled(h) == FALSE) return false;
    if ((::GetWindowLongW(h, GWL_STYLE) & WS_CHILD) == 0) break;  // the form: its owner does not count
  }
  return true;
}

void TKovaToggle::TakeFocus() const {
  if (CanFocus()) ::SetFocus(hwnd());
}

void TKovaToggle::PaintCaption(win::Canvas& canvas, int width, int height) const {
  HDC dc = canvas.dc();
  // 1. The whole face in the control's colour; text then goes on without a background.
  canvas.SetBrushColor(Color());
  canvas.FillRect(0, 0, width, height);
  canvas.SetBrushClear();

  if (font_ != nullptr) {
    canvas.SetFont(font_);
  } else {
    canvas.UseDefaultFont();
  }
  // 2. The caption's rectangle, measured in the caption's font.
  const std::string& caption = Caption();
  const bool hasAmpersand = caption.find('&') != std::string::npos;
  const int ampersandWidth = hasAmpersand ? canvas.TextWidth("&") : 0;
  const ThemedRect cr = ToggleCaptionRect(alignment_, width, height, canvas.TextWidth(caption),
                                          canvas.TextHeight(caption), hasAmpersand, ampersandWidth);
  RECT rect{cr.left, cr.top, cr.right, cr.bottom};

  // 3. One line, vertically centred, the "&" letter underlined.
  const std::wstring text = win::Widen(caption);
  const UINT flags = DT_SINGLELINE | DT_VCENTER;
  auto write = [&](RECT r, COLORREF colour) {
    canvas.SetTextColor(colour);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
  };
  if (Enabled()) {
    write(rect, themed::FontColour());
  } else {
    if (ctl3d_)
      write(RECT{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1}, themed::ButtonHighlight());
    write(rect, themed::GrayText());
  }
  canvas.SetTextColor(themed::FontColour());

  // 4. The focus rectangle around the caption.
  canvas.SetBrushColor(Color());
  if (Focused()) ::DrawFocusRect(dc, &rect);
}

win::Bitmap TKovaToggle::Compose() const {
  const SIZE size = themed::ClientSize(hwnd());
  const int w = static_cast<int>(size.cx);
  const int h = static_cast<int>(size.cy);
  return themed::ComposeFace(w, h, [&](win::Canvas& canvas) {
    PaintCaption(canvas, w, h);
    // 5. The mark.
    const ThemedPoint at = ToggleMarkOrigin(alignment_, w, h);
    DrawMark(canvas, at.x, at.y);
  });
}

LRESULT TKovaToggle::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_GETDLGCODE:
      return DialogCode();
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Repaint();
      break;
    case WM_SETFONT:
      SetFont(reinterpret_cast<HFONT>(wParam));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Enabled()) {
        pressed_ = true;
        ::SetCapture(hwnd());
      }
      return 0;
    case WM_LBUTTONUP: {
      if (!pressed_) return 0;
      pressed_ = false;
      if (::GetCapture() == hwnd()) ::ReleaseCapture();
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      RECT client{};
      ::GetClientRect(hwnd(), &client);
      if (Enabled() && ::PtInRect(&client, at) != FALSE) UserClick();  // released outside: no click
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      break;
    case WM_KEYDOWN:
      // Bit 30: the key was already down (auto-repeat): one click per press.
      if (wParam == VK_SPACE && (lParam & (1L << 30)) == 0) {
        if (Enabled()) UserClick();
        return 0;
      }
      break;
    case BM_CLICK:
      if (Enabled() && CanFocus()) Accelerator();
      return 0;
    case BM_GETCHECK:
      return GetCheck();
    case BM_SETCHECK:
      SetCheck(wParam);
      return 0;
    default:
      break;
  }
  return TKovaFace::HandleMessage(msg, wParam, lParam);
}

}  // namespace ql
