#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/MenuTable.h"
#include "core/ShellMenu.h"

namespace ql {
namespace {

std::vector<int> Tags(const std::vector<const MenuEntry*>& entries) {
  std::vector<int> tags;
  for (const MenuEntry* e : entries) tags.push_back(e->tag);
  return tags;
}

TConfig AllShellEntries(bool on) {
  TConfig cfg;
  cfg.Poste = cfg.Net = cfg.Conf = cfg.Desk = cfg.Perso = cfg.Impr = cfg.Start = on;
  return cfg;
}

TEST(MainMenuEntries, SeparatorsOnlyBetweenGroupsThatShowSomething) {
  TConfig cfg = AllShellEntries(false);
  cfg.Format = false;
  EXPECT_EQ(Tags(MainMenuEntries(cfg)), (std::vector<int>{0, 11, 12, 13, 14, 15, 16, 17}))
      << "the title directly above \"Shutdown Computer\"";

  cfg.Format = true;
  EXPECT_EQ(Tags(MainMenuEntries(cfg)), (std::vector<int>{0, 9, 10, 11, 12, 13, 14, 15, 16, 17}));

  cfg.Perso = true;
  EXPECT_EQ(Tags(MainMenuEntries(cfg)), (std::vector<int>{0, 5, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));

  cfg = AllShellEntries(true);
  cfg.Format = false;
  EXPECT_EQ(Tags(MainMenuEntries(cfg)),
            (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16, 17}));

  for (const MenuEntry* e : MainMenuEntries(cfg)) {
    EXPECT_EQ(e, &ItemsMenuEntries()[e->tag]) << "slot " << e->tag << " is its own table row";
  }
}

TEST(MainMenuEntries, TheProgramsOwnLookHasNoSeparators) {
  TConfig cfg = AllShellEntries(true);
  cfg.KovaM = true;
  cfg.Format = true;
  EXPECT_EQ(Tags(MainMenuEntries(cfg)), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 9, 11, 12, 13, 15, 17}));
  cfg = AllShellEntries(false);
  cfg.KovaM = true;
  EXPECT_EQ(Tags(MainMenuEntries(cfg)), (std::vector<int>{0, 11, 12, 13, 15, 17}));
}

TEST(MainMenuEntries, EachOptionShowsItsOwnEntry) {
  const std::vector<std::pair<bool TConfig::*, int>> options{
      {&TConfig::Poste, 1}, {&TConfig::Net, 2},  {&TConfig::Conf, 3},  {&TConfig::Desk, 4},
      {&TConfig::Perso, 5}, {&TConfig::Impr, 6}, {&TConfig::Start, 7}, {&TConfig::Format, 9}};
  for (const auto& [option, tag] : options) {
    TConfig cfg = AllShellEntries(false);
    cfg.Format = false;
    cfg.*option = true;
    const std::vector<int> tags = Tags(MainMenuEntries(cfg));
    ASSERT_GE(tags.size(), 2U);
    EXPECT_EQ(tags[1], tag);
    EXPECT_EQ(tags.size(), 10U) << "one entry and its separator more, for tag " << tag;
  }
}

TEST(ItemsMenu, TagsGiveTheCommandsAndTheShellFolders) {
  const auto slots = ItemsMenuEntries();
  ASSERT_EQ(slots.size(), 18U);
  const std::vector<std::pair<int, std::int32_t>> folders{
      {1, kCsidlDrives},   {2, kCsidlNetwork},  {3, kCsidlControls}, {4, kCsidlDesktop},
      {5, kCsidlPersonal}, {6, kCsidlPrinters}, {7, kCsidlPrograms}};
  for (const auto& [tag, folder] : folders) {
    EXPECT_EQ(slots[tag].action, MenuAction::ShellFolder) << tag;
    EXPECT_EQ(slots[tag].value, folder) << tag;
  }
  EXPECT_EQ(kCsidlDrives, 17);
  EXPECT_EQ(kCsidlNetwork, 18);
  EXPECT_EQ(kCsidlPrograms, 2) << "the start menu's programs folder";
  EXPECT_EQ(slots[0].action, MenuAction::None) << "the title does nothing";
  EXPECT_EQ(slots[9].action, MenuAction::FormatFloppy);
  EXPECT_EQ(slots[11].action, MenuAction::ShutdownComputer);
  EXPECT_EQ(slots[12].action, MenuAction::RestartComputer);
  EXPECT_EQ(slots[13].action, MenuAction::LogoutComputer);
  EXPECT_EQ(slots[15].action, MenuAction::Configuration);
  EXPECT_EQ(slots[17].action, MenuAction::ShutdownQuaylite);
  for (int sep : {8, 10, 14, 16}) {
    EXPECT_TRUE(slots[sep].IsSeparator());
    EXPECT_EQ(slots[sep].action, MenuAction::None);
  }
}

