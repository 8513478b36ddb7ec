#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "FakeShell.h"
#include "taskbar/WinUtil.h"
#include "win/Handles.h"
#include "win/Utf.h"
#include "win/Win.h"

namespace fs = std::filesystem;

namespace {

using qltest::FakeShell;

constexpr const wchar_t* kTestClass = L"QlWinUtilTest";

// A plain top-level window for the style tests, destroyed with the owner object. It lies
// off the screen: visible to the window system, but never shown on the X display, where hiding a
// shown window waits two seconds for a window manager under Wine.
ql::win::OwnedWindow MakeWindow(DWORD style, DWORD exStyle = 0, HWND owner = nullptr) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kTestClass;
    return ::RegisterClassExW(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  HWND h = ::CreateWindowExW(exStyle, kTestClass, L"WinUtil test", style, -3000, -3000, 200, 120, owner,
                             nullptr, ::GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(h, nullptr);
  return ql::win::OwnedWindow(h);
}

// A fresh folder under the temporary directory, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    static int counter = 0;
    path_ = fs::temp_directory_path() /
            (L"ql-winutil-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Utf8(const fs::path& path) { return ql::win::Narrow(path.wstring()); }

// A file name no earlier run has used, so that the trash never renames it.
std::wstring UniqueName(const wchar_t* stem) {
  static int counter = 0;
  return std::wstring(stem) + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(::GetTickCount()) + L"-" + std::to_wstring(++counter) + L".txt";
}

std::wstring Environment(const wchar_t* name) {
  std::wstring value(32767, L'\0');
  const DWORD n = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  value.resize(n < value.size() ? n : 0);
  return value;
}

// Wine moves recycled files into the XDG trash of the home folder. Its "files" folder as a
// Windows path (Wine shows the Unix root as drive Z:); empty when there is none to be found.
fs::path XdgTrashFiles() {
  std::wstring base = Environment(L"XDG_DATA_HOME");
  if (base.empty()) {
    base = Environment(L"HOME");
    if (!base.empty()) base += L"/.local/share";
  }
  if (base.empty() || base.front() != L'/') return {};
  std::replace(base.begin(), base.end(), L'/', L'\\');
  fs::path files = L"Z:" + base + L"\\Trash\\files";
  std::error_code ec;
  return fs::is_directory(files, ec) ? files : fs::path();
}

}  // namespace

// --- The system task bar and the desktop icons ---------------------------------------------

// Under Wine, the desktop process keeps a hidden "Shell_TrayWnd" of its own (for notification
// icons), so a desktop without any task bar is only seen elsewhere.
TEST(GetTrayWnd, FindsTheSystemTaskBar) {
  ::GetDesktopWindow();  // the desktop, and whatever windows its process brings, is up
  HWND system = ::FindWindowW(FakeShell::kTrayClass, nullptr);
  {
    FakeShell shell;
    ASSERT_NE(shell.CreateTray(), nullptr);
    EXPECT_EQ(ql::GetTrayWnd(), shell.tray());
    ::ShowWindow(shell.tray(), SW_HIDE);
    EXPECT_EQ(ql::GetTrayWnd(), shell.tray()) << "hidden, it is still found";
  }
  EXPECT_EQ(ql::GetTrayWnd(), system);
}

TEST(GetTrayWnd, NothingWithoutATaskBar) {
  ::GetDesktopWindow();
  if (::FindWindowW(FakeShell::kTrayClass, nullptr) != nullptr) {
    GTEST_SKIP() << "the desktop has a task bar window of its own (Wine's is hidden)";
  }
  EXPECT_EQ(ql::GetTrayWnd(), nullptr);
}

TEST(ShowDesktopIcons, HidesAndDisablesThenShowsAndEnablesTheIconView) {
  ::GetDesktopWindow();
  if (::FindWindowW(FakeShell::kProgmanClass, nullptr) != nullptr) GTEST_SKIP() << "a real desktop runs";
  FakeShell shell;
  ASSERT_NE(shell.CreateProgman(), nullptr);
  HWND icons = shell.iconView();
  ASSERT_TRUE(FakeShell::HasVisibleStyle(icons));
  ASSERT_TRUE(FakeShell::IsEnabled(icons));

  ql::ShowDesktopIcons(true);
  EXPECT_FALSE(FakeShell::HasVisibleStyle(icons));
  EXPECT_FALSE(FakeShell::IsEnabled(icons));
  EXPECT_TRUE(FakeShell::HasVisibleStyle(shell.progman())) << "only the icon view goes";

  ql::ShowDesktopIcons(true);  // twice is the same
  EXPECT_FALSE(FakeShell::HasVisibleStyle(icons));

  ql::ShowDesktopIcons(false);
  EXPECT_TRUE(FakeShell::HasVisibleStyle(icons));
  EXPECT_TRUE(FakeShell::IsEnabled(icons));
}

TEST(ShowDesktopIcons, LeavesOtherWindowsAloneAndIsHarmlessWithoutADesktop) {
  ::GetDesktopWindow();
  if (::FindWindowW(FakeShell::kProgmanClass, nullptr) != nullptr) GTEST_SKIP() << "a real desktop runs";
  ql::ShowDesktopIcons(true);
  ql::ShowDesktopIcons(false);

  // A "Progman" under another title is not the desktop.
  FakeShell shell;
  ASSERT_NE(shell.CreateProgman(L"Not the desktop"), nullptr);
  ql::ShowDesktopIcons(true);
  EXPECT_TRUE(FakeShell::HasVisibleStyle(shell.iconView()));
  EXPECT_TRUE(FakeShell::IsEnabled(shell.iconView()));

  // A desktop without an icon view.
  ASSERT_NE(shell.CreateProgman(), nullptr);
  ::DestroyWindow(shell.iconView());
  ql::ShowDesktopIcons(true);
  ql::ShowDesktopIcons(false);
  EXPECT_TRUE(FakeShell::HasVisibleStyle(shell.progman()));
  EXPECT_TRUE(FakeShell::IsEnabled(shell.progman()));
}

TEST(ShowDesktopIcons, NeverWaitsOnADesktopThatDoesNotAnswer) {
  ::GetDesktopWindow();
  if (::FindWindowW(FakeShell::kProgmanClass, nullptr) != nullptr) GTEST_SKIP() << "a real desktop runs";
  // The desktop on a thread of its own that stops taking messages until the call has returned:
  // a call that waited on it would never return.
  ql::win::KernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ql::win::KernelHandle go(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HWND icons = nullptr;
  std::thread shellThread([&] {
    FakeShell shell;
    shell.CreateProgman();
    icons = shell.iconView();
    ::SetEvent(ready.get());
    ::WaitForSingleObject(go.get(), INFINITE);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  });
  ::WaitForSingleObject(ready.get(), INFINITE);
  ASSERT_NE(icons, nullptr);

  ql::ShowDesktopIcons(true);
  ::SetEvent(go.get());
  // The hiding waited in the desktop's queue; once it has taken its messages, it is done.
  ::SendMessageW(icons, WM_NULL, 0, 0);
  EXPECT_FALSE(FakeShell::HasVisibleStyle(icons));
  EXPECT_TRUE(FakeShell::IsEnabled(icons)) << "not disabled while it did not answer";
  ql::ShowDesktopIcons(false);  // it answers now: shown and enabled at once
  ::SendMessageW(icons, WM_NULL, 0, 0);
  EXPECT_TRUE(FakeShell::HasVisibleStyle(icons));
  EXPECT_TRUE(FakeShell::IsEnabled(icons));

  ::PostThreadMessageW(::GetWindowThreadProcessId(icons, nullptr), WM_QUIT, 0, 0);
  shellThread.join();
}

// --- Task windows ---------------------------------------------------------------------------

TEST(IsTaskWindow, ReadsTheWindowsOwnStyles) {
  auto normal = MakeWindow(WS_OVERLAPPEDWINDOW);
  auto tool = MakeWindow(WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW);
  auto popup = MakeWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  auto splash = MakeWindow(WS_POPUP | WS_BORDER);
  EXPECT_TRUE(ql::IsTaskWindow(normal.get()));
  EXPECT_FALSE(ql::IsTaskWindow(tool.get()));
  EXPECT_TRUE(ql::IsTaskWindow(popup.get()));
  EXPECT_FALSE(ql::IsTaskWindow(splash.get()));
  ::EnableWindow(popup.get(), FALSE);
  EXPECT_FALSE(ql::IsTaskWindow(popup.get()));
}

// --- Shell file operations -------------------------------------------------------------------

TEST(ShellFileOp, DeletesEveryFileOfAPipeSeparatedListForGood) {
  TempDir dir;
  const fs::path a = dir.path() / UniqueName(L"deleted");
  const fs::path b = dir.path() / UniqueName(L"deleted \u00e9");
  const fs::path keep = dir.path() / L"kept.txt";
  WriteFile(a, "one");
  WriteFile(b, "two");
  WriteFile(keep, "three");

  EXPECT_TRUE(ql::ShellFileOp(nullptr, Utf8(a) + "|" + Utf8(b), "vide", 2));
  EXPECT_FALSE(fs::exists(a));
  EXPECT_FALSE(fs::exists(b));
  EXPECT_TRUE(fs::exists(keep));
  const fs::path trash = XdgTrashFiles();
  if (!trash.empty()) {
    EXPECT_FALSE(fs::exists(trash / a.filename())) << "a permanent delete went to the trash";
    EXPECT_FALSE(fs::exists(trash / b.filename()));
  }
}

TEST(ShellFileOp, RecyclesWithAnyOtherDestination) {
  TempDir dir;
  const fs::path a = dir.path() / UniqueName(L"recycled-a");
  const fs::path b = dir.path() / UniqueName(L"recycled-b");
  WriteFile(a, "gone");
  WriteFile(b, "gone too");
  EXPECT_TRUE(ql::DeleteToRecycler(nullptr, Utf8(a) + "|" + Utf8(b), ""));
  EXPECT_FALSE(fs::exists(a));
  EXPECT_FALSE(fs::exists(b));

  const fs::path trash = XdgTrashFiles();
  if (trash.empty()) GTEST_SKIP() << "no XDG trash folder to look into";
  EXPECT_EQ(ReadFile(trash / a.filename()), "gone");
  EXPECT_EQ(ReadFile(trash / b.filename()), "gone too");
  std::error_code ec;
  for (const fs::path& name : {a.filename(), b.filename()}) {
    fs::remove(trash / name, ec);
    fs::remove(trash.parent_path() / L"info" / (name.wstring() + L".trashinfo"), ec);
  }
}

TEST(ShellFileOp, CopiesAndMovesFiles) {
  TempDir dir;
  const fs::path source = dir.path() / L"source.txt";
  WriteFile(source, "content");

  const fs::path copy = dir.path() / L"copy.txt";
  EXPECT_TRUE(ql::ShellFileOp(nullptr, Utf8(source), Utf8(copy), 1));
  EXPECT_EQ(ReadFile(source), "content");
  EXPECT_EQ(ReadFile(copy), "content");

  const fs::path moved = dir.path() / L"moved.txt";
  EXPECT_TRUE(ql::ShellFileOp(nullptr, Utf8(copy), Utf8(moved), 3));
  EXPECT_FALSE(fs::exists(copy));
  EXPECT_EQ(ReadFile(moved), "content");

  // Two files at once into a folder.
  const fs::path folder = dir.path() / L"folder";
  fs::create_directories(folder);
  EXPECT_TRUE(ql::ShellFileOp(nullptr, Utf8(source) + "|" + Utf8(moved), Utf8(folder), 1));
  EXPECT_EQ(ReadFile(folder / L"source.txt"), "content");
  EXPECT_EQ(ReadFile(folder / L"moved.txt"), "content");
  EXPECT_TRUE(fs::exists(source));
}

TEST(ShellFileOp, RefusesUnknownOperations) {
  TempDir dir;
  const fs::path file = dir.path() / L"untouched.txt";
  WriteFile(file, "x");
  EXPECT_FALSE(ql::ShellFileOp(nullptr, Utf8(file), "vide", 0));
  EXPECT_FALSE(ql::ShellFileOp(nullptr, Utf8(file), "vide", 4));
  EXPECT_TRUE(fs::exists(file));
}

// --- System settings and information ---------------------------------------------------------

TEST(GetWindowsVersion, ThreeLinesForTheRunningSystem) {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_NE(::GetVersionExW(&info), FALSE);
  const std::string text = ql::GetWindowsVersion();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 2) << text;
  EXPECT_EQ(text.find('\n'), std::string::npos);
  if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) {
    EXPECT_EQ(text.rfind("Windows NT", 0), 0U) << text;
  }
  const std::string version =
      "\rVersion " + std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "\r";
  EXPECT_NE(text.find(version), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.rfind('\r') + 1), "Build " + std::to_string(info.dwBuildNumber));
}

