#include "controls/Hints.h"
#include "win/Win.h"

#include <algorithm>
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

TTTOOLINFOW RectToolInfo(HWND window, UINT_PTR id) {
  TTTOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.uFlags = 0;
  ti.hwnd = window;
  ti.uId = id;
  return ti;
}

// The text of a tool; older versions of the control assume 80 characters, newer ones take the
// size in wParam.
std::string ToolText(HWND tip, TTTOOLINFOW ti) {
  wchar_t buffer[1024] = {};
  ti.lpszText = buffer;
  ::SendMessageW(tip, TTM_GETTEXTW, std::size(buffer), reinterpret_cast<LPARAM>(&ti));
  return win::Narrow(buffer);
}
}  // namespace

bool Hints::Create(HWND owner) {
  InitCommonControlsOnce();
  tip_.reset();
  rectTools_.clear();  // they went with the old tooltip
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
  return ToolText(tip_.get(), ToolInfo(owner_, tool));
}

void Hints::SetRect(HWND window, UINT_PTR id, const RECT& rect, std::string_view text, bool show) {
  if (!tip_ || window == nullptr) return;
  if (!show || text.empty()) {
    Remove(window, id);
    return;
  }
  std::wstring wide = win::Widen(text);
  TTTOOLINFOW ti = RectToolInfo(window, id);
  ti.rect = rect;
  ti.lpszText = wide.data();
  if (std::find(rectTools_.begin(), rectTools_.end(), std::make_pair(window, id)) != rectTools_.end()) {
    ::SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    ::SendMessageW(tip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
  } else {
    ::SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    rectTools_.emplace_back(window, id);
  }
}

void Hints::MoveRect(HWND window, UINT_PTR id, const RECT& rect) {
  if (!tip_ || window == nullptr) return;
  TTTOOLINFOW ti = RectToolInfo(window, id);
  ti.rect = rect;
  ::SendMessageW(tip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Hints::Remove(HWND window, UINT_PTR id) {
  if (!tip_ || window == nullptr) return;
  const auto it = std::find(rectTools_.begin(), rectTools_.end(), std::make_pair(window, id));
  if (it == rectTools_.end()) return;
  rectTools_.erase(it);
  TTTOOLINFOW ti = RectToolInfo(window, id);
  ::SendMessageW(tip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Hints::Relay(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) const {
  if (!tip_ || rectTools_.empty()) return;
  if (msg < WM_MOUSEFIRST || msg > WM_MBUTTONDBLCLK) return;
  MSG m{};
  m.hwnd = window;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = static_cast<DWORD>(::GetMessageTime());
  m.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::ClientToScreen(window, &m.pt);
  ::SendMessageW(tip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

bool Hints::Has(HWND window, UINT_PTR id) const {
  if (!tip_ || window == nullptr) return false;
  TTTOOLINFOW ti = RectToolInfo(window, id);
  return ::SendMessageW(tip_.get(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

std::string Hints::Text(HWND window, UINT_PTR id) const {
  if (!Has(window, id)) return {};
  return ToolText(tip_.get(), RectToolInfo(window, id));
}

HintsOff::HintsOff(const Hints& hints, HWND window) : tip_(hints.hwnd()) {
  if (tip_ == nullptr) return;
  hints.Relay(window, WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1));
  ::SendMessageW(tip_, TTM_ACTIVATE, FALSE, 0);
}

HintsOff::~HintsOff() {
  if (tip_ != nullptr && ::IsWindow(tip_) != FALSE) ::SendMessageW(tip_, TTM_ACTIVATE, TRUE, 0);
}

}  // namespace ql
