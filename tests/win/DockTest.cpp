#include <gtest/gtest.h>

#include <cstring>

#include "DockFixture.h"
#include "PixelSurface.h"
#include "win/Win.h"

#include "core/ConfigStore.h"

namespace ql {
namespace {

using testing::DockFixture;

TEST(Dock, FirstStartWithoutStoreIsOneTileAtTheRightEdge) {
  DockFixture f;
  ASSERT_TRUE(f.Start());
  const int sw = ::GetSystemMetrics(SM_CXSCREEN);
  RECT r = f.DockRect();
  EXPECT_EQ(r.left, sw - 48);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 48);
  EXPECT_EQ(r.bottom - r.top, 48);
  EXPECT_EQ(f.dock->TileCount(), 0U);
  EXPECT_EQ(f.dock->DernierLance, 72360);
  EXPECT_TRUE(f.dock->SortieNormale);
}

TEST(Dock, BarFollowsTheStoredEdgeSizeAndGroups) {
  DockFixture f;
  TConfig stored;
  stored.Sens = "G";
  stored.Taille = 16;
  stored.PosTop = 100;
  DockFixture::FillStore(f.store, stored, 6, true, testing::SystemIconLibrary());
  ASSERT_TRUE(f.Start());
  const int side = f.dock->TileSide();
  EXPECT_EQ(side, 32);
  RECT r = f.DockRect();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.bottom - r.top, side * 7);
  ASSERT_EQ(f.dock->TileCount(), 6U);
  // Groups (first and sixth buttons) carry their mark on the side away from the edge.
  EXPECT_EQ(f.dock->GetBtn(1)->Groupe(), TGroupeState::gRight);
  EXPECT_EQ(f.dock->GetBtn(2)->Groupe(), TGroupeState::gNone);
  EXPECT_EQ(f.dock->GetBtn(6)->Groupe(), TGroupeState::gRight);
  // Members are numbered after the bar: 7, 8 for the first group.
  EXPECT_EQ(f.dock->Boutons().FindPtr(7)->NumBranche, 1);
}

TEST(Dock, BranchSlidesOutBesideTheGroupAndBack) {
  DockFixture f;
  DockFixture::FillStore(f.store, TConfig{}, 3, true, testing::SystemIconLibrary());
  ASSERT_TRUE(f.Start());
  f.dock->FormShow();
  TBouton* group = f.dock->Boutons().GetBranchePtr(1);
  ASSERT_NE(group, nullptr);
  BranchStyle style{&f.config, f.dock->TileSide(), nullptr, nullptr};
  const int count = f.branch.CreeBarreBranche(group, style);
  ASSERT_EQ(count, 2);
  f.dock->AfficheBarreBranche(true, group, count);
  RECT d = f.DockRect();
  RECT b{};
  ::GetWindowRect(f.branch.hwnd(), &b);
  const int side = f.dock->TileSide();
  EXPECT_TRUE(f.branch.Visible());
  EXPECT_EQ(b.right, d.left);  // right-edge bar: the branch opens to the left
  EXPECT_EQ(b.top, d.top + side);
  EXPECT_EQ(b.right - b.left, 2 * side);
  f.dock->AfficheBarreBranche(false, group, 0);
  EXPECT_FALSE(f.branch.Visible());
}

TEST(Dock, RebuildsLeakNoGdiOrUserObjects) {
  DockFixture f;
  f.config.Fond.clear();
  DockFixture::FillStore(f.store, TConfig{}, 20, true, testing::SystemIconLibrary());
  ASSERT_TRUE(f.Start());
  f.dock->FormShow();
  f.Rebuild();
  const std::uint32_t before = test::GdiObjects();
  ASSERT_GT(before, 0U);
  for (int i = 0; i < 50; ++i) {
    f.Rebuild();
    ::RedrawWindow(f.dock->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  EXPECT_EQ(test::GdiObjects(), before);
}

TEST(Dock, DroppedFileBecomesALastTileAndIsStored) {
  DockFixture f;
  ASSERT_TRUE(f.Start());
  const std::string lib = testing::SystemIconLibrary();
  // Build a real HDROP: a DROPFILES block with one wide path.
  std::wstring path(lib.begin(), lib.end());
  const std::size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  ASSERT_NE(mem, nullptr);
  auto* df = static_cast<DROPFILES*>(::GlobalLock(mem));
  df->pFiles = sizeof(DROPFILES);
  df->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), path.c_str(), path.size() * sizeof(wchar_t));
  ::GlobalUnlock(mem);
  ::SendMessageW(f.dock->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
  ASSERT_EQ(f.dock->TileCount(), 1U);
  const TBouton* b = f.dock->Boutons().FindPtr(1);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->BtnApp, lib);
  EXPECT_EQ(b->NomApp, "shell32.dll");
  EXPECT_EQ(b->IconIndex, 999);
  auto key = f.store.Open("SoftWare\\Wendor\\Quaylite", false);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->ReadString("BtnApp1").value_or(""), lib);
  EXPECT_EQ(key->ReadString("Icone1").value_or(""), lib + ",999");
}

