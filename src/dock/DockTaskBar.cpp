// The dock's part in running its own task bar (TTaskBar, one of the dock's peers).
#include "core/Bouton.h"
#include "dock/Quaylite.h"
#include "taskbar/TaskBar.h"
#include "win/Win.h"

namespace ql {

void TQuaylite::StartTaskBar() {
  TTaskBar& bar = peers_.taskBar;
  bar.Attach(TaskBarDock{&DernierLance(),
                         [this](std::int32_t numero) {
                           const TBouton* record = FindPtr(numero);
                           return record != nullptr ? record->IconPath : std::string();
                         },
                         [this] { return FindPtrText(kModuleVirtualDesk) != nullptr; },
                         [this](WindowId window, int screen) { SendFenToScreen(window, screen); }});
  bar.Cree(cfg_.Task);
  bar.Init();
  bar.ShowForm(cfg_.Task.ShowTray);
}

void TQuaylite::StopTaskBar() {
  peers_.taskBar.Enleve();  // the notification area and the system task bar come back
  peers_.taskBar.ShowForm(false);
}

void TQuaylite::RebuildTaskBar() {
  if (!TaskBarRunning()) return;
  TTaskBar& bar = peers_.taskBar;
  bar.Enleve();
  bar.Cree(cfg_.Task);
  bar.Init();
  bar.ShowForm(cfg_.Task.ShowTray);
}

void TQuaylite::ShowTaskBar(bool show) {
  if (TaskBarRunning()) peers_.taskBar.ShowForm(show);
}

void TQuaylite::SuspendTaskBar() {
  if (TaskBarRunning()) peers_.taskBar.Suspend();
}

void TQuaylite::ResumeTaskBar() {
  if (TaskBarRunning()) peers_.taskBar.Resume();
}

bool TQuaylite::TaskBarRunning() const { return peers_.taskBar.SetUp(); }

}  // namespace ql
