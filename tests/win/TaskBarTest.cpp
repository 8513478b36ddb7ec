#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "../core/FakeWindowSystem.h"
#include "../core/TaskFixture.h"
#include "FakeShell.h"
#include "PixelSurface.h"
#include "TestWindows.h"
#include "taskbar/KovaTask.h"
#include "taskbar/TaskBar.h"
#include "win/Handles.h"
#include "win/Surface.h"
#include "win/Utf.h"
#include "win/Win.h"
#include "win/Win32WindowSystem.h"

namespace ql {
namespace {

using test::FakeWindow;
using test::FakeWindowSystem;
using test::ReadPixels;
namespace palette = test::palette;

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kGreen = RGB(0, 160, 0);

// A test's own top-level window, visible but off the screen (never mapped on the X display).
constexpr const wchar_t* kAppClass = L"QlTaskBarTestApp";
win::OwnedWindow MakeAppWindow(const wchar_t* title) {
  return test::OffScreenWindow(kAppClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
}

// A 32-bit picture whose left `magentaColumns` columns are magenta and the rest `color`.
win::Bitmap HalfMagenta(int w, int h, int magentaColumns, COLORREF color) {
  win::Surface s(w, h);
  win::Brush rest(::CreateSolidBrush(color));
  win::Brush key(::CreateSolidBrush(palette::kMagenta));
  const RECT all{0, 0, w, h};
  const RECT left{0, 0, magentaColumns, h};
  ::FillRect(s.dc(), &all, rest.get());
  ::FillRect(s.dc(), &left, key.get());
  return s.Release();
}

struct ButtonOnHost {
  FakeWindowSystem system;
  WindowId app = system.Open(FakeWindow().Titled("Untitled - Notepad").Class("Notepad"));
  win::OwnedWindow host;
  TKovaTask button{system};

  explicit ButtonOnHost(TaskStyle style = TaskStyle::sQL, bool bigIcon = false) {
    host.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, -3000, -3000, 130, 64, nullptr,
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr));
    button.SetBigIcon(bigIcon);
    button.SetStyle(style);
    button.Create(host.get(), 0, 0);
    button.SetHandleHost(host.get());
    button.SetHandleFen(app);
  }
};

TEST(TKovaTaskPaint, BackgroundAndFrameFollowTheState) {
  ButtonOnHost b;
  b.button.SetColorOff(kRed);
  b.button.SetColorOn(kBlue);
  b.button.SetBorder(true);
  test::Pixels up = ReadPixels(b.button.Compose().get());
  ASSERT_EQ(up.width, 130);
  ASSERT_EQ(up.height, 20);
  EXPECT_EQ(up.At(125, 10), kRed);
  EXPECT_EQ(up.At(0, 10), palette::kWhite);
  EXPECT_EQ(up.At(60, 0), palette::kWhite);
  EXPECT_EQ(up.At(129, 10), palette::kBlack);
  EXPECT_EQ(up.At(60, 19), palette::kBlack);

  b.button.SetState(TaskState::Down);
  test::Pixels down = ReadPixels(b.button.Compose().get());
  EXPECT_EQ(down.At(125, 10), kBlue);
  EXPECT_EQ(down.At(0, 10), palette::kBlack);
  EXPECT_EQ(down.At(129, 10), palette::kWhite);
}

bool AnyPixelOf(const test::Pixels& p, COLORREF c, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      if (p.At(x, y) == c) return true;
    }
  }
  return false;
}

