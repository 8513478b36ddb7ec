#include "dock/BarreBranche.h"

#include "win/Utf.h"

namespace ql {

win::Bitmap LoadTexture(const std::string& path) {
  if (path.empty()) return {};
  return win::Bitmap(static_cast<HBITMAP>(::LoadImageW(nullptr, win::Widen(path).c_str(), IMAGE_BITMAP, 0, 0,
                                                       LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

bool TBarreBranche::Create(HWND owner) {
  if (!CreateForm(owner, L"TBarreBranche", L"BarreBranche", WS_POPUP, WS_EX_TOOLWINDOW, 0, -500, 48, 48)) {
    return false;
  }
  host_.Attach(hwnd(), hints_, icons_);
  return true;
}

void TBarreBranche::SetTileServices(Hints* hints, IconCache* icons) {
  hints_ = hints;
  icons_ = icons;
  if (hwnd() != nullptr) host_.Attach(hwnd(), hints_, icons_);
}

int TBarreBranche::CreeBarreBranche(const TBouton* group, const BranchStyle& style) {
  RECT r = Bounds();
  ::SetWindowPos(hwnd(), nullptr, r.left, -500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  controls_.clear();
  if (group == nullptr || style.config == nullptr) return 0;
  const TConfig& cfg = *style.config;
  const bool column = EdgeOf(cfg.Sens) == Edge::Top;
  int q = 0;
  for (const TBouton* m : ButtonList::Members(*group)) {
    auto btn = std::make_unique<TKovaBtn>();
    if (!btn->Create(host_, column ? 0 : q, column ? q : 0, style.side, style.side)) continue;
    btn->SetAutoSize(false);
    btn->SetIconSize(cfg.Taille);
    btn->SetIconSource(m->IconPath, m->IconIndex);
    btn->SetColor(cfg.Couleur);
    btn->SetBorder(cfg.Relief);
    btn->SetTag(m->Numero);
    if (m->Texture.empty()) {
      btn->SetTexture(style.barTexture);
    } else {
      win::Bitmap own = LoadTexture(m->Texture);
      btn->SetTexture(own.get());
    }
    btn->SetHint(m->NomApp);
    btn->SetCaption(cfg.ShowName ? m->NomApp : std::string());
    btn->SetShowHint(true);
    btn->SetShowDots(false);
    btn->SetBounds(column ? 0 : q, column ? q : 0, style.side, style.side);
    if (style.wire) style.wire(*btn);
    controls_.push_back(std::move(btn));
    q += style.side;
  }
  return static_cast<int>(controls_.size());
}

TKovaBtn* TBarreBranche::TileAtScreen(POINT screen) const {
  if (hwnd() == nullptr || ::WindowFromPoint(screen) != hwnd()) return nullptr;
  ::ScreenToClient(hwnd(), &screen);
  return host_.TileAt(screen);
}

LRESULT TBarreBranche::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT tileResult = 0;
  if (host_.HandleMessage(msg, wParam, lParam, tileResult)) return tileResult;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the member tiles cover the window
    case WM_PAINT: {
      win::PaintDc dc(hwnd());
      host_.Paint(dc.get(), dc.info().rcPaint);
      return 0;
    }
    default:
      return Form::HandleMessage(msg, wParam, lParam);
  }
}

}  // namespace ql
