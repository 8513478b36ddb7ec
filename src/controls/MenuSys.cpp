#include "controls/MenuSys.h"

#include <cstdint>
#include <exception>
#include <utility>

#include "win/Utf.h"

namespace ql {

namespace {

constexpr wchar_t kAllocatorMessage[] = L"Mémoire insuffisante pour MyShellMalloc";
constexpr int kIconSide = 16;
// Messages let through before a rebuild: a window that keeps posting to itself cannot hold the
// menu back for ever.
constexpr int kMaxPendingMessages = 10000;

// Every message already waiting, as the menu's owner would have handled them before the rebuild.
// A quit request stops the draining and stays for the message loop.
void LetPendingMessagesThrough() {
  MSG msg;
  for (int i = 0; i < kMaxPendingMessages && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE; ++i) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

bool ShellOpen(LPCITEMIDLIST item) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_INVOKEIDLIST;
  info.nShow = SW_SHOWNORMAL;
  info.lpIDList = const_cast<ITEMIDLIST*>(item);  // NOLINT: the shell only reads it
  return ::ShellExecuteExW(&info) != FALSE;
}

const std::uint8_t* Bytes(LPCITEMIDLIST list) { return reinterpret_cast<const std::uint8_t*>(list); }

wchar_t Lower(wchar_t c) {
  return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
      ::CharLowerW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<std::uint16_t>(c))))));
}

}  // namespace

TMenuSys::TMenuSys(HWND owner) : owner_(owner), menu_(::CreatePopupMenu()) {
  if (FAILED(::SHGetMalloc(malloc_.put())) || !malloc_) {
    ::MessageBoxW(nullptr, kAllocatorMessage, L"Quaylite", MB_OK);
    ::PostQuitMessage(0);
  }
}

TMenuSys::~TMenuSys() = default;

void TMenuSys::SetRoot(TCSIDL root) {
  LetPendingMessagesThrough();
  root_ = root;
  Rebuild();
}

void TMenuSys::SetIconTyp(TIconTyp iconTyp) {
  if (iconTyp == iconTyp_) return;
  iconTyp_ = iconTyp;
  MenuLookOptions options = look_.Options();
  options.kova = iconTyp == TIconTyp::icKova;
  look_.SetOptions(std::move(options));
  SetRoot(root_);
}

void TMenuSys::SetItSel(std::string_view file) {
  if (file == look_.Options().itSel) return;
  MenuLookOptions options = look_.Options();
  options.itSel = std::string(file);
  look_.SetOptions(std::move(options));
}

void TMenuSys::SetItNorm(std::string_view file) {
  if (file == look_.Options().itNorm) return;
  MenuLookOptions options = look_.Options();
  options.itNorm = std::string(file);
  look_.SetOptions(std::move(options));
}

void TMenuSys::SetOpener(Opener opener) { opener_ = std::move(opener); }

void TMenuSys::Rebuild() {
  const ShellRoot& info = ShellRootOf(root_);
  LPITEMIDLIST raw = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(owner_, info.csidl, &raw))) raw = nullptr;
  const win::ItemIdList root(raw);
  BuildFolder(root.get(), info.titleIndex);
}

void TMenuSys::Discard() {
  // A menu still on the screen goes when its tracking ends.
  if (tracking_) {
    retired_.push_back(std::move(menu_));
  }
  menu_.reset();
  entries_.clear();
  ++generation_;
}

win::ItemIdList TMenuSys::Join(LPCITEMIDLIST parent, LPCITEMIDLIST child) const {
  const std::size_t size = JoinedItemIdListSize(Bytes(parent), Bytes(child));
  // The shell's allocator is the task allocator that ItemIdList frees with.
  void* memory = malloc_ ? malloc_->Alloc(size) : ::CoTaskMemAlloc(size);
  if (memory == nullptr) return {};
  JoinItemIdLists(Bytes(parent), Bytes(child), static_cast<std::uint8_t*>(memory));
  return win::ItemIdList(static_cast<LPITEMIDLIST>(memory));
}

