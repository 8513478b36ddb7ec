#include "dialogs/config/ConfigMainPage.h"

#include <array>
#include <utility>

#include "core/Command.h"

namespace ql {

namespace {

using P = ConfigMainPage;

constexpr std::array kControls{
    ControlRow{0, Ctl::Group, " Quaylite Menu ", 8, 4, 190, 186},
    ControlRow{P::RPoste, Ctl::Check, "&My Computer", 16, 22, 170, 17},
    ControlRow{P::RNet, Ctl::Check, "&Network Neighborhood", 16, 42, 170, 17},
    ControlRow{P::RConf, Ctl::Check, "&Control Panel", 16, 62, 170, 17},
    ControlRow{P::RDesk, Ctl::Check, "&Desktop Icons", 16, 82, 170, 17},
    ControlRow{P::RPerso, Ctl::Check, "M&y Documents", 16, 102, 170, 17},
    ControlRow{P::RImpr, Ctl::Check, "&Printers", 16, 122, 170, 17},
    ControlRow{P::RStart, Ctl::Check, "Windows &Start Menu", 16, 142, 170, 17},
    ControlRow{P::RFormat, Ctl::Check, "&Format Floppy disk", 16, 162, 170, 17},
    ControlRow{0, Ctl::Group, " Menu Style ", 8, 194, 190, 44},
    ControlRow{P::ChkMnuKova, Ctl::Check, "Quaylite St&yle Menu", 16, 213, 170, 17},
    ControlRow{0, Ctl::Group, " Dock Placement ", 206, 4, 192, 74},
    ControlRow{P::PosDock, Ctl::Combo, "Dock to the Left|Dock to the Right|Dock to the Top", 214, 22, 176,
               21},
    ControlRow{P::RediDesk, Ctl::Check, "Resi&ze desktop", 214, 52, 170, 17},
    ControlRow{0, Ctl::Group, " Options ", 206, 82, 192, 84},
    ControlRow{P::ChkOnTop, Ctl::Check, "Dock al&ways On Top", 214, 100, 176, 17},
    ControlRow{P::ChkSingle, Ctl::Check, "Run app with sin&gle click", 214, 120, 176, 17},
    ControlRow{P::RCacher, Ctl::Check, "&Hide desktop icons", 214, 140, 176, 17},
    ControlRow{0, Ctl::Group, " Normal menu item ", 206, 170, 192, 50},
    ControlRow{P::MenNorm, Ctl::Edit, "", 214, 189, 140, 21},
    ControlRow{P::BrMenNorm, Ctl::Button, "...", 360, 189, 28, 21},
    ControlRow{0, Ctl::Group, " Selected menu item ", 206, 224, 192, 50},
    ControlRow{P::MenSel, Ctl::Edit, "", 214, 243, 140, 21},
    ControlRow{P::BrMenSel, Ctl::Button, "...", 360, 243, 28, 21},
};

// The check boxes GetChecked reads, with their settings.
constexpr std::array<std::pair<int, bool TConfig::*>, 13> kChecked{{
    {P::RPoste, &TConfig::Poste},
    {P::RNet, &TConfig::Net},
    {P::RConf, &TConfig::Conf},
    {P::RDesk, &TConfig::Desk},
    {P::RPerso, &TConfig::Perso},
    {P::RImpr, &TConfig::Impr},
    {P::RStart, &TConfig::Start},
    {P::RFormat, &TConfig::Format},
    {P::RediDesk, &TConfig::RedimDesk},
    {P::RCacher, &TConfig::HideDesktop},
    {P::ChkOnTop, &TConfig::OnTop},
    {P::ChkSingle, &TConfig::SingleClick},
    {P::ChkMnuKova, &TConfig::KovaM},
}};

constexpr std::array<const char*, 3> kSens{"G", "D", "H"};

}  // namespace

std::span<const ControlRow> ConfigMainPage::Table() const { return kControls; }

void ConfigMainPage::Load(const ConfigDraft& d) {
  for (const auto& [id, field] : kChecked) Check(id).SetChecked(d.cfg.*field);
  SetText(MenNorm, d.cfg.ItMenNorm);
  SetText(MenSel, d.cfg.ItMenSel);
  // Another edge text leaves the list where it was (the left edge at the first opening).
  for (std::size_t i = 0; i < kSens.size(); ++i) {
    if (d.cfg.Sens == kSens[i]) Combo(PosDock).SetItemSel(static_cast<std::int32_t>(i));
  }
}

void ConfigMainPage::Save(ConfigDraft& d) const {
  for (const auto& [id, field] : kChecked) d.cfg.*field = Check(id).Checked();
}

void ConfigMainPage::Clicked(int id) {
  switch (id) {
    case BrMenNorm:
    case BrMenSel:
      BrowseMenuBitmap(id == BrMenNorm ? MenNorm : MenSel);
      return;
    default:
      // Every check box writes its setting at once (GetChecked and the three own handlers).
      Save(*ctx_->draft);
      return;
  }
}

void ConfigMainPage::Changed(int id) {
  if (id != PosDock) return;
  const std::int32_t sel = Combo(PosDock).ItemSel();
  if (sel >= 0 && sel < static_cast<std::int32_t>(kSens.size())) {
    ctx_->draft->cfg.Sens = kSens[static_cast<std::size_t>(sel)];
  }
}

void ConfigMainPage::BrowseMenuBitmap(int edit) const {
  FileChoice choice{std::string(kPictureFilter), 1, {}, {}};
  if (!ctx_->choosers->OpenBMP || !ctx_->choosers->OpenBMP(ctx_->dialog, choice)) return;
  SetText(edit, choice.fileName);
}

}  // namespace ql
