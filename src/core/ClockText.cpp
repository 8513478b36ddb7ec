#include "core/ClockText.h"

#include <cctype>
#include <cstddef>
#include <optional>

#include "core/Text.h"

namespace ql {

namespace {

// Characters `index` (1-based) to index + count - 1 of `s`, clipped to the text.
std::string Chars(std::string_view s, std::size_t index, std::size_t count) {
  if (index == 0 || index > s.size()) return {};
  return std::string(s.substr(index - 1, count));
}

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// The number written by the first `count` characters, when they are all digits.
std::optional<int> LeadingNumber(std::string_view s, std::size_t count) {
  if (s.size() < count || count == 0) return std::nullopt;
  int value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (!IsDigit(s[i])) return std::nullopt;
    value = value * 10 + (s[i] - '0');
  }
  return value;
}

std::string TwoDigits(int value) {
  std::string text = Decimal(value);
  return text.size() < 2 ? "0" + text : text;
}

// a + b (written out: GCC 12 warns wrongly about operator+ on a temporary here).
std::string Join(std::string_view a, std::string_view b) {
  std::string out;
  out.reserve(a.size() + b.size());
  out.append(a).append(b);
  return out;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

}  // namespace

std::string FormatTime(const ClockTime& time, const TimeFormat& format) {
  const std::string_view p = format.picture;
  const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
  const std::string& designator = time.hour < 12 ? format.am : format.pm;
  std::string out;
  std::size_t i = 0;
  while (i < p.size()) {
    const char c = p[i];
    if (c == '\'') {
      // Quoted text; two quotes in a row stand for one.
      ++i;
      while (i < p.size()) {
        if (p[i] == '\'') {
          if (i + 1 < p.size() && p[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += p[i++];
      }
      continue;
    }
    std::size_t run = 1;
    while (i + run < p.size() && p[i + run] == c) ++run;
    const bool two = run >= 2;
    switch (c) {
      case 'h':
        out += two ? TwoDigits(hour12) : Decimal(hour12);
        break;
      case 'H':
        out += two ? TwoDigits(time.hour) : Decimal(time.hour);
        break;
      case 'm':
        out += two ? TwoDigits(time.minute) : Decimal(time.minute);
        break;
      case 's':
        out += two ? TwoDigits(time.second) : Decimal(time.second);
        break;
      case 't':
        out += two ? designator : designator.substr(0, 1);
        break;
      default:
        out.append(run, c);
        break;
    }
    i += run;
  }
  return out;
}

ClockReading ReadClockText(std::string_view formatted, bool mode12) {
  std::string text(formatted);
  bool morning = false;

  // Afternoon: the hour goes up by 12 (12 PM stays 12 in the 24-hour display).
  if (Contains(text, "PM")) {
    if (text.size() >= 2 && text[1] == ':') {
      if (const auto h = LeadingNumber(text, 1)) text = Join(Decimal(*h + 12), Chars(text, 2, 6));
    } else if (text.starts_with("12") && !mode12) {
      text = Join("12", Chars(text, 3, 6));
    } else if (const auto h = LeadingNumber(text, 2)) {
      text = Join(Decimal(*h + 12), Chars(text, 3, 6));
    }
  }
  // Morning: two-digit hour, 12 AM as 00 in the 24-hour display; the designator goes.
  if (Contains(text, "AM")) {
    if (text.size() >= 2 && text[1] == ':') {
      text = Join("0", Chars(text, 1, 7));
    } else if (text.starts_with("12") && !mode12) {
      text = Join("00", Chars(text, 3, 6));
    } else {
      text = Chars(text, 1, 8);
    }
    morning = true;
  }

  ClockReading reading;
  reading.seconds = text.size() >= 2 ? text.substr(text.size() - 2) : text;
  text = text.size() >= 3 ? text.substr(0, text.size() - 3) : std::string();

  if (mode12) {
    // The hour is read up to the first colon: one digit or two, whatever the locale wrote.
    const std::size_t colon = text.find(':');
    const auto h = colon == std::string::npos ? std::nullopt : LeadingNumber(text, colon);
    if (h) {
      if (*h >= 12) {
        text =
            (*h == 12 ? std::string("12") : Decimal(*h - 12)) + text.substr(colon, 3) + (morning ? "A" : "P");
      } else {
        text += "A";
      }
    }
  }
  // "09:05" shows 9:05; the zero of a one-digit hour ("0:30") is the hour itself and stays.
  if (text.size() >= 2 && text[0] == '0' && IsDigit(text[1])) text.erase(0, 1);
  reading.text = std::move(text);
  return reading;
}

ClockTicker::Step ClockTicker::Tick(std::string_view formatted, bool mode12) {
  ClockReading reading = ReadClockText(formatted, mode12);
  Step step;
  if (reading.text != lastText_) {
    step.timeChanged = true;
    lastText_ = reading.text;
  }
  if (reading.seconds != lastSeconds_) {
    colonOn_ = !colonOn_;
    step.colonFlipped = true;
    lastSeconds_ = std::move(reading.seconds);
  }
  shown_ = lastText_;
  if (!colonOn_) {
    const std::size_t colon = shown_.find(':');
    if (colon != std::string::npos) shown_[colon] = ' ';
  }
  step.shown = shown_;
  return step;
}

bool TallClock(int height) { return height > 48; }

ClockLayout LayoutClock(int width, int height) {
  ClockLayout l;
  l.tall = TallClock(height);
  l.stripWidth = width - 10;
  l.calendarX = (width - 43) / 2;
  l.timeX = (width - 10) / 2 - 12;
  l.weekdayY = l.tall ? 22 : height / 2 - 5;
  return l;
}

int WeekdayX(int width, int thWidth) { return (width - thWidth - 13) / 2; }
int DayX(int width, int dayWidth) { return (width - dayWidth - 5) / 2; }
int MonthX(int width, int thWidth) { return (width - thWidth - 15) / 2; }

int ClockGlyphWidth(std::string_view resource) {
  if (resource == "D1" || resource == "PTS" || resource == "PTSOFF") return 6;
  if (resource == "AM" || resource == "PM") return 11;
  if (resource.size() == 2 && resource[0] == 'D' && IsDigit(resource[1])) return 9;
  return 0;
}

std::vector<ClockGlyph> ClockGlyphs(std::string_view shown, int x) {
  static constexpr std::string_view kDigits[] = {"D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7", "D8", "D9"};
  std::vector<ClockGlyph> glyphs;
  for (const char c : shown) {
    std::string_view name;
    if (IsDigit(c)) {
      name = kDigits[c - '0'];
    } else if (c == ':') {
      name = "PTS";
    } else if (c == ' ') {
      name = "PTSOFF";
    } else if (c == 'A' || c == 'P') {
      name = c == 'A' ? "AM" : "PM";
      x += 2;
    } else {
      continue;
    }
    glyphs.push_back({std::string(name), x});
    x += ClockGlyphWidth(name) - 2;
  }
  return glyphs;
}

}  // namespace ql
