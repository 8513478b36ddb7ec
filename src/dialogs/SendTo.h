// TSendTo, "Send button to group": the modal dialog in which the user chooses where a dock button
// goes: the main bar ("Main Dock") or the branch of a main-bar button. It previews the source and
// the chosen destination, and leaves the choice in the list's BoutonCible (none: the main bar).
//
// The opener (the button context menu, never for a group) does the move after OK:
//
//   list.BoutonSource = list.FindPtr(tag);
//   sendTo.Prepare({&dock, tag});
//   const int result = sendTo.ShowModal(dockWindow);
//   if (dock.Closed()) return;
//   if (result == IDOK) {
//     hide the branch window;
//     SendTo(list, list.FindPtr(tag), list.BoutonCible);
//     EffaceBarreBoutons(); DessineBarre();
//   }
//   EcritBaseRegistre();  // after Cancel too
//
// The dialog keeps the source's number, not the record: it looks the records up in the dock's
// list whenever it needs them.
#pragma once

#include <cstdint>
#include <string>

#include "controls/KovaBtn.h"
#include "controls/KovaGrpBox.h"
#include "core/Bouton.h"
#include "dialogs/DockOps.h"
#include "dialogs/PreviewPanel.h"
#include "win/Handles.h"
#include "win/ModalForm.h"

namespace ql {

// What the opener gives the dialog for one opening.
struct SendToInput {
  DockOps* dock = nullptr;  // the records (BoutonCible is set in its list), options, main button
  std::int32_t source = 0;  // the number of the button being sent (BoutonSource)
};

class TSendTo final : public win::ModalForm {
 public:
  static constexpr int kClientWidth = 360;
  static constexpr int kClientHeight = 201;
  enum : int { kListBtn = 101, kPanel1, kPanel2 };
  static constexpr COLORREF kListColour = RGB(192, 192, 192);

  TSendTo();
  ~TSendTo() override;

  // Creates the hidden dialog and its controls, once for the whole run.
  bool Create(HWND owner);

  // Gives the dialog its inputs; FormShow (at every opening) reads them.
  void Prepare(const SendToInput& input);

  // The chosen destination after OK: a main-bar record, or nullptr for the main bar.
  TBouton* Cible() const { return dock_ != nullptr ? dock_->Boutons().BoutonCible : nullptr; }

  // Handlers (public so that they can be driven without the modal loop).
  void FormShow();
  void ListBtnClick();

  // Controls, for the tests.
  HWND ListBtn() const { return ::GetDlgItem(hwnd(), kListBtn); }
  HWND OkButton() const { return ::GetDlgItem(hwnd(), IDOK); }
  TKovaBtn& Source() { return source_; }
  TKovaBtn& Destination() { return destination_; }

 protected:
  void OnShowModal() override { FormShow(); }
  void OnCommand(int id, int code, HWND control) override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  // The source record, looked up by its number (nullptr once it is gone).
  const TBouton* SourceRecord() const;

  TKovaGrpBox grpView_;
  PreviewPanel sourcePanel_;
  PreviewPanel destinationPanel_;
  TKovaBtn source_;  // after the panels: go first
  TKovaBtn destination_;

  DockOps* dock_ = nullptr;
  std::int32_t sourceNumber_ = 0;
  win::Brush listBrush_;
  win::Brush panelBrush_;
};

}  // namespace ql
