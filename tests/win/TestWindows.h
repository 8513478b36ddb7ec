// Top-level windows of the tests' own: known to the window system, off the screen and so never
// mapped on the X display (where hiding or destroying a shown window waits for a window manager
// under Wine).
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "win/Handles.h"
#include "win/Win.h"

namespace ql::test {

// A window of class `className` (registered at its first use, with the application icon).
inline win::OwnedWindow OffScreenWindow(const wchar_t* className, const wchar_t* title, DWORD style,
                                        DWORD exStyle = 0, HWND owner = nullptr) {
  static std::set<std::wstring> registered;
  if (!registered.contains(className)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    wc.lpszClassName = className;
    EXPECT_NE(::RegisterClassExW(&wc), 0);
    registered.insert(className);
  }
  HWND h = ::CreateWindowExW(exStyle, className, title, style, -3000, -3000, 200, 120, owner, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(h, nullptr);
  return win::OwnedWindow(h);
}

}  // namespace ql::test
