#include "taskbar/Session.h"

#include "taskbar/WinUtil.h"

namespace ql {

namespace {

constexpr UINT kFirstFloppy = 0;
constexpr UINT kDefaultFormat = 0xFFFF;  // SHFMT_ID_DEFAULT

void EndWithFallback(SessionControl& session, UINT flags) {
  if (session.ExitWindowsEx(flags)) return;
  session.EnableShutdownPrivilege();
  session.ExitWindowsEx(flags | EWX_FORCE);
}

}  // namespace

bool SystemSession::ExitWindowsEx(UINT flags) { return ::ExitWindowsEx(flags, 0) != FALSE; }

void SystemSession::EnableShutdownPrivilege() { ql::EnableShutdownPrivilege(); }

void SystemSession::SHFormatDrive(HWND owner, UINT drive, UINT formatId, UINT options) {
  using FormatDrive = DWORD(WINAPI*)(HWND, UINT, UINT, UINT);
  HMODULE shell = ::GetModuleHandleW(L"shell32.dll");
  if (shell == nullptr) return;
  // Looked up rather than imported: a shell that lacks it must not keep the program from starting.
  auto* format =
      reinterpret_cast<FormatDrive>(reinterpret_cast<void*>(::GetProcAddress(shell, "SHFormatDrive")));
  if (format != nullptr) format(owner, drive, formatId, options);
}

void ShutdownComputer(SessionControl& session) { EndWithFallback(session, EWX_SHUTDOWN); }

void RestartComputer(SessionControl& session) { EndWithFallback(session, EWX_REBOOT); }

void LogoutComputer(SessionControl& session) { session.ExitWindowsEx(EWX_LOGOFF); }

void FormatFloppy(SessionControl& session, HWND owner) {
  try {
    session.SHFormatDrive(owner, kFirstFloppy, kDefaultFormat, 0);
  } catch (...) {  // NOLINT(bugprone-empty-catch): a failed format is not reported
  }
}

}  // namespace ql
