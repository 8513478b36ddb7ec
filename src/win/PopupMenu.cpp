#include "win/PopupMenu.h"

#include <string>

#include "win/Utf.h"

namespace ql::win {

Bitmap MenuPicture(int resourceId) {
  Bitmap bmp(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId),
                                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bmp) return bmp;
  DIBSECTION dib{};
  if (::GetObjectW(bmp.get(), sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 24) return bmp;
  const COLORREF menu = ::GetSysColor(COLOR_MENU);
  auto* bits = static_cast<BYTE*>(dib.dsBm.bmBits);
  for (LONG y = 0; y < dib.dsBm.bmHeight; ++y) {
    BYTE* row = bits + y * dib.dsBm.bmWidthBytes;
    for (LONG x = 0; x < dib.dsBm.bmWidth; ++x) {
      BYTE* px = row + x * 3;  // blue, green, red
      if (px[0] == 255 && px[1] == 0 && px[2] == 255) {
        px[0] = GetBValue(menu);
        px[1] = GetGValue(menu);
        px[2] = GetRValue(menu);
      }
    }
  }
  return bmp;
}

bool PopupMenu::Begin() {
  menu_.reset();
  pictures_.clear();
  items_.clear();
  menu_.reset(::CreatePopupMenu());
  return static_cast<bool>(menu_);
}

bool PopupMenu::Build(std::span<const MenuEntry> entries, const Pictures& pictures, bool ownerDraw) {
  if (!Begin()) return false;
  for (const MenuEntry& e : entries) Append(menu_.get(), e, pictures, ownerDraw);
  return true;
}

bool PopupMenu::Build(std::span<const MenuEntry* const> entries, const Pictures& pictures, bool ownerDraw) {
  if (!Begin()) return false;
  for (const MenuEntry* e : entries) {
    if (e != nullptr) Append(menu_.get(), *e, pictures, ownerDraw);
  }
  return true;
}

void PopupMenu::Append(HMENU parent, const MenuEntry& entry, const Pictures& pictures, bool ownerDraw) {
  const UINT position = static_cast<UINT>(::GetMenuItemCount(parent));
  items_.push_back({&entry, parent, position});
  const std::wstring caption = Widen(entry.caption);

  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_FTYPE;
  info.wID = static_cast<UINT>(items_.size());
  if (entry.IsSeparator()) info.fType = MFT_SEPARATOR;
  if (ownerDraw) {
    info.fType |= MFT_OWNERDRAW;
    info.fMask |= MIIM_DATA;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&entry);
  }
  if (!entry.IsSeparator()) {
    info.fMask |= MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(caption.c_str());  // the menu copies it
  }
  if (!entry.IsSeparator() && entry.image >= 0 && pictures && !ownerDraw) {
    if (Bitmap picture = pictures(entry)) {
      info.fMask |= MIIM_BITMAP;
      info.hbmpItem = picture.get();
      pictures_.push_back(std::move(picture));
    }
  }
  HMENU submenu = nullptr;
  if (!entry.submenu.empty()) {
    submenu = ::CreatePopupMenu();
    if (submenu != nullptr) {
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = submenu;
    }
  }
  if (::InsertMenuItemW(parent, position, TRUE, &info) == FALSE) {
    if (submenu != nullptr) ::DestroyMenu(submenu);
    items_.pop_back();
    return;
  }
  // Once inserted, the submenu belongs to its parent and goes with it.
  if (submenu != nullptr) {
    for (const MenuEntry& e : entry.submenu) Append(submenu, e, pictures, ownerDraw);
  }
}

const PopupMenu::Item* PopupMenu::Find(std::uint16_t tag) const {
  for (const Item& item : items_) {
    if (!item.entry->IsSeparator() && item.entry->tag == tag) return &item;
  }
  return nullptr;
}

void PopupMenu::Check(std::uint16_t tag, bool checked) const {
  if (const Item* item = Find(tag)) {
    ::CheckMenuItem(item->parent, item->position, MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
  }
}

void PopupMenu::Enable(std::uint16_t tag, bool enabled) const {
  if (const Item* item = Find(tag)) {
    ::EnableMenuItem(item->parent, item->position, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
  }
}

bool PopupMenu::IsChecked(std::uint16_t tag) const {
  const Item* item = Find(tag);
  if (item == nullptr) return false;
  const UINT state = ::GetMenuState(item->parent, item->position, MF_BYPOSITION);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

bool PopupMenu::IsEnabled(std::uint16_t tag) const {
  const Item* item = Find(tag);
  if (item == nullptr) return false;
  const UINT state = ::GetMenuState(item->parent, item->position, MF_BYPOSITION);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

const MenuEntry* PopupMenu::Track(HWND owner, POINT screen) const {
  if (!menu_) return nullptr;
  // The owner must be in the foreground for the menu to close when the user clicks elsewhere.
  ::SetForegroundWindow(owner);
  const BOOL chosen = ::TrackPopupMenu(menu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, screen.x,
                                       screen.y, 0, owner, nullptr);
  ::PostMessageW(owner, WM_NULL, 0, 0);
  return EntryOf(static_cast<UINT>(chosen));
}

const MenuEntry* PopupMenu::EntryOf(UINT id) const {
  if (id == 0 || id > items_.size()) return nullptr;
  return items_[id - 1].entry;
}

}  // namespace ql::win
