#include "taskbar/WinUtil.h"

#include <cstdint>

#include "win/Handles.h"
#include "win/Utf.h"
#include "win/Win32WindowSystem.h"

namespace ql {

namespace {

// Older names of the system parameters the lock uses; not every header still defines them.
constexpr UINT kSpiScreenSaverRunning = 97;
constexpr UINT kSpiSetFastTaskSwitch = 36;
// How long the desktop's program may take to answer before the dock leaves its icon view alone.
constexpr UINT kShellAnswerMs = 200;

}  // namespace

HWND GetTrayWnd() { return ::FindWindowW(L"Shell_TrayWnd", nullptr); }

void ShowDesktopIcons(bool hide) {
  HWND progman = ::FindWindowW(L"Progman", L"Program Manager");
  if (progman == nullptr) return;
  HWND icons = ::GetWindow(progman, GW_CHILD);
  if (icons == nullptr) return;
  // The icon view belongs to the shell's program: nothing here may wait on it. Showing and
  // hiding are asynchronous; enabling sends it a message, so it is done only once the shell has
  // just answered (a hung or busy shell keeps its state, and hidden it takes no input anyway).
  ::ShowWindowAsync(icons, hide ? SW_HIDE : SW_SHOW);
  if (::SendMessageTimeoutW(icons, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kShellAnswerMs, nullptr) != 0) {
    ::EnableWindow(icons, hide ? FALSE : TRUE);
  }
}

bool IsTaskWindow(HWND window) {
  const auto style = static_cast<std::uint32_t>(::GetWindowLongW(window, GWL_STYLE));
  const auto exStyle = static_cast<std::uint32_t>(::GetWindowLongW(window, GWL_EXSTYLE));
  return IsTaskWindowStyle(style, exStyle);
}

std::string HandleToText(HWND window) { return HandleText(win::IdOf(window)); }

HWND HandleFromText(std::string_view text) {
  const auto value = ParseHandleText(text);
  return value ? win::ToHwnd(*value) : nullptr;
}

bool ShellFileOp(HWND owner, std::string_view source, std::string_view destination, int operation) {
  const auto plan = PlanShellFileOp(operation, destination);
  if (!plan) return false;
  // Both texts keep their trailing nulls through the conversion.
  const std::wstring from = win::Widen(ShellFileList(source));
  const std::wstring to = win::Widen(ShellDestination(destination));

  SHFILEOPSTRUCTW op{};
  op.hwnd = owner;
  switch (plan->operation) {
    case ShellOperation::Copy:
      op.wFunc = FO_COPY;
      break;
    case ShellOperation::Delete:
      op.wFunc = FO_DELETE;
      break;
    case ShellOperation::Move:
      op.wFunc = FO_MOVE;
      break;
  }
  op.pFrom = from.c_str();
  op.pTo = to.c_str();
  FILEOP_FLAGS flags = 0;
  if (plan->flags.allowUndo) flags |= FOF_ALLOWUNDO;
  if (plan->flags.silent) flags |= FOF_SILENT;
  if (plan->flags.noConfirmation) flags |= FOF_NOCONFIRMATION;
  op.fFlags = flags;
  return ::SHFileOperationW(&op) == 0 && op.fAnyOperationsAborted == FALSE;
}

bool DeleteToRecycler(HWND owner, std::string_view files, std::string_view destination) {
  return ShellFileOp(owner, files, destination, 2);
}

void LockSystemKeys(bool on) {
  const UINT value = on ? 1 : 0;
  UINT previous = 0;
  ::SystemParametersInfoW(kSpiScreenSaverRunning, value, &previous, 0);
  ::SystemParametersInfoW(kSpiSetFastTaskSwitch, value, &previous, 0);
}

void EnableShutdownPrivilege() {
  HANDLE raw = nullptr;
  if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw) == FALSE) return;
  const win::KernelHandle token(raw);
  TOKEN_PRIVILEGES privileges{};
  if (::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid) == FALSE)
    return;
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

std::string GetWindowsVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#ifdef _MSC_VER
#pragma warning(suppress : 4996)  // the version the system chooses to report is what is shown
#endif
  ::GetVersionExW(&info);
  return WindowsVersionText(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber,
                            win::Narrow(info.szCSDVersion));
}

}  // namespace ql
