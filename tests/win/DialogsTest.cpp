// The modal dialog base and the two button dialogs on real windows. Every modal run is driven by
// messages posted before or during the loop, and a watchdog timer ends a loop that would
// otherwise wait for ever, so a fault fails the test instead of hanging it.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "FakeDock.h"
#include "MenuFiles.h"
#include "PixelSurface.h"
#include "core/Bouton.h"
#include "core/ButtonEdit.h"
#include "dialogs/Proprietes.h"
#include "dialogs/SendTo.h"
#include "dock/BarreBranche.h"
#include "win/ModalForm.h"
#include "win/Utf.h"

namespace {

constexpr int kTimedOut = -100;  // what a loop ended by the watchdog returns
constexpr UINT kWatchdogMs = 5000;
constexpr UINT_PTR kWatchdogTimer = 0x51;

// Custom messages the tests post to a form under test.
constexpr UINT kEndWith = WM_APP + 1;  // EndModal(wParam)
constexpr UINT kProbe = WM_APP + 2;    // runs the test's probe, inside the loop

std::wstring WindowText(HWND h) {
  wchar_t buf[256] = {};
  ::GetWindowTextW(h, buf, 256);
  return buf;
}

SIZE ClientSize(HWND h) {
  RECT r{};
  ::GetClientRect(h, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// The owner window standing in for the dock, one for the whole run. Under Wine without a window
// manager, hiding or destroying a window that has been active waits about 2 s for the manager that
// never answers: every modal run below costs that much once (the runs are kept few), and the owner,
// which takes the activation back each time, is never destroyed.
class Owner {
 public:
  HWND get() const {
    static const HWND shared = [] {
      HWND h = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
      ::ShowWindow(h, SW_SHOWNOACTIVATE);
      return h;
    }();
    return shared;
  }
};

// ---- the modal base --------------------------------------------------------------------------

class TestForm : public ql::win::ModalForm {
 public:
  bool Build() {
    if (!CreateModal(nullptr, L"QlTestModalForm", L"Modal test", 220, 90)) return false;
    edit = AddControl(L"EDIT", L"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 8, 8, 204, 21, 100);
    ok = AddControl(L"BUTTON", L"&OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 56, 56, 75, 25, IDOK);
    cancel = AddControl(L"BUTTON", L"&Cancel", WS_TABSTOP | BS_PUSHBUTTON, 137, 56, 75, 25, IDCANCEL);
    return edit != nullptr && ok != nullptr && cancel != nullptr;
  }

  HWND edit = nullptr;
  HWND ok = nullptr;
  HWND cancel = nullptr;
  int shows = 0;
  int okCalls = 0;
  bool refuseOk = false;
  std::function<void(TestForm&)> onShow;
  std::function<void(TestForm&)> probe;

 protected:
  void OnShowModal() override {
    ++shows;
    ::SetTimer(hwnd(), kWatchdogTimer, kWatchdogMs, nullptr);
    if (onShow) onShow(*this);
  }
  bool OnOk() override {
    ++okCalls;
    return !refuseOk;
  }
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_TIMER && wParam == kWatchdogTimer) {
      ::KillTimer(hwnd(), kWatchdogTimer);
      EndModal(kTimedOut);
      return 0;
    }
    if (msg == kEndWith) {
      EndModal(static_cast<int>(wParam));
      return 0;
    }
    if (msg == kProbe) {
      if (probe) probe(*this);
      return 0;
    }
    return ModalForm::HandleMessage(msg, wParam, lParam);
  }
};

void PostKey(HWND target, WPARAM vk) {
  ::PostMessageW(target, WM_KEYDOWN, vk, 1);
  ::PostMessageW(target, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
}

class ModalFormTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(form.Build()); }
  int Run() {
    const int r = form.ShowModal(owner.get());
    ::KillTimer(form.hwnd(), kWatchdogTimer);
    return r;
  }
  Owner owner;
  TestForm form;
};

TEST_F(ModalFormTest, ClientSizeCaptionAndHiddenUntilShown) {
  EXPECT_EQ(ClientSize(form.hwnd()).cx, 220);
  EXPECT_EQ(ClientSize(form.hwnd()).cy, 90);
  EXPECT_EQ(WindowText(form.hwnd()), L"Modal test");
  EXPECT_FALSE(form.Visible());
  const LONG style = ::GetWindowLongW(form.hwnd(), GWL_STYLE);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  EXPECT_NE(form.DialogFont(), nullptr);
  EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(form.ok, WM_GETFONT, 0, 0)), form.DialogFont());
}