TEST(ItemsMenu, ShellEntriesOpenTheRootsWhoseTitleIsTheirCaption) {
  const auto slots = ItemsMenuEntries();
  const std::vector<std::pair<int, TCSIDL>> roots{{1, TCSIDL::CSID_DRIVES},   {2, TCSIDL::CSID_NETWORK},
                                                  {3, TCSIDL::CSID_CONTROLS}, {4, TCSIDL::CSID_DESKTOP},
                                                  {5, TCSIDL::CSID_PERSONAL}, {6, TCSIDL::CSID_PRINTERS},
                                                  {7, TCSIDL::CSID_PROGRAMS}};
  for (const auto& [tag, root] : roots) {
    const TCSIDL opened = ShellRootOfFolder(slots[tag].value);
    EXPECT_EQ(opened, root) << tag;
    // The shell menu's title is the entry that opened it.
    EXPECT_EQ(ShellMenuTitle(ShellRootOf(opened).titleIndex), slots[tag].caption) << tag;
  }
  EXPECT_EQ(ShellRootOfFolder(0x26), TCSIDL::CSID_DESKTOP) << "a folder no root lists";
  EXPECT_EQ(ShellRootOfFolder(20), TCSIDL::CSID_FONTS);
}

TEST(MenuBoutons, SizeEntriesCarryTheSizeTheirCaptionShows) {
  std::vector<std::int32_t> sizes;
  for (const MenuEntry& e : MenuBoutonsEntries()) {
    if (e.action != MenuAction::TailleIcone) continue;
    sizes.push_back(e.value);
    const std::string n = std::to_string(e.value);
    EXPECT_EQ(e.caption, "Icon Size " + n + "*" + n);
  }
  EXPECT_EQ(sizes, (std::vector<std::int32_t>{64, 48, 32, 16}));
  EXPECT_EQ(MenuBoutonsEntries().size(), 12U);
}

// Tags must stay unique for a menu to map a choice back to its entry.
TEST(MenuTables, TagsAreUniqueAndFoundThroughSubmenus) {
  for (const auto entries : {MenuBoutonsEntries(), ItemsMenuEntries(), SendMnuEntries()}) {
    std::set<int> seen;
    const auto check = [&](std::span<const MenuEntry> list, const auto& self) -> void {
      for (const MenuEntry& e : list) {
        if (e.IsSeparator()) continue;
        EXPECT_TRUE(seen.insert(e.tag).second) << "tag " << e.tag << " twice";
        EXPECT_EQ(FindMenuEntry(entries, e.tag), &e);
        self(e.submenu, self);
      }
    };
    check(entries, check);
  }
  EXPECT_EQ(SendMnuEntries().size(), 10U);
  const MenuEntry* sendTo = FindMenuEntry(SendMnuEntries(), 6);
  ASSERT_NE(sendTo, nullptr);
  EXPECT_EQ(sendTo->caption, "Send app to...");
  ASSERT_EQ(sendTo->submenu.size(), 4U);
  for (int screen = 1; screen <= 4; ++screen) {
    const MenuEntry& e = sendTo->submenu[static_cast<std::size_t>(screen - 1)];
    EXPECT_EQ(e.action, MenuAction::SendFenToScreen);
    EXPECT_EQ(e.value, screen);
    EXPECT_EQ(e.caption, "Screen " + std::to_string(screen));
  }
  EXPECT_EQ(FindMenuEntry(SendMnuEntries(), 0), nullptr) << "separators are never found";
}

}  // namespace
}  // namespace ql
