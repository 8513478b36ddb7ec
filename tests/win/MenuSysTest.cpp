// The shell folder menus on the real shell: a folder the test makes in its documents folder
// (Wine maps it to $HOME), the roots of the dock's entries, opening an item, a real popup through
// its owner window, and what the menus leave behind over many openings.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "MenuFiles.h"
#include "PixelSurface.h"
#include "controls/MenuSys.h"
#include "win/Utf.h"

using ql::TCSIDL;
using ql::TIconTyp;
using ql::TMenuSys;

namespace {

std::string FolderPath(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, 0, path))) return {};
  return ql::win::Narrow(path);
}

std::string PathOf(LPCITEMIDLIST item) {
  wchar_t path[MAX_PATH] = {};
  if (item == nullptr || ::SHGetPathFromIDListW(item, path) == FALSE) return {};
  return ql::win::Narrow(path);
}

ql::win::ItemIdList ParsePath(const std::string& path) {
  ql::win::ComPtr<IShellFolder> desktop;
  if (FAILED(::SHGetDesktopFolder(desktop.put()))) return {};
  std::wstring wide = ql::win::Widen(path);
  LPITEMIDLIST raw = nullptr;
  if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &raw, nullptr))) return {};
  return ql::win::ItemIdList(raw);
}

// The shell's own listing of a folder: its order and display names.
std::vector<std::string> ShellListing(const std::string& path) {
  std::vector<std::string> names;
  ql::win::ComPtr<IShellFolder> desktop;
  ql::win::ComPtr<IShellFolder> folder;
  ql::win::ComPtr<IEnumIDList> items;
  const ql::win::ItemIdList root = ParsePath(path);
  if (!root || FAILED(::SHGetDesktopFolder(desktop.put())) ||
      FAILED(desktop->BindToObject(root.get(), nullptr, IID_IShellFolder,
                                   reinterpret_cast<void**>(folder.put()))) ||
      folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put()) != S_OK) {
    return names;
  }
  LPITEMIDLIST raw = nullptr;
  while (items->Next(1, &raw, nullptr) == S_OK) {
    const ql::win::ItemIdList item(raw);
    STRRET name{};
    if (SUCCEEDED(folder->GetDisplayNameOf(item.get(), SHGDN_NORMAL, &name)) && name.uType == STRRET_WSTR) {
      names.push_back(ql::win::Narrow(name.pOleStr));
      ::CoTaskMemFree(name.pOleStr);
    } else {
      names.emplace_back();
    }
  }
  return names;
}

std::vector<std::string> Captions(const TMenuSys& menu) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < menu.EntryCount(); ++i) out.push_back(menu.Caption(i));
  return out;
}

// Counts the blocks of the task allocator (the shell's allocator) that are still live.
class AllocationCounter final : public IMallocSpy {
 public:
  AllocationCounter() { registered_ = SUCCEEDED(::CoRegisterMallocSpy(this)); }
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;
  ~AllocationCounter() {
    if (registered_) ::CoRevokeMallocSpy();
  }
  bool registered() const { return registered_; }
  long live() const { return live_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
      *out = static_cast<IMallocSpy*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
  void* STDMETHODCALLTYPE PostAlloc(void* actual) override {
    if (actual != nullptr) ++live_;
    return actual;
  }
  void* STDMETHODCALLTYPE PreFree(void* request, BOOL spied) override {
    if (request != nullptr && spied != FALSE) --live_;
    return request;
  }
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T size, void** newRequest, BOOL spied) override {
    reallocFrom_ = spied != FALSE ? request : nullptr;
    reallocSize_ = size;
    *newRequest = request;
    return size;
  }
  void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL) override {
    if (reallocFrom_ == nullptr && actual != nullptr) ++live_;                       // a new block
    if (reallocFrom_ != nullptr && reallocSize_ == 0 && actual == nullptr) --live_;  // freed
    return actual;
  }
  void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}

 private:
  bool registered_ = false;
  long live_ = 0;
  void* reallocFrom_ = nullptr;
  SIZE_T reallocSize_ = 0;
};

