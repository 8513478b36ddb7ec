// The main button's menu `MenuPrincipal`: the entries of the table `ItemsMenu` that the dock's
// options show, owner-drawn in one of the two looks, and their commands (`EventMenu`): the shell
// folder menus of `MenuSys`, the floppy format, the session commands, the configuration and the
// dock's own end. The menu is tracked with TPM_RETURNCMD; the chosen command runs once it has
// closed, with every other window of the program disabled until the command is done.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "controls/MenuBMP.h"
#include "controls/MenuLook.h"
#include "controls/MenuSys.h"
#include "core/MenuTable.h"
#include "taskbar/Session.h"
#include "win/PopupMenu.h"

namespace ql {

class TQuaylite;

class MainMenu {
 public:
  static constexpr std::size_t kSlots = 18;

  explicit MainMenu(TQuaylite& dock);
  MainMenu(const MainMenu&) = delete;
  MainMenu& operator=(const MainMenu&) = delete;
  ~MainMenu();

  // Discards the menu and builds it anew for the dock's options, the present entries in the
  // table's order (AjouteMenu each). The dock window must exist.
  void CreeMenu();
  // Discards the menu (the dock closes).
  void Free();

  // Shows the menu at a screen point and runs the entry chosen, if any.
  void Popup(POINT screen);
  // The command of the entry tagged `tag`. Nothing once the dock has closed.
  void EventMenu(std::uint16_t tag);

  // WM_MEASUREITEM and WM_DRAWITEM of the main menu and of the shell folder menu, WM_MENUCHAR of
  // the latter: true when taken, the message's answer in `result`.
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  HMENU handle() const { return menu_.handle(); }
  // The entries of the menu, in order.
  const std::vector<const MenuEntry*>& Entries() const { return shown_; }
  // The slot of a tag: its entry when the menu shows it, nullptr otherwise.
  const MenuEntry* ItemsMenu(std::uint16_t tag) const { return tag < kSlots ? slots_[tag] : nullptr; }
  const MenuLook& Look() const { return look_; }
  const MenuBMP& Pictures() const { return pictures_; }

  // The shell folder menu (made with the menu, the dock window as its owner).
  TMenuSys* MenuSys() const { return menuSys_.get(); }

  // The session commands go to `session` (tests); nullptr gives the program's own back.
  void SetSession(SessionControl* session) { session_ = session; }

 private:
  void AjouteMenu(const MenuEntry& entry);
  void ApplyLook();
  void ShellFolderClick(const MenuEntry& entry);
  void CloseDock() const;
  SessionControl& Session();

  TQuaylite& dock_;
  win::PopupMenu menu_;
  std::array<const MenuEntry*, kSlots> slots_{};
  std::vector<const MenuEntry*> shown_;
  MenuLook look_;
  MenuBMP pictures_;
  bool picturesLoaded_ = false;
  std::unique_ptr<TMenuSys> menuSys_;
  std::unique_ptr<SessionControl> ownSession_;
  SessionControl* session_ = nullptr;
};

}  // namespace ql
