#include "taskbar/TaskBar.h"
#include "win/Win.h"

#include <utility>

#include "core/MenuTable.h"
#include "taskbar/WinUtil.h"
#include "win/Screen.h"
#include "win/Utf.h"
#include "win/Win32WindowSystem.h"

namespace ql {

namespace {

constexpr wchar_t kHostClass[] = L"TTaskHost";
constexpr wchar_t kTrayNotifyClass[] = L"TrayNotifyWnd";
constexpr std::string_view kSendToMnuName = "SendToMnu";

win::Bitmap LoadBitmapFile(const std::string& path) {
  if (path.empty()) return {};
  return win::Bitmap(static_cast<HBITMAP>(::LoadImageW(nullptr, win::Widen(path).c_str(), IMAGE_BITMAP, 0, 0,
                                                       LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

// What an exception filter needs to give the system task bar back: the only state of the task
// bar kept outside its object, because the filter has no other way to reach it.
HWND g_hiddenTray = nullptr;
HWND g_borrowedNotify = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
bool g_filterSet = false;

LONG WINAPI GiveTrayBackOnCrash(EXCEPTION_POINTERS* info) {
  if (g_borrowedNotify != nullptr && ::IsWindow(g_borrowedNotify) != FALSE) {
    ::SetParent(g_borrowedNotify, g_hiddenTray);
  }
  if (g_hiddenTray != nullptr) ::ShowWindow(g_hiddenTray, SW_SHOWNA);
  return g_previousFilter != nullptr ? g_previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}

BOOL CALLBACK FindStrayNotify(HWND top, LPARAM out) {
  HWND notify = ::FindWindowExW(top, nullptr, kTrayNotifyClass, nullptr);
  if (notify == nullptr) return TRUE;
  *reinterpret_cast<HWND*>(out) = notify;
  return FALSE;
}

std::uint16_t SendToMnuTag() {
  for (const MenuEntry& e : SendMnuEntries()) {
    if (e.name == kSendToMnuName) return e.tag;
  }
  return 0;
}

// A host window: the borderless tool window a task button lives in, cut to its shape.
class TaskHostWindow final : public win::Window {
 public:
  bool Make(HWND owner, int x, int y, int w, int h) {
    if (!RegisterClassOnce(kHostClass, 0)) return false;
    return Create(WS_EX_TOOLWINDOW, kHostClass, L"", WS_POPUP | WS_CLIPCHILDREN, x, y, w, h, owner, nullptr);
  }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_ERASEBKGND) return 1;  // the button covers it
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return win::Window::HandleMessage(msg, wParam, lParam);
  }
};

}  // namespace

std::filesystem::path IconFolder() {
  wchar_t module[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring folder(module, n);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  // A program installed under a protected folder cannot keep its file beside it.
  const std::wstring probe = folder + L"ql_write.probe";
  HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    ::CloseHandle(h);
    return std::filesystem::path(folder);
  }
  wchar_t appData[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData)))
    return std::filesystem::path(folder);
  std::wstring own = std::wstring(appData) + L"\\Quaylite";
  ::CreateDirectoryW(own.c_str(), nullptr);
  return std::filesystem::path(own);
}

void RecoverSystemTaskBar() {
  HWND tray = GetTrayWnd();
  if (tray == nullptr) return;
  if (::FindWindowExW(tray, nullptr, kTrayNotifyClass, nullptr) == nullptr) {
    HWND stray = nullptr;
    ::EnumWindows(&FindStrayNotify, reinterpret_cast<LPARAM>(&stray));
    if (stray != nullptr) ::SetParent(stray, tray);
  }
  if (::IsWindowVisible(tray) == FALSE) ::ShowWindow(tray, SW_SHOWNA);
}

// One task button in its host window, kept in step with its slot of the list.
class TTaskBar::HostView final : public TaskButtonView {
 public:
  HostView(TTaskBar& bar, TaskEntry& entry) : entry_(entry), button_(*bar.system_) {
    const TConfigTask& cfg = *bar.cfg_;
    const TaskButtonSize size = TaskButtonSizeOf(cfg);
    host_.Make(bar.hwnd(), entry.X, entry.Y, size.width, size.height);
    button_.SetHints(&bar.hints_);
    button_.SetAssociations(&bar.icons_);
    if (cfg.SmallStyle) {
      button_.SetStyle(TaskStyle::sQL);
    } else {
      button_.SetBigIcon(cfg.BigIcon);
      button_.SetStyle(TaskStyle::sNS);
    }
    button_.SetTexture(bar.bmpTexture_.get());
    button_.SetTextSelec(bar.bmpTextSelec_.get());
    button_.SetColorOff(cfg.ColorOff);
    button_.SetColorOn(cfg.ColorOn);
    if (cfg.SmallStyle) button_.SetLabelFont(cfg.FontName, cfg.FontSize, cfg.FontBold, cfg.FontItalic);
    button_.SetTColorOn(cfg.TColorOn);
    button_.SetTColorOff(cfg.TColorOff);
    button_.SetIconOnly(entry.Bouton.IconOnly);
    button_.SetBorder(cfg.Border);
    button_.SetShadow(cfg.Shadow);
    if (!cfg.SmallStyle) {
      button_.SetRectLbl(cfg.RectLbl);
      button_.SetRColor(cfg.RColor);
    }
    button_.Create(host_.hwnd(), 0, 0);
    button_.SetHandleHost(host_.hwnd());
    button_.SetWindow(entry.HFen, entry.Bouton.Caption, entry.Bouton.ClasseFen, entry.Bouton.IconPath);
    button_.OnPopup = [&bar](TKovaTask& b, POINT at) { bar.PopupAt(b, at); };
    button_.OnIconAssociated = [this](const std::string& path) { entry_.Bouton.IconPath = path; };
    // Shown without taking the activation, so the new window keeps the foreground.
    ::ShowWindow(host_.hwnd(), SW_SHOWNOACTIVATE);
  }