TEST_F(ModalFormTest, WhileShownTheOwnerIsDisabledAndTheFormCentred) {
  bool ownerEnabled = true;
  bool visible = false;
  HWND focusFirst = nullptr;
  HWND focusAfterTab = nullptr;
  RECT where{};
  int nested = 0;
  form.EndModal(IDOK);  // outside the loop: ignored
  form.onShow = [](TestForm& f) {
    ::PostMessageW(f.hwnd(), kProbe, 0, 0);
    PostKey(f.edit, VK_TAB);
    ::PostMessageW(f.hwnd(), kProbe, 1, 0);
  };
  int probes = 0;
  form.probe = [&](TestForm& f) {
    if (probes++ == 1) {
      focusAfterTab = ::GetFocus();
      f.EndModal(IDOK);
      return;
    }
    ownerEnabled = ::IsWindowEnabled(owner.get()) != FALSE;
    visible = ::IsWindowVisible(f.hwnd()) != FALSE;
    focusFirst = ::GetFocus();
    ::GetWindowRect(f.hwnd(), &where);
    nested = f.ShowModal(owner.get());  // refused while modal
  };
  EXPECT_EQ(Run(), IDOK);
  EXPECT_EQ(probes, 2);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(visible);
  EXPECT_EQ(focusFirst, form.edit);  // the first control of the tab order
  EXPECT_EQ(focusAfterTab, form.ok);
  EXPECT_EQ(nested, IDCANCEL);
  EXPECT_EQ(form.shows, 1);
  const int w = where.right - where.left;
  const int h = where.bottom - where.top;
  EXPECT_EQ(where.left, (::GetSystemMetrics(SM_CXSCREEN) - w) / 2);
  EXPECT_EQ(where.top, (::GetSystemMetrics(SM_CYSCREEN) - h) / 2);
  // Afterwards: owner enabled again, form hidden but kept.
  EXPECT_TRUE(::IsWindowEnabled(owner.get()) != FALSE);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.InModal());
  EXPECT_TRUE(::IsWindow(form.hwnd()));
}

TEST_F(ModalFormTest, EscapeIsCancelEnterIsOk) {
  form.onShow = [](TestForm& f) { PostKey(f.edit, VK_ESCAPE); };
  EXPECT_EQ(Run(), IDCANCEL);
  EXPECT_EQ(form.okCalls, 0);

  form.onShow = [](TestForm& f) { PostKey(f.edit, VK_RETURN); };
  EXPECT_EQ(Run(), IDOK);
  EXPECT_EQ(form.okCalls, 1);
}

TEST_F(ModalFormTest, EnterDoesNothingWhileOkIsDisabledOrRefused) {
  form.onShow = [](TestForm& f) {
    ::EnableWindow(f.ok, FALSE);
    PostKey(f.edit, VK_RETURN);
    ::PostMessageW(f.hwnd(), kEndWith, 42, 0);  // handled only after the Enter
  };
  EXPECT_EQ(Run(), 42);
  EXPECT_EQ(form.okCalls, 0);

  ::EnableWindow(form.ok, TRUE);
  form.refuseOk = true;
  form.onShow = [](TestForm& f) {
    PostKey(f.edit, VK_RETURN);
    ::PostMessageW(f.hwnd(), kEndWith, 43, 0);
  };
  EXPECT_EQ(Run(), 43);
  EXPECT_EQ(form.okCalls, 1);
}

TEST_F(ModalFormTest, ButtonsAndAccelerators) {
  form.onShow = [](TestForm& f) { ::PostMessageW(f.ok, BM_CLICK, 0, 0); };
  EXPECT_EQ(Run(), IDOK);
  // Alt+C presses "&Cancel" from the edit field.
  form.onShow = [](TestForm& f) {
    ::PostMessageW(f.edit, WM_SYSCHAR, L'c', static_cast<LPARAM>(0x20000001));
  };
  EXPECT_EQ(Run(), IDCANCEL);
  EXPECT_EQ(form.okCalls, 1);
}

TEST_F(ModalFormTest, CloseBoxCancelsAndKeepsTheWindow) {
  // The close box's command, which the default processing turns into WM_CLOSE.
  form.onShow = [](TestForm& f) { ::PostMessageW(f.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); };
  EXPECT_EQ(Run(), IDCANCEL);
  EXPECT_TRUE(::IsWindow(form.hwnd()));
  EXPECT_EQ(form.okCalls, 0);
}

