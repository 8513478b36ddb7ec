// The dock window: the bar of tiles at a screen edge, the owner of the button model, and the
// handlers of its messages. Every change of buttons or options rebuilds the whole bar
// (EffaceBarreBoutons, DessineBarre) and rewrites the store (EcritBaseRegistre).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/Hints.h"
#include "controls/IconCache.h"
#include "controls/KovaBtn.h"
#include "controls/TileHost.h"
#include "core/Bouton.h"
#include "core/Command.h"
#include "core/Config.h"
#include "core/Store.h"
#include "dialogs/Proprietes.h"
#include "dialogs/SendTo.h"
#include "dock/BarreBranche.h"
#include "dock/MenuBoutons.h"
#include "win/Form.h"
#include "win/Handles.h"

namespace ql {

inline constexpr wchar_t kDockTitle[] = L"Quaylite";

class TQuaylite final : public win::Form {
 public:
  TQuaylite(KeyValueStore& store, TConfig& config);
  ~TQuaylite() override;

  // Creates the window and runs FormCreate. `passwordDialog` is the lock's dialog: WM_CLOSE is
  // refused while it shows.
  bool Create(HWND owner, TBarreBranche& branch, const win::Form* passwordDialog);
  // The two button dialogs, created after the dock (the program's order of windows).
  void SetDialogs(TProprietes* proprietes, TSendTo* sendTo) {
    proprietes_ = proprietes;
    sendTo_ = sendTo;
  }
  // Shows the bar (after the start-up lock, when one is due).
  void FormShow();

  // The model and the operations the dialogs use.
  ButtonList& Boutons() { return boutons_; }
  void EffaceBarreBoutons();
  void DessineBarre();
  void EcritBaseRegistre();
  void SauvePosBarre();
  TKovaBtn* GetBtn(std::int32_t numero) const;
  void AfficheBarreBranche(bool open, const TBouton* record, int count);
  void RunApp(std::int32_t numero);

  // The button menu's commands, for the tile numbered `numero`.
  void TailleIconeClick(std::int32_t size);
  void AfficherNomClick();
  void SupprimerClick(std::int32_t numero);
  void EnvoyerVersClick(std::int32_t numero);
  void ChangerIconeClick(std::int32_t numero, TileKind kind);
  // Exchanges the tiles numbered `source` and `target` (a Shift-drag dropped on a tile).
  void BtnAppDragDrop(std::int32_t source, std::int32_t target);
  const MenuBoutons& Menu() const { return menuBoutons_; }

  // State read by the task bar and the tests.
  std::int32_t DernierLance = kNoLaunch;
  std::string BrancheOuverte = "0";
  bool BarreInscrite = false;
  bool SortieNormale = true;
  int LongueurBarre = 0;
  POINT PosSouris{};

  TKovaBtn& MainBtn() { return mainBtn_; }
  int TileSide() const { return mainBtn_.Width(); }
  std::size_t TileCount() const { return tiles_.size(); }

 private:
  struct Tile {
    std::unique_ptr<TKovaBtn> control;
    bool module = false;
  };

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void FormCreate();
  void FormClose();
  void WMDropFiles(HDROP drop);
  void WMHotKey(WPARAM id);
  void LockWindows();
  void StartTaskBar();
  void StopTaskBar();
  void RegisterDockHotKey();

  void WireTile(TKovaBtn& btn);
  void BtnAppMouseDown(TKovaBtn& btn, const MouseEvent& e);
  void BtnAppDblClick(TKovaBtn& btn);
  void BtnAppMouseMove(TKovaBtn& btn, const MouseEvent& e);
  void BtnAppMouseUp(TKovaBtn& btn, const MouseEvent& e);
  void MenuBoutonsPopup(TKovaBtn& btn, POINT screen);
  TKovaBtn* TileAtScreen(POINT screen) const;
  bool IsModuleTile(std::int32_t numero) const;
  void MainBtnMouseDown(const MouseEvent& e);
  void MainBtnMouseMove(const MouseEvent& e);
  void FoldBar();
  void HideBranch();
  void PlaySnd(const std::string& file) const;
  void RegisterDesktopToolbar();
  void RemoveDesktopToolbar();
  void SetWindowRect(int x, int y, int w, int h, bool repaint = true) const;

  KeyValueStore& store_;
  TConfig& cfg_;
  ButtonList boutons_;
  TBarreBranche* branch_ = nullptr;
  const win::Form* passwordDialog_ = nullptr;
  TProprietes* proprietes_ = nullptr;
  TSendTo* sendTo_ = nullptr;
  Hints hints_;
  IconCache icons_;  // shared by the bar and the branch; kept across rebuilds
  TileHost host_;    // the tiles are drawn on the dock window itself
  TKovaBtn mainBtn_;
  std::vector<Tile> tiles_;
  win::Bitmap barTexture_;
  MenuBoutons menuBoutons_;
  win::Menu menuPrincipal_;  // the main menu
  // A Shift-drag in progress: the tile pressed, where, and whether it has started moving.
  std::int32_t dragSource_ = -1;
  POINT dragStart_{};
  bool dragging_ = false;
  bool closed_ = false;
  bool hotKeyRegistered_ = false;
};

}  // namespace ql
