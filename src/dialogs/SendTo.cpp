#include "dialogs/SendTo.h"

#include "controls/TileStyle.h"
#include "core/ButtonEdit.h"
#include "win/Utf.h"

namespace ql {

namespace {

constexpr wchar_t kClassName[] = L"TSendTo";
constexpr int kPreview = 64;

}  // namespace

TSendTo::TSendTo() = default;
TSendTo::~TSendTo() = default;

bool TSendTo::Create(HWND owner) {
  if (!CreateModal(owner, kClassName, L"Send button to group", kClientWidth, kClientHeight)) return false;
  listBrush_.reset(::CreateSolidBrush(kListColour));
  panelBrush_.reset(::CreateSolidBrush(RGB(0, 0, 0)));

  // The box first: the controls created after it lie on top.
  grpView_.Create(hwnd(), 179, 4, 173, 124, " View ");
  grpView_.SetFont(DialogFont());

  HWND list =
      AddControl(L"LISTBOX", L"", WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 8,
                 8, 163, 130, kListBtn);
  ::SendMessageW(list, LB_SETITEMHEIGHT, 0, 13);

  constexpr DWORD kPanel = SS_CENTER | SS_CENTERIMAGE;
  AddControl(L"STATIC", L"Source :", kPanel, 189, 22, 72, 17, kPanel1);
  AddControl(L"STATIC", L"Destina° :", kPanel, 270, 22, 72, 17, kPanel2);
  sourcePanel_.Create(hwnd(), 193, 47, kPreview, kPreview);
  destinationPanel_.Create(hwnd(), 274, 47, kPreview, kPreview);
  for (TKovaBtn* tile : {&source_, &destination_}) {
    PreviewPanel& panel = tile == &source_ ? sourcePanel_ : destinationPanel_;
    tile->Create(panel.Host(), 0, 0, kPreview, kPreview);
    tile->SetAutoSize(false);
    tile->SetIconSize(48);
    tile->SetFont(L"small", 9);
  }

  AddControl(L"BUTTON", L"&Cancel", WS_TABSTOP | BS_PUSHBUTTON, 196, 166, 75, 25, IDCANCEL);
  AddControl(L"BUTTON", L"&OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 277, 166, 75, 25, IDOK);
  return true;
}

void TSendTo::Prepare(const SendToInput& input) {
  dock_ = input.dock;
  sourceNumber_ = input.source;
}

const TBouton* TSendTo::SourceRecord() const {
  return dock_ != nullptr ? dock_->Boutons().FindPtr(sourceNumber_) : nullptr;
}

void TSendTo::FormShow() {
  ::EnableWindow(OkButton(), TRUE);
  HWND list = ListBtn();
  ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
  if (dock_ == nullptr) return;
  const TConfig& cfg = dock_->Config();
  const HBITMAP mainTexture = dock_->MainTexture();

  if (const TBouton* source = SourceRecord()) {
    StyleTile(source_, *source, cfg, mainTexture, TilePlace::Preview);
  } else {
    source_.SetIconPath({});
    source_.SetTexture(mainTexture);
  }
  source_.SetCaption({});

  dock_->Boutons().BoutonCible = nullptr;

  destination_.SetTexture(mainTexture);
  destination_.SetColor(static_cast<COLORREF>(cfg.Couleur));
  destination_.SetIconPath({});
  destination_.SetIconSize(cfg.Taille);

  for (const std::string& line : SendToLines(dock_->Boutons(), SourceRecord())) {
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::Widen(line).c_str()));
  }
}

void TSendTo::ListBtnClick() {
  if (dock_ == nullptr) return;
  const LRESULT sel = ::SendMessageW(ListBtn(), LB_GETCURSEL, 0, 0);
  if (sel == LB_ERR) return;
  ButtonList& boutons = dock_->Boutons();
  const SendToPick pick = SendToChoice(boutons, SourceRecord(), static_cast<int>(sel));
  if (!pick.selected) return;

  if (pick.target == nullptr) {
    destination_.SetIconPath(dock_->MainIconPath());
    destination_.SetTexture(dock_->MainTexture());
    destination_.SetCaption({});
  } else if (!pick.okEnabled) {
    destination_.SetIconPath({});
    destination_.SetCaption(pick.caption);
  } else {
    StyleTile(destination_, *pick.target, dock_->Config(), dock_->MainTexture(), TilePlace::Preview);
    destination_.SetCaption(pick.caption);
  }
  ::EnableWindow(OkButton(), pick.okEnabled ? TRUE : FALSE);
  boutons.BoutonCible = pick.target;
}

void TSendTo::OnCommand(int id, int code, HWND /*control*/) {
  if (id == kListBtn && code == LBN_SELCHANGE) ListBtnClick();
}

LRESULT TSendTo::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CTLCOLORLISTBOX: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, RGB(0, 0, 0));
      ::SetBkColor(dc, kListColour);
      return reinterpret_cast<LRESULT>(listBrush_.get());
    }
    case WM_CTLCOLORSTATIC: {
      const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      if (id == kPanel1 || id == kPanel2) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(panelBrush_.get());
      }
      break;
    }
    default:
      break;
  }
  return ModalForm::HandleMessage(msg, wParam, lParam);
}

}  // namespace ql
