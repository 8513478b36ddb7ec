#include "modules/KovaRecycler.h"

#include <utility>

#include "controls/KovaBtn.h"
#include "core/RecyclerDrop.h"
#include "taskbar/WinUtil.h"
#include "win/ModalScope.h"
#include "win/Registrations.h"

namespace ql {

namespace {

constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 32767;

// The cursor for the time of a deletion, then the one before it.
class WaitCursor {
 public:
  WaitCursor() : old_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  ~WaitCursor() { ::SetCursor(old_ != nullptr ? old_ : ::LoadCursorW(nullptr, IDC_ARROW)); }

 private:
  HCURSOR old_;
};

}  // namespace

TKovaRecycler::TKovaRecycler(TileSite& site, HWND appWindow) : site_(site), appWindow_(appWindow) {
  // Modal for the whole program: no other window of the dock acts while the question shows.
  Ask = [](HWND owner, const std::string& question) {
    return win::MessageBoxModal(owner, question, "Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES;
  };
  Recycle = [](HWND owner, const std::string& list) { DeleteToRecycler(owner, list, ""); };
  LoadIcon();
}

TKovaRecycler::~TKovaRecycler() = default;

void TKovaRecycler::SetIconPath(std::string path) {
  iconPath_ = std::move(path);
  LoadIcon();
}

void TKovaRecycler::SetIconSize(std::int32_t size) {
  iconSize_ = size;
  LoadIcon();
}

void TKovaRecycler::LoadIcon() {
  icon_.reset();  // one icon of this tile at a time
  icon_ = LoadPathIcon(iconPath_, 0, iconSize_);
  site_.Invalidate();
}

void TKovaRecycler::Paint(win::Canvas& canvas, int width, int height) const {
  if (!icon_) return;
  ::DrawIconEx(canvas.dc(), (width - iconSize_) / 2, (height - iconSize_) / 2, icon_.get(), iconSize_,
               iconSize_, 0, nullptr, DI_NORMAL);
}

bool TKovaRecycler::Mouse(MouseAction action, const MouseEvent& e) {
  if (action != MouseAction::Down) return false;
  // Exactly the right button: no other button, no modifier, not the second press of a double.
  const bool plainRight = e.button == MouseButton::Right && !e.doubleClick && !e.left && !e.middle &&
                          !e.shift && !e.ctrl && !e.alt;
  if (plainRight) {
    ShellMenu(false);
    return true;
  }
  if (e.button == MouseButton::Left && e.doubleClick) ShellMenu(true);
  return false;
}

void TKovaRecycler::ShellMenu(bool defaultOnly) {
  win::ComPtr<IShellFolder> desktop;
  if (FAILED(::SHGetDesktopFolder(desktop.put())) || !desktop) return;
  LPITEMIDLIST raw = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(appWindow_, CSIDL_BITBUCKET, &raw)) || raw == nullptr) return;
  const win::ItemIdList bin(raw);
  LPCITEMIDLIST items[] = {bin.get()};
  win::ComPtr<IContextMenu> menu;
  if (FAILED(desktop->GetUIObjectOf(site_.Window(), 1, items, IID_IContextMenu, nullptr,
                                    reinterpret_cast<void**>(menu.put()))) ||
      !menu) {
    return;
  }
  const win::Menu popup(::CreatePopupMenu());
  if (!popup || FAILED(menu->QueryContextMenu(popup.get(), 0, kFirstCommand, kLastCommand, CMF_NORMAL)) ||
      ::GetMenuItemCount(popup.get()) <= 0) {
    return;
  }
  POINT at{};
  ::GetCursorPos(&at);
  int command = 0;
  if (defaultOnly) {
    command = static_cast<int>(::GetMenuDefaultItem(popup.get(), FALSE, GMDI_GOINTOPOPUPS));  // -1: none
  } else {
    command = static_cast<int>(::TrackPopupMenuEx(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y,
                                                  site_.Window(), nullptr));
  }
  if (command <= 0) return;
  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof info;
  info.hwnd = appWindow_;
  info.lpVerb = MAKEINTRESOURCEA(command - static_cast<int>(kFirstCommand));
  info.nShow = SW_SHOWDEFAULT;
  menu->InvokeCommand(&info);
}

bool TKovaRecycler::Drop(const std::vector<std::string>& files) {
  const WaitCursor wait;
  const std::string list = RecyclerList(files);
  if (list.empty()) return true;
  if (!confirm_) {
    if (Recycle) Recycle(site_.Window(), list);
    return true;
  }
  HWND foreground = ::GetForegroundWindow();
  if (appWindow_ != nullptr) ::SetForegroundWindow(appWindow_);
  const bool yes = Ask && Ask(appWindow_, "Send to the recycle bin ?");
  if (yes && Recycle) Recycle(site_.Window(), list);
  if (foreground != nullptr) ::SetForegroundWindow(foreground);
  return true;
}

}  // namespace ql
