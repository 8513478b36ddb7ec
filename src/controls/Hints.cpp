#include "controls/Hints.h"

#include <commctrl.h>

#include <iterator>
#include <string>

#include "win/Utf.h"

namespace ql {

namespace {
void InitCommonControlsOnce() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES;
    return ::InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

// The themed tooltip of version 6 of the common controls ignores the background colour; the plain
// look takes it. uxtheme is optional (not there before Windows XP), so it is looked up.
void DropVisualStyle(HWND tip) {
  HMODULE uxtheme = ::GetModuleHandleW(L"uxtheme.dll");
  if (uxtheme == nullptr) return;  // not loaded: the process is not themed
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  auto proc = reinterpret_cast<void*>(::GetProcAddress(uxtheme, "SetWindowTheme"));
  if (proc == nullptr) return;
  auto setTheme = reinterpret_cast<SetWindowThemeFn>(proc);
  setTheme(tip, L"", L"");
}

// The first size of the record: understood by every version of the tooltip control.
TTTOOLINFOW ToolInfo(HWND owner, HWND tool) {
  TTTOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = owner;
  ti.uId = reinterpret_cast<UINT_PTR>(tool);
  return ti;
}
}  // namespace

bool Hints::Create(HWND owner) {
  InitCommonControlsOnce();
  tip_.reset();
  owner_ = owner;
  tip_.reset(::CreateWindowExW(
      WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr));
  if (!tip_) return false;
  DropVisualStyle(tip_.get());
  ::SendMessageW(tip_.get(), TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(kInitialDelayMs, 0));
  ::SendMessageW(tip_.get(), TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kAutoPopMs, 0));
  ::SendMessageW(tip_.get(), TTM_SETTIPBKCOLOR, kBackground, 0);
  ::SendMessageW(tip_.get(), TTM_SETTIPTEXTCOLOR, RGB(0, 0, 0), 0);
  return true;
}

void Hints::Set(HWND tool, std::string_view text, bool show) {
  if (!tip_ || tool == nullptr) return;
  if (!show || text.empty()) {
    Remove(tool);
    return;
  }
  std::wstring wide = win::Widen(text);
  TTTOOLINFOW ti = ToolInfo(owner_, tool);
  ti.lpszText = wide.data();
  if (Has(tool)) {
    ::SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  } else {
    ::SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void Hints::Remove(HWND tool) {
  if (!tip_ || tool == nullptr) return;
  TTTOOLINFOW ti = ToolInfo(owner_, tool);
  ::SendMessageW(tip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

bool Hints::Has(HWND tool) const {
  if (!tip_ || tool == nullptr) return false;
  TTTOOLINFOW ti = ToolInfo(owner_, tool);
  return ::SendMessageW(tip_.get(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

std::string Hints::Text(HWND tool) const {
  if (!Has(tool)) return {};
  // Older versions of the control assume 80 characters; newer ones take the size in wParam.
  wchar_t buffer[1024] = {};
  TTTOOLINFOW ti = ToolInfo(owner_, tool);
  ti.lpszText = buffer;
  ::SendMessageW(tip_.get(), TTM_GETTEXTW, std::size(buffer), reinterpret_cast<LPARAM>(&ti));
  return win::Narrow(buffer);
}

}  // namespace ql