TEST(TKovaTaskPaint, TheLabelStyleAlwaysShowsTheTitleTheTileStyleOnlyWhenAsked) {
  ButtonOnHost label;
  label.button.SetColorOff(palette::kWhite);
  label.button.SetTColorOff(kGreen);
  label.button.SetIconOnly(true);  // ignored by the label style
  EXPECT_TRUE(AnyPixelOf(ReadPixels(label.button.Compose().get()), kGreen, 19, 0, 108, 20));

  ButtonOnHost tile(TaskStyle::sNS);
  EXPECT_EQ(tile.button.Width(), 48);
  tile.button.SetColorOff(palette::kWhite);
  tile.button.SetTColorOff(kGreen);
  tile.button.SetRColor(kBlue);
  tile.button.SetIconOnly(true);
  test::Pixels open = ReadPixels(tile.button.Compose().get());
  EXPECT_FALSE(AnyPixelOf(open, kGreen, 0, 0, 48, 48));
  EXPECT_FALSE(AnyPixelOf(open, kBlue, 0, 0, 48, 48));
  tile.button.SetIconOnly(false);
  test::Pixels minimised = ReadPixels(tile.button.Compose().get());
  EXPECT_TRUE(AnyPixelOf(minimised, kBlue, 0, 2, 48, 13));  // the label rectangle
  EXPECT_TRUE(AnyPixelOf(minimised, kGreen, 0, 0, 48, 14));

  ButtonOnHost big(TaskStyle::sNS, true);
  EXPECT_EQ(big.button.Width(), 64);
  EXPECT_EQ(ReadPixels(big.button.Compose().get()).height, 64);
}

TEST(TKovaTaskShape, MagentaOfTheTextureIsCutFromTheHostOnlyWhenTheShapeChanges) {
  ButtonOnHost b;
  b.button.DecoupeRegion(b.button.Compose().get());
  EXPECT_EQ(b.button.RegionsSet(), 1);
  win::Region full(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(b.host.get(), full.get()), ERROR);
  EXPECT_NE(::PtInRegion(full.get(), 0, 0), FALSE);
  EXPECT_NE(::PtInRegion(full.get(), 129, 19), FALSE);

  win::Bitmap texture = HalfMagenta(130, 20, 65, kRed);
  b.button.SetTexture(texture.get());
  b.button.DecoupeRegion(b.button.Compose().get());
  b.button.DecoupeRegion(b.button.Compose().get());
  EXPECT_EQ(b.button.RegionsSet(), 2);
  win::Region cut(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(b.host.get(), cut.get()), ERROR);
  EXPECT_EQ(::PtInRegion(cut.get(), 64, 19), FALSE);
  EXPECT_NE(::PtInRegion(cut.get(), 125, 10), FALSE);

  // Without a host (a preview) nothing is cut.
  b.button.SetHandleHost(nullptr);
  b.button.DecoupeRegion(HalfMagenta(130, 20, 10, kRed).get());
  EXPECT_EQ(b.button.RegionsSet(), 2);
}

TEST(TKovaTaskMouse, ClicksActivateRestoreMinimiseAndCloseWithoutWaiting) {
  ButtonOnHost b;
  FakeWindowSystem& s = b.system;
  b.button.MouseDown({.left = true});
  EXPECT_EQ(s.CommandsFor(b.app), std::vector<WindowCommand>{WindowCommand::Activate});
  s.ClearCommands();

  s.SetForeground(b.app);
  b.button.SetState(TaskState::Down);
  b.button.MouseDown({.left = true});
  EXPECT_EQ(s.CommandsFor(b.app), std::vector<WindowCommand>{WindowCommand::Minimize});
  s.ClearCommands();
  b.button.MouseDown({.left = true});  // minimised now: back and in front
  EXPECT_EQ(s.CommandsFor(b.app),
            (std::vector<WindowCommand>{WindowCommand::Restore, WindowCommand::Activate}));
  s.ClearCommands();

  // Only the exact sets act.
  b.button.MouseDown({.right = true});
  b.button.MouseDown({.left = true, .shift = true});
  b.button.MouseDown({.left = true, .doubleClick = true});
  EXPECT_TRUE(s.commands().empty());

  std::string shown;
  b.button.ShowMessage = [&shown](const std::string& text) { shown = text; };
  b.button.MouseDown({.left = true, .ctrl = true, .alt = true});
  EXPECT_EQ(shown, "Class=Notepad");
  EXPECT_TRUE(s.commands().empty());

  s.At(b.app).hung = true;
  b.button.MouseDown({.left = true, .ctrl = true});
  EXPECT_EQ(s.Pending(b.app), std::vector<WindowCommand>{WindowCommand::Close});
  EXPECT_EQ(s.waitedMs(), 0);
}

