// A popup menu built from table entries (core/MenuTable.h): strings, separators, submenus,
// pictures, and owner-drawn items for a menu whose owner measures and draws them. It is tracked
// with TPM_RETURNCMD, so the chosen entry comes back once the menu has closed and its command
// runs outside the menu's loop.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/MenuTable.h"
#include "win/Handles.h"

namespace ql::win {

// A picture of the program's resources for a menu entry, its magenta key replaced by the menu's
// colour; empty when there is no such picture.
Bitmap MenuPicture(int resourceId);

class PopupMenu {
 public:
  // The picture of an entry whose image is set; an empty bitmap for none. Only string items show
  // one: an owner-drawn menu draws its own.
  using Pictures = std::function<Bitmap(const MenuEntry&)>;

  // Builds the menu anew from these entries, which must outlive it (the program's tables are
  // constants). Owner-drawn items carry their entry as item data (separators too, so that they
  // are measured and drawn as well). False when the system gives no menu.
  bool Build(std::span<const MenuEntry> entries, const Pictures& pictures = {}, bool ownerDraw = false);
  bool Build(std::span<const MenuEntry* const> entries, const Pictures& pictures = {},
             bool ownerDraw = false);

  HMENU handle() const { return menu_.get(); }

  // By the entry's tag, in the menu or its submenus; unknown tags are ignored (false).
  void Check(std::uint16_t tag, bool checked) const;
  void Enable(std::uint16_t tag, bool enabled) const;
  bool IsChecked(std::uint16_t tag) const;
  bool IsEnabled(std::uint16_t tag) const;

  // Shows the menu at a screen point until it closes: the entry chosen, nullptr when dismissed.
  const MenuEntry* Track(HWND owner, POINT screen) const;

  // The entry behind a menu item id (WM_MEASUREITEM and WM_DRAWITEM give it); nullptr for none.
  const MenuEntry* EntryOf(UINT id) const;

 private:
  struct Item {
    const MenuEntry* entry;
    HMENU parent;  // the menu or submenu holding it, for the by-position calls
    UINT position;
  };

  bool Begin();
  void Append(HMENU parent, const MenuEntry& entry, const Pictures& pictures, bool ownerDraw);
  const Item* Find(std::uint16_t tag) const;

  std::vector<Bitmap> pictures_;  // outlive the menu that shows them
  Menu menu_;                     // destroys its submenus with it
  std::vector<Item> items_;       // the item id of items_[i] is i + 1
};

}  // namespace ql::win
