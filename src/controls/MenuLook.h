// The look of the program's owner-drawn menus, the main menu and the shell folder menus alike:
// the dark title box, the standard look (menu colours, a 16 x 16 picture, the etched separator)
// and the program's own picture look (raised boxes, no pictures), each with its optional
// textures behind the plain and the selected entries. Every entry is composed off-screen and
// copied to the menu in one step.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "win/Handles.h"

namespace ql {

inline constexpr int kMenuEntryHeight = 20;
inline constexpr int kMenuSeparatorHeight = 10;             // the main menu's separators
inline constexpr COLORREF kMenuIconKey = RGB(255, 0, 255);  // the shell menus' icon bitmaps

// The main menu and the shell menus differ in three details: the main menu's separators are 10
// pixels high and etched in the button shadow and highlight colours (the shell menus': 20, black
// and white), and its selected entry in the picture look is written in black whenever no
// texture shows behind it (the shell menus': only when no texture is set).
enum class MenuKind : std::uint8_t { Main, Shell };

struct MenuLookOptions {
  bool kova = false;   // the program's own look (`KovaM`, `icKova`)
  std::string itSel;   // bitmap file behind the selected entry (`ItMenSel`, `ItSel`); empty: none
  std::string itNorm;  // bitmap file behind the other entries (`ItMenNorm`, `ItNorm`)
};

struct MenuEntryLook {
  MenuKind kind = MenuKind::Shell;
  std::string_view caption;
  bool title = false;       // the menu's title entry (tag 0)
  bool arrow = false;       // the mark of an entry that opens a menu of its own
  HBITMAP image = nullptr;  // 16 x 16, drawn in the standard look only
  COLORREF imageKey = kMenuIconKey;
};

class MenuLook {
 public:
  MenuLook();

  void SetOptions(MenuLookOptions options) { options_ = std::move(options); }
  const MenuLookOptions& Options() const { return options_; }

  // A separator: "-" in the standard look (the picture look draws every entry as an entry).
  bool IsSeparator(const MenuEntryLook& entry) const;

  // The entry's size: 20 pixels high (10 for a main menu separator); wide enough for the
  // caption in the menu font, its picture and its arrow.
  SIZE Measure(const MenuEntryLook& entry) const;
  void Measure(const MenuEntryLook& entry, MEASUREITEMSTRUCT& item) const;

  // Draws the entry over `r` of `dc` in the font selected there. The textures are read from
  // their files here and freed at once; one that is no readable bitmap draws as none.
  void Draw(const MenuEntryLook& entry, HDC dc, const RECT& r, bool selected) const;
  void Draw(const MenuEntryLook& entry, const DRAWITEMSTRUCT& item) const;

  // The main menu's entries, by their tag (0 the title, 1 to 7 the shell folders, which carry
  // the arrow) with their caption and their picture of MenuBMP (white is transparent).
  void MenuMeasureItem(int tag, std::string_view caption, MEASUREITEMSTRUCT& item) const;
  void MenuDrawItem(int tag, std::string_view caption, HBITMAP picture, const DRAWITEMSTRUCT& item) const;

 private:
  MenuLookOptions options_;
  win::Font measureFont_;  // the system's menu font, for widths
};

// The description of a main menu entry (see MenuDrawItem).
MenuEntryLook MainMenuEntry(int tag, std::string_view caption, HBITMAP picture);

}  // namespace ql
