// Stand-ins for the shell's own windows, which Wine does not create in its default mode: the
// system task bar "Shell_TrayWnd" with its notification area "TrayNotifyWnd", and the desktop
// "Progman" titled "Program Manager" whose first child is the icon view. Tests create them in
// their own process, let the program act on them, and read back what was done (shown, hidden,
// enabled, re-parented). Every window is destroyed with the object.
#pragma once

#include "win/Win.h"

namespace qltest {

class FakeShell {
 public:
  static constexpr const wchar_t* kTrayClass = L"Shell_TrayWnd";
  static constexpr const wchar_t* kTrayNotifyClass = L"TrayNotifyWnd";
  static constexpr const wchar_t* kProgmanClass = L"Progman";
  static constexpr const wchar_t* kProgmanTitle = L"Program Manager";
  static constexpr const wchar_t* kIconViewClass = L"SHELLDLL_DefView";
  static constexpr int kTrayHeight = 30;
  static constexpr int kTrayNotifyWidth = 120;
  static constexpr int kOffScreen = -10000;

  FakeShell() {
    for (const wchar_t* name : {kTrayClass, kTrayNotifyClass, kProgmanClass, kIconViewClass}) {
      Register(name);
    }
  }
  FakeShell(const FakeShell&) = delete;
  FakeShell& operator=(const FakeShell&) = delete;
  ~FakeShell() {
    DestroyTray();
    DestroyProgman();
  }

  // A visible system task bar along the bottom of the screen, a tool window on top like the
  // real one, with the notification area as a child at its right end. Returns the task bar.
  HWND CreateTray() {
    DestroyTray();
    const int w = ::GetSystemMetrics(SM_CXSCREEN);
    const int h = ::GetSystemMetrics(SM_CYSCREEN);
    tray_ = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kTrayClass, L"",
                              WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, h - kTrayHeight, w,
                              kTrayHeight, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (tray_ != nullptr) {
      ShowInactive(tray_);
      trayNotify_ = ::CreateWindowExW(0, kTrayNotifyClass, L"", WS_CHILD | WS_VISIBLE, w - kTrayNotifyWidth,
                                      2, kTrayNotifyWidth - 2, kTrayHeight - 4, tray_, nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr);
    }
    return tray_;
  }

  // The desktop window, of the screen's size and below every other window, with its icon view as
  // its only child. Another title gives a window the program must not take for the desktop.
  // It lies off the screen: Wine treats a visible full-screen popup as managed by a window
  // manager and, without one, waits two seconds when it is hidden or destroyed; nothing looks
  // at the desktop's pixels.
  HWND CreateProgman(const wchar_t* title = kProgmanTitle) {
    DestroyProgman();
    const int w = ::GetSystemMetrics(SM_CXSCREEN);
    const int h = ::GetSystemMetrics(SM_CYSCREEN);
    progman_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kProgmanClass, title,
                                 WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, kOffScreen, kOffScreen, w, h,
                                 nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (progman_ != nullptr) {
      ::SetWindowPos(progman_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      ShowInactive(progman_);
      iconView_ = ::CreateWindowExW(0, kIconViewClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, w, h, progman_,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    return progman_;
  }

  void DestroyTray() {
    // The notification area may have been taken into another window: destroy it on its own.
    if (trayNotify_ != nullptr && ::IsWindow(trayNotify_) != FALSE) ::DestroyWindow(trayNotify_);
    if (tray_ != nullptr && ::IsWindow(tray_) != FALSE) ::DestroyWindow(tray_);
    tray_ = trayNotify_ = nullptr;
  }

  void DestroyProgman() {
    if (progman_ != nullptr && ::IsWindow(progman_) != FALSE) ::DestroyWindow(progman_);
    progman_ = iconView_ = nullptr;
  }

  HWND tray() const { return tray_; }
  HWND trayNotify() const { return trayNotify_; }
  HWND progman() const { return progman_; }
  HWND iconView() const { return iconView_; }

  // The window's own visible flag, whatever its parent's state.
  static bool HasVisibleStyle(HWND window) { return (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }
  static bool IsEnabled(HWND window) { return ::IsWindowEnabled(window) != FALSE; }

 private:
  // Shown without being activated, as the shell's windows are: under Wine without a window
  // manager, hiding an activated window waits two seconds for a window manager that never answers.
  static void ShowInactive(HWND window) { ::ShowWindow(window, SW_SHOWNA); }

  static void Register(const wchar_t* name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), name, &wc) != FALSE) return;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = name;
    ::RegisterClassExW(&wc);
  }

  HWND tray_ = nullptr;
  HWND trayNotify_ = nullptr;
  HWND progman_ = nullptr;
  HWND iconView_ = nullptr;
};

}  // namespace qltest