class MenuSysTest : public ::testing::Test {
 protected:
  MenuSysTest() : documents_(FolderPath(CSIDL_PERSONAL)), folder_("qlmenusys", documents_) {}

  void SetUp() override {
    ASSERT_FALSE(documents_.empty());
    for (const char* name : {"beta.qlm", "Alpha.qlm", "ceta.qlm", "bravo.qlm"}) folder_.File(name);
    folder_.Dir("gamma");
    folder_.Dir("Delta");
    root_ = ParsePath(folder_.path());
    ASSERT_TRUE(root_);
    shell_ = ShellListing(folder_.path());
    ASSERT_EQ(shell_.size(), 6U);
  }

  std::size_t IndexOf(const TMenuSys& menu, const std::string& caption) const {
    const std::vector<std::string> captions = Captions(menu);
    return static_cast<std::size_t>(std::find(captions.begin(), captions.end(), caption) - captions.begin());
  }

  ql::test::ComScope com_;
  std::string documents_;
  ql::test::ScratchFolder folder_;
  ql::win::ItemIdList root_;
  std::vector<std::string> shell_;
};

}  // namespace

TEST_F(MenuSysTest, OneEntryPerItemWithItsNameAndIconInTheShellsOrder) {
  TMenuSys menu;
  menu.BuildFolder(root_.get(), 1);
  EXPECT_EQ(menu.Title(), "My Computer");
  EXPECT_EQ(Captions(menu), shell_);
  ASSERT_EQ(::GetMenuItemCount(menu.Menu()), 7);
  EXPECT_NE(::GetMenuState(menu.Menu(), 0, MF_BYPOSITION) & MF_DISABLED, 0U);  // the title
  for (std::size_t i = 0; i < menu.EntryCount(); ++i) {
    SCOPED_TRACE(menu.Caption(i));
    EXPECT_EQ(menu.Tag(i), i + 1);
    EXPECT_EQ(::GetMenuItemID(menu.Menu(), static_cast<int>(i + 1)), menu.Tag(i));
    // The identifier is the root's joined with the item's.
    EXPECT_EQ(PathOf(menu.Item(i)), folder_.path() + "\\" + menu.Caption(i));
    // The small icon on magenta, without pink fringes where soft edges met the key colour.
    const ql::test::Pixels icon = ql::test::ReadPixels(menu.EntryBitmap(i));
    ASSERT_EQ(icon.width, 16);
    ASSERT_EQ(icon.height, 16);
    const auto key = std::count(icon.data.begin(), icon.data.end(), ql::test::palette::kMagenta);
    EXPECT_GT(key, 10);
    EXPECT_LT(key, 256 - 20);
    EXPECT_EQ(std::count_if(icon.data.begin(), icon.data.end(),
                            [](COLORREF c) {
                              return c != ql::test::palette::kMagenta && GetRValue(c) >= 160 &&
                                     GetBValue(c) >= 160 && GetGValue(c) <= 110;
                            }),
              0);
  }

  // An empty folder: only the title.
  const std::string empty = folder_.Dir("empty");
  const ql::win::ItemIdList emptyRoot = ParsePath(empty);
  menu.BuildFolder(emptyRoot.get(), 1);
  EXPECT_EQ(menu.EntryCount(), 0U);
  EXPECT_EQ(::GetMenuItemCount(menu.Menu()), 1);
}

TEST_F(MenuSysTest, DocumentsControlPanelAndProgramsSortByCaptionAndKeepTheirTags) {
  TMenuSys menu;
  for (const int title : {3, 5, 7}) {
    menu.BuildFolder(root_.get(), title);
    EXPECT_EQ(Captions(menu),
              (std::vector<std::string>{"Alpha.qlm", "beta.qlm", "bravo.qlm", "ceta.qlm", "Delta", "gamma"}));
    for (std::size_t i = 0; i < menu.EntryCount(); ++i) {
      // The tag is the item's place in the shell's order; the command is the tag.
      EXPECT_EQ(shell_.at(menu.Tag(i) - 1), menu.Caption(i));
      EXPECT_EQ(::GetMenuItemID(menu.Menu(), static_cast<int>(i + 1)), menu.Tag(i));
      EXPECT_EQ(PathOf(menu.Item(i)), folder_.path() + "\\" + menu.Caption(i));
    }
  }
  EXPECT_EQ(menu.Title(), "Start Menu");
}

