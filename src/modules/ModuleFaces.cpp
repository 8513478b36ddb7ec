#include "modules/ModuleFaces.h"

#include "core/Bouton.h"
#include "core/Config.h"
#include "modules/KovaClock.h"
#include "modules/KovaRecycler.h"
#include "modules/KovaStat.h"
#include "modules/VirtualDesk.h"

namespace ql {

std::unique_ptr<TileFace> MakeModuleFace(const TBouton& record, const TConfig& config, TileSite& site,
                                         const ModuleContext& context) {
  switch (record.Module()) {
    case ModuleKind::Clock: {
      auto clock = std::make_unique<TKovaClock>(site);
      clock->SetMode(config.ModeClock);
      if (context.clockTime) clock->Now = context.clockTime;
      return clock;
    }
    case ModuleKind::Recycler: {
      auto bin = std::make_unique<TKovaRecycler>(site, context.appWindow);
      bin->SetConfirm(config.cfdel);
      bin->SetIconSize(config.Taille);
      bin->SetIconPath(record.IconPath.empty() ? TKovaRecycler::kDefaultPath : record.IconPath);
      return bin;
    }
    case ModuleKind::VirtualDesk:
      if (context.screens == nullptr) return nullptr;
      return std::make_unique<TVirtualDesk>(site, *context.screens);
    case ModuleKind::SysInfo:
      return std::make_unique<TKovaStat>(site);
    case ModuleKind::None:
      break;
  }
  return nullptr;
}

TKovaClock* AsClock(TileFace* face) { return dynamic_cast<TKovaClock*>(face); }
TKovaRecycler* AsRecycler(TileFace* face) { return dynamic_cast<TKovaRecycler*>(face); }
TKovaStat* AsStat(TileFace* face) { return dynamic_cast<TKovaStat*>(face); }
TVirtualDesk* AsVirtualDesk(TileFace* face) { return dynamic_cast<TVirtualDesk*>(face); }

}  // namespace ql
