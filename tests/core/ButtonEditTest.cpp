// The two button dialogs' model side: the send-to list and move, and the properties write-back.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "ButtonListChecks.h"
#include "core/Bouton.h"
#include "core/ButtonEdit.h"

namespace {

using ql::ButtonData;
using ql::ButtonList;
using ql::PropertiesResult;
using ql::TBouton;

ButtonData Btn(std::string cmd, std::string name = {}) {
  std::string icon = cmd + ".exe";
  return ButtonData{std::move(name), std::move(cmd), std::move(icon), "", 0};
}

using ql::test::Describe;
using ql::test::ExpectLinksConsistent;

// A bar "A G B" where G holds x and y, numbered 1..5.
struct Bar {
  ButtonList list;
  TBouton* a;
  TBouton* g;
  TBouton* b;
  TBouton* x;
  TBouton* y;
  Bar() {
    a = &list.Append(Btn("A", "Alpha"));
    g = &list.Append(Btn("G", "Group"));
    b = &list.Append(Btn("B"));
    list.RenumBtn(nullptr);
    x = &list.AppendMember(*g, Btn("x", "ex"));
    y = &list.AppendMember(*g, Btn("y", "why"));
    list.RenumBtn(nullptr);
  }
};

// ---- the destination list --------------------------------------------------------------------

TEST(SendToLines, MainDockThenMainBarNamesWithTheSourceLeftOut) {
  Bar bar;
  EXPECT_EQ(ql::SendToLines(bar.list, bar.a), (std::vector<std::string>{"Main Dock", "Group", "B"}));
  EXPECT_EQ(ql::SendToLines(bar.list, bar.b), (std::vector<std::string>{"Main Dock", "Alpha", "Group"}));
  // A member matches no main-bar number: every record is offered, its own group included.
  EXPECT_EQ(ql::SendToLines(bar.list, bar.x), (std::vector<std::string>{"Main Dock", "Alpha", "Group", "B"}));
}

TEST(SendToLines, ModulesByKindAndVirtualScreensImpossible) {
  ButtonList list;
  list.Append(ButtonData{"", "Clock Quaylite", "", "", 0});
  list.Append(ButtonData{"", "Virtual Desktop", "", "", 0});
  list.Append(ButtonData{"", "SysInfo", "", "", 0});
  list.Append(ButtonData{"", "Recycler", "C:\\RECYCLED", "", 0});
  // A named virtual screens module is still impossible: the kind decides, not the name.
  list.Append(ButtonData{"Screens", "Virtual Desktop", "", "", 0});
  // Only the exact kind name is a module.
  list.Append(ButtonData{"", "virtual desktop", "", "", 0});
  TBouton& src = list.Append(Btn("S", "Source"));
  list.RenumBtn(nullptr);
  EXPECT_EQ(ql::SendToLines(list, &src),
            (std::vector<std::string>{"Main Dock", "Clock Quaylite", "- IMPOSSIBLE -", "SysInfo", "Recycler",
                                      "- IMPOSSIBLE -", "virtual desktop"}));
}

TEST(SendToLines, EmptyBarOffersOnlyTheMainDock) {
  ButtonList list;
  EXPECT_EQ(ql::SendToLines(list, nullptr), (std::vector<std::string>{"Main Dock"}));
  TBouton& only = list.Append(Btn("A"));
  list.RenumBtn(nullptr);
  EXPECT_EQ(ql::SendToLines(list, &only), (std::vector<std::string>{"Main Dock"}));
}

// ---- choosing a line -------------------------------------------------------------------------

TEST(SendToChoice, LinesMapToRecordsSkippingTheSource) {
  Bar bar;
  const auto main = ql::SendToChoice(bar.list, bar.a, 0);
  EXPECT_TRUE(main.selected);
  EXPECT_EQ(main.target, nullptr);
  EXPECT_TRUE(main.okEnabled);
  EXPECT_EQ(main.caption, "");

  const auto first = ql::SendToChoice(bar.list, bar.a, 1);
  EXPECT_TRUE(first.selected);
  EXPECT_EQ(first.target, bar.g);  // A is the source: line 1 is G
  EXPECT_TRUE(first.okEnabled);
  EXPECT_EQ(first.caption, "");  // named records show no caption

  const auto second = ql::SendToChoice(bar.list, bar.a, 2);
  EXPECT_EQ(second.target, bar.b);
  EXPECT_EQ(second.caption, "B");  // no name: its command is the caption

  const auto fromB = ql::SendToChoice(bar.list, bar.b, 2);
  EXPECT_EQ(fromB.target, bar.g);
}

TEST(SendToChoice, LinesPastTheListOrNegativeSelectNothing) {
  Bar bar;
  for (int line : {3, 4, 100, -1, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
    const auto pick = ql::SendToChoice(bar.list, bar.a, line);
    EXPECT_FALSE(pick.selected) << line;
    EXPECT_EQ(pick.target, nullptr) << line;
  }
  EXPECT_TRUE(ql::SendToChoice(bar.list, bar.a, 2).selected);  // the last real line
}

TEST(SendToChoice, VirtualScreensDisablesOkOthersEnableIt) {
  ButtonList list;
  TBouton& src = list.Append(Btn("S", "Source"));
  TBouton& vd = list.Append(ButtonData{"", "Virtual Desktop", "", "", 0});
  TBouton& clock = list.Append(ButtonData{"", "Clock Quaylite", "", "", 0});
  TBouton& stat = list.Append(ButtonData{"", "SysInfo", "", "", 0});
  TBouton& bin = list.Append(ButtonData{"", "Recycler", "", "", 0});
  list.RenumBtn(nullptr);

  const auto v = ql::SendToChoice(list, &src, 1);
  EXPECT_TRUE(v.selected);
  EXPECT_EQ(v.target, &vd);  // still the chosen record
  EXPECT_FALSE(v.okEnabled);
  EXPECT_EQ(v.caption, "Virtual ");

  EXPECT_EQ(ql::SendToChoice(list, &src, 2).target, &clock);
  EXPECT_EQ(ql::SendToChoice(list, &src, 3).target, &stat);
  EXPECT_EQ(ql::SendToChoice(list, &src, 4).target, &bin);
  for (int line = 0; line <= 4; ++line) {
    if (line == 1) continue;
    EXPECT_TRUE(ql::SendToChoice(list, &src, line).okEnabled) << line;
  }
  EXPECT_EQ(ql::SendToChoice(list, &src, 3).caption, "SysInfo");
}

TEST(VirtualDeskCaption, UpToAndIncludingTheFirstBlank) {
  EXPECT_EQ(ql::VirtualDeskCaption("Virtual Desktop"), "Virtual ");
  EXPECT_EQ(ql::VirtualDeskCaption("a b c"), "a ");
  EXPECT_EQ(ql::VirtualDeskCaption(" lead"), " ");
  EXPECT_EQ(ql::VirtualDeskCaption("NoBlank"), "");
  EXPECT_EQ(ql::VirtualDeskCaption(""), "");
}

// ---- the move --------------------------------------------------------------------------------

TEST(SendTo, MemberToMainDockBecomesTheLastButton) {
  Bar bar;
  bar.list.BoutonSource = bar.x;
  ql::SendTo(bar.list, bar.x, nullptr);
  ExpectLinksConsistent(bar.list);
  ASSERT_NE(bar.list.BoutonCible, nullptr);
  EXPECT_EQ(bar.list.BoutonCible, bar.list.DernierBouton());
  EXPECT_EQ(bar.list.BoutonCible->Numero, 999);  // until the bar is renumbered
  EXPECT_EQ(bar.list.BoutonCible->NumBranche, 999);
  EXPECT_EQ(bar.list.BoutonSource, nullptr);  // the source record is gone
  bar.list.RenumBtn(nullptr);
  EXPECT_EQ(Describe(bar.list), "A#1 G#2[y#5] B#3 x#4");
}

TEST(SendTo, LastMemberToMainDockLeavesAPlainButton) {
  ButtonList list;
  TBouton& g = list.Append(Btn("G"));
  list.RenumBtn(nullptr);
  TBouton& only = list.AppendMember(g, Btn("m"));
  list.RenumBtn(nullptr);
  ql::SendTo(list, &only, nullptr);
  list.RenumBtn(nullptr);
  ExpectLinksConsistent(list);
  EXPECT_EQ(Describe(list), "G#1 m#2");
  EXPECT_FALSE(g.HasMembers());
}

TEST(SendTo, PlainButtonToPlainButtonMakesAGroup) {
  Bar bar;
  ql::SendTo(bar.list, bar.a, bar.b);
  ExpectLinksConsistent(bar.list);
  EXPECT_TRUE(bar.b->HasMembers());
  EXPECT_EQ(bar.list.BoutonCible, bar.b->Branche.get());
  EXPECT_EQ(bar.b->Branche->Precedent, bar.b);
  bar.list.RenumBtn(nullptr);
  EXPECT_EQ(Describe(bar.list), "G#1[x#3 y#4] B#2[A#5]");
}

TEST(SendTo, IntoAGroupGoesAfterItsLastMember) {
  Bar bar;
  ql::SendTo(bar.list, bar.b, bar.g);
  bar.list.RenumBtn(nullptr);
  ExpectLinksConsistent(bar.list);
  EXPECT_EQ(Describe(bar.list), "A#1 G#2[x#3 y#4 B#5]");
}

TEST(SendTo, MemberToItsOwnGroupMovesToItsEnd) {
  Bar bar;
  ql::SendTo(bar.list, bar.x, bar.g);
  bar.list.RenumBtn(nullptr);
  ExpectLinksConsistent(bar.list);
  EXPECT_EQ(Describe(bar.list), "A#1 G#2[y#4 x#5] B#3");

  // The last member sent to its own group stays where it is.
  TBouton* last = ButtonList::Members(*bar.g).back();
  ql::SendTo(bar.list, last, bar.g);
  bar.list.RenumBtn(nullptr);
  ExpectLinksConsistent(bar.list);
  EXPECT_EQ(Describe(bar.list), "A#1 G#2[y#4 x#5] B#3");
}

TEST(SendTo, MemberToAnotherGroup) {
  Bar bar;
  TBouton& m = bar.list.AppendMember(*bar.a, Btn("m"));
  bar.list.RenumBtn(nullptr);
  ql::SendTo(bar.list, bar.y, bar.a);
  bar.list.RenumBtn(nullptr);
  ExpectLinksConsistent(bar.list);
  EXPECT_EQ(Describe(bar.list), "A#1[m#4 y#5] G#2[x#6] B#3");
  EXPECT_EQ(m.Branche.get(), bar.list.BoutonCible);
}

TEST(SendTo, MainBarButtonToMainDockMovesToTheEnd) {
  Bar bar;
  ql::SendTo(bar.list, bar.a, nullptr);
  bar.list.RenumBtn(nullptr);
  ExpectLinksConsistent(bar.list);
  EXPECT_EQ(Describe(bar.list), "G#1[x#4 y#5] B#2 A#3");
}

TEST(SendTo, TheNewRecordKeepsNameCommandIconIndexAndTexture) {
  ButtonList list;
  TBouton& src = list.Append(
      ButtonData{"Notepad", "C:\\WINDOWS\\NOTEPAD.EXE|a.txt", "C:\\icons\\n.dll", "C:\\tex\\wood.bmp", 7});
  TBouton& dst = list.Append(Btn("D"));
  list.RenumBtn(nullptr);
  ql::SendTo(list, &src, &dst);
  ASSERT_TRUE(dst.HasMembers());
  const TBouton& moved = *dst.Branche;
  EXPECT_EQ(moved.NomApp, "Notepad");
  EXPECT_EQ(moved.BtnApp, "C:\\WINDOWS\\NOTEPAD.EXE|a.txt");
  EXPECT_EQ(moved.IconPath, "C:\\icons\\n.dll");
  EXPECT_EQ(moved.IconIndex, 7);
  EXPECT_EQ(moved.Texture, "C:\\tex\\wood.bmp");
  EXPECT_FALSE(moved.HasMembers());
  EXPECT_EQ(moved.Suivant, nullptr);
  list.RenumBtn(nullptr);
  EXPECT_EQ(moved.NumBranche, dst.Numero);
}

TEST(SendTo, AGroupOrTheSourceItselfChangesNothing) {
  Bar bar;
  ql::SendTo(bar.list, bar.g, nullptr);  // the menu never sends a group; its members would be lost
  ql::SendTo(bar.list, bar.g, bar.a);
  ql::SendTo(bar.list, bar.a, bar.a);
  ql::SendTo(bar.list, nullptr, bar.a);
  ql::SendTo(bar.list, bar.list.TeteBoutons(), nullptr);
  ExpectLinksConsistent(bar.list);
  EXPECT_EQ(Describe(bar.list), "A#1 G#2[x#4 y#5] B#3");
  EXPECT_EQ(bar.list.BoutonCible, nullptr);
}

TEST(SendTo, ChoosingALineThenMovingFollowsTheList) {
  // What the dialog and the menu do together: pick line 2 for A ("B"), then move.
  Bar bar;
  bar.list.BoutonSource = bar.a;
  const auto pick = ql::SendToChoice(bar.list, bar.a, 2);
  ASSERT_TRUE(pick.selected);
  bar.list.BoutonCible = pick.target;
  ql::SendTo(bar.list, bar.list.BoutonSource, bar.list.BoutonCible);
  bar.list.RenumBtn(nullptr);
  EXPECT_EQ(Describe(bar.list), "G#1[x#3 y#4] B#2[A#5]");
}

// ---- properties: what can be edited ----------------------------------------------------------

TEST(Properties, EditableFieldsFollowTheTileKind) {
  for (auto kind : {ql::TileKind::Button, ql::TileKind::Group}) {
    const auto all = ql::EditableFields(kind);
    EXPECT_TRUE(all.Nom && all.Icone && all.Chemin && all.Autre);
  }
  const auto recycler = ql::EditableFields(ql::TileKind::Recycler);
  EXPECT_FALSE(recycler.Nom);
  EXPECT_TRUE(recycler.Icone);
  EXPECT_FALSE(recycler.Chemin);
  EXPECT_TRUE(recycler.Autre);
  for (auto kind : {ql::TileKind::Clock, ql::TileKind::VirtualDesk, ql::TileKind::SysInfo}) {
    const auto module = ql::EditableFields(kind);
    EXPECT_FALSE(module.Nom || module.Icone || module.Chemin || module.Autre);
  }
}

// ---- properties: opening and stepping --------------------------------------------------------

TEST(Properties, OpeningShowsIndex999AsZero) {
  EXPECT_EQ(ql::InitialIconIndex(999), 0);
  EXPECT_EQ(ql::InitialIconIndex(0), 0);
  EXPECT_EQ(ql::InitialIconIndex(5), 5);
  EXPECT_EQ(ql::InitialIconIndex(998), 998);
  EXPECT_EQ(ql::InitialIconIndex(-2), -2);
}

TEST(Properties, SteppingIsOffForIconFilesInAnyCase) {
  EXPECT_TRUE(ql::IconSteppingEnabled("C:\\WINDOWS\\SYSTEM\\SHELL32.DLL"));
  EXPECT_TRUE(ql::IconSteppingEnabled(""));
  EXPECT_TRUE(ql::IconSteppingEnabled("C:\\doc.ic"));
  EXPECT_FALSE(ql::IconSteppingEnabled("C:\\icons\\a.ico"));
  EXPECT_FALSE(ql::IconSteppingEnabled("C:\\ICONS\\A.ICO"));
  // A substring test on the whole text: a folder name counts too.
  EXPECT_FALSE(ql::IconSteppingEnabled("C:\\my.icons\\app.exe"));
}

TEST(Properties, PreviousStepsDownToZeroThenDisables) {
  auto s = ql::StepPrevious(2);
  EXPECT_EQ(s.index, 1);
  EXPECT_TRUE(s.moved);
  EXPECT_TRUE(s.precEnabled);
  s = ql::StepPrevious(s.index);
  EXPECT_EQ(s.index, 0);
  EXPECT_TRUE(s.moved);
  EXPECT_TRUE(s.precEnabled);  // reaching 0 leaves it enabled; the next press disables it
  s = ql::StepPrevious(s.index);
  EXPECT_EQ(s.index, 0);
  EXPECT_FALSE(s.moved);
  EXPECT_FALSE(s.precEnabled);

  s = ql::StepPrevious(999);  // a dropped file's index counts as 0
  EXPECT_EQ(s.index, 0);
  EXPECT_FALSE(s.moved);
  EXPECT_FALSE(s.precEnabled);

  s = ql::StepPrevious(-4);
  EXPECT_EQ(s.index, -4);
  EXPECT_FALSE(s.moved);

  s = ql::StepPrevious(1000);
  EXPECT_EQ(s.index, 999);
  EXPECT_TRUE(s.moved);
}

TEST(Properties, NextHasNoUpperBoundAndEnablesPrevious) {
  auto s = ql::StepNext(0);
  EXPECT_EQ(s.index, 1);
  EXPECT_TRUE(s.moved);
  EXPECT_TRUE(s.precEnabled);
  EXPECT_EQ(ql::StepNext(998).index, 999);
  EXPECT_EQ(ql::StepNext(999).index, 1000);
  EXPECT_EQ(ql::StepNext(-1).index, 0);
  const auto top = ql::StepNext(std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(top.index, std::numeric_limits<std::int32_t>::max());
  EXPECT_FALSE(top.moved);
}

TEST(Properties, IconBrowserStartsInTheFolderWithTheFittingFilter) {
  auto s = ql::IconBrowseFor("C:\\Icons\\app.ICO");
  EXPECT_EQ(s.folder, "C:\\Icons\\");
  EXPECT_EQ(s.fileName, "app.ICO");
  EXPECT_EQ(s.filterIndex, 1);
  EXPECT_EQ(ql::IconBrowseFor("C:\\W\\shell32.dll").filterIndex, 2);
  EXPECT_EQ(ql::IconBrowseFor("C:\\W\\NOTEPAD.EXE").filterIndex, 2);
  EXPECT_EQ(ql::IconBrowseFor("C:\\W\\lib.icl").filterIndex, 3);
  EXPECT_EQ(ql::IconBrowseFor("C:\\doc.txt").filterIndex, 3);
  EXPECT_EQ(ql::IconBrowseFor("").filterIndex, 3);
  // Only the file name's own extension counts.
  s = ql::IconBrowseFor("C:\\tools.exe\\readme");
  EXPECT_EQ(s.fileName, "readme");
  EXPECT_EQ(s.filterIndex, 3);
  EXPECT_EQ(ql::IconBrowseFor("C:\\a.ico.txt").filterIndex, 3);
  s = ql::IconBrowseFor("D:pic.ico");
  EXPECT_EQ(s.folder, "D:");
  EXPECT_EQ(s.fileName, "pic.ico");
  s = ql::IconBrowseFor("plain.dll");
  EXPECT_EQ(s.folder, "");
  EXPECT_EQ(s.fileName, "plain.dll");
}

// ---- properties: after OK --------------------------------------------------------------------

// The whole exchange after OK, as the dock runs it: the dialog's OK, the fields, then the texture.
bool RunOk(TBouton& rec, const PropertiesResult& r) {
  const std::string before = rec.Texture;
  ql::ApplyPropertiesOk(rec, r);
  ql::ApplyEditedFields(rec, r);
  return ql::ApplyTextureChoice(rec, r, before);
}

PropertiesResult ResultFor(const TBouton& rec) {
  PropertiesResult r;
  r.Nom = rec.NomApp;
  r.Icone = rec.IconPath;
  r.Chemin = rec.BtnApp;
  r.IconIndexEdite = ql::InitialIconIndex(rec.IconIndex);
  r.PictureFileName = rec.Texture;
  r.SameTexture = rec.Texture.empty();
  return r;
}

TEST(PropertiesOk, DroppedFileIndexIsStoredAsZeroUnlessAnIconFile) {
  TBouton rec;
  rec.BtnApp = "C:\\APP\\RUN.EXE";
  rec.IconPath = "C:\\APP\\RUN.EXE";
  rec.IconIndex = 999;
  EXPECT_FALSE(RunOk(rec, ResultFor(rec)));
  EXPECT_EQ(rec.IconIndex, 0);

  TBouton ico;
  ico.IconPath = "C:\\icons\\a.ico";
  ico.IconIndex = 999;
  RunOk(ico, ResultFor(ico));
  EXPECT_EQ(ico.IconIndex, 999);
}

TEST(PropertiesOk, IconTestAtOkIsCaseSensitive) {
  TBouton rec;
  rec.IconIndex = 4;
  PropertiesResult r = ResultFor(rec);
  r.IconIndexEdite = 9;

  r.Icone = "C:\\icons\\a.ico";
  ql::ApplyPropertiesOk(rec, r);
  EXPECT_EQ(rec.IconIndex, 4);

  r.Icone = "C:\\ICONS\\A.ICO";  // stepping is off for it, yet the index is stored
  EXPECT_FALSE(ql::IconSteppingEnabled(r.Icone));
  ql::ApplyPropertiesOk(rec, r);
  EXPECT_EQ(rec.IconIndex, 9);

  r.Icone = "C:\\WINDOWS\\SYSTEM\\SHELL32.DLL";
  r.IconIndexEdite = 23;
  ql::ApplyPropertiesOk(rec, r);
  EXPECT_EQ(rec.IconIndex, 23);
}

TEST(PropertiesOk, EmptyPathKeepsTheCommandEmptyNameIsStored) {
  TBouton rec;
  rec.NomApp = "Notepad";
  rec.BtnApp = "C:\\WINDOWS\\NOTEPAD.EXE";
  rec.IconPath = "C:\\WINDOWS\\NOTEPAD.EXE";
  PropertiesResult r = ResultFor(rec);
  r.Nom = "";
  r.Chemin = "";
  r.Icone = "C:\\icons\\pad.ico";
  RunOk(rec, r);
  EXPECT_EQ(rec.NomApp, "");
  EXPECT_EQ(rec.BtnApp, "C:\\WINDOWS\\NOTEPAD.EXE");
  EXPECT_EQ(rec.IconPath, "C:\\icons\\pad.ico");

  r.Chemin = "C:\\WINDOWS\\WRITE.EXE|x.txt";
  r.Nom = "Write";
  RunOk(rec, r);
  EXPECT_EQ(rec.BtnApp, "C:\\WINDOWS\\WRITE.EXE|x.txt");
  EXPECT_EQ(rec.NomApp, "Write");
}

TEST(PropertiesOk, PickedTextureThenSameTextureEndsEmpty) {
  TBouton rec;  // no texture of its own
  PropertiesResult r = ResultFor(rec);
  r.TextureChoisie = true;
  r.PictureFileName = "C:\\tex\\wood.bmp";
  r.SameTexture = true;
  ql::ApplyPropertiesOk(rec, r);
  EXPECT_EQ(rec.Texture, "C:\\tex\\wood.bmp");  // the dialog's OK stores the pick ...
  ql::ApplyEditedFields(rec, r);
  EXPECT_FALSE(ql::ApplyTextureChoice(rec, r, ""));
  EXPECT_EQ(rec.Texture, "");  // ... and the opener's last step overrides it

  TBouton own;
  own.Texture = "C:\\tex\\old.bmp";
  PropertiesResult o = ResultFor(own);
  o.TextureChoisie = true;
  o.PictureFileName = "C:\\tex\\new.bmp";
  o.SameTexture = true;
  EXPECT_TRUE(RunOk(own, o));  // the own texture went: the bar is drawn again
  EXPECT_EQ(own.Texture, "");
}

TEST(PropertiesOk, TextureChoiceDecidesTheRedraw) {
  TBouton rec;
  rec.Texture = "C:\\tex\\old.bmp";
  // Reopened and confirmed unchanged: no redraw.
  EXPECT_FALSE(RunOk(rec, ResultFor(rec)));
  EXPECT_EQ(rec.Texture, "C:\\tex\\old.bmp");

  // A new pick, SameTexture left unchecked.
  PropertiesResult r = ResultFor(rec);
  r.TextureChoisie = true;
  r.PictureFileName = "C:\\tex\\new.bmp";
  EXPECT_TRUE(RunOk(rec, r));
  EXPECT_EQ(rec.Texture, "C:\\tex\\new.bmp");

  // Unchecking SameTexture without a pick takes the chooser's last file name, even one left
  // from another button's opening.
  TBouton plain;
  PropertiesResult p = ResultFor(plain);
  p.PictureFileName = "C:\\tex\\left.bmp";
  p.SameTexture = false;
  EXPECT_TRUE(RunOk(plain, p));
  EXPECT_EQ(plain.Texture, "C:\\tex\\left.bmp");
}

TEST(PropertiesOk, ModuleRecordsAreWrittenBackUnchanged) {
  TBouton clock;
  clock.BtnApp = "Clock Quaylite";
  clock.IconIndex = 0;
  PropertiesResult r = ResultFor(clock);  // disabled fields keep the record's texts
  r.TextureChoisie = true;
  r.PictureFileName = "C:\\tex\\clock.bmp";
  r.SameTexture = false;
  EXPECT_TRUE(RunOk(clock, r));
  EXPECT_EQ(clock.BtnApp, "Clock Quaylite");
  EXPECT_EQ(clock.NomApp, "");
  EXPECT_EQ(clock.IconPath, "");
  EXPECT_EQ(clock.IconIndex, 0);
  EXPECT_EQ(clock.Texture, "C:\\tex\\clock.bmp");
}

}  // namespace
