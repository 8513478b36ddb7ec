#include "dock/MenuBoutons.h"

#include "resources/ResourceIds.h"

namespace ql {

namespace {

std::uint16_t Tag(MenuBoutons::Command command) { return static_cast<std::uint16_t>(command); }

// The table's pictures: 0 properties, 1 delete, 2 send to.
win::Bitmap Picture(const MenuEntry& entry) {
  switch (entry.image) {
    case 0:
      return win::MenuPicture(IDB_MENU_PROPERTIES);
    case 1:
      return win::MenuPicture(IDB_MENU_DELETE);
    case 2:
      return win::MenuPicture(IDB_MENU_SENDTO);
    default:
      return {};
  }
}

}  // namespace

bool MenuBoutons::Build() { return menu_.Build(MenuBoutonsEntries(), &Picture); }

std::int32_t MenuBoutons::SizeOf(Command command) {
  const MenuEntry* e = FindMenuEntry(MenuBoutonsEntries(), Tag(command));
  return e != nullptr && e->action == MenuAction::TailleIcone ? e->value : 0;
}

void MenuBoutons::Popup(std::int32_t taille, bool showName, bool iconButton) const {
  for (const MenuEntry& e : MenuBoutonsEntries()) {
    if (e.action == MenuAction::TailleIcone) menu_.Check(e.tag, e.value == taille);
  }
  menu_.Check(Tag(kAfficherNom), showName);
  menu_.Enable(Tag(kEnvoyerVers), iconButton);
}

MenuBoutons::Command MenuBoutons::Track(HWND owner, POINT screen) const {
  const MenuEntry* chosen = menu_.Track(owner, screen);
  return chosen != nullptr ? static_cast<Command>(chosen->tag) : kNone;
}

bool MenuBoutons::IsChecked(Command command) const { return menu_.IsChecked(Tag(command)); }

bool MenuBoutons::IsEnabled(Command command) const { return menu_.IsEnabled(Tag(command)); }

}  // namespace ql
