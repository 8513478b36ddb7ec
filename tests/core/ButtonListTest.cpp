// The chains of button records: numbering, the three look-ups and the dispose operations.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ButtonListChecks.h"
#include "core/Bouton.h"

namespace {

using ql::ButtonData;
using ql::ButtonList;
using ql::TBouton;

ButtonData Btn(std::string cmd) { return ButtonData{"name " + cmd, cmd, "icon.ico", "", 0}; }

using ql::test::Describe;
using ql::test::ExpectLinksConsistent;

// A bar "A G B" where G has the members x and y, numbered.
struct BarWithGroup {
  ButtonList list;
  TBouton* a;
  TBouton* g;
  TBouton* b;
  TBouton* x;
  TBouton* y;
  BarWithGroup() {
    a = &list.Append(Btn("A"));
    g = &list.Append(Btn("G"));
    b = &list.Append(Btn("B"));
    x = &list.AppendMember(*g, Btn("x"));
    y = &list.AppendMember(*g, Btn("y"));
    list.RenumBtn(nullptr);
  }
};

TEST(ButtonList, EmptyListFindsNothing) {
  ButtonList list;
  list.InitPtr();
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.DernierBouton(), list.TeteBoutons());
  // The head record carries Numero 0 and an empty BtnApp, yet is never a match.
  EXPECT_EQ(list.FindPtr(0), nullptr);
  EXPECT_EQ(list.FindPtr(1), nullptr);
  EXPECT_EQ(list.GetBranchePtr(0), nullptr);
  TBouton sentinel;
  TBouton* out = &sentinel;
  EXPECT_FALSE(list.FindPtrText("", out));
  EXPECT_EQ(out, &sentinel);
  list.RenumBtn(nullptr);
  EXPECT_EQ(list.NbBoutons(), 0);
}

TEST(ButtonList, RenumberingPutsMembersAfterTheMainBar) {
  BarWithGroup bar;
  EXPECT_EQ(Describe(bar.list), "A#1 G#2[x#4 y#5] B#3");
  EXPECT_EQ(bar.list.NbBoutons(), 5);
  for (TBouton* r : {bar.a, bar.g, bar.b}) EXPECT_EQ(r->NumBranche, 0) << r->BtnApp;
  EXPECT_EQ(bar.x->NumBranche, 2);
  EXPECT_EQ(bar.y->NumBranche, 2);

  // Stale numbers from an earlier layout are all replaced.
  bar.a->Numero = 999;
  bar.x->NumBranche = 999;
  TBouton& c = bar.list.Append(Btn("C"));
  bar.list.AppendMember(c, Btn("z"));
  bar.list.RenumBtn(nullptr);
  EXPECT_EQ(Describe(bar.list), "A#1 G#2[x#5 y#6] B#3 C#4[z#7]");
  EXPECT_EQ(bar.x->NumBranche, 2);
  EXPECT_EQ(bar.list.FindPtr(7)->NumBranche, 4);
  EXPECT_EQ(bar.list.NbBoutons(), 7);
  ExpectLinksConsistent(bar.list);
}

TEST(ButtonList, FindPtrTestsEachRecordBeforeItsMembers) {
  BarWithGroup bar;
  EXPECT_EQ(bar.list.FindPtr(4), bar.x);
  EXPECT_EQ(bar.list.FindPtr(3), bar.b);
  EXPECT_EQ(bar.list.FindPtr(6), nullptr);

  // With numbers not yet renewed two records can share one: the walk order decides.
  bar.x->Numero = 2;  // G itself is 2
  EXPECT_EQ(bar.list.FindPtr(2), bar.g);
  bar.y->Numero = 3;  // B is 3, but G's members come before B
  EXPECT_EQ(bar.list.FindPtr(3), bar.y);
}

TEST(ButtonList, FindPtrTextReturnsTheFirstMatchInWalkOrder) {
  BarWithGroup bar;
  bar.x->BtnApp = "G";  // same command as its group
  bar.y->BtnApp = "B";  // same command as a later main-bar record
  TBouton* out = nullptr;
  ASSERT_TRUE(bar.list.FindPtrText("G", out));
  EXPECT_EQ(out, bar.g);
  ASSERT_TRUE(bar.list.FindPtrText("B", out));
  EXPECT_EQ(out, bar.y);
  ASSERT_TRUE(bar.list.FindPtrText("A", out));
  EXPECT_EQ(out, bar.a);

  // Exact comparison; a miss leaves the out value alone.
  TBouton* before = bar.b;
  out = before;
  EXPECT_FALSE(bar.list.FindPtrText("a", out));
  EXPECT_FALSE(bar.list.FindPtrText("A ", out));
  EXPECT_EQ(out, before);
}

