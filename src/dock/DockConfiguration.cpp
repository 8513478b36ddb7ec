// "Quaylite Configuration": the dialog, and what the dock does after its OK.
#include "core/ConfigDraft.h"
#include "dock/Quaylite.h"
#include "taskbar/WinUtil.h"
#include "win/Win.h"

namespace ql {

void TQuaylite::ConfigurationClick() {
  if (closed_) return;
  SauvePosBarre();
  const bool wasOn = cfg_.TaskBar;
  TConfiguration& dialog = peers_.configuration;
  if (dialog.ShowModal(hwnd()) != IDOK || closed_) return;
  CreeMenu();
  if (dialog.BarChanged()) {
    EffaceBarreBoutons();
    DessineBarre();
  }
  EcritBaseRegistre();
  UpdateTaskBar(wasOn, dialog.TaskBarChanged());
}

void TQuaylite::UpdateTaskBar(bool wasOn, bool changed) {
  switch (TaskBarAfterOk(wasOn, cfg_.TaskBar, changed)) {
    case TaskBarStep::Start:
      StartTaskBar();  // created, filled, and shown or hidden by ShowTray
      break;
    case TaskBarStep::Stop:
      StopTaskBar();
      break;
    case TaskBarStep::Rebuild:
      RebuildTaskBar();
      ShowTaskBar(cfg_.Task.ShowTray);
      break;
    case TaskBarStep::Show:
      ShowTaskBar(cfg_.Task.ShowTray);
      break;
    case TaskBarStep::Nothing:
      break;
  }
}

void TQuaylite::SetDesktopIconsHidden(bool hide) { ShowDesktopIcons(hide); }

void TQuaylite::ResetHotKey() {
  hotKey_.Release();
  RegisterDockHotKey();
}

}  // namespace ql