TEST(Dock, CloseWritesTheWholeStoreAndTheLockValues) {
  DockFixture f;
  DockFixture::FillStore(f.store, TConfig{}, 2, false, "notepad.exe");
  EcritSortie(f.store, "0");
  ASSERT_TRUE(f.Start());
  EXPECT_FALSE(f.dock->SortieNormale);
  ::SendMessageW(f.dock->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(f.dock->hwnd(), nullptr);
  auto key = f.store.Open("SoftWare\\Wendor\\Quaylite", false);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->ReadString("exit").value_or(""), "1");
  EXPECT_EQ(key->ReadString("Sens").value_or(""), "D");
  EXPECT_EQ(key->ReadString("BtnApp2").value_or(""), "notepad.exe");
  auto lock = f.store.Open("RemoteAccess\\Windows", false);
  ASSERT_NE(lock, nullptr);
  EXPECT_EQ(lock->ReadString("Provider").value_or(""), "0");
  EXPECT_TRUE(lock->Read("Init").has_value());
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
  }  // the WM_QUIT posted by the closing dock
}

}  // namespace
}  // namespace ql

namespace ql {
namespace {

TEST(DockMenu, DeletingAButtonKeepsTheOthers) {
  testing::DockFixture f;
  testing::DockFixture::FillStore(f.store, TConfig{}, 3, true, "notepad.exe");
  ASSERT_TRUE(f.Start());
  ASSERT_EQ(f.dock->TileCount(), 3U);
  f.dock->SupprimerClick(2);
  EXPECT_EQ(f.dock->TileCount(), 2U);
  EXPECT_EQ(f.dock->Boutons().FindPtr(2)->NomApp, "Button 2");
  f.dock->SupprimerClick(1);  // a group: its two members go with it
  EXPECT_EQ(f.dock->TileCount(), 1U);
  EXPECT_EQ(f.dock->Boutons().NbBoutons(), 1);
  auto key = f.store.Open("SoftWare\\Wendor\\Quaylite", false);
  EXPECT_EQ(key->ReadString("NomApp1").value_or(""), "Button 2");
  EXPECT_FALSE(key->ReadString("BtnApp2").has_value());
}

}  // namespace
}  // namespace ql

namespace ql {
namespace {

TEST(DockLaunch, DernierLanceFollowsTheLastLaunchAndResetsOnFailure) {
  testing::DockFixture f;
  ASSERT_TRUE(f.Start());
  f.dock->Boutons().Append(ButtonData{"Exit", "C:\\windows\\system32\\cmd.exe|/c exit", "", "", 0});
  f.dock->Boutons().Append(ButtonData{"Missing", "C:\\no\\such\\program.exe|x", "", "", 0});
  f.Rebuild();
  f.dock->RunApp(1);
  EXPECT_EQ(f.dock->DernierLance, 1);
  f.dock->RunApp(2);
  EXPECT_EQ(f.dock->DernierLance, 72360);
  f.dock->RunApp(1);
  f.dock->RunApp(7);  // no such tile: nothing happens
  EXPECT_EQ(f.dock->DernierLance, 1);
}

TEST(DockDrag, ExchangedTilesSwapPlacesAndTagsWithoutARebuild) {
  testing::DockFixture f;
  testing::DockFixture::FillStore(f.store, TConfig{}, 3, false, "notepad.exe");
  ASSERT_TRUE(f.Start());
  TKovaBtn* first = f.dock->GetBtn(1);
  TKovaBtn* third = f.dock->GetBtn(3);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(third, nullptr);
  const int side = f.dock->TileSide();
  f.dock->BtnAppDragDrop(1, 3);
  // The same controls, each showing what it showed, at the other's place and number.
  EXPECT_EQ(first->Top(), 3 * side);
  EXPECT_EQ(first->Tag(), 3);
  EXPECT_EQ(third->Top(), side);
  EXPECT_EQ(third->Tag(), 1);
  EXPECT_EQ(first->Hint(), "Button 0");
  EXPECT_EQ(f.dock->Boutons().FindPtr(3)->NomApp, "Button 0");
  auto key = f.store.Open("SoftWare\\Wendor\\Quaylite", false);
  EXPECT_EQ(key->ReadString("NomApp1").value_or(""), "Button 2");
  EXPECT_EQ(key->ReadString("NomApp3").value_or(""), "Button 0");
}

}  // namespace
}  // namespace ql
