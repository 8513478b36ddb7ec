// TFrmPassWD, "Quaylite Protection": the lock's password dialog. It asks for the password, and,
// expanded with "&Change", for a new one twice. Only an answer that the lock accepts ends it:
// Escape, the close box, the system menu and Alt+F4 do nothing, and while it shows it keeps
// itself above every other window and takes the foreground back from other programs.
//
// The lock (the dock's CheckPasswd) runs it as
//
//   password.AskPassword(alert, [&](const PasswordEntry& typed) {
//     ... CheckPassword(typed, cfg.MotDePasse), a message box when refused ...
//     return accepted;
//   });
//
// A refused answer leaves the dialog up, its fields emptied, the alert gone and the dialog
// collapsed again, as if it were shown anew.
#pragma once

#include <functional>
#include <string>

#include "core/Password.h"
#include "win/Handles.h"
#include "win/ModalForm.h"

namespace ql {

class TFrmPassWD final : public win::ModalForm {
 public:
  // Window heights, frame included: the password row and the buttons; and the new-password rows too.
  static constexpr int kCollapsedHeight = 124;
  static constexpr int kExpandedHeight = 200;
  static constexpr int kClientWidth = 338;
  static constexpr int kPictureSize = 64;
  // The longest password the fields take: 85 characters are at most 255 bytes of UTF-8, what
  // the store keeps scrambled.
  static constexpr int kMaxPasswordChars = 85;
  enum : int { kIcon = 101, kLabel1, kPasswd, kAlerte, kChanger, kLabel2, kNPassWD, kLabel3, kCPassWD };

  using Checker = std::function<bool(const PasswordEntry& typed)>;

  TFrmPassWD();
  ~TFrmPassWD() override;

  // Creates the hidden dialog and its controls, once for the whole run.
  bool Create(HWND owner);

  // Shows the dialog, with the alert "Computer was shut down !!!" when `alert`, until `check`
  // accepts an answer. A WM_QUIT that comes meanwhile does not end it: it is posted again once
  // the answer is accepted. False at once (nothing asked) without a window or while it shows.
  bool AskPassword(bool alert, const Checker& check);

  // Handlers (public so that they can be driven without the modal loop).
  void FormShow();
  void ChangerClick();

  int Height() const;
  bool AlertShown() const;

  // Controls, for the tests.
  HWND Control(int id) const { return ::GetDlgItem(hwnd(), id); }
  HWND OkButton() const { return ::GetDlgItem(hwnd(), IDOK); }

 protected:
  void OnShowModal() override { FormShow(); }
  bool OnOk() override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void SetHeight(int height) const;
  void ShowNewPasswordRows(bool show) const;
  void ResetFields() const;
  std::string FieldText(int id) const;
  void TakeForegroundBack() const;

  const Checker* check_ = nullptr;  // during AskPassword
  bool alert_ = false;
  win::Bitmap picture_;
  win::Brush alertBrush_;
};

}  // namespace ql