TEST_F(MenuSysTest, RootsListTheirFolders) {
  TMenuSys menu;
  EXPECT_EQ(menu.Root(), TCSIDL::CSID_DESKTOP);
  EXPECT_EQ(::GetMenuItemCount(menu.Menu()), 0);  // nothing built at creation

  menu.SetRoot(TCSIDL::CSID_PERSONAL);
  EXPECT_EQ(menu.Title(), "My Documents");
  const std::string name = folder_.path().substr(documents_.size() + 1);
  ASSERT_LT(IndexOf(menu, name), menu.EntryCount());
  const std::vector<std::string> captions = Captions(menu);
  EXPECT_TRUE(std::is_sorted(
      captions.begin(), captions.end(),
      [](const std::string& a, const std::string& b) { return ql::SortKey(a) < ql::SortKey(b); }));

  // "Start Menu" lists the programs of the start menu.
  menu.SetRoot(TCSIDL::CSID_PROGRAMS);
  EXPECT_EQ(menu.Title(), "Start Menu");
  const std::string programs = FolderPath(CSIDL_PROGRAMS);
  for (std::size_t i = 0; i < menu.EntryCount(); ++i) EXPECT_EQ(PathOf(menu.Item(i)).rfind(programs, 0), 0U);

  // The desktop itself, and roots that list nothing or cannot list at all (Wine's printers
  // answer E_NOTIMPL): never a crash, a menu of the title and the items or an empty one.
  for (const TCSIDL root :
       {TCSIDL::CSID_DESKTOP, TCSIDL::CSID_PRINTERS, TCSIDL::CSID_FONTS, TCSIDL::CSID_NETWORK,
        TCSIDL::CSID_BITBUCKET, TCSIDL::CSID_CONTROLS, TCSIDL::CSID_DRIVES}) {
    menu.SetRoot(root);
    const int items = ::GetMenuItemCount(menu.Menu());
    EXPECT_TRUE(items == 0 || items == static_cast<int>(menu.EntryCount()) + 1) << static_cast<int>(root);
    EXPECT_EQ(menu.Title(), ql::ShellMenuTitle(ql::ShellRootOf(root).titleIndex));
  }
  menu.SetRoot(TCSIDL::CSID_DESKTOP);
  EXPECT_GT(menu.EntryCount(), 0U);
}

TEST_F(MenuSysTest, SettingTheRootLetsPendingMessagesThroughButKeepsAQuitRequest) {
  TMenuSys menu;
  ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP, 0, 0);
  ::PostQuitMessage(7);
  menu.SetRoot(TCSIDL::CSID_PERSONAL);
  EXPECT_GT(menu.EntryCount(), 0U);
  // Left in the queue: the quit request alone, with its code.
  std::vector<std::pair<UINT, WPARAM>> left;
  MSG msg{};
  while (left.size() < 10 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    left.emplace_back(msg.message, msg.wParam);
    if (msg.message == WM_QUIT) break;
  }
  EXPECT_EQ(left, (std::vector<std::pair<UINT, WPARAM>>{{WM_QUIT, 7}}));
}

