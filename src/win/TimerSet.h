// The timers of one window: each started timer has its callback, WM_TIMER is routed to it by
// HandleMessage, and every timer is killed when the set goes (or with StopAll). The window that
// owns the set forwards its messages:
//
//   if (timers_.HandleMessage(msg, wParam, lParam)) return 0;
//
// A callback may stop its own timer, start others, or destroy the set.
#pragma once

#include <functional>
#include <map>

#include "win/Win.h"

namespace ql::win {

class TimerSet {
 public:
  using Id = UINT_PTR;

  TimerSet() = default;
  explicit TimerSet(HWND window) : window_(window) {}
  TimerSet(const TimerSet&) = delete;
  TimerSet& operator=(const TimerSet&) = delete;
  ~TimerSet() { StopAll(); }

  // The window the timers run on; the running timers are killed first.
  void Attach(HWND window);
  HWND hwnd() const { return window_; }

  // Starts a timer of `ms` milliseconds calling `callback` on every tick; 0 when the window has
  // none or the system refuses. Ids are never 0 and never reused by the set.
  Id Start(UINT ms, std::function<void()> callback);
  // Changes the period of a running timer (nothing for an unknown id).
  void SetInterval(Id id, UINT ms);
  void Stop(Id id);
  void StopAll();
  bool Running(Id id) const { return timers_.contains(id); }
  std::size_t size() const { return timers_.size(); }

  // WM_TIMER of one of this set's timers: runs its callback and answers true.
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  // Far above the small ids that code calling SetTimer by hand tends to use.
  static constexpr Id kFirstId = 0x5100;

  HWND window_ = nullptr;
  Id next_ = kFirstId;
  std::map<Id, std::function<void()>> timers_;
};

}  // namespace ql::win