  void Changed(TaskChange change) override {
    const TaskButtonInfo& b = entry_.Bouton;
    switch (change) {
      case TaskChange::Window:
        button_.SetWindow(entry_.HFen, b.Caption, b.ClasseFen, b.IconPath);
        break;
      case TaskChange::State:
        button_.SetState(b.State);
        button_.SetIconOnly(b.IconOnly);
        break;
      case TaskChange::IconOnly:
        button_.SetIconOnly(b.IconOnly);
        break;
    }
  }

  TKovaTask& Button() { return button_; }
  HWND Host() const { return host_.hwnd(); }

 private:
  TaskEntry& entry_;
  TaskHostWindow host_;  // destroyed after the button
  TKovaTask button_;
};

class TTaskBar::Maker final : public TaskButtonMaker {
 public:
  explicit Maker(TTaskBar& bar) : bar_(bar) {}
  std::unique_ptr<TaskButtonView> Make(TaskEntry& entry) override {
    return std::make_unique<HostView>(bar_, entry);
  }

 private:
  TTaskBar& bar_;
};

TTaskBar::TTaskBar() : ownSystem_(std::make_unique<win::Win32WindowSystem>()), system_(ownSystem_.get()) {}

TTaskBar::~TTaskBar() { Enleve(); }

void TTaskBar::Cree(const TConfigTask& cfg) {
  if (hwnd() == nullptr) return;
  Enleve();
  cfg_ = &cfg;
  icons_ = IconAssociations(iconFolder_.empty() ? IconFolder() : iconFolder_);
  icons_.Recover();
  timers_.Attach(hwnd());
  if (hints_.hwnd() == nullptr) hints_.Create(hwnd());
  if (sendMnu_.handle() == nullptr) sendMnu_.Build(SendMnuEntries());
  maker_ = std::make_unique<Maker>(*this);
  list_ =
      std::make_unique<TaskList>(*system_, cfg, *maker_, icons_, TaskDock{dock_.DernierLance, dock_.IconOf});

  systemTray_ = GetTrayWnd();
  if (systemTray_ != nullptr) ::ShowWindow(systemTray_, SW_HIDE);
  list_->Rafraichir = true;
  bmpTexture_ = LoadBitmapFile(cfg.TextureFile);
  bmpTextSelec_ = LoadBitmapFile(cfg.TextSelecFile);
  ::SetWindowLongW(hwnd(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);

  hTray_ =
      systemTray_ != nullptr ? ::FindWindowExW(systemTray_, nullptr, kTrayNotifyClass, nullptr) : nullptr;
  RECT tray{};
  if (hTray_ != nullptr) {
    ::GetWindowRect(hTray_, &tray);
    trayPlace_ = POINT{tray.left, tray.top};
    ::ScreenToClient(systemTray_, &trayPlace_);
    ::SetParent(hTray_, hwnd());
    // A child keeps its offset in the parent: moved to the top of this form, placed at its top, the
    // notification area stays where it was on the screen. Asynchronously, as it is the shell's.
    ::SetWindowPos(hTray_, nullptr, tray.left, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    g_hiddenTray = systemTray_;
    g_borrowedNotify = hTray_;
  } else {
    g_hiddenTray = systemTray_;
  }
  if (!g_filterSet) {
    g_previousFilter = ::SetUnhandledExceptionFilter(&GiveTrayBackOnCrash);
    g_filterSet = true;
  }
  const int sw = win::ScreenWidth();
  const int sh = win::ScreenHeight();
  ::SetWindowPos(hwnd(), nullptr, 0, hTray_ != nullptr ? tray.top : sh, sw, sh,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  trayRead_ = false;
  DoInvisible();
}

void TTaskBar::DoInvisible() {
  const int sw = win::ScreenWidth();
  const int sh = win::ScreenHeight();
  if (hTray_ == nullptr) {
    // Nothing to show: an empty form, and the rows run to the screen's width.
    if (!trayRead_) ::SetWindowRgn(hwnd(), ::CreateRectRgn(0, 0, 0, 0), TRUE);
    rectTray_ = RECT{sw, sh, sw, sh};
    trayRead_ = true;
    return;
  }
  RECT r{};
  ::GetWindowRect(hTray_, &r);
  // Compared as read, not as adjusted: a notification area that had to be moved is not cut again
  // at every tick.
  if (trayRead_ && ::EqualRect(&r, &lastRead_) != FALSE) return;
  lastRead_ = r;
  trayRead_ = true;
  if (sh <= r.bottom) {
    const int h = r.bottom - r.top;
    r.bottom = sh;
    r.top = sh - h;
    ::SetWindowPos(hwnd(), nullptr, 0, sh - h, sw, h, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (sw <= r.right) {
    // The form keeps its left edge at 0, where the region below presumes it.
    const int w = r.right - r.left;
    r.right = sw;
    r.left = sw - w;
  }
  win::Region region(::CreateRectRgn(r.left, 0, r.right, r.bottom - r.top));
  if (region && ::SetWindowRgn(hwnd(), region.get(), TRUE) != 0) region.release();
  rectTray_ = r;
}

void TTaskBar::Init() {
  if (list_ == nullptr) return;
  timers_.Stop(timer1_);
  list_->Init(win::ScreenHeight());
  timer1_ = timers_.Start(kPollMs, [this] { Timer1Timer(); });
}

void TTaskBar::EffaceBtn() {
  if (list_ == nullptr) return;
  const bool polling = Polling();
  timers_.Stop(timer1_);
  list_->EffaceBtn();
  if (polling) timer1_ = timers_.Start(kPollMs, [this] { Timer1Timer(); });
}

void TTaskBar::GiveTrayBack() {
  if (hTray_ != nullptr && ::IsWindow(hTray_) != FALSE) {
    ::SetParent(hTray_, systemTray_);
    ::SetWindowPos(hTray_, nullptr, trayPlace_.x, trayPlace_.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
  }
  if (systemTray_ != nullptr) ::ShowWindow(systemTray_, SW_SHOWNA);  // shown, not activated
  hTray_ = nullptr;
  systemTray_ = nullptr;
  g_hiddenTray = nullptr;
  g_borrowedNotify = nullptr;
}

void TTaskBar::Enleve() {
  if (cfg_ == nullptr) return;
  EffaceBtn();
  timers_.Stop(timer1_);
  bmpTexture_.reset();
  bmpTextSelec_.reset();
  GiveTrayBack();
  list_.reset();
  maker_.reset();
  cfg_ = nullptr;
}

void TTaskBar::Suspend() {
  if (list_ == nullptr) return;
  EffaceBtn();
  timers_.Stop(timer1_);
  if (cfg_->ShowTray) Hide();
}

void TTaskBar::Resume() {
  if (list_ == nullptr) return;
  Init();
  if (cfg_->ShowTray) ShowForm(true);
}

void TTaskBar::ShowForm(bool show) {
  if (hwnd() == nullptr) return;
  ::ShowWindow(hwnd(), show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

TKovaTask* TTaskBar::ButtonOf(WindowId window) const {
  const TaskEntry* e = list_ != nullptr ? list_->EntryOf(window) : nullptr;
  if (e == nullptr || e->View == nullptr) return nullptr;
  return &static_cast<HostView&>(*e->View).Button();  // every view is one of ours
}

void TTaskBar::Timer1Timer() {
  if (list_ == nullptr) return;
  if (cfg_->ShowTray) DoInvisible();
  const TaskScreen screen{win::ScreenWidth(), win::ScreenHeight(), cfg_->ShowTray && hTray_ != nullptr,
                          rectTray_.left};
  list_->Tick(screen);
}

void TTaskBar::SendMnuPopup() {
  sendMnu_.Enable(SendToMnuTag(), dock_.HasVirtualDesk && dock_.HasVirtualDesk());
}

void TTaskBar::PopupAt(TKovaTask& button, POINT screen) {
  const WindowId window = button.HandleFen();
  HWND owner = ::GetParent(button.hwnd());
  SendMnuPopup();
  // No tick while the menu is up: the clicked button stays as it was.
  const bool polling = Polling();
  timers_.Stop(timer1_);
  const MenuEntry* chosen = sendMnu_.Track(owner != nullptr ? owner : hwnd(), screen);
  if (polling && list_ != nullptr) timer1_ = timers_.Start(kPollMs, [this] { Timer1Timer(); });
  if (chosen != nullptr) RunMenuCommand(chosen->action, chosen->value, window);
}

void TTaskBar::RunMenuCommand(MenuAction action, std::int32_t value, WindowId window) {
  switch (action) {
    case MenuAction::GestionFenetre: {
      if (list_ == nullptr) return;
      const bool polling = Polling();
      timers_.Stop(timer1_);
      list_->GestionFenetre(value);
      if (polling) timer1_ = timers_.Start(kPollMs, [this] { Timer1Timer(); });
      break;
    }
    case MenuAction::MoHoriz:
      system_->Tile(TileMode::Horizontal);
      break;
    case MenuAction::MoVert:
      system_->Tile(TileMode::Vertical);
      break;
    case MenuAction::SendFenToScreen:
      if (dock_.SendFenToScreen) dock_.SendFenToScreen(window, value);
      break;
    case MenuAction::FermerMnu:
      system_->Command(window, WindowCommand::Close);  // posted, as the button's Ctrl+click
      break;
    default:
      break;
  }
}

LRESULT TTaskBar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (timers_.HandleMessage(msg, wParam, lParam)) return 0;
  switch (msg) {
    case WM_ENDSESSION:
      if (wParam != FALSE) Enleve();
      return 0;
    case WM_DESTROY:
      // Before the children go: the notification area is not ours to destroy.
      GiveTrayBack();
      break;
    default:
      break;
  }
  return win::Form::HandleMessage(msg, wParam, lParam);
}

}  // namespace ql
