#include "dock/DesktopStrip.h"

#include "core/BarLayout.h"
#include "win/Screen.h"

namespace ql {

namespace {
constexpr int kOffScreen = -2000;
}  // namespace

UINT_PTR DesktopStrip::SendToShell(DWORD message, APPBARDATA& data) {
  return ::SHAppBarMessage(message, &data);
}

void DesktopStrip::Place(HWND dock, Edge edge) {
  if (dock == nullptr) return;
  RECT r{};
  ::GetWindowRect(dock, &r);
  const int left = r.left;
  const int top = r.top;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  ::SetWindowPos(dock, nullptr, kOffScreen, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  const AppBarRequest req = DesktopToolbarRequest(edge, left, width, height, ::GetSystemMetrics(SM_CYFRAME),
                                                  win::ScreenWidth(), win::ScreenHeight());
  APPBARDATA abd{};
  abd.cbSize = sizeof abd;
  abd.hWnd = dock;
  abd.uEdge = req.edge;
  abd.rc = RECT{req.left, req.top, req.right, req.bottom};
  if (dock_ != dock) {
    Remove();
    send_(ABM_NEW, abd);
    dock_ = dock;
  }
  send_(ABM_SETPOS, abd);  // the rectangle the shell gives back is not used
  switch (edge) {
    case Edge::Left:
      ::MoveWindow(dock, 0, top, width, height, TRUE);
      break;
    case Edge::Top:
      ::MoveWindow(dock, left, 0, width, height, TRUE);
      break;
    case Edge::Right:
      ::MoveWindow(dock, left, top, width, height, TRUE);
      break;
  }
}

void DesktopStrip::Remove() {
  if (dock_ == nullptr) return;
  APPBARDATA abd{};
  abd.cbSize = sizeof abd;
  abd.hWnd = dock_;
  abd.uEdge = ABE_RIGHT;
  dock_ = nullptr;
  send_(ABM_REMOVE, abd);
}

}  // namespace ql
