// TKovaClock, the clock face (module kind "Clock Quaylite"): the time in green segment digits on
// a dark strip above a calendar sheet with the weekday, the day and the month (tiles taller than
// 48 pixels), or the time as plain text over the date (48 pixels or less). The tick runs twice a
// second; the colon blinks once a second and the tile is repainted only when the time shown or
// the colon changes. A left double click opens the date and time settings.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "controls/TileFace.h"
#include "core/ClockText.h"
#include "win/Handles.h"

namespace ql {

class TKovaClock final : public TileFace {
 public:
  static constexpr unsigned kTickMs = 500;

  explicit TKovaClock(TileSite& site);
  ~TKovaClock() override;

  // false: 24-hour display; true: 12-hour display with an "A" or "P" mark. Repaints on change.
  void SetMode(bool mode12);
  bool Mode() const { return mode_; }

  void Paint(win::Canvas& canvas, int width, int height) const override;
  unsigned TickMs() const override { return kTickMs; }
  bool Tick() override;
  void Start(bool on) override;
  bool Started() const override { return start_; }
  bool Mouse(MouseAction action, const MouseEvent& e) override;
  std::string HintAt(POINT) const override { return "Clock Quaylite"; }

  // The text drawn by the last tick ("12:30", "12 30" while the colon is off, "9:05A").
  const std::string& Shown() const { return ticker_.shown(); }

  // Seams, set to the system's at construction: the local time, the user's long time format and
  // the opening of the date and time settings (owner window).
  std::function<SYSTEMTIME()> Now;
  std::function<TimeFormat()> Format;
  std::function<void(HWND)> OpenSettings;

 private:
  HBITMAP Glyph(const std::string& resource) const;

  TileSite& site_;
  bool mode_ = false;
  bool start_ = false;
  ClockTicker ticker_;
  // "D0".."D9", "PTS", "PTSOFF", "AM", "PM", then "CLKBMP".
  std::array<win::Bitmap, 15> bitmaps_;
  win::Font weekdayFont_;  // "Small Fonts" 6 points
  win::Font dayFont_;      // "Times New Roman" 17 points
  win::Font monthFont_;    // "Small Fonts" 6 points, italic
  win::Font timeFont_;     // "MS Sans Serif" 8 points (the short layout's time)
};

// The user's long time format (picture and designators); "HH:mm:ss" when it cannot be read.
TimeFormat UserTimeFormat();

}  // namespace ql