win::Bitmap TMenuSys::IconBitmap(HIMAGELIST list, int index, HDC memory, HDC screen, bool nativeSize) const {
  if (list == nullptr || index < 0 || memory == nullptr || screen == nullptr) return {};
  win::Bitmap bitmap(::CreateCompatibleBitmap(screen, kIconSide, kIconSide));
  if (!bitmap) return {};
  const win::SelectGuard select(memory, bitmap.get());
  const RECT all{0, 0, kIconSide, kIconSide};
  ::SetBkColor(memory, kMenuIconKey);
  ::ExtTextOutW(memory, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);  // magenta, without a brush
  if (nativeSize) {
    ::ImageList_Draw(list, index, memory, 0, 0, ILD_TRANSPARENT);
  } else {
    const win::Icon icon(::ImageList_GetIcon(list, index, ILD_TRANSPARENT));
    if (icon) ::DrawIconEx(memory, 0, 0, icon.get(), kIconSide, kIconSide, 0, nullptr, DI_NORMAL);
  }
  return bitmap;
}

void TMenuSys::BuildFolder(LPCITEMIDLIST root, int titleIndex) {
  Discard();
  menu_.reset(::CreatePopupMenu());
  title_ = std::string(ShellMenuTitle(titleIndex));
  if (!menu_ || root == nullptr) return;

  win::ComPtr<IShellFolder> desktop;
  if (FAILED(::SHGetDesktopFolder(desktop.put())) || !desktop) return;
  win::ComPtr<IShellFolder> folder;
  if (ItemIdListSize(Bytes(root)) <= 2) {
    folder = std::move(desktop);
  } else if (FAILED(desktop->BindToObject(root, nullptr, IID_IShellFolder, reinterpret_cast<void**>(folder.put()))) ||
             !folder) {
    return;
  }
  win::ComPtr<IEnumIDList> items;
  // Some folders cannot list their items (S_FALSE, E_NOTIMPL): the menu stays empty.
  if (folder->EnumObjects(owner_, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put()) != S_OK || !items) return;

  if (::AppendMenuW(menu_.get(), MF_OWNERDRAW | MF_DISABLED, 0, reinterpret_cast<LPCWSTR>(this)) == FALSE) return;

  const bool small = iconTyp_ == TIconTyp::icSmall;
  const win::WindowDc screen(nullptr);
  const win::MemoryDc memory(::CreateCompatibleDC(screen.get()));
  HIMAGELIST icons = nullptr;
  bool nativeSize = true;
  std::vector<Entry> built;
  try {
    for (UINT tag = 1;; ++tag) {
      LPITEMIDLIST raw = nullptr;
      ULONG fetched = 0;
      const HRESULT next = items->Next(1, &raw, &fetched);
      win::ItemIdList relative(raw);
      if (next != S_OK || fetched != 1 || !relative) break;
      Entry entry;
      entry.tag = tag;
      entry.item = Join(root, relative.get());
      if (!entry.item) break;
      // One query for the name and the icon: an item that has neither keeps an empty caption and
      // no picture.
      SHFILEINFOW file{};
      UINT flags = SHGFI_PIDL | SHGFI_DISPLAYNAME;
      if (small) flags |= SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
      const DWORD_PTR got = ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(entry.item.get()), 0, &file, sizeof file, flags);
      file.szDisplayName[MAX_PATH - 1] = L'\0';
      entry.caption = win::Narrow(file.szDisplayName);
      if (small && got != 0) {
        const auto list = reinterpret_cast<HIMAGELIST>(got);
        if (list != icons) {
          icons = list;
          int cx = 0;
          int cy = 0;
          nativeSize = ::ImageList_GetIconSize(list, &cx, &cy) != FALSE && cx == kIconSide && cy == kIconSide;
        }
        entry.bitmap = IconBitmap(list, file.iIcon, memory.get(), screen.get(), nativeSize);
      }
      built.push_back(std::move(entry));
    }
  } catch (const std::exception&) {
    // The menu keeps the entries made so far.
  }

  if (SortsByCaption(titleIndex)) {
    std::vector<std::string> captions;
    captions.reserve(built.size());
    for (const Entry& e : built) captions.push_back(e.caption);
    std::vector<Entry> sorted;
    sorted.reserve(built.size());
    for (std::size_t i : CaptionOrder(captions)) sorted.push_back(std::move(built[i]));
    built = std::move(sorted);
  }

  entries_.reserve(built.size());
  for (Entry& e : built) {
    if (::AppendMenuW(menu_.get(), MF_OWNERDRAW, e.tag, reinterpret_cast<LPCWSTR>(this)) == FALSE) break;
    entries_.push_back(std::move(e));
  }
}

