// TKovaCheckBox, the themed check box of the dialogs: a flat, hand-drawn box (raised outline and
// a three-tone tick) beside its caption; optionally a third, grayed state reached by clicking.
// Keyboard use and painting come from TKovaToggle.
#pragma once

#include <functional>
#include <string>

#include "controls/KovaToggle.h"

namespace ql {

class TKovaCheckBox : public TKovaToggle {
 public:
  static constexpr const wchar_t* kClassName = L"TKovaCheckBox";

  TKovaCheckBox() = default;
  ~TKovaCheckBox() override;

  // A child window (WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS) with control id `id`.
  bool Create(HWND parent, int id, int x, int y, int width = 97, int height = 17, std::string caption = {});

  // Whether clicks pass through the grayed state (stored only).
  void SetAllowGrayed(bool allowGrayed) { allowGrayed_ = allowGrayed; }
  bool AllowGrayed() const { return allowGrayed_; }
  // The box's white outline and its relief; without it the box is only filled.
  void SetBorder(bool border);
  bool Border() const { return border_; }
  void SetState(TCheckBoxState state);
  TCheckBoxState State() const { return state_; }
  // True exactly in cbChecked; setting true gives cbChecked, false gives cbUnchecked.
  void SetChecked(bool checked);
  bool Checked() const { return state_ == TCheckBoxState::cbChecked; }

  // What a left click or the space key does: moves to the next state, raises OnClick (which then
  // sees the new state), then takes the focus when the control can.
  void Click();
  // May destroy the control.
  std::function<void(TKovaCheckBox&)> OnClick;

 protected:
  void DrawMark(win::Canvas& canvas, int x0, int y0) const override;
  void UserClick() override { Click(); }
  // Takes the focus and, once focused, moves to the next state; no OnClick.
  void Accelerator() override;
  LRESULT DialogCode() const override { return DLGC_BUTTON; }
  LRESULT GetCheck() const override;
  void SetCheck(WPARAM check) override;

 private:
  bool allowGrayed_ = false;
  bool border_ = true;
  TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
};

}  // namespace ql
