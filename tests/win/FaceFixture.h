// Test helpers for the module faces: a site that records what a face asks of it, and a plain
// window that carries one ModuleTile (timer and paint routed to it), as the bar will.
#pragma once

#include <memory>

#include "controls/TileFace.h"
#include "modules/ModuleTile.h"
#include "win/Handles.h"

namespace ql::test {

class FakeSite final : public TileSite {
 public:
  explicit FakeSite(int width = 64, int height = 64, HWND window = nullptr)
      : width_(width), height_(height), window_(window) {}
  HWND Window() const override { return window_; }
  SIZE Size() const override { return {width_, height_}; }
  void Invalidate(bool now) override {
    ++invalidations;
    if (now) ++immediate;
  }
  void StartedChanged() override { ++startedChanges; }

  int invalidations = 0;
  int immediate = 0;
  int startedChanges = 0;

 private:
  int width_;
  int height_;
  HWND window_;
};

// A visible popup window whose procedure hands its timer to `tile` and paints it.
class FaceWindow {
 public:
  explicit FaceWindow(int width = 64, int height = 64) {
    static const bool registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = &FaceWindow::Proc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.lpszClassName = L"QlTestFaceWindow";
      return ::RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    window_.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, L"QlTestFaceWindow", L"Face tests", WS_POPUP, 0, 0,
                                    width, height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    tile.Create(window_.get(), 0, 0, width, height);
    ::ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
  }
  FaceWindow(const FaceWindow&) = delete;
  FaceWindow& operator=(const FaceWindow&) = delete;
  ~FaceWindow() {
    tile.SetFace(nullptr);
    ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  }
  HWND hwnd() const { return window_.get(); }

  // Pumps messages until `done` holds or `ms` pass; true when it holds.
  template <typename Done>
  bool PumpUntil(Done done, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
      if (::GetTickCount() - start > ms) return false;
      MSG msg;
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      ::Sleep(5);
    }
    return true;
  }

  ModuleTile tile;
  int paints = 0;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FaceWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    if (self->tile.HandleMessage(msg, wParam, lParam, result)) return result;
    if (msg == WM_ERASEBKGND) return 1;
    if (msg == WM_PAINT) {
      win::PaintDc dc(hwnd);
      ++self->paints;
      self->tile.Paint(dc.get(), dc.info().rcPaint);
      return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  win::OwnedWindow window_;
};

}  // namespace ql::test
