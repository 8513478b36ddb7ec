#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TaskFixture.h"
#include "core/TaskList.h"

namespace ql {
namespace {

using test::FakeWindow;
using test::TaskDesk;
using Place = TaskDesk::Place;

TConfigTask LabelStyle() {
  TConfigTask cfg;
  cfg.SmallStyle = true;
  return cfg;
}

TEST(TaskLayout, LabelButtonsFillRowsUpToTheNotificationArea) {
  TaskDesk d(LabelStyle());
  const std::vector<WindowId> w = d.system.OpenMany(7, FakeWindow().Titled("Notepad"));
  d.Tick();
  ASSERT_EQ(d.maker.made, w);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(d.PlaceOf(w[i]), (Place{130 * i, 748})) << i;
  EXPECT_EQ(d.PlaceOf(w[6]), (Place{0, 728}));
}

TEST(TaskLayout, EighteenTilesToARowAndRowsStackUpwards) {
  TaskDesk d;
  const std::vector<WindowId> w = d.system.OpenMany(19);
  d.Tick();
  for (int i = 0; i < 18; ++i) EXPECT_EQ(d.PlaceOf(w[i]), (Place{48 * i, 720})) << i;
  EXPECT_EQ(d.PlaceOf(w[18]), (Place{0, 672}));
}

TEST(TaskLayout, ARowEndingExactlyAtTheLimitWraps) {
  TaskDesk d(LabelStyle());
  d.screen.trayLeft = 261;
  const std::vector<WindowId> w = d.system.OpenMany(3);
  d.Tick();
  EXPECT_EQ(d.PlaceOf(w[1]), (Place{130, 748}));
  EXPECT_EQ(d.PlaceOf(w[2]), (Place{0, 728}));

  TaskDesk exact(LabelStyle());
  exact.screen.trayLeft = 260;
  const std::vector<WindowId> e = exact.system.OpenMany(2);
  exact.Tick();
  EXPECT_EQ(exact.PlaceOf(e[1]), (Place{0, 728}));

  // Without the notification area the row runs to the screen's width.
  TConfigTask big;
  big.BigIcon = true;
  TaskDesk wide(big);
  wide.screen.showTray = false;
  const std::vector<WindowId> tiles = wide.system.OpenMany(16);
  wide.Tick();
  EXPECT_EQ(wide.PlaceOf(tiles[14]), (Place{896, 704}));
  EXPECT_EQ(wide.PlaceOf(tiles[15]), (Place{0, 640}));  // 960 + 64 would end at 1024
}

TEST(TaskLayout, NoRoomBeforeTheNotificationAreaStillGivesOneButtonARow) {
  TaskDesk d(LabelStyle());
  d.screen.trayLeft = 100;
  const std::vector<WindowId> w = d.system.OpenMany(2);
  d.Tick();
  EXPECT_EQ(d.PlaceOf(w[0]), (Place{0, 748}));
  EXPECT_EQ(d.PlaceOf(w[1]), (Place{0, 728}));
}

TEST(TaskSlots, AClosedWindowInTheMiddleLeavesItsSlotToTheNextWindow) {
  TaskDesk d(LabelStyle());
  const std::vector<WindowId> w = d.system.OpenMany(4);
  d.Tick();
  d.system.Close(w[1]);
  d.Tick();
  EXPECT_EQ(d.maker.live, 3);  // the host window went with the button
  ASSERT_EQ(d.list.Entries().size(), 4U);
  EXPECT_EQ(d.list.Entries()[1]->HFen, kNoWindow);
  EXPECT_EQ(d.list.EntryOf(w[1]), nullptr);

  const WindowId next = d.system.Open(FakeWindow().Titled("Next"));
  d.Tick();
  EXPECT_EQ(d.PlaceOf(next), (Place{130, 748}));
  EXPECT_EQ(d.list.Entries()[1]->HFen, next);
  EXPECT_EQ(d.list.Entries()[1]->Bouton.Caption, "Next");
  EXPECT_EQ(d.list.PosX(), 520);  // nothing was appended
}

TEST(TaskSlots, FreeSlotsAtTheEndAreTrimmedAndTheNextButtonTakesTheFirstOfThem) {
  TaskDesk d(LabelStyle());
  std::vector<WindowId> w = d.system.OpenMany(8);
  d.Tick();
  // The seventh and eighth close: the seventh was the first of the second row.
  d.system.Close(w[7]);
  d.system.Close(w[6]);
  d.Tick();
  d.Tick();  // the freed slots are trimmed at the start of the following tick
  EXPECT_EQ(d.list.Entries().size(), 6U);
  EXPECT_EQ(d.list.PosX(), 0);
  EXPECT_EQ(d.list.PosY(), 728);
  const WindowId next = d.system.Open({});
  d.Tick();
  EXPECT_EQ(d.PlaceOf(next), (Place{0, 728}));
}

TEST(TaskSlots, WithNoWindowLeftEverySlotIsTrimmedBackToTheStart) {
  TaskDesk d;
  const std::vector<WindowId> w = d.system.OpenMany(20);
  d.Tick();
  for (const WindowId id : w) d.system.Close(id);
  d.Tick();
  d.Tick();
  EXPECT_TRUE(d.list.Entries().empty());
  EXPECT_EQ(d.maker.live, 0);
  const WindowId next = d.system.Open({});
  d.Tick();
  EXPECT_EQ(d.PlaceOf(next), (Place{0, 720}));

  d.list.EffaceBtn();
  EXPECT_EQ(d.maker.live, 0);
  EXPECT_TRUE(d.list.Entries().empty());
}

TEST(TaskPoll, OnlyANewSetOfWindowsOrARefreshMakesButtons) {
  TaskDesk d;
  d.system.Open({});
  d.Tick();
  EXPECT_EQ(d.maker.made.size(), 1U);
  // Another window whose handle number is the one that closed: the sum is unchanged, so no
  // button is made, but the title pass relabels the one that stands.
  const WindowId first = d.maker.made[0];
  d.system.Close(first);
  d.system.Open(FakeWindow().Id(first).Titled("Same number"));
  d.maker.changes.clear();
  d.Tick();
  EXPECT_EQ(d.maker.made.size(), 1U);
  EXPECT_EQ(d.list.EntryOf(first)->Bouton.Caption, "Same number");
  EXPECT_EQ(d.maker.changes, std::vector<TaskChange>{TaskChange::Window});

  // Two windows whose handles cancel out in the sum are seen at the next refresh only.
  d.system.Open(FakeWindow().Id(0x500000));
  d.Tick();
  d.system.Close(0x500000);
  d.system.Open(FakeWindow().Id(0x400000));
  d.system.Open(FakeWindow().Id(0x100000));
  d.Tick();
  EXPECT_EQ(d.list.EntryOf(0x400000), nullptr);
  d.list.Rafraichir = true;
  d.Tick();
  EXPECT_NE(d.list.EntryOf(0x400000), nullptr);
  EXPECT_NE(d.list.EntryOf(0x100000), nullptr);
}

TEST(TaskPoll, AnIdleTickOverHundredsOfWindowsSomeHungReadsTitlesAndAsksNothing) {
  TaskDesk d;
  d.system.OpenMany(250, FakeWindow().Titled("App"));
  for (int i = 0; i < 20; ++i) d.system.Open(FakeWindow().Titled("Stuck").Hung());
  d.system.OpenMany(30, FakeWindow().ExStyle(test::kExToolWindow));
  d.Tick();
  EXPECT_EQ(d.maker.made.size(), 270U);
  d.maker.changes.clear();
  const int enumerations = d.system.enumerations();
  const int reads = d.system.titleReads();
  d.Tick();
  EXPECT_EQ(d.system.enumerations(), enumerations + 1);
  EXPECT_EQ(d.system.titleReads(), reads + 270);
  EXPECT_EQ(d.system.iconQueries(), 0);
  EXPECT_EQ(d.system.waitedMs(), 0);
  EXPECT_TRUE(d.maker.changes.empty());
  EXPECT_TRUE(d.system.commands().empty());
}

TEST(TaskPoll, TheForegroundWindowsButtonIsDownAndMinimisedWindowsShowTheirLabel) {
  TaskDesk d;
  const WindowId a = d.system.Open({});
  const WindowId b = d.system.Open(FakeWindow().Minimized());
  d.Tick();
  EXPECT_TRUE(d.list.EntryOf(a)->Bouton.IconOnly);
  EXPECT_FALSE(d.list.EntryOf(b)->Bouton.IconOnly);

  d.system.SetForeground(a);
  d.Tick();
  EXPECT_EQ(d.list.EntryOf(a)->Bouton.State, TaskState::Down);
  // A dialog owned by the window keeps its button down.
  const WindowId dialog = d.system.Open(FakeWindow().Style(test::kDialogStyle).OwnedBy(a));
  d.system.SetForeground(dialog);
  d.Tick();
  EXPECT_EQ(d.list.EntryOf(a)->Bouton.State, TaskState::Down);
  d.system.SetForeground(b);
  d.Tick();
  EXPECT_EQ(d.list.EntryOf(a)->Bouton.State, TaskState::Up);
  EXPECT_EQ(d.list.EntryOf(b)->Bouton.State, TaskState::Down);
  EXPECT_FALSE(d.list.EntryOf(b)->Bouton.IconOnly);  // still minimised

  d.maker.changes.clear();
  d.system.At(a).iconic = true;
  d.Tick();
  EXPECT_FALSE(d.list.EntryOf(a)->Bouton.IconOnly);
  EXPECT_EQ(d.maker.changes, std::vector<TaskChange>{TaskChange::IconOnly});
  d.Tick();
  EXPECT_EQ(d.maker.changes.size(), 1U);
}

TEST(TaskPoll, ATitleChangeRelabelsAndAFolderTakesTheIconOfItsTitle) {
  TaskDesk d;
  d.cfg.IconDock = true;
  test::WriteFile(d.icons.File(), "\r\n;Projects\r\nCabinetWClass>c:\\icons\\projects.ico\r\n");
  const WindowId folder = d.system.Open(FakeWindow().Class("CabinetWClass").Titled("c:\\work"));
  d.Tick();
  EXPECT_EQ(d.list.EntryOf(folder)->Bouton.IconPath, "");
  d.system.At(folder).title = "c:\\Projects";  // one word: "c:\projects" is not "projects"
  d.Tick();
  EXPECT_EQ(d.list.EntryOf(folder)->Bouton.Caption, "c:\\Projects");
  EXPECT_EQ(d.list.EntryOf(folder)->Bouton.IconPath, "");
  d.system.At(folder).title = "My projects";
  d.Tick();
  EXPECT_EQ(d.list.EntryOf(folder)->Bouton.IconPath, "c:\\icons\\projects.ico");
  d.system.At(folder).title = "Elsewhere";
  d.Tick();
  EXPECT_EQ(d.list.EntryOf(folder)->Bouton.IconPath, "");
}

TEST(TaskIconChoice, EachStepOfTheChoiceInItsOrder) {
  TaskDesk d;
  d.cfg.IconDock = true;
  test::WriteFile(d.icons.File(),
                  "\r\n;Some editor\r\nEditor>c:\\icons\\editor.ico\r\n"
                  "\r\n;Setup wizard\r\n#32770>c:\\icons\\setup.ico\r\n");
  // 1. The last launch's dock button, once.
  d.dernierLance = 2;
  const WindowId launched = d.system.Open(FakeWindow().Class("Editor"));
  d.Tick();
  EXPECT_EQ(d.list.EntryOf(launched)->Bouton.IconPath, "c:\\dock\\two.ico");
  EXPECT_EQ(d.dernierLance, kNoLaunch);
  // 2. A second window of the class inherits the icon of the last button of that class.
  const WindowId second = d.system.Open(FakeWindow().Class("Editor"));
  d.Tick();
  EXPECT_EQ(d.list.EntryOf(second)->Bouton.IconPath, "c:\\dock\\two.ico");
  // 3. The class line of QL.TMP, once no open window of the class has an icon.
  d.system.Close(launched);
  d.system.Close(second);
  d.Tick();
  const WindowId third = d.system.Open(FakeWindow().Class("Editor"));
  d.Tick();
  EXPECT_EQ(d.list.EntryOf(third)->Bouton.IconPath, "c:\\icons\\editor.ico");
  // 4. Dialogs never by class, but by title.
  d.list.EntryOf(third)->Bouton.ClasseFen = "#32770";
  d.list.EntryOf(third)->Bouton.IconPath = "c:\\not\\inherited.ico";
  const WindowId wizard = d.system.Open(FakeWindow().Class("#32770").Titled("Setup wizard 2"));
  d.Tick();
  EXPECT_EQ(d.list.EntryOf(wizard)->Bouton.IconPath, "c:\\icons\\setup.ico");
  // Without IconDock, nothing is looked up.
  d.cfg.IconDock = false;
  d.dernierLance = 1;
  const WindowId plain = d.system.Open(FakeWindow().Class("Editor"));
  d.Tick();
  EXPECT_EQ(d.list.EntryOf(plain)->Bouton.IconPath, "");
  EXPECT_EQ(d.dernierLance, 1);
}

TEST(GestionFenetre, CommandsGoToTrackedWindowsOnlyAndNeverWait) {
  TaskDesk d;
  const std::vector<WindowId> w = d.system.OpenMany(3);
  const WindowId hung = d.system.Open(FakeWindow().Hung());
  const WindowId saver = d.system.Open(FakeWindow().RefusesClose());
  const WindowId dialog = d.system.Open(FakeWindow().Style(test::kDialogStyle).OwnedBy(w[0]));
  d.Tick();
  d.system.Close(w[1]);  // a free slot in the middle
  d.Tick();
  d.maker.changes.clear();

  d.list.GestionFenetre(1);
  EXPECT_TRUE(d.system.CommandsFor(dialog).empty());
  EXPECT_EQ(d.system.CommandsFor(w[2]), std::vector<WindowCommand>{WindowCommand::Minimize});
  EXPECT_EQ(d.system.Pending(hung), std::vector<WindowCommand>{WindowCommand::Minimize});
  EXPECT_EQ(d.system.commands().size(), 4U);
  EXPECT_FALSE(d.list.EntryOf(w[0])->Bouton.IconOnly);

  d.list.GestionFenetre(2);
  EXPECT_TRUE(d.list.EntryOf(w[0])->Bouton.IconOnly);
  EXPECT_FALSE(d.system.IsIconic(w[2]));

  d.system.ClearCommands();
  d.list.GestionFenetre(3);
  EXPECT_EQ(d.system.commands().size(), 4U);
  for (const test::CommandRecord& c : d.system.commands()) EXPECT_NE(c.window, kNoWindow);
  d.Tick();
  EXPECT_NE(d.list.EntryOf(saver), nullptr);  // it asked to save and stays
  EXPECT_NE(d.list.EntryOf(hung), nullptr);
  EXPECT_EQ(d.list.EntryOf(w[0]), nullptr);
  EXPECT_EQ(d.system.waitedMs(), 0);
}

int SixPerCharacter(std::string_view text) {
  int n = 0;
  for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U ? 6 : 0;
  return n;
}

TEST(TaskLabel, FoldersAndProgressDialogsLoseTheirFrontOthersTheirEnd) {
  // Limit 108: at most 17 characters of 6 pixels.
  EXPECT_EQ(TrimTaskLabel("notepad", "Notepad", 108, SixPerCharacter), "notepad");
  EXPECT_EQ(TrimTaskLabel("untitled - notepad for all", "Notepad", 108, SixPerCharacter),
            "untitled - notepa");
  EXPECT_EQ(TrimTaskLabel("c:\\program files\\quaylite\\icons", "CabinetWClass", 108, SixPerCharacter),
            "...quaylite\\icons");
  EXPECT_EQ(TrimTaskLabel("copying files 45% done", "#32770", 108, SixPerCharacter), "...files 45% done");
  EXPECT_EQ(TrimTaskLabel("45% of the files copied", "#32770", 108, SixPerCharacter), "45% of the files ");
  // Characters, not bytes, are removed.
  EXPECT_EQ(TrimTaskLabel("\xc3\xa9t\xc3\xa9 \xc3\xa0 la plage du midi", "Notepad", 108, SixPerCharacter),
            "\xc3\xa9t\xc3\xa9 \xc3\xa0 la plage du");
  // Nothing left to remove ends the loop.
  EXPECT_EQ(TrimTaskLabel("abc", "Notepad", 0, SixPerCharacter), "");
  EXPECT_EQ(TrimTaskLabel("abcdef", "CabinetWClass", 0, SixPerCharacter), "...");
}

TEST(TaskLabel, FrontTrimmingRule) {
  EXPECT_TRUE(FrontTrimming("anything", "CabinetWClass"));
  EXPECT_FALSE(FrontTrimming("anything", "Notepad"));
  EXPECT_FALSE(FrontTrimming("no percent", "#32770"));
  EXPECT_TRUE(FrontTrimming("abcd%", "#32770"));    // position 5 > 5 div 2
  EXPECT_TRUE(FrontTrimming("abc%de", "#32770"));   // 4 > 3
  EXPECT_FALSE(FrontTrimming("ab%def", "#32770"));  // 3 > 3 is false
  EXPECT_FALSE(FrontTrimming("abcd%", "Notepad"));
}

TEST(TaskButtonSize, ThreeShapes) {
  TConfigTask cfg;
  EXPECT_EQ(TaskButtonSizeOf(cfg).width, 48);
  cfg.BigIcon = true;
  EXPECT_EQ(TaskButtonSizeOf(cfg).height, 64);
  cfg.SmallStyle = true;
  EXPECT_EQ(TaskButtonSizeOf(cfg).width, 130);
  EXPECT_EQ(TaskButtonSizeOf(cfg).height, 20);
  EXPECT_EQ(TaskStyleOf(cfg), TaskStyle::sQL);
}

}  // namespace
}  // namespace ql
