#include "dialogs/PreviewPanel.h"

#include "win/Handles.h"

namespace ql {

bool PreviewPanel::Create(HWND parent, int x, int y, int width, int height, Hints* hints) {
  if (!RegisterClassOnce(L"QlPreviewPanel", CS_DBLCLKS)) return false;
  if (!win::Window::Create(0, L"QlPreviewPanel", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width,
                           height, parent, nullptr)) {
    return false;
  }
  host_.Attach(hwnd(), hints);
  return true;
}

LRESULT PreviewPanel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (host_.HandleMessage(msg, wParam, lParam, result)) return result;
  switch (msg) {
    case WM_ERASEBKGND: {
      // What the tiles leave uncovered takes the dialog's face colour.
      RECT r{};
      ::GetClientRect(hwnd(), &r);
      ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT: {
      win::PaintDc dc(hwnd());
      host_.Paint(dc.get(), dc.info().rcPaint);
      return 0;
    }
    default:
      return win::Window::HandleMessage(msg, wParam, lParam);
  }
}

}  // namespace ql
