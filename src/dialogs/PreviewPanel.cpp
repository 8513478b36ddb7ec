#include "dialogs/PreviewPanel.h"

namespace ql {

bool PreviewPanel::Create(HWND parent, int x, int y, int width, int height, Hints* hints) {
  if (!RegisterClassOnce(L"QlPreviewPanel", CS_DBLCLKS)) return false;
  if (!win::Window::Create(0, L"QlPreviewPanel", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width,
                           height, parent, nullptr)) {
    return false;
  }
  AttachTiles(hints);
  return true;
}

void PreviewPanel::PaintGround(HDC dc, const RECT& update) {
  ::FillRect(dc, &update, ::GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace ql
