// The commands that end the session, seen through a recorder instead of the system.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "taskbar/Session.h"

namespace {

class Recorder final : public ql::SessionControl {
 public:
  bool refuse = false;  // ExitWindowsEx fails without the forced form
  bool throwOnFormat = false;
  std::vector<std::string> calls;

  bool ExitWindowsEx(UINT flags) override {
    calls.push_back("exit " + std::to_string(flags));
    return !refuse || (flags & EWX_FORCE) != 0;
  }
  void EnableShutdownPrivilege() override { calls.emplace_back("privilege"); }
  void SHFormatDrive(HWND owner, UINT drive, UINT formatId, UINT options) override {
    calls.push_back("format " + std::to_string(owner != nullptr) + " " + std::to_string(drive) + " " +
                    std::to_string(formatId) + " " + std::to_string(options));
    if (throwOnFormat) throw std::runtime_error("format");
  }
};

std::string Exit(UINT flags) { return "exit " + std::to_string(flags); }

}  // namespace

TEST(Session, ShutdownAndRestartForceOnlyWhenRefused) {
  Recorder accepted;
  ql::ShutdownComputer(accepted);
  ql::RestartComputer(accepted);
  EXPECT_EQ(accepted.calls, (std::vector<std::string>{Exit(EWX_SHUTDOWN), Exit(EWX_REBOOT)}));

  Recorder refused;
  refused.refuse = true;
  ql::ShutdownComputer(refused);
  ql::RestartComputer(refused);
  EXPECT_EQ(refused.calls,
            (std::vector<std::string>{Exit(EWX_SHUTDOWN), "privilege", Exit(EWX_SHUTDOWN | EWX_FORCE),
                                      Exit(EWX_REBOOT), "privilege", Exit(EWX_REBOOT | EWX_FORCE)}));
}

TEST(Session, LogoffAsksOnceAndFormatTakesTheFirstFloppyWithTheDefaultFormat) {
  Recorder r;
  r.refuse = true;
  ql::LogoutComputer(r);
  r.throwOnFormat = true;
  ql::FormatFloppy(r, ::GetDesktopWindow());  // what the call throws stays here
  EXPECT_EQ(r.calls, (std::vector<std::string>{Exit(EWX_LOGOFF), "format 1 0 65535 0"}));
}
