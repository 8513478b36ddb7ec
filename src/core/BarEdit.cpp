#include "core/BarEdit.h"

#include <utility>

namespace ql {

namespace {
bool OnMainBar(const TBouton& r) { return r.Precedent != nullptr && r.Precedent->Suivant.get() == &r; }
}  // namespace

ExchangeKind ExchangeButtons(TBouton* source, TBouton* target) {
  if (source == nullptr || target == nullptr || source == target) return ExchangeKind::None;
  const bool sourceMain = OnMainBar(*source);
  if (sourceMain != OnMainBar(*target)) return ExchangeKind::None;
  std::swap(source->BtnApp, target->BtnApp);
  std::swap(source->NomApp, target->NomApp);
  std::swap(source->IconPath, target->IconPath);
  std::swap(source->IconIndex, target->IconIndex);
  std::swap(source->Texture, target->Texture);
  if (!sourceMain) return ExchangeKind::Branch;
  std::swap(source->Branche, target->Branche);
  if (source->Branche) source->Branche->Precedent = source;
  if (target->Branche) target->Branche->Precedent = target;
  return ExchangeKind::MainBar;
}

TileKind TileKindOf(const TBouton& record) {
  switch (record.Module()) {
    case ModuleKind::Clock:
      return TileKind::Clock;
    case ModuleKind::VirtualDesk:
      return TileKind::VirtualDesk;
    case ModuleKind::SysInfo:
      return TileKind::SysInfo;
    case ModuleKind::Recycler:
      return TileKind::Recycler;
    case ModuleKind::None:
      break;
  }
  return record.HasMembers() ? TileKind::Group : TileKind::Button;
}

std::string DeleteConfirmation(TileKind kind, std::string_view hint) {
  std::string text = "Delete ";
  switch (kind) {
    case TileKind::Group:
      text += "group ";
      text += hint;
      break;
    case TileKind::Button:
      text += "button ";
      text += hint;
      break;
    case TileKind::Clock:
      text += "Clock button";
      break;
    case TileKind::VirtualDesk:
      text += "Virtual screen button";
      break;
    case TileKind::SysInfo:
      text += "Infos RAM/CPU";
      break;
    case TileKind::Recycler:
      text += "Recycle bin";
      break;
  }
  text += " ?";
  return text;
}

}  // namespace ql