TEST_F(ModalFormTest, QuitEndsTheLoopAndIsPostedAgain) {
  form.onShow = [](TestForm&) { ::PostQuitMessage(7); };
  EXPECT_EQ(Run(), IDCANCEL);
  EXPECT_TRUE(::IsWindowEnabled(owner.get()) != FALSE);
  MSG msg{};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE);
  EXPECT_EQ(msg.wParam, 7U);
}

TEST_F(ModalFormTest, DestroyedWhileModalEndsWithCancel) {
  form.onShow = [](TestForm& f) { ::PostMessageW(f.hwnd(), kProbe, 0, 0); };
  form.probe = [](TestForm& f) { ::DestroyWindow(f.hwnd()); };
  EXPECT_EQ(form.ShowModal(owner.get()), IDCANCEL);
  EXPECT_EQ(form.hwnd(), nullptr);
  EXPECT_TRUE(::IsWindowEnabled(owner.get()) != FALSE);
  EXPECT_EQ(form.ShowModal(owner.get()), IDCANCEL);  // no window: nothing to show
}

// ---- the two button dialogs ------------------------------------------------------------------

using ql::ButtonData;
using ql::ButtonList;
using ql::TBouton;
using ql::TKovaBtn;
using ql::TProprietes;
using ql::TSendTo;

constexpr COLORREF kOwnColour = RGB(200, 30, 30);
constexpr COLORREF kMainColour = RGB(30, 30, 200);
constexpr COLORREF kPickedColour = RGB(30, 160, 30);

// Ends a modal run that nothing else ends: a thread timer closes the form (Cancel) and says so.
bool g_watchdogFired = false;
HWND g_watched = nullptr;
void CALLBACK WatchdogProc(HWND, UINT, UINT_PTR, DWORD) {
  g_watchdogFired = true;
  if (g_watched != nullptr) ::PostMessageW(g_watched, WM_CLOSE, 0, 0);
}
class Watchdog {
 public:
  explicit Watchdog(HWND form) : id_(::SetTimer(nullptr, 0, kWatchdogMs, &WatchdogProc)) {
    g_watchdogFired = false;
    g_watched = form;
  }
  ~Watchdog() {
    ::KillTimer(nullptr, id_);
    g_watched = nullptr;
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  UINT_PTR id_;
};

// The colour a preview tile shows away from its icon and frame.
COLORREF Background(TKovaBtn& tile) {
  const ql::test::Pixels p = ql::test::ReadPixels(tile.Compose().get());
  return p.width > 5 ? p.At(4, 4) : CLR_INVALID;
}

class DialogFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t tmp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, tmp);
    dir_ = ql::win::Narrow(tmp) + "qldialogs" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryW(ql::win::Widen(dir_).c_str(), nullptr);
    ownBmp = WriteBmp("own.bmp", kOwnColour);
    mainBmp = WriteBmp("main.bmp", kMainColour);
    pickedBmp = WriteBmp("picked.bmp", kPickedColour);
    mainTexture = ql::LoadTexture(mainBmp);
    ASSERT_TRUE(mainTexture);
    wchar_t sys[MAX_PATH] = {};
    ::GetSystemDirectoryW(sys, MAX_PATH);
    shell32 = ql::win::Narrow(sys) + "\\shell32.dll";
    dock.mainIconPath = shell32;
    dock.mainTexture = mainTexture.get();
  }
  void TearDown() override {
    for (const std::string& f : files_) ::DeleteFileW(ql::win::Widen(f).c_str());
    ::RemoveDirectoryW(ql::win::Widen(dir_).c_str());
  }

  // An 8 x 8, 24-bit bitmap file of one colour.
  std::string WriteBmp(const std::string& name, COLORREF c) {
    const std::string path = dir_ + "\\" + name;
    const std::vector<std::uint8_t> f = ql::test::OneColourBmp(c);
    std::ofstream(std::filesystem::path(ql::win::Widen(path)), std::ios::binary)
        .write(reinterpret_cast<const char*>(f.data()), static_cast<std::streamsize>(f.size()));
    files_.push_back(path);
    return path;
  }

  std::string ownBmp;
  std::string mainBmp;
  std::string pickedBmp;
  std::string shell32;
  ql::win::Bitmap mainTexture;
  ql::test::FakeDock dock;
  ql::TConfig& config = dock.config;
  Owner owner;

 private:
  std::string dir_;
  std::vector<std::string> files_;
};

std::vector<std::string> ListLines(HWND list) {
  std::vector<std::string> out;
  const LRESULT n = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    wchar_t buf[256] = {};
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    out.push_back(ql::win::Narrow(buf));
  }
  return out;
}

