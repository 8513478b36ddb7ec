#include "controls/MenuSys.h"

#include <algorithm>
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

// A 16 x 16 top-down 32-bit DIB section; `bits` gives its pixels (0x00RRGGBB).
win::Bitmap NewIconDib(std::uint32_t*& bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kIconSide;
  info.bmiHeader.biHeight = -kIconSide;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* raw = nullptr;
  win::Bitmap dib(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0));
  bits = dib ? static_cast<std::uint32_t*>(raw) : nullptr;
  return dib;
}

// Makes the menu entries' icon bitmaps: each icon of the system image list on magenta, the key
// colour of the drawing. Icons with soft edges would leave pink fringes once magenta is keyed out,
// so each icon is drawn on black and on white, which gives its coverage: a pixel covered at least
// half shows the icon's own colour, any other is magenta.
class IconPainter {
 public:
  IconPainter() {
    for (Scratch& s : scratch_) {
      s.bitmap = NewIconDib(s.bits);
      s.dc.reset(::CreateCompatibleDC(nullptr));
      if (s.bitmap && s.dc) s.old = ::SelectObject(s.dc.get(), s.bitmap.get());
    }
  }
  IconPainter(const IconPainter&) = delete;
  IconPainter& operator=(const IconPainter&) = delete;
  ~IconPainter() {
    for (Scratch& s : scratch_) {
      if (s.old != nullptr) ::SelectObject(s.dc.get(), s.old);
    }
  }

  win::Bitmap Paint(HIMAGELIST list, int index) {
    if (list == nullptr || index < 0 || scratch_[0].old == nullptr || scratch_[1].old == nullptr) return {};
    if (list != list_) {
      list_ = list;
      int cx = 0;
      int cy = 0;
      nativeSize_ = ::ImageList_GetIconSize(list, &cx, &cy) != FALSE && cx == kIconSide && cy == kIconSide;
    }
    const std::uint32_t grounds[2] = {0x000000, 0xFFFFFF};
    for (int i = 0; i < 2; ++i) {
      Scratch& s = scratch_[i];
      std::fill(s.bits, s.bits + kIconPixels, grounds[i]);
      ::GdiFlush();
      if (nativeSize_) {
        ::ImageList_Draw(list, index, s.dc.get(), 0, 0, ILD_TRANSPARENT);
      } else {
        const win::Icon icon(::ImageList_GetIcon(list, index, ILD_TRANSPARENT));
        if (icon) ::DrawIconEx(s.dc.get(), 0, 0, icon.get(), kIconSide, kIconSide, 0, nullptr, DI_NORMAL);
      }
    }
    ::GdiFlush();
    std::uint32_t* out = nullptr;
    win::Bitmap bitmap = NewIconDib(out);
    if (!bitmap) return bitmap;
    const std::uint32_t* onBlack = scratch_[0].bits;
    const std::uint32_t* onWhite = scratch_[1].bits;
    for (int p = 0; p < kIconPixels; ++p) {
      std::uint32_t colour = 0;
      int coverage = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        const int b = static_cast<int>((onBlack[p] >> shift) & 0xFF);
        const int w = static_cast<int>((onWhite[p] >> shift) & 0xFF);
        coverage = std::max(coverage, 255 - (w - b));
      }
      if (coverage < 128) {
        out[p] = kKeyPixel;
        continue;
      }
      for (int shift = 0; shift <= 16; shift += 8) {
        const int b = static_cast<int>((onBlack[p] >> shift) & 0xFF);
        colour |= static_cast<std::uint32_t>(std::min(255, b * 255 / coverage)) << shift;
      }
      // A pixel of the icon that happens to be the key colour would vanish: one step off it.
      out[p] = colour == kKeyPixel ? 0xFE00FE : colour;
    }
    return bitmap;
  }

 private:
  static constexpr int kIconPixels = kIconSide * kIconSide;
  static constexpr std::uint32_t kKeyPixel = 0xFF00FF;  // magenta

  struct Scratch {
    win::Bitmap bitmap;
    std::uint32_t* bits = nullptr;
    win::MemoryDc dc;
    HGDIOBJ old = nullptr;
  };
  Scratch scratch_[2];  // on black, on white
  HIMAGELIST list_ = nullptr;
  bool nativeSize_ = true;
};

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
  if (FAILED(::SHGetFolderLocation(owner_, info.csidl, nullptr, 0, &raw))) raw = nullptr;
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
  } else if (FAILED(desktop->BindToObject(root, nullptr, IID_IShellFolder,
                                          reinterpret_cast<void**>(folder.put()))) ||
             !folder) {
    return;
  }
  win::ComPtr<IEnumIDList> items;
  // Some folders cannot list their items (S_FALSE, E_NOTIMPL): the menu stays empty.
  if (folder->EnumObjects(owner_, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put()) != S_OK || !items)
    return;

  if (::AppendMenuW(menu_.get(), MF_OWNERDRAW | MF_DISABLED, 0, reinterpret_cast<LPCWSTR>(this)) == FALSE)
    return;

  const bool small = iconTyp_ == TIconTyp::icSmall;
  IconPainter painter;
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
      const DWORD_PTR got =
          ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(entry.item.get()), 0, &file, sizeof file, flags);
      file.szDisplayName[MAX_PATH - 1] = L'\0';
      entry.caption = win::Narrow(file.szDisplayName);
      if (small && got != 0) entry.bitmap = painter.Paint(reinterpret_cast<HIMAGELIST>(got), file.iIcon);
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
  const BOOL chosen =
      ::TrackPopupMenu(menu_.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x,
                       screen.y, 0, window, nullptr);
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
  // As with mnemonics: the only entry whose caption starts with the typed letter runs at once;
  // among several, the next one after the highlighted entry is selected.
  const int count = ::GetMenuItemCount(menu);
  int current = 0;
  for (int i = 0; i < count; ++i) {
    if ((::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) != 0) {
      current = i;
      break;
    }
  }
  const wchar_t wanted = Lower(typed);
  const int n = static_cast<int>(entries_.size());
  int found = -1;
  int matches = 0;
  for (int step = 1; step <= n; ++step) {
    // Entry k sits at position k + 1, below the title.
    const int k = (current - 1 + step + n) % n;
    const std::wstring caption = win::Widen(entries_[static_cast<std::size_t>(k)].caption);
    if (caption.empty() || Lower(caption[0]) != wanted) continue;
    if (found < 0) found = k + 1;
    ++matches;
  }
  if (found < 0) return MAKELRESULT(0, MNC_IGNORE);
  return MAKELRESULT(found, matches == 1 ? MNC_EXECUTE : MNC_SELECT);
}

bool TMenuSys::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item == nullptr || item->CtlType != ODT_MENU ||
          item->itemData != reinterpret_cast<ULONG_PTR>(this)) {
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
