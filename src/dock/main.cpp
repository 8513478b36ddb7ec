// The program block: creates the windows in their order, shows the dock and runs the message
// loop until the dock window closes.
#include "core/Config.h"
#include "dock/DockPeers.h"
#include "dock/Quaylite.h"
#include "taskbar/TaskBar.h"
#include "win/Form.h"
#include "win/Registrations.h"
#include "win/RegistryStore.h"
#include "win/Win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ql::RecoverSystemTaskBar();  // a dock killed while its task bar ran left the system's hidden
  ql::win::ComScope com;       // for the shell's icon and namespace calls, for the whole run
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);

  ql::win::RegistryStore store;
  ql::TConfig config;

  // The application's hidden owner window: it keeps the dock and its forms off the task bar.
  ql::win::Form application;
  if (!application.CreateForm(nullptr, L"TApplication", L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0))
    return 1;

  // The dock first (its FormCreate reads the store and builds the bar), then the other windows.
  ql::DockPeers peers;
  ql::TQuaylite dock(store, config, peers);
  if (!dock.Create(application.hwnd())) return 1;
  dock.FormShow();
  dock.StartReachedLoop();

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
