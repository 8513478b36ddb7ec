#include "dock/MainButton.h"

#include <algorithm>

#include "core/BarLayout.h"
#include "dock/Quaylite.h"
#include "dock/TileInput.h"
#include "win/Screen.h"

namespace ql {

namespace {
bool NoKeys(const MouseEvent& e) { return !e.shift && !e.ctrl && !e.alt; }
}  // namespace

void MainButton::Wire(TKovaBtn& mainBtn) {
  mainBtn.OnMouseDown = [this](TKovaBtn&, const MouseEvent& e) { MainBtnMouseDown(e); };
  mainBtn.OnMouseMove = [this](TKovaBtn&, const MouseEvent& e) { MainBtnMouseMove(e); };
}

void MainButton::MainBtnMouseDown(const MouseEvent& e) {
  if (LeftAlone(e) && e.doubleClick) {
    FoldBar();
  } else if (LeftAlone(e)) {
    PosSouris = win::CursorPos();
  } else if (e.button == MouseButton::Right && !e.left && !e.middle && NoKeys(e)) {
    dock_.HideBranch();
    const POINT at = win::CursorPos();
    dock_.PopupMainMenu(POINT{at.x + 2, at.y + 5});
  }
}

void MainButton::FoldBar() {
  // Let what is pending (the paint of the press) run first.
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (dock_.Closed()) return;
  dock_.HideBranch();
  const HWND hwnd = dock_.hwnd();
  const TConfig& cfg = dock_.Config();
  const int side = dock_.TileSide();
  const bool top = EdgeOf(cfg.Sens) == Edge::Top;
  const RECT r = dock_.Bounds();
  const int current = top ? r.right - r.left : r.bottom - r.top;
  dock_.PlaySnd(current == side ? cfg.OpenWharf : cfg.CloseWharf);
  for (int len : FoldSteps(current, side, dock_.LongueurBarre)) {
    ::SetWindowPos(hwnd, nullptr, r.left, r.top, top ? len : side, top ? side : len,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
}

void MainButton::MainBtnMouseMove(const MouseEvent& e) {
  if (!e.left || e.right || e.middle || !NoKeys(e)) return;
  dock_.HideBranch();
  const POINT c = win::CursorPos();
  const RECT r = dock_.Bounds();
  const int side = dock_.TileSide();
  const int screenWidth = win::ScreenWidth();
  const int screenHeight = win::ScreenHeight();
  if (EdgeOf(dock_.Config().Sens) == Edge::Top) {
    const int left = std::clamp(static_cast<int>(c.x - PosSouris.x + r.left), 0, screenWidth - side);
    ::SetWindowPos(dock_.hwnd(), nullptr, left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    const int top = std::clamp(static_cast<int>(c.y - PosSouris.y + r.top), 0, screenHeight - side);
    ::SetWindowPos(dock_.hwnd(), nullptr, r.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  PosSouris = c;
}

}  // namespace ql
