#include "core/ClockText.h"

#include <gtest/gtest.h>

#include <string>

namespace ql {
namespace {

const TimeFormat k12Hour{"h:mm:ss tt", "AM", "PM"};
const TimeFormat k24Hour{"HH:mm:ss", "", ""};
const TimeFormat k24HourOneDigit{"H:mm:ss", "", ""};

std::string Shown(const ClockTime& t, const TimeFormat& f, bool mode12) {
  return ReadClockText(FormatTime(t, f), mode12).text;
}

TEST(ClockFormat, WritesTheLocalePictures) {
  EXPECT_EQ(FormatTime({0, 5, 7}, k12Hour), "12:05:07 AM");
  EXPECT_EQ(FormatTime({13, 5, 7}, k12Hour), "1:05:07 PM");
  EXPECT_EQ(FormatTime({9, 5, 7}, k24Hour), "09:05:07");
  EXPECT_EQ(FormatTime({9, 5, 7}, k24HourOneDigit), "9:05:07");
  EXPECT_EQ(FormatTime({15, 0, 9}, {"hh'h'mm t", "AM", "PM"}), "03h00 P");
  EXPECT_EQ(FormatTime({8, 1, 2}, {"H 'o''clock' m", "", ""}), "8 o'clock 1");
}

TEST(ClockText, TwentyFourHourDisplayOfATwelveHourLocale) {
  EXPECT_EQ(Shown({0, 5, 7}, k12Hour, false), "0:05");    // midnight
  EXPECT_EQ(Shown({12, 5, 7}, k12Hour, false), "12:05");  // noon
  EXPECT_EQ(Shown({13, 5, 7}, k12Hour, false), "13:05");
  EXPECT_EQ(Shown({9, 5, 7}, k12Hour, false), "9:05");
  EXPECT_EQ(Shown({23, 59, 0}, {"hh:mm:ss tt", "AM", "PM"}, false), "23:59");
  EXPECT_EQ(Shown({10, 0, 0}, {"hh:mm:ss tt", "AM", "PM"}, false), "10:00");
}

TEST(ClockText, TwelveHourDisplayOfATwelveHourLocale) {
  EXPECT_EQ(Shown({0, 5, 7}, k12Hour, true), "12:05A");
  EXPECT_EQ(Shown({12, 5, 7}, k12Hour, true), "12:05P");
  EXPECT_EQ(Shown({13, 5, 7}, k12Hour, true), "1:05P");
  EXPECT_EQ(Shown({9, 5, 7}, k12Hour, true), "9:05A");
  EXPECT_EQ(Shown({23, 0, 0}, {"hh:mm:ss tt", "AM", "PM"}, true), "11:00P");
}

TEST(ClockText, TwelveHourDisplayOfATwentyFourHourLocale) {
  EXPECT_EQ(Shown({14, 5, 7}, k24Hour, true), "2:05P");
  EXPECT_EQ(Shown({0, 30, 0}, k24Hour, true), "0:30A");
  EXPECT_EQ(Shown({12, 0, 0}, k24Hour, true), "12:00P");
  EXPECT_EQ(Shown({9, 5, 7}, k24Hour, false), "9:05");
  EXPECT_EQ(Shown({0, 30, 0}, k24Hour, false), "0:30");
}

TEST(ClockText, OneDigitHourWithoutDesignatorIsReadByItsDigits) {
  // "9:" is no number: the hour is read up to the colon.
  EXPECT_EQ(Shown({9, 5, 7}, k24HourOneDigit, true), "9:05A");
  EXPECT_EQ(Shown({0, 30, 0}, k24HourOneDigit, true), "0:30A");
  EXPECT_EQ(Shown({15, 45, 0}, k24HourOneDigit, true), "3:45P");
  EXPECT_EQ(Shown({12, 0, 0}, k24HourOneDigit, true), "12:00P");
  EXPECT_EQ(Shown({9, 5, 7}, k24HourOneDigit, false), "9:05");
  EXPECT_EQ(Shown({0, 30, 0}, k24HourOneDigit, false), "0:30");  // the hour's only digit stays
}

TEST(ClockText, SecondsAreTheLastTwoCharactersAndOddTextsDoNotBreak) {
  EXPECT_EQ(ReadClockText("1:05:07 PM", false).seconds, "07");
  EXPECT_EQ(ReadClockText("14:05:59", true).seconds, "59");
  for (const char* odd : {"", "P", "PM", "AM", "x:yz", "::::", "ab:cd:ef PM"}) {
    const ClockReading r = ReadClockText(odd, true);
    EXPECT_LE(r.text.size(), std::string(odd).size() + 1) << odd;
  }
}

TEST(ClockTicker, ColonBlinksOncePerSecondAndTheStripChangesWithTheMinute) {
  ClockTicker ticker;
  auto s = ticker.Tick("12:30:01", false);
  EXPECT_TRUE(s.timeChanged);
  EXPECT_TRUE(s.colonFlipped);
  EXPECT_EQ(s.shown, "12:30");         // the first tick turns the colon on
  s = ticker.Tick("12:30:01", false);  // the second tick of the same second
  EXPECT_FALSE(s.timeChanged);
  EXPECT_FALSE(s.colonFlipped);
  EXPECT_EQ(s.shown, "12:30");
  s = ticker.Tick("12:30:02", false);
  EXPECT_FALSE(s.timeChanged);
  EXPECT_TRUE(s.colonFlipped);
  EXPECT_EQ(s.shown, "12 30");
  s = ticker.Tick("12:31:03", false);
  EXPECT_TRUE(s.timeChanged);
  EXPECT_EQ(s.shown, "12:31");
}

TEST(ClockLayoutTest, TallAndShortTiles) {
  const ClockLayout tall = LayoutClock(64, 64);
  EXPECT_TRUE(tall.tall);
  EXPECT_EQ(tall.stripWidth, 54);  // x 5..58
  EXPECT_EQ(tall.calendarX, 10);
  EXPECT_EQ(tall.timeX, 15);
  EXPECT_EQ(tall.weekdayY, 22);
  const ClockLayout small = LayoutClock(48, 48);
  EXPECT_FALSE(small.tall);
  EXPECT_EQ(small.weekdayY, 19);
  EXPECT_FALSE(TallClock(48));
  EXPECT_TRUE(TallClock(49));
  EXPECT_EQ(WeekdayX(64, 10), 20);
  EXPECT_EQ(DayX(64, 18), 20);
  EXPECT_EQ(MonthX(64, 10), 19);
}

TEST(ClockGlyphsTest, GlyphsOverlapByTwoAndTheMarkMovesRight) {
  const auto glyphs = ClockGlyphs("12:30P", 15);
  ASSERT_EQ(glyphs.size(), 6u);
  EXPECT_EQ(glyphs[0].resource, "D1");
  EXPECT_EQ(glyphs[0].x, 15);
  EXPECT_EQ(glyphs[1].x, 19);
  EXPECT_EQ(glyphs[2].resource, "PTS");
  EXPECT_EQ(glyphs[4].resource, "D0");
  EXPECT_EQ(glyphs[4].x + ClockGlyphWidth("D0") - 1, 45);
  EXPECT_EQ(glyphs[5].resource, "PM");
  EXPECT_EQ(glyphs[5].x, 46);
  EXPECT_EQ(glyphs[5].x + ClockGlyphWidth("PM") - 1, 56);
  const auto off = ClockGlyphs("9 05A?", 0);
  ASSERT_EQ(off.size(), 5u);  // '?' has no glyph
  EXPECT_EQ(off[1].resource, "PTSOFF");
  EXPECT_EQ(off[4].resource, "AM");
}

}  // namespace
}  // namespace ql
