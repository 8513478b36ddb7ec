#include "modules/KovaStat.h"

#include <tuple>
#include <utility>

#include "core/Text.h"
#include "taskbar/Drawing.h"
#include "win/Utf.h"

namespace ql {

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr Rgb kRamStart{255, 20, 110};
constexpr Rgb kUseStart{255, 128, 100};
constexpr Rgb kCpuStart{255, 200, 128};

// A label: its text in its box, clipped to it, without a background.
void DrawLabel(HDC dc, HFONT font, COLORREF colour, const RECT& box, const std::string& text) {
  if (text.empty()) return;
  const win::SelectGuard sel(dc, font);
  const COLORREF oldColour = ::SetTextColor(dc, colour);
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const std::wstring w = win::Widen(text);
  ::ExtTextOutW(dc, box.left, box.top, ETO_CLIPPED, &box, w.c_str(), static_cast<UINT>(w.size()), nullptr);
  ::SetBkMode(dc, oldMode);
  ::SetTextColor(dc, oldColour);
}

}  // namespace

TKovaStat::TKovaStat(TileSite& site, std::unique_ptr<SystemStats> stats)
    : site_(site), stats_(stats ? std::move(stats) : std::make_unique<SystemStats>()) {
  captionFont_ = CreateFaceFont(L"small", -ScreenPoints(5));
  labelFont_ = CreateFaceFont(L"small", 8);
}

TKovaStat::~TKovaStat() = default;  // the statistics stop with stats_

void TKovaStat::Paint(win::Canvas& canvas, int width, int /*height*/) const {
  const int length = width - 23;
  const std::tuple<int, const std::optional<std::int64_t>*, Rgb> gauges[] = {
      {kGaugeRamY, &ram_, kRamStart}, {kGaugeUseY, &use_, kUseStart}, {kGaugeCpuY, &cpu_, kCpuStart}};
  for (const auto& [y, value, start] : gauges) {
    DrawSunkenBox(canvas, kGaugeX, y, length, kGaugeThickness, kLabelColour.r, kLabelColour.g,
                  kLabelColour.b);
    // The last figures stay on the gauge across repaints (the tile is composed whole each time).
    if (*value) {
      DrawGauge(canvas, kGaugeX, y, length, kGaugeThickness, start.r, start.g, start.b, Decimal(**value));
    }
  }

  canvas.SetFont(captionFont_.get());
  canvas.SetBrushClear();
  const std::pair<const char*, POINT> captions[] = {{"RAM", {3, kGaugeRamY - 1}},
                                                    {"USE", {3, kGaugeUseY - 1}},
                                                    {"CPU", {3, kGaugeCpuY - 1}},
                                                    {"THREADS", {3, 40}},
                                                    {"MODEM : ", {3, 52}}};
  // A black shadow, then the white text one pixel up and left.
  for (const COLORREF colour : {kBlack, kWhite}) {
    const int shift = colour == kWhite ? 1 : 0;
    canvas.SetTextColor(colour);
    for (const auto& [text, at] : captions) canvas.TextOut(at.x - shift, at.y - shift, text);
  }

  DrawLabel(canvas.dc(), labelFont_.get(), kWhite, RECT{38, 39, 58, 49}, threads_);
  DrawLabel(canvas.dc(), labelFont_.get(), kYellow, RECT{35, 51, 55, 61}, modem_);
}

bool TKovaStat::Tick() {
  const MemoryStatus status = ReadMemoryStatus();
  std::string total, available, load;
  MemoryFigure(status, 0, total);
  MemoryFigure(status, 1, available);
  MemoryFigure(status, 4, load);
  hint_ = MemoryHint(load, available, total);

  const auto old = std::make_tuple(ram_, use_, cpu_, threads_, modem_);
  ram_ = FreeMemoryGauge(UsedMemoryRatio(total, available));
  use_ = status.memoryLoad;
  const SystemSample sample = stats_->Sample(::GetTickCount());
  if (sample.cpu) cpu_ = *sample.cpu;
  if (sample.threads) threads_ = *sample.threads;
  if (sample.modem) modem_ = *sample.modem;
  return std::tie(ram_, use_, cpu_, threads_, modem_) != old;
}

void TKovaStat::Start(bool on) {
  if (on == start_) return;
  start_ = on;
  if (!start_) {
    threads_.clear();
    modem_.clear();
    hint_ = "INACTIVE";
    ram_.reset();
    use_.reset();
    cpu_.reset();
  }
  site_.StartedChanged();
  site_.Invalidate();
}

bool TKovaStat::Mouse(MouseAction action, const MouseEvent& e) {
  if (action == MouseAction::Down && e.button == MouseButton::Left && e.doubleClick) Start(!start_);
  return false;  // the dock handles the press as well
}

}  // namespace ql
