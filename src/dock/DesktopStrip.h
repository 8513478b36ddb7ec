// The dock's registration with the shell as an application desktop toolbar, which reserves the
// bar's strip of the screen. The first placement registers it (ABM_NEW), every placement asks
// for the strip again (ABM_SETPOS) and moves the bar to its edge, and Remove gives the strip back
// (ABM_REMOVE); so does the owner when it goes.
#pragma once

#include <functional>
#include <utility>

#include "core/Config.h"
#include "win/Win.h"

namespace ql {

class DesktopStrip {
 public:
  // The shell's SHAppBarMessage; tests give their own.
  using Message = std::function<UINT_PTR(DWORD message, APPBARDATA& data)>;
  static UINT_PTR SendToShell(DWORD message, APPBARDATA& data);

  explicit DesktopStrip(Message send = &DesktopStrip::SendToShell) : send_(std::move(send)) {}
  DesktopStrip(const DesktopStrip&) = delete;
  DesktopStrip& operator=(const DesktopStrip&) = delete;
  ~DesktopStrip() { Remove(); }

  // Reserves the strip for `dock` on `edge` as the dock window is now placed: moves it off the
  // screen while the shell is asked, registers it the first time, sets its position, then moves
  // the bar back to its edge (repainted).
  void Place(HWND dock, Edge edge);
  // Gives the strip back; nothing when it is not registered.
  void Remove();
  // BarreInscrite: registered with the shell.
  bool Registered() const { return dock_ != nullptr; }
  // Another way to reach the shell (tests watch the messages).
  void SetMessage(Message send) { send_ = std::move(send); }

 private:
  Message send_;
  HWND dock_ = nullptr;
};

}  // namespace ql
