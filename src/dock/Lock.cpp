// The desktop lock and the hot key that starts it.
#include "core/ConfigStore.h"
#include "dock/Quaylite.h"
#include "win/Win.h"

namespace ql {

void TQuaylite::LockWindows() {
  if (Visible()) Hide();
  if (!cfg_.Provider) return;  // the hot key only hides the dock; it shows it again
  // The desktop lock proper (password dialog, minimised windows, hidden task bars) runs here
  // once the password dialog exists; until then the dock comes straight back.
  Show(SW_SHOWNOACTIVATE);
}

void TQuaylite::WMHotKey(WPARAM id) {
  if (id != kHotKeyId) return;
  HideBranch();
  if (Visible()) {
    // A second press during a running lock would start a lock inside it.
    if (peers_.password.Visible()) return;
    EcritSortie(store_, "0");
    static const wchar_t kSection[] = L"SoftWare\\Wendor\\Quaylite";
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(kSection),
                          SMTO_ABORTIFHUNG, 2000, nullptr);
    LockWindows();
  } else {
    Show(SW_SHOWNOACTIVATE);
  }
}

}  // namespace ql
