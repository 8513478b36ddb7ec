// Base of every window of the program: one static window procedure that keeps `this` in the
// window's extra bytes (set at WM_NCCREATE, cleared at WM_NCDESTROY) and hands each message to
// the object. No exception ever leaves a window procedure.
#pragma once

#include <string>

#include "win/Win.h"

namespace ql::win {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }

  // Destroys the window now (the object stays, without a window).
  void Destroy();

  // Position and size relative to the parent (screen for top-level windows).
  RECT Bounds() const;

 protected:
  // Registers a class whose procedure is this base's; returns false only on a real failure.
  static bool RegisterClassOnce(const wchar_t* className, UINT classStyle, HCURSOR cursor = nullptr);

  bool Create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
              int width, int height, HWND parent, HMENU idOrMenu);

  // Every message of the window; the default is DefWindowProc.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // Called once when the window is gone (after WM_NCDESTROY).
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

HINSTANCE ModuleInstance();

// The text of one of the program's own windows (a control's caption or contents), UTF-8; empty
// for no window.
std::string WindowText(HWND window);

}  // namespace ql::win
