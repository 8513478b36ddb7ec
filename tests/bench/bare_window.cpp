// The baseline of the start-up benchmark: the least a Win32 program does to show a window. One
// small borderless window "BareWindow", 48 x 48 at the right edge of the screen, painted once,
// a message loop, and an exit on WM_CLOSE.
#include "win/Win.h"

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd, &ps);
      RECT r;
      ::GetClientRect(hwnd, &r);
      HBRUSH brush = ::CreateSolidBrush(RGB(34, 36, 75));
      ::FillRect(dc, &r, brush);
      ::DeleteObject(brush);
      ::EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"BareWindow";
  if (!::RegisterClassW(&wc)) return 1;

  const int size = 48;
  HWND hwnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"BareWindow", WS_POPUP,
                                ::GetSystemMetrics(SM_CXSCREEN) - size, 0, size, size, nullptr, nullptr,
                                instance, nullptr);
  if (hwnd == nullptr) return 1;
  ::ShowWindow(hwnd, show);
  ::UpdateWindow(hwnd);

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
