#include "win/Win32WindowSystem.h"

#include <cstdint>

#include "win/Utf.h"

namespace ql::win {

namespace {

// Texts of the window system are read into buffers of 256: 255 characters and the null.
constexpr int kTextBuffer = 256;

BOOL CALLBACK CollectTopWindow(HWND h, LPARAM out) {
  auto& windows = *reinterpret_cast<std::vector<TopWindow>*>(out);
  TopWindow w;
  w.id = IdOf(h);
  w.style = static_cast<std::uint32_t>(::GetWindowLongW(h, GWL_STYLE));
  // A top-level window's only ancestor is the desktop, which shows: its own bit says it all.
  w.visible = (w.style & WS_VISIBLE) != 0;
  if (w.visible) {
    // Every list skips hidden windows: their other fields are never read, so never asked (a poll
    // meets many more hidden windows than shown ones).
    w.exStyle = static_cast<std::uint32_t>(::GetWindowLongW(h, GWL_EXSTYLE));
    w.owner = IdOf(::GetWindow(h, GW_OWNER));
    // What GetParent answers for a top-level window: the owner of a popup, nothing otherwise.
    if ((w.style & WS_CHILD) != 0) {
      w.parent = IdOf(::GetParent(h));
    } else if ((w.style & WS_POPUP) != 0) {
      w.parent = w.owner;
    }
  }
  windows.push_back(w);
  return TRUE;
}

// The tiling runs on a thread of the pool: moving the windows of a program that does not answer
// may wait on it, and that thread may wait, the dock's may not.
VOID CALLBACK TileOnPoolThread(PTP_CALLBACK_INSTANCE, PVOID how) {
  ::TileWindows(::GetDesktopWindow(), static_cast<UINT>(reinterpret_cast<std::uintptr_t>(how)), nullptr, 0,
                nullptr);
}

}  // namespace

HWND ToHwnd(WindowId window) {
  // Handles are 32-bit values, sign-extended in a 64-bit process.
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(window)));
}

WindowId IdOf(HWND window) { return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window)); }

void Win32WindowSystem::TopLevel(std::vector<TopWindow>& windows) {
  windows.clear();
  ::EnumWindows(&CollectTopWindow, reinterpret_cast<LPARAM>(&windows));
}

std::string Win32WindowSystem::Title(WindowId window) {
  wchar_t text[kTextBuffer] = {};
  const int n = ::InternalGetWindowText(ToHwnd(window), text, kTextBuffer);
  return n > 0 ? Narrow(std::wstring_view(text, static_cast<std::size_t>(n))) : std::string();
}

std::string Win32WindowSystem::ClassName(WindowId window) {
  wchar_t name[kTextBuffer] = {};
  const int n = ::GetClassNameW(ToHwnd(window), name, kTextBuffer);
  return n > 0 ? Narrow(std::wstring_view(name, static_cast<std::size_t>(n))) : std::string();
}

WindowId Win32WindowSystem::Foreground() { return IdOf(::GetForegroundWindow()); }

WindowId Win32WindowSystem::Owner(WindowId window) {
  return IdOf(reinterpret_cast<HWND>(::GetWindowLongPtrW(ToHwnd(window), GWLP_HWNDPARENT)));
}

bool Win32WindowSystem::IsIconic(WindowId window) { return ::IsIconic(ToHwnd(window)) != FALSE; }

bool Win32WindowSystem::IsWindow(WindowId window) {
  return window != kNoWindow && ::IsWindow(ToHwnd(window)) != FALSE;
}

void Win32WindowSystem::Command(WindowId window, WindowCommand command) {
  HWND h = ToHwnd(window);
  if (window == kNoWindow) return;
  switch (command) {
    case WindowCommand::Minimize:
      ::ShowWindowAsync(h, SW_MINIMIZE);
      break;
    case WindowCommand::Restore:
      ::ShowWindowAsync(h, SW_RESTORE);
      break;
    case WindowCommand::Show:
      ::ShowWindowAsync(h, SW_SHOW);
      break;
    case WindowCommand::Hide:
      ::ShowWindowAsync(h, SW_HIDE);
      break;
    case WindowCommand::Activate:
      ::SetForegroundWindow(h);
      break;
    case WindowCommand::Close:
      // Posted: a "Save changes?" box in the other program must not hold the dock up.
      ::PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
  }
}

std::optional<IconHandle> Win32WindowSystem::WindowIcon(WindowId window, IconSize size) {
  DWORD_PTR icon = 0;
  const WPARAM which = size == IconSize::Large ? ICON_BIG : ICON_SMALL;
  if (::SendMessageTimeoutW(ToHwnd(window), WM_GETICON, which, 0, SMTO_ABORTIFHUNG, kIconTimeoutMs, &icon) ==
      0) {
    return std::nullopt;
  }
  return static_cast<IconHandle>(icon);
}

IconHandle Win32WindowSystem::ClassIcon(WindowId window, IconSize size) {
  const int which = size == IconSize::Large ? GCLP_HICON : GCLP_HICONSM;
  return static_cast<IconHandle>(::GetClassLongPtrW(ToHwnd(window), which));
}

void Win32WindowSystem::Tile(TileMode mode) {
  const UINT how = mode == TileMode::Horizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL;
  ::TrySubmitThreadpoolCallback(&TileOnPoolThread, reinterpret_cast<PVOID>(static_cast<std::uintptr_t>(how)),
                                nullptr);
}

}  // namespace ql::win
