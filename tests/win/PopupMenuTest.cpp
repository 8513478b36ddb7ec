#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PixelSurface.h"
#include "core/MenuTable.h"
#include "dock/MenuBoutons.h"
#include "win/Handles.h"
#include "win/PopupMenu.h"
#include "win/Win.h"

namespace ql {
namespace {

using Cmd = MenuBoutons::Command;

std::wstring ItemText(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  ::GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return text;
}

MENUITEMINFOW ItemInfo(HMENU menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_SUBMENU | MIIM_BITMAP;
  ::GetMenuItemInfoW(menu, position, TRUE, &info);
  return info;
}

// Keys posted to the open menu from a timer that its own loop dispatches.
std::vector<WPARAM> g_keys;
bool g_sawMenu = false;

void CALLBACK DriveMenu(HWND owner, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(owner, id);
  HWND popup = ::FindWindowW(L"#32768", nullptr);
  g_sawMenu = popup != nullptr && ::IsWindowVisible(popup) != FALSE;
  if (g_keys.empty()) {
    ::EndMenu();
    return;
  }
  for (WPARAM k : g_keys) {
    ::PostMessageW(g_sawMenu ? popup : owner, WM_KEYDOWN, k, 1);
    ::PostMessageW(g_sawMenu ? popup : owner, WM_KEYUP, k, 1 | (3L << 30));
  }
}

class PopupMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"menu owner", WS_POPUP | WS_VISIBLE, -3000,
                                   -3000, 50, 50, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_NE(owner_.get(), nullptr);
  }

  // Tracks `track` while a timer answers the menu with `keys` (none: the menu is dismissed).
  template <typename Track>
  auto Answer(std::vector<WPARAM> keys, Track track) {
    g_keys = std::move(keys);
    g_sawMenu = false;
    ::SetTimer(owner_.get(), 78, 150, &DriveMenu);
    auto chosen = track();
    ::KillTimer(owner_.get(), 78);
    return chosen;
  }

  win::OwnedWindow owner_;
};

TEST_F(PopupMenuTest, ButtonMenuChecksTheSizeAndLabelsAndSendsOnlyIconButtons) {
  MenuBoutons menu;
  ASSERT_TRUE(menu.Build());
  ASSERT_EQ(::GetMenuItemCount(menu.handle()), 12);
  EXPECT_EQ(ItemText(menu.handle(), 3), L"Icon Size 48*48");
  for (UINT separator : {1U, 6U, 8U, 10U}) {
    EXPECT_NE(ItemInfo(menu.handle(), separator).fType & MFT_SEPARATOR, 0U) << separator;
  }

  const std::vector<std::pair<std::int32_t, Cmd>> sizes{{64, MenuBoutons::kTaille64},
                                                        {48, MenuBoutons::kTaille48},
                                                        {32, MenuBoutons::kTaille32},
                                                        {16, MenuBoutons::kTaille16},
                                                        {24, MenuBoutons::kNone}};
  for (const auto& [taille, checked] : sizes) {
    menu.Popup(taille, taille == 48, taille != 32);
    for (Cmd c :
         {MenuBoutons::kTaille64, MenuBoutons::kTaille48, MenuBoutons::kTaille32, MenuBoutons::kTaille16}) {
      EXPECT_EQ(menu.IsChecked(c), c == checked) << "size " << taille << ", entry " << c;
      EXPECT_EQ(MenuBoutons::SizeOf(c) == taille, c == checked);
    }
    EXPECT_EQ(menu.IsChecked(MenuBoutons::kAfficherNom), taille == 48);
    EXPECT_EQ(menu.IsEnabled(MenuBoutons::kEnvoyerVers), taille != 32) << "only an icon button is sent";
    for (Cmd c : {MenuBoutons::kChangerIcone, MenuBoutons::kTaille64, MenuBoutons::kAfficherNom,
                  MenuBoutons::kSupprimer}) {
      EXPECT_TRUE(menu.IsEnabled(c)) << c;
    }
  }
  EXPECT_EQ(MenuBoutons::SizeOf(MenuBoutons::kSupprimer), 0);
  EXPECT_EQ(MenuBoutons::SizeOf(MenuBoutons::kNone), 0);
}

