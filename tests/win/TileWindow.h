// Test helper: a plain top-level window that carries windowless tiles on the program's own tile
// window base, as the dock's windows do. It paints its ground in kGround and records what it saw
// for the tests: paints, erase requests, and the mouse and menu messages no tile took.
#pragma once

#include <vector>

#include "controls/TileHostWindow.h"
#include "win/Handles.h"

namespace ql::test {

class TileWindow final : public TileHostWindow {
 public:
  static constexpr COLORREF kGround = RGB(7, 7, 7);

  explicit TileWindow(int width = 400, int height = 300, Hints* hints = nullptr, IconCache* icons = nullptr) {
    CreateForm(nullptr, L"QlTestTileWindow", L"Tile tests", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, width, height);
    AttachTiles(hints, icons);
    ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd());
  }

  TileHost& host() { return Host(); }
  using TileHostWindow::DropHost;

  // Sends a mouse message at (x, y) of the window's client area.
  LRESULT Mouse(UINT msg, WPARAM keys, int x, int y) const {
    return ::SendMessageW(hwnd(), msg, keys, MAKELPARAM(x, y));
  }

  int paints = 0;
  int erases = 0;
  std::vector<UINT> own;        // mouse and menu messages no tile took
  std::vector<POINT> ownMenus;  // screen points of the WM_CONTEXTMENU the window kept
  RECT lastPaint{};             // rcPaint of the last WM_PAINT

 protected:
  void PaintGround(HDC dc, const RECT& update) override {
    ++paints;
    lastPaint = update;
    win::Brush ground(::CreateSolidBrush(kGround));
    ::FillRect(dc, &update, ground.get());
  }

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_ERASEBKGND) ++erases;
    return TileHostWindow::HandleMessage(msg, wParam, lParam);
  }

  LRESULT OwnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_CONTEXTMENU) {
      own.push_back(msg);
      ownMenus.push_back({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    }
    if (msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK) own.push_back(msg);
    return TileHostWindow::OwnMessage(msg, wParam, lParam);
  }
};

}  // namespace ql::test
