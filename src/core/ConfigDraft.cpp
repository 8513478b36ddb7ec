#include "core/ConfigDraft.h"

namespace ql {

ConfigDraft TakeDraft(const TConfig& live) { return ConfigDraft{live, live.Fond, live.Couleur}; }

bool BarChanged(const TConfig& working, const TConfig& live) {
  return working.Fond != live.Fond || working.Couleur != live.Couleur || working.Relief != live.Relief ||
         working.Sens != live.Sens || working.RedimDesk != live.RedimDesk ||
         working.ShowDots != live.ShowDots || working.OnTop != live.OnTop;
}

bool TaskBarChanged(const TConfigTask& live, const TConfigTask& working) {
  // Everything but ShowTray, which only shows or hides the task bar's window.
  TConfigTask a = live;
  TConfigTask b = working;
  a.ShowTray = b.ShowTray = false;
  return a != b;
}

OkOutcome ApplyOk(const ConfigDraft& draft, const OkTexts& texts, TConfig& live) {
  OkOutcome out;
  TConfig working = draft.cfg;
  out.barChanged = BarChanged(working, live);
  if (working.HideDesktop != live.HideDesktop) out.hideDesktop = working.HideDesktop;
  // An emptied Open Group or Close Dock box removes that sound; the two dock sounds stay.
  if (texts.openWav.empty()) working.OpenW.clear();
  if (texts.closeWav.empty()) working.CloseW.clear();
  out.taskBarChanged = TaskBarChanged(live.Task, working.Task);
  live = std::move(working);
  if (texts.hotKey != live.HotKey) {
    live.HotKey = texts.hotKey;
    out.hotKeyChanged = true;
    if (texts.hotKey.empty()) live.Provider = false;  // no hot key, no lock
  }
  live.ItMenNorm = texts.menNorm;
  live.ItMenSel = texts.menSel;
  return out;
}

TaskBarStep TaskBarAfterOk(bool wasOn, bool isOn, bool taskBarChanged) {
  if (wasOn && isOn) return taskBarChanged ? TaskBarStep::Rebuild : TaskBarStep::Show;
  if (isOn) return TaskBarStep::Start;
  if (wasOn) return TaskBarStep::Stop;
  return TaskBarStep::Nothing;
}

}  // namespace ql
