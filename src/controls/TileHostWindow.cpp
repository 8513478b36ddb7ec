#include "controls/TileHostWindow.h"

#include "controls/KovaBtn.h"
#include "win/Handles.h"

namespace ql {

void TileHostWindow::AttachTiles(Hints* hints, IconCache* icons) {
  if (host_) host_->Attach(hwnd(), hints, icons);
}

bool TileHostWindow::TileMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (host_ && host_->HandleMessage(msg, wParam, lParam, result)) return true;
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;  // the ground is painted with the tiles, in WM_PAINT
      return true;
    case WM_PAINT: {
      win::PaintDc dc(hwnd());
      const RECT& update = dc.info().rcPaint;
      const int saved = ::SaveDC(dc.get());
      if (host_) {
        for (const TKovaBtn* tile : host_->Tiles()) {
          if (!tile->Visible()) continue;
          const RECT r = tile->BoundsRect();
          ::ExcludeClipRect(dc.get(), r.left, r.top, r.right, r.bottom);
        }
      }
      PaintGround(dc.get(), update);
      ::RestoreDC(dc.get(), saved);
      if (host_) host_->Paint(dc.get(), update);
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

LRESULT TileHostWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (TileMessage(msg, wParam, lParam, result)) return result;
  return OwnMessage(msg, wParam, lParam);
}

}  // namespace ql
