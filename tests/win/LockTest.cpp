// The desktop lock on real windows: the password dialog, the lock from the store and from the
// hot key, answered through the dialog's own controls, and the keys it swallows meanwhile.
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "DockFixture.h"
#include "FakeShell.h"
#include "core/ConfigStore.h"
#include "dialogs/PassWD.h"
#include "win/Handles.h"
#include "win/TaskSwitchBlock.h"
#include "win/Utf.h"

namespace ql {
namespace {

using qltest::FakeShell;
using testing::DockFixture;

std::wstring TextOf(HWND window) {
  wchar_t text[128] = {};
  ::GetWindowTextW(window, text, 128);
  return text;
}

bool HasStyle(HWND window, LONG style) { return (::GetWindowLongW(window, GWL_STYLE) & style) == style; }

// Takes away the WM_QUIT a closing dock posts; true when there was one.
bool PumpQuit() {
  MSG msg;
  bool quit = false;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE) quit = true;
  return quit;
}

// --- Keys: which presses and releases reach the hooks installed before the block -------------

// A low-level keyboard hook that records, then swallows, every key: installed before a
// TaskSwitchBlock, it sees what the block lets through (the hook installed last is asked first),
// and no injected key reaches a window of the test or of Wine.
std::vector<std::pair<DWORD, bool>>* g_keysSeen = nullptr;

LRESULT CALLBACK RecordKeys(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && g_keysSeen != nullptr) {
    const auto& event = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    g_keysSeen->emplace_back(event.vkCode, wParam == WM_KEYUP || wParam == WM_SYSKEYUP);
    return 1;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class KeyRecorder {
 public:
  KeyRecorder() : hook_(::SetWindowsHookExW(WH_KEYBOARD_LL, &RecordKeys, ::GetModuleHandleW(nullptr), 0)) {
    g_keysSeen = &seen;
  }
  KeyRecorder(const KeyRecorder&) = delete;
  KeyRecorder& operator=(const KeyRecorder&) = delete;
  ~KeyRecorder() {
    g_keysSeen = nullptr;
    if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
  }
  bool Installed() const { return hook_ != nullptr; }

  std::vector<std::pair<DWORD, bool>> seen;  // virtual key, released

 private:
  HHOOK hook_;
};

// Presses and releases, as the keyboard would send them.
void SendKeys(const std::vector<std::pair<WORD, bool>>& keys) {
  std::vector<INPUT> inputs;
  for (const auto& [vk, up] : keys) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The hooks are called through the thread's message queue.
void PumpMessages() {
  MSG msg;
  for (int round = 0; round < 5; ++round) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

using KeySequence = std::vector<std::pair<WORD, bool>>;
// Alt+Tab, Ctrl+Esc, Alt+Esc, the left Windows key, then a plain letter.
const KeySequence kSwitchingKeys = {
    {VK_MENU, false},    {VK_TAB, false},    {VK_TAB, true},    {VK_MENU, true},
    {VK_CONTROL, false}, {VK_ESCAPE, false}, {VK_ESCAPE, true}, {VK_CONTROL, true},
    {VK_MENU, false},    {VK_ESCAPE, false}, {VK_ESCAPE, true}, {VK_MENU, true},
    {VK_LWIN, false},    {VK_LWIN, true},    {'A', false},      {'A', true}};
// What of it comes through while the keys are blocked: the modifiers alone and the letter.
const std::vector<std::pair<DWORD, bool>> kLetThrough = {
    {VK_MENU, false}, {VK_MENU, true}, {VK_CONTROL, false}, {VK_CONTROL, true},
    {VK_MENU, false}, {VK_MENU, true}, {'A', false},        {'A', true}};

std::vector<std::pair<DWORD, bool>> AllOf(const KeySequence& keys) {
  std::vector<std::pair<DWORD, bool>> out;
  for (const auto& [vk, up] : keys) out.emplace_back(vk, up);
  return out;
}

// Reads the recorder as it stands, the generic Alt / Ctrl codes folded into their left-hand keys'
// (systems report either).
std::vector<std::pair<DWORD, bool>> Seen(const KeyRecorder& recorder) {
  std::vector<std::pair<DWORD, bool>> out;
  for (auto [vk, up] : recorder.seen) {
    if (vk == VK_LMENU) vk = VK_MENU;
    if (vk == VK_LCONTROL) vk = VK_CONTROL;
    out.emplace_back(vk, up);
  }
  return out;
}

TEST(TaskSwitchBlock, SwallowsTheSwitchingKeysOnlyWhileItLives) {
  KeyRecorder recorder;
  if (!recorder.Installed()) GTEST_SKIP() << "no low-level keyboard hooks on this system";
  {
    win::TaskSwitchBlock block;
    ASSERT_TRUE(block.Installed());
    SendKeys(kSwitchingKeys);
    PumpMessages();
    EXPECT_EQ(Seen(recorder), kLetThrough);
  }
  recorder.seen.clear();
  SendKeys(kSwitchingKeys);
  PumpMessages();
  EXPECT_EQ(Seen(recorder), AllOf(kSwitchingKeys)) << "every key passes once the block is gone";
}

// --- The dialog ---------------------------------------------------------------------------

class PasswordDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(owner.CreateForm(nullptr, L"TestPassOwner", L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0));
    ASSERT_TRUE(dialog.Create(owner.hwnd()));
  }
  win::Form owner;
  TFrmPassWD dialog;
};

TEST_F(PasswordDialog, CaptionsMasksAndTheDefaultButton) {
  HWND d = dialog.hwnd();
  EXPECT_EQ(TextOf(d), L"Quaylite Protection");
  EXPECT_TRUE(HasStyle(d, WS_CAPTION | WS_SYSMENU));
  EXPECT_FALSE(HasStyle(d, WS_THICKFRAME)) << "a single, fixed border";
  EXPECT_FALSE(HasStyle(d, WS_MINIMIZEBOX));
  EXPECT_FALSE(HasStyle(d, WS_MAXIMIZEBOX));
  EXPECT_NE(::GetWindowLongW(d, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
  EXPECT_FALSE(dialog.Visible());

  const std::pair<int, const wchar_t*> captions[] = {
      {TFrmPassWD::kLabel1, L"&Password :"},
      {TFrmPassWD::kAlerte, L"Computer was shut down !!!"},
      {TFrmPassWD::kChanger, L"&Change"},
      {IDOK, L"&OK"},
      {TFrmPassWD::kLabel2, L"Enter &new password :"},
      {TFrmPassWD::kLabel3, L"&Confirm new password :"},
  };
  for (const auto& [id, text] : captions) EXPECT_EQ(TextOf(dialog.Control(id)), text) << id;
  for (int id : {TFrmPassWD::kPasswd, TFrmPassWD::kNPassWD, TFrmPassWD::kCPassWD}) {
    EXPECT_TRUE(HasStyle(dialog.Control(id), ES_PASSWORD)) << id;
    EXPECT_EQ(::SendMessageW(dialog.Control(id), EM_GETPASSWORDCHAR, 0, 0), L'*') << id;
  }
  EXPECT_TRUE(HasStyle(dialog.OkButton(), BS_DEFPUSHBUTTON));
  EXPECT_EQ(LOWORD(::SendMessageW(d, DM_GETDEFID, 0, 0)), IDOK);
  // The close entry of the system menu (and with it the close box) is greyed.
  const UINT state = ::GetMenuState(::GetSystemMenu(d, FALSE), SC_CLOSE, MF_BYCOMMAND);
  EXPECT_NE(state & MF_GRAYED, 0U);
}

TEST_F(PasswordDialog, ChangeSwitchesBetweenTheTwoHeights) {
  dialog.FormShow();
  EXPECT_EQ(dialog.Height(), TFrmPassWD::kCollapsedHeight);
  HWND newRow = dialog.Control(TFrmPassWD::kNPassWD);
  EXPECT_FALSE(HasStyle(newRow, WS_VISIBLE));

  dialog.ChangerClick();
  EXPECT_EQ(dialog.Height(), TFrmPassWD::kExpandedHeight);
  for (int id : {TFrmPassWD::kLabel2, TFrmPassWD::kNPassWD, TFrmPassWD::kLabel3, TFrmPassWD::kCPassWD}) {
    EXPECT_TRUE(HasStyle(dialog.Control(id), WS_VISIBLE)) << id;
  }
  // Inside the expanded window.
  RECT client{};
  ::GetClientRect(dialog.hwnd(), &client);
  RECT row{};
  ::GetWindowRect(dialog.Control(TFrmPassWD::kCPassWD), &row);
  ::MapWindowPoints(nullptr, dialog.hwnd(), reinterpret_cast<POINT*>(&row), 2);
  EXPECT_LE(row.bottom, client.bottom);

  ::SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(TFrmPassWD::kChanger, BN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog.Control(TFrmPassWD::kChanger)));
  EXPECT_EQ(dialog.Height(), TFrmPassWD::kCollapsedHeight);
  EXPECT_FALSE(HasStyle(newRow, WS_VISIBLE));

  // Any other height collapses.
  const RECT r = dialog.Bounds();
  ::SetWindowPos(dialog.hwnd(), nullptr, 0, 0, r.right - r.left, 150,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  dialog.ChangerClick();
  EXPECT_EQ(dialog.Height(), TFrmPassWD::kCollapsedHeight);
  // A new showing starts collapsed.
  dialog.ChangerClick();
  dialog.FormShow();
  EXPECT_EQ(dialog.Height(), TFrmPassWD::kCollapsedHeight);
}

TEST_F(PasswordDialog, PictureIsSixtyFourSquareAndTheAlertWhiteOnRed) {
  dialog.FormShow();
  auto picture = reinterpret_cast<HBITMAP>(
      ::SendMessageW(dialog.Control(TFrmPassWD::kIcon), STM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(picture, nullptr);
  BITMAP info{};
  ASSERT_NE(::GetObjectW(picture, sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 64);
  EXPECT_EQ(info.bmHeight, 64);
  EXPECT_FALSE(dialog.AlertShown());

  win::MemoryDc dc(::CreateCompatibleDC(nullptr));
  HWND alert = dialog.Control(TFrmPassWD::kAlerte);
  auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
      dialog.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(alert)));
  ASSERT_NE(brush, nullptr);
  LOGBRUSH lb{};
  ::GetObjectW(brush, sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, RGB(255, 0, 0));
  EXPECT_EQ(::GetTextColor(dc.get()), RGB(255, 255, 255));
  EXPECT_EQ(::GetBkColor(dc.get()), RGB(255, 0, 0));
}

// --- The lock, driven from inside its modal loop ------------------------------------------

// Steps that a thread timer runs one by one inside the lock's modal loop. The last step is
// repeated until the lock ends, so it should be the one that answers rightly.
struct Script {
  std::vector<std::function<void()>> steps;
  std::size_t next = 0;
};
Script* g_script = nullptr;

void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
  if (g_script == nullptr || g_script->steps.empty()) return;
  Script& s = *g_script;
  const std::size_t i = s.next < s.steps.size() ? s.next++ : s.steps.size() - 1;
  s.steps[i]();
}

class ScriptedLock {
 public:
  explicit ScriptedLock(std::vector<std::function<void()>> steps)
      : timer_(::SetTimer(nullptr, 0, 20, &RunStep)) {
    script_.steps = std::move(steps);
    g_script = &script_;
  }
  ScriptedLock(const ScriptedLock&) = delete;
  ScriptedLock& operator=(const ScriptedLock&) = delete;
  ~ScriptedLock() {
    ::KillTimer(nullptr, timer_);
    g_script = nullptr;
  }
  std::size_t StepsRun() const { return script_.next; }

 private:
  Script script_;
  UINT_PTR timer_;
};

class Lock : public ::testing::Test {
 protected:
  static constexpr const wchar_t* kAppClass = L"QlLockTestApp";

  void SetUp() override {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kAppClass;
    ::RegisterClassExW(&wc);
    // An application window: visible to the window system, off the X display.
    app.reset(::CreateWindowExW(0, kAppClass, L"Some program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, -3000, -3000,
                                200, 120, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(app);
    ::GetDesktopWindow();
    realShell = ::FindWindowW(FakeShell::kProgmanClass, nullptr) != nullptr ||
                ::FindWindowW(FakeShell::kTrayClass, nullptr) != nullptr;
    if (!realShell) {
      shell.CreateTray();
      shell.CreateProgman();
    }
  }
  void TearDown() override { PumpQuit(); }

  // Stores the lock's values and options, then starts the dock on them.
  void StartDock(bool provider, const std::string& password, bool startLock, bool previousRunLocked) {
    TConfig stored;
    stored.Provider = provider;
    stored.MotDePasse = password;
    stored.StartLock = startLock;
    DockFixture::FillStore(f.store, stored, 1, false, "notepad.exe");
    EcritVerrou(f.store, stored);
    if (previousRunLocked) EcritSortie(f.store, "0");
    ASSERT_TRUE(f.Start());
    f.dock->PasswordMessage = [this](const std::string& text, bool warning) {
      messages.emplace_back(text, warning);
    };
  }

  TFrmPassWD& dialog() { return f.peers->password; }
  void Type(int id, const wchar_t* text) { ::SetWindowTextW(dialog().Control(id), text); }
  void ClickOk() { ::SendMessageW(dialog().OkButton(), BM_CLICK, 0, 0); }
  std::function<void()> Answer(const wchar_t* password) {
    return [this, password] {
      Type(TFrmPassWD::kPasswd, password);
      ClickOk();
    };
  }
  std::string StoredPassword() {
    TConfig read;
    LitConfig(f.store, read);
    return read.MotDePasse;
  }
  std::string StoredExit() {
    auto key = f.store.Open(kDockKey, false);
    return key ? key->ReadString("exit").value_or("") : "";
  }

  FakeShell shell;
  bool realShell = false;
  win::OwnedWindow app;
  DockFixture f;
  std::vector<std::pair<std::string, bool>> messages;  // text, warning
};

// What the desktop looks like at one moment of the lock.
struct DesktopState {
  bool dialogShown = false;
  bool dialogTopmost = false;
  bool alert = false;
  bool dockShown = false;
  bool iconsShown = false;
  bool iconsEnabled = false;
  bool trayShown = false;
  bool appMinimised = false;
};

TEST_F(Lock, StartLockHidesTheDesktopUntilTheRightPasswordInAnyCase) {
  StartDock(false, "Secret", true, false);
  DesktopState inside;
  DesktopState afterWrong;
  const auto look = [this](DesktopState& s) {
    s.dialogShown = dialog().Visible();
    s.dialogTopmost = (::GetWindowLongW(dialog().hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    s.alert = dialog().AlertShown();
    s.dockShown = f.dock->Visible();
    if (!realShell) {
      s.iconsShown = FakeShell::HasVisibleStyle(shell.iconView());
      s.iconsEnabled = FakeShell::IsEnabled(shell.iconView());
      s.trayShown = FakeShell::HasVisibleStyle(shell.tray());
    }
    s.appMinimised = ::IsIconic(app.get()) != FALSE;
  };
  {
    ScriptedLock script(
        {[&] { look(inside); }, Answer(L"Wrong"), [&] { look(afterWrong); }, Answer(L"sECRET")});
    f.dock->FormShow();
    EXPECT_EQ(script.StepsRun(), 4U);
  }
  EXPECT_TRUE(inside.dialogShown);
  EXPECT_TRUE(inside.dialogTopmost);
  EXPECT_FALSE(inside.alert) << "the lock at every start shows no alert";
  EXPECT_FALSE(inside.dockShown);
  EXPECT_TRUE(inside.appMinimised);
  if (!realShell) {
    EXPECT_FALSE(inside.iconsShown);
    EXPECT_FALSE(inside.iconsEnabled);
    EXPECT_FALSE(inside.trayShown);
  }
  EXPECT_TRUE(afterWrong.dialogShown) << "a wrong password keeps the lock";
  EXPECT_EQ(messages, (std::vector<std::pair<std::string, bool>>{{"Invalid Password !!!", false}}));

  // Given back; the windows stay minimised.
  EXPECT_FALSE(dialog().Visible());
  EXPECT_TRUE(f.dock->Visible());
  EXPECT_TRUE(::IsIconic(app.get()));
  if (!realShell) {
    EXPECT_TRUE(FakeShell::HasVisibleStyle(shell.iconView()));
    EXPECT_TRUE(FakeShell::IsEnabled(shell.iconView()));
    EXPECT_TRUE(FakeShell::HasVisibleStyle(shell.tray()));
  }
  EXPECT_EQ(StoredPassword(), "Secret");
  TConfig read;
  LitConfig(f.store, read);
  EXPECT_FALSE(read.Provider) << "the start-up lock leaves the lock switched off";
}

TEST_F(Lock, AfterARunThatEndedLockedTheAlertShowsOnceAndTheKeysAreBlocked) {
  StartDock(false, "", false, true);
  KeyRecorder recorder;
  bool alertFirst = false;
  bool alertAgain = true;
  std::vector<std::pair<DWORD, bool>> keysInside;
  {
    ScriptedLock script({[&] { alertFirst = dialog().AlertShown(); }, [&] { SendKeys(kSwitchingKeys); },
                         [&] { keysInside = Seen(recorder); }, Answer(L"not empty"),
                         [&] { alertAgain = dialog().AlertShown(); }, Answer(L"")});
    f.dock->FormShow();
  }
  EXPECT_TRUE(alertFirst);
  EXPECT_FALSE(alertAgain);
  EXPECT_TRUE(f.dock->SortieNormale);
  if (recorder.Installed()) {
    EXPECT_EQ(keysInside, kLetThrough);
    recorder.seen.clear();
    SendKeys(kSwitchingKeys);
    PumpMessages();
    EXPECT_EQ(Seen(recorder), AllOf(kSwitchingKeys)) << "the keys are given back with the desktop";
  }
}

TEST_F(Lock, HotKeyLockIgnoresEveryCloseAndStoresANewPasswordAtOnce) {
  StartDock(true, "old", false, false);
  f.dock->FormShow();
  ASSERT_TRUE(f.dock->Visible());
  HWND dock = f.dock->hwnd();
  struct {
    std::string exitDuring;
    bool afterDockClose = false;
    bool afterDialogClose = false;
    bool afterSysClose = false;
    bool afterEscape = false;
    bool afterHotKey = false;
    bool dockAfterHotKey = true;
    bool afterQuit = false;
  } seen;
  {
    ScriptedLock script({
        [&] { seen.exitDuring = StoredExit(); },
        [&] { ::SendMessageW(dock, WM_CLOSE, 0, 0); },
        [&] { seen.afterDockClose = ::IsWindow(dock) != FALSE && dialog().Visible(); },
        [&] { ::SendMessageW(dialog().hwnd(), WM_CLOSE, 0, 0); },
        [&] { seen.afterDialogClose = dialog().Visible(); },
        [&] { ::SendMessageW(dialog().hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); },
        [&] { seen.afterSysClose = dialog().Visible(); },
        [&] {
          ::SendMessageW(dialog().hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);  // Escape
        },
        [&] { seen.afterEscape = dialog().Visible(); },
        [&] { ::SendMessageW(dock, WM_HOTKEY, kHotKeyId, 0); },
        [&] {
          seen.afterHotKey = dialog().Visible();
          seen.dockAfterHotKey = f.dock->Visible();
        },
        [&] { ::PostQuitMessage(3); },
        [&] { seen.afterQuit = dialog().Visible(); },
        // A confirmation that differs: warned, nothing changed.
        [&] {
          dialog().ChangerClick();
          Type(TFrmPassWD::kNPassWD, L"one");
          Type(TFrmPassWD::kCPassWD, L"two");
          Answer(L"old")();
        },
        [&] {
          dialog().ChangerClick();
          Type(TFrmPassWD::kNPassWD, L"NewPass");
          Type(TFrmPassWD::kCPassWD, L"newpass");
          Answer(L"OLD")();
        },
    });
    ::SendMessageW(dock, WM_HOTKEY, kHotKeyId, 0);
    EXPECT_EQ(script.StepsRun(), 15U) << "the lock ended before the steps ran out";
  }
  EXPECT_EQ(seen.exitDuring, "0");
  EXPECT_TRUE(seen.afterDockClose);
  EXPECT_TRUE(seen.afterDialogClose);
  EXPECT_TRUE(seen.afterSysClose);
  EXPECT_TRUE(seen.afterEscape);
  EXPECT_TRUE(seen.afterHotKey);
  EXPECT_FALSE(seen.dockAfterHotKey) << "the hot key does nothing while the dialog shows";
  EXPECT_TRUE(seen.afterQuit);
  EXPECT_EQ(messages,
            (std::vector<std::pair<std::string, bool>>{{"The two new passwords differ !!!", true}}));
  // Stored as soon as it was accepted, in the case typed in the new field.
  EXPECT_EQ(StoredPassword(), "NewPass");
  TConfig read;
  LitConfig(f.store, read);
  EXPECT_TRUE(read.Provider);
  EXPECT_EQ(f.config.MotDePasse, "NewPass");
  EXPECT_TRUE(f.dock->Visible());
  EXPECT_TRUE(PumpQuit()) << "the quit that came during the lock is passed on";
}

TEST_F(Lock, WithTheLockOffTheHotKeyOnlyHidesAndShowsTheDock) {
  StartDock(false, "", false, false);
  f.dock->FormShow();
  HWND dock = f.dock->hwnd();
  ::SendMessageW(dock, WM_HOTKEY, kHotKeyId, 0);
  EXPECT_FALSE(f.dock->Visible());
  EXPECT_FALSE(dialog().Visible());
  EXPECT_FALSE(::IsIconic(app.get()));
  if (!realShell) {
    EXPECT_TRUE(FakeShell::HasVisibleStyle(shell.iconView()));
    EXPECT_TRUE(FakeShell::HasVisibleStyle(shell.tray()));
  }
  EXPECT_EQ(StoredExit(), "0");
  ::SendMessageW(dock, WM_HOTKEY, kHotKeyId + 1, 0);  // another identifier: nothing
  EXPECT_FALSE(f.dock->Visible());
  ::SendMessageW(dock, WM_HOTKEY, kHotKeyId, 0);
  EXPECT_TRUE(f.dock->Visible());
}

}  // namespace
}  // namespace ql
