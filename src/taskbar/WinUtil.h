// Window and shell utilities used across the program: the system task bar and the desktop's icon
// view, the two enumerations of top-level windows, file operations through the shell, the
// task-switching keys during the lock, the shutdown privilege and the system version text.
//
// The rules behind them that need no window system (task-window styles, the task signature, the
// version text, the colour mix `MixColors`, the shell's file lists) are in core/WindowRules.h;
// the lock password's `ScrambleText` / `UnscrambleText` are in core/Scramble.h and are called
// from there directly. All of these run on the user-interface thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/WindowRules.h"
#include "win/Win.h"

namespace ql {

// The system task bar (top-level window of class "Shell_TrayWnd"); nullptr when there is none.
HWND GetTrayWnd();

// Hides and disables (hide true) or shows and enables (hide false) the desktop's icon view: the
// first child of the "Progman" window titled "Program Manager". Nothing happens without one.
void ShowDesktopIcons(bool hide);

// The window's styles pass IsTaskWindowStyle: it may get a task button.
bool IsTaskWindow(HWND window);

// A window handle as the enumerations deliver it (decimal text of its 32-bit value), and back;
// HandleFromText gives nullptr for a text that is no handle.
std::string HandleToText(HWND window);
HWND HandleFromText(std::string_view text);

// The two enumerations of top-level windows and the state they keep between calls: the
// signature of the task-window set, and the working lists (kept to spare an allocation per poll).
class WindowLists {
 public:
  // Appends to `list` the visible top-level windows that have neither parent nor owner and are
  // task windows, in enumeration order. Sets `changed` to true when the wrapping sum of their
  // handles differs from the previous call's (0 before the first call); never sets it to false.
  void ListTaskWindows(std::vector<std::string>& list, bool& changed);

  // Replaces `list` with the visible top-level windows of the desktop's applications: windows
  // without a parent that are task windows, and windows with a parent (owner) that are not, such
  // as dialogs. `appMainWindow` and the windows it owns are left out; with nullptr, nothing is.
  void ListAppWindows(std::vector<std::string>& list, HWND appMainWindow);

 private:
  static BOOL CALLBACK CollectTaskWindow(HWND window, LPARAM self);
  static BOOL CALLBACK CollectAppWindow(HWND window, LPARAM self);

  TaskSignature signature_;
  std::vector<std::string> tasks_;
  std::vector<std::string> apps_;
  HWND appMainWindow_ = nullptr;  // the window ListAppWindows leaves out, during the enumeration
};

// One shell file operation (1 copy, 2 delete, 3 move) on `source`, a list of paths joined by
// "|", owned by `owner`. A delete goes to the Recycle Bin, silently and without confirmation,
// unless `destination` is exactly "vide" (then the files are deleted for good). True when the
// shell reports success and nothing was aborted; false for any other operation code.
bool ShellFileOp(HWND owner, std::string_view source, std::string_view destination, int operation);

// ShellFileOp with operation 2: the recycle bin passes an empty destination.
bool DeleteToRecycler(HWND owner, std::string_view files, std::string_view destination);

// Tells the system a screen saver runs (on) or not and switches fast task switching off (on) or
// back on, so that the task-switching keys do nothing while the lock shows.
void LockSystemKeys(bool on);

// Enables "SeShutdownPrivilege" in the process token, so that a forced shutdown can follow.
// Failures are silent (systems without security simply refuse).
void EnableShutdownPrivilege();

// The system name (and service pack), "Version M.m" and "Build N", joined by "\r".
std::string GetWindowsVersion();

}  // namespace ql
