// Test helper: a plain top-level window that carries windowless tiles the way the dock's windows
// do. Its class has CS_DBLCLKS; its procedure hands every message to its TileHost first, answers
// WM_ERASEBKGND without erasing and paints its ground, then the tiles, in WM_PAINT. It records
// what it saw for the tests: paints, erase requests, and the messages no tile took.
#pragma once

#include <memory>
#include <vector>

#include "controls/TileHost.h"
#include "win/Handles.h"

namespace ql::test {

class TileWindow {
 public:
  static constexpr COLORREF kGround = RGB(7, 7, 7);

  explicit TileWindow(int width = 400, int height = 300, Hints* hints = nullptr, IconCache* icons = nullptr)
      : host_(std::make_unique<TileHost>()) {
    static const bool registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = &TileWindow::Proc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
      wc.lpszClassName = L"QlTestTileWindow";
      return ::RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    window_.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, L"QlTestTileWindow", L"Tile tests", WS_POPUP, 0, 0,
                                    width, height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    host_->Attach(window_.get(), hints, icons);
    ::ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(window_.get());
  }
  TileWindow(const TileWindow&) = delete;
  TileWindow& operator=(const TileWindow&) = delete;
  ~TileWindow() {
    if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  }

  HWND hwnd() const { return window_.get(); }
  TileHost& host() { return *host_; }
  // Destroys the host object now (the window stays, with no tiles on it).
  void DropHost() { host_.reset(); }

  // Sends a mouse message at (x, y) of the window's client area.
  LRESULT Mouse(UINT msg, WPARAM keys, int x, int y) const {
    return ::SendMessageW(window_.get(), msg, keys, MAKELPARAM(x, y));
  }

  int paints = 0;
  int erases = 0;
  std::vector<UINT> own;        // mouse and menu messages no tile took
  std::vector<POINT> ownMenus;  // screen points of the WM_CONTEXTMENU the window kept
  RECT lastPaint{};             // rcPaint of the last WM_PAINT

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TileWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    if (self->host_) {
      LRESULT result = 0;
      if (self->host_->HandleMessage(msg, wParam, lParam, result)) return result;
    }
    switch (msg) {
      case WM_ERASEBKGND:
        ++self->erases;
        return 1;
      case WM_PAINT: {
        win::PaintDc dc(hwnd);
        ++self->paints;
        self->lastPaint = dc.info().rcPaint;
        win::Brush ground(::CreateSolidBrush(kGround));
        ::FillRect(dc.get(), &dc.info().rcPaint, ground.get());
        if (self->host_) self->host_->Paint(dc.get(), dc.info().rcPaint);
        return 0;
      }
      case WM_CONTEXTMENU:
        self->own.push_back(msg);
        self->ownMenus.push_back({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
      default:
        if ((msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK)) self->own.push_back(msg);
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
  }

  win::OwnedWindow window_;
  std::unique_ptr<TileHost> host_;
};

}  // namespace ql::test