TEST(TKovaTaskDrop, ADroppedIconFileIsAssociatedThroughQlTmp) {
  test::ScratchFolder folder;
  const IconAssociations icons(folder.path());
  ButtonOnHost b;
  b.button.SetAssociations(&icons);
  std::string associated;
  b.button.OnIconAssociated = [&associated](const std::string& p) { associated = p; };

  const std::wstring file = L"c:\\icons\\pad.ico";
  const std::size_t bytes = sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GHND, bytes);
  ASSERT_NE(memory, nullptr);
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), file.c_str(), file.size() * sizeof(wchar_t));
  ::GlobalUnlock(memory);
  ::SendMessageW(b.button.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);  // freed by DragFinish

  EXPECT_EQ(associated, "c:\\icons\\pad.ico");
  EXPECT_EQ(b.button.IconPath(), "c:\\icons\\pad.ico");
  EXPECT_EQ(test::ReadFile(icons.File()), "\r\n;Untitled - Notepad\r\nNotepad>c:\\icons\\pad.ico\r\n");
}

// The task bar on the real window system, with a stand-in for the shell's task bar.
struct RunningTaskBar {
  qltest::FakeShell shell;
  test::ScratchFolder folder;
  TConfigTask cfg;
  TTaskBar bar;

  explicit RunningTaskBar(bool small = true) {
    cfg.SmallStyle = small;
    shell.CreateTray();
    bar.CreateForm(nullptr, L"TTaskBar", L"TaskBar", WS_POPUP, WS_EX_TOOLWINDOW, 0, -500, 0, 0);
    bar.UseIconFolder(folder.path());
    bar.Cree(cfg);
    bar.Init();
  }
};

TEST(TTaskBarSetUp, TheNotificationAreaIsBorrowedAndGivenBack) {
  RunningTaskBar t;
  EXPECT_FALSE(qltest::FakeShell::HasVisibleStyle(t.shell.tray()));
  EXPECT_EQ(::GetParent(t.shell.trayNotify()), t.bar.hwnd());
  EXPECT_EQ(t.bar.HTray(), t.shell.trayNotify());
  EXPECT_TRUE(t.bar.Polling());
  t.bar.Enleve();
  EXPECT_TRUE(qltest::FakeShell::HasVisibleStyle(t.shell.tray()));
  EXPECT_EQ(::GetParent(t.shell.trayNotify()), t.shell.tray());
  EXPECT_FALSE(t.bar.Polling());
  EXPECT_FALSE(t.bar.SetUp());

  // Destroying the form while set up gives it back too.
  t.bar.Cree(t.cfg);
  EXPECT_EQ(::GetParent(t.shell.trayNotify()), t.bar.hwnd());
  t.bar.Destroy();
  EXPECT_TRUE(::IsWindow(t.shell.trayNotify()));
  EXPECT_EQ(::GetParent(t.shell.trayNotify()), t.shell.tray());
}

