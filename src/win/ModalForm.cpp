#include "win/ModalForm.h"

#include <optional>

#include "win/Canvas.h"
#include "win/ModalScope.h"

namespace ql::win {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// Clears the modal flag however ShowModal leaves (an exception from a hook included).
class ModalScope {
 public:
  explicit ModalScope(bool& flag) : flag_(flag) { flag_ = true; }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
  ~ModalScope() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

bool ModalForm::CreateModal(HWND owner, const wchar_t* className, const std::wstring& caption,
                            int clientWidth, int clientHeight) {
  RECT r{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  if (!CreateForm(owner, className, caption, kStyle, kExStyle, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                  r.bottom - r.top)) {
    return false;
  }
  // No icon in the caption: only the close box.
  ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, 0);
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, 0);
  {
    WindowDc screen(nullptr);
    font_ = CreateFontPoints(screen.get(), L"MS Sans Serif", 8);
  }
  return true;
}

HWND ModalForm::AddControl(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y,
                           int width, int height, int id, DWORD exStyle) {
  HWND control =
      ::CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                        hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
  if (control != nullptr && font_)
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return control;
}

void ModalForm::CentreOnScreen() const {
  RECT r{};
  ::GetWindowRect(hwnd(), &r);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  ::SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ModalForm::ShowModal(HWND owner) {
  if (hwnd() == nullptr || inModal_) return IDCANCEL;
  ModalScope scope(inModal_);
  ended_ = false;
  result_ = IDCANCEL;

  if (owner != nullptr && owner != hwnd()) {
    ::SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  }
  OnShowModal();
  CentreOnScreen();
  // Every other window of the program, not only the owner: the branch and the task bar too.
  std::optional<ThreadModalScope> modal(std::in_place, hwnd());
  ::ShowWindow(hwnd(), SW_SHOW);
  ::SetForegroundWindow(hwnd());
  lastFocus_ = ::GetNextDlgTabItem(hwnd(), nullptr, FALSE);
  if (lastFocus_ != nullptr) ::SetFocus(lastFocus_);

  MSG msg{};
  while (!ended_ && hwnd() != nullptr) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: leave the quit for the loop outside.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      result_ = IDCANCEL;
      break;
    }
    if (got == -1) {
      result_ = IDCANCEL;
      break;
    }
    if (hwnd() == nullptr || ::IsDialogMessageW(hwnd(), &msg) == FALSE) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  if (!ended_) result_ = IDCANCEL;

  // The other windows first, so that the owner takes the activation back when the form hides.
  modal.reset();
  Hide();
  return result_;
}

void ModalForm::EndModal(int result) {
  if (!inModal_) return;
  result_ = result;
  ended_ = true;
  if (hwnd() != nullptr) ::PostMessageW(hwnd(), WM_NULL, 0, 0);  // wakes the loop
}

LRESULT ModalForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      if (inModal_) {
        EndModal(IDCANCEL);
      } else {
        Hide();
      }
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      HWND control = reinterpret_cast<HWND>(lParam);
      if (id == IDOK) {
        // Enter reaches here even while the OK button is disabled.
        HWND ok = ::GetDlgItem(hwnd(), IDOK);
        if (ok != nullptr && ::IsWindowEnabled(ok) == FALSE) return 0;
        if (OnOk()) EndModal(IDOK);
        return 0;
      }
      if (id == IDCANCEL) {
        EndModal(IDCANCEL);
        return 0;
      }
      OnCommand(id, code, control);
      return 0;
    }
    case WM_ACTIVATE:
      // Give the focus back to the control that had it, after a file chooser or another program.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(hwnd(), focus) != FALSE) lastFocus_ = focus;
      } else if (lastFocus_ != nullptr && ::IsChild(hwnd(), lastFocus_) != FALSE) {
        ::SetFocus(lastFocus_);
        return 0;
      }
      return Form::HandleMessage(msg, wParam, lParam);
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_ERASEBKGND: {
      RECT r{};
      ::GetClientRect(hwnd(), &r);
      ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    default:
      return Form::HandleMessage(msg, wParam, lParam);
  }
}

}  // namespace ql::win
