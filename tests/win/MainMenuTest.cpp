// The main button's menu on the real dock: the entries the options show, the menu popped up by a
// right press and drawn through the dock window, the commands and what they write first.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DockFixture.h"
#include "MenuFiles.h"
#include "PixelSurface.h"
#include "core/ConfigStore.h"
#include "dock/MainMenu.h"
#include "taskbar/Session.h"
#include "win/Handles.h"

namespace ql {
namespace {

using testing::DockFixture;

// The session commands as calls, with the stored icon size at the time of each.
class Recorder final : public SessionControl {
 public:
  explicit Recorder(MemoryStore& store) : store_(store) {}
  bool refuse = true;  // the plain request fails, the forced one goes through
  std::vector<std::string> calls;

  bool ExitWindowsEx(UINT flags) override {
    calls.push_back("exit " + std::to_string(flags) + " taille " + StoredTaille());
    return !refuse || (flags & EWX_FORCE) != 0;
  }
  void EnableShutdownPrivilege() override { calls.emplace_back("privilege"); }
  void SHFormatDrive(HWND owner, UINT drive, UINT formatId, UINT options) override {
    calls.push_back("format " + std::to_string(owner != nullptr) + " " + std::to_string(drive) + " " +
                    std::to_string(formatId) + " " + std::to_string(options));
  }

  std::string StoredTaille() const {
    auto key = store_.Open(kDockKey, false);
    return key ? key->ReadString("Taille").value_or("") : "";
  }

 private:
  MemoryStore& store_;
};

// The tags of a menu's items, in order, read back from the menu itself; every item must be
// owner-drawn, and "-" a separator.
std::vector<int> MenuTags(HMENU menu) {
  std::vector<int> tags;
  const int n = ::GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    if (::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) == FALSE) return {};
    const auto* entry = reinterpret_cast<const MenuEntry*>(info.dwItemData);
    EXPECT_NE(info.fType & MFT_OWNERDRAW, 0U) << i;
    if (entry == nullptr) return {};
    EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, entry->IsSeparator()) << i;
    tags.push_back(entry->tag);
  }
  return tags;
}

// Runs `action` on the first visible popup menu of the thread, from a timer that the menu's own
// loop dispatches; a menu that never shows, or stays up, is ended after about three seconds.
struct MenuDriver {
  static inline std::function<void(HWND)> action;
  static inline int ticks = 0;
  static inline bool sawMenu = false;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = ::FindWindowW(L"#32768", nullptr);
    if (popup != nullptr && ::IsWindowVisible(popup) != FALSE) {
      ::KillTimer(nullptr, id);
      sawMenu = true;
      if (action) action(popup);
      return;
    }
    if (++ticks > 300) {
      ::KillTimer(nullptr, id);
      ::EndMenu();
    }
  }

  // Arms the timer for the next menu.
  static UINT_PTR Arm(std::function<void(HWND)> onMenu) {
    action = std::move(onMenu);
    ticks = 0;
    sawMenu = false;
    return ::SetTimer(nullptr, 0, 10, &Tick);
  }
};

void PressKey(HWND popup, WPARAM key) {
  ::PostMessageW(popup, WM_KEYDOWN, key, 1);
  ::PostMessageW(popup, WM_KEYUP, key, 1 | (3L << 30));
}

// The dock window's WM_MEASUREITEM and WM_DRAWITEM counted on their way in.
class MessageCounter {
 public:
  explicit MessageCounter(HWND window) : window_(window) {
    self_ = this;
    previous_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageCounter::Proc)));
  }
  MessageCounter(const MessageCounter&) = delete;
  MessageCounter& operator=(const MessageCounter&) = delete;
  ~MessageCounter() {
    if (::IsWindow(window_) != FALSE) {
      ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    }
    self_ = nullptr;
  }

  int measured = 0;
  int drawn = 0;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MEASUREITEM) ++self_->measured;
    if (msg == WM_DRAWITEM) ++self_->drawn;
    return ::CallWindowProcW(self_->previous_, hwnd, msg, wParam, lParam);
  }

  static inline MessageCounter* self_ = nullptr;
  HWND window_;
  WNDPROC previous_ = nullptr;
};

class MainMenuTest : public ::testing::Test {
 protected:
  // Starts the dock over a store that holds `cfg` and a bar of two buttons.
  void Start(const TConfig& cfg) {
    DockFixture::FillStore(f_.store, cfg, 2, false, testing::SystemIconLibrary());
    ASSERT_TRUE(f_.Start());
    f_.dock->MainMenuPart().SetSession(&session_);
  }

