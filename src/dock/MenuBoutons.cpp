#include "dock/MenuBoutons.h"

#include <array>
#include <string_view>

#include "core/BarEdit.h"
#include "resources/ResourceIds.h"
#include "win/Utf.h"

namespace ql {

namespace {

struct Entry {
  std::string_view component;  // the entry's name; a size entry's size follows "Taille"
  const wchar_t* caption;      // nullptr: a separator
  MenuBoutons::Command command;
  int picture;  // resource id of its picture, 0 for none
};

constexpr std::array<Entry, 12> kEntries{{
    {"ChangerIcone", L"Button Properties", MenuBoutons::kChangerIcone, IDB_MENU_PROPERTIES},
    {"N2", nullptr, MenuBoutons::kNone, 0},
    {"Taille64", L"Icon Size 64*64", MenuBoutons::kTaille64, 0},
    {"Taille48", L"Icon Size 48*48", MenuBoutons::kTaille48, 0},
    {"Taille32", L"Icon Size 32*32", MenuBoutons::kTaille32, 0},
    {"Taille16", L"Icon Size 16*16", MenuBoutons::kTaille16, 0},
    {"N1", nullptr, MenuBoutons::kNone, 0},
    {"AfficherNom", L"Label under icon", MenuBoutons::kAfficherNom, 0},
    {"N4", nullptr, MenuBoutons::kNone, 0},
    {"Supprimer", L"Delete Button", MenuBoutons::kSupprimer, IDB_MENU_DELETE},
    {"N3", nullptr, MenuBoutons::kNone, 0},
    {"EnvoyerVers", L"Send button to...", MenuBoutons::kEnvoyerVers, IDB_MENU_SENDTO},
}};

// A picture of the resources with its magenta key replaced by the menu's colour.
win::Bitmap MenuPicture(int id) {
  win::Bitmap bmp(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
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

const Entry* EntryOf(MenuBoutons::Command command) {
  for (const Entry& e : kEntries) {
    if (e.caption != nullptr && e.command == command) return &e;
  }
  return nullptr;
}

}  // namespace

bool MenuBoutons::Build() {
  menu_.reset(::CreatePopupMenu());
  if (!menu_) return false;
  std::size_t picture = 0;
  for (const Entry& e : kEntries) {
    if (e.caption == nullptr) {
      ::AppendMenuW(menu_.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    ::AppendMenuW(menu_.get(), MF_STRING, e.command, e.caption);
    if (e.picture != 0 && picture < std::size(pictures_)) {
      pictures_[picture] = MenuPicture(e.picture);
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_BITMAP;
      info.hbmpItem = pictures_[picture].get();
      ::SetMenuItemInfoW(menu_.get(), e.command, FALSE, &info);
      ++picture;
    }
  }
  return true;
}

std::int32_t MenuBoutons::SizeOf(Command command) {
  const Entry* e = EntryOf(command);
  if (e == nullptr || e->component.substr(0, 6) != "Taille") return 0;
  return SizeOfEntry(e->component);
}

void MenuBoutons::Popup(std::int32_t taille, bool showName, bool iconButton) const {
  for (Command c : {kTaille64, kTaille48, kTaille32, kTaille16}) {
    ::CheckMenuItem(menu_.get(), c, MF_BYCOMMAND | (SizeOf(c) == taille ? MF_CHECKED : MF_UNCHECKED));
  }
  ::CheckMenuItem(menu_.get(), kAfficherNom, MF_BYCOMMAND | (showName ? MF_CHECKED : MF_UNCHECKED));
  ::EnableMenuItem(menu_.get(), kEnvoyerVers, MF_BYCOMMAND | (iconButton ? MF_ENABLED : MF_GRAYED));
}

MenuBoutons::Command MenuBoutons::Track(HWND owner, POINT screen) const {
  // The owner must be in the foreground for the menu to close when the user clicks elsewhere.
  ::SetForegroundWindow(owner);
  const BOOL chosen = ::TrackPopupMenu(menu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, screen.x,
                                       screen.y, 0, owner, nullptr);
  ::PostMessageW(owner, WM_NULL, 0, 0);
  return static_cast<Command>(chosen);
}

bool MenuBoutons::IsChecked(Command command) const {
  return (::GetMenuState(menu_.get(), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

bool MenuBoutons::IsEnabled(Command command) const {
  return (::GetMenuState(menu_.get(), command, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
}

}  // namespace ql
