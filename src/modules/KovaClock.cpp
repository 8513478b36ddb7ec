#include "modules/KovaClock.h"

#include <utility>

#include "core/Text.h"
#include "core/TileGeometry.h"
#include "taskbar/Drawing.h"
#include "win/Utf.h"

namespace ql {

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr std::array<std::string_view, 15> kResources = {
    "D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7", "D8", "D9", "PTS", "PTSOFF", "AM", "PM", "CLKBMP"};
constexpr std::size_t kCalendar = 14;

std::wstring LocaleText(LCTYPE type) {
  wchar_t buffer[128] = {};
  const int n = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 128);
  return n > 1 ? std::wstring(buffer, static_cast<std::size_t>(n - 1)) : std::wstring();
}

// The first three characters of a locale name, upper-cased by the system's rules.
std::string Abbreviation(LCTYPE type) {
  std::wstring name = LocaleText(type).substr(0, 3);
  if (!name.empty()) ::CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
  return win::Narrow(name);
}

}  // namespace

TimeFormat UserTimeFormat() {
  TimeFormat f;
  const std::wstring picture = LocaleText(LOCALE_STIMEFORMAT);
  if (!picture.empty()) f.picture = win::Narrow(picture);
  f.am = win::Narrow(LocaleText(LOCALE_S1159));
  f.pm = win::Narrow(LocaleText(LOCALE_S2359));
  return f;
}

TKovaClock::TKovaClock(TileSite& site) : site_(site) {
  Now = [] {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    return t;
  };
  // Read once per clock (each bar rebuild makes a new one), not twice a second.
  Format = [format = UserTimeFormat()] { return format; };
  OpenSettings = [](HWND owner) {
    ::ShellExecuteW(owner, L"open", L"rundll32.exe", L"shell32.dll,Control_RunDLL timedate.cpl", L"",
                    SW_SHOWNORMAL);
  };
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  for (std::size_t i = 0; i < kResources.size(); ++i) {
    bitmaps_[i].reset(static_cast<HBITMAP>(
        ::LoadImageW(instance, win::Widen(kResources[i]).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  }
  weekdayFont_ = CreateFaceFont(L"Small Fonts", -ScreenPoints(6));
  dayFont_ = CreateFaceFont(L"Times New Roman", -ScreenPoints(17));
  monthFont_ = CreateFaceFont(L"Small Fonts", -ScreenPoints(6), true);
  timeFont_ = CreateFaceFont(L"MS Sans Serif", -ScreenPoints(8));
}

TKovaClock::~TKovaClock() = default;

HBITMAP TKovaClock::Glyph(const std::string& resource) const {
  for (std::size_t i = 0; i < kCalendar; ++i) {
    if (kResources[i] == resource) return bitmaps_[i].get();
  }
  return nullptr;
}

void TKovaClock::SetMode(bool mode12) {
  if (mode12 == mode_) return;
  mode_ = mode12;
  site_.Invalidate();
}

void TKovaClock::Start(bool on) {
  if (on == start_) return;
  start_ = on;
  site_.StartedChanged();
  site_.Invalidate();
}

bool TKovaClock::Tick() {
  const SYSTEMTIME t = Now();
  const std::string formatted = FormatTime({t.wHour, t.wMinute, t.wSecond}, Format());
  const ClockTicker::Step step = ticker_.Tick(formatted, mode_);
  return step.timeChanged || step.colonFlipped;
}

void TKovaClock::Paint(win::Canvas& canvas, int width, int height) const {
  const ClockLayout layout = LayoutClock(width, height);
  if (layout.tall) {
    DrawTransparent(canvas, bitmaps_[kCalendar].get(), layout.calendarX, layout.calendarY, kMagenta);
    DrawSunkenBox(canvas, layout.stripLeft, layout.stripTop, layout.stripWidth, layout.stripHeight,
                  kLabelColour.r, kLabelColour.g, kLabelColour.b);
  }

  // The date: weekday and month placed by the width of "TH", the day by its own.
  const SYSTEMTIME today = Now();
  canvas.SetBrushClear();
  canvas.SetTextColor(kBlack);
  const int dayOfWeek = today.wDayOfWeek % 7;  // 0 Sunday; the locale's names start on Monday
  canvas.SetFont(weekdayFont_.get());
  const int thWidth = canvas.TextWidth("TH");
  canvas.TextOut(WeekdayX(width, thWidth), layout.weekdayY,
                 Abbreviation(static_cast<LCTYPE>(LOCALE_SDAYNAME1 + (dayOfWeek + 6) % 7)));
  canvas.SetFont(dayFont_.get());
  const std::string day = Decimal(today.wDay);
  canvas.TextOut(DayX(width, canvas.TextWidth(day)), layout.dayY, day);
  canvas.SetFont(monthFont_.get());
  const int month = today.wMonth >= 1 && today.wMonth <= 12 ? today.wMonth : 1;
  canvas.TextOut(MonthX(width, canvas.TextWidth("TH")), layout.monthY,
                 Abbreviation(static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + month - 1)));

  // The time of the last tick.
  const std::string& shown = ticker_.shown();
  if (layout.tall) {
    for (const ClockGlyph& g : ClockGlyphs(shown, layout.timeX)) {
      DrawTransparent(canvas, Glyph(g.resource), g.x, layout.timeY, kMagenta);
    }
  } else {
    canvas.SetFont(timeFont_.get());
    canvas.TextOut(layout.timeX, layout.timeY, shown);
  }
}

bool TKovaClock::Mouse(MouseAction action, const MouseEvent& e) {
  if (action == MouseAction::Down && e.button == MouseButton::Left && e.doubleClick && OpenSettings) {
    OpenSettings(site_.Window());
  }
  return false;  // the press is the dock's as well (a single click is its OnClick)
}

}  // namespace ql