TEST_F(MenuSysTest, OnlyADifferentLookRebuildsAndThePictureLookMakesNoIcons) {
  TMenuSys menu;
  menu.SetRoot(TCSIDL::CSID_PERSONAL);
  const HMENU first = menu.Menu();
  menu.SetIconTyp(TIconTyp::icSmall);
  menu.SetItSel("sel.bmp");
  menu.SetItNorm("norm.bmp");
  EXPECT_EQ(menu.Menu(), first);
  EXPECT_EQ(menu.ItSel(), "sel.bmp");

  menu.SetIconTyp(TIconTyp::icKova);
  EXPECT_NE(menu.Menu(), first);
  EXPECT_EQ(menu.IconTyp(), TIconTyp::icKova);
  EXPECT_EQ(menu.Root(), TCSIDL::CSID_PERSONAL);
  ASSERT_GT(menu.EntryCount(), 0U);
  for (std::size_t i = 0; i < menu.EntryCount(); ++i) EXPECT_EQ(menu.EntryBitmap(i), nullptr);
}

TEST_F(MenuSysTest, OpensTheChosenItemThroughItsIdentifier) {
  TMenuSys menu;
  std::vector<std::string> opened;
  menu.SetOpener([&](LPCITEMIDLIST item) {
    opened.push_back(PathOf(item));
    return true;
  });
  menu.BuildFolder(root_.get(), 5);
  const std::size_t beta = IndexOf(menu, "beta.qlm");
  ASSERT_LT(beta, menu.EntryCount());
  EXPECT_TRUE(menu.OpenItem(menu.Tag(beta)));
  EXPECT_FALSE(menu.OpenItem(0));    // the title
  EXPECT_FALSE(menu.OpenItem(999));  // no such entry
  EXPECT_EQ(opened, (std::vector<std::string>{folder_.path() + "\\beta.qlm"}));
}

TEST_F(MenuSysTest, TypedLettersRunTheOnlyMatchOrSelectTheNextOfSeveral) {
  TMenuSys menu;
  menu.BuildFolder(root_.get(), 5);  // Alpha, beta, bravo, ceta, Delta, gamma below the title
  LRESULT result = 0;
  ASSERT_TRUE(menu.HandleMessage(WM_MENUCHAR, MAKEWPARAM('D', MF_POPUP),
                                 reinterpret_cast<LPARAM>(menu.Menu()), result));
  EXPECT_EQ(result, MAKELRESULT(5, MNC_EXECUTE));
  ASSERT_TRUE(menu.HandleMessage(WM_MENUCHAR, 'b', reinterpret_cast<LPARAM>(menu.Menu()), result));
  EXPECT_EQ(result, MAKELRESULT(2, MNC_SELECT));
  ASSERT_TRUE(menu.HandleMessage(WM_MENUCHAR, 'x', reinterpret_cast<LPARAM>(menu.Menu()), result));
  EXPECT_EQ(HIWORD(result), MNC_IGNORE);
  // Another menu's messages are left to their owner.
  ql::win::Menu other(::CreatePopupMenu());
  EXPECT_FALSE(menu.HandleMessage(WM_MENUCHAR, 'b', reinterpret_cast<LPARAM>(other.get()), result));
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = 1;
  EXPECT_FALSE(menu.HandleMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), result));
}

namespace {

// A window that hands its messages to a TMenuSys first, and counts what the menu took.
struct OwnerWindow {
  static constexpr UINT_PTR kTypeTimer = 1;
  static constexpr UINT_PTR kWatchdogTimer = 2;

  OwnerWindow() {
    static const bool registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &OwnerWindow::Proc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.lpszClassName = L"QlTestMenuOwner";
      return ::RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    window.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, L"QlTestMenuOwner", L"menu owner", WS_POPUP, 0, 0, 10,
                                   10, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ::SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::ShowWindow(window.get(), SW_SHOWNOACTIVATE);
  }
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  ~OwnerWindow() { ::SetWindowLongPtrW(window.get(), GWLP_USERDATA, 0); }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<OwnerWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr && self->menu != nullptr) {
      LRESULT result = 0;
      if (self->menu->HandleMessage(msg, wParam, lParam, result)) {
        ++self->taken[msg];
        return result;
      }
    }
    if (self != nullptr && msg == WM_TIMER) {
      ::KillTimer(hwnd, wParam);
      if (wParam == kTypeTimer) ::PostMessageW(hwnd, WM_CHAR, self->typed, 0);
      if (wParam == kWatchdogTimer) {
        self->watchdogFired = true;
        ::EndMenu();
      }
      return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  ql::win::OwnedWindow window;
  TMenuSys* menu = nullptr;
  wchar_t typed = 0;
  bool watchdogFired = false;
  std::map<UINT, int> taken;
};

}  // namespace

