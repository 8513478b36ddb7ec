// The window system as Win32 gives it: the only place of the program that enumerates top-level
// windows or sends anything to other programs' windows. Nothing here waits on another program:
// titles come from InternalGetWindowText (never a message), commands are posted or asynchronous,
// and a window's icon is asked with SendMessageTimeout(SMTO_ABORTIFHUNG) and a short timeout.
#pragma once

#include "core/WindowSystem.h"
#include "win/Win.h"

namespace ql::win {

HWND ToHwnd(WindowId window);
WindowId IdOf(HWND window);

class Win32WindowSystem final : public WindowSystem {
 public:
  // How long a window may take to say which icon it has.
  static constexpr UINT kIconTimeoutMs = 100;

  void TopLevel(std::vector<TopWindow>& windows) override;
  std::string Title(WindowId window) override;
  std::string ClassName(WindowId window) override;
  WindowId Foreground() override;
  WindowId Owner(WindowId window) override;
  bool IsIconic(WindowId window) override;
  bool IsWindow(WindowId window) override;
  void Command(WindowId window, WindowCommand command) override;
  std::optional<IconHandle> WindowIcon(WindowId window, IconSize size) override;
  IconHandle ClassIcon(WindowId window, IconSize size) override;
  void Tile(TileMode mode) override;
};

}  // namespace ql::win
