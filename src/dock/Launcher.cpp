#include "dock/Launcher.h"

#include <string>

#include "win/Handles.h"
#include "win/Utf.h"

namespace ql {

bool Launcher::Run(const TBouton& record) {
  const SplitCommand cmd = SplitBtnApp(record.BtnApp);
  DernierLance = record.Numero;
  const std::wstring target = win::Widen(cmd.target);
  const std::wstring params = win::Widen(cmd.parameters);
  const std::wstring dir = win::Widen(cmd.directory);
  SHELLEXECUTEINFOW sei{};
  sei.cbSize = sizeof sei;
  // A failed launch stays silent: no error box from the shell.
  sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  sei.lpFile = target.c_str();
  sei.lpParameters = params.empty() ? nullptr : params.c_str();
  sei.lpDirectory = dir.empty() ? nullptr : dir.c_str();
  sei.nShow = SW_SHOWNORMAL;
  if (::ShellExecuteExW(&sei) == FALSE) {
    DernierLance = kNoLaunch;
    return false;
  }
  win::KernelHandle process(sei.hProcess);  // not waited on
  return true;
}

}  // namespace ql
