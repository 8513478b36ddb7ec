// The main button's menu.
#include "dock/MainMenu.h"

#include "core/ShellMenu.h"
#include "dock/Quaylite.h"
#include "win/ModalScope.h"
#include "win/Screen.h"
#include "win/Win.h"

namespace ql {

void TQuaylite::CreeMenu() { mainMenu_.CreeMenu(); }

void TQuaylite::PopupMainMenu(POINT screen) { mainMenu_.Popup(screen); }

MainMenu::MainMenu(TQuaylite& dock) : dock_(dock) {}

MainMenu::~MainMenu() = default;

void MainMenu::Free() {
  // Also while the menu shows (a close from outside): the choice then finds no entry.
  menu_ = win::PopupMenu{};
  slots_.fill(nullptr);
  shown_.clear();
}

void MainMenu::CreeMenu() {
  Free();
  if (!picturesLoaded_) {
    pictures_.Load();  // a picture that is missing leaves its entry without one
    picturesLoaded_ = true;
  }
  if (!menuSys_) menuSys_ = std::make_unique<TMenuSys>(dock_.hwnd());
  ApplyLook();
  for (const MenuEntry* entry : MainMenuEntries(dock_.Config())) AjouteMenu(*entry);
  menu_.Build(shown_, {}, true);
}

void MainMenu::AjouteMenu(const MenuEntry& entry) {
  if (entry.tag < kSlots) slots_[entry.tag] = &entry;
  shown_.push_back(&entry);
}

void MainMenu::ApplyLook() {
  const TConfig& cfg = dock_.Config();
  look_.SetOptions(MenuLookOptions{cfg.KovaM, cfg.ItMenSel, cfg.ItMenNorm});
}

void MainMenu::Popup(POINT screen) {
  if (dock_.Closed() || handle() == nullptr) return;
  ApplyLook();
  // No other window of the program acts until the chosen command is done. The dock owns the
  // menu and stays enabled for it; the menu's own loop keeps the input meanwhile.
  const win::ThreadModalScope modal(dock_.hwnd());
  const HintsOff hints(dock_.TileHints(), dock_.hwnd());
  const MenuEntry* chosen = menu_.Track(dock_.hwnd(), screen);
  if (chosen != nullptr) EventMenu(chosen->tag);
}

void MainMenu::EventMenu(std::uint16_t tag) {
  // Closed from outside while the menu showed: the model is gone and the store sealed.
  if (dock_.Closed()) return;
  const MenuEntry* entry = FindMenuEntry(ItemsMenuEntries(), tag);  // never a separator
  if (entry == nullptr) return;
  switch (entry->action) {
    case MenuAction::ShellFolder:
      ShellFolderClick(*entry);
      break;
    case MenuAction::FormatFloppy:
      FormatFloppy(Session(), dock_.hwnd());
      break;
    case MenuAction::ShutdownComputer:
      // The store first: the session may end before anything else runs.
      dock_.EcritBaseRegistre();
      ShutdownComputer(Session());
      break;
    case MenuAction::RestartComputer:
      dock_.EcritBaseRegistre();
      RestartComputer(Session());
      break;
    case MenuAction::LogoutComputer:
      dock_.EcritBaseRegistre();
      LogoutComputer(Session());
      CloseDock();
      break;
    case MenuAction::Configuration:
      dock_.ConfigurationClick();
      break;
    case MenuAction::ShutdownQuaylite:
      CloseDock();
      break;
    default:  // the title
      break;
  }
}

void MainMenu::ShellFolderClick(const MenuEntry& entry) {
  if (!menuSys_) return;
  const TConfig& cfg = dock_.Config();
  menuSys_->SetIconTyp(cfg.KovaM ? TIconTyp::icKova : TIconTyp::icSmall);
  menuSys_->SetItSel(cfg.ItMenSel);
  menuSys_->SetItNorm(cfg.ItMenNorm);
  menuSys_->SetRoot(ShellRootOfFolder(entry.value));
  // Setting the root let the pending messages through: a close among them ends the command.
  if (dock_.Closed()) return;
  const POINT at = win::CursorPos();
  const UINT item = menuSys_->Track(dock_.hwnd(), POINT{at.x + 2, at.y + 5});
  if (item != 0 && !dock_.Closed()) menuSys_->OpenItem(item);
}

void MainMenu::CloseDock() const {
  // The dock's own window: WM_CLOSE runs FormClose and ends the program.
  ::SendMessageW(dock_.hwnd(), WM_CLOSE, 0, 0);
}

SessionControl& MainMenu::Session() {
  if (session_ != nullptr) return *session_;
  if (!ownSession_) ownSession_ = ProgramSession();
  return *ownSession_;
}

bool MainMenu::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (menuSys_ && menuSys_->HandleMessage(msg, wParam, lParam, result)) return true;
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item == nullptr || item->CtlType != ODT_MENU) return false;
      // The menu's items carry their entry: the item's own id must give that same entry.
      const auto* entry = reinterpret_cast<const MenuEntry*>(item->itemData);
      if (entry == nullptr || entry != menu_.EntryOf(item->itemID)) return false;
      look_.MenuMeasureItem(entry->tag, entry->caption, *item);
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item == nullptr || item->CtlType != ODT_MENU) return false;
      if (reinterpret_cast<HMENU>(item->hwndItem) != handle() || handle() == nullptr) return false;
      const MenuEntry* entry = menu_.EntryOf(item->itemID);
      if (entry == nullptr) return false;
      look_.MenuDrawItem(entry->tag, entry->caption, pictures_.Image(entry->image), *item);
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace ql
