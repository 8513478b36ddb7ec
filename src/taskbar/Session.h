// The commands that end the session (shut down, restart, log off) and the floppy format, behind
// one interface: the dock runs them through SystemSession, and tests through a recorder, so that
// a test never ends the session of the machine it runs on.
#pragma once

#include <memory>

#include "win/Win.h"

namespace ql {

class SessionControl {
 public:
  SessionControl() = default;
  SessionControl(const SessionControl&) = delete;
  SessionControl& operator=(const SessionControl&) = delete;
  virtual ~SessionControl() = default;

  // ExitWindowsEx(flags); false when the system refuses.
  virtual bool ExitWindowsEx(UINT flags) = 0;
  // Enables the shutdown privilege of the process (silent on failure).
  virtual void EnableShutdownPrivilege() = 0;
  // The shell's format dialog for `drive` (0 is the first floppy drive).
  virtual void SHFormatDrive(HWND owner, UINT drive, UINT formatId, UINT options) = 0;
};

// The real calls. SHFormatDrive is looked up when first used: a shell without it does nothing.
class SystemSession final : public SessionControl {
 public:
  bool ExitWindowsEx(UINT flags) override;
  void EnableShutdownPrivilege() override;
  void SHFormatDrive(HWND owner, UINT drive, UINT formatId, UINT options) override;
};

// The program's session: the real calls, unless the environment variable QUAYLITE_SESSION_LOG
// names a file. Then each call is appended to that file as one line ("ExitWindowsEx 1",
// "EnableShutdownPrivilege", "SHFormatDrive 0 65535 0"), a plain request to end the session is
// refused and a forced one accepted: the end-to-end tests see the commands and their fallback on
// the real program without ending the session they run in.
std::unique_ptr<SessionControl> ProgramSession();

// "Shutdown Computer" and "Restart Computer": the plain request first; only when the system
// refuses it, the privilege and the forced request. No message either way.
void ShutdownComputer(SessionControl& session);
void RestartComputer(SessionControl& session);
// "Logout Computer": one request; the dock closes itself afterwards.
void LogoutComputer(SessionControl& session);
// "Format Floppy Disk": the first floppy drive, the default format, no options; anything the
// call throws is swallowed.
void FormatFloppy(SessionControl& session, HWND owner);

}  // namespace ql
