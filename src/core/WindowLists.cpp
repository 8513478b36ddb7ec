#include "core/WindowLists.h"

namespace ql {

bool IsTaskWindow(const TopWindow& window) { return IsTaskWindowStyle(window.style, window.exStyle); }

void WindowLists::ListTaskWindows(std::vector<std::string>& list, bool& changed) {
  tasks_.clear();
  signature_.Begin();
  system_.TopLevel(windows_);
  for (const TopWindow& w : windows_) {
    if (!w.visible || w.parent != kNoWindow || w.owner != kNoWindow || !IsTaskWindow(w)) continue;
    tasks_.push_back(HandleText(w.id));
    signature_.Add(w.id);
  }
  list.insert(list.end(), tasks_.begin(), tasks_.end());
  if (signature_.Finish()) changed = true;
}

void WindowLists::ListAppWindows(std::vector<std::string>& list, WindowId appMainWindow) {
  apps_.clear();
  list.clear();
  system_.TopLevel(windows_);
  for (const TopWindow& w : windows_) {
    if (!w.visible) continue;
    if (appMainWindow != kNoWindow && (w.id == appMainWindow || w.owner == appMainWindow)) continue;
    const bool hasParent = w.parent != kNoWindow;
    if (hasParent != IsTaskWindow(w)) apps_.push_back(HandleText(w.id));
  }
  list.insert(list.end(), apps_.begin(), apps_.end());
}

}  // namespace ql