const TMenuSys::Entry* TMenuSys::EntryOfTag(UINT tag) const {
  if (tag == 0) return nullptr;
  for (const Entry& e : entries_) {
    if (e.tag == tag) return &e;
  }
  return nullptr;
}

MenuEntryLook TMenuSys::LookOf(UINT tag) const {
  MenuEntryLook look;
  look.kind = MenuKind::Shell;
  if (tag == 0) {
    look.title = true;
    look.caption = title_;
  } else if (const Entry* e = EntryOfTag(tag)) {
    look.caption = e->caption;
    look.image = e->bitmap.get();
  }
  return look;
}

UINT TMenuSys::Track(HWND window, POINT screen) {
  if (!menu_ || window == nullptr) return 0;
  // The window must be in the foreground for the menu to close when the user clicks elsewhere.
  ::SetForegroundWindow(window);
  tracking_ = true;
  const BOOL chosen = ::TrackPopupMenu(menu_.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                       screen.x, screen.y, 0, window, nullptr);
  tracking_ = false;
  retired_.clear();
  ::PostMessageW(window, WM_NULL, 0, 0);
  return chosen > 0 ? static_cast<UINT>(chosen) : 0;
}

void TMenuSys::Popup(HWND window, POINT screen) {
  const std::uint32_t built = generation_;
  const UINT tag = Track(window, screen);
  // The choice belongs to the menu that was shown: a rebuild meanwhile drops it.
  if (tag != 0 && built == generation_) OpenItem(tag);
}

bool TMenuSys::OpenItem(UINT tag) const {
  const Entry* e = EntryOfTag(tag);
  if (e == nullptr || !e->item) return false;
  return opener_ ? opener_(e->item.get()) : ShellOpen(e->item.get());
}

LRESULT TMenuSys::MenuChar(wchar_t typed, HMENU menu) const {
  // The next entry after the highlighted one whose caption starts with the typed letter.
  const int count = ::GetMenuItemCount(menu);
  int current = -1;
  for (int i = 0; i < count; ++i) {
    if ((::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) != 0) {
      current = i;
      break;
    }
  }
  const wchar_t wanted = Lower(typed);
  const int n = static_cast<int>(entries_.size());
  for (int step = 1; step <= n; ++step) {
    // Entry k sits at position k + 1, below the title.
    const int k = (current - 1 + step + n) % n;
    const std::wstring caption = win::Widen(entries_[static_cast<std::size_t>(k)].caption);
    if (!caption.empty() && Lower(caption[0]) == wanted) return MAKELRESULT(k + 1, MNC_SELECT);
  }
  return MAKELRESULT(0, MNC_IGNORE);
}

bool TMenuSys::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item == nullptr || item->CtlType != ODT_MENU || item->itemData != reinterpret_cast<ULONG_PTR>(this)) {
        return false;
      }
      look_.Measure(LookOf(item->itemID), *item);
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item == nullptr || item->CtlType != ODT_MENU || !menu_ ||
          reinterpret_cast<HMENU>(item->hwndItem) != menu_.get()) {
        return false;
      }
      look_.Draw(LookOf(item->itemID), *item);
      result = TRUE;
      return true;
    }
    case WM_MENUCHAR: {
      const auto menu = reinterpret_cast<HMENU>(lParam);
      if (!menu_ || menu != menu_.get()) return false;
      result = MenuChar(static_cast<wchar_t>(LOWORD(wParam)), menu);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace ql
