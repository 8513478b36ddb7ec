// The modules on the bar: the clock, the recycle bin, the virtual screens and the RAM/CPU gauges as
// tiles of the dock. It gives a module record's tile its face with the module's own settings,
// starts the clock and the gauges once the bar is laid out, and owns the virtual screens, which
// outlive the tiles: a rebuild of the bar keeps the four screens' windows and the active screen;
// only a bar without the module, or the dock's close, shows every window again.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "controls/KovaBtn.h"
#include "core/Bouton.h"
#include "core/Config.h"
#include "core/WindowSystem.h"
#include "win/Win.h"

namespace ql {

class DeskScreens;
class KeyValueStore;

// The key the end-to-end tests write to set the clock's time, which a normal run never has: its
// value "ClockTime" ("HH:MM:SS") is the time the clock shows at the dock's start, running on from
// there.
inline constexpr std::string_view kTestClockKey = "SoftWare\\Wendor\\Quaylite\\Tests";

class ModuleBar {
 public:
  explicit ModuleBar(KeyValueStore& store);
  ModuleBar(const ModuleBar&) = delete;
  ModuleBar& operator=(const ModuleBar&) = delete;
  ~ModuleBar();

  // At the dock's start, before any window is hidden: the windows a previous run left hidden on
  // other screens are shown again. `application` is the program's hidden main window (never
  // listed by the virtual screens), `dock` the dock window (owner of the modules' questions).
  void FormCreate(HWND application, HWND dock);

  // Before the tiles are made: the virtual screens exist exactly while the main bar has a
  // "Virtual Desktop" record.
  void PrepareBar(const ButtonList& boutons);
  // Makes `tile` the module tile of `record` (the common settings are the caller's); false for a
  // record that is no module.
  bool MakeModule(TKovaBtn& tile, const TBouton& record, const TConfig& cfg);
  // After the bar is laid out: starts the clocks and the gauges.
  static void StartModules(const std::vector<std::unique_ptr<TKovaBtn>>& tiles);
  // The dock closes (its tiles already gone): every window of every screen is shown.
  void Close();

  // "Send app to...": minimises `window` and orders the virtual screens to file it under `screen`
  // (1..4) at their next tick. Nothing without a virtual screens module.
  void SendFenToScreen(WindowId window, int screen);
  DeskScreens* Screens() const { return screens_.get(); }

 private:
  KeyValueStore& store_;
  HWND application_ = nullptr;
  HWND dock_ = nullptr;
  std::unique_ptr<DeskScreens> screens_;
  std::function<SYSTEMTIME()> clockTime_;  // empty: the system's time
};

// The local time moved by `offsetMs` milliseconds.
SYSTEMTIME ShiftedLocalTime(std::int64_t offsetMs);

}  // namespace ql
