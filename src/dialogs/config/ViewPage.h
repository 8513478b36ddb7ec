// The Buttons page: the tile preview, the bar background (texture or colour), the border and
// group dots, the delete confirmation, "Reset Textures", and the four sounds.
#pragma once

#include "controls/Hints.h"
#include "controls/KovaBtn.h"
#include "dialogs/PreviewPanel.h"
#include "dialogs/config/ConfigPage.h"

namespace ql {

class ViewPage final : public ConfigPage {
 public:
  enum : int {
    ResetText = 300,
    Confirmation,
    Label21,
    BPerso,
    BStandard,
    ChoixTexture,
    BtnCouleur,
    BtnRelief,
    ChkDots,
    CheckSnd,
    BWavOpen,
    BrOpenB,
    BWavClose,
    BrCloseB,
    OpenWav,
    BrOpen,
    CloseWav,
    BrClose,
  };

  ViewPage();
  ~ViewPage() override;

  void Load(const ConfigDraft& draft) override;
  void Save(ConfigDraft& draft) const override;
  void Clicked(int id) override;

  TKovaBtn& Apercu() { return apercu_; }

 protected:
  std::span<const ControlRow> Table() const override;
  void Build() override;

 private:
  void BPersoClick();
  void BStandardClick();
  void ChoixTextureClick();
  void BtnCouleurClick();
  void ResetTextClick();
  void CheckSndClick();
  void BrowseSound(int edit, std::string TConfig::*setting);
  void EnableSounds(bool on) const;

  Hints hints_;
  PreviewPanel apercuPanel_;
  TKovaBtn apercu_;  // after its panel: goes first
};

}  // namespace ql
