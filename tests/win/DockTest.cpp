#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../core/PictureFiles.h"
#include "DockFixture.h"
#include "MenuFiles.h"
#include "PixelSurface.h"
#include "core/ConfigStore.h"
#include "core/StartGuard.h"
#include "win/Utf.h"

namespace ql {
namespace {

using testing::DockFixture;
using testing::HotKeyFree;
using testing::PumpQuit;
using testing::StoredValue;

// An HDROP of wide paths, as the shell gives it.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
  std::size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* df = static_cast<DROPFILES*>(::GlobalLock(mem));
  df->pFiles = sizeof(DROPFILES);
  df->fWide = TRUE;
  auto* out = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(df) + sizeof(DROPFILES));
  for (const auto& p : paths) {
    std::memcpy(out, p.c_str(), p.size() * sizeof(wchar_t));
    out += p.size() + 1;
  }
  ::GlobalUnlock(mem);
  return static_cast<HDROP>(mem);
}

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
  EXPECT_EQ(f.dock->DernierLance(), 72360);
  EXPECT_TRUE(f.dock->SortieNormale);
  // No button on the system task bar: the hidden owner is a tool window and nothing else.
  EXPECT_EQ(::GetWindowLongW(f.owner.hwnd(), GWL_EXSTYLE), WS_EX_TOOLWINDOW);
  // The other windows exist, hidden.
  for (HWND w : {f.branch().hwnd(), f.peers->proprietes.hwnd(), f.peers->sendTo.hwnd(),
                 f.peers->password.hwnd(), f.peers->taskBar.hwnd()}) {
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(::IsWindowVisible(w));
  }
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