TEST(TTaskBarSetUp, AKilledDocksLeftoversAreMendedAtTheNextStart) {
  qltest::FakeShell shell;
  shell.CreateTray();
  // As a killed dock leaves them: the task bar hidden, its notification area in another window.
  win::OwnedWindow stranger(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, -3000, -3000, 10,
                                              10, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
  ::SetParent(shell.trayNotify(), stranger.get());
  ::ShowWindow(shell.tray(), SW_HIDE);
  RecoverSystemTaskBar();
  EXPECT_TRUE(qltest::FakeShell::HasVisibleStyle(shell.tray()));
  EXPECT_EQ(::GetParent(shell.trayNotify()), shell.tray());
  RecoverSystemTaskBar();  // nothing left to mend
  EXPECT_EQ(::GetParent(shell.trayNotify()), shell.tray());
}

TEST(TTaskBarSetUp, WithoutANotificationAreaRowsRunToTheScreensWidth) {
  qltest::FakeShell shell;
  shell.CreateTray();
  ::DestroyWindow(shell.trayNotify());
  test::ScratchFolder folder;
  TConfigTask cfg;
  TTaskBar bar;
  bar.CreateForm(nullptr, L"TTaskBar", L"TaskBar", WS_POPUP, WS_EX_TOOLWINDOW, 0, -500, 0, 0);
  bar.UseIconFolder(folder.path());
  bar.Cree(cfg);
  bar.Init();
  bar.Timer1Timer();
  EXPECT_EQ(bar.HTray(), nullptr);
  EXPECT_EQ(bar.RectTray().left, ::GetSystemMetrics(SM_CXSCREEN));
  bar.Enleve();
  EXPECT_TRUE(qltest::FakeShell::HasVisibleStyle(shell.tray()));
}

TEST(TTaskBarPoll, ButtonsForRealWindowsFollowTitlesAndClosesAndKeepGdiFlat) {
  RunningTaskBar t;
  win::OwnedWindow first = MakeAppWindow(L"First Window");
  win::OwnedWindow second = MakeAppWindow(L"Second Window");
  t.bar.Timer1Timer();
  TKovaTask* b1 = t.bar.ButtonOf(win::IdOf(first.get()));
  TKovaTask* b2 = t.bar.ButtonOf(win::IdOf(second.get()));
  ASSERT_NE(b1, nullptr);
  ASSERT_NE(b2, nullptr);
  EXPECT_EQ(b1->Caption(), "First Window");
  EXPECT_EQ(b1->ClasseFen(), "QlTaskBarTestApp");
  EXPECT_TRUE(b1->HasIcon());  // the class's icon
  HWND host1 = ::GetParent(b1->hwnd());
  EXPECT_NE(::GetWindowLongW(host1, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  EXPECT_NE(::IsWindowVisible(host1), FALSE);
  // The two buttons stand side by side on the bottom row (other windows may stand before them).
  RECT r1{};
  RECT r2{};
  ::GetWindowRect(host1, &r1);
  ::GetWindowRect(::GetParent(b2->hwnd()), &r2);
  EXPECT_EQ((::GetSystemMetrics(SM_CYSCREEN) - r1.bottom) % 20, 0);
  EXPECT_EQ(r1.right - r1.left, 130);
  EXPECT_EQ(r1.bottom - r1.top, 20);
  EXPECT_EQ(std::abs(r2.left - r1.left), 130);
  EXPECT_EQ(r2.top, r1.top);

  ::SetWindowTextW(first.get(), L"Renamed");
  t.bar.Timer1Timer();
  EXPECT_EQ(t.bar.ButtonOf(win::IdOf(first.get()))->Caption(), "Renamed");

  const WindowId gone = win::IdOf(second.get());
  second.reset();
  t.bar.Timer1Timer();
  EXPECT_EQ(t.bar.ButtonOf(gone), nullptr);
  EXPECT_EQ(::IsWindow(::GetParent(b1->hwnd())), TRUE);

  // Many idle polls, and buttons made and removed over and over: no GDI object is lost.
  t.bar.Timer1Timer();
  const std::uint32_t before = test::GdiObjects();
  for (int i = 0; i < 20; ++i) {
    win::OwnedWindow passing = MakeAppWindow(L"Passing");
    t.bar.Timer1Timer();
    passing.reset();
    for (int k = 0; k < 5; ++k) t.bar.Timer1Timer();
  }
  EXPECT_EQ(test::GdiObjects(), before);
}

TEST(TTaskBarMenu, SendToNeedsTheVirtualScreensAndCommandsReachTheWindows) {
  RunningTaskBar t;
  bool desk = false;
  WindowId sentWindow = kNoWindow;
  int sentScreen = 0;
  t.bar.Attach(TaskBarDock{nullptr,
                           {},
                           [&desk] { return desk; },
                           [&](WindowId w, int s) {
                             sentWindow = w;
                             sentScreen = s;
                           }});
  t.bar.SendMnuPopup();
  EXPECT_FALSE(t.bar.SendMnu().IsEnabled(6));
  desk = true;
  t.bar.SendMnuPopup();
  EXPECT_TRUE(t.bar.SendMnu().IsEnabled(6));

  t.bar.RunMenuCommand(MenuAction::SendFenToScreen, 3, 0x1234);
  EXPECT_EQ(sentWindow, 0x1234U);
  EXPECT_EQ(sentScreen, 3);

  win::OwnedWindow app = MakeAppWindow(L"To close");
  t.bar.RunMenuCommand(MenuAction::FermerMnu, 0, win::IdOf(app.get()));
  MSG msg{};
  ASSERT_NE(::PeekMessageW(&msg, app.get(), WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE), FALSE);  // posted
  EXPECT_EQ(msg.wParam & 0xFFF0, static_cast<WPARAM>(SC_CLOSE));
  EXPECT_TRUE(t.bar.Polling());
}

}  // namespace
}  // namespace ql
