#include "dialogs/Proprietes.h"

#include <vector>

#include "controls/TileStyle.h"
#include "win/Utf.h"

namespace ql {

namespace {

constexpr wchar_t kClassName[] = L"TProprietes";

// Layout of the client area (353 x 262): four boxes down the left, the preview box at the right,
// the two buttons at the bottom right.
constexpr int kLeft = 8;
constexpr int kBoxWidth = 241;
constexpr int kViewLeft = 257;
constexpr int kViewWidth = 88;
constexpr int kPreview = 64;

}  // namespace

namespace {

// One run of the system's file chooser, to open or to save.
bool ChooseFile(HWND owner, FileChoice& choice, bool save) {
  // "a|b|c" becomes "a\0b\0c\0\0".
  std::wstring filter = win::Widen(choice.filter);
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  filter.push_back(L'\0');
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring preset = win::Widen(choice.fileName);
  if (preset.size() < file.size()) std::copy(preset.begin(), preset.end(), file.begin());
  const std::wstring dir = win::Widen(choice.initialDir);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(choice.filterIndex);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | (save ? OFN_OVERWRITEPROMPT : 0);
  if ((save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn)) == FALSE) return false;
  choice.fileName = win::Narrow(file.data());
  choice.filterIndex = static_cast<int>(ofn.nFilterIndex);
  return true;
}

}  // namespace

bool ChooseFileToOpen(HWND owner, FileChoice& choice) { return ChooseFile(owner, choice, false); }

bool ChooseFileToSave(HWND owner, FileChoice& choice) { return ChooseFile(owner, choice, true); }

TProprietes::TProprietes() = default;
TProprietes::~TProprietes() = default;

