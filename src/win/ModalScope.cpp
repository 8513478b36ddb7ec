#include "win/ModalScope.h"

#include "win/Utf.h"

namespace ql::win {

ThreadModalScope::ThreadModalScope(HWND keep) : keep_(keep) {
  ::EnumThreadWindows(::GetCurrentThreadId(), &ThreadModalScope::Collect, reinterpret_cast<LPARAM>(this));
  for (HWND window : disabled_) ::EnableWindow(window, FALSE);
}

ThreadModalScope::~ThreadModalScope() {
  // In reverse: the first window disabled (the highest in the z-order) is enabled last, so the
  // activation goes back to the window that had it.
  for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it) {
    if (::IsWindow(*it) != FALSE) ::EnableWindow(*it, TRUE);
  }
}

BOOL CALLBACK ThreadModalScope::Collect(HWND window, LPARAM self) {
  auto* scope = reinterpret_cast<ThreadModalScope*>(self);
  // Only what shows: a hidden window takes no input (and the thread's hidden helper windows, such
  // as the input method's, must keep working).
  if (window != scope->keep_ && ::IsWindowVisible(window) != FALSE && ::IsWindowEnabled(window) != FALSE) {
    scope->disabled_.push_back(window);
  }
  return TRUE;
}

int MessageBoxModal(HWND owner, std::string_view text, std::string_view caption, UINT type) {
  ThreadModalScope scope;
  const std::wstring wtext = Widen(text);
  const std::wstring wcaption = Widen(caption);
  return ::MessageBoxW(owner, wtext.c_str(), wcaption.c_str(), type);
}

}  // namespace ql::win
