#include "win/Window.h"

#include "win/Utf.h"

namespace ql::win {

namespace {
Window* FromHwnd(HWND hwnd) { return reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, 0)); }
}  // namespace

HINSTANCE ModuleInstance() { return ::GetModuleHandleW(nullptr); }

Window::~Window() { Destroy(); }

void Window::Destroy() {
  if (hwnd_ != nullptr) {
    HWND h = hwnd_;
    ::DestroyWindow(h);  // WM_NCDESTROY clears hwnd_
    hwnd_ = nullptr;
  }
}

RECT Window::Bounds() const {
  RECT r{};
  if (hwnd_ == nullptr) return r;
  ::GetWindowRect(hwnd_, &r);
  HWND parent = ::GetParent(hwnd_);
  if (parent != nullptr && (::GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) != 0) {
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

bool Window::RegisterClassOnce(const wchar_t* className, UINT classStyle, HCURSOR cursor) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExW(ModuleInstance(), className, &existing) != 0) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = classStyle;
  wc.lpfnWndProc = &Window::StaticProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = ModuleInstance();
  wc.hCursor = cursor != nullptr ? cursor : ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = className;
  return ::RegisterClassExW(&wc) != 0;
}

bool Window::Create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU idOrMenu) {
  Destroy();
  ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, idOrMenu, ModuleInstance(),
                    this);
  return hwnd_ != nullptr;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    self = static_cast<Window*>(cs->lpCreateParams);
    if (self != nullptr) {
      self->hwnd_ = hwnd;
      ::SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = FromHwnd(hwnd);
  }
  if (self == nullptr) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, 0, 0);
    LRESULT r = ::DefWindowProcW(hwnd, msg, wParam, lParam);
    self->hwnd_ = nullptr;
    self->OnDestroyed();
    return r;
  }
  try {
    return self->HandleMessage(msg, wParam, lParam);
  } catch (...) {
    // A failure inside a handler falls back to the default processing of the message.
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

std::string WindowText(HWND window) {
  if (window == nullptr) return {};
  const int n = ::GetWindowTextLengthW(window);
  if (n <= 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = ::GetWindowTextW(window, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return Narrow(text);
}

}  // namespace ql::win
