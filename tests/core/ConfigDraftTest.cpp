// The configuration dialog's decisions on working copies: which changes rebuild the bar and the
// task bar, what OK does to the live settings, and the task bar's four cases after OK.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Config.h"
#include "core/ConfigDraft.h"

namespace {

using ql::ConfigDraft;
using ql::OkTexts;
using ql::TaskBarStep;
using ql::TConfig;
using ql::TConfigTask;

struct Change {
  const char* name;
  std::function<void(TConfig&)> apply;
};

// OK's texts as the boxes show a draft taken from `cfg` that nobody edited.
OkTexts UntouchedTexts(const TConfig& cfg) {
  return OkTexts{"open.wav", "close.wav", cfg.HotKey, cfg.ItMenNorm, cfg.ItMenSel};
}

TEST(ConfigDraft, BarChangedByEachBarSettingOnly) {
  const std::vector<Change> bar = {
      {"Fond", [](TConfig& c) { c.Fond = "wood.bmp"; }},
      {"Couleur", [](TConfig& c) { c.Couleur = 0x112233; }},
      {"Relief", [](TConfig& c) { c.Relief = !c.Relief; }},
      {"Sens", [](TConfig& c) { c.Sens.assign(1, 'G'); }},  // (a literal trips a false GCC 12 -Wrestrict)
      {"RedimDesk", [](TConfig& c) { c.RedimDesk = !c.RedimDesk; }},
      {"ShowDots", [](TConfig& c) { c.ShowDots = !c.ShowDots; }},
      {"OnTop", [](TConfig& c) { c.OnTop = !c.OnTop; }},
  };
  const std::vector<Change> others = {
      {"KovaM", [](TConfig& c) { c.KovaM = true; }},
      {"Poste", [](TConfig& c) { c.Poste = true; }},
      {"HotKey", [](TConfig& c) { c.HotKey = "Ctrl+Q"; }},
      {"SingleClick", [](TConfig& c) { c.SingleClick = true; }},
      {"HideDesktop", [](TConfig& c) { c.HideDesktop = true; }},
      {"TaskBar", [](TConfig& c) { c.TaskBar = true; }},
      {"Task.ColorOn", [](TConfig& c) { c.Task.ColorOn = 5; }},
  };
  TConfig live;
  live.Fond = "Wood.bmp";
  for (const Change& ch : bar) {
    TConfig working = live;
    ch.apply(working);
    EXPECT_TRUE(ql::BarChanged(working, live)) << ch.name;
  }
  for (const Change& ch : others) {
    TConfig working = live;
    ch.apply(working);
    EXPECT_FALSE(ql::BarChanged(working, live)) << ch.name;
  }
  EXPECT_FALSE(ql::BarChanged(live, live));
}

TEST(ConfigDraft, TaskBarChangedByEveryLookSettingButNotShowTray) {
  const std::vector<Change> look = {
      {"TextSelecFile", [](TConfig& c) { c.Task.TextSelecFile = "a.bmp"; }},
      {"TextureFile", [](TConfig& c) { c.Task.TextureFile = "b.bmp"; }},
      {"ColorOn", [](TConfig& c) { c.Task.ColorOn = 1; }},
      {"ColorOff", [](TConfig& c) { c.Task.ColorOff = 2; }},
      {"TColorOn", [](TConfig& c) { c.Task.TColorOn = 3; }},
      {"TColorOff", [](TConfig& c) { c.Task.TColorOff = 4; }},
      {"Border", [](TConfig& c) { c.Task.Border = true; }},
      {"FontName", [](TConfig& c) { c.Task.FontName = "Arial"; }},
      {"FontColor", [](TConfig& c) { c.Task.FontColor = 6; }},
      {"FontSize", [](TConfig& c) { c.Task.FontSize = 12; }},
      {"FontBold", [](TConfig& c) { c.Task.FontBold = true; }},
      {"FontItalic", [](TConfig& c) { c.Task.FontItalic = true; }},
      {"Shadow", [](TConfig& c) { c.Task.Shadow = true; }},
      {"SmallStyle", [](TConfig& c) { c.Task.SmallStyle = true; }},
      {"RectLbl", [](TConfig& c) { c.Task.RectLbl = true; }},
      {"IconDock", [](TConfig& c) { c.Task.IconDock = true; }},
      {"BigIcon", [](TConfig& c) { c.Task.BigIcon = true; }},
      {"RColor", [](TConfig& c) { c.Task.RColor = 7; }},
  };
  const TConfig live;
  for (const Change& ch : look) {
    TConfig working = live;
    ch.apply(working);
    EXPECT_TRUE(ql::TaskBarChanged(live.Task, working.Task)) << ch.name;
  }
  TConfig tray = live;
  tray.Task.ShowTray = !tray.Task.ShowTray;
  EXPECT_FALSE(ql::TaskBarChanged(live.Task, tray.Task));
}

TEST(ConfigDraft, TakeDraftCopiesWholeRecordsAndThePreviews) {
  TConfig live;
  live.Fond = "bar.bmp";
  live.Couleur = 0x00FF00;
  live.MotDePasse = "pw";
  live.Task.FontName = "Tahoma";
  const ConfigDraft d = ql::TakeDraft(live);
  EXPECT_EQ(d.cfg, live);
  EXPECT_EQ(d.previewTexture, "bar.bmp");
  EXPECT_EQ(d.previewColour, 0x00FF00U);
}

TEST(ConfigDraft, OkWithoutChangesClearsBothFlagsAndTouchesNothing) {
  TConfig live;
  live.HotKey = "Ctrl+K";
  live.Provider = true;
  live.OpenW = "c:\\s\\open.wav";
  live.CloseW = "c:\\s\\close.wav";
  const TConfig before = live;
  const ConfigDraft d = ql::TakeDraft(live);
  const ql::OkOutcome out = ql::ApplyOk(d, UntouchedTexts(live), live);
  EXPECT_FALSE(out.barChanged);
  EXPECT_FALSE(out.taskBarChanged);
  EXPECT_FALSE(out.hideDesktop.has_value());
  EXPECT_FALSE(out.hotKeyChanged);
  EXPECT_EQ(live, before);
}

TEST(ConfigDraft, OkCopiesTheWorkingSettingsAndSetsTheFlags) {
  TConfig live;
  ConfigDraft d = ql::TakeDraft(live);
  d.cfg.Sens = "H";
  d.cfg.Task.BigIcon = true;
  d.cfg.Task.ShowTray = false;
  d.cfg.HideDesktop = true;
  d.cfg.Poste = true;
  const ql::OkOutcome out = ql::ApplyOk(d, UntouchedTexts(live), live);
  EXPECT_TRUE(out.barChanged);
  EXPECT_TRUE(out.taskBarChanged);
  ASSERT_TRUE(out.hideDesktop.has_value());
  EXPECT_TRUE(*out.hideDesktop);
  EXPECT_EQ(live.Sens, "H");
  EXPECT_TRUE(live.Task.BigIcon);
  EXPECT_FALSE(live.Task.ShowTray);
  EXPECT_TRUE(live.Poste);
}

TEST(ConfigDraft, OkEmptiedGroupSoundsAreRemovedTheDockSoundsStay) {
  TConfig live;
  live.OpenW = "o.wav";
  live.CloseW = "c.wav";
  live.OpenWharf = "ow.wav";
  live.CloseWharf = "cw.wav";
  const ConfigDraft d = ql::TakeDraft(live);
  OkTexts texts = UntouchedTexts(live);
  texts.openWav.clear();
  texts.closeWav.clear();
  ql::ApplyOk(d, texts, live);
  EXPECT_EQ(live.OpenW, "");
  EXPECT_EQ(live.CloseW, "");
  EXPECT_EQ(live.OpenWharf, "ow.wav");
  EXPECT_EQ(live.CloseWharf, "cw.wav");
}

TEST(ConfigDraft, OkHotKeyEmptiedSwitchesTheLockOffChangedKeepsIt) {
  TConfig live;
  live.HotKey = "Ctrl+L";
  ConfigDraft d = ql::TakeDraft(live);
  d.cfg.Provider = true;  // "Lock Windows" checked in the dialog
  OkTexts texts = UntouchedTexts(live);
  texts.hotKey.clear();
  TConfig emptied = live;
  ql::OkOutcome out = ql::ApplyOk(d, texts, emptied);
  EXPECT_TRUE(out.hotKeyChanged);
  EXPECT_EQ(emptied.HotKey, "");
  EXPECT_FALSE(emptied.Provider);

  texts.hotKey = "Ctrl+M";
  TConfig changed = live;
  out = ql::ApplyOk(d, texts, changed);
  EXPECT_TRUE(out.hotKeyChanged);
  EXPECT_EQ(changed.HotKey, "Ctrl+M");
  EXPECT_TRUE(changed.Provider);
}

TEST(ConfigDraft, OkTakesTheMenuBitmapsAsTyped) {
  TConfig live;
  live.ItMenNorm = "old.bmp";
  const ConfigDraft d = ql::TakeDraft(live);
  OkTexts texts = UntouchedTexts(live);
  texts.menNorm = "c:\\new norm.bmp";
  texts.menSel = "";
  ql::ApplyOk(d, texts, live);
  EXPECT_EQ(live.ItMenNorm, "c:\\new norm.bmp");
  EXPECT_EQ(live.ItMenSel, "");
}

TEST(ConfigDraft, TaskBarAfterOkHasFourCases) {
  EXPECT_EQ(ql::TaskBarAfterOk(false, false, true), TaskBarStep::Nothing);
  EXPECT_EQ(ql::TaskBarAfterOk(false, true, false), TaskBarStep::Start);
  EXPECT_EQ(ql::TaskBarAfterOk(true, false, true), TaskBarStep::Stop);
  EXPECT_EQ(ql::TaskBarAfterOk(true, true, true), TaskBarStep::Rebuild);
  EXPECT_EQ(ql::TaskBarAfterOk(true, true, false), TaskBarStep::Show);
}

}  // namespace
