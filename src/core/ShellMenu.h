// The shell folder menus as data: the roots the menus can list, with their shell folders and
// the caption of each menu's title; the order of the entries; and the byte layout of the shell's
// item identifier lists, which the menus join and measure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ql {

// The folders a shell menu can list. The ordinals are the program's own.
enum class TCSIDL : std::uint8_t {
  CSID_DRIVES = 0,
  CSID_CONTROLS = 1,
  CSID_PRINTERS = 2,
  CSID_BITBUCKET = 3,
  CSID_NETWORK = 4,
  CSID_FONTS = 5,
  CSID_DESKTOP = 6,
  CSID_DESKTOPDIRECTORY = 7,
  CSID_PROGRAMS = 8,
  CSID_RECENT = 9,
  CSID_STARTMENU = 10,
  CSID_STARTUP = 11,
  CSID_SENDTO = 12,
  CSID_TEMPLATES = 13,
  CSID_PERSONAL = 14,
  CSID_NETHOOD = 15,
};
inline constexpr int kShellRootCount = 16;

// The two looks of the menus: small icons, or the program's picture look without icons.
enum class TIconTyp : std::uint8_t { icSmall = 0, icKova = 1 };

// The shell's folder number (CSIDL) of the desktop itself (it has no folder of its own).
inline constexpr int kDesktopItself = 0;

struct ShellRoot {
  TCSIDL root;
  int csidl;       // the shell's folder number (CSIDL)
  int titleIndex;  // the menu title's index in the main menu's caption table
};

// The row of `root`; a value outside the enumeration gives the desktop's row.
const ShellRoot& ShellRootOf(TCSIDL root);

// The root that lists the shell folder numbered `csidl` (CSIDL); the desktop for a number no
// root lists.
TCSIDL ShellRootOfFolder(int csidl);

// The caption of a menu title: the main menu's captions 1 to 7 ("My Computer" ...
// "Start Menu"); any other index reads as "My Computer".
std::string_view ShellMenuTitle(int titleIndex);

// Control Panel (3), My Documents (5) and Start Menu (7) list their entries by caption; the
// other roots keep the shell's order.
bool SortsByCaption(int titleIndex);

// A caption lower-cased for the comparison: ASCII and the Latin letters of the system code page
// (Latin-1 and the four of Latin Extended that Windows-1252 has); anything else as it is.
std::string SortKey(std::string_view utf8);

// The positions of `captions` in menu order: by SortKey in plain character order, equal keys in
// the order given (the shell's). Exactly the order of swapping neighbours until none is out of
// order, without its cost.
std::vector<std::size_t> CaptionOrder(const std::vector<std::string>& captions);

// Item identifier lists: items that each begin with their 16-bit byte count (little-endian, the
// count included), ended by a zero count.
// The bytes of a list, its terminator included; 0 for none (nullptr).
std::size_t ItemIdListSize(const std::uint8_t* list);
// The size of `parent` joined with `child`: the parent without its terminator, then the child.
std::size_t JoinedItemIdListSize(const std::uint8_t* parent, const std::uint8_t* child);
// Writes the joined list into `out`, which holds JoinedItemIdListSize bytes.
void JoinItemIdLists(const std::uint8_t* parent, const std::uint8_t* child, std::uint8_t* out);

}  // namespace ql