TEST(ButtonList, GetBranchePtrFindsOnlyGroups) {
  BarWithGroup bar;
  EXPECT_EQ(bar.list.GetBranchePtr(2), bar.g);
  EXPECT_EQ(bar.list.GetBranchePtr(1), nullptr);  // plain button
  EXPECT_EQ(bar.list.GetBranchePtr(4), nullptr);  // a member is never searched
  EXPECT_EQ(bar.list.GetBranchePtr(9), nullptr);
  // Searched from the end: of two records with one number the later one answers.
  bar.b->Numero = 2;
  EXPECT_EQ(bar.list.GetBranchePtr(2), nullptr);
}

TEST(ButtonList, DisposingMembersRelinksTheBranch) {
  {
    BarWithGroup bar;
    bar.list.DisposeBouton(bar.x, false);  // first member: y becomes the first
    EXPECT_EQ(bar.g->Branche.get(), bar.y);
    EXPECT_EQ(bar.y->Precedent, bar.g);
    ExpectLinksConsistent(bar.list);
  }
  {
    BarWithGroup bar;
    TBouton* z = &bar.list.AppendMember(*bar.g, Btn("z"));
    bar.list.DisposeBouton(bar.y, false);  // middle member
    EXPECT_EQ(bar.x->Branche.get(), z);
    EXPECT_EQ(z->Precedent, bar.x);
    bar.list.RenumBtn(nullptr);
    EXPECT_EQ(Describe(bar.list), "A#1 G#2[x#4 z#5] B#3");
    ExpectLinksConsistent(bar.list);
  }
  {
    BarWithGroup bar;
    bar.list.DisposeBouton(bar.y, false);  // last member
    EXPECT_EQ(bar.x->Branche, nullptr);
    EXPECT_TRUE(bar.g->HasMembers());
    bar.list.DisposeBouton(bar.x, false);  // the only one left: G is a plain button again
    EXPECT_FALSE(bar.g->HasMembers());
    bar.list.RenumBtn(nullptr);
    EXPECT_EQ(Describe(bar.list), "A#1 G#2 B#3");
    EXPECT_EQ(bar.list.GetBranchePtr(2), nullptr);
    ExpectLinksConsistent(bar.list);
  }
}

TEST(ButtonList, DisposingMainBarRecordsKeepsTheChainAndTheLastRecord) {
  {
    BarWithGroup bar;
    bar.list.DisposeBouton(bar.a, true);  // first
    EXPECT_EQ(bar.list.First(), bar.g);
    EXPECT_EQ(bar.g->Precedent, bar.list.TeteBoutons());
    ExpectLinksConsistent(bar.list);
  }
  {
    BarWithGroup bar;
    TBouton* c = &bar.list.Append(Btn("C"));
    bar.list.DisposeBouton(bar.b, false);  // middle, plain
    EXPECT_EQ(bar.g->Suivant.get(), c);
    EXPECT_EQ(c->Precedent, bar.g);
    EXPECT_EQ(bar.list.DernierBouton(), c);
    ExpectLinksConsistent(bar.list);
  }
  {
    BarWithGroup bar;
    bar.list.DisposeBouton(bar.b, false);  // last
    EXPECT_EQ(bar.list.DernierBouton(), bar.g);
    EXPECT_EQ(bar.g->Suivant, nullptr);
    TBouton& c = bar.list.Append(Btn("C"));  // appending goes on after the new last record
    EXPECT_EQ(bar.g->Suivant.get(), &c);
    bar.list.RenumBtn(nullptr);
    EXPECT_EQ(Describe(bar.list), "A#1 G#2[x#4 y#5] C#3");
    ExpectLinksConsistent(bar.list);
  }
  {
    ButtonList list;  // the only record
    TBouton* only = &list.Append(Btn("A"));
    list.DisposeBouton(only, false);
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.DernierBouton(), list.TeteBoutons());
  }
}

TEST(ButtonList, DisposingAGroupWithItsBranchClosesUpTheNumbers) {
  BarWithGroup bar;
  bar.list.DisposeBouton(bar.g, true);
  bar.list.RenumBtn(nullptr);
  EXPECT_EQ(Describe(bar.list), "A#1 B#2");
  EXPECT_EQ(bar.list.NbBoutons(), 2);
  ExpectLinksConsistent(bar.list);

  // DisposeBranchePtr empties a group but leaves the group record to the caller.
  BarWithGroup other;
  other.list.DisposeBranchePtr(2);
  EXPECT_FALSE(other.g->HasMembers());
  other.list.DisposeBranchePtr(1);  // not a group: nothing happens
  other.list.RenumBtn(nullptr);
  EXPECT_EQ(Describe(other.list), "A#1 G#2 B#3");
}

