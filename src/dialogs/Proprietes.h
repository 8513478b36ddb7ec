// TProprietes, "Button Properties": the modal dialog in which the user edits one dock button:
// its name, its icon file and the index within it, its command path and its own texture.
//
// The opener (the button context menu) prepares it for one record, shows it, and after OK applies
// the result with the functions of core/ButtonEdit.h to the record, looked up again by number:
//
//   list.BoutonSource = list.FindPtr(tag);
//   proprietes.Prepare({&dock, tag, kind});
//   if (proprietes.ShowModal(dockWindow) == IDOK && !dock.Closed()) {
//     TBouton* rec = list.FindPtr(tag);
//     ApplyPropertiesOk(*rec, proprietes.Result());  // the dialog's own OK: index, picked texture
//     ApplyEditedFields(*rec, proprietes.Result());
//     ... the tile takes IconPath, IconIndex, hint (and caption with ShowName) ...
//     EcritBaseRegistre();
//     if (ApplyTextureChoice(*rec, proprietes.Result(), proprietes.TextureAtOpening())) redraw the bar;
//   }
//
// The dialog holds no record: what it shows is copied at Prepare, what it decided is its Result.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "controls/Hints.h"
#include "controls/KovaBtn.h"
#include "controls/KovaCheckBox.h"
#include "controls/KovaGrpBox.h"
#include "core/Bouton.h"
#include "core/ButtonEdit.h"
#include "dialogs/DockOps.h"
#include "dialogs/PreviewPanel.h"
#include "win/ModalForm.h"

namespace ql {

// The choosers' filters, "description|pattern" pairs joined with "|".
inline constexpr std::string_view kIconFilter =
    "Icônes ( *.ico )|*.ico|Exécutables ( *.exe ; *.dll )|*.exe;*.dll|Tous ( *.* )|*.*";
inline constexpr std::string_view kPictureFilter = "Bitmaps (*.bmp)|*.bmp";

// One run of a file chooser: what it starts with, and on success the chosen file.
struct FileChoice {
  std::string filter;      // "description|pattern|..."
  int filterIndex = 1;     // 1-based, the filter shown first
  std::string initialDir;  // empty: the chooser's own choice (or the folder of fileName)
  std::string fileName;    // in: preselected; out: the chosen file
};
using FileChooser = std::function<bool(HWND owner, FileChoice& choice)>;
// The system's "open file" chooser (GetOpenFileNameW). False when cancelled.
bool ChooseFileToOpen(HWND owner, FileChoice& choice);
// The system's "save file" chooser (GetSaveFileNameW), asking before it replaces a file.
bool ChooseFileToSave(HWND owner, FileChoice& choice);

// What the opener gives the dialog for one opening.
struct ProprietesInput {
  DockOps* dock = nullptr;           // the records, the options and the main button's texture
  std::int32_t numero = 0;           // the number of the button being edited (BoutonSource)
  TileKind kind = TileKind::Button;  // the tile the menu was opened on
};

class TProprietes final : public win::ModalForm {
 public:
  static constexpr int kClientWidth = 353;
  static constexpr int kClientHeight = 262;
  // Child control identifiers (OK and Cancel are IDOK and IDCANCEL).
  enum : int { kNom = 101, kIcone, kAutre, kChemin, kSameTexture, kBrowseText, kPrec, kSuiv };

  TProprietes();
  ~TProprietes() override;

  // Creates the hidden dialog and its controls, once for the whole run.
  bool Create(HWND owner);

  // The opener's preparation: enables the fields for the tile kind, fills the preview and the
  // texts from the record, sets the texture choice, and remembers the record's texture.
  void Prepare(const ProprietesInput& input);

  // Valid after OK: the texts, the edited index and the texture choice.
  const PropertiesResult& Result() const { return result_; }
  // The record's Texture when Prepare ran.
  const std::string& TextureAtOpening() const { return textureAtOpening_; }

  // Handlers, run by the controls (public so that they can be driven without the modal loop).
  void FormShow();
  void AutreClick();
  void PrecClick();
  void SuivClick();
  void BrowseTextClick();
  void SameTextureClick();

  // The file choosers; tests replace them.
  FileChooser OpenIcon = ChooseFileToOpen;
  FileChooser PictureDialog = ChooseFileToOpen;

  // State and controls, for the opener and the tests.
  std::int32_t IconIndexEdite() const { return iconIndexEdite_; }
  bool TextureChoisie() const { return textureChoisie_; }
  const std::string& PictureFileName() const { return pictureFileName_; }
  TKovaBtn& Apercu() { return apercu_; }
  TKovaCheckBox& SameTexture() { return sameTexture_; }
  const Hints& DialogHints() const { return hints_; }
  HWND Control(int id) const { return ::GetDlgItem(hwnd(), id); }
  std::string Text(int id) const;
  void SetText(int id, std::string_view text) const;

 protected:
  void OnShowModal() override { FormShow(); }
  bool OnOk() override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  void EnableStepping(bool enabled) const;
  void ShowTexture(const std::string& file);

  Hints hints_;
  TKovaGrpBox grpName_;
  TKovaGrpBox grpIcon_;
  TKovaGrpBox grpPath_;
  TKovaGrpBox grpOptions_;
  TKovaGrpBox grpView_;
  TKovaCheckBox sameTexture_;
  PreviewPanel apercuPanel_;
  TKovaBtn apercu_;  // after its panel: goes first

  HBITMAP mainTexture_ = nullptr;
  std::int32_t recordIndex_ = 0;  // the record's IconIndex at Prepare
  std::int32_t iconIndexEdite_ = 0;
  bool textureChoisie_ = false;
  std::string pictureFileName_;  // survives from one opening to the next
  std::string textureAtOpening_;
  PropertiesResult result_;
};

}  // namespace ql