  void RightPressOnMainButton() {
    MouseEvent e;
    e.button = MouseButton::Right;
    e.right = true;
    f_.dock->MainButtonInput().MainBtnMouseDown(e);
  }

  static TConfig AllShellEntries(bool on) {
    TConfig cfg;
    for (bool TConfig::*option : {&TConfig::Poste, &TConfig::Net, &TConfig::Conf, &TConfig::Desk,
                                  &TConfig::Perso, &TConfig::Impr, &TConfig::Start, &TConfig::Format}) {
      cfg.*option = on;
    }
    return cfg;
  }

  static void PumpQuit() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE) {
    }
  }

  // A dock that closes or goes leaves a quit request: the next menu would end at once on it.
  void SetUp() override { PumpQuit(); }
  void TearDown() override {
    f_.dock.reset();
    PumpQuit();
  }

  test::ComScope com_;
  DockFixture f_;
  Recorder session_{f_.store};
};

TEST_F(MainMenuTest, CreeMenuBuildsTheEntriesOfTheStoredOptionsAndAgainAfterAChange) {
  Start(AllShellEntries(false));
  MainMenu& menu = f_.dock->MainMenuPart();
  // No shell entry and no format: the title right above the three session commands.
  EXPECT_EQ(MenuTags(menu.handle()), (std::vector<int>{0, 11, 12, 13, 14, 15, 16, 17}));
  EXPECT_EQ(menu.ItemsMenu(1), nullptr);
  ASSERT_NE(menu.ItemsMenu(17), nullptr);
  EXPECT_EQ(menu.ItemsMenu(17)->caption, "Shutdown Quaylite");

  TConfig& cfg = f_.dock->Config();
  cfg = AllShellEntries(true);
  f_.dock->CreeMenu();
  EXPECT_EQ(MenuTags(menu.handle()),
            (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
  cfg.KovaM = true;
  cfg.Net = false;
  f_.dock->CreeMenu();
  EXPECT_EQ(MenuTags(menu.handle()), (std::vector<int>{0, 1, 3, 4, 5, 6, 7, 9, 11, 12, 13, 15, 17}));
  EXPECT_EQ(menu.ItemsMenu(2), nullptr);
  EXPECT_EQ(menu.ItemsMenu(8), nullptr);
}

TEST_F(MainMenuTest, DockWindowMeasuresAndDrawsItsEntriesInTheLookOfTheOptions) {
  TConfig cfg = AllShellEntries(true);
  Start(cfg);
  const HWND dock = f_.dock->hwnd();
  MainMenu& menu = f_.dock->MainMenuPart();
  const std::vector<const MenuEntry*>& entries = menu.Entries();
  ASSERT_EQ(entries.size(), 18U);
  auto measure = [&](UINT position) {
    MEASUREITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemID = ::GetMenuItemID(menu.handle(), static_cast<int>(position));
    item.itemData = reinterpret_cast<ULONG_PTR>(entries[position]);
    EXPECT_EQ(::SendMessageW(dock, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
    return item.itemHeight;
  };
  EXPECT_EQ(measure(0), 20U);
  EXPECT_EQ(measure(8), 10U) << "a separator";
  EXPECT_EQ(measure(17), 20U);

  test::Surface surface(160, 20, RGB(1, 2, 3));
  auto draw = [&](UINT position, bool selected) {
    surface.Fill(RGB(1, 2, 3));
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemID = static_cast<UINT>(::GetMenuItemID(menu.handle(), static_cast<int>(position)));
    item.itemData = reinterpret_cast<ULONG_PTR>(entries[position]);
    item.itemState = selected ? ODS_SELECTED : 0;
    item.hwndItem = reinterpret_cast<HWND>(menu.handle());
    item.hDC = surface.dc();
    item.rcItem = RECT{0, 0, 160, 20};
    EXPECT_EQ(::SendMessageW(dock, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
  };
  draw(0, false);
  EXPECT_EQ(surface.At(140, 10), test::palette::kLabel) << "the title box";
  draw(11, true);
  EXPECT_EQ(surface.At(150, 2), ::GetSysColor(COLOR_HIGHLIGHT) & 0xFFFFFF) << "a selected entry";
  // The program's own look, from the options at the next showing.
  f_.dock->Config().KovaM = true;
  f_.dock->CreeMenu();
  draw(1, false);
  EXPECT_EQ(surface.At(130, 17), test::palette::kSilver) << "the raised box of the picture look";

  // An owner-drawn item of some other menu is not the dock's.
  win::Menu other(::CreatePopupMenu());
  DRAWITEMSTRUCT foreign{};
  foreign.CtlType = ODT_MENU;
  foreign.itemID = 1;
  foreign.hwndItem = reinterpret_cast<HWND>(other.get());
  foreign.hDC = surface.dc();
  foreign.rcItem = RECT{0, 0, 160, 20};
  surface.Fill(RGB(1, 2, 3));
  ::SendMessageW(dock, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&foreign));
  EXPECT_EQ(surface.At(80, 10), RGB(1, 2, 3));
}

TEST_F(MainMenuTest, SessionCommandsWriteTheStoreFirstAndKeepItWhenRefused) {
  Start(AllShellEntries(true));
  MainMenu& menu = f_.dock->MainMenuPart();
  TConfig& cfg = f_.dock->Config();
  ASSERT_EQ(session_.StoredTaille(), "32");
  cfg.Taille = 16;  // changed but not written yet
  menu.EventMenu(11);
  cfg.Taille = 48;
  menu.EventMenu(12);
  EXPECT_EQ(session_.calls, (std::vector<std::string>{"exit 1 taille 16", "privilege", "exit 5 taille 16",
                                                      "exit 2 taille 48", "privilege", "exit 6 taille 48"}));
  EXPECT_FALSE(f_.dock->Closed()) << "the system refused: the dock goes on";
  session_.calls.clear();
  session_.refuse = false;
  menu.EventMenu(11);
  EXPECT_EQ(session_.calls, (std::vector<std::string>{"exit 1 taille 48"})) << "no force when accepted";

  // The format dialog, the title and the separators.
  session_.calls.clear();
  for (int tag : {0, 8, 9, 10, 14, 16}) menu.EventMenu(static_cast<std::uint16_t>(tag));
  EXPECT_EQ(session_.calls, (std::vector<std::string>{"format 1 0 65535 0"}));

  // Log off writes the store, asks once and closes the dock.
  session_.calls.clear();
  cfg.Taille = 64;
  menu.EventMenu(13);
  EXPECT_EQ(session_.calls, (std::vector<std::string>{"exit 0 taille 64"}));
  EXPECT_TRUE(f_.dock->Closed());
  EXPECT_EQ(::IsWindow(f_.dock->hwnd()), FALSE);

  // Once the dock has closed, no command runs and nothing writes the store.
  session_.calls.clear();
  cfg.Taille = 16;
  for (int tag : {9, 11, 12, 13, 17}) menu.EventMenu(static_cast<std::uint16_t>(tag));
  EXPECT_TRUE(session_.calls.empty());
  EXPECT_EQ(session_.StoredTaille(), "64");
}

TEST_F(MainMenuTest, ShellEntriesOpenTheirFolderMenuAtTheCursorInTheLookOfTheOptions) {
  ql::test::ScratchFolder textures("qlmainmenu");
  TConfig cfg = AllShellEntries(true);
  cfg.KovaM = true;
  cfg.ItMenSel = textures.Bmp("sel.bmp", RGB(200, 40, 90));
  cfg.ItMenNorm = textures.Bmp("norm.bmp", RGB(10, 200, 30));
  Start(cfg);
  MainMenu& menu = f_.dock->MainMenuPart();
  TMenuSys* sys = menu.MenuSys();
  ASSERT_NE(sys, nullptr);
  ASSERT_NE(::SetCursorPos(200, 150), FALSE);
  RECT shown{};
  MenuDriver::Arm([&](HWND popup) {
    ::GetWindowRect(popup, &shown);
    ::EndMenu();
  });
  menu.EventMenu(5);
  EXPECT_TRUE(MenuDriver::sawMenu);
  EXPECT_EQ(sys->Root(), TCSIDL::CSID_PERSONAL);
  EXPECT_EQ(sys->Title(), "My Documents");
  EXPECT_EQ(sys->IconTyp(), TIconTyp::icKova);
  EXPECT_EQ(sys->ItSel(), cfg.ItMenSel);
  EXPECT_EQ(sys->ItNorm(), cfg.ItMenNorm);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  EXPECT_EQ(shown.left, cursor.x + 2);
  EXPECT_EQ(shown.top, cursor.y + 5);

  // Each entry its folder; the standard look with small icons.
  f_.dock->Config().KovaM = false;
  const std::vector<std::pair<std::uint16_t, TCSIDL>> roots{
      {1, TCSIDL::CSID_DRIVES},  {2, TCSIDL::CSID_NETWORK},  {3, TCSIDL::CSID_CONTROLS},
      {4, TCSIDL::CSID_DESKTOP}, {6, TCSIDL::CSID_PRINTERS}, {7, TCSIDL::CSID_PROGRAMS}};
  for (const auto& [tag, root] : roots) {
    const UINT_PTR timer = MenuDriver::Arm([](HWND) { ::EndMenu(); });
    menu.EventMenu(tag);
    ::KillTimer(nullptr, timer);  // a folder the shell cannot list shows no menu
    EXPECT_EQ(sys->Root(), root) << tag;
    EXPECT_EQ(sys->IconTyp(), TIconTyp::icSmall) << tag;
  }
}

TEST_F(MainMenuTest, RightPressShowsTheMenuWithTheOtherWindowsDisabledAndRunsTheChoiceAfterIt) {
  Start(AllShellEntries(false));
  f_.dock->FormShow();
  // Another window of the program that shows (as the task bar would).
  win::OwnedWindow other(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, -3000,
                                           -3000, 20, 20, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                           nullptr));
  ASSERT_NE(other.get(), nullptr);
  const HWND dock = f_.dock->hwnd();
  MessageCounter counter(dock);
  bool otherEnabled = true;
  bool dockEnabled = false;
  MenuDriver::Arm([&](HWND popup) {
    otherEnabled = ::IsWindowEnabled(other.get()) != FALSE;
    dockEnabled = ::IsWindowEnabled(dock) != FALSE;
    PressKey(popup, VK_UP);  // from no selection: the last entry, "Shutdown Quaylite"
    PressKey(popup, VK_RETURN);
  });
  session_.refuse = false;
  RightPressOnMainButton();
  EXPECT_TRUE(MenuDriver::sawMenu);
  EXPECT_FALSE(otherEnabled) << "modal for every window of the program";
  EXPECT_TRUE(dockEnabled) << "the menu's owner";
  EXPECT_GE(counter.measured, 8);
  EXPECT_GE(counter.drawn, 8);
  EXPECT_TRUE(f_.dock->Closed()) << "Shutdown Quaylite closes the dock";
  EXPECT_TRUE(session_.calls.empty());
  EXPECT_EQ(session_.StoredTaille(), "32") << "the store stays written";
  EXPECT_NE(::IsWindowEnabled(other.get()), FALSE);
}

TEST_F(MainMenuTest, TheButtonMenuTooLeavesEveryOtherWindowOfTheProgramDisabled) {
  Start(AllShellEntries(false));
  f_.dock->FormShow();
  win::OwnedWindow other(::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, -3000,
                                           -3000, 20, 20, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                           nullptr));
  ASSERT_NE(other.get(), nullptr);
  TKovaBtn* tile = f_.dock->GetBtn(1);
  ASSERT_NE(tile, nullptr);
  bool otherEnabled = true;
  MenuDriver::Arm([&](HWND popup) {
    otherEnabled = ::IsWindowEnabled(other.get()) != FALSE;
    PressKey(popup, VK_ESCAPE);
  });
  f_.dock->Commands().MenuBoutonsPopup(*tile, POINT{100, 100});
  EXPECT_TRUE(MenuDriver::sawMenu);
  EXPECT_FALSE(otherEnabled) << "a branch beside the bar would take clicks under the menu";
  EXPECT_NE(::IsWindowEnabled(other.get()), FALSE);
  EXPECT_EQ(f_.dock->TileCount(), 2U) << "Escape chose nothing";
}

TEST_F(MainMenuTest, GdiObjectsStayFlatOverFiftyOpeningsInBothLooksWithTextures) {
  ql::test::ScratchFolder textures("qlmainmenugdi");
  TConfig cfg = AllShellEntries(true);
  cfg.ItMenSel = textures.Bmp("sel.bmp", RGB(200, 40, 90));
  cfg.ItMenNorm = textures.Bmp("norm.bmp", RGB(10, 200, 30));
  Start(cfg);
  f_.dock->FormShow();
  MessageCounter counter(f_.dock->hwnd());
  auto open = [&](int round) {
    if (round % 5 == 0) {
      f_.dock->Config().KovaM = round % 10 == 0;
      f_.dock->CreeMenu();
    }
    MenuDriver::Arm([](HWND popup) {
      PressKey(popup, VK_DOWN);  // a selected entry drawn too
      PressKey(popup, VK_ESCAPE);
    });
    RightPressOnMainButton();
  };
  for (int round = 0; round < 5; ++round) open(round);
  const std::uint32_t before = test::GdiObjects();
  const int drawnBefore = counter.drawn;
  for (int round = 0; round < 50; ++round) open(round);
  EXPECT_EQ(test::GdiObjects(), before);
  EXPECT_GE(counter.drawn - drawnBefore, 50 * 13) << "every opening drew its entries";
  EXPECT_FALSE(f_.dock->Closed());
  EXPECT_TRUE(session_.calls.empty());
}

}  // namespace
}  // namespace ql
