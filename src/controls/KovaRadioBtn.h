// TKovaRadioBtn, the themed radio button of the dialogs: a hand-drawn round mark beside its
// caption. Checking one unchecks every other TKovaRadioBtn under the same parent window, so the
// radio buttons of one group share a parent (and those of different parents are independent).
// Keyboard use and painting come from TKovaToggle.
#pragma once

#include <functional>
#include <string>

#include "controls/KovaToggle.h"

namespace ql {

class TKovaRadioBtn : public TKovaToggle {
 public:
  static constexpr const wchar_t* kClassName = L"TKovaRadioBtn";

  TKovaRadioBtn() = default;
  ~TKovaRadioBtn() override;

  // A child window (WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS) with control id `id`.
  bool Create(HWND parent, int id, int x, int y, int width = 97, int height = 17, std::string caption = {});

  // Setting true unchecks the TKovaRadioBtn siblings (no events); repaints at once.
  void SetChecked(bool checked);
  bool Checked() const { return checked_; }

  // What a left click or the space key does: raises OnClick (which still sees the previous
  // Checked), then checks this button, then takes the focus when the control can.
  void Click();
  // May destroy the control.
  std::function<void(TKovaRadioBtn&)> OnClick;

 protected:
  void DrawMark(win::Canvas& canvas, int x0, int y0) const override;
  void UserClick() override { Click(); }
  // Only takes the focus.
  void Accelerator() override { TakeFocus(); }
  LRESULT DialogCode() const override { return DLGC_BUTTON | DLGC_RADIOBUTTON; }
  LRESULT GetCheck() const override { return checked_ ? BST_CHECKED : BST_UNCHECKED; }
  void SetCheck(WPARAM check) override { SetChecked(check == BST_CHECKED); }

 private:
  void UncheckSiblings() const;

  bool checked_ = false;
};

}  // namespace ql