TEST(Dock, TopmostFollowsOnTopAfterStartAndEveryRebuild) {
  for (bool onTop : {true, false}) {
    DockFixture f;
    TConfig stored;
    stored.OnTop = onTop;
    DockFixture::FillStore(f.store, stored, 2, false, "notepad.exe");
    ASSERT_TRUE(f.Start());
    f.dock->FormShow();
    const auto topmost = [&] { return (::GetWindowLongW(f.dock->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    EXPECT_EQ(topmost(), onTop) << "after start, OnTop " << onTop;
    f.Rebuild();
    EXPECT_EQ(topmost(), onTop) << "after a rebuild, OnTop " << onTop;
  }
}

TEST(Dock, BranchSlidesOutBesideTheGroupWithItsSounds) {
  DockFixture f;
  TConfig stored;
  stored.PlaySnd = true;
  stored.OpenW = "open.wav";
  stored.CloseW = "close.wav";
  DockFixture::FillStore(f.store, stored, 3, true, testing::SystemIconLibrary());
  ASSERT_TRUE(f.Start());
  f.dock->FormShow();
  TKovaBtn* group = f.dock->GetBtn(1);
  ASSERT_NE(group, nullptr);
  MouseEvent press;
  press.button = MouseButton::Left;
  press.left = true;
  f.dock->Input().BtnAppMouseDown(*group, press);
  RECT d = f.DockRect();
  RECT b{};
  ::GetWindowRect(f.branch().hwnd(), &b);
  const int side = f.dock->TileSide();
  EXPECT_TRUE(f.branch().Visible());
  EXPECT_EQ(b.right, d.left);  // right-edge bar: the branch opens to the left
  EXPECT_EQ(b.top, d.top + side);
  EXPECT_EQ(b.right - b.left, 2 * side);
  EXPECT_EQ(f.dock->BrancheOuverte, "1");
  f.dock->Input().BtnAppMouseDown(*group, press);  // the open group again: closes, with its sound
  EXPECT_FALSE(f.branch().Visible());
  f.dock->Input().BtnAppMouseDown(*group, press);
  f.dock->Input().BtnAppMouseDown(*f.dock->GetBtn(2), press);  // a plain button: closes silently
  EXPECT_FALSE(f.branch().Visible());
  EXPECT_EQ(f.sounds, (std::vector<std::string>{"open.wav", "close.wav", "open.wav"}));

  // "Left" is the left button alone: not with the right one held, not with a key.
  MouseEvent chord = press;
  chord.right = true;
  f.dock->Input().BtnAppMouseDown(*group, chord);
  MouseEvent ctrl = press;
  ctrl.ctrl = true;
  f.dock->Input().BtnAppMouseDown(*group, ctrl);
  EXPECT_FALSE(f.branch().Visible());
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

TEST(Dock, DroppedFileBecomesALastTileAndTooLongPathsAreSkipped) {
  DockFixture f;
  ASSERT_TRUE(f.Start());
  const std::string lib = testing::SystemIconLibrary();
  const std::wstring tooLong = L"C:\\" + std::wstring(252, L'x');  // 255 characters
  ::SendMessageW(f.dock->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({tooLong})), 0);
  EXPECT_EQ(f.dock->TileCount(), 0U);
  ::SendMessageW(f.dock->hwnd(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({tooLong, win::Widen(lib), L"C:\\windows\\notepad.exe"})),
                 0);
  ASSERT_EQ(f.dock->TileCount(), 1U);  // the first usable one only
  const TBouton* b = f.dock->Boutons().FindPtr(1);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->BtnApp, lib);
  EXPECT_EQ(b->NomApp, "shell32.dll");
  EXPECT_EQ(b->IconIndex, 999);
  EXPECT_EQ(StoredValue(f.store, "BtnApp1"), lib);
  EXPECT_EQ(StoredValue(f.store, "Icone1"), lib + ",999");
}

// Damaged pictures as the bar's texture, as a tile's texture and icons, and dropped on the bar:
// the bar comes up without them, and a dropped one becomes a tile.
TEST(Dock, DamagedPictureFilesLeaveTheBarWithoutThemAndCanBeDropped) {
  test::ScratchFolder dir("qldamaged");
  const std::vector<test::DamagedFile> bmps = test::DamagedBmpFiles();
  const std::vector<test::DamagedFile> icos = test::DamagedIcoFiles();
  const std::vector<test::DamagedFile> programs = test::DamagedProgramFiles();
  const std::string fond = dir.File("fond.bmp", bmps[2].bytes);
  TConfig cfg;
  cfg.Fond = fond;
  ButtonList list;
  std::string dropped;
  for (std::size_t i = 0; i < icos.size() && i < programs.size() && i < bmps.size(); ++i) {
    const std::string ico = dir.File("icon" + std::to_string(i) + ".ico", icos[i].bytes);
    const std::string exe = dir.File("prog" + std::to_string(i) + ".exe", programs[i].bytes);
    const std::string bmp = dir.File("tex" + std::to_string(i) + ".bmp", bmps[i].bytes);
    list.Append(ButtonData{"ico", ico, ico, bmp, 0});
    list.Append(ButtonData{"exe", exe, exe, "", 0});
    if (i == 1) dropped = ico;  // one drop: from the second on, Wine waits 2 s at each
  }
  DockFixture f;
  EcritBaseRegistre(f.store, cfg, cfg.PosTop, list);
  ASSERT_TRUE(f.Start());
  f.dock->FormShow();
  ASSERT_EQ(f.config.Fond, fond);
  EXPECT_EQ(f.dock->BarTexture(), nullptr);
  EXPECT_FALSE(f.dock->MainBtn().HasTexture());
  ASSERT_EQ(f.dock->TileCount(), list.MainBar().size());
  const int side = f.dock->TileSide();
  for (std::size_t i = 0; i < f.dock->TileCount(); ++i) {  // a side bar: the tiles in a column
    const TKovaBtn* tile = f.dock->Host().TileAt(POINT{side / 2, side * static_cast<int>(i + 1) + side / 2});
    ASSERT_NE(tile, nullptr);
    if (i % 2 == 0) {  // an icon file: no icon, and the tile's own damaged texture: none
      EXPECT_FALSE(tile->HasIcon()) << tile->IconPath();
      EXPECT_FALSE(tile->HasTexture()) << tile->IconPath();
    }
  }
  const std::size_t before = f.dock->TileCount();
  ::SendMessageW(f.dock->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({win::Widen(dropped)})), 0);
  ASSERT_EQ(f.dock->TileCount(), before + 1);
  const TKovaBtn* droppedIco =
      f.dock->Host().TileAt(POINT{side / 2, side * static_cast<int>(before + 1) + side / 2});
  ASSERT_NE(droppedIco, nullptr);
  EXPECT_EQ(droppedIco->IconPath(), dropped);
  EXPECT_FALSE(droppedIco->HasIcon());
}

// The start after one that died before its message loop reads no picture file; the one after
// that reads them again, and the settings that name them never changed.
TEST(Dock, AStartAfterOneThatDiedReadsNoPicturesAndKeepsTheirSettings) {
  test::ScratchFolder dir("qlnopictures");
  TConfig cfg;
  cfg.Fond = dir.Bmp("fond.bmp", RGB(0, 0, 255));
  const std::string lib = testing::SystemIconLibrary();
  DockFixture died;
  DockFixture::FillStore(died.store, cfg, 2, false, lib);
  ASSERT_NE(died.store.Open(kStartMarkKey, true), nullptr);  // left by the start that died
  ASSERT_TRUE(died.Start());
  EXPECT_TRUE(died.dock->PreviousStartDied());
  EXPECT_EQ(died.dock->BarTexture(), nullptr);
  EXPECT_FALSE(died.dock->GetBtn(1)->HasIcon());
  died.dock->EcritBaseRegistre();
  EXPECT_EQ(StoredValue(died.store, "Fond"), cfg.Fond);
  EXPECT_EQ(StoredValue(died.store, "BtnApp1"), lib);
  died.dock.reset();

  DockFixture next;
  DockFixture::FillStore(next.store, cfg, 2, false, lib);
  ASSERT_TRUE(next.Start());
  EXPECT_FALSE(next.dock->PreviousStartDied());
  EXPECT_NE(next.dock->BarTexture(), nullptr);
  EXPECT_TRUE(next.dock->GetBtn(1)->HasIcon());
}

TEST(Dock, IconSizeAndLabelsRebuildKeepThePlaceAndAreStored) {
  DockFixture f;
  TConfig stored;
  stored.PosTop = 40;
  DockFixture::FillStore(f.store, stored, 3, false, "notepad.exe");
  ASSERT_TRUE(f.Start());
  f.dock->Commands().TailleIconeClick(48);
  EXPECT_EQ(f.dock->TileSide(), 64);
  EXPECT_EQ(f.DockRect().top, 40);
  EXPECT_EQ(f.DockRect().bottom - f.DockRect().top, 4 * 64);
  EXPECT_EQ(StoredValue(f.store, "Taille"), "48");
  f.dock->Commands().AfficherNomClick();
  EXPECT_TRUE(f.config.ShowName);
  EXPECT_EQ(f.dock->GetBtn(2)->Caption(), "Button 1");
  EXPECT_EQ(f.dock->MainBtn().Caption(), "Quaylite");
  EXPECT_EQ(StoredValue(f.store, "ShowName"), "1");
  f.dock->Commands().AfficherNomClick();
  EXPECT_EQ(f.dock->GetBtn(2)->Caption(), "");
  EXPECT_EQ(StoredValue(f.store, "ShowName"), "0");
}

TEST(Dock, CloseWritesTheWholeStoreAndTheLockValuesOnceAndReleasesTheHotKey) {
  DockFixture f;
  TConfig stored;
  stored.HotKey = "Ctrl+Q";
  DockFixture::FillStore(f.store, stored, 2, false, "notepad.exe");
  EcritSortie(f.store, "0");
  ASSERT_TRUE(f.Start());
  EXPECT_FALSE(f.dock->SortieNormale);
  EXPECT_FALSE(HotKeyFree('Q'));

  // Refused while the lock's dialog shows.
  f.peers->password.Show(SW_SHOWNOACTIVATE);
  ::SendMessageW(f.dock->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_NE(f.dock->hwnd(), nullptr);
  f.peers->password.Hide();

  ::SendMessageW(f.dock->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(f.dock->hwnd(), nullptr);
  EXPECT_TRUE(HotKeyFree('Q'));
  EXPECT_EQ(StoredValue(f.store, "exit"), "1");
  EXPECT_EQ(StoredValue(f.store, "Sens"), "D");
  EXPECT_EQ(StoredValue(f.store, "BtnApp2"), "notepad.exe");
  auto lock = f.store.Open(kLockKey, false);
  ASSERT_NE(lock, nullptr);
  EXPECT_EQ(lock->ReadString("Provider").value_or(""), "0");
  EXPECT_TRUE(lock->Read("Init").has_value());
  // Nothing writes the store after the close.
  f.dock->EcritBaseRegistre();
  EXPECT_EQ(StoredValue(f.store, "exit"), "1");
  PumpQuit();
}

TEST(Dock, HotKeyIsTheSixthCharacterInTheSystemCodePage) {
  DockFixture f;
  TConfig stored;
  stored.HotKey = "Ctrl+\xC3\x89";  // "Ctrl+É": one character, two bytes of UTF-8
  DockFixture::FillStore(f.store, stored, 0, false, "");
  ASSERT_TRUE(f.Start());
  const std::string ansi = win::ToSystemCodePage("\xC3\x89");
  ASSERT_EQ(ansi.size(), 1U);
  EXPECT_FALSE(HotKeyFree(static_cast<unsigned char>(ansi[0])));
  EXPECT_TRUE(HotKeyFree(0xC3));  // not the first byte of the UTF-8 form
}

TEST(Dock, MainButtonIconIsTheFirstIcoBesideTheProgram) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "qlmainicon";
  std::filesystem::create_directories(dir);
  const std::wstring folder = dir.wstring() + L"\\";
  EXPECT_EQ(MainButtonIconPath(folder, L"C:\\prog\\quaylite.exe"), "C:\\prog\\quaylite.exe");
  std::ofstream(dir / "dock.ico") << "x";
  EXPECT_EQ(MainButtonIconPath(folder, L"C:\\prog\\quaylite.exe"), win::Narrow(folder) + "dock.ico");
  std::filesystem::remove_all(dir);
}

TEST(Dock, DesktopStripRegistersOnceMovesAtEachRebuildAndIsRemoved) {
  DockFixture f;
  TConfig stored;
  stored.RedimDesk = true;
  DockFixture::FillStore(f.store, stored, 1, false, "notepad.exe");
  ASSERT_TRUE(f.Start());
  std::vector<DWORD> sent;
  f.dock->Strip().SetMessage([&](DWORD message, APPBARDATA& data) {
    EXPECT_EQ(data.hWnd, f.dock->hwnd());
    sent.push_back(message);
    return UINT_PTR{1};
  });
  EXPECT_TRUE(f.dock->BarreInscrite());  // registered by the first layout, through the shell
  f.dock->Strip().Remove();
  f.Rebuild();
  f.Rebuild();
  EXPECT_EQ(sent, (std::vector<DWORD>{ABM_REMOVE, ABM_NEW, ABM_SETPOS, ABM_SETPOS}));
  EXPECT_EQ(f.DockRect().left, ::GetSystemMetrics(SM_CXSCREEN) - f.dock->TileSide());  // back at its edge
  sent.clear();
  f.config.RedimDesk = false;
  f.Rebuild();
  f.Rebuild();
  EXPECT_EQ(sent, (std::vector<DWORD>{ABM_REMOVE}));
  EXPECT_FALSE(f.dock->BarreInscrite());
  sent.clear();
  f.config.RedimDesk = true;
  f.Rebuild();
  ::SendMessageW(f.dock->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(sent, (std::vector<DWORD>{ABM_NEW, ABM_SETPOS, ABM_REMOVE}));
  PumpQuit();
}

TEST(DockMenu, DeletingAButtonKeepsTheOthers) {
  DockFixture f;
  DockFixture::FillStore(f.store, TConfig{}, 3, true, "notepad.exe");
  ASSERT_TRUE(f.Start());
  ASSERT_EQ(f.dock->TileCount(), 3U);
  f.dock->Commands().SupprimerClick(2, "");
  EXPECT_EQ(f.dock->TileCount(), 2U);
  EXPECT_EQ(f.dock->Boutons().FindPtr(2)->NomApp, "Button 2");
  f.dock->Commands().SupprimerClick(1, "");  // a group: its two members go with it
  EXPECT_EQ(f.dock->TileCount(), 1U);
  EXPECT_EQ(f.dock->Boutons().NbBoutons(), 1);
  EXPECT_EQ(StoredValue(f.store, "NomApp1"), "Button 2");
  EXPECT_EQ(StoredValue(f.store, "BtnApp2"), "");
}

TEST(DockLaunch, DernierLanceFollowsTheLastLaunchAndResetsOnFailure) {
  DockFixture f;
  ASSERT_TRUE(f.Start());
  f.dock->Boutons().Append(ButtonData{"Exit", "C:\\windows\\system32\\cmd.exe|/c exit", "", "", 0});
  f.dock->Boutons().Append(ButtonData{"Missing", "C:\\no\\such\\program.exe|x", "", "", 0});
  f.dock->Boutons().Append(ButtonData{"", "SysInfo", "", "", 0});
  f.Rebuild();
  f.dock->RunApp(1);
  EXPECT_EQ(f.dock->DernierLance(), 1);
  f.dock->RunApp(2);
  EXPECT_EQ(f.dock->DernierLance(), 72360);
  f.dock->RunApp(1);
  f.dock->RunApp(3);  // a module never launches
  f.dock->RunApp(7);  // no such tile: nothing happens
  EXPECT_EQ(f.dock->DernierLance(), 1);

  // A single press launches only with SingleClick, and only the left button alone.
  f.dock->DernierLance() = 72360;
  MouseEvent press;
  press.button = MouseButton::Left;
  press.left = true;
  f.dock->Input().BtnAppMouseDown(*f.dock->GetBtn(1), press);
  EXPECT_EQ(f.dock->DernierLance(), 72360);
  f.config.SingleClick = true;
  MouseEvent chord = press;
  chord.middle = true;
  f.dock->Input().BtnAppMouseDown(*f.dock->GetBtn(1), chord);
  EXPECT_EQ(f.dock->DernierLance(), 72360);
  f.dock->Input().BtnAppMouseDown(*f.dock->GetBtn(1), press);
  EXPECT_EQ(f.dock->DernierLance(), 1);
}

TEST(DockDrag, ExchangedTilesSwapPlacesAndTagsWithoutARebuild) {
  DockFixture f;
  DockFixture::FillStore(f.store, TConfig{}, 3, false, "notepad.exe");
  ASSERT_TRUE(f.Start());
  TKovaBtn* first = f.dock->GetBtn(1);
  TKovaBtn* third = f.dock->GetBtn(3);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(third, nullptr);
  const int side = f.dock->TileSide();
  f.dock->Input().BtnAppDragDrop(1, 3);
  // The same controls, each showing what it showed, at the other's place and number.
  EXPECT_EQ(first->Top(), 3 * side);
  EXPECT_EQ(first->Tag(), 3);
  EXPECT_EQ(third->Top(), side);
  EXPECT_EQ(third->Tag(), 1);
  EXPECT_EQ(first->Hint(), "Button 0");
  EXPECT_EQ(f.dock->Boutons().FindPtr(3)->NomApp, "Button 0");
  EXPECT_EQ(StoredValue(f.store, "NomApp1"), "Button 2");
  EXPECT_EQ(StoredValue(f.store, "NomApp3"), "Button 0");
}

TEST(DockMouse, MainButtonFoldsOnlyOnTheLeftButtonAloneAndDragsOutsideItself) {
  DockFixture f;
  DockFixture::FillStore(f.store, TConfig{}, 3, false, "notepad.exe");
  ASSERT_TRUE(f.Start());
  f.dock->FormShow();
  const int side = f.dock->TileSide();
  const int length = f.DockRect().bottom - f.DockRect().top;
  MouseEvent dbl;
  dbl.button = MouseButton::Left;
  dbl.left = true;
  dbl.doubleClick = true;
  MouseEvent chord = dbl;
  chord.right = true;
  f.dock->MainButtonInput().MainBtnMouseDown(chord);
  EXPECT_EQ(f.DockRect().bottom - f.DockRect().top, length);
  f.dock->MainButtonInput().MainBtnMouseDown(dbl);
  EXPECT_EQ(f.DockRect().bottom - f.DockRect().top, side);
  f.dock->MainButtonInput().MainBtnMouseDown(dbl);
  EXPECT_EQ(f.DockRect().bottom - f.DockRect().top, length);

  // A press on the main button keeps the mouse: a move far to the side still moves the bar.
  const RECT r = f.DockRect();
  ASSERT_NE(::SetCursorPos(r.left + 10, r.top + 10), FALSE);
  ::SendMessageW(f.dock->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  ASSERT_NE(::SetCursorPos(r.left - 300, r.top + 110), FALSE);
  ::SendMessageW(f.dock->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-300, 110));
  ::SendMessageW(f.dock->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(-300, 110));
  EXPECT_EQ(f.DockRect().top, r.top + 100);
}

}  // namespace
}  // namespace ql

namespace ql {
namespace {

using testing::DockFixture;

// What a modal loop of the dock saw of the program's other windows, from inside it.
struct InsideModal {
  bool ran = false;
  bool dockEnabled = true;
  bool branchEnabled = true;
  bool branchVisible = false;
};
InsideModal g_inside;
HWND g_dock = nullptr;
HWND g_branch = nullptr;

// Runs inside the modal loop: looks at the dock and the branch, then ends whatever is modal (a
// dialog by Escape, a Yes/No box by No).
void CALLBACK LookInsideThenEnd(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  g_inside.ran = true;
  g_inside.dockEnabled = ::IsWindowEnabled(g_dock) != FALSE;
  g_inside.branchEnabled = ::IsWindowEnabled(g_branch) != FALSE;
  g_inside.branchVisible = ::IsWindowVisible(g_branch) != FALSE;
  HWND modal = ::GetActiveWindow();
  if (modal == nullptr) return;
  ::PostMessageW(modal, WM_COMMAND, IDNO, 0);
  ::PostMessageW(modal, WM_COMMAND, IDCANCEL, 0);
}

class DockModal : public ::testing::Test {
 protected:
  void SetUp() override {
    TConfig stored;
    stored.Confirm = true;
    DockFixture::FillStore(f.store, stored, 3, true, "C:\\windows\\system32\\cmd.exe|/c exit");
    ASSERT_TRUE(f.Start());
    f.dock->FormShow();
  }
  void TearDown() override { PumpQuit(); }

  // The store holds the three buttons and the two members it was given.
  void ExpectStoreIntact() {
    auto key = f.store.Open(kDockKey, false);
    ASSERT_NE(key, nullptr);
    for (int n = 1; n <= 5; ++n) {
      EXPECT_FALSE(key->ReadString("BtnApp" + std::to_string(n)).value_or("").empty()) << "entry " << n;
    }
    EXPECT_EQ(key->ReadString("exit").value_or(""), "1");
  }

  void OpenBranch() {
    if (f.branch().Visible()) return;  // a press on the open group would close it
    MouseEvent press;
    press.button = MouseButton::Left;
    press.left = true;
    f.dock->Input().BtnAppMouseDown(*f.dock->GetBtn(1), press);
    ASSERT_TRUE(f.branch().Visible());
  }

  void ArmLookInside() {
    g_inside = InsideModal{};
    g_dock = f.dock->hwnd();
    g_branch = f.branch().hwnd();
    ::SetTimer(nullptr, 0, 300, &LookInsideThenEnd);
  }

  DockFixture f;
};

TEST_F(DockModal, ACloseFromOutsideDuringADialogOrTheDeleteBoxNeverEmptiesTheStore) {
  // Each command's modal loop takes the WM_CLOSE; what runs after it finds the dock closed.
  ::PostMessageW(f.dock->hwnd(), WM_CLOSE, 0, 0);
  f.dock->Commands().EnvoyerVersClick(2);
  EXPECT_EQ(f.dock->hwnd(), nullptr);
  ExpectStoreIntact();
}

TEST_F(DockModal, ACloseFromOutsideDuringThePropertiesKeepsTheStore) {
  ::PostMessageW(f.dock->hwnd(), WM_CLOSE, 0, 0);
  f.dock->Commands().ChangerIconeClick(2, TileKind::Button);
  EXPECT_EQ(f.dock->hwnd(), nullptr);
  ExpectStoreIntact();
}

TEST_F(DockModal, ACloseFromOutsideDuringTheDeleteQuestionKeepsTheStore) {
  ::PostMessageW(f.dock->hwnd(), WM_CLOSE, 0, 0);
  f.dock->Commands().SupprimerClick(2, "Delete button Button 1 ?");
  EXPECT_EQ(f.dock->hwnd(), nullptr);
  ExpectStoreIntact();
}

TEST_F(DockModal, TheBranchAndTheDockTakeNoInputWhileADialogOrTheDeleteQuestionShows) {
  OpenBranch();
  ArmLookInside();
  f.dock->Commands().EnvoyerVersClick(2);
  EXPECT_TRUE(g_inside.ran);
  EXPECT_TRUE(g_inside.branchVisible);
  EXPECT_FALSE(g_inside.branchEnabled);
  EXPECT_FALSE(g_inside.dockEnabled);

  OpenBranch();
  ArmLookInside();
  f.dock->Commands().ChangerIconeClick(4, TileKind::Button);  // a member, from the branch
  EXPECT_TRUE(g_inside.ran);
  EXPECT_FALSE(g_inside.branchEnabled);

  OpenBranch();
  ArmLookInside();
  f.dock->Commands().SupprimerClick(4, "Delete button Member A ?");  // answered No
  EXPECT_TRUE(g_inside.ran);
  EXPECT_TRUE(g_inside.branchVisible);
  EXPECT_FALSE(g_inside.branchEnabled);
  EXPECT_FALSE(g_inside.dockEnabled);
  EXPECT_NE(f.dock->Boutons().FindPtr(4), nullptr);

  // Everything takes input again afterwards.
  EXPECT_TRUE(::IsWindowEnabled(f.dock->hwnd()));
  EXPECT_TRUE(::IsWindowEnabled(f.branch().hwnd()));
}

TEST_F(DockModal, ASingleClickLaunchFromTheBranchLetsTheMouseGo) {
  f.config.SingleClick = true;
  OpenBranch();
  TKovaBtn* member = f.dock->GetBtn(4);
  ASSERT_NE(member, nullptr);
  const HWND branch = f.branch().hwnd();
  ::SendMessageW(branch, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(member->Left() + 5, member->Top() + 5));
  EXPECT_EQ(f.dock->DernierLance(), 4);
  EXPECT_FALSE(f.branch().Visible());
  // The hidden branch does not keep the press: the next click goes where the pointer is.
  EXPECT_NE(::GetCapture(), branch);
}

}  // namespace
}  // namespace ql
