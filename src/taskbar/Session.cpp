#include "taskbar/Session.h"

#include <string>
#include <utility>

#include "taskbar/WinUtil.h"
#include "win/Handles.h"

namespace ql {

namespace {

constexpr UINT kFirstFloppy = 0;
constexpr UINT kDefaultFormat = 0xFFFF;  // SHFMT_ID_DEFAULT

void EndWithFallback(SessionControl& session, UINT flags) {
  if (session.ExitWindowsEx(flags)) return;
  session.EnableShutdownPrivilege();
  session.ExitWindowsEx(flags | EWX_FORCE);
}

constexpr wchar_t kSessionLogVariable[] = L"QUAYLITE_SESSION_LOG";

// Writes the calls into a file instead of making them.
class LoggedSession final : public SessionControl {
 public:
  explicit LoggedSession(std::wstring file) : file_(std::move(file)) {}

  bool ExitWindowsEx(UINT flags) override {
    Append("ExitWindowsEx " + std::to_string(flags));
    return (flags & EWX_FORCE) != 0;
  }
  void EnableShutdownPrivilege() override { Append("EnableShutdownPrivilege"); }
  void SHFormatDrive(HWND, UINT drive, UINT formatId, UINT options) override {
    Append("SHFormatDrive " + std::to_string(drive) + " " + std::to_string(formatId) + " " +
           std::to_string(options));
  }

 private:
  void Append(std::string line) const {
    line += "\r\n";
    const HANDLE opened = ::CreateFileW(file_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return;
    const win::KernelHandle file(opened);
    DWORD written = 0;
    ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }

  std::wstring file_;
};

}  // namespace

std::unique_ptr<SessionControl> ProgramSession() {
  wchar_t file[MAX_PATH] = {};
  const DWORD n = ::GetEnvironmentVariableW(kSessionLogVariable, file, MAX_PATH);
  if (n > 0 && n < MAX_PATH) return std::make_unique<LoggedSession>(file);
  return std::make_unique<SystemSession>();
}

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
