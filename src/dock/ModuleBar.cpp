#include "dock/ModuleBar.h"

#include <optional>
#include <string>

#include "core/Store.h"
#include "core/Text.h"
#include "modules/KovaClock.h"
#include "modules/KovaStat.h"
#include "modules/ModuleFaces.h"
#include "modules/VirtualDesk.h"
#include "win/Win32WindowSystem.h"

namespace ql {

namespace {

constexpr std::int64_t kDayMs = 24LL * 3600 * 1000;
constexpr std::int64_t kFileTimeUnitsPerMs = 10000;

// "HH:MM:SS" as milliseconds after midnight.
std::optional<std::int64_t> DayTimeMs(const std::string& text) {
  if (text.size() != 8 || text[2] != ':' || text[5] != ':') return std::nullopt;
  const auto h = ParseDecimal(text.substr(0, 2));
  const auto m = ParseDecimal(text.substr(3, 2));
  const auto s = ParseDecimal(text.substr(6, 2));
  if (!h || !m || !s || *h < 0 || *h > 23 || *m < 0 || *m > 59 || *s < 0 || *s > 59) return std::nullopt;
  return ((*h * 60LL + *m) * 60 + *s) * 1000;
}

bool MainBarHas(const ButtonList& boutons, ModuleKind kind) {
  for (const TBouton* rec : boutons.MainBar()) {
    if (rec->Module() == kind) return true;
  }
  return false;
}

}  // namespace

SYSTEMTIME ShiftedLocalTime(std::int64_t offsetMs) {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  FILETIME ft{};
  if (offsetMs == 0 || ::SystemTimeToFileTime(&now, &ft) == FALSE) return now;
  ULARGE_INTEGER t{};
  t.LowPart = ft.dwLowDateTime;
  t.HighPart = ft.dwHighDateTime;
  t.QuadPart += static_cast<ULONGLONG>(offsetMs * kFileTimeUnitsPerMs);  // wraps back for a negative one
  ft.dwLowDateTime = t.LowPart;
  ft.dwHighDateTime = t.HighPart;
  SYSTEMTIME shifted{};
  return ::FileTimeToSystemTime(&ft, &shifted) != FALSE ? shifted : now;
}

ModuleBar::ModuleBar(KeyValueStore& store) : store_(store) {}

ModuleBar::~ModuleBar() = default;

void ModuleBar::FormCreate(HWND application, HWND dock) {
  application_ = application;
  dock_ = dock;
  RestoreHiddenWindows(store_);
  clockTime_ = nullptr;
  if (const auto key = store_.Open(kTestClockKey, false)) {
    if (const auto wanted = DayTimeMs(key->ReadString("ClockTime").value_or(""))) {
      const SYSTEMTIME now = ShiftedLocalTime(0);
      const std::int64_t nowMs =
          ((now.wHour * 60LL + now.wMinute) * 60 + now.wSecond) * 1000 + now.wMilliseconds;
      const std::int64_t offset = ((*wanted - nowMs) % kDayMs + kDayMs) % kDayMs;
      clockTime_ = [offset] { return ShiftedLocalTime(offset); };
    }
  }
}

void ModuleBar::PrepareBar(const ButtonList& boutons) {
  if (!MainBarHas(boutons, ModuleKind::VirtualDesk)) {
    screens_.reset();  // shows every window of every screen
  } else if (!screens_) {
    screens_ = std::make_unique<DeskScreens>(application_, &store_);
  }
}

bool ModuleBar::MakeModule(TKovaBtn& tile, const TBouton& record, const TConfig& cfg) {
  if (record.Module() == ModuleKind::None) return false;
  const ModuleContext context{dock_, screens_.get(), clockTime_};
  tile.SetFace([&](TileSite& site) { return MakeModuleFace(record, cfg, site, context); });
  return true;
}

void ModuleBar::StartModules(const std::vector<std::unique_ptr<TKovaBtn>>& tiles) {
  for (const auto& tile : tiles) {
    TileFace* face = tile->Face();
    if (AsClock(face) != nullptr || AsStat(face) != nullptr) tile->StartFace(true);
  }
}

void ModuleBar::Close() { screens_.reset(); }

void ModuleBar::SendFenToScreen(WindowId window, int screen) {
  if (!screens_ || window == kNoWindow) return;
  win::Win32WindowSystem().Command(window, WindowCommand::Minimize);
  screens_->SendToScreen(win::ToHwnd(window), screen);
}

}  // namespace ql
