#include "dialogs/PassWD.h"

#include "resources/ResourceIds.h"
#include "win/Utf.h"

namespace ql {

namespace {

constexpr wchar_t kClassName[] = L"TFrmPassWD";
constexpr wchar_t kCaption[] = L"Quaylite Protection";
constexpr COLORREF kAlertText = RGB(255, 255, 255);
constexpr COLORREF kAlertBack = RGB(255, 0, 0);
// While the dialog is up and another program has the foreground, it asks for it back this often.
constexpr UINT_PTR kForegroundTimer = 1;
constexpr UINT kForegroundMs = 250;

// Removes the WM_QUIT waiting in the thread's queue, if any; true and its exit code when there
// was one.
bool TakeQuit(int& exitCode) {
  MSG msg{};
  bool quit = false;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE) {
    quit = true;
    exitCode = static_cast<int>(msg.wParam);
  }
  return quit;
}

bool OfThisProcess(HWND window) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  return process == ::GetCurrentProcessId();
}

}  // namespace

TFrmPassWD::TFrmPassWD() = default;
TFrmPassWD::~TFrmPassWD() = default;

bool TFrmPassWD::Create(HWND owner) {
  // The client height is set by the collapsed window height below.
  if (!CreateModal(owner, kClassName, kCaption, kClientWidth, 100)) return false;
  alertBrush_.reset(::CreateSolidBrush(kAlertBack));

  AddControl(L"STATIC", L"", SS_BITMAP, 8, 8, kPictureSize, kPictureSize, kIcon);
  AddControl(L"STATIC", L"&Password :", SS_LEFT, 84, 8, 160, 13, kLabel1);
  constexpr DWORD kMasked = WS_TABSTOP | WS_BORDER | ES_PASSWORD | ES_AUTOHSCROLL;
  AddControl(L"EDIT", L"", kMasked, 84, 24, 160, 21, kPasswd);
  AddControl(L"STATIC", win::Widen(kShutdownAlertText), SS_CENTER | SS_CENTERIMAGE, 84, 52, 160, 18, kAlerte);
  AddControl(L"BUTTON", L"&Change", WS_TABSTOP | BS_PUSHBUTTON, 254, 8, 75, 25, kChanger);
  AddControl(L"BUTTON", L"&OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 254, 40, 75, 25, IDOK);
  AddControl(L"STATIC", L"Enter &new password :", SS_LEFT, 8, 106, 156, 13, kLabel2);
  AddControl(L"EDIT", L"", kMasked, 170, 102, 159, 21, kNPassWD);
  AddControl(L"STATIC", L"&Confirm new password :", SS_LEFT, 8, 134, 156, 13, kLabel3);
  AddControl(L"EDIT", L"", kMasked, 170, 130, 159, 21, kCPassWD);
  for (int id : {kPasswd, kNPassWD, kCPassWD}) {
    ::SendMessageW(Control(id), EM_SETPASSWORDCHAR, L'*', 0);
    ::SendMessageW(Control(id), EM_LIMITTEXT, kMaxPasswordChars, 0);
  }
  // Closing does nothing: the close box and the menu entry show it greyed.
  if (HMENU menu = ::GetSystemMenu(hwnd(), FALSE)) ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  ::ShowWindow(Control(kAlerte), SW_HIDE);
  SetHeight(kCollapsedHeight);
  ShowNewPasswordRows(false);
  return true;
}

int TFrmPassWD::Height() const {
  const RECT r = Bounds();
  return r.bottom - r.top;
}

bool TFrmPassWD::AlertShown() const {
  HWND alert = Control(kAlerte);
  return alert != nullptr && (::GetWindowLongW(alert, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TFrmPassWD::SetHeight(int height) const {
  const RECT r = Bounds();
  ::SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFrmPassWD::ShowNewPasswordRows(bool show) const {
  // Hidden, the rows below the fold cannot take the focus through Tab or their accelerators.
  for (int id : {kLabel2, kNPassWD, kLabel3, kCPassWD}) ::ShowWindow(Control(id), show ? SW_SHOWNA : SW_HIDE);
}

void TFrmPassWD::ResetFields() const {
  for (int id : {kPasswd, kNPassWD, kCPassWD}) ::SetWindowTextW(Control(id), L"");
  ::ShowWindow(Control(kAlerte), alert_ ? SW_SHOWNA : SW_HIDE);
  SetHeight(kCollapsedHeight);
  ShowNewPasswordRows(false);
}

std::string TFrmPassWD::FieldText(int id) const { return win::WindowText(Control(id)); }

void TFrmPassWD::FormShow() {
  // The program's picture, composed off-screen over the dialog's face and shown in one piece.
  win::Icon own(static_cast<HICON>(::LoadImageW(win::ModuleInstance(), MAKEINTRESOURCEW(IDI_QUAYLITE),
                                                IMAGE_ICON, kPictureSize, kPictureSize, LR_DEFAULTCOLOR)));
  HICON icon = own ? own.get() : ::LoadIconW(nullptr, IDI_APPLICATION);
  win::Bitmap picture;
  {
    win::WindowDc screen(nullptr);
    picture.reset(::CreateCompatibleBitmap(screen.get(), kPictureSize, kPictureSize));
    win::MemoryDc dc(::CreateCompatibleDC(screen.get()));
    if (picture && dc) {
      win::SelectGuard select(dc.get(), picture.get());
      RECT all{0, 0, kPictureSize, kPictureSize};
      ::FillRect(dc.get(), &all, ::GetSysColorBrush(COLOR_BTNFACE));
      if (icon != nullptr)
        ::DrawIconEx(dc.get(), 0, 0, icon, kPictureSize, kPictureSize, 0, nullptr, DI_NORMAL);
    }
  }
  ::SendMessageW(Control(kIcon), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
  picture_ = std::move(picture);  // the old picture goes once the control no longer shows it

  ResetFields();
  ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TFrmPassWD::ChangerClick() {
  const bool expand = Height() == kCollapsedHeight;
  SetHeight(expand ? kExpandedHeight : kCollapsedHeight);
  ShowNewPasswordRows(expand);
  if (expand) {
    ::SetFocus(Control(kNPassWD));
  } else if (HWND focus = ::GetFocus(); focus == Control(kNPassWD) || focus == Control(kCPassWD)) {
    ::SetFocus(Control(kPasswd));
  }
}

bool TFrmPassWD::AskPassword(bool alert, const Checker& check) {
  if (hwnd() == nullptr || InModal() || check_ != nullptr) return false;
  check_ = &check;
  alert_ = alert;
  int exitCode = 0;
  bool quit = false;
  // Only OK with an accepted answer ends the modal loop; a WM_QUIT ends it too, and is kept
  // aside while the dialog shows again.
  while (hwnd() != nullptr && ShowModal(nullptr) != IDOK) {
    quit = TakeQuit(exitCode) || quit;
  }
  check_ = nullptr;
  alert_ = false;
  ::KillTimer(hwnd(), kForegroundTimer);
  if (quit) ::PostQuitMessage(exitCode);
  return true;
}

bool TFrmPassWD::OnOk() {
  if (check_ == nullptr || !*check_) return true;
  const std::string passwd = FieldText(kPasswd);
  const std::string newPasswd = FieldText(kNPassWD);
  const std::string confirmPasswd = FieldText(kCPassWD);
  if ((*check_)(PasswordEntry{passwd, newPasswd, confirmPasswd})) return true;
  // Asked anew: the alert has been seen once.
  alert_ = false;
  ResetFields();
  ::SetFocus(Control(kPasswd));
  return false;
}

void TFrmPassWD::OnCommand(int id, int code, HWND /*control*/) {
  if (id == kChanger && code == BN_CLICKED) ChangerClick();
}

void TFrmPassWD::TakeForegroundBack() const {
  HWND foreground = ::GetForegroundWindow();
  if (foreground == hwnd() || (foreground != nullptr && OfThisProcess(foreground))) {
    // Back in front, or one of the program's own message boxes is: nothing to take back.
    if (foreground == hwnd()) ::KillTimer(hwnd(), kForegroundTimer);
    return;
  }
  ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  ::SetForegroundWindow(hwnd());
}

LRESULT TFrmPassWD::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      return 0;  // the close box, Alt+F4, a close from outside: only the right password ends it
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) return 0;  // Escape
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE && InModal())
        ::SetTimer(hwnd(), kForegroundTimer, kForegroundMs, nullptr);
      break;
    case WM_TIMER:
      if (wParam == kForegroundTimer) {
        if (InModal()) {
          TakeForegroundBack();
        } else {
          ::KillTimer(hwnd(), kForegroundTimer);
        }
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kAlerte) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, kAlertText);
        ::SetBkColor(dc, kAlertBack);
        return reinterpret_cast<LRESULT>(alertBrush_.get());
      }
      break;
    default:
      break;
  }
  return ModalForm::HandleMessage(msg, wParam, lParam);
}

}  // namespace ql