TEST(LockSystemKeys, RaisesAndClearsTheScreenSaverFlag) {
  ql::LockSystemKeys(true);
  BOOL running = FALSE;
  const bool readable = ::SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) != FALSE;
  ql::LockSystemKeys(false);
  if (!readable) GTEST_SKIP() << "the system does not report whether a screen saver runs";
  EXPECT_NE(running, FALSE);
  ASSERT_NE(::SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0), FALSE);
  EXPECT_EQ(running, FALSE);
}

namespace {

// The shutdown privilege's state in this process's token; false in `present` when absent.
bool ShutdownPrivilegeEnabled(bool& present) {
  present = false;
  HANDLE raw = nullptr;
  if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw) == FALSE) return false;
  const ql::win::KernelHandle token(raw);
  LUID luid{};
  if (::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &luid) == FALSE) return false;
  DWORD size = 0;
  ::GetTokenInformation(token.get(), TokenPrivileges, nullptr, 0, &size);
  std::vector<unsigned char> buffer(size);
  if (size == 0 || ::GetTokenInformation(token.get(), TokenPrivileges, buffer.data(), size, &size) == FALSE) {
    return false;
  }
  const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
  for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
    const LUID& l = privileges->Privileges[i].Luid;
    if (l.LowPart == luid.LowPart && l.HighPart == luid.HighPart) {
      present = true;
      return (privileges->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
  }
  return false;
}

void DisableShutdownPrivilege() {
  HANDLE raw = nullptr;
  if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &raw) == FALSE) return;
  const ql::win::KernelHandle token(raw);
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  ::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &tp.Privileges[0].Luid);
  tp.Privileges[0].Attributes = 0;
  ::AdjustTokenPrivileges(token.get(), FALSE, &tp, 0, nullptr, nullptr);
}

}  // namespace

TEST(EnableShutdownPrivilege, EnablesThePrivilegeInTheProcessToken) {
  DisableShutdownPrivilege();
  bool present = false;
  const bool before = ShutdownPrivilegeEnabled(present);
  if (!present) {
    ql::EnableShutdownPrivilege();  // must stay silent without it
    GTEST_SKIP() << "the process token holds no shutdown privilege";
  }
  EXPECT_FALSE(before);
  ql::EnableShutdownPrivilege();
  EXPECT_TRUE(ShutdownPrivilegeEnabled(present));
  ql::EnableShutdownPrivilege();  // again: no harm
  EXPECT_TRUE(ShutdownPrivilegeEnabled(present));
}