TEST_F(MenuSysTest, PopupIsDrawnThroughItsOwnerAndOpensTheChoiceAfterClosing) {
  TMenuSys menu;
  std::vector<std::string> opened;
  bool menuOpen = true;
  menu.SetOpener([&](LPCITEMIDLIST item) {
    menuOpen =
        ::FindWindowW(L"#32768", nullptr) != nullptr && ::IsWindowVisible(::FindWindowW(L"#32768", nullptr));
    opened.push_back(PathOf(item));
    return true;
  });
  menu.BuildFolder(root_.get(), 5);
  OwnerWindow owner;
  owner.menu = &menu;
  owner.typed = L'c';  // "ceta.qlm", the only entry with a c
  // The letter comes once the menu has shown itself; the watchdog ends a menu that stays up.
  ::SetTimer(owner.window.get(), OwnerWindow::kTypeTimer, 300, nullptr);
  ::SetTimer(owner.window.get(), OwnerWindow::kWatchdogTimer, 5000, nullptr);
  menu.Popup(owner.window.get(), POINT{100, 100});
  ::KillTimer(owner.window.get(), OwnerWindow::kWatchdogTimer);
  EXPECT_FALSE(owner.watchdogFired);
  EXPECT_GE(owner.taken[WM_MEASUREITEM], 7);
  EXPECT_GE(owner.taken[WM_DRAWITEM], 7);
  EXPECT_EQ(owner.taken[WM_MENUCHAR], 1);
  EXPECT_EQ(opened, (std::vector<std::string>{folder_.path() + "\\ceta.qlm"}));
  EXPECT_FALSE(menuOpen);
}

TEST_F(MenuSysTest, GdiObjectsAndShellMemoryStayFlatOverFiftyOpenings) {
  ql::test::ScratchFolder textures("qlmenutex");
  const std::string sel = textures.Bmp("sel.bmp", RGB(200, 40, 90));
  const std::string norm = textures.Bmp("norm.bmp", RGB(10, 200, 30));
  AllocationCounter counter;
  TMenuSys menu;
  menu.SetItSel(sel);
  menu.SetItNorm(norm);
  ql::test::Surface surface(200, 20);
  auto open = [&](int round) {
    menu.SetIconTyp(round % 5 == 4 ? TIconTyp::icKova : TIconTyp::icSmall);
    menu.SetRoot(round % 2 == 0 ? TCSIDL::CSID_PERSONAL : TCSIDL::CSID_DESKTOP);
    menu.BuildFolder(root_.get(), 5);
    // Every entry drawn plain and selected, the title too, as the open menu draws them.
    for (UINT id = 0; id <= menu.EntryCount(); ++id) {
      for (const UINT state : {0U, static_cast<UINT>(ODS_SELECTED)}) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_MENU;
        item.itemID = id == 0 ? 0 : menu.Tag(id - 1);
        item.itemState = state;
        item.hwndItem = reinterpret_cast<HWND>(menu.Menu());
        item.hDC = surface.dc();
        item.rcItem = RECT{0, 0, 200, 20};
        LRESULT result = 0;
        ASSERT_TRUE(menu.HandleMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item), result));
      }
    }
  };
  for (int round = 0; round < 5; ++round) open(round);  // the shell's caches fill here
  const std::uint32_t gdi = ql::test::GdiObjects();
  const long live = counter.live();
  for (int round = 0; round < 50; ++round) open(round);
  EXPECT_EQ(ql::test::GdiObjects(), gdi);
  if (!counter.registered()) GTEST_SKIP() << "no allocation spy on this system";
  EXPECT_EQ(counter.live(), live);
}
