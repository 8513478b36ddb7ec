// Modal for every window of the program: while a ThreadModalScope lives, every visible top-level
// window of this thread that was enabled is disabled (the one window given excepted), so that no other
// window of the program (the dock, its branch, the task bar) acts on the model while a dialog or
// a message box runs its own loop. Exactly those windows are enabled again when it goes.
#pragma once

#include <string_view>
#include <vector>

#include "win/Win.h"

namespace ql::win {

class ThreadModalScope {
 public:
  explicit ThreadModalScope(HWND keep = nullptr);
  ThreadModalScope(const ThreadModalScope&) = delete;
  ThreadModalScope& operator=(const ThreadModalScope&) = delete;
  ~ThreadModalScope();

  const std::vector<HWND>& Disabled() const { return disabled_; }

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self);
  HWND keep_;
  std::vector<HWND> disabled_;
};

// A message box of the program (MessageBoxW) under a ThreadModalScope. Returns its answer.
int MessageBoxModal(HWND owner, std::string_view text, std::string_view caption, UINT type);

}  // namespace ql::win
