// The factory of the module faces, keyed on the record's module kind, with the settings the bar
// gives each module (the clock's 12-hour option, the recycle bin's confirmation, path and icon
// size). The tile's own look (colour, texture, frame) stays with the tile.
#pragma once

#include <functional>
#include <memory>

#include "controls/TileFace.h"

namespace ql {

struct TBouton;
struct TConfig;
class DeskScreens;
class TKovaClock;
class TKovaRecycler;
class TKovaStat;
class TVirtualDesk;

struct ModuleContext {
  HWND appWindow = nullptr;        // the application's main window (the dock)
  DeskScreens* screens = nullptr;  // the dock's virtual screens, for a "Virtual Desktop" record
  // The clock's local time; empty: the system's.
  std::function<SYSTEMTIME()> clockTime;
};

// The face for a module record ("Clock Quaylite", "Recycler", "Virtual Desktop", "SysInfo"),
// shown by `site`; nullptr for a record that is no module, or a virtual screens record without
// the dock's screens. The face is created stopped (the virtual screens excepted, which run from
// creation): the bar starts it once it is drawn.
std::unique_ptr<TileFace> MakeModuleFace(const TBouton& record, const TConfig& config, TileSite& site,
                                         const ModuleContext& context);

// A face as the module it is, or nullptr (for the configuration dialog, which reaches the clock's
// Mode and the recycle bin's Confirm through the tile GetBtn finds).
TKovaClock* AsClock(TileFace* face);
TKovaRecycler* AsRecycler(TileFace* face);
TKovaStat* AsStat(TileFace* face);
TVirtualDesk* AsVirtualDesk(TileFace* face);

}  // namespace ql
