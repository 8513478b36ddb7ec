#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "TestWindows.h"
#include "core/WindowLists.h"
#include "taskbar/WinUtil.h"
#include "win/Handles.h"
#include "win/Win.h"
#include "win/Win32WindowSystem.h"

namespace ql::win {
namespace {

constexpr const wchar_t* kClass = L"QlWindowSystemTest";

OwnedWindow MakeWindow(const wchar_t* title, DWORD style, DWORD exStyle = 0, HWND owner = nullptr) {
  return test::OffScreenWindow(kClass, title, style, exStyle, owner);
}

IconHandle IconValue(HICON icon) { return static_cast<IconHandle>(reinterpret_cast<std::uintptr_t>(icon)); }

const TopWindow* FindIn(const std::vector<TopWindow>& windows, HWND h) {
  const auto it =
      std::find_if(windows.begin(), windows.end(), [h](const TopWindow& w) { return w.id == IdOf(h); });
  return it == windows.end() ? nullptr : &*it;
}

TEST(Win32WindowSystem, SeesRealWindowsWithTheirStylesTitlesAndClasses) {
  auto app = MakeWindow(L"Caf\u00e9 notes", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  auto dialog = MakeWindow(L"Find", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, app.get());
  auto tool = MakeWindow(L"Palette", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_TOOLWINDOW, app.get());
  auto hidden = MakeWindow(L"Hidden", WS_POPUP, 0, app.get());
  Win32WindowSystem system;

  std::vector<TopWindow> windows{TopWindow{}};
  system.TopLevel(windows);
  const TopWindow* a = FindIn(windows, app.get());
  const TopWindow* d = FindIn(windows, dialog.get());
  const TopWindow* t = FindIn(windows, tool.get());
  const TopWindow* h = FindIn(windows, hidden.get());
  ASSERT_TRUE(a != nullptr && d != nullptr && t != nullptr && h != nullptr);
  EXPECT_EQ(FindIn(windows, nullptr), nullptr) << "the list is replaced";
  EXPECT_TRUE(a->visible);
  EXPECT_EQ(a->style & WS_OVERLAPPEDWINDOW, static_cast<std::uint32_t>(WS_OVERLAPPEDWINDOW));
  EXPECT_EQ(a->parent, kNoWindow);
  EXPECT_EQ(d->parent, IdOf(app.get())) << "a popup's parent is its owner";
  EXPECT_EQ(d->owner, IdOf(app.get()));
  EXPECT_EQ(t->parent, kNoWindow) << "an owned overlapped window has no parent";
  EXPECT_EQ(t->owner, IdOf(app.get()));
  EXPECT_NE(t->exStyle & WS_EX_TOOLWINDOW, 0U);
  EXPECT_FALSE(h->visible);
  EXPECT_EQ(h->style & WS_POPUP, static_cast<std::uint32_t>(WS_POPUP));

  EXPECT_EQ(system.Title(IdOf(app.get())), "Caf\xC3\xA9 notes");
  EXPECT_EQ(system.ClassName(IdOf(app.get())), "QlWindowSystemTest");
  EXPECT_EQ(system.Owner(IdOf(dialog.get())), IdOf(app.get()));
  EXPECT_TRUE(system.IsWindow(IdOf(app.get())));
  EXPECT_FALSE(system.IsIconic(IdOf(app.get())));
  EXPECT_EQ(HandleFromText(HandleText(IdOf(app.get()))), app.get());

  // The enumerations over it.
  WindowLists lists(system);
  std::vector<std::string> tasks;
  bool changed = false;
  lists.ListTaskWindows(tasks, changed);
  EXPECT_NE(std::find(tasks.begin(), tasks.end(), HandleToText(app.get())), tasks.end());
  std::vector<std::string> apps;
  lists.ListAppWindows(apps, IdOf(app.get()));
  EXPECT_EQ(std::find(apps.begin(), apps.end(), HandleToText(dialog.get())), apps.end())
      << "owned by the caller";

  // The window's own icon, once it has one; the class's icon all along.
  ::SendMessageW(app.get(), WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(::LoadIconW(nullptr, IDI_WARNING)));
  EXPECT_EQ(system.WindowIcon(IdOf(app.get()), IconSize::Large),
            IconValue(::LoadIconW(nullptr, IDI_WARNING)));
  EXPECT_EQ(system.ClassIcon(IdOf(app.get()), IconSize::Large),
            IconValue(::LoadIconW(nullptr, IDI_APPLICATION)));

  const WindowId gone = IdOf(app.get());
  dialog.reset();
  app.reset();
  EXPECT_FALSE(system.IsWindow(gone));
  EXPECT_EQ(system.Title(gone), "");
  EXPECT_EQ(system.ClassName(gone), "");
  system.Command(gone, WindowCommand::Close);  // harmless
}

// A window whose thread stops answering: it waits on an event (at most 20 s, so that a test that
// did wait on it fails instead of hanging), then serves its messages until the window is gone.
class HungWindow {
 public:
  HungWindow() {
    ready_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    release_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    thread_ = std::thread([this] { Run(); });
    ::WaitForSingleObject(ready_.get(), 10000);
  }
  HungWindow(const HungWindow&) = delete;
  HungWindow& operator=(const HungWindow&) = delete;
  ~HungWindow() {
    Release();
    if (window_ != nullptr) ::PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
  }

  HWND window() const { return window_; }
  // False as long as the thread is still held: nothing has waited for it.
  bool Answered() const { return answered_; }
  void Release() { ::SetEvent(release_.get()); }
  // Whether the window was shown when its close request arrived.
  bool VisibleAtClose() const { return visibleAtClose_; }

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<HungWindow*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_CLOSE && self != nullptr) {
      self->visibleAtClose_ = ::IsWindowVisible(h) != FALSE;
    }
    if (msg == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(h, msg, wp, lp);
  }

  void Run() {
    static const bool registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &HungWindow::Proc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
      wc.lpszClassName = L"QlHungWindow";
      return ::RegisterClassExW(&wc) != 0;
    }();
    if (registered) {
      window_ = ::CreateWindowExW(0, L"QlHungWindow", L"Not responding", WS_POPUP, -3000, -3000, 200, 120,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
      ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ::SetEvent(ready_.get());
    ::WaitForSingleObject(release_.get(), 20000);
    answered_ = true;
    if (window_ == nullptr) return;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    window_ = nullptr;
  }

  KernelHandle ready_;
  KernelHandle release_;
  std::atomic<HWND> window_{nullptr};
  std::atomic<bool> answered_{false};
  std::atomic<bool> visibleAtClose_{false};
  std::thread thread_;
};

TEST(Win32WindowSystem, NeverWaitsOnAWindowWhoseThreadDoesNotAnswer) {
  HungWindow hung;
  ASSERT_NE(hung.window(), nullptr);
  const WindowId id = IdOf(hung.window());
  Win32WindowSystem system;

  EXPECT_EQ(system.Title(id), "Not responding");
  EXPECT_EQ(system.ClassName(id), "QlHungWindow");
  std::vector<TopWindow> windows;
  system.TopLevel(windows);
  EXPECT_NE(FindIn(windows, hung.window()), nullptr);
  EXPECT_FALSE(system.WindowIcon(id, IconSize::Small).has_value()) << "gave up";
  EXPECT_EQ(TaskIcon(system, id, IconSize::Small), system.ClassIcon(id, IconSize::Small))
      << "the class's icon stands in";
  EXPECT_NE(system.ClassIcon(id, IconSize::Small), 0U);
  system.Command(id, WindowCommand::Activate);
  system.Command(id, WindowCommand::Show);
  system.Command(id, WindowCommand::Close);
  EXPECT_FALSE(hung.Answered()) << "a call waited for the window's thread";

  // Once it answers again, it carries the commands out in order.
  hung.Release();
  for (int i = 0; i < 1000 && ::IsWindow(hung.window()) != FALSE; ++i) ::Sleep(10);
  EXPECT_FALSE(system.IsWindow(id)) << "the posted close request was carried out";
  EXPECT_TRUE(hung.VisibleAtClose()) << "shown before the close request came";
}

}  // namespace
}  // namespace ql::win
