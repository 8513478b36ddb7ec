// Windows of known make for the end-to-end tests and for testing qlprobe itself.
//
//   probe_target TITLE RECORD_FILE
// shows a borderless window TITLE at (100, 120), 240 x 160, filled with RGB(200, 40, 10), with a
// "Button" child at (10, 20) 80 x 24 and a "Static" child at (10, 60) 120 x 20; keeps a second,
// never shown top-level window "TITLE hidden"; and appends every file dropped on it to
// RECORD_FILE (UTF-8, one "file PATH" line per file as DragQueryFileW gives it, then "end N").
// Closes on WM_CLOSE.
//
//   probe_target --shell
// plays the system task bar: a top-level window of class "Shell_TrayWnd" titled "QlShellTray",
// 30 pixels high along the bottom of the screen, with a "TrayNotifyWnd" child 120 x 20 whose
// right edge is 4 pixels from the screen's (at x 900 on a screen 1024 wide), filled with
// RGB(20, 90, 200). qlprobe's "visible QlShellTray" and "children QlShellTray" tell what was done
// to them. Closes on WM_CLOSE.
//
//   probe_target --app TITLE NEW_TITLE [HANG_MS]
// an ordinary application window TITLE (caption, system menu, minimise box) at (740, 20),
// 260 x 160, clear of a notepad at the top left. A posted WM_APP retitles it NEW_TITLE; a
// posted WM_APP + 1 makes its thread sleep WPARAM milliseconds, a program that has stopped
// answering; with HANG_MS it stops so for that long as soon as its window shows. Closes on
// WM_CLOSE.
//
//   probe_target --apps N TITLE
// N such windows (1 to 500) in one program, titled "TITLE 1" to "TITLE N", placed in steps of
// 8 pixels; idle windows for the benchmarks. The program ends when the first is closed.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "win/Handles.h"
#include "win/Utf.h"
#include "win/Win.h"
// After Win.h:

namespace {

constexpr COLORREF kFill = RGB(200, 40, 10);
constexpr COLORREF kNotifyFill = RGB(20, 90, 200);
constexpr UINT kRetitle = WM_APP;
constexpr UINT kHang = WM_APP + 1;
std::wstring g_record;    // the record file; this program has one window that uses it
std::wstring g_newTitle;  // --app: the title WM_APP gives

void Record(HDROP drop) {
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::string text;
  for (UINT i = 0; i < count; ++i) {
    const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    const UINT copied = ::DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(copied);
    text += "file " + ql::win::Narrow(path) + "\n";
  }
  text += "end " + std::to_string(count) + "\n";
  ql::win::KernelHandle file(::CreateFileW(g_record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return;
  }
  DWORD written = 0;
  ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wParam);
      Record(drop);
      ::DragFinish(drop);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK AppProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kRetitle:
      ::SetWindowTextW(hwnd, g_newTitle.c_str());
      return 0;
    case kHang:
      ::Sleep(static_cast<DWORD>(wParam));
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

int RunLoop() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}

bool RegisterFilled(HINSTANCE instance, const wchar_t* name, HBRUSH fill, WNDPROC proc) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = fill;
  wc.lpszClassName = name;
  return ::RegisterClassW(&wc) != 0;
}

int RunShell(HINSTANCE instance) {
  const ql::win::Brush fill(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
  const ql::win::Brush notifyFill(::CreateSolidBrush(kNotifyFill));
  if (!RegisterFilled(instance, L"Shell_TrayWnd", fill.get(), Proc) ||
      !RegisterFilled(instance, L"TrayNotifyWnd", notifyFill.get(), ::DefWindowProcW)) {
    return 1;
  }
  const int sw = ::GetSystemMetrics(SM_CXSCREEN);
  const int sh = ::GetSystemMetrics(SM_CYSCREEN);
  HWND tray =
      ::CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"QlShellTray", WS_POPUP | WS_CLIPCHILDREN, 0,
                        sh - 30, sw, 30, nullptr, nullptr, instance, nullptr);
  if (tray == nullptr) return 1;
  ::CreateWindowExW(0, L"TrayNotifyWnd", L"", WS_CHILD | WS_VISIBLE, sw - 124, 5, 120, 20, tray, nullptr,
                    instance, nullptr);
  ::ShowWindow(tray, SW_SHOWNOACTIVATE);
  ::UpdateWindow(tray);
  return RunLoop();
}

int RunApps(HINSTANCE instance, const std::wstring& title, int count, DWORD hangMs = 0) {
  if (!RegisterFilled(instance, L"QlProbeApp", reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), AppProc)) return 1;
  for (int i = 0; i < count; ++i) {
    const std::wstring name = count == 1 ? title : title + L" " + std::to_wstring(i + 1);
    const int step = 8 * (i % 20);
    HWND app = ::CreateWindowExW(0, L"QlProbeApp", name.c_str(), WS_OVERLAPPEDWINDOW, 740 - step, 20 + step,
                                 260, 160, nullptr, nullptr, instance, nullptr);
    if (app == nullptr) return 1;
    // Only the first window ends the program; the others go with it.
    if (i > 0) ::SetWindowLongPtrW(app, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&::DefWindowProcW));
    ::ShowWindow(app, SW_SHOWNORMAL);
    ::UpdateWindow(app);
    if (hangMs != 0) ::PostMessageW(app, kHang, hangMs, 0);
  }
  return RunLoop();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  if (__argc >= 2 && std::wstring(__wargv[1]) == L"--shell") return RunShell(instance);
  if (__argc >= 4 && std::wstring(__wargv[1]) == L"--app") {
    g_newTitle = __wargv[3];
    const DWORD hangMs = __argc >= 5 ? static_cast<DWORD>(_wtoi(__wargv[4])) : 0;
    return RunApps(instance, __wargv[2], 1, hangMs);
  }
  if (__argc >= 4 && std::wstring(__wargv[1]) == L"--apps") {
    const int count = _wtoi(__wargv[2]);
    if (count < 1 || count > 500) return 2;
    return RunApps(instance, __wargv[3], count);
  }
  if (__argc < 3) return 2;
  const std::wstring title = __wargv[1];
  g_record = __wargv[2];

  const ql::win::Brush fill(::CreateSolidBrush(kFill));
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = fill.get();
  wc.lpszClassName = L"QlProbeTarget";
  if (!::RegisterClassW(&wc)) return 1;

  HWND main = ::CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_POPUP, 100, 120, 240, 160, nullptr,
                                nullptr, instance, nullptr);
  if (main == nullptr) return 1;
  ::CreateWindowExW(0, L"Button", L"Button", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 20, 80, 24, main,
                    nullptr, instance, nullptr);
  ::CreateWindowExW(0, L"Static", L"Static", WS_CHILD | WS_VISIBLE, 10, 60, 120, 20, main, nullptr, instance,
                    nullptr);
  const std::wstring hiddenTitle = title + L" hidden";
  const ql::win::OwnedWindow hidden(::CreateWindowExW(0, wc.lpszClassName, hiddenTitle.c_str(), WS_POPUP, 0,
                                                      0, 50, 50, nullptr, nullptr, instance, nullptr));
  ::DragAcceptFiles(main, TRUE);
  ::ShowWindow(main, SW_SHOWNOACTIVATE);
  ::UpdateWindow(main);

  return RunLoop();
}
