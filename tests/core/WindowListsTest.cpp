#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FakeWindowSystem.h"
#include "core/WindowLists.h"

namespace ql {
namespace {

using test::FakeWindow;
using test::FakeWindowSystem;

std::string Text(WindowId id) { return HandleText(id); }

bool Contains(const std::vector<std::string>& list, WindowId id) {
  return std::find(list.begin(), list.end(), Text(id)) != list.end();
}

struct Desktop {
  FakeWindowSystem system;
  WindowLists lists{system};

  std::vector<std::string> Tasks() {
    std::vector<std::string> list;
    bool changed = false;
    lists.ListTaskWindows(list, changed);
    return list;
  }
  bool TaskSetChanged() {
    std::vector<std::string> list;
    bool changed = false;
    lists.ListTaskWindows(list, changed);
    return changed;
  }
  std::vector<std::string> Apps(WindowId appMainWindow) {
    std::vector<std::string> list{"stale entry"};
    lists.ListAppWindows(list, appMainWindow);
    return list;
  }
};

constexpr std::uint32_t kTaskPopup = test::kDialogStyle | test::kMinimizeBox;

TEST(ListTaskWindows, TakesVisibleUnownedTaskWindowsInTheSystemsOrder) {
  Desktop d;
  const WindowId app = d.system.Open({});
  d.system.Open(FakeWindow().ExStyle(test::kExToolWindow));
  const WindowId popupApp = d.system.Open(FakeWindow().Style(kTaskPopup));
  d.system.Open(FakeWindow().OwnedBy(app));
  d.system.Open(FakeWindow().Style(kTaskPopup).OwnedBy(app));
  d.system.Open(FakeWindow().Style(test::kPopup));                                        // a splash screen
  d.system.Open(FakeWindow().Style(test::kPopup | test::kCaption | test::kMinimizeBox));  // no system menu
  d.system.Open(FakeWindow().Style(kTaskPopup | test::kDisabled));
  d.system.Open(FakeWindow().ExStyle(kExStyleNeverTask));
  d.system.Open(FakeWindow().Hidden());
  const WindowId last = d.system.Open({});

  std::vector<std::string> list{"earlier entry"};
  bool changed = false;
  d.lists.ListTaskWindows(list, changed);
  EXPECT_EQ(list, (std::vector<std::string>{"earlier entry", Text(app), Text(popupApp), Text(last)}))
      << "appended to the caller's list, in order; a popup without a system menu and a tool window never";
  EXPECT_TRUE(changed);
}

TEST(ListTaskWindows, ChangedOnlyWhenTheSumOfTheHandlesChanges) {
  Desktop d;
  const WindowId first = d.system.Open({});
  EXPECT_TRUE(d.TaskSetChanged()) << "the first run compares with 0";
  EXPECT_FALSE(d.TaskSetChanged()) << "an unchanged desktop";

  const WindowId second = d.system.Open({});
  EXPECT_TRUE(d.TaskSetChanged());
  d.system.At(second).visible = false;
  EXPECT_TRUE(d.TaskSetChanged());
  d.system.Open(FakeWindow().ExStyle(test::kExToolWindow));
  d.system.At(first).title = "renamed";
  EXPECT_FALSE(d.TaskSetChanged()) << "neither a tool window nor a new title counts";

  // Another window under exactly the same handle number: the same sum.
  d.system.Close(first);
  d.system.Open(FakeWindow().Id(first).Class("Other"));
  EXPECT_FALSE(d.TaskSetChanged());

  // The flag is only ever raised: a caller's true stays true.
  std::vector<std::string> list;
  bool changed = true;
  d.lists.ListTaskWindows(list, changed);
  EXPECT_TRUE(changed);
}

TEST(ListTaskWindows, ReadsEachWindowOnceOnADesktopOfHundredsWithHungOnes) {
  Desktop d;
  const std::vector<WindowId> apps = d.system.OpenMany(400, FakeWindow().Titled("App"));
  d.system.OpenMany(200, FakeWindow().Titled("Palette").ExStyle(test::kExToolWindow));
  for (std::size_t i = 0; i < apps.size(); i += 25) d.system.At(apps[i]).hung = true;

  const std::vector<std::string> tasks = d.Tasks();
  ASSERT_EQ(tasks.size(), apps.size());
  EXPECT_EQ(tasks.front(), Text(apps.front()));
  EXPECT_EQ(tasks.back(), Text(apps.back()));
  EXPECT_EQ(d.system.enumerations(), 1) << "one enumeration, every style read from it";
  EXPECT_EQ(d.system.titleReads(), 0);
  EXPECT_EQ(d.system.waitedMs(), 0);

  EXPECT_FALSE(d.TaskSetChanged());
}

TEST(ListAppWindows, TakesApplicationsAndTheirDialogsButNotTheCallersOwnWindows) {
  Desktop d;
  const WindowId dock = d.system.Open({});
  const WindowId dockDialog = d.system.Open(FakeWindow().Style(test::kDialogStyle).OwnedBy(dock));
  const WindowId dockOwnedTask = d.system.Open(FakeWindow().OwnedBy(dock));
  const WindowId app = d.system.Open({});
  const WindowId dialog = d.system.Open(FakeWindow().Style(test::kDialogStyle).OwnedBy(app));
  d.system.Open(FakeWindow().Style(kTaskPopup).OwnedBy(app));
  d.system.Open(FakeWindow().Hidden().Style(test::kDialogStyle).OwnedBy(app));
  const WindowId tool = d.system.Open(FakeWindow().ExStyle(test::kExToolWindow));
  d.system.Open(FakeWindow().Style(test::kPopup));

  EXPECT_EQ(d.Apps(dock), (std::vector<std::string>{Text(app), Text(dialog)}))
      << "the caller's list is emptied first; owned task popups, hidden, tool and splash windows stay out";

  // Without a window of its own to leave out, the caller gets the dock's windows as well.
  const std::vector<std::string> all = d.Apps(kNoWindow);
  EXPECT_TRUE(Contains(all, dock));
  EXPECT_TRUE(Contains(all, dockDialog));
  EXPECT_TRUE(Contains(all, dockOwnedTask)) << "an owner is no parent: an owned overlapped window is a task";
  EXPECT_FALSE(Contains(all, tool));
}

TEST(ListAppWindows, DoesNotDisturbTheTaskSignature) {
  Desktop d;
  d.system.Open({});
  EXPECT_TRUE(d.TaskSetChanged());
  d.system.Open(FakeWindow().Style(test::kDialogStyle).OwnedBy(0x42));
  EXPECT_EQ(d.Apps(kNoWindow).size(), 2U);
  EXPECT_FALSE(d.TaskSetChanged());
}

TEST(TaskIcon, TheWindowsOwnIconThenItsClassesAndAHungWindowIsAskedOnce) {
  FakeWindowSystem system;
  const WindowId both = system.Open(FakeWindow().Icons(1, 2).ClassIcons(3, 4));
  const WindowId classOnly = system.Open(FakeWindow().ClassIcons(3, 4));
  const WindowId largeOnly = system.Open(FakeWindow().Icons(0, 2));
  const WindowId hung = system.Open(FakeWindow().Hung().Icons(1, 2).ClassIcons(0, 4));

  EXPECT_EQ(TaskIcon(system, both, IconSize::Large), 2U);
  EXPECT_EQ(TaskIcon(system, both, IconSize::Small), 1U);
  EXPECT_EQ(TaskIcon(system, classOnly, IconSize::Large), 4U);
  EXPECT_EQ(TaskIcon(system, classOnly, IconSize::Small), 3U);
  EXPECT_EQ(TaskIcon(system, largeOnly, IconSize::Small), 2U) << "small: the window's large icon last";
  EXPECT_EQ(TaskIcon(system, kNoWindow, IconSize::Small), 0U);
  EXPECT_EQ(system.waitedMs(), 0);

  EXPECT_EQ(TaskIcon(system, hung, IconSize::Small), 4U) << "the class stands in for a hung window";
  EXPECT_EQ(system.waitedMs(), FakeWindowSystem::kIconTimeoutMs) << "asked once, not twice";
}

// The fake's hung windows behave as the tests of the task bar, the virtual screens and the lock
// rely on: readable, commands queued until they answer again.
TEST(FakeWindowSystem, HungWindowsQueueTheirCommandsAndKeepTheirTitles) {
  FakeWindowSystem system;
  const WindowId hung = system.Open(FakeWindow().Titled("Busy").Hung());
  const WindowId editor = system.Open(FakeWindow().Titled("Editor").RefusesClose());
  const WindowId dialog = system.Open(FakeWindow().Titled("Find").OwnedBy(hung));

  EXPECT_EQ(system.Title(hung), "Busy");
  system.Command(hung, WindowCommand::Minimize);
  system.Command(editor, WindowCommand::Close);
  system.Command(hung, WindowCommand::Close);
  EXPECT_FALSE(system.IsIconic(hung));
  EXPECT_TRUE(system.IsWindow(editor)) << "it asked to save and stayed";
  EXPECT_EQ(system.Pending(hung),
            (std::vector<WindowCommand>{WindowCommand::Minimize, WindowCommand::Close}));
  EXPECT_EQ(system.commands(), (std::vector<test::CommandRecord>{{hung, WindowCommand::Minimize},
                                                                 {editor, WindowCommand::Close},
                                                                 {hung, WindowCommand::Close}}));

  system.Wake(hung);
  EXPECT_FALSE(system.IsWindow(hung));
  EXPECT_FALSE(system.IsWindow(dialog)) << "owned windows go with their owner";
  EXPECT_EQ(system.Title(hung), "");
}

}  // namespace
}  // namespace ql
