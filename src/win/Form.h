// A plain top-level form: created hidden, owned by the application's window, and kept for the
// whole run. Dialogs and the task bar derive from it.
#pragma once

#include <string>

#include "win/Window.h"

namespace ql::win {

class Form : public Window {
 public:
  // Creates the window hidden. `className` is registered on first use.
  bool CreateForm(HWND owner, const wchar_t* className, const std::wstring& caption, DWORD style,
                  DWORD exStyle, int x, int y, int width, int height);

  bool Visible() const { return hwnd() != nullptr && ::IsWindowVisible(hwnd()) != FALSE; }
  void Show(int how = SW_SHOWNORMAL) const {
    if (hwnd() != nullptr) ::ShowWindow(hwnd(), how);
  }
  void Hide() const {
    if (hwnd() != nullptr) ::ShowWindow(hwnd(), SW_HIDE);
  }
};

}  // namespace ql::win
