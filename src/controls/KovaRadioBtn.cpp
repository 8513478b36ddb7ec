#include "controls/KovaRadioBtn.h"

#include <utility>

#include "controls/ThemedPaint.h"

namespace ql {

TKovaRadioBtn::~TKovaRadioBtn() { Destroy(); }

bool TKovaRadioBtn::Create(HWND parent, int id, int x, int y, int width, int height, std::string caption) {
  return CreateToggle(kClassName, parent, id, x, y, width, height, std::move(caption));
}

void TKovaRadioBtn::SetChecked(bool checked) {
  if (checked != checked_) {
    checked_ = checked;
    if (checked) UncheckSiblings();
  }
  Repaint(true);
}

void TKovaRadioBtn::UncheckSiblings() const {
  if (hwnd() == nullptr) return;
  HWND parent = ::GetParent(hwnd());
  if (parent == nullptr) return;
  for (HWND h = ::GetWindow(parent, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (h == hwnd()) continue;
    wchar_t name[32] = {};
    ::GetClassNameW(h, name, 32);
    if (std::wstring_view(name) == kClassName) ::SendMessageW(h, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

void TKovaRadioBtn::Click() {
  const std::weak_ptr<int> alive = Alive();
  auto handler = OnClick;
  if (handler) handler(*this);
  if (alive.expired()) return;
  SetChecked(true);
  TakeFocus();
}

void TKovaRadioBtn::DrawMark(win::Canvas& canvas, int x0, int y0) const {
  const COLORREF face = Color();
  HDC dc = canvas.dc();
  // The circle, filled with the control's colour and outlined in dark grey.
  canvas.SetBrushColor(face);
  canvas.SetPenColor(themed::kDarkGrey);
  ::Ellipse(dc, x0 + kRadioCircle.left, y0 + kRadioCircle.top, x0 + kRadioCircle.right,
            y0 + kRadioCircle.bottom);
  themed::DrawMarkSteps(canvas, kRadioRelief, x0, y0, face);
  if (checked_) {
    canvas.SetBrushColor(themed::kWhite);
    canvas.SetPenColor(themed::kWhite);
    ::Ellipse(dc, x0 + kRadioDot.left, y0 + kRadioDot.top, x0 + kRadioDot.right, y0 + kRadioDot.bottom);
  }
}

}  // namespace ql
