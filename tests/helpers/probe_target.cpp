// A window with known geometry, colour and children for testing qlprobe itself:
//   probe_target TITLE RECORD_FILE
// shows a borderless window TITLE at (100, 120), 240 x 160, filled with RGB(200, 40, 10), with a
// "Button" child at (10, 20) 80 x 24 and a "Static" child at (10, 60) 120 x 20; keeps a second,
// never shown top-level window "TITLE hidden"; and appends every file dropped on it to
// RECORD_FILE (UTF-8, one "file PATH" line per file as DragQueryFileW gives it, then "end N").
// Closes on WM_CLOSE.
#include <cstdio>
#include <string>

#include "win/Handles.h"
#include "win/Utf.h"
#include "win/Win.h"
// After Win.h:

namespace {

constexpr COLORREF kFill = RGB(200, 40, 10);
std::wstring g_record;  // the record file; this program has one window that uses it

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

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
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

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
