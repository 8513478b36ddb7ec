#include "win/TimerSet.h"

#include <utility>

namespace ql::win {

void TimerSet::Attach(HWND window) {
  StopAll();
  window_ = window;
}

TimerSet::Id TimerSet::Start(UINT ms, std::function<void()> callback) {
  if (window_ == nullptr || !callback) return 0;
  const Id id = next_++;
  if (::SetTimer(window_, id, ms, nullptr) == 0) return 0;
  timers_.emplace(id, std::move(callback));
  return id;
}

void TimerSet::SetInterval(Id id, UINT ms) {
  if (timers_.contains(id)) ::SetTimer(window_, id, ms, nullptr);
}

void TimerSet::Stop(Id id) {
  if (timers_.erase(id) != 0 && window_ != nullptr) ::KillTimer(window_, id);
}

void TimerSet::StopAll() {
  if (window_ != nullptr && ::IsWindow(window_) != FALSE) {
    for (const auto& entry : timers_) ::KillTimer(window_, entry.first);
  }
  timers_.clear();
}

bool TimerSet::HandleMessage(UINT msg, WPARAM wParam, LPARAM) {
  if (msg != WM_TIMER) return false;
  const auto it = timers_.find(static_cast<Id>(wParam));
  if (it == timers_.end()) return false;
  // The callback is copied: it may stop its own timer (erasing the entry) while it runs.
  const std::function<void()> callback = it->second;
  callback();  // may have destroyed the set: nothing of it is touched afterwards
  return true;
}

}  // namespace ql::win
