#include "dock/Quaylite.h"
#include "win/Win.h"

#include <algorithm>
#include <cstdlib>

#include "core/BarEdit.h"
#include "core/BarLayout.h"
#include "core/ButtonEdit.h"
#include "core/ButtonStore.h"
#include "core/ConfigStore.h"
#include "core/Text.h"
#include "taskbar/WinUtil.h"
#include "win/Utf.h"

namespace ql {

namespace {

constexpr int kOffScreen = -2000;
constexpr int kHotKeyId = 0;
constexpr char kMainHint[] = "Quaylite";

POINT CursorPos() {
  POINT p{};
  ::GetCursorPos(&p);
  return p;
}

int ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

// Repaints a window and its tiles now, inside a running slide or fold.
void RepaintNow(HWND hwnd) {
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The path of the first "*.ico" beside the program, else the program itself.
std::string MainIconPath() {
  std::wstring exe(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    if (n < exe.size()) {
      exe.resize(n);
      break;
    }
    exe.resize(exe.size() * 2);
  }
  const std::wstring dir = exe.substr(0, exe.find_last_of(L"\\/") + 1);
  WIN32_FIND_DATAW found{};
  HANDLE h = ::FindFirstFileW((dir + L"*.ico").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    ::FindClose(h);
    return win::Narrow(dir + found.cFileName);
  }
  return win::Narrow(exe);
}

}  // namespace

TQuaylite::TQuaylite(KeyValueStore& store, TConfig& config) : store_(store), cfg_(config) {}

TQuaylite::~TQuaylite() {
  // The tiles leave their host (and their hints) before the window goes.
  tiles_.clear();
}

bool TQuaylite::Create(HWND owner, TBarreBranche& branch, const win::Form* passwordDialog) {
  branch_ = &branch;
  branch.SetTileServices(&hints_, &icons_);
  passwordDialog_ = passwordDialog;
  if (!CreateForm(owner, L"TQuaylite", kDockTitle, WS_POPUP | WS_CLIPCHILDREN, 0, kOffScreen, 0, 64, 64)) {
    return false;
  }
  hints_.Create(hwnd());
  menuBoutons_.Build();
  menuPrincipal_.reset(::CreatePopupMenu());
  host_.Attach(hwnd(), &hints_, &icons_);
  if (!mainBtn_.Create(host_, 0, 0, 64, 64)) return false;
  mainBtn_.SetFont(L"small", 9);
  mainBtn_.SetHint(kMainHint);
  mainBtn_.SetShowHint(true);
  mainBtn_.OnMouseDown = [this](TKovaBtn&, const MouseEvent& e) { MainBtnMouseDown(e); };
  mainBtn_.OnMouseMove = [this](TKovaBtn&, const MouseEvent& e) { MainBtnMouseMove(e); };
  FormCreate();
  return true;
}

void TQuaylite::FormCreate() {
  cfg_.Provider = false;  // LitConfig reads it again
  DernierLance = kNoLaunch;
  boutons_.InitPtr();
  SortieNormale = LitConfig(store_, cfg_);
  ShowDesktopIcons(cfg_.HideDesktop);
  LitBaseRegistre(store_, boutons_);
  BarreInscrite = false;
  DessineBarre();
  mainBtn_.SetIconSource(MainIconPath(), 0);
  ::DragAcceptFiles(hwnd(), TRUE);
  RegisterDockHotKey();
  // No button on the system task bar: the hidden owner is a tool window.
  if (HWND owner = ::GetWindow(hwnd(), GW_OWNER)) ::SetWindowLongPtrW(owner, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
}

void TQuaylite::RegisterDockHotKey() {
  if (auto key = HotKeyCharacter(cfg_.HotKey)) {
    hotKeyRegistered_ =
        ::RegisterHotKey(hwnd(), kHotKeyId, MOD_CONTROL, static_cast<unsigned char>(*key)) != FALSE;
  }
}

void TQuaylite::FormShow() {
  // A lock at start happens even when the lock is otherwise switched off.
  const bool provider = cfg_.Provider;
  cfg_.Provider = true;
  if (!SortieNormale || cfg_.StartLock) LockWindows();
  cfg_.Provider = provider;
  Show(SW_SHOWNOACTIVATE);
  if (cfg_.TaskBar) StartTaskBar();
}

void TQuaylite::LockWindows() {
  if (Visible()) Hide();
  if (!cfg_.Provider) return;  // the hot key only hides the dock; it shows it again
  // The desktop lock proper (password dialog, minimised windows, hidden task bars) runs here
  // once the password dialog exists; until then the dock comes straight back.
  Show(SW_SHOWNOACTIVATE);
}

void TQuaylite::StartTaskBar() {
  // The dock's own task bar is started here once it exists.
}

void TQuaylite::StopTaskBar() {
  // The dock's own task bar is removed here, and the notification area given back to the
  // system's task bar, once it exists.
}

void TQuaylite::FormClose() {
  if (closed_) return;
  closed_ = true;
  if (cfg_.RedimDesk) RemoveDesktopToolbar();
  EcritBaseRegistre();
  if (cfg_.TaskBar) StopTaskBar();
  EcritVerrou(store_, cfg_);
  EcritSortie(store_, "1");
  menuPrincipal_.reset();
  ::DragAcceptFiles(hwnd(), FALSE);
  EffaceBarreBoutons();
  if (branch_ != nullptr) branch_->CreeBarreBranche(nullptr, BranchStyle{});
  boutons_.DisposeAllPtr();
  ShowDesktopIcons(false);
  if (hotKeyRegistered_) ::UnregisterHotKey(hwnd(), kHotKeyId);
  hotKeyRegistered_ = false;
}

void TQuaylite::EffaceBarreBoutons() {
  while (!tiles_.empty()) tiles_.pop_back();  // from the last to the first
}

void TQuaylite::SetWindowRect(int x, int y, int w, int h, bool repaint) const {
  ::SetWindowPos(hwnd(), nullptr, x, y, w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0U : static_cast<UINT>(SWP_NOREDRAW)));
}

void TQuaylite::WireTile(TKovaBtn& btn) {
  btn.OnMouseDown = [this](TKovaBtn& b, const MouseEvent& e) { BtnAppMouseDown(b, e); };
  btn.OnMouseMove = [this](TKovaBtn& b, const MouseEvent& e) { BtnAppMouseMove(b, e); };
  btn.OnMouseUp = [this](TKovaBtn& b, const MouseEvent& e) { BtnAppMouseUp(b, e); };
  btn.OnDblClick = [this](TKovaBtn& b) { BtnAppDblClick(b); };
  btn.OnContextMenu = [this](TKovaBtn& b, POINT screen) { MenuBoutonsPopup(b, screen); };
}

void TQuaylite::DessineBarre() {
  RECT r = Bounds();
  SetWindowRect(kOffScreen, r.top, r.right - r.left, r.bottom - r.top, false);

  barTexture_ = LoadTexture(cfg_.Fond);
  mainBtn_.SetTexture(barTexture_.get());
  mainBtn_.SetCaption(cfg_.ShowName ? kMainHint : "");
  mainBtn_.SetIconSize(cfg_.Taille);
  mainBtn_.SetColor(cfg_.Couleur);
  mainBtn_.SetBorder(cfg_.Relief);
  const int side = mainBtn_.Width();

  boutons_.RenumBtn(nullptr);
  BrancheOuverte.assign(1, '0');  // (assigning a literal trips a false GCC 12 -Wrestrict)
  const Edge edge = EdgeOf(cfg_.Sens);
  const std::vector<TBouton*> bar = boutons_.MainBar();
  const BarPlacement place =
      PlaceBar(edge, side, static_cast<int>(bar.size()), cfg_.PosTop, ScreenWidth(), ScreenHeight());

  tiles_.reserve(bar.size());
  for (std::size_t i = 0; i < bar.size(); ++i) {
    const TBouton& rec = *bar[i];
    const PixelPoint at = place.tiles[i];
    Tile tile;
    tile.control = std::make_unique<TKovaBtn>();
    tile.module = rec.Module() != ModuleKind::None;
    TKovaBtn& btn = *tile.control;
    if (!btn.Create(host_, at.x, at.y, side, side)) continue;
    btn.SetAutoSize(false);
    btn.SetIconSize(cfg_.Taille);
    btn.SetBorder(cfg_.Relief);
    btn.SetShowHint(true);
    btn.SetTag(rec.Numero);
    btn.SetColor(cfg_.Couleur);
    if (rec.Texture.empty()) {
      btn.SetTexture(barTexture_.get());
    } else {
      win::Bitmap own = LoadTexture(rec.Texture);
      btn.SetTexture(own.get());
    }
    if (tile.module) {
      // Stand-in tile for a module: its place, size, look and hint.
      btn.SetHint(rec.BtnApp);
      btn.SetShowDots(false);
    } else {
      btn.SetIconSource(rec.IconPath, rec.IconIndex);
      btn.SetHint(rec.NomApp);
      btn.SetCaption(cfg_.ShowName ? rec.NomApp : std::string());
      btn.SetShowDots(cfg_.ShowDots);
      btn.SetGroupe(!rec.HasMembers()    ? TGroupeState::gNone
                    : edge == Edge::Left ? TGroupeState::gRight
                                         : TGroupeState::gLeft);
    }
    btn.SetBounds(at.x, at.y, side, side);
    WireTile(btn);
    tiles_.push_back(std::move(tile));
  }

  icons_.Trim();  // icons no tile shows any more
  const PixelRect w = place.window;
  LongueurBarre = place.longueurBarre;
  SetWindowRect(w.left, w.top, w.width, w.height);
  ::SetWindowPos(hwnd(), cfg_.OnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (cfg_.RedimDesk) {
    RegisterDesktopToolbar();
  } else {
    RemoveDesktopToolbar();
  }
  // The clock and the RAM/CPU gauges start here once their tiles exist.
}

void TQuaylite::RegisterDesktopToolbar() {
  const RECT r = Bounds();
  const int left = r.left;
  const int top = r.top;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  SetWindowRect(kOffScreen, top, width, height, false);
  const Edge edge = EdgeOf(cfg_.Sens);
  const AppBarRequest req = DesktopToolbarRequest(edge, left, width, height, ::GetSystemMetrics(SM_CYFRAME),
                                                  ScreenWidth(), ScreenHeight());
  APPBARDATA abd{};
  abd.cbSize = sizeof abd;
  abd.hWnd = hwnd();
  abd.uEdge = req.edge;
  abd.rc = RECT{req.left, req.top, req.right, req.bottom};
  if (!BarreInscrite) {
    ::SHAppBarMessage(ABM_NEW, &abd);
    BarreInscrite = true;
  }
  ::SHAppBarMessage(ABM_SETPOS, &abd);
  switch (edge) {
    case Edge::Left:
      ::MoveWindow(hwnd(), 0, top, width, height, TRUE);
      break;
    case Edge::Top:
      ::MoveWindow(hwnd(), left, 0, width, height, TRUE);
      break;
    case Edge::Right:
      ::MoveWindow(hwnd(), left, top, width, height, TRUE);
      break;
  }
}

void TQuaylite::RemoveDesktopToolbar() {
  APPBARDATA abd{};
  abd.cbSize = sizeof abd;
  abd.hWnd = hwnd();
  abd.uEdge = ABE_RIGHT;
  ::SHAppBarMessage(ABM_REMOVE, &abd);
  BarreInscrite = false;
}

void TQuaylite::SauvePosBarre() {
  const RECT r = Bounds();
  cfg_.PosTop = EdgeOf(cfg_.Sens) == Edge::Top ? r.left : r.top;
}

void TQuaylite::EcritBaseRegistre() {
  const RECT r = Bounds();
  const std::int32_t posTop = EdgeOf(cfg_.Sens) == Edge::Top ? r.left : r.top;
  ql::EcritBaseRegistre(store_, cfg_, posTop, boutons_);
}

TKovaBtn* TQuaylite::GetBtn(std::int32_t numero) const {
  if (mainBtn_.Tag() == numero) return const_cast<TKovaBtn*>(&mainBtn_);
  for (const Tile& t : tiles_) {
    if (t.control->Tag() == numero) return t.control.get();
  }
  if (branch_ != nullptr) {
    for (const auto& c : branch_->Controls()) {
      if (c->Tag() == numero) return c.get();
    }
  }
  return nullptr;
}

void TQuaylite::PlaySnd(const std::string& file) const {
  if (!cfg_.PlaySnd || file.empty()) return;
  ::PlaySoundW(win::Widen(file).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

void TQuaylite::HideBranch() {
  if (branch_ != nullptr && branch_->Visible()) branch_->Hide();
}

void TQuaylite::AfficheBarreBranche(bool open, const TBouton* record, int count) {
  if (branch_ == nullptr || branch_->hwnd() == nullptr) return;
  const Edge edge = EdgeOf(cfg_.Sens);
  const RECT d = Bounds();
  const PixelRect dock{d.left, d.top, d.right - d.left, d.bottom - d.top};
  const int side = TileSide();
  auto moveTo = [&](const BranchSlide& s, int v) {
    const int x = s.movesLeft ? v : s.fixed;
    const int y = s.movesLeft ? s.fixed : v;
    ::SetWindowPos(branch_->hwnd(), nullptr, x, y, s.width, s.height, SWP_NOZORDER | SWP_NOACTIVATE);
    RepaintNow(branch_->hwnd());
  };
  if (open) {
    PixelPoint groupTile{};
    if (record != nullptr) {
      if (TKovaBtn* g = GetBtn(record->Numero)) groupTile = {g->Left(), g->Top()};
    }
    const BranchSlide s = BranchOpening(edge, dock, groupTile, side, count);
    moveTo(s, s.steps.front());
    ::ShowWindow(branch_->hwnd(), SW_SHOWNOACTIVATE);
    ::SetWindowPos(branch_->hwnd(), hwnd(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (int v : s.steps) moveTo(s, v);
    if (record != nullptr && record->HasMembers()) PlaySnd(cfg_.OpenW);
    return;
  }
  if (record != nullptr && record->Numero > 0 && record->HasMembers()) PlaySnd(cfg_.CloseW);
  const RECT b = branch_->Bounds();
  const BranchSlide s =
      BranchClosing(edge, dock, PixelRect{b.left, b.top, b.right - b.left, b.bottom - b.top}, side);
  for (int v : s.steps) moveTo(s, v);
  branch_->Hide();
}

void TQuaylite::BtnAppMouseDown(TKovaBtn& btn, const MouseEvent& e) {
  if (e.button != MouseButton::Left || e.doubleClick || e.ctrl || e.alt) return;
  if (e.shift) {
    // Shift-drag: starts once the mouse has moved by the system's drag threshold.
    dragSource_ = btn.Tag();
    dragStart_ = CursorPos();
    dragging_ = false;
    return;
  }
  dragSource_ = -1;
  const std::int32_t n = btn.Tag();
  TBouton* openGroup = boutons_.GetBranchePtr(ParseDecimal(BrancheOuverte).value_or(0));
  TBouton* record = boutons_.FindPtr(n);
  TBouton* group = boutons_.GetBranchePtr(n);
  const bool branchShown = branch_ != nullptr && branch_->Visible();
  // A press on the open group closes its branch; on another group, opens that one (closing the
  // first); on a plain main-bar button, closes the branch; on a member, leaves it open.
  const bool sameGroupShown = group == openGroup && branchShown;
  if (!sameGroupShown && group != nullptr && branch_ != nullptr) {
    BrancheOuverte = std::to_string(n);
    if (branchShown) AfficheBarreBranche(false, record, 0);
    BranchStyle style{&cfg_, TileSide(), barTexture_.get(), [this](TKovaBtn& b) { WireTile(b); }};
    const int count = branch_->CreeBarreBranche(group, style);
    AfficheBarreBranche(count > 0, group, count);
  } else if (sameGroupShown || (record != nullptr && record->NumBranche == 0)) {
    AfficheBarreBranche(false, record, 0);
  }
  if (group == nullptr && cfg_.SingleClick) RunApp(n);
}

void TQuaylite::BtnAppDblClick(TKovaBtn& btn) { RunApp(btn.Tag()); }

void TQuaylite::BtnAppMouseMove(TKovaBtn&, const MouseEvent& e) {
  if (dragSource_ < 0 || !e.left) return;
  const POINT c = CursorPos();
  if (!dragging_ && (std::abs(c.x - dragStart_.x) >= ::GetSystemMetrics(SM_CXDRAG) ||
                     std::abs(c.y - dragStart_.y) >= ::GetSystemMetrics(SM_CYDRAG))) {
    dragging_ = true;
  }
  if (dragging_) ::SetCursor(::LoadCursorW(nullptr, TileAtScreen(c) != nullptr ? IDC_SIZEALL : IDC_NO));
}

void TQuaylite::BtnAppMouseUp(TKovaBtn&, const MouseEvent& e) {
  if (e.button != MouseButton::Left || dragSource_ < 0) return;
  const std::int32_t source = dragSource_;
  const bool dropped = dragging_;
  dragSource_ = -1;
  dragging_ = false;
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  if (!dropped) return;
  // Only the tiles of the bar and of the branch accept a drop (modules included, the main
  // button and empty space not).
  if (TKovaBtn* target = TileAtScreen(CursorPos())) BtnAppDragDrop(source, target->Tag());
}

TKovaBtn* TQuaylite::TileAtScreen(POINT screen) const {
  if (branch_ != nullptr) {
    if (TKovaBtn* member = branch_->TileAtScreen(screen)) return member;
  }
  if (::WindowFromPoint(screen) != hwnd()) return nullptr;
  ::ScreenToClient(hwnd(), &screen);
  TKovaBtn* tile = host_.TileAt(screen);
  return tile == &mainBtn_ ? nullptr : tile;
}

void TQuaylite::BtnAppDragDrop(std::int32_t source, std::int32_t target) {
  boutons_.BoutonSource = boutons_.FindPtr(source);
  boutons_.BoutonCible = boutons_.FindPtr(target);
  const ExchangeKind kind = ExchangeButtons(boutons_.BoutonSource, boutons_.BoutonCible);
  if (kind == ExchangeKind::None) return;
  if (kind == ExchangeKind::MainBar) HideBranch();
  // Each control keeps showing what it showed and moves to where its contents now are.
  TKovaBtn* a = GetBtn(source);
  TKovaBtn* b = GetBtn(target);
  if (a != nullptr && b != nullptr) {
    const int ax = a->Left();
    const int ay = a->Top();
    a->SetBounds(b->Left(), b->Top(), a->Width(), a->Height());
    b->SetBounds(ax, ay, b->Width(), b->Height());
    a->SetTag(target);  // a module tile's flag stays with its control, as the tag does
    b->SetTag(source);
  }
  EcritBaseRegistre();
}

bool TQuaylite::IsModuleTile(std::int32_t numero) const {
  const TBouton* rec = boutons_.FindPtr(numero);
  return rec != nullptr && rec->Module() != ModuleKind::None;
}

void TQuaylite::MenuBoutonsPopup(TKovaBtn& btn, POINT screen) {
  // Everything the commands need is read now: a command may free the tile.
  const std::int32_t n = btn.Tag();
  const TBouton* rec = boutons_.FindPtr(n);
  if (rec == nullptr) return;
  const bool module = rec->Module() != ModuleKind::None;
  TileKind kind = TileKindOf(*rec);
  if (!module) kind = btn.Groupe() != TGroupeState::gNone ? TileKind::Group : TileKind::Button;
  const std::string confirmation = DeleteConfirmation(kind, btn.Hint());
  const bool group = btn.Groupe() != TGroupeState::gNone;
  menuBoutons_.Popup(cfg_.Taille, cfg_.ShowName, !module);
  switch (const MenuBoutons::Command command = menuBoutons_.Track(hwnd(), screen)) {
    case MenuBoutons::kChangerIcone:
      ChangerIconeClick(n, kind);
      break;
    case MenuBoutons::kTaille64:
    case MenuBoutons::kTaille48:
    case MenuBoutons::kTaille32:
    case MenuBoutons::kTaille16:
      TailleIconeClick(MenuBoutons::SizeOf(command));
      break;
    case MenuBoutons::kAfficherNom:
      AfficherNomClick();
      break;
    case MenuBoutons::kSupprimer:
      if (cfg_.Confirm) {
        const std::wstring text = win::Widen(confirmation);
        if (::MessageBoxW(hwnd(), text.c_str(), L"Confirm", MB_YESNO | MB_ICONQUESTION) != IDYES) break;
      }
      SupprimerClick(n);
      break;
    case MenuBoutons::kEnvoyerVers:
      SauvePosBarre();
      if (!group) EnvoyerVersClick(n);
      break;
    case MenuBoutons::kNone:
      break;
  }
}

void TQuaylite::TailleIconeClick(std::int32_t size) {
  mainBtn_.SetIconSize(size);
  HideBranch();
  cfg_.Taille = size;
  SauvePosBarre();
  EffaceBarreBoutons();
  DessineBarre();
  EcritBaseRegistre();
}

void TQuaylite::AfficherNomClick() {
  cfg_.ShowName = !cfg_.ShowName;
  HideBranch();
  SauvePosBarre();
  EffaceBarreBoutons();
  DessineBarre();
  EcritBaseRegistre();
}

void TQuaylite::SupprimerClick(std::int32_t numero) {
  SauvePosBarre();
  HideBranch();
  EffaceBarreBoutons();
  boutons_.DisposeBouton(boutons_.FindPtr(numero), true);
  DessineBarre();
  EcritBaseRegistre();  // renumbers and rewrites every entry
}

void TQuaylite::EnvoyerVersClick(std::int32_t numero) {
  if (sendTo_ == nullptr) return;
  boutons_.BoutonSource = boutons_.FindPtr(numero);
  if (boutons_.BoutonSource == nullptr) return;
  sendTo_->Prepare(
      SendToInput{&boutons_, boutons_.BoutonSource, &cfg_, mainBtn_.IconPath(), mainBtn_.Texture()});
  if (sendTo_->ShowModal(hwnd()) == IDOK) {
    HideBranch();
    SendTo(boutons_, boutons_.BoutonSource, boutons_.BoutonCible);
    EffaceBarreBoutons();
    DessineBarre();
  }
  EcritBaseRegistre();  // after Cancel too
}

void TQuaylite::ChangerIconeClick(std::int32_t numero, TileKind kind) {
  if (proprietes_ == nullptr) return;
  TBouton* rec = boutons_.FindPtr(numero);
  if (rec == nullptr) return;
  boutons_.BoutonSource = rec;
  proprietes_->Prepare(ProprietesInput{rec, kind, &cfg_, mainBtn_.Texture()});
  if (proprietes_->ShowModal(hwnd()) != IDOK) return;
  // The dialog may have freed nothing, but look the record up again all the same.
  rec = boutons_.FindPtr(numero);
  if (rec == nullptr) return;
  const PropertiesResult& result = proprietes_->Result();
  ApplyEditedFields(*rec, result);
  if (TKovaBtn* btn = GetBtn(numero); btn != nullptr && !IsModuleTile(numero)) {
    btn->SetIconSource(rec->IconPath, rec->IconIndex);
    btn->SetHint(rec->NomApp);
    if (cfg_.ShowName) btn->SetCaption(rec->NomApp);
  }
  EcritBaseRegistre();
  if (ApplyTextureChoice(*rec, result, proprietes_->TextureAtOpening())) {
    HideBranch();
    EffaceBarreBoutons();
    DessineBarre();
  }
}

void TQuaylite::RunApp(std::int32_t numero) {
  for (const Tile& t : tiles_) {
    if (t.module && t.control->Tag() == numero) return;  // modules never launch
  }
  if (GetBtn(numero) == nullptr) return;
  const TBouton* rec = boutons_.FindPtr(numero);
  if (rec == nullptr) return;
  HideBranch();
  const SplitCommand cmd = SplitBtnApp(rec->BtnApp);
  DernierLance = numero;
  const std::wstring target = win::Widen(cmd.target);
  const std::wstring params = win::Widen(cmd.parameters);
  const std::wstring dir = win::Widen(cmd.directory);
  SHELLEXECUTEINFOW sei{};
  sei.cbSize = sizeof sei;
  // A failed launch stays silent: no error box from the shell.
  sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  sei.lpFile = target.c_str();
  sei.lpParameters = params.empty() ? nullptr : params.c_str();
  sei.lpDirectory = dir.empty() ? nullptr : dir.c_str();
  sei.nShow = SW_SHOWNORMAL;
  if (::ShellExecuteExW(&sei) == FALSE) {
    DernierLance = kNoLaunch;
    return;
  }
  win::KernelHandle process(sei.hProcess);
}

void TQuaylite::MainBtnMouseDown(const MouseEvent& e) {
  if (e.shift || e.ctrl || e.alt) return;
  if (e.button == MouseButton::Left && e.doubleClick) {
    FoldBar();
  } else if (e.button == MouseButton::Left) {
    PosSouris = CursorPos();
  } else if (e.button == MouseButton::Right) {
    HideBranch();
    POINT at = CursorPos();
    ::TrackPopupMenu(menuPrincipal_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x + 2, at.y + 5, 0, hwnd(),
                     nullptr);
  }
}

void TQuaylite::FoldBar() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  HideBranch();
  const int side = TileSide();
  const bool top = EdgeOf(cfg_.Sens) == Edge::Top;
  const RECT r = Bounds();
  const int current = top ? r.right - r.left : r.bottom - r.top;
  PlaySnd(current == side ? cfg_.OpenWharf : cfg_.CloseWharf);
  for (int len : FoldSteps(current, side, LongueurBarre)) {
    SetWindowRect(r.left, r.top, top ? len : side, top ? side : len);
    RepaintNow(hwnd());
  }
}

void TQuaylite::MainBtnMouseMove(const MouseEvent& e) {
  if (!e.left || e.right || e.middle || e.shift || e.ctrl || e.alt) return;
  HideBranch();
  const POINT c = CursorPos();
  const RECT r = Bounds();
  const int side = TileSide();
  if (EdgeOf(cfg_.Sens) == Edge::Top) {
    const int left = std::clamp(static_cast<int>(c.x - PosSouris.x + r.left), 0, ScreenWidth() - side);
    ::SetWindowPos(hwnd(), nullptr, left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    const int top = std::clamp(static_cast<int>(c.y - PosSouris.y + r.top), 0, ScreenHeight() - side);
    ::SetWindowPos(hwnd(), nullptr, r.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  PosSouris = c;
}

void TQuaylite::WMDropFiles(HDROP drop) {
  HideBranch();
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::string path;
  for (UINT i = 0; i < count && path.empty(); ++i) {
    const UINT len = ::DragQueryFileW(drop, i, nullptr, 0);
    if (len == 0 || len >= kMaxDropPath) continue;
    std::wstring w(len + 1, L'\0');
    ::DragQueryFileW(drop, i, w.data(), len + 1);
    w.resize(len);
    path = win::Narrow(w);
  }
  ::DragFinish(drop);
  if (path.empty()) return;
  boutons_.Append(ButtonData{FileNamePart(path), path, path, "", 999});
  EffaceBarreBoutons();
  DessineBarre();
  EcritBaseRegistre();
  ::SetForegroundWindow(hwnd());
}

void TQuaylite::WMHotKey(WPARAM id) {
  if (id != kHotKeyId) return;
  HideBranch();
  if (Visible()) {
    // A second press during a running lock would start a lock inside it.
    if (passwordDialog_ != nullptr && passwordDialog_->Visible()) return;
    EcritSortie(store_, "0");
    static const wchar_t kSection[] = L"SoftWare\\Wendor\\Quaylite";
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(kSection),
                          SMTO_ABORTIFHUNG, 2000, nullptr);
    LockWindows();
  } else {
    Show(SW_SHOWNOACTIVATE);
  }
}

LRESULT TQuaylite::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT tileResult = 0;
  if (host_.HandleMessage(msg, wParam, lParam, tileResult)) return tileResult;
  switch (msg) {
    case WM_CLOSE:
      if (passwordDialog_ != nullptr && passwordDialog_->Visible()) return 0;
      FormClose();
      Destroy();
      return 0;
    case WM_ENDSESSION:
      if (wParam != FALSE) FormClose();  // the session ends without a WM_CLOSE
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the tiles cover the window
    case WM_PAINT: {
      win::PaintDc dc(hwnd());
      host_.Paint(dc.get(), dc.info().rcPaint);
      return 0;
    }
    case WM_DROPFILES:
      WMDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_HOTKEY:
      WMHotKey(wParam);
      return 0;
    default:
      return Form::HandleMessage(msg, wParam, lParam);
  }
}

}  // namespace ql
