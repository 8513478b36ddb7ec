// TMenuSys: the owner-drawn popup menu of one folder of the shell namespace (My Computer, the
// Control Panel, the documents, the programs of the start menu...), one entry per item with the
// item's display name and small icon, built one level deep each time the root is set. Choosing an
// entry opens the item as the shell would; folders open in the shell rather than as submenus.
//
// The window that pops the menu up owns it: it hands WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR
// to HandleMessage, which takes only this menu's entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/MenuLook.h"
#include "core/ShellMenu.h"
#include "win/Handles.h"
#include "win/Registrations.h"

namespace ql {

class TMenuSys {
 public:
  // Opens an item given by its absolute identifier; true when it started.
  using Opener = std::function<bool(LPCITEMIDLIST)>;

  // `owner` is the application's main window, the owner of the shell's calls. Obtains the shell's
  // allocator; without one, tells the user and asks the application to quit. The root starts as
  // the desktop, with nothing built.
  explicit TMenuSys(HWND owner = nullptr);
  TMenuSys(const TMenuSys&) = delete;
  TMenuSys& operator=(const TMenuSys&) = delete;
  ~TMenuSys();

  // The menu of the current root; a new menu after every rebuild, so read it after SetRoot.
  HMENU Menu() const { return menu_.get(); }

  TCSIDL Root() const { return root_; }
  // Lets every pending message through first, then discards the menu and builds it for `root`.
  void SetRoot(TCSIDL root);

  TIconTyp IconTyp() const { return iconTyp_; }
  // A different look rebuilds the menu for the current root.
  void SetIconTyp(TIconTyp iconTyp);

  // The texture files behind the selected and the other entries; they act at the next drawing.
  const std::string& ItSel() const { return look_.Options().itSel; }
  const std::string& ItNorm() const { return look_.Options().itNorm; }
  void SetItSel(std::string_view file);
  void SetItNorm(std::string_view file);

  // Pops the menu up at `screen` for `window`, waits until it closes, then opens the chosen item.
  void Popup(HWND window, POINT screen);
  // Only the tracking: the chosen entry's tag, 0 when none was chosen.
  UINT Track(HWND window, POINT screen);
  // Opens the item of the entry tagged `tag` (1 for the shell's first item); false for the title,
  // an unknown tag or an item the shell could not open.
  bool OpenItem(UINT tag) const;

  // WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR of this menu's entries: true when taken, with the
  // message's result in `result`.
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Builds the menu of any folder, given by its absolute identifier (the desktop's is empty),
  // under the title of `titleIndex`. SetRoot comes here; so do tests and the benchmark.
  void BuildFolder(LPCITEMIDLIST root, int titleIndex);

  // The shell entries in menu order, the title left out.
  std::size_t EntryCount() const { return entries_.size(); }
  const std::string& Caption(std::size_t i) const { return entries_.at(i).caption; }
  UINT Tag(std::size_t i) const { return entries_.at(i).tag; }
  HBITMAP EntryBitmap(std::size_t i) const { return entries_.at(i).bitmap.get(); }
  LPCITEMIDLIST Item(std::size_t i) const { return entries_.at(i).item.get(); }
  const std::string& Title() const { return title_; }

  // Replaces ShellExecuteEx (tests); an empty function restores it.
  void SetOpener(Opener opener);

 private:
  struct Entry {
    std::string caption;
    UINT tag = 0;
    win::Bitmap bitmap;    // the icon on magenta, in the small look (none in the picture look)
    win::ItemIdList item;  // the root's identifier joined with the item's
  };

  void Rebuild();
  void Discard();
  win::ItemIdList Join(LPCITEMIDLIST parent, LPCITEMIDLIST child) const;
  const Entry* EntryOfTag(UINT tag) const;
  MenuEntryLook LookOf(UINT tag) const;
  LRESULT MenuChar(wchar_t typed, HMENU menu) const;

  HWND owner_;
  win::ComPtr<IMalloc> malloc_;
  TCSIDL root_ = TCSIDL::CSID_DESKTOP;
  TIconTyp iconTyp_ = TIconTyp::icSmall;
  MenuLook look_;
  win::Menu menu_;
  std::vector<win::Menu> retired_;  // menus rebuilt away while on the screen
  bool tracking_ = false;
  std::uint32_t generation_ = 0;  // counts the rebuilds
  std::string title_;
  std::vector<Entry> entries_;
  Opener opener_;
};

}  // namespace ql
