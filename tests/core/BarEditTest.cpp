#include <gtest/gtest.h>

#include "core/BarEdit.h"

namespace ql {
namespace {

ButtonData Named(const std::string& name) {
  return ButtonData{name, "C:\\" + name + ".exe", "C:\\" + name + ".ico", name + ".bmp", 7};
}

// A bar of three with the second a group of two: 1, 2 (4, 5), 3.
struct Bar {
  Bar() {
    a = &list.Append(Named("a"));
    g = &list.Append(Named("g"));
    c = &list.Append(Named("c"));
    m1 = &list.AppendMember(*g, Named("m1"));
    m2 = &list.AppendMember(*g, Named("m2"));
    list.RenumBtn(nullptr);
  }
  ButtonList list;
  TBouton* a;
  TBouton* g;
  TBouton* c;
  TBouton* m1;
  TBouton* m2;
};

TEST(ExchangeButtons, GroupDraggedOntoAPlainButtonTakesItsMembersAlong) {
  Bar bar;
  ASSERT_EQ(ExchangeButtons(bar.g, bar.c), ExchangeKind::MainBar);
  EXPECT_EQ(bar.g->NomApp, "c");
  EXPECT_FALSE(bar.g->HasMembers());
  EXPECT_EQ(bar.c->NomApp, "g");
  EXPECT_EQ(bar.c->BtnApp, "C:\\g.exe");
  EXPECT_EQ(bar.c->Texture, "g.bmp");
  ASSERT_EQ(bar.c->Branche.get(), bar.m1);
  EXPECT_EQ(bar.m1->Precedent, bar.c);  // the first member points back at its new group
  EXPECT_EQ(bar.m2->Precedent, bar.m1);
  // The renumbering follows the bar: members now come after the third record.
  bar.list.RenumBtn(nullptr);
  EXPECT_EQ(bar.m1->Numero, 4);
  EXPECT_EQ(bar.m1->NumBranche, 3);
  EXPECT_EQ(bar.list.GetBranchePtr(3), bar.c);
  EXPECT_EQ(bar.list.GetBranchePtr(2), nullptr);
}

TEST(ExchangeButtons, MembersSwapPlacesInTheirBranch) {
  Bar bar;
  ASSERT_EQ(ExchangeButtons(bar.m2, bar.m1), ExchangeKind::Branch);
  EXPECT_EQ(bar.m1->NomApp, "m2");
  EXPECT_EQ(bar.m2->NomApp, "m1");
  EXPECT_EQ(bar.m1->IconIndex, 7);
  EXPECT_EQ(bar.g->Branche.get(), bar.m1);  // links untouched
  EXPECT_EQ(bar.m1->Branche.get(), bar.m2);
}

TEST(ExchangeButtons, NeverAcrossTheMainBarAndABranch) {
  Bar bar;
  EXPECT_EQ(ExchangeButtons(bar.a, bar.m1), ExchangeKind::None);
  EXPECT_EQ(ExchangeButtons(bar.m1, bar.a), ExchangeKind::None);
  EXPECT_EQ(ExchangeButtons(bar.a, bar.a), ExchangeKind::None);
  EXPECT_EQ(ExchangeButtons(bar.a, nullptr), ExchangeKind::None);
  EXPECT_EQ(bar.a->NomApp, "a");
  EXPECT_EQ(bar.m1->NomApp, "m1");
}

TEST(DeleteConfirmation, TextsPerKindOfTile) {
  Bar bar;
  EXPECT_EQ(DeleteConfirmation(TileKindOf(*bar.a), "Notepad"), "Delete button Notepad ?");
  EXPECT_EQ(DeleteConfirmation(TileKindOf(*bar.g), "Tools"), "Delete group Tools ?");
  TBouton& clock = bar.list.Append(ButtonData{"", "Clock Quaylite", "", "", 0});
  TBouton& desk = bar.list.Append(ButtonData{"", "Virtual Desktop", "", "", 0});
  TBouton& stat = bar.list.Append(ButtonData{"", "SysInfo", "", "", 0});
  TBouton& bin = bar.list.Append(ButtonData{"", "Recycler", "", "", 0});
  EXPECT_EQ(DeleteConfirmation(TileKindOf(clock), "Clock Quaylite"), "Delete Clock button ?");
  EXPECT_EQ(DeleteConfirmation(TileKindOf(desk), ""), "Delete Virtual screen button ?");
  EXPECT_EQ(DeleteConfirmation(TileKindOf(stat), ""), "Delete Infos RAM/CPU ?");
  EXPECT_EQ(DeleteConfirmation(TileKindOf(bin), ""), "Delete Recycle bin ?");
}

}  // namespace
}  // namespace ql