bool Enabled(HWND h) { return ::IsWindowEnabled(h) != FALSE; }

// ---- send to ---------------------------------------------------------------------------------

class SendToDialog : public DialogFiles {
 protected:
  void SetUp() override {
    DialogFiles::SetUp();
    ASSERT_TRUE(dialog.Create(nullptr));
    alpha = &list.Append(ButtonData{"Alpha", "C:\\alpha.exe", shell32, ownBmp, 3});
    bee = &list.Append(ButtonData{"Bee", "C:\\bee.exe", shell32, ownBmp, 4});
    vd = &list.Append(ButtonData{"", "Virtual Desktop", "", "", 0});
    stat = &list.Append(ButtonData{"", "SysInfo", "", "", 0});
    group = &list.Append(ButtonData{"Group", "C:\\group.exe", shell32, "", 5});
    list.RenumBtn(nullptr);
    member = &list.AppendMember(*group, ButtonData{"Member", "C:\\m.exe", shell32, "", 6});
    list.RenumBtn(nullptr);
    list.BoutonSource = bee;
    dialog.Prepare({&dock, bee->Numero});
  }
  // Selects a line as a click does: the list's selection, then its notification to the dialog.
  void Choose(int line) {
    ::SendMessageW(dialog.ListBtn(), LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    ::SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(TSendTo::kListBtn, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(dialog.ListBtn()));
  }

  TSendTo dialog;
  ButtonList& list = dock.boutons;
  TBouton* alpha = nullptr;
  TBouton* bee = nullptr;
  TBouton* vd = nullptr;
  TBouton* stat = nullptr;
  TBouton* group = nullptr;
  TBouton* member = nullptr;
};

TEST_F(SendToDialog, CaptionSizeAndControls) {
  EXPECT_EQ(WindowText(dialog.hwnd()), L"Send button to group");
  EXPECT_EQ(ClientSize(dialog.hwnd()).cx, 360);
  EXPECT_EQ(ClientSize(dialog.hwnd()).cy, 201);
  EXPECT_EQ(WindowText(dialog.OkButton()), L"&OK");
  EXPECT_EQ(WindowText(::GetDlgItem(dialog.hwnd(), IDCANCEL)), L"&Cancel");
  EXPECT_NE(::GetWindowLongW(dialog.OkButton(), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);
  EXPECT_EQ(WindowText(::GetDlgItem(dialog.hwnd(), TSendTo::kPanel1)), L"Source :");
  EXPECT_EQ(ql::win::Narrow(WindowText(::GetDlgItem(dialog.hwnd(), TSendTo::kPanel2))), "Destina° :");
  RECT r{};
  ::GetWindowRect(dialog.ListBtn(), &r);
  EXPECT_EQ(r.right - r.left, 163);
  EXPECT_EQ(r.bottom - r.top, 130);
  EXPECT_EQ(::SendMessageW(dialog.ListBtn(), LB_GETITEMHEIGHT, 0, 0), 13);
  for (TKovaBtn* tile : {&dialog.Source(), &dialog.Destination()}) {
    EXPECT_EQ(tile->Width(), 64);
    EXPECT_EQ(tile->Height(), 64);
    EXPECT_FALSE(tile->AutoSize());
  }
}

TEST_F(SendToDialog, OpeningListsTheDestinationsAndPreviewsTheSource) {
  list.BoutonCible = alpha;  // left from an earlier exchange
  dialog.FormShow();
  EXPECT_EQ(ListLines(dialog.ListBtn()),
            (std::vector<std::string>{"Main Dock", "Alpha", "- IMPOSSIBLE -", "SysInfo", "Group"}));
  EXPECT_EQ(list.BoutonCible, nullptr);
  EXPECT_EQ(dialog.Cible(), nullptr);
  EXPECT_TRUE(Enabled(dialog.OkButton()));
  EXPECT_EQ(dialog.Source().IconPath(), shell32);
  EXPECT_EQ(dialog.Source().IconSize(), config.Taille);
  EXPECT_EQ(dialog.Source().Caption(), "");
  EXPECT_EQ(Background(dialog.Source()), kOwnColour);  // its own texture
  EXPECT_EQ(dialog.Destination().IconPath(), "");
  EXPECT_EQ(Background(dialog.Destination()), kMainColour);

  // A member is sent from inside its group: every main-bar record is offered.
  dialog.Prepare({&dock, member->Numero});
  dialog.FormShow();
  EXPECT_EQ(ListLines(dialog.ListBtn()),
            (std::vector<std::string>{"Main Dock", "Alpha", "Bee", "- IMPOSSIBLE -", "SysInfo", "Group"}));
}

TEST_F(SendToDialog, VirtualScreensDisablesOkAnyOtherLineEnablesIt) {
  dialog.FormShow();
  Choose(2);
  EXPECT_FALSE(Enabled(dialog.OkButton()));
  EXPECT_EQ(dialog.Cible(), vd);
  EXPECT_EQ(dialog.Destination().Caption(), "Virtual ");
  EXPECT_EQ(dialog.Destination().IconPath(), "");

  Choose(0);  // "Main Dock"
  EXPECT_TRUE(Enabled(dialog.OkButton()));
  EXPECT_EQ(dialog.Cible(), nullptr);
  EXPECT_EQ(dialog.Destination().IconPath(), shell32);  // the main button's icon
  EXPECT_EQ(dialog.Destination().Caption(), "");
  EXPECT_EQ(Background(dialog.Destination()), kMainColour);

  Choose(2);
  EXPECT_FALSE(Enabled(dialog.OkButton()));
  Choose(3);  // a module listed by its kind can be chosen
  EXPECT_TRUE(Enabled(dialog.OkButton()));
  EXPECT_EQ(dialog.Cible(), stat);
  EXPECT_EQ(dialog.Destination().Caption(), "SysInfo");

  Choose(1);  // a named record with its own texture
  EXPECT_EQ(dialog.Cible(), alpha);
  EXPECT_EQ(dialog.Destination().Caption(), "");
  EXPECT_EQ(dialog.Destination().IconPath(), shell32);
  EXPECT_EQ(Background(dialog.Destination()), kOwnColour);

  // No line selected: nothing changes.
  ::SendMessageW(dialog.ListBtn(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  dialog.ListBtnClick();
  EXPECT_EQ(dialog.Cible(), alpha);
  EXPECT_TRUE(Enabled(dialog.OkButton()));
}

TEST_F(SendToDialog, ModalOkSendsIntoTheChosenGroupCancelChoosesNothing) {
  {
    Watchdog dog(dialog.hwnd());
    // Handled inside the loop, after the opening filled the list.
    ::PostMessageW(dialog.ListBtn(), LB_SETCURSEL, 4, 0);
    ::PostMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(TSendTo::kListBtn, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(dialog.ListBtn()));
    PostKey(dialog.ListBtn(), VK_RETURN);
    EXPECT_EQ(dialog.ShowModal(owner.get()), IDOK);
    EXPECT_FALSE(g_watchdogFired);
  }
  ASSERT_EQ(dialog.Cible(), group);
  ql::SendTo(list, list.BoutonSource, list.BoutonCible);
  list.RenumBtn(nullptr);
  alpha = list.FindPtr(1);
  ASSERT_EQ(ButtonList::Members(*group).size(), 2U);
  EXPECT_EQ(ButtonList::Members(*group)[1]->NomApp, "Bee");
  EXPECT_EQ(list.MainBar().size(), 4U);

  // Cancel after choosing the virtual screens: Enter does nothing while OK is disabled.
  list.BoutonSource = alpha;
  dialog.Prepare({&dock, alpha->Numero});
  {
    Watchdog dog(dialog.hwnd());
    ::PostMessageW(dialog.ListBtn(), LB_SETCURSEL, 1, 0);
    ::PostMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(TSendTo::kListBtn, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(dialog.ListBtn()));
    PostKey(dialog.ListBtn(), VK_RETURN);
    PostKey(dialog.ListBtn(), VK_ESCAPE);
    EXPECT_EQ(dialog.ShowModal(owner.get()), IDCANCEL);
    EXPECT_FALSE(g_watchdogFired);
  }
  EXPECT_EQ(ListLines(dialog.ListBtn()).at(1), "- IMPOSSIBLE -");
  EXPECT_FALSE(Enabled(dialog.OkButton()));
}

// ---- properties ------------------------------------------------------------------------------

class ProprietesDialog : public DialogFiles {
 protected:
  void SetUp() override {
    DialogFiles::SetUp();
    ASSERT_TRUE(dialog.Create(nullptr));
    dock.boutons.Append(ButtonData{"App", "C:\\app.exe|-x", shell32, "", 999});
    dock.boutons.RenumBtn(nullptr);
  }
  void Open(ql::TileKind kind = ql::TileKind::Button) {
    dialog.Prepare({&dock, 1, kind});
    dialog.FormShow();
  }
  HWND Ctl(int id) const { return dialog.Control(id); }
  void Click(int id) const { ::SendMessageW(Ctl(id), BM_CLICK, 0, 0); }

  // The record the dialog edits (number 1 of the dock's list).
  TBouton& Record() { return *dock.boutons.FindPtr(1); }

  TProprietes dialog;
};

TEST_F(ProprietesDialog, CaptionSizeControlsAndHints) {
  EXPECT_EQ(WindowText(dialog.hwnd()), L"Button Properties");
  EXPECT_EQ(ClientSize(dialog.hwnd()).cx, 353);
  EXPECT_EQ(ClientSize(dialog.hwnd()).cy, 262);
  EXPECT_EQ(WindowText(Ctl(TProprietes::kAutre)), L"...");
  EXPECT_EQ(WindowText(Ctl(TProprietes::kBrowseText)), L"&Browse ...");
  EXPECT_EQ(WindowText(Ctl(IDOK)), L"&OK");
  EXPECT_EQ(WindowText(Ctl(IDCANCEL)), L"&Cancel");
  EXPECT_NE(::GetWindowLongW(Ctl(IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);
  EXPECT_EQ(dialog.DialogHints().Text(Ctl(TProprietes::kPrec)), "Icône précédent");
  EXPECT_EQ(dialog.DialogHints().Text(Ctl(TProprietes::kSuiv)), "Icône suivant");
  EXPECT_EQ(dialog.Apercu().Hint(), "Aperçu icône");
  EXPECT_TRUE(dialog.Apercu().ShowHint());
  EXPECT_EQ(dialog.Apercu().Width(), 64);
  EXPECT_EQ(dialog.Apercu().Height(), 64);
  EXPECT_FALSE(dialog.Apercu().AutoSize());
}

TEST_F(ProprietesDialog, OpeningFillsTheFieldsAndShowsIndex999AsZero) {
  config.Taille = 48;
  Open();
  EXPECT_EQ(dialog.Text(TProprietes::kNom), "App");
  EXPECT_EQ(dialog.Text(TProprietes::kIcone), shell32);
  EXPECT_EQ(dialog.Text(TProprietes::kChemin), "C:\\app.exe|-x");
  EXPECT_EQ(dialog.IconIndexEdite(), 0);
  EXPECT_EQ(dialog.Apercu().IconIndex(), 0);
  EXPECT_EQ(dialog.Apercu().IconPath(), shell32);
  EXPECT_EQ(dialog.Apercu().IconSize(), 48);
  EXPECT_TRUE(dialog.Apercu().HasIcon());
  EXPECT_TRUE(Enabled(Ctl(TProprietes::kPrec)));
  EXPECT_TRUE(Enabled(Ctl(TProprietes::kSuiv)));
  EXPECT_TRUE(dialog.SameTexture().Checked());
  EXPECT_FALSE(Enabled(Ctl(TProprietes::kBrowseText)));
  EXPECT_FALSE(dialog.TextureChoisie());
  EXPECT_EQ(Background(dialog.Apercu()), kMainColour);
}

TEST_F(ProprietesDialog, StepButtonsMoveThePreviewIndex) {
  Open();
  Click(TProprietes::kSuiv);
  Click(TProprietes::kSuiv);
  EXPECT_EQ(dialog.IconIndexEdite(), 2);
  EXPECT_EQ(dialog.Apercu().IconIndex(), 2);
  const HICON two = dialog.Apercu().Icon();
  Click(TProprietes::kPrec);
  EXPECT_EQ(dialog.IconIndexEdite(), 1);
  EXPECT_EQ(dialog.Apercu().IconIndex(), 1);
  EXPECT_NE(dialog.Apercu().Icon(), two);
  Click(TProprietes::kPrec);
  EXPECT_EQ(dialog.Apercu().IconIndex(), 0);
  EXPECT_TRUE(Enabled(Ctl(TProprietes::kPrec)));
  Click(TProprietes::kPrec);  // at 0: the button disables itself
  EXPECT_FALSE(Enabled(Ctl(TProprietes::kPrec)));
  EXPECT_EQ(dialog.IconIndexEdite(), 0);
  Click(TProprietes::kPrec);  // disabled: no effect
  EXPECT_EQ(dialog.IconIndexEdite(), 0);
  Click(TProprietes::kSuiv);
  EXPECT_TRUE(Enabled(Ctl(TProprietes::kPrec)));
  EXPECT_EQ(dialog.Apercu().IconIndex(), 1);
  EXPECT_EQ(Record().IconIndex, 999);  // nothing is written before OK
}

TEST_F(ProprietesDialog, FieldsFollowTheTileKindAndIconFilesStopStepping) {
  Record().IconPath = "C:\\Icons\\A.ICO";
  for (auto kind : {ql::TileKind::Clock, ql::TileKind::VirtualDesk, ql::TileKind::SysInfo}) {
    Open(kind);
    for (int id : {TProprietes::kNom, TProprietes::kIcone, TProprietes::kChemin, TProprietes::kAutre}) {
      EXPECT_FALSE(Enabled(Ctl(id))) << id;
    }
    EXPECT_FALSE(Enabled(Ctl(TProprietes::kPrec)));
    EXPECT_FALSE(Enabled(Ctl(TProprietes::kSuiv)));
    EXPECT_TRUE(Enabled(Ctl(TProprietes::kSameTexture)));
  }

  Open(ql::TileKind::Recycler);
  EXPECT_FALSE(Enabled(Ctl(TProprietes::kNom)));
  EXPECT_TRUE(Enabled(Ctl(TProprietes::kIcone)));
  EXPECT_FALSE(Enabled(Ctl(TProprietes::kChemin)));
  EXPECT_TRUE(Enabled(Ctl(TProprietes::kAutre)));

  Record().IconPath = shell32;
  Open();
  for (int id : {TProprietes::kNom, TProprietes::kIcone, TProprietes::kChemin, TProprietes::kAutre,
                 TProprietes::kPrec, TProprietes::kSuiv}) {
    EXPECT_TRUE(Enabled(Ctl(id))) << id;
  }
}

TEST_F(ProprietesDialog, TextureFollowsTheCheckBoxAndThePicture) {
  Record().Texture = ownBmp;
  Open();
  EXPECT_FALSE(dialog.SameTexture().Checked());
  EXPECT_TRUE(Enabled(Ctl(TProprietes::kBrowseText)));
  EXPECT_EQ(dialog.PictureFileName(), ownBmp);
  EXPECT_EQ(Background(dialog.Apercu()), kOwnColour);

  dialog.SameTexture().Click();
  EXPECT_TRUE(dialog.SameTexture().Checked());
  EXPECT_FALSE(Enabled(Ctl(TProprietes::kBrowseText)));
  EXPECT_EQ(Background(dialog.Apercu()), kMainColour);
  dialog.SameTexture().Click();
  EXPECT_EQ(Background(dialog.Apercu()), kOwnColour);

  ql::FileChoice seen;
  dialog.PictureDialog = [&](HWND, ql::FileChoice& c) {
    seen = c;
    return false;  // cancelled: nothing changes
  };
  Click(TProprietes::kBrowseText);
  EXPECT_EQ(seen.filter, "Bitmaps (*.bmp)|*.bmp");
  EXPECT_EQ(seen.fileName, ownBmp);
  EXPECT_FALSE(dialog.TextureChoisie());
  EXPECT_EQ(Background(dialog.Apercu()), kOwnColour);

  dialog.PictureDialog = [&](HWND, ql::FileChoice& c) {
    c.fileName = pickedBmp;
    return true;
  };
  Click(TProprietes::kBrowseText);
  EXPECT_TRUE(dialog.TextureChoisie());
  EXPECT_EQ(dialog.PictureFileName(), pickedBmp);
  EXPECT_EQ(Background(dialog.Apercu()), kPickedColour);
  EXPECT_EQ(Record().Texture, ownBmp);  // nothing is written before OK

  // The next opening of a button without a texture keeps the chooser's last file name.
  dock.boutons.Append(ButtonData{"", "", shell32, "", 0});
  dock.boutons.RenumBtn(nullptr);
  dialog.Prepare({&dock, 2, ql::TileKind::Button});
  dialog.FormShow();
  EXPECT_FALSE(dialog.TextureChoisie());
  EXPECT_EQ(dialog.PictureFileName(), pickedBmp);
  EXPECT_EQ(Background(dialog.Apercu()), kMainColour);
}

TEST_F(ProprietesDialog, IconBrowserStartsInTheIconFolder) {
  Record().IconPath = "C:\\Icons\\app.dll";
  Open();
  ql::FileChoice seen;
  std::string answer = "C:\\Icons\\pic.ico";
  dialog.OpenIcon = [&](HWND, ql::FileChoice& c) {
    seen = c;
    c.fileName = answer;
    return true;
  };
  Click(TProprietes::kSuiv);
  Click(TProprietes::kAutre);
  EXPECT_EQ(seen.filter, "Icônes ( *.ico )|*.ico|Exécutables ( *.exe ; *.dll )|*.exe;*.dll|Tous ( *.* )|*.*");
  EXPECT_EQ(seen.initialDir, "C:\\Icons\\");
  EXPECT_EQ(seen.fileName, "app.dll");
  EXPECT_EQ(seen.filterIndex, 2);
  EXPECT_EQ(dialog.Text(TProprietes::kIcone), "C:\\Icons\\pic.ico");
  EXPECT_EQ(dialog.Apercu().IconPath(), "C:\\Icons\\pic.ico");
  EXPECT_FALSE(Enabled(Ctl(TProprietes::kPrec)));
  EXPECT_FALSE(Enabled(Ctl(TProprietes::kSuiv)));
  EXPECT_EQ(dialog.IconIndexEdite(), 1);  // the index stays as it was

  answer = shell32;
  Click(TProprietes::kAutre);
  EXPECT_EQ(seen.filterIndex, 1);  // from the ".ico" now in the field
  EXPECT_TRUE(Enabled(Ctl(TProprietes::kPrec)));
  EXPECT_TRUE(Enabled(Ctl(TProprietes::kSuiv)));

  dialog.OpenIcon = [](HWND, ql::FileChoice&) { return false; };
  Click(TProprietes::kAutre);
  EXPECT_EQ(dialog.Text(TProprietes::kIcone), shell32);
}

TEST_F(ProprietesDialog, EscapeWritesNothingOkStoresTheIndexAndTheTexts) {
  Record().IconIndex = 5;
  dialog.Prepare({&dock, 1, ql::TileKind::Button});
  dialog.SetText(TProprietes::kNom, "Changed");
  dialog.PictureDialog = [&](HWND, ql::FileChoice& c) {
    c.fileName = pickedBmp;
    return true;
  };
  {
    Watchdog dog(dialog.hwnd());
    ::PostMessageW(Ctl(TProprietes::kSuiv), BM_CLICK, 0, 0);
    ::PostMessageW(Ctl(TProprietes::kBrowseText), BM_CLICK, 0, 0);  // SameTexture checked: disabled
    PostKey(Ctl(TProprietes::kNom), VK_ESCAPE);
    EXPECT_EQ(dialog.ShowModal(owner.get()), IDCANCEL);
    EXPECT_FALSE(g_watchdogFired);
  }
  EXPECT_EQ(dialog.IconIndexEdite(), 6);  // the step happened ...
  EXPECT_EQ(Record().IconIndex, 5);       // ... and was not written
  EXPECT_EQ(Record().NomApp, "App");
  EXPECT_EQ(Record().Texture, "");

  Record().Texture = ownBmp;
  dialog.Prepare({&dock, 1, ql::TileKind::Button});
  dialog.SetText(TProprietes::kNom, "");
  dialog.SetText(TProprietes::kChemin, "");
  {
    Watchdog dog(dialog.hwnd());
    ::PostMessageW(Ctl(TProprietes::kSuiv), BM_CLICK, 0, 0);
    ::PostMessageW(Ctl(TProprietes::kBrowseText), BM_CLICK, 0, 0);
    PostKey(Ctl(TProprietes::kNom), VK_RETURN);
    EXPECT_EQ(dialog.ShowModal(owner.get()), IDOK);
    EXPECT_FALSE(g_watchdogFired);
  }
  // The dialog's own OK (applied by the opener, to the record looked up again): the index and
  // the picked texture.
  const ql::PropertiesResult& r = dialog.Result();
  EXPECT_EQ(Record().IconIndex, 5);  // the dialog holds no record: nothing is written before
  ql::ApplyPropertiesOk(Record(), r);
  EXPECT_EQ(Record().IconIndex, 6);
  EXPECT_EQ(Record().Texture, pickedBmp);
  EXPECT_EQ(r.Nom, "");
  EXPECT_EQ(r.Chemin, "");
  EXPECT_EQ(r.Icone, shell32);
  EXPECT_FALSE(r.SameTexture);
  // The opener's part: an empty path keeps the command, an empty name is stored.
  ql::ApplyEditedFields(Record(), r);
  EXPECT_EQ(Record().NomApp, "");
  EXPECT_EQ(Record().BtnApp, "C:\\app.exe|-x");
  EXPECT_TRUE(ql::ApplyTextureChoice(Record(), r, dialog.TextureAtOpening()));
  EXPECT_EQ(Record().Texture, pickedBmp);
}

}  // namespace
