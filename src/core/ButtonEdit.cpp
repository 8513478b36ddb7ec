#include "core/ButtonEdit.h"

#include <limits>
#include <memory>
#include <utility>

#include "core/Text.h"

namespace ql {

namespace {

// The main-bar records the send-to list offers, in bar order.
std::vector<TBouton*> Destinations(const ButtonList& list, const TBouton* source) {
  std::vector<TBouton*> out;
  for (TBouton* r = list.First(); r != nullptr; r = r->Suivant.get()) {
    if (source != nullptr && r->Numero == source->Numero) continue;
    out.push_back(r);
  }
  return out;
}

bool IsMember(const TBouton& record) {
  return record.Precedent != nullptr && record.Precedent->Branche.get() == &record;
}

}  // namespace

std::vector<std::string> SendToLines(const ButtonList& list, const TBouton* source) {
  std::vector<std::string> lines;
  lines.emplace_back(kMainDockLine);
  for (const TBouton* r : Destinations(list, source)) {
    if (r->BtnApp == kModuleVirtualDesk) {
      lines.emplace_back(kImpossibleLine);
    } else {
      lines.push_back(r->NomApp.empty() ? r->BtnApp : r->NomApp);
    }
  }
  return lines;
}

SendToPick SendToChoice(const ButtonList& list, const TBouton* source, int line) {
  SendToPick pick;
  if (line < 0) return pick;
  if (line == 0) {
    pick.selected = true;
    return pick;
  }
  const std::vector<TBouton*> records = Destinations(list, source);
  if (static_cast<std::size_t>(line) > records.size()) return pick;
  TBouton* chosen = records[static_cast<std::size_t>(line) - 1];
  pick.selected = true;
  pick.target = chosen;
  if (chosen->BtnApp == kModuleVirtualDesk) {
    pick.okEnabled = false;
    pick.caption = VirtualDeskCaption(chosen->BtnApp);
  } else {
    pick.caption = chosen->NomApp.empty() ? chosen->BtnApp : std::string();
  }
  return pick;
}

std::string VirtualDeskCaption(std::string_view btnApp) {
  const auto blank = btnApp.find(' ');
  if (blank == std::string_view::npos) return {};
  return std::string(btnApp.substr(0, blank + 1));
}

void SendTo(ButtonList& list, TBouton* source, TBouton* target) {
  if (source == nullptr || source == list.TeteBoutons()) return;
  // A group would lose its members with its record, and a record cannot hang below itself.
  if (!IsMember(*source) && source->HasMembers()) return;
  if (target == source) return;

  ButtonData copy{source->NomApp, source->BtnApp, source->IconPath, source->Texture, source->IconIndex};
  // After the target's last member (the target itself when it has none), or at the end of the
  // main bar (which keeps DernierBouton).
  TBouton* added =
      target != nullptr ? &list.AppendMember(*target, std::move(copy)) : &list.Append(std::move(copy));
  // Numbered for real by the next renumbering.
  added->NumBranche = 999;
  added->Numero = 999;
  list.BoutonCible = added;
  list.DisposeBouton(source, false);
}

PropertiesFields EditableFields(TileKind kind) {
  switch (kind) {
    case TileKind::Button:
    case TileKind::Group:
      return {true, true, true, true};
    case TileKind::Recycler:
      return {false, true, false, true};
    case TileKind::Clock:
    case TileKind::VirtualDesk:
    case TileKind::SysInfo:
      return {false, false, false, false};
  }
  return {};
}

void ApplyPropertiesOk(TBouton& record, const PropertiesResult& result) {
  if (result.Icone.find(".ico") == std::string::npos) record.IconIndex = result.IconIndexEdite;
  if (result.TextureChoisie) record.Texture = result.PictureFileName;
}

void ApplyEditedFields(TBouton& record, const PropertiesResult& result) {
  record.IconPath = result.Icone;
  record.NomApp = result.Nom;
  if (!result.Chemin.empty()) record.BtnApp = result.Chemin;
}

bool ApplyTextureChoice(TBouton& record, const PropertiesResult& result, std::string_view textureAtOpening) {
  record.Texture = result.SameTexture ? std::string() : result.PictureFileName;
  return record.Texture != textureAtOpening;
}

bool IconSteppingEnabled(std::string_view iconeText) {
  return ToLowerAscii(iconeText).find(".ico") == std::string::npos;
}

std::int32_t InitialIconIndex(std::int32_t recordIndex) { return recordIndex == 999 ? 0 : recordIndex; }

IconStep StepPrevious(std::int32_t index) {
  if (index == 999) index = 0;
  if (index <= 0) return {index, false, false};
  return {index - 1, true, true};
}

IconStep StepNext(std::int32_t index) {
  if (index == std::numeric_limits<std::int32_t>::max()) return {index, false, true};
  return {index + 1, true, true};
}

IconBrowseStart IconBrowseFor(std::string_view iconeText) {
  IconBrowseStart start;
  const auto sep = iconeText.find_last_of("\\:");
  const std::size_t nameAt = sep == std::string_view::npos ? 0 : sep + 1;
  start.folder = std::string(iconeText.substr(0, nameAt));
  start.fileName = std::string(iconeText.substr(nameAt));
  const auto dot = start.fileName.rfind('.');
  const std::string ext = dot == std::string::npos ? std::string() : ToLowerAscii(start.fileName.substr(dot));
  if (ext == ".ico") {
    start.filterIndex = 1;
  } else if (ext == ".exe" || ext == ".dll") {
    start.filterIndex = 2;
  } else {
    start.filterIndex = 3;
  }
  return start;
}

}  // namespace ql
