// The baseline of the idle benchmark: a window "BareTimers" that runs timers of the modules'
// three periods (the clock's 500 ms, the gauges' 300 ms, the virtual screens' 1000 ms) and does
// nothing on them, a message loop, and an exit on WM_CLOSE.
#include "win/Win.h"

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      return 0;
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
  wc.lpszClassName = L"BareTimers";
  if (!::RegisterClassW(&wc)) return 1;
  HWND hwnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"BareTimers", WS_POPUP, 0, 0, 48, 48,
                                nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) return 1;
  ::SetTimer(hwnd, 1, 500, nullptr);
  ::SetTimer(hwnd, 2, 300, nullptr);
  ::SetTimer(hwnd, 3, 1000, nullptr);
  ::ShowWindow(hwnd, show);

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
