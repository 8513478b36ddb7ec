// Window and shell utilities used across the program: the system task bar and the desktop's icon
// view, file operations through the shell, the task-switching keys during the lock, the shutdown
// privilege and the system version text. The two enumerations of top-level windows are
// core/WindowLists.h, over the window system of win/Win32WindowSystem.h.
//
// The rules behind them that need no window system (task-window styles, the task signature, the
// version text, the colour mix `MixColors`, the shell's file lists) are in core/WindowRules.h;
// the lock password's `ScrambleText` / `UnscrambleText` are in core/Scramble.h and are called
// from there directly. All of these run on the user-interface thread.
#pragma once

#include <string>
#include <string_view>

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
