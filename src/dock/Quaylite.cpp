#include "dock/Quaylite.h"

#include "controls/Picture.h"
#include "controls/TileStyle.h"
#include "core/BarLayout.h"
#include "core/ButtonStore.h"
#include "core/ConfigStore.h"
#include "core/StartGuard.h"
#include "core/Text.h"
#include "taskbar/WinUtil.h"
#include "win/ModalScope.h"
#include "win/Screen.h"
#include "win/Sound.h"
#include "win/Utf.h"

namespace ql {

namespace {

constexpr int kOffScreen = -2000;

std::wstring ProgramFile() {
  std::wstring exe(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    if (n < exe.size()) {
      exe.resize(n);
      return exe;
    }
    exe.resize(exe.size() * 2);
  }
}

}  // namespace

std::string MainButtonIconPath(const std::wstring& folder, const std::wstring& program) {
  WIN32_FIND_DATAW found{};
  HANDLE h = ::FindFirstFileW((folder + L"*.ico").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    ::FindClose(h);
    return win::Narrow(folder + found.cFileName);
  }
  return win::Narrow(program);
}

TQuaylite::TQuaylite(KeyValueStore& store, TConfig& config, DockPeers& peers)
    : store_(store),
      cfg_(config),
      peers_(peers),
      mainMenu_(*this),
      input_(*this),
      mainInput_(*this),
      commands_(*this),
      modules_(store) {
  SoundPlayer = [](const std::string& file) { win::PlaySoundFile(file); };
  PasswordMessage = [this](const std::string& text, bool warning) {
    win::MessageBoxModal(peers_.password.hwnd(), text, "Quaylite",
                         MB_OK | (warning ? MB_ICONWARNING : MB_ICONERROR));
  };
}

TQuaylite::~TQuaylite() {
  // The tiles leave their host (and their hints) before the window goes.
  tiles_.clear();
}

bool TQuaylite::Create(HWND owner) {
  if (!CreateForm(owner, L"TQuaylite", kDockTitle, WS_POPUP | WS_CLIPCHILDREN, 0, kOffScreen, 0, 64, 64)) {
    return false;
  }
  hints_.Create(hwnd());
  AttachTiles(&hints_, &icons_);
  commands_.Build();
  if (!mainBtn_.Create(Host(), 0, 0, 64, 64)) return false;
  mainBtn_.SetFont(L"small", 9);
  mainBtn_.SetHint(kMainHint);
  mainBtn_.SetShowHint(true);
  mainInput_.Wire(mainBtn_);
  chain_.Add([this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return mainMenu_.HandleMessage(msg, wParam, lParam, result);
  });
  FormCreate();

  // The other windows of the program, in their order.
  bool ok = peers_.branch.Create(owner, &hints_, &icons_);
  ok = peers_.configuration.Create(owner, *this) && ok;
  ok = peers_.proprietes.Create(owner) && ok;
  ok = peers_.sendTo.Create(owner) && ok;
  ok = peers_.password.Create(owner) && ok;
  ok = peers_.taskBar.CreateForm(owner, L"TTaskBar", L"TaskBar", WS_POPUP, WS_EX_TOOLWINDOW, 0, -500, 0, 0) &&
       ok;
  return ok;
}

void TQuaylite::FormCreate() {
  // A rewrite of the store that a kill cut short is finished or undone before anything is read.
  RecoverStore(store_);
  previousStartDied_ = BeginStart(store_);
  ReadPictureFiles(!previousStartDied_);
  // Before anything is hidden: the windows a killed dock left on other screens come back.
  HWND application = ::GetWindow(hwnd(), GW_OWNER);
  modules_.FormCreate(application != nullptr ? application : hwnd(), hwnd());
  cfg_.Provider = false;  // LitConfig reads it again
  launcher_.DernierLance = kNoLaunch;
  boutons_.InitPtr();
  SortieNormale = LitConfig(store_, cfg_);
  ShowDesktopIcons(cfg_.HideDesktop);
  LitBaseRegistre(store_, boutons_);
  CreeMenu();
  DessineBarre();
  const std::wstring program = ProgramFile();
  mainBtn_.SetIconSource(MainButtonIconPath(program.substr(0, program.find_last_of(L"\\/") + 1), program), 0);
  dropTarget_.Accept(hwnd());
  RegisterDockHotKey();
  // No button on the system task bar: the hidden owner is a tool window.
  if (HWND owner = ::GetWindow(hwnd(), GW_OWNER)) ::SetWindowLongPtrW(owner, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
}

void TQuaylite::RegisterDockHotKey() {
  // The key is the sixth character of the text as the system code page writes it.
  if (auto key = HotKeyCharacter(win::ToSystemCodePage(cfg_.HotKey))) {
    hotKey_.Register(hwnd(), kHotKeyId, MOD_CONTROL, static_cast<unsigned char>(*key));
  }
}

void TQuaylite::FormShow() {
  // A lock at start happens even when the lock is otherwise switched off (the flag itself stays
  // as it is: a password changed during this lock is stored with it).
  if (!SortieNormale || cfg_.StartLock) LockWindows(true);
  Show(SW_SHOWNOACTIVATE);
  // Again now that the window shows: a hidden window does not keep its topmost place everywhere.
  ::SetWindowPos(hwnd(), cfg_.OnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (cfg_.TaskBar) StartTaskBar();
}

void TQuaylite::StartReachedLoop() { ql::StartReachedLoop(store_); }

void TQuaylite::FormClose() {
  if (closed_) return;
  if (cfg_.RedimDesk) strip_.Remove();
  EcritBaseRegistre();
  if (cfg_.TaskBar) StopTaskBar();
  EcritVerrou(store_, cfg_);
  EcritSortie(store_, "1");
  // From here on nothing writes the store: whatever runs after a modal loop, a message box or a
  // menu that the close interrupted finds the dock closed.
  closed_ = true;
  mainMenu_.Free();
  dropTarget_.Release();
  EffaceBarreBoutons();
  modules_.Close();  // every window of every virtual screen shown
  peers_.branch.CreeBarreBranche(nullptr, BranchStyle{});
  boutons_.DisposeAllPtr();
  ShowDesktopIcons(false);
  hotKey_.Release();
  store_.Seal();
}

void TQuaylite::EffaceBarreBoutons() {
  while (!tiles_.empty()) tiles_.pop_back();  // from the last to the first
}

void TQuaylite::PlaceWindow(int x, int y, int w, int h, bool repaint) const {
  ::SetWindowPos(hwnd(), nullptr, x, y, w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0U : static_cast<UINT>(SWP_NOREDRAW)));
}

void TQuaylite::DessineBarre() {
  if (!tiles_.empty()) EffaceBarreBoutons();  // never two controls for one record
  const RECT r = Bounds();
  PlaceWindow(kOffScreen, r.top, r.right - r.left, r.bottom - r.top, false);

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
  const BarPlacement place = PlaceBar(edge, side, static_cast<int>(bar.size()), cfg_.PosTop,
                                      win::ScreenWidth(), win::ScreenHeight());

  modules_.PrepareBar(boutons_);
  tiles_.reserve(bar.size());
  for (std::size_t i = 0; i < bar.size(); ++i) {
    const TBouton& rec = *bar[i];
    const PixelPoint at = place.tiles[i];
    auto tile = std::make_unique<TKovaBtn>();
    if (!tile->Create(Host(), at.x, at.y, side, side)) continue;
    if (rec.Module() != ModuleKind::None) {
      // A module: the common settings, then its face with its own (the hint is the face's).
      tile->SetAutoSize(false);
      tile->SetShowDots(false);
      tile->SetTag(rec.Numero);
      tile->SetColor(cfg_.Couleur);
      tile->SetBorder(cfg_.Relief);
      ShowTileTexture(*tile, rec.Texture, barTexture_.get());
      tile->SetShowHint(true);
      modules_.MakeModule(*tile, rec, cfg_);
    } else {
      StyleTile(*tile, rec, cfg_, barTexture_.get(), TilePlace::Bar);
    }
    tile->SetBounds(at.x, at.y, side, side);
    input_.Wire(*tile);
    tiles_.push_back(std::move(tile));
  }

  icons_.Trim();  // icons no tile shows any more
  const PixelRect w = place.window;
  LongueurBarre = place.longueurBarre;
  PlaceWindow(w.left, w.top, w.width, w.height);
  ::SetWindowPos(hwnd(), cfg_.OnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (cfg_.RedimDesk) {
    strip_.Place(hwnd(), edge);
  } else {
    strip_.Remove();
  }
  ModuleBar::StartModules(tiles_);  // the clock and the gauges run once the bar is laid out
}

void TQuaylite::SauvePosBarre() {
  const RECT r = Bounds();
  cfg_.PosTop = EdgeOf(cfg_.Sens) == Edge::Top ? r.left : r.top;
}

void TQuaylite::EcritBaseRegistre() {
  if (closed_) return;
  const RECT r = Bounds();
  const std::int32_t posTop = EdgeOf(cfg_.Sens) == Edge::Top ? r.left : r.top;
  ql::EcritBaseRegistre(store_, cfg_, posTop, boutons_);
}

TKovaBtn* TQuaylite::GetBtn(std::int32_t numero) const {
  for (const auto& t : tiles_) {
    if (t->Tag() == numero) return t.get();
  }
  for (const auto& c : peers_.branch.Controls()) {
    if (c->Tag() == numero) return c.get();
  }
  return nullptr;
}

bool TQuaylite::IsModuleTile(std::int32_t numero) const {
  const TBouton* rec = boutons_.FindPtr(numero);
  return rec != nullptr && rec->Module() != ModuleKind::None;
}

void TQuaylite::PlaySnd(const std::string& file) const {
  if (!cfg_.PlaySnd || file.empty() || !SoundPlayer) return;
  SoundPlayer(file);
}

void TQuaylite::HideBranch() {
  if (peers_.branch.Visible()) peers_.branch.Hide();
}

void TQuaylite::AfficheBarreBranche(bool open, const TBouton* record, int count) {
  TBarreBranche& branch = peers_.branch;
  if (branch.hwnd() == nullptr) return;
  const Edge edge = EdgeOf(cfg_.Sens);
  const RECT d = Bounds();
  const PixelRect dock{d.left, d.top, d.right - d.left, d.bottom - d.top};
  if (open) {
    PixelPoint groupTile{};
    if (record != nullptr) {
      if (TKovaBtn* g = GetBtn(record->Numero)) groupTile = {g->Left(), g->Top()};
    }
    branch.SlideIn(hwnd(), edge, dock, groupTile, TileSide(), count);
    if (record != nullptr && record->HasMembers()) PlaySnd(cfg_.OpenW);
    return;
  }
  // Closing because a plain button was pressed plays nothing: that record has no members.
  if (record != nullptr && record->Numero > 0 && record->HasMembers()) PlaySnd(cfg_.CloseW);
  branch.SlideOut(edge, dock, TileSide());
}

void TQuaylite::RunApp(std::int32_t numero) {
  const TKovaBtn* tile = GetBtn(numero);
  if (tile == nullptr || tile->Face() != nullptr || IsModuleTile(numero)) return;  // modules never launch
  const TBouton* rec = boutons_.FindPtr(numero);
  if (rec == nullptr) return;
  HideBranch();
  launcher_.Run(*rec);
}

TBouton* TQuaylite::FindPtrText(std::string_view text) const {
  TBouton* found = nullptr;
  return boutons_.FindPtrText(text, found) ? found : nullptr;
}

void TQuaylite::SendFenToScreen(WindowId window, int screen) { modules_.SendFenToScreen(window, screen); }

TKovaBtn* TQuaylite::TileAtScreen(POINT screen) const {
  if (TKovaBtn* member = peers_.branch.TileAtScreen(screen)) return member;
  if (::WindowFromPoint(screen) != hwnd()) return nullptr;
  ::ScreenToClient(hwnd(), &screen);
  TKovaBtn* tile = Host().TileAt(screen);
  return tile == &mainBtn_ ? nullptr : tile;
}

void TQuaylite::WMDropFiles(HDROP drop) {
  // Files dropped on a module tile are its face's when it takes them (the recycle bin does).
  POINT at{};
  if (::DragQueryPoint(drop, &at) != FALSE) {
    if (TKovaBtn* tile = Host().TileAt(at); tile != nullptr && tile->Face() != nullptr) {
      if (tile->DropOnFace(DroppedFiles(drop))) {
        ::DragFinish(drop);
        return;
      }
    }
  }
  HideBranch();
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::string path;
  for (UINT i = 0; i < count && path.empty(); ++i) {
    const UINT len = ::DragQueryFileW(drop, i, nullptr, 0);
    if (len == 0 || len >= kMaxDropPath) continue;  // paths of 255 characters or more are skipped
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

void TQuaylite::WMClose() {
  if (peers_.password.Visible()) return;  // never while the lock's dialog shows
  FormClose();
  Destroy();
}

LRESULT TQuaylite::OwnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (chain_.Dispatch(msg, wParam, lParam, result)) return result;
  switch (msg) {
    case WM_CLOSE:
      WMClose();
      return 0;
    case WM_ENDSESSION:
      if (wParam != FALSE) FormClose();  // the session ends without a WM_CLOSE
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    case WM_DROPFILES:
      WMDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_HOTKEY:
      WMHotKey(wParam);
      return 0;
    default:
      return TileHostWindow::OwnMessage(msg, wParam, lParam);
  }
}

}  // namespace ql
