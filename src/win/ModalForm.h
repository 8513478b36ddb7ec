// Base of the program's modal dialogs: a top-level form, created once and kept hidden, that
// ShowModal centres on the screen and runs in a loop of its own until it ends with a result.
// The loop passes every message through IsDialogMessageW, so Tab moves between the controls,
// Alt+letter presses the button with that accelerator, Escape is Cancel and Enter the default
// button (IDOK). Closing from the system menu is Cancel too.
#pragma once

#include <string>

#include "win/Form.h"
#include "win/Handles.h"

namespace ql::win {

class ModalForm : public Form {
 public:
  // Creates the form hidden with a fixed border and only a close box, its client area
  // clientWidth x clientHeight, and the dialog font for its controls.
  bool CreateModal(HWND owner, const wchar_t* className, const std::wstring& caption, int clientWidth,
                   int clientHeight);

  // Shows the form above `owner`, every other window of the thread disabled meanwhile, and returns
  // IDOK or IDCANCEL once it ends. Never nests: a call while the form is already modal returns
  // IDCANCEL at once. A WM_QUIT that arrives meanwhile is posted again and ends the form with
  // IDCANCEL.
  int ShowModal(HWND owner);
  // Ends the modal loop with `result` (the form hides as the loop returns).
  void EndModal(int result);
  bool InModal() const { return inModal_; }

  // The font the form gives its controls ("MS Sans Serif", 8 points, or the platform's stand-in).
  HFONT DialogFont() const { return font_.get(); }

 protected:
  // Runs before the form shows, on every opening.
  virtual void OnShowModal() {}
  // The OK button or Enter, while OK is enabled: may refuse by returning false.
  virtual bool OnOk() { return true; }
  // Any other command of a child control.
  virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}

  // Creates a standard child control with the dialog font; returns its handle (owned by the form).
  HWND AddControl(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y, int width,
                  int height, int id, DWORD exStyle = 0);

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void CentreOnScreen() const;

  Font font_;
  HWND lastFocus_ = nullptr;  // a child of the form
  bool inModal_ = false;
  bool ended_ = false;
  int result_ = IDCANCEL;
};

}  // namespace ql::win
