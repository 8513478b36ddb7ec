#include "win/TaskSwitchBlock.h"

#include "core/LockKeys.h"
#include "win/Window.h"

namespace ql::win {

TaskSwitchFilter TaskSwitchBlock::filter_;

TaskSwitchBlock::TaskSwitchBlock() {
  filter_ = TaskSwitchFilter{};
  hook_ = ::SetWindowsHookExW(WH_KEYBOARD_LL, &TaskSwitchBlock::KeyboardProc, ModuleInstance(), 0);
}

TaskSwitchBlock::~TaskSwitchBlock() {
  if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK TaskSwitchBlock::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto& event = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const bool released = (event.flags & LLKHF_UP) != 0;
    const bool systemAlt = (event.flags & LLKHF_ALTDOWN) != 0 || ::GetAsyncKeyState(VK_MENU) < 0;
    const bool systemCtrl = ::GetAsyncKeyState(VK_CONTROL) < 0;
    if (filter_.Swallow(event.vkCode, released, systemAlt, systemCtrl)) return 1;
  }
  // The chain's handle is ignored by every system that has low-level hooks.
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace ql::win
