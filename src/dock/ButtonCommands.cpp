#include "dock/ButtonCommands.h"

#include "core/ButtonEdit.h"
#include "dock/Quaylite.h"
#include "modules/KovaRecycler.h"
#include "modules/ModuleFaces.h"
#include "win/ModalScope.h"

namespace ql {

void ButtonCommands::MenuBoutonsPopup(TKovaBtn& tile, POINT screen) {
  // Everything the commands need is read now: a command may free the tile.
  const std::int32_t n = tile.Tag();
  const TBouton* rec = dock_.FindPtr(n);
  if (rec == nullptr) return;
  const bool module = rec->Module() != ModuleKind::None;
  TileKind kind = TileKindOf(*rec);
  if (!module) kind = tile.Groupe() != TGroupeState::gNone ? TileKind::Group : TileKind::Button;
  const std::string confirmation = DeleteConfirmation(kind, tile.Hint());
  const TConfig& cfg = dock_.Config();
  menu_.Popup(cfg.Taille, cfg.ShowName, !module);
  MenuBoutons::Command command = MenuBoutons::kNone;
  {
    // No other window of the program (the branch above all) acts while the menu shows; the dock
    // owns the menu and stays enabled for it.
    const win::ThreadModalScope modal(dock_.hwnd());
    const HintsOff hints(dock_.TileHints(), dock_.hwnd());
    command = menu_.Track(dock_.hwnd(), screen);
  }
  if (dock_.Closed()) return;  // closed from outside while the menu showed
  switch (command) {
    case MenuBoutons::kChangerIcone:
      ChangerIconeClick(n, kind);
      break;
    case MenuBoutons::kTaille64:
    case MenuBoutons::kTaille48:
    case MenuBoutons::kTaille32:
    case MenuBoutons::kTaille16:
      TailleIconeClick(MenuBoutons::SizeOf(command));
      break;
    case MenuBoutons::kAfficherNom:
      AfficherNomClick();
      break;
    case MenuBoutons::kSupprimer:
      SupprimerClick(n, confirmation);
      break;
    case MenuBoutons::kEnvoyerVers:
      EnvoyerVersClick(n);
      break;
    case MenuBoutons::kNone:
      break;
  }
}

void ButtonCommands::TailleIconeClick(std::int32_t size) {
  dock_.MainBtn().SetIconSize(size);
  dock_.HideBranch();
  dock_.Config().Taille = size;
  dock_.SauvePosBarre();
  dock_.EffaceBarreBoutons();
  dock_.DessineBarre();
  dock_.EcritBaseRegistre();
}

void ButtonCommands::AfficherNomClick() {
  TConfig& cfg = dock_.Config();
  cfg.ShowName = !cfg.ShowName;
  dock_.HideBranch();
  dock_.SauvePosBarre();
  dock_.EffaceBarreBoutons();
  dock_.DessineBarre();
  dock_.EcritBaseRegistre();
}

void ButtonCommands::SupprimerClick(std::int32_t numero, const std::string& confirmation) {
  if (dock_.Config().Confirm) {
    const int answer =
        win::MessageBoxModal(dock_.hwnd(), confirmation, "Confirm", MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES || dock_.Closed()) return;
  }
  dock_.SauvePosBarre();
  dock_.HideBranch();
  dock_.EffaceBarreBoutons();
  dock_.Boutons().DisposeBouton(dock_.FindPtr(numero), true);
  dock_.DessineBarre();
  dock_.EcritBaseRegistre();  // renumbers and rewrites every entry
}

void ButtonCommands::EnvoyerVersClick(std::int32_t numero) {
  dock_.SauvePosBarre();
  ButtonList& boutons = dock_.Boutons();
  TBouton* source = dock_.FindPtr(numero);
  if (source == nullptr || source->HasMembers()) return;  // a group is never sent
  boutons.BoutonSource = source;
  TSendTo& dialog = dock_.Peers().sendTo;
  dialog.Prepare(SendToInput{&dock_, numero});
  const int result = dialog.ShowModal(dock_.hwnd());
  if (dock_.Closed()) return;  // the model is gone: nothing to move, nothing to write
  if (result == IDOK) {
    dock_.HideBranch();
    SendTo(boutons, dock_.FindPtr(numero), boutons.BoutonCible);
    dock_.EffaceBarreBoutons();
    dock_.DessineBarre();
  }
  dock_.EcritBaseRegistre();  // after Cancel too
}

void ButtonCommands::ChangerIconeClick(std::int32_t numero, TileKind kind) {
  TBouton* rec = dock_.FindPtr(numero);
  if (rec == nullptr) return;
  dock_.Boutons().BoutonSource = rec;
  TProprietes& dialog = dock_.Peers().proprietes;
  dialog.Prepare(ProprietesInput{&dock_, numero, kind});
  const int result = dialog.ShowModal(dock_.hwnd());
  if (dock_.Closed() || result != IDOK) return;
  rec = dock_.FindPtr(numero);
  if (rec == nullptr) return;
  const PropertiesResult& edited = dialog.Result();
  ApplyPropertiesOk(*rec, edited);  // the dialog's own OK: the icon index and a picked texture
  ApplyEditedFields(*rec, edited);
  if (TKovaBtn* btn = dock_.GetBtn(numero); btn != nullptr && btn->Face() == nullptr) {
    btn->SetIconSource(rec->IconPath, rec->IconIndex);
    btn->SetHint(rec->NomApp);
    if (dock_.Config().ShowName) btn->SetCaption(rec->NomApp);
  } else if (TKovaRecycler* bin = btn != nullptr ? AsRecycler(btn->Face()) : nullptr) {
    // The folder it shows; an emptied path shows the bin as the bar draws it, not nothing.
    bin->SetIconPath(rec->IconPath.empty() ? TKovaRecycler::kDefaultPath : rec->IconPath);
  }
  dock_.EcritBaseRegistre();
  if (ApplyTextureChoice(*rec, edited, dialog.TextureAtOpening())) {
    dock_.HideBranch();
    dock_.EffaceBarreBoutons();
    dock_.DessineBarre();
  }
}

}  // namespace ql
