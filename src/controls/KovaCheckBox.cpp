#include "controls/KovaCheckBox.h"

#include <utility>

#include "controls/ThemedPaint.h"

namespace ql {

TKovaCheckBox::~TKovaCheckBox() { Destroy(); }

bool TKovaCheckBox::Create(HWND parent, int id, int x, int y, int width, int height, std::string caption) {
  return CreateToggle(kClassName, parent, id, x, y, width, height, std::move(caption));
}

void TKovaCheckBox::SetBorder(bool border) {
  if (border == border_) return;
  border_ = border;
  Repaint();
}

void TKovaCheckBox::SetState(TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  Repaint();
}

void TKovaCheckBox::SetChecked(bool checked) {
  SetState(checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
}

void TKovaCheckBox::Click() {
  SetState(NextCheckState(state_, allowGrayed_));
  const std::weak_ptr<int> alive = Alive();
  auto handler = OnClick;
  if (handler) handler(*this);
  if (alive.expired()) return;
  TakeFocus();
}

void TKovaCheckBox::Accelerator() {
  TakeFocus();
  if (Focused()) SetState(NextCheckState(state_, allowGrayed_));
}

LRESULT TKovaCheckBox::GetCheck() const {
  switch (state_) {
    case TCheckBoxState::cbChecked:
      return BST_CHECKED;
    case TCheckBoxState::cbGrayed:
      return BST_INDETERMINATE;
    case TCheckBoxState::cbUnchecked:
      break;
  }
  return BST_UNCHECKED;
}

void TKovaCheckBox::SetCheck(WPARAM check) {
  SetState(check == BST_CHECKED         ? TCheckBoxState::cbChecked
           : check == BST_INDETERMINATE ? TCheckBoxState::cbGrayed
                                        : TCheckBoxState::cbUnchecked);
}

void TKovaCheckBox::DrawMark(win::Canvas& canvas, int x0, int y0) const {
  const COLORREF face = Color();
  canvas.SetBrushColor(face);
  if (border_) {
    // Filled and outlined in white, then black and dark grey at the bottom and right.
    canvas.SetPenColor(themed::kWhite);
    canvas.Rectangle(x0, y0, x0 + kMarkSize, y0 + kMarkSize);
    themed::DrawMarkSteps(canvas, kCheckBoxRelief, x0, y0, face);
  } else {
    canvas.FillRect(x0, y0, x0 + kMarkSize, y0 + kMarkSize);
  }
  // Grayed shows the empty box, as unchecked does.
  if (state_ == TCheckBoxState::cbChecked) themed::DrawMarkSteps(canvas, kCheckTick, x0, y0, face);
}

}  // namespace ql
