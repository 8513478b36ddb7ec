// The program's menus as data: one entry type and constant tables for the button context menu
// `MenuBoutons`, the main menu's 18 slots `ItemsMenu` and the task bar's menu `SendMnu`. The
// Win32 side (win/PopupMenu) builds and tracks a menu from them; what an entry does is its action
// and value, run by the menu's owner after the menu has closed.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/Config.h"

namespace ql {

enum class MenuAction : std::uint8_t {
  None,  // the main menu's title, separators, an entry that only opens its submenu
  // The button menu.
  ChangerIcone,  // the button properties dialog
  TailleIcone,   // value: the icon size of the whole dock
  AfficherNom,   // labels under the icons on or off
  Supprimer,     // delete the button
  EnvoyerVers,   // the send-to dialog
  // The main menu (`EventMenu`).
  ShellFolder,  // value: the folder (kCsidl...) whose shell menu opens
  FormatFloppy,
  ShutdownComputer,
  RestartComputer,
  LogoutComputer,
  Configuration,
  ShutdownQuaylite,
  // The task bar's menu.
  GestionFenetre,   // value: 1 minimise, 2 restore, 3 close every window of the task bar
  MoHoriz,          // tile the desktop's windows horizontally
  MoVert,           // ... vertically
  SendFenToScreen,  // value: the virtual screen 1 to 4 the clicked button's window goes to
  FermerMnu,        // close the clicked button's window
};

struct MenuEntry {
  std::uint16_t tag = 0;     // unique within its table (separators excepted); a main menu slot's index
  std::string_view name;     // the entry's name in the program ("Taille48", "N2")
  std::string_view caption;  // the program's text; "-" for a separator
  std::int8_t image = -1;    // the entry's picture in its menu's image set; -1 for none
  bool TConfig::*presentWhen = nullptr;  // the option that shows the entry; nullptr: always shown
  MenuAction action = MenuAction::None;
  std::int32_t value = 0;  // the action's argument (see MenuAction)
  std::span<const MenuEntry> submenu;

  bool IsSeparator() const { return caption == "-"; }
};

// Shell folders of the main menu, as the shell numbers them (CSIDL_...).
inline constexpr std::int32_t kCsidlDesktop = 0x0000;
inline constexpr std::int32_t kCsidlPrograms = 0x0002;
inline constexpr std::int32_t kCsidlControls = 0x0003;
inline constexpr std::int32_t kCsidlPrinters = 0x0004;
inline constexpr std::int32_t kCsidlPersonal = 0x0005;
inline constexpr std::int32_t kCsidlDrives = 0x0011;
inline constexpr std::int32_t kCsidlNetwork = 0x0012;

// The button context menu, in order. Its pictures: 0 properties, 1 delete, 2 send to.
std::span<const MenuEntry> MenuBoutonsEntries();

// The main menu's 18 slots `ItemsMenu`, indexed by tag. Slot 0 is the title.
std::span<const MenuEntry> ItemsMenuEntries();
inline constexpr std::uint16_t kMenuTitleTag = 0;

// The entries of the main menu for these options, in order (the rules of `CreeMenu`): the title,
// the shell folders and "Format Floppy Disk" whose options are on, the dock's commands, and
// between the groups a separator where the group above it shows an entry. The program's own look
// (`KovaM`) has no separators at all.
std::vector<const MenuEntry*> MainMenuEntries(const TConfig& cfg);

// The task bar's menu `SendMnu`, with its "Send app to..." submenu of four screens.
std::span<const MenuEntry> SendMnuEntries();

// The entry of `entries` (or of their submenus) with this tag; nullptr when none. Separators are
// never found.
const MenuEntry* FindMenuEntry(std::span<const MenuEntry> entries, std::uint16_t tag);

}  // namespace ql
