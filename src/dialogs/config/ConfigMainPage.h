// The Config page: the main menu's entries and look, the menu item bitmaps, the dock's edge and
// its options.
#pragma once

#include "dialogs/config/ConfigPage.h"

namespace ql {

class ConfigMainPage final : public ConfigPage {
 public:
  enum : int {
    RPoste = 200,
    RNet,
    RConf,
    RDesk,
    RPerso,
    RImpr,
    RStart,
    RFormat,
    ChkMnuKova,
    MenNorm,
    BrMenNorm,
    MenSel,
    BrMenSel,
    PosDock,
    RediDesk,
    ChkOnTop,
    ChkSingle,
    RCacher,
  };

  void Load(const ConfigDraft& draft) override;
  void Save(ConfigDraft& draft) const override;
  void Clicked(int id) override;
  void Changed(int id) override;

 protected:
  std::span<const ControlRow> Table() const override;

 private:
  void BrowseMenuBitmap(int edit) const;
};

}  // namespace ql