TEST_F(PopupMenuTest, SubmenusAndOwnerDrawnItemsFromTheTables) {
  win::PopupMenu menu;
  ASSERT_TRUE(menu.Build(SendMnuEntries()));
  ASSERT_EQ(::GetMenuItemCount(menu.handle()), 10);
  EXPECT_EQ(ItemText(menu.handle(), 4), L"Horizontal mosa\u00efc");
  HMENU screens = ItemInfo(menu.handle(), 7).hSubMenu;
  ASSERT_NE(screens, nullptr);
  ASSERT_EQ(::GetMenuItemCount(screens), 4);
  EXPECT_EQ(ItemText(screens, 3), L"Screen 4");
  menu.Enable(6, false);  // "Send app to..." without a virtual screens module
  EXPECT_FALSE(menu.IsEnabled(6));
  EXPECT_NE(::GetMenuState(menu.handle(), 7, MF_BYPOSITION) & MF_GRAYED, 0U);
  menu.Check(9, true);  // an entry of the submenu
  EXPECT_NE(::GetMenuState(screens, 2, MF_BYPOSITION) & MF_CHECKED, 0U);
  EXPECT_FALSE(menu.IsChecked(404)) << "an unknown tag";

  TConfig cfg;
  cfg.Poste = true;
  const std::vector<const MenuEntry*> entries = MainMenuEntries(cfg);
  ASSERT_TRUE(menu.Build(entries, {}, true));
  ASSERT_EQ(::GetMenuItemCount(menu.handle()), static_cast<int>(entries.size()));
  for (UINT i = 0; i < entries.size(); ++i) {
    const MENUITEMINFOW info = ItemInfo(menu.handle(), i);
    EXPECT_NE(info.fType & MFT_OWNERDRAW, 0U) << i;
    EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(entries[i])) << "the drawer finds its entry";
    EXPECT_EQ(menu.EntryOf(info.wID), entries[i]);
    EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, entries[i]->IsSeparator()) << i;
  }
  EXPECT_EQ(menu.EntryOf(0), nullptr);
}

TEST_F(PopupMenuTest, TrackGivesTheChosenEntryOnceTheMenuHasClosed) {
  MenuBoutons buttons;
  ASSERT_TRUE(buttons.Build());
  buttons.Popup(32, false, true);
  const Cmd size = Answer({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, [&] {
    return buttons.Track(owner_.get(), POINT{100, 100});
  });
  if (!g_sawMenu) GTEST_SKIP() << "the popup menu window could not be found while it was open";
  EXPECT_EQ(size, MenuBoutons::kTaille48) << "separators are skipped";
  HWND popup = ::FindWindowW(L"#32768", nullptr);
  EXPECT_TRUE(popup == nullptr || ::IsWindowVisible(popup) == FALSE) << "the menu is closed";
  EXPECT_EQ(Answer({}, [&] { return buttons.Track(owner_.get(), POINT{100, 100}); }), MenuBoutons::kNone);

  win::PopupMenu sendMnu;
  ASSERT_TRUE(sendMnu.Build(SendMnuEntries()));
  std::vector<WPARAM> keys(6, VK_DOWN);  // down to "Send app to..."
  keys.insert(keys.end(), {VK_RIGHT, VK_DOWN, VK_RETURN});
  const MenuEntry* screen = Answer(keys, [&] { return sendMnu.Track(owner_.get(), POINT{100, 100}); });
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->action, MenuAction::SendFenToScreen);
  EXPECT_EQ(screen->value, 2);
}

TEST_F(PopupMenuTest, PicturesAreOwnedAndRebuildingLeaksNothing) {
  int asked = 0;
  const win::PopupMenu::Pictures pictures = [&](const MenuEntry&) {
    ++asked;
    return win::Bitmap(::CreateBitmap(16, 16, 1, 32, nullptr));
  };
  win::PopupMenu menu;
  ASSERT_TRUE(menu.Build(MenuBoutonsEntries(), pictures));
  EXPECT_EQ(asked, 3) << "the three entries with an image";
  EXPECT_NE(ItemInfo(menu.handle(), 0).hbmpItem, nullptr);
  EXPECT_EQ(ItemInfo(menu.handle(), 2).hbmpItem, nullptr);

  const std::uint32_t before = test::GdiObjects();
  HMENU first = menu.handle();
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(menu.Build(MenuBoutonsEntries(), pictures));
  EXPECT_EQ(test::GdiObjects(), before);
  EXPECT_TRUE(first == menu.handle() || ::IsMenu(first) == FALSE) << "the previous menu is destroyed";
}

}  // namespace
}  // namespace ql
