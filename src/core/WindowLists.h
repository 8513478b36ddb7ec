// The two enumerations of top-level windows: the task windows the task bar shows, and the
// application windows the lock minimises and the virtual screens file. Handles travel as decimal
// text of their 32-bit value, one per entry, in the system's order.
#pragma once

#include <string>
#include <vector>

#include "core/WindowRules.h"
#include "core/WindowSystem.h"

namespace ql {

// The window's styles pass IsTaskWindowStyle: it may get a task button.
bool IsTaskWindow(const TopWindow& window);

// The enumerations and the state they keep between calls: the signature of the task-window set,
// and the working lists (kept to spare allocations on every poll of the task bar).
class WindowLists {
 public:
  explicit WindowLists(WindowSystem& system) : system_(system) {}

  // Appends to `list` the visible top-level windows that have neither parent nor owner and are
  // task windows. Sets `changed` to true when the wrapping sum of their handles differs from the
  // previous call's (0 before the first call); never sets it to false.
  void ListTaskWindows(std::vector<std::string>& list, bool& changed);

  // Replaces `list` with the visible top-level windows of the desktop's applications: windows
  // without a parent that are task windows, and windows with a parent (owner) that are not, such
  // as dialogs. `appMainWindow` and the windows it owns are left out; with kNoWindow, nothing is.
  void ListAppWindows(std::vector<std::string>& list, WindowId appMainWindow);

 private:
  WindowSystem& system_;
  TaskSignature signature_;
  std::vector<TopWindow> windows_;
  std::vector<std::string> tasks_;
  std::vector<std::string> apps_;
};

}  // namespace ql
