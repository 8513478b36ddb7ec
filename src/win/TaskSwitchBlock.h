// Task-switching keys off while the object lives: a low-level keyboard hook that swallows
// Alt+Tab, Alt+Esc, Ctrl+Esc and the Windows keys (core/LockKeys.h). The hook runs on the thread
// that made the object, so that thread must keep taking messages (the lock's modal loop does).
// Where the system has no low-level hooks, nothing is installed (Installed() is false).
#pragma once

#include "core/LockKeys.h"
#include "win/Win.h"

namespace ql::win {

class TaskSwitchBlock {
 public:
  TaskSwitchBlock();
  TaskSwitchBlock(const TaskSwitchBlock&) = delete;
  TaskSwitchBlock& operator=(const TaskSwitchBlock&) = delete;
  ~TaskSwitchBlock();

  bool Installed() const { return hook_ != nullptr; }

 private:
  static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
  // The hook's procedure has no object: the one block of the program keeps its filter here.
  static TaskSwitchFilter filter_;
  HHOOK hook_ = nullptr;
};

}  // namespace ql::win
