// The Taskbar page: the task bar switched on or off, and the task button editor (icon size,
// label, background of the normal and the selected button, border, dock icons, tray).
//
// The preview is a disabled task button captioned "Quaylite" with the main button's icon. It
// always paints as a button whose window is not the active one, so the editor feeds the values of
// the state it edits into the preview's normal-state colours and texture.
#pragma once

#include "dialogs/config/ConfigPage.h"
#include "taskbar/KovaTask.h"
#include "win/Win32WindowSystem.h"

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

  ShellPage();
  ~ShellPage() override;

  void Load(const ConfigDraft& draft) override;
  void Save(ConfigDraft& draft) const override;
  void Clicked(int id) override;
  void Changed(int id) override;

  // Whether the editor shows the selected button ("Select. Button").
  bool EditsSelected() const { return Combo(KovaCombo).ItemSel() == 1; }

  TKovaTask& Preview() { return preview_; }

 protected:
  std::span<const ControlRow> Table() const override;
  void Build() override;

 private:
  void TrackIconSizeChange();
  void KovaComboChange();
  void ShowIconSize(bool smallStyle) const;
  void CoulTextClick();
  // The preview's style and size from the settings, centred in its group.
  void PreviewStyle(const TConfigTask& t);
  // The preview's background from a texture file (none, or one that cannot be read: its colour).
  void PreviewTexture(const std::string& file);

  win::Win32WindowSystem system_;
  TKovaTask preview_;
};

}  // namespace ql
