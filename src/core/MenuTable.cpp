#include "core/MenuTable.h"

#include <array>

namespace ql {

namespace {

using A = MenuAction;

// One row of a table, every column named in order.
constexpr MenuEntry Row(std::uint16_t tag, std::string_view name, std::string_view caption, std::int8_t image,
                        bool TConfig::*presentWhen, MenuAction action, std::int32_t value = 0,
                        std::span<const MenuEntry> submenu = {}) {
  MenuEntry e;
  e.tag = tag;
  e.name = name;
  e.caption = caption;
  e.image = image;
  e.presentWhen = presentWhen;
  e.action = action;
  e.value = value;
  e.submenu = submenu;
  return e;
}

constexpr MenuEntry Separator(std::uint16_t tag, std::string_view name, std::int8_t image = -1) {
  return Row(tag, name, "-", image, nullptr, A::None);
}

// Tags of the button menu are the command values of the dock's MenuBoutons.
constexpr auto kMenuBoutons = std::to_array<MenuEntry>({
    Row(1, "ChangerIcone", "Button Properties", 0, nullptr, A::ChangerIcone),
    Separator(0, "N2"),
    Row(2, "Taille64", "Icon Size 64*64", -1, nullptr, A::TailleIcone, 64),
    Row(3, "Taille48", "Icon Size 48*48", -1, nullptr, A::TailleIcone, 48),
    Row(4, "Taille32", "Icon Size 32*32", -1, nullptr, A::TailleIcone, 32),
    Row(5, "Taille16", "Icon Size 16*16", -1, nullptr, A::TailleIcone, 16),
    Separator(0, "N1"),
    Row(6, "AfficherNom", "Label under icon", -1, nullptr, A::AfficherNom),
    Separator(0, "N4"),
    Row(7, "Supprimer", "Delete Button", 1, nullptr, A::Supprimer),
    Separator(0, "N3"),
    Row(8, "EnvoyerVers", "Send button to...", 2, nullptr, A::EnvoyerVers),
});

// The images are indexes into the main menu's image list `MenuBMP`.
constexpr auto kItemsMenu = std::to_array<MenuEntry>({
    Row(0, "", "Quaylite Menu", 0, nullptr, A::None),
    Row(1, "", "My Computer", 0, &TConfig::Poste, A::ShellFolder, kCsidlDrives),
    Row(2, "", "Network Neighborhood", 1, &TConfig::Net, A::ShellFolder, kCsidlNetwork),
    Row(3, "", "Control Panel", 2, &TConfig::Conf, A::ShellFolder, kCsidlControls),
    Row(4, "", "Desktop Icons", 3, &TConfig::Desk, A::ShellFolder, kCsidlDesktop),
    Row(5, "", "My Documents", 4, &TConfig::Perso, A::ShellFolder, kCsidlPersonal),
    Row(6, "", "Printers", 5, &TConfig::Impr, A::ShellFolder, kCsidlPrinters),
    // The programs folder of the start menu, not the start menu folder itself.
    Row(7, "", "Start Menu", 6, &TConfig::Start, A::ShellFolder, kCsidlPrograms),
    Separator(8, "", 1),
    Row(9, "", "Format Floppy Disk", 7, &TConfig::Format, A::FormatFloppy),
    Separator(10, "", 1),
    Row(11, "", "Shutdown Computer", 8, nullptr, A::ShutdownComputer),
    Row(12, "", "Restart Computer", 9, nullptr, A::RestartComputer),
    Row(13, "", "Logout Computer", 10, nullptr, A::LogoutComputer),
    Separator(14, "", 1),
    Row(15, "", "Quaylite Configuration", 11, nullptr, A::Configuration),
    Separator(16, "", 1),
    Row(17, "", "Shutdown Quaylite", 12, nullptr, A::ShutdownQuaylite),
});

constexpr auto kSendToMnu = std::to_array<MenuEntry>({
    Row(7, "N11", "Screen 1", -1, nullptr, A::SendFenToScreen, 1),
    Row(8, "N21", "Screen 2", -1, nullptr, A::SendFenToScreen, 2),
    Row(9, "N31", "Screen 3", -1, nullptr, A::SendFenToScreen, 3),
    Row(10, "N41", "Screen 4", -1, nullptr, A::SendFenToScreen, 4),
});

constexpr auto kSendMnu = std::to_array<MenuEntry>({
    Row(1, "Minimiserfentres1", "Minimize all windows", -1, nullptr, A::GestionFenetre, 1),
    Row(2, "Restaurerfentres1", "Restore all windows", -1, nullptr, A::GestionFenetre, 2),
    Row(3, "Fermerfentres1", "Close all windows", -1, nullptr, A::GestionFenetre, 3),
    Separator(0, "N6"),
    Row(4, "Mosachorizontale1", "Horizontal mosa\303\257c", -1, nullptr, A::MoHoriz),  // UTF-8 of "ï"
    Row(5, "Mosaqueverticale1", "Vertical mosa\303\257c", -1, nullptr, A::MoVert),
    Separator(0, "N7"),
    Row(6, "SendToMnu", "Send app to...", -1, nullptr, A::None, 0, kSendToMnu),
    Separator(0, "N5"),
    Row(11, "FermerMnu", "Close window", -1, nullptr, A::FermerMnu),
});

}  // namespace

std::span<const MenuEntry> MenuBoutonsEntries() { return kMenuBoutons; }
std::span<const MenuEntry> ItemsMenuEntries() { return kItemsMenu; }
std::span<const MenuEntry> SendMnuEntries() { return kSendMnu; }

std::vector<const MenuEntry*> MainMenuEntries(const TConfig& cfg) {
  std::vector<const MenuEntry*> entries;
  bool groupShown = false;  // an entry other than the title stands since the last separator
  for (const MenuEntry& e : kItemsMenu) {
    if (e.IsSeparator()) {
      if (groupShown && !cfg.KovaM) entries.push_back(&e);
      groupShown = false;
      continue;
    }
    if (e.presentWhen != nullptr && !(cfg.*e.presentWhen)) continue;
    entries.push_back(&e);
    if (e.tag != kMenuTitleTag) groupShown = true;
  }
  return entries;
}

const MenuEntry* FindMenuEntry(std::span<const MenuEntry> entries, std::uint16_t tag) {
  for (const MenuEntry& e : entries) {
    if (!e.IsSeparator() && e.tag == tag) return &e;
    if (const MenuEntry* sub = FindMenuEntry(e.submenu, tag)) return sub;
  }
  return nullptr;
}

}  // namespace ql