bool TProprietes::Create(HWND owner) {
  if (!CreateModal(owner, kClassName, L"Button Properties", kClientWidth, kClientHeight)) return false;
  hints_.Create(hwnd());
  HFONT font = DialogFont();

  // The boxes first: the controls created after them lie on top.
  grpName_.Create(hwnd(), kLeft, 4, kBoxWidth, 45, " Name ");
  grpIcon_.Create(hwnd(), kLeft, 53, kBoxWidth, 45, " Icon ");
  grpPath_.Create(hwnd(), kLeft, 102, kBoxWidth, 45, " Path ");
  grpOptions_.Create(hwnd(), kLeft, 151, kBoxWidth, 70, " Options ");
  grpView_.Create(hwnd(), kViewLeft, 4, kViewWidth, 122, " View ");
  for (TKovaGrpBox* box : {&grpName_, &grpIcon_, &grpPath_, &grpOptions_, &grpView_}) box->SetFont(font);

  // In tab order.
  constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;
  AddControl(L"EDIT", L"", kEdit, 16, 20, 225, 21, kNom, WS_EX_CLIENTEDGE);
  AddControl(L"EDIT", L"", kEdit, 16, 69, 193, 21, kIcone, WS_EX_CLIENTEDGE);
  AddControl(L"BUTTON", L"...", WS_TABSTOP | BS_PUSHBUTTON, 213, 69, 28, 21, kAutre);
  AddControl(L"EDIT", L"", kEdit, 16, 118, 225, 21, kChemin, WS_EX_CLIENTEDGE);
  sameTexture_.Create(hwnd(), kSameTexture, 16, 169, 160, 17, "&Use default texture");
  sameTexture_.SetFont(font);
  sameTexture_.OnClick = [this](TKovaCheckBox&) { SameTextureClick(); };
  AddControl(L"BUTTON", L"&Browse ...", WS_TABSTOP | BS_PUSHBUTTON, 16, 191, 97, 23, kBrowseText);

  apercuPanel_.Create(hwnd(), kViewLeft + (kViewWidth - kPreview) / 2, 22, kPreview, kPreview, &hints_);
  apercu_.Create(apercuPanel_.Host(), 0, 0, kPreview, kPreview);
  apercu_.SetAutoSize(false);
  apercu_.SetIconSize(48);
  apercu_.SetFont(L"small", 9);
  apercu_.SetHint("Aperçu icône");
  apercu_.SetShowHint(true);

  const int stepTop = 22 + kPreview + 8;
  // Small flat buttons outside the tab order, as speed buttons are.
  HWND prec = AddControl(L"BUTTON", L"<", BS_PUSHBUTTON | BS_FLAT, kViewLeft + 12, stepTop, 30, 21, kPrec);
  HWND suiv = AddControl(L"BUTTON", L">", BS_PUSHBUTTON | BS_FLAT, kViewLeft + 46, stepTop, 30, 21, kSuiv);
  hints_.Set(prec, "Icône précédent", true);
  hints_.Set(suiv, "Icône suivant", true);

  AddControl(L"BUTTON", L"&Cancel", WS_TABSTOP | BS_PUSHBUTTON, 189, 229, 75, 25, IDCANCEL);
  AddControl(L"BUTTON", L"&OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 270, 229, 75, 25, IDOK);
  return true;
}

std::string TProprietes::Text(int id) const { return win::WindowText(Control(id)); }

void TProprietes::SetText(int id, std::string_view text) const {
  if (HWND h = Control(id); h != nullptr) ::SetWindowTextW(h, win::Widen(text).c_str());
}

void TProprietes::EnableStepping(bool enabled) const {
  ::EnableWindow(Control(kPrec), enabled ? TRUE : FALSE);
  ::EnableWindow(Control(kSuiv), enabled ? TRUE : FALSE);
}

void TProprietes::ShowTexture(const std::string& file) {
  // A file that is not a readable bitmap leaves the preview on its plain colour.
  ShowTileTexture(apercu_, file, nullptr);
}

void TProprietes::Prepare(const ProprietesInput& input) {
  recordIndex_ = 0;
  textureAtOpening_.clear();
  const PropertiesFields fields = EditableFields(input.kind);
  ::EnableWindow(Control(kNom), fields.Nom ? TRUE : FALSE);
  ::EnableWindow(Control(kIcone), fields.Icone ? TRUE : FALSE);
  ::EnableWindow(Control(kChemin), fields.Chemin ? TRUE : FALSE);
  ::EnableWindow(Control(kAutre), fields.Autre ? TRUE : FALSE);
  const TBouton* record = input.dock != nullptr ? input.dock->Boutons().FindPtr(input.numero) : nullptr;
  if (record == nullptr) return;

  mainTexture_ = input.dock->MainTexture();
  StyleTile(apercu_, *record, input.dock->Config(), mainTexture_, TilePlace::Preview);
  if (!record->Texture.empty()) {
    pictureFileName_ = record->Texture;
    sameTexture_.SetChecked(false);
  } else {
    sameTexture_.SetChecked(true);
  }
  SetText(kNom, record->NomApp);
  SetText(kIcone, record->IconPath);
  SetText(kChemin, record->BtnApp);
  textureAtOpening_ = record->Texture;
  recordIndex_ = record->IconIndex;
}

void TProprietes::FormShow() {
  result_ = PropertiesResult{};
  ::EnableWindow(Control(kBrowseText), sameTexture_.Checked() ? FALSE : TRUE);
  textureChoisie_ = false;
  iconIndexEdite_ = recordIndex_;
  EnableStepping(IconSteppingEnabled(Text(kIcone)));
  iconIndexEdite_ = InitialIconIndex(iconIndexEdite_);
  apercu_.SetIconIndex(iconIndexEdite_);
}

void TProprietes::AutreClick() {
  const IconBrowseStart start = IconBrowseFor(Text(kIcone));
  FileChoice choice{std::string(kIconFilter), start.filterIndex, start.folder, start.fileName};
  if (!OpenIcon || !OpenIcon(hwnd(), choice)) return;
  SetText(kIcone, choice.fileName);
  apercu_.SetIconPath(choice.fileName);
  EnableStepping(IconSteppingEnabled(choice.fileName));
}

void TProprietes::PrecClick() {
  const IconStep step = StepPrevious(iconIndexEdite_);
  iconIndexEdite_ = step.index;
  if (!step.moved) {
    ::EnableWindow(Control(kPrec), step.precEnabled ? TRUE : FALSE);
    return;
  }
  apercu_.SetIconIndex(iconIndexEdite_);
  apercu_.SetIconPath(Text(kIcone));
}

void TProprietes::SuivClick() {
  const IconStep step = StepNext(iconIndexEdite_);
  iconIndexEdite_ = step.index;
  apercu_.SetIconIndex(iconIndexEdite_);
  ::EnableWindow(Control(kPrec), step.precEnabled ? TRUE : FALSE);
}

void TProprietes::BrowseTextClick() {
  FileChoice choice{std::string(kPictureFilter), 1, {}, pictureFileName_};
  if (!PictureDialog || !PictureDialog(hwnd(), choice)) return;
  pictureFileName_ = choice.fileName;
  textureChoisie_ = true;
  if (!pictureFileName_.empty()) ShowTexture(pictureFileName_);
}

void TProprietes::SameTextureClick() {
  const bool same = sameTexture_.Checked();
  ::EnableWindow(Control(kBrowseText), same ? FALSE : TRUE);
  if (same) {
    apercu_.SetTexture(mainTexture_);
  } else if (!pictureFileName_.empty()) {
    ShowTexture(pictureFileName_);
  }
}

bool TProprietes::OnOk() {
  result_.Nom = Text(kNom);
  result_.Icone = Text(kIcone);
  result_.Chemin = Text(kChemin);
  result_.IconIndexEdite = iconIndexEdite_;
  result_.TextureChoisie = textureChoisie_;
  result_.PictureFileName = pictureFileName_;
  result_.SameTexture = sameTexture_.Checked();
  return true;
}

void TProprietes::OnCommand(int id, int code, HWND /*control*/) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case kAutre:
      AutreClick();
      break;
    case kPrec:
      PrecClick();
      break;
    case kSuiv:
      SuivClick();
      break;
    case kBrowseText:
      BrowseTextClick();
      break;
    default:
      break;
  }
}

}  // namespace ql
