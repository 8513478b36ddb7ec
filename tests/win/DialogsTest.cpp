// The modal dialog base and the two button dialogs on real windows. Every modal run is driven by
// messages posted before or during the loop, and a watchdog timer ends a loop that would
// otherwise wait for ever, so a fault fails the test instead of hanging it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

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

// An owner window standing in for the dock. (Under Wine without a window manager, hiding a
// captioned window waits about 2 s for the manager that never answers, so every modal run below
// costs that much; the runs are kept few.)
class Owner {
 public:
  Owner() {
    hwnd_ = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    // Not activated: Wine without a window manager then destroys it without waiting.
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  }
  ~Owner() { ::DestroyWindow(hwnd_); }
  Owner(const Owner&) = delete;
  Owner& operator=(const Owner&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
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
  bool focusInForm = false;
  RECT where{};
  int nested = 0;
  form.onShow = [](TestForm& f) { ::PostMessageW(f.hwnd(), kProbe, 0, 0); };
  form.probe = [&](TestForm& f) {
    ownerEnabled = ::IsWindowEnabled(owner.get()) != FALSE;
    visible = ::IsWindowVisible(f.hwnd()) != FALSE;
    focusInForm = ::GetFocus() == f.edit;
    ::GetWindowRect(f.hwnd(), &where);
    nested = f.ShowModal(owner.get());  // refused while modal
    f.EndModal(IDOK);
  };
  EXPECT_EQ(Run(), IDOK);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(visible);
  EXPECT_TRUE(focusInForm);  // the first control of the tab order
  EXPECT_EQ(nested, IDCANCEL);
  EXPECT_EQ(form.shows, 1);
  const int w = where.right - where.left;
  const int h = where.bottom - where.top;
  EXPECT_EQ(where.left, (::GetSystemMetrics(SM_CXSCREEN) - w) / 2);
  EXPECT_EQ(where.top, (::GetSystemMetrics(SM_CYSCREEN) - h) / 2);
  // Afterwards: owner enabled again, form hidden but kept, and it can run again.
  EXPECT_TRUE(::IsWindowEnabled(owner.get()) != FALSE);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.InModal());
  ASSERT_TRUE(::IsWindow(form.hwnd()));
  form.onShow = [](TestForm& f) { ::PostMessageW(f.hwnd(), kEndWith, IDCANCEL, 0); };
  EXPECT_EQ(Run(), IDCANCEL);
  EXPECT_EQ(form.shows, 2);
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
  form.onShow = [](TestForm& f) { ::PostMessageW(f.cancel, BM_CLICK, 0, 0); };
  EXPECT_EQ(Run(), IDCANCEL);
  form.onShow = [](TestForm& f) { ::PostMessageW(f.ok, BM_CLICK, 0, 0); };
  EXPECT_EQ(Run(), IDOK);
  // Alt+C presses "&Cancel" from the edit field.
  form.onShow = [](TestForm& f) {
    ::PostMessageW(f.edit, WM_SYSCHAR, L'c', static_cast<LPARAM>(0x20000001));
  };
  EXPECT_EQ(Run(), IDCANCEL);
  EXPECT_EQ(form.okCalls, 1);
}

TEST_F(ModalFormTest, TabMovesTheFocusAlongTheControls) {
  HWND afterTab = nullptr;
  form.onShow = [](TestForm& f) {
    PostKey(f.edit, VK_TAB);
    ::PostMessageW(f.hwnd(), kProbe, 0, 0);
  };
  form.probe = [&](TestForm& f) {
    afterTab = ::GetFocus();
    f.EndModal(IDCANCEL);
  };
  EXPECT_EQ(Run(), IDCANCEL);
  EXPECT_EQ(afterTab, form.ok);
}

TEST_F(ModalFormTest, CloseBoxCancelsAndKeepsTheWindow) {
  form.onShow = [](TestForm& f) { ::PostMessageW(f.hwnd(), WM_CLOSE, 0, 0); };
  EXPECT_EQ(Run(), IDCANCEL);
  EXPECT_TRUE(::IsWindow(form.hwnd()));
  form.onShow = [](TestForm& f) { ::PostMessageW(f.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); };
  EXPECT_EQ(Run(), IDCANCEL);
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

TEST_F(ModalFormTest, EndModalOutsideTheLoopIsIgnored) {
  form.EndModal(IDOK);
  form.onShow = [](TestForm& f) { ::PostMessageW(f.hwnd(), kEndWith, IDCANCEL, 0); };
  EXPECT_EQ(Run(), IDCANCEL);
}

}  // namespace
