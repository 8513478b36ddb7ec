// The Taskbar page: the task bar switched on or off, and the task button editor (icon size,
// label, background of the normal and the selected button, border, dock icons, tray).
//
// The task button preview is a placeholder panel showing "Quaylite" until the task button
// control exists; the editor's settings are complete without it.
#pragma once

#include "dialogs/config/ConfigPage.h"

namespace ql {

class ShellPage final : public ConfigPage {
 public:
  enum : int {
    ActiveTask = 500,
    KovaCombo,
    TrackIconSize,
    KovaTask,
    ChkRect,
    BtnCol,
    ChkShadow,
    CoulOn,
    CoulText,
    RBON1,
    PBON1,
    RBON2,
    PBON2,
    ChkBorder,
    ChkIconDock,
    ChkTray,
    Label22,
  };

  void Load(const ConfigDraft& draft) override;
  void Save(ConfigDraft& draft) const override;
  void Clicked(int id) override;
  void Changed(int id) override;

  // Whether the editor shows the selected button ("Select. Button").
  bool EditsSelected() const { return Combo(KovaCombo).ItemSel() == 1; }

 protected:
  std::span<const ControlSpec> Table() const override;

 private:
  void TrackIconSizeChange();
  void ShowIconSize(bool smallStyle) const;
  void CoulTextClick();
};

}  // namespace ql
