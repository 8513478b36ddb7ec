#include "controls/KovaGrpBox.h"

#include <utility>

#include "controls/ThemedPaint.h"
#include "core/ThemedGeometry.h"
#include "win/Canvas.h"

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

TKovaGrpBox::~TKovaGrpBox() { Destroy(); }

bool TKovaGrpBox::Create(HWND parent, int x, int y, int width, int height, std::string caption) {
  if (!CreateFace(kClassName, 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, parent, -1, x, y, width, height,
                  std::move(caption))) {
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

win::Bitmap TKovaGrpBox::Compose() const {
  const SIZE size = themed::ClientSize(hwnd());
  const int w = static_cast<int>(size.cx);
  const int h = static_cast<int>(size.cy);
  return themed::ComposeFace(w, h, [&](win::Canvas& canvas) {
    canvas.SetBrushColor(Color());
    canvas.FillRect(0, 0, w, h);
    canvas.UseDefaultFont();
    const std::string& caption = Caption();
    const int textHeight = canvas.TextHeight(caption);
    // The etched frame: light, then shadow one pixel up and left.
    FrameRect(canvas, GroupHighlightFrame(w, h, textHeight), themed::ButtonHighlight());
    FrameRect(canvas, GroupShadowFrame(w, h, textHeight), themed::ButtonShadow());
    // The caption on the control's colour interrupts the frame.
    const ThemedPoint at = GroupCaptionOrigin(w, canvas.TextWidth(caption));
    canvas.SetBrushColor(Color());
    canvas.SetTextColor(themed::FontColour());
    canvas.TextOut(at.x, at.y, caption);
  });
}

LRESULT TKovaGrpBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kSinkMessage:
      SinkToBottom();
      return 0;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    default:
      break;
  }
  return TKovaFace::HandleMessage(msg, wParam, lParam);
}

}  // namespace ql
