// The clock's text: the locale's long time format applied to a time, then the clock's own
// reading of that text (24-hour or 12-hour display with an "A" or "P" mark, no leading zero), the
// colon's blink, and where the glyphs and the calendar texts go on a tile. No window system and no
// wall clock here: the caller gives the time and the format.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ql {

struct ClockTime {
  int hour = 0;  // 0..23
  int minute = 0;
  int second = 0;
};

// A locale's time picture and designators ("h:mm:ss tt", "AM", "PM"), as the system gives them.
struct TimeFormat {
  std::string picture = "HH:mm:ss";
  std::string am = "AM";
  std::string pm = "PM";
};

// The time written the way the system's time formatting writes it: h and hh (12-hour), H and HH
// (24-hour), m and mm, s and ss, t (first character of the designator) and tt, text in single
// quotes ('' for a quote), any other character as it stands.
std::string FormatTime(const ClockTime& time, const TimeFormat& format);

// One reading of a formatted time: the text shown ("9:05", "12:30P") and the seconds seen.
struct ClockReading {
  std::string text;
  std::string seconds;
};

// The clock's reading of a formatted time text. `mode12` is the 12-hour display. A text whose hour
// is a single digit followed by ":" is read by its digits (the hour goes up to the first colon),
// and loses no zero that is its only digit.
ClockReading ReadClockText(std::string_view formatted, bool mode12);

// The state the tick keeps: the last text shown, the last seconds seen and the colon's phase.
class ClockTicker {
 public:
  struct Step {
    std::string shown;          // the text to draw, its first ":" blanked while the colon is off
    bool timeChanged = false;   // hours, minutes or mark differ: the strip is drawn again empty
    bool colonFlipped = false;  // a new second: the colon changed phase
  };
  Step Tick(std::string_view formatted, bool mode12);

  const std::string& shown() const { return shown_; }
  bool colonOn() const { return colonOn_; }

 private:
  std::string lastText_;
  std::string lastSeconds_;
  std::string shown_;
  bool colonOn_ = false;
};

// The tall layout (time strip and calendar sheet) is used above 48 pixels of height.
bool TallClock(int height);

// Where the parts of the clock go on a W x H tile.
struct ClockLayout {
  bool tall = false;
  int stripLeft = 5, stripTop = 4, stripWidth = 0, stripHeight = 14;
  int calendarX = 0, calendarY = 23;  // the 43 x 37 calendar sheet (tall layout only)
  int timeX = 0, timeY = 5;           // first glyph, or the plain text in the short layout
  int weekdayY = 0;
  int dayY = 26;
  int monthY = 46;
};
ClockLayout LayoutClock(int width, int height);

// x of the three calendar texts: the weekday and month are placed by the width of "TH" in their
// font, the day by its own width.
int WeekdayX(int width, int thWidth);
int DayX(int width, int dayWidth);
int MonthX(int width, int thWidth);

// One glyph of the tall layout: its bitmap resource name and its left edge.
struct ClockGlyph {
  std::string resource;  // "D0".."D9", "PTS", "PTSOFF", "AM", "PM"
  int x = 0;
};
// Width of a glyph's bitmap; 0 for a name that is none.
int ClockGlyphWidth(std::string_view resource);
// The glyphs of a shown text from `x`; characters without a glyph are left out.
std::vector<ClockGlyph> ClockGlyphs(std::string_view shown, int x);

}  // namespace ql
