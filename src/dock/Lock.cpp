// The desktop lock and the hot key that starts it.
#include <optional>
#include <string>
#include <vector>

#include "core/ConfigStore.h"
#include "core/Password.h"
#include "core/WindowLists.h"
#include "dock/Quaylite.h"
#include "taskbar/WinUtil.h"
#include "win/ModalScope.h"
#include "win/TaskSwitchBlock.h"
#include "win/Win.h"
#include "win/Win32WindowSystem.h"

namespace ql {

namespace {

// How long one window may take over the settings broadcast; a hung one is skipped at once.
constexpr UINT kBroadcastTimeoutMs = 2000;

// The desktop as the lock leaves it while the password is asked: icons hidden, every
// application window minimised, the task bars away and the task-switching keys off. Everything
// but the minimised windows is given back when it goes, however the lock ends.
class LockedDesktop {
 public:
  explicit LockedDesktop(TQuaylite& dock) : dock_(dock), cfg_(dock.Config()) {
    ShowDesktopIcons(true);
    MinimizeApplications();
    if (HWND tray = GetTrayWnd(); tray != nullptr && ::IsWindowVisible(tray) != FALSE) {
      ::ShowWindowAsync(tray, SW_HIDE);
    }
    if (cfg_.TaskBar) dock_.SuspendTaskBar();
    LockSystemKeys(true);
    // On the NT family the screen-saver flag above leaves the keys working: a hook takes them.
    keys_.emplace();
  }
  LockedDesktop(const LockedDesktop&) = delete;
  LockedDesktop& operator=(const LockedDesktop&) = delete;
  ~LockedDesktop() {
    dock_.Show(SW_SHOWNOACTIVATE);
    ShowDesktopIcons(cfg_.HideDesktop);
    keys_.reset();
    LockSystemKeys(false);
    if (cfg_.TaskBar) {
      dock_.ResumeTaskBar();
    } else if (HWND tray = GetTrayWnd()) {
      ::ShowWindowAsync(tray, SW_SHOW);
    }
  }

 private:
  void MinimizeApplications() {
    win::Win32WindowSystem system;
    WindowLists lists(system);
    std::vector<std::string> windows;
    // The program's own windows all belong to its hidden application window.
    HWND application = ::GetWindow(dock_.hwnd(), GW_OWNER);
    lists.ListAppWindows(windows, win::IdOf(application != nullptr ? application : dock_.hwnd()));
    for (const std::string& text : windows) {
      if (auto id = ParseHandleText(text)) system.Command(*id, WindowCommand::Minimize);
    }
  }

  TQuaylite& dock_;
  const TConfig& cfg_;
  std::optional<win::TaskSwitchBlock> keys_;
};

}  // namespace

void TQuaylite::LockWindows(bool atStart) {
  if (Visible()) Hide();
  // With the lock off the hot key only hides the dock; its next press shows it again.
  if (!cfg_.Provider && !atStart) return;
  if (peers_.password.hwnd() == nullptr) {
    // No dialog to ask the password with: locking would never end.
    Show(SW_SHOWNOACTIVATE);
    return;
  }
  const LockedDesktop locked(*this);
  bool accepted = false;
  CheckPasswd(accepted);
}

void TQuaylite::CheckPasswd(bool& accepted) {
  const bool alert = TakeShutdownAlert(SortieNormale, cfg_.StartLock);
  accepted = peers_.password.AskPassword(alert, [this](const PasswordEntry& typed) {
    const PasswordCheck check = CheckPassword(typed, cfg_.MotDePasse);
    switch (check.verdict) {
      case PasswordVerdict::Accepted:
        if (check.newPassword) {
          // Stored at once: a crash later in the run must not bring the old password back.
          cfg_.MotDePasse = *check.newPassword;
          EcritVerrou(store_, cfg_);
        }
        return true;
      case PasswordVerdict::ConfirmationDiffers:
        PasswordMessage(kPasswordsDifferText, true);
        return false;
      case PasswordVerdict::Invalid:
        PasswordMessage(kInvalidPasswordText, false);
        return false;
    }
    return false;
  });
}

void TQuaylite::WMHotKey(WPARAM id) {
  if (id != kHotKeyId) return;
  // While the password dialog shows, the hot key neither ends the lock nor starts one inside it.
  if (peers_.password.Visible()) return;
  HideBranch();
  if (Visible()) {
    EcritSortie(store_, "0");
    static const wchar_t kSection[] = L"SoftWare\\Wendor\\Quaylite";
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(kSection),
                          SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, nullptr);
    LockWindows();
  } else {
    Show(SW_SHOWNOACTIVATE);
  }
}

}  // namespace ql
