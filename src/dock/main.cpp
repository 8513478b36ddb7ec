// The program block: creates the windows in their order, shows the dock and runs the message
// loop until the dock window closes.

#include "core/Config.h"
#include "dialogs/Proprietes.h"
#include "dialogs/SendTo.h"
#include "dock/BarreBranche.h"
#include "dock/Quaylite.h"
#include "win/Form.h"
#include "win/RegistryStore.h"
#include "win/Win.h"

namespace {

// COM for the shell's icon and namespace calls, for the whole run.
class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (ok_) ::CoUninitialize();
  }

 private:
  bool ok_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ComScope com;
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);

  ql::win::RegistryStore store;
  ql::TConfig config;

  // The application's hidden owner window: it keeps the dock and its forms off the task bar.
  ql::win::Form application;
  if (!application.CreateForm(nullptr, L"TApplication", L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0))
    return 1;
  const HWND owner = application.hwnd();

  ql::TQuaylite dock(store, config);
  ql::TBarreBranche branch;
  ql::win::Form configuration;
  ql::TProprietes proprietes;
  ql::TSendTo sendTo;
  ql::win::Form password;
  ql::win::Form taskBar;

  if (!dock.Create(owner, branch, &password)) return 1;
  branch.Create(owner);
  const DWORD dialog = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  configuration.CreateForm(owner, L"TConfiguration", L"", dialog, WS_EX_DLGMODALFRAME, 0, 0, 0, 0);
  proprietes.Create(owner);
  sendTo.Create(owner);
  dock.SetDialogs(&proprietes, &sendTo);
  password.CreateForm(owner, L"TFrmPassWD", L"Quaylite Protection", dialog, WS_EX_DLGMODALFRAME, 0, 0, 0, 0);
  taskBar.CreateForm(owner, L"TTaskBar", L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0);

  dock.FormShow();

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
