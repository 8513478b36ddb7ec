#include "dialogs/config/ViewPage.h"

#include <array>

#include "controls/TileStyle.h"
#include "core/Command.h"

namespace ql {

namespace {

using P = ViewPage;

constexpr std::array kControls{
    ControlRow{0, Ctl::Group, " View ", 8, 4, 190, 152},
    ControlRow{P::ResetText, Ctl::Button, "Reset Textures", 100, 24, 90, 23},
    ControlRow{P::Confirmation, Ctl::Check, "Confirm &Delete", 100, 56, 92, 17},
    ControlRow{P::Label21, Ctl::Label, "If you delete a group, all buttons inside are also deleted !", 16,
               104, 174, 44},
    ControlRow{0, Ctl::Group, " Background ", 206, 4, 192, 80},
    ControlRow{P::BPerso, Ctl::Radio, "&Texture", 214, 24, 90, 17},
    ControlRow{P::ChoixTexture, Ctl::Button, "Bro&wse", 310, 21, 80, 23},
    ControlRow{P::BStandard, Ctl::Radio, "Sta&ndard", 214, 54, 90, 17},
    ControlRow{P::BtnCouleur, Ctl::Button, "Cho&ose", 310, 51, 80, 23},
    ControlRow{0, Ctl::Group, " Options ", 206, 88, 192, 68},
    ControlRow{P::BtnRelief, Ctl::Check, "Show the &Border", 214, 106, 176, 17},
    ControlRow{P::ChkDots, Ctl::Check, "Show &dots on group button", 214, 128, 182, 17},
    ControlRow{P::CheckSnd, Ctl::Check, "&Activate sound events", 8, 162, 200, 17},
    ControlRow{0, Ctl::Group, " Expand Dock ", 8, 184, 190, 52},
    ControlRow{P::BWavOpen, Ctl::Edit, "", 16, 204, 140, 21},
    ControlRow{P::BrOpenB, Ctl::Button, "...", 162, 204, 28, 21},
    ControlRow{0, Ctl::Group, " Collapse Dock ", 206, 184, 192, 52},
    ControlRow{P::BWavClose, Ctl::Edit, "", 214, 204, 142, 21},
    ControlRow{P::BrCloseB, Ctl::Button, "...", 362, 204, 28, 21},
    ControlRow{0, Ctl::Group, " Open Group ", 8, 242, 190, 52},
    ControlRow{P::OpenWav, Ctl::Edit, "", 16, 262, 140, 21},
    ControlRow{P::BrOpen, Ctl::Button, "...", 162, 262, 28, 21},
    ControlRow{0, Ctl::Group, " Close Dock ", 206, 242, 192, 52},
    ControlRow{P::CloseWav, Ctl::Edit, "", 214, 262, 142, 21},
    ControlRow{P::BrClose, Ctl::Button, "...", 362, 262, 28, 21},
};

constexpr std::array kSoundControls{P::BWavOpen, P::BrOpenB, P::BWavClose, P::BrCloseB,
                                    P::OpenWav,  P::BrOpen,  P::CloseWav,  P::BrClose};
constexpr int kPreviewSide = 68;

}  // namespace

ViewPage::ViewPage() = default;
ViewPage::~ViewPage() = default;

std::span<const ControlRow> ViewPage::Table() const { return kControls; }

void ViewPage::Build() {
  hints_.Create(hwnd());
  apercuPanel_.Create(hwnd(), 18, 24, kPreviewSide, kPreviewSide, &hints_);
  apercu_.Create(apercuPanel_.Host(), 0, 0, kPreviewSide, kPreviewSide);
  apercu_.SetIconSize(48);  // auto size: the tile follows the icon
  apercu_.SetFont(L"small", 9);
}

void ViewPage::Load(const ConfigDraft& d) {
  const TConfig& c = d.cfg;
  DockOps& dock = *ctx_->dock;
  apercu_.SetIconPath(dock.MainIconPath());
  Check(BtnRelief).SetChecked(c.Relief);
  apercu_.SetBorder(c.Relief);
  Check(Confirmation).SetChecked(c.Confirm);
  Check(ChkDots).SetChecked(c.ShowDots);
  apercu_.SetGroupe(c.ShowDots ? TGroupeState::gLeft : TGroupeState::gNone);
  const bool perso = !c.Fond.empty();
  Radio(perso ? BPerso : BStandard).SetChecked(true);
  Enable(BtnCouleur, !perso);
  Enable(ChoixTexture, perso);
  apercu_.SetColor(c.Couleur);
  apercu_.SetTexture(dock.MainTexture());
  Check(CheckSnd).SetChecked(c.PlaySnd);
  SetText(OpenWav, FileNamePart(c.OpenW));
  SetText(CloseWav, FileNamePart(c.CloseW));
  SetText(BWavOpen, FileNamePart(c.OpenWharf));
  SetText(BWavClose, FileNamePart(c.CloseWharf));
  EnableSounds(c.PlaySnd);
}

void ViewPage::Save(ConfigDraft& d) const {
  d.cfg.Confirm = Check(Confirmation).Checked();
  d.cfg.Relief = Check(BtnRelief).Checked();
  d.cfg.ShowDots = Check(ChkDots).Checked();
  d.cfg.PlaySnd = Check(CheckSnd).Checked();
}

void ViewPage::EnableSounds(bool on) const {
  for (const int id : kSoundControls) Enable(id, on);
}

void ViewPage::Clicked(int id) {
  switch (id) {
    case BPerso:
      BPersoClick();
      break;
    case BStandard:
      BStandardClick();
      break;
    case ChoixTexture:
      ChoixTextureClick();
      break;
    case BtnCouleur:
      BtnCouleurClick();
      break;
    case ResetText:
      ResetTextClick();
      break;
    case CheckSnd:
      CheckSndClick();
      break;
    case BrOpenB:
      BrowseSound(BWavOpen, &TConfig::OpenWharf);
      break;
    case BrCloseB:
      BrowseSound(BWavClose, &TConfig::CloseWharf);
      break;
    case BrOpen:
      BrowseSound(OpenWav, &TConfig::OpenW);
      break;
    case BrClose:
      BrowseSound(CloseWav, &TConfig::CloseW);
      break;
    case BtnRelief:
      ctx_->draft->cfg.Relief = Check(BtnRelief).Checked();
      apercu_.SetBorder(ctx_->draft->cfg.Relief);
      break;
    case ChkDots:
      ctx_->draft->cfg.ShowDots = Check(ChkDots).Checked();
      apercu_.SetGroupe(ctx_->draft->cfg.ShowDots ? TGroupeState::gLeft : TGroupeState::gNone);
      break;
    case Confirmation:
      ctx_->draft->cfg.Confirm = Check(Confirmation).Checked();
      break;
    default:
      break;
  }
}

void ViewPage::BPersoClick() {
  ConfigDraft& d = *ctx_->draft;
  Radio(BPerso).SetChecked(true);
  Enable(ChoixTexture, true);
  Enable(BtnCouleur, false);
  if (!d.previewTexture.empty()) {
    ShowTileTexture(apercu_, d.previewTexture, nullptr);
    d.cfg.Fond = d.previewTexture;
  }
}

void ViewPage::BStandardClick() {
  ConfigDraft& d = *ctx_->draft;
  Radio(BStandard).SetChecked(true);
  d.cfg.Fond.clear();
  Enable(BtnCouleur, true);
  Enable(ChoixTexture, false);
  apercu_.SetColor(d.previewColour);
  apercu_.SetTexture(nullptr);
}

void ViewPage::ChoixTextureClick() {
  ConfigDraft& d = *ctx_->draft;
  FileChoice choice{std::string(kPictureFilter), 1, FolderOf(d.cfg.Fond), FileNamePart(d.cfg.Fond)};
  if (!ctx_->choosers->OpenBMP || !ctx_->choosers->OpenBMP(ctx_->dialog, choice)) return;
  d.cfg.Fond = choice.fileName;
  apercu_.SetTexture(nullptr);
  d.previewTexture = d.cfg.Fond;
  // A file that is not a readable bitmap leaves the preview on its plain colour.
  ShowTileTexture(apercu_, d.previewTexture, nullptr);
}

void ViewPage::BtnCouleurClick() {
  ConfigDraft& d = *ctx_->draft;
  COLORREF colour = d.cfg.Couleur;
  if (!ctx_->choosers->Colour || !ctx_->choosers->Colour(ctx_->dialog, colour)) return;
  d.cfg.Couleur = colour;
  d.previewColour = colour;
  apercu_.SetColor(colour);
  apercu_.SetTexture(nullptr);  // repaints with the new colour
}

void ViewPage::ResetTextClick() {
  DockOps& dock = *ctx_->dock;
  if (dock.Closed() || !ctx_->choosers->Message) return;
  const int answer =
      ctx_->choosers->Message(ctx_->dialog, "Delete all textures ?", "Quaylite", MB_ICONQUESTION | MB_YESNO);
  if (answer == IDNO || dock.Closed()) return;
  for (TBouton* r : dock.Boutons().MainBar()) {
    r->Texture.clear();
    for (TBouton* m : ButtonList::Members(*r)) m->Texture.clear();
  }
  dock.EffaceBarreBoutons();
  dock.DessineBarre();
}

void ViewPage::CheckSndClick() {
  const bool on = Check(CheckSnd).Checked();
  EnableSounds(on);
  ctx_->draft->cfg.PlaySnd = on;
}

void ViewPage::BrowseSound(int edit, std::string TConfig::*setting) {
  std::string& path = ctx_->draft->cfg.*setting;
  FileChoice choice{"*.wav|*.wav", 1, FolderOf(path), FileNamePart(path)};
  if (!ctx_->choosers->Open || !ctx_->choosers->Open(ctx_->dialog, choice)) return;
  SetText(edit, FileNamePart(choice.fileName));
  path = choice.fileName;
}

}  // namespace ql
