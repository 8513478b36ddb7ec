// The main button's menu.
#include "dock/Quaylite.h"
#include "win/Win.h"

namespace ql {

void TQuaylite::CreeMenu() { menuPrincipal_.reset(::CreatePopupMenu()); }

void TQuaylite::PopupMainMenu(POINT screen) {
  if (!menuPrincipal_) return;
  ::SetForegroundWindow(hwnd());
  ::TrackPopupMenu(menuPrincipal_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y,
                   0, hwnd(), nullptr);
  ::PostMessageW(hwnd(), WM_NULL, 0, 0);
}

}  // namespace ql
