// The configuration dialog on the real dock (memory store): what the dock does after OK, the hot
// key registered again, and a module added from the dialog appearing on the bar at once.
#include <gtest/gtest.h>

#include <string>

#include "DockFixture.h"
#include "core/Config.h"
#include "core/ConfigStore.h"

namespace {

using ql::ConfigMainPage;
using ql::ModulesPage;
using ql::testing::DockFixture;
using ql::testing::HotKeyFree;
using ql::testing::PumpQuit;
using ql::testing::StoredValue;

ql::TConfiguration* g_dialog = nullptr;

void CALLBACK GiveUp(HWND h, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(h, id);
  g_dialog->EndModal(-100);
}

// "Dock to the Left", then OK.
void CALLBACK ChooseLeftThenOk(HWND h, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(h, id);
  ConfigMainPage& page = g_dialog->ConfigMain();
  page.Combo(ConfigMainPage::PosDock).SetItemSel(0);
  page.Changed(ConfigMainPage::PosDock);
  ::PostMessageW(h, WM_COMMAND, IDOK, 0);
}

TEST(DockConfiguration, DockToTheLeftAndOkMovesTheBarAndStoresG) {
  DockFixture f;
  ql::TConfig stored;
  stored.Sens = "D";
  DockFixture::FillStore(f.store, stored, 2, false, "notepad.exe");
  ASSERT_TRUE(f.Start());
  const int sw = ::GetSystemMetrics(SM_CXSCREEN);
  ASSERT_EQ(f.DockRect().right, sw);

  g_dialog = &f.peers->configuration;
  HWND dlg = f.peers->configuration.hwnd();
  ::SetTimer(dlg, 1, 5000, GiveUp);
  ::SetTimer(dlg, 2, 10, ChooseLeftThenOk);
  f.dock->ConfigurationClick();
  ::KillTimer(dlg, 1);
  g_dialog = nullptr;

  EXPECT_EQ(f.config.Sens, "G");
  EXPECT_EQ(f.DockRect().left, 0);
  EXPECT_EQ(StoredValue(f.store, "Sens"), "G");
  EXPECT_EQ(f.dock->TileCount(), 2U);
  ::SendMessageW(f.dock->hwnd(), WM_CLOSE, 0, 0);
  PumpQuit();
}

TEST(DockConfiguration, HotKeyIsRegisteredAgainFromTheSetting) {
  DockFixture f;
  ql::TConfig stored;
  stored.HotKey = "Ctrl+J";
  DockFixture::FillStore(f.store, stored, 1, false, "notepad.exe");
  ASSERT_TRUE(f.Start());
  EXPECT_FALSE(HotKeyFree('J'));
  f.config.HotKey = "Ctrl+U";
  f.dock->ResetHotKey();
  EXPECT_TRUE(HotKeyFree('J'));
  EXPECT_FALSE(HotKeyFree('U'));
  f.config.HotKey.clear();
  f.dock->ResetHotKey();
  EXPECT_TRUE(HotKeyFree('U'));
  ::SendMessageW(f.dock->hwnd(), WM_CLOSE, 0, 0);
  PumpQuit();
}

TEST(DockConfiguration, AModuleAddedFromTheDialogIsLastOnTheBarAtOnceAndStored) {
  DockFixture f;
  DockFixture::FillStore(f.store, ql::TConfig{}, 2, true, "notepad.exe");
  ASSERT_TRUE(f.Start());
  ql::TConfiguration& dialog = f.peers->configuration;
  dialog.FormShow();
  ModulesPage& page = dialog.Modules();
  ASSERT_TRUE(page.Enabled(ModulesPage::MAddClock));
  page.Clicked(ModulesPage::MAddClock);
  EXPECT_EQ(f.dock->TileCount(), 3U);
  const ql::TBouton* last = f.dock->Boutons().DernierBouton();
  ASSERT_EQ(last->BtnApp, ql::kModuleClock);
  EXPECT_EQ(last->Numero, 3);  // after the bar's two buttons, before the group's members
  const ql::TKovaBtn* tile = f.dock->GetBtn(last->Numero);
  ASSERT_NE(tile, nullptr);
  EXPECT_NE(tile->Face(), nullptr);
  EXPECT_EQ(StoredValue(f.store, "BtnApp3"), ql::kModuleClock);

  page.Clicked(ModulesPage::MRemClock);
  EXPECT_EQ(f.dock->TileCount(), 2U);
  EXPECT_EQ(StoredValue(f.store, "BtnApp3"), "notepad.exe,BtnApp1-");
  ::SendMessageW(f.dock->hwnd(), WM_CLOSE, 0, 0);
  PumpQuit();
}

}  // namespace