TEST(ButtonList, DisposeAllPtrLeavesAnEmptyUsableList) {
  BarWithGroup bar;
  bar.list.BoutonSource = bar.x;
  bar.list.BoutonCible = bar.b;
  bar.list.DisposeAllPtr();
  EXPECT_TRUE(bar.list.Empty());
  EXPECT_EQ(bar.list.DernierBouton(), bar.list.TeteBoutons());
  EXPECT_EQ(bar.list.BoutonSource, nullptr);
  EXPECT_EQ(bar.list.BoutonCible, nullptr);
  bar.list.RenumBtn(nullptr);
  EXPECT_EQ(bar.list.NbBoutons(), 0);
  bar.list.Append(Btn("N"));
  bar.list.RenumBtn(nullptr);
  EXPECT_EQ(Describe(bar.list), "N#1");
}

TEST(ButtonList, LongChainsAreFreedWithoutDeepRecursion) {
  constexpr int kCount = 100000;
  {
    ButtonList list;
    for (int i = 0; i < kCount; ++i) list.Append(Btn("b"));
    TBouton& group = list.Append(Btn("g"));
    // AppendMember walks the branch each time; link the long branch directly instead.
    TBouton* last = &group;
    for (int i = 0; i < kCount; ++i) {
      last->Branche = std::make_unique<TBouton>();
      last->Branche->Precedent = last;
      last = last->Branche.get();
    }
    list.RenumBtn(nullptr);
    EXPECT_EQ(list.NbBoutons(), 2 * kCount + 1);
  }  // the destructor unwinds both chains
  {
    ButtonList list;
    for (int i = 0; i < kCount; ++i) list.Append(Btn("b"));
    list.DisposeAllPtr();
    EXPECT_TRUE(list.Empty());
  }
}

TEST(ButtonList, SharedPointersNeverOutliveTheirRecord) {
  {
    BarWithGroup bar;
    bar.list.BoutonSource = bar.a;
    bar.list.BoutonCible = bar.b;
    bar.list.DisposeBouton(bar.a, false);
    EXPECT_EQ(bar.list.BoutonSource, nullptr);
    EXPECT_EQ(bar.list.BoutonCible, bar.b);  // untouched
    bar.list.DisposeBouton(bar.b, false);
    EXPECT_EQ(bar.list.BoutonCible, nullptr);
  }
  {
    BarWithGroup bar;  // members freed with their group, with the branch flag
    bar.list.BoutonSource = bar.x;
    bar.list.BoutonCible = bar.y;
    bar.list.DisposeBouton(bar.g, true);
    EXPECT_EQ(bar.list.BoutonSource, nullptr);
    EXPECT_EQ(bar.list.BoutonCible, nullptr);
  }
  {
    BarWithGroup bar;  // and without it: the members still go with the group record
    bar.list.BoutonSource = bar.y;
    bar.list.BoutonCible = bar.a;
    bar.list.DisposeBouton(bar.g, false);
    EXPECT_EQ(bar.list.BoutonSource, nullptr);
    EXPECT_EQ(bar.list.BoutonCible, bar.a);
    ExpectLinksConsistent(bar.list);
  }
  {
    BarWithGroup bar;  // freeing a member leaves a pointer to the next member alone
    bar.list.BoutonSource = bar.y;
    bar.list.DisposeBouton(bar.x, false);
    EXPECT_EQ(bar.list.BoutonSource, bar.y);
  }
}

TEST(ButtonList, ModuleNamesAreComparedExactly) {
  EXPECT_EQ(ql::ModuleOf("Clock Quaylite"), ql::ModuleKind::Clock);
  EXPECT_EQ(ql::ModuleOf("Recycler"), ql::ModuleKind::Recycler);
  EXPECT_EQ(ql::ModuleOf("Virtual Desktop"), ql::ModuleKind::VirtualDesk);
  EXPECT_EQ(ql::ModuleOf("SysInfo"), ql::ModuleKind::SysInfo);
  EXPECT_EQ(ql::ModuleOf("sysinfo"), ql::ModuleKind::None);
  EXPECT_EQ(ql::ModuleOf("Recycler "), ql::ModuleKind::None);
  EXPECT_EQ(ql::ModuleOf("c:\\windows\\notepad.exe"), ql::ModuleKind::None);
}

}  // namespace
