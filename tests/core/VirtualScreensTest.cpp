#include "core/VirtualScreens.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/MemoryStore.h"

namespace ql {
namespace {

using Ids = std::vector<WindowId>;

TEST(ScreenRanges, MiddleLinesBelongToTwoScreensAndTheCentreToFour) {
  EXPECT_EQ(ScreensAt(10, 10, 64, 64), (std::vector<int>{1}));
  EXPECT_EQ(ScreensAt(40, 10, 64, 64), (std::vector<int>{2}));
  EXPECT_EQ(ScreensAt(10, 40, 64, 64), (std::vector<int>{3}));
  EXPECT_EQ(ScreensAt(64, 64, 64, 64), (std::vector<int>{4}));
  EXPECT_EQ(ScreensAt(32, 10, 64, 64), (std::vector<int>{1, 2}));
  EXPECT_EQ(ScreensAt(10, 32, 64, 64), (std::vector<int>{1, 3}));
  EXPECT_EQ(ScreensAt(32, 32, 64, 64), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_TRUE(ScreensAt(0, 10, 64, 64).empty());
  EXPECT_TRUE(ScreensAt(10, 0, 64, 64).empty());
  EXPECT_EQ(ScreensAt(24, 10, 49, 49), (std::vector<int>{1, 2}));  // odd size: 49 div 2 = 24
}

TEST(ScreenRanges, LightenedQuartersAndMarks) {
  const QuarterArea a1 = LightenedArea(1, 64, 48);
  EXPECT_EQ((std::vector<int>{a1.left, a1.top, a1.right, a1.bottom}), (std::vector<int>{1, 1, 31, 23}));
  const QuarterArea a4 = LightenedArea(4, 64, 48);
  EXPECT_EQ((std::vector<int>{a4.left, a4.top, a4.right, a4.bottom}), (std::vector<int>{33, 25, 62, 46}));
  const auto m1 = ScreenMark(1, 64, 64);
  EXPECT_EQ(m1[0].x, 3);
  EXPECT_EQ(m1[0].y, 3);
  EXPECT_EQ(m1[0].colour, (Rgb{255, 255, 0}));
  EXPECT_EQ(m1[2].colour, (Rgb{102, 51, 0}));
  const auto m4 = ScreenMark(4, 64, 64);
  EXPECT_EQ((std::vector<int>{m4[0].x, m4[0].y, m4[2].x, m4[2].y}), (std::vector<int>{60, 60, 61, 61}));
  EXPECT_EQ(m4[1].colour, (Rgb{128, 128, 0}));
  const auto m3 = ScreenMark(3, 64, 64);
  EXPECT_EQ((std::vector<int>{m3[3].x, m3[3].y}), (std::vector<int>{3, 61}));
}

TEST(VirtualScreensTest, TickRebuildsTheActiveListAndRepaintsOnChange) {
  VirtualScreens vs;
  EXPECT_TRUE(vs.Tick({11, 12}).repaint);
  EXPECT_EQ(vs.List(1), (Ids{11, 12}));
  EXPECT_FALSE(vs.Tick({12, 11}).repaint);  // same count, same marks
  EXPECT_TRUE(vs.Tick({12}).repaint);
  EXPECT_TRUE(vs.List(7).empty());
}

TEST(VirtualScreensTest, SwitchingHidesTheActiveScreenAndShowsTheClickedOne) {
  VirtualScreens vs;
  vs.Tick({11, 12, 99});
  auto o = vs.Click(10, 10, 64, 64, 99);  // the active quarter: nothing
  EXPECT_TRUE(o.hide.empty() && o.show.empty() && !o.repaint);
  EXPECT_TRUE(vs.Click(0, 10, 64, 64, 99).hide.empty());  // the frame column is no screen
  o = vs.Click(40, 10, 64, 64, 99);
  EXPECT_EQ(o.hide, (Ids{11, 12}));  // the application's own window is never hidden
  EXPECT_TRUE(o.show.empty());
  EXPECT_EQ(vs.Active(), 2);
  vs.Tick({13});  // a window opened on screen 2
  o = vs.Click(10, 10, 64, 64, 99);
  EXPECT_EQ(o.hide, (Ids{13}));
  EXPECT_EQ(o.show, (Ids{11, 12, 99}));
  EXPECT_EQ(vs.Hidden(), (Ids{13}));
  o = vs.Click(32, 10, 64, 64, 99);  // middle line of 1 and 2 while 1 is active
  EXPECT_TRUE(o.hide.empty());
  vs.Tick({11, 12});
  o = vs.Click(32, 40, 64, 64, 0);  // middle line of 3 and 4: the highest wins
  EXPECT_EQ(vs.Active(), 4);
  EXPECT_EQ(o.hide, (Ids{11, 12}));
}

TEST(VirtualScreensTest, AWindowStillHidingIsNoWindowOfTheNewScreen) {
  VirtualScreens vs;
  vs.Tick({11, 12});
  vs.Click(40, 10, 64, 64, 0);  // to screen 2: 11 and 12 hidden, slowly
  vs.Tick({11, 12, 13});        // both still show, 13 opened on screen 2
  EXPECT_EQ(vs.List(2), (Ids{13}));
  auto o = vs.Click(10, 10, 64, 64, 0);  // back to 1 before they went: only 13 leaves
  EXPECT_EQ(o.hide, (Ids{13}));
  EXPECT_EQ(o.show, (Ids{11, 12}));
  vs.Tick({11, 12, 13});  // shown again, they are screen 1's; 13 is on its way out
  EXPECT_EQ(vs.List(1), (Ids{11, 12}));
  EXPECT_EQ(vs.List(2), (Ids{13}));
  // A window that never goes (a hung program) is taken for a window of the screen it shows on.
  for (int i = 1; i < VirtualScreens::kHideTicks; ++i) vs.Tick({11, 12, 13});
  EXPECT_EQ(vs.List(1), (Ids{11, 12}));
  vs.Tick({11, 12, 13});
  EXPECT_EQ(vs.List(1), (Ids{11, 12, 13}));
}

TEST(VirtualScreensTest, HandFenOrders) {
  VirtualScreens vs;
  vs.Tick({11, 12});
  vs.SetHandFen("311");
  auto o = vs.Tick({11, 12});
  EXPECT_EQ(o.hide, (Ids{11}));
  EXPECT_TRUE(o.repaint);  // screen 3 got its mark
  EXPECT_EQ(vs.List(3), (Ids{11}));
  EXPECT_EQ(vs.List(1), (Ids{12}));
  EXPECT_TRUE(vs.HandFen().empty());
  vs.SetHandFen("112");  // to the active screen: stays where it is
  EXPECT_TRUE(vs.Tick({12}).hide.empty());
  vs.SetHandFen("1777");  // to the active screen but not listed: still never hidden
  EXPECT_TRUE(vs.Tick({12}).hide.empty());
  for (const char* bad : {"512", "012", "x12", "2", "2abc", "20"}) {
    vs.SetHandFen(bad);
    EXPECT_TRUE(vs.Tick({12}).hide.empty()) << bad;
    EXPECT_TRUE(vs.HandFen().empty()) << bad;
  }
  vs.SetHandFen("311");  // already there
  EXPECT_TRUE(vs.Tick({12}).hide.empty());
  vs.SetHandFen("212");
  vs.Tick({12});
  vs.SetHandFen("312");  // from screen 2 to 3: in one list only
  vs.Tick({});
  EXPECT_TRUE(vs.List(2).empty());
  EXPECT_EQ(vs.List(3), (Ids{11, 12}));
  const auto all = vs.ShowAll();
  EXPECT_EQ(all.show, (Ids{11, 12}));
  EXPECT_EQ(vs.Active(), 1);
  EXPECT_TRUE(vs.Hidden().empty());
}

TEST(HiddenJournal, WritesOnlyChangesAndSkipsMalformedValues) {
  MemoryStore store;
  auto key = store.Open(kScreensKey, true);
  WriteHiddenJournal(*key, {{11, 500}, {12, 501}});
  EXPECT_EQ(ReadHiddenJournal(*key), (std::vector<HiddenWindow>{{11, 500}, {12, 501}}));
  const std::size_t writes = store.writes();
  WriteHiddenJournal(*key, {{12, 501}, {13, 502}});
  EXPECT_EQ(store.writes(), writes + 1);
  EXPECT_EQ(ReadHiddenJournal(*key), (std::vector<HiddenWindow>{{12, 501}, {13, 502}}));
  key->WriteString("junk", "1");
  key->WriteString("14", "not a pid");
  key->Write("15", {ValueType::Binary, "\x01"});
  EXPECT_EQ(ReadHiddenJournal(*key).size(), 2u);
  WriteHiddenJournal(*key, {});
  EXPECT_TRUE(key->Names().empty());
}

}  // namespace
}  // namespace ql
