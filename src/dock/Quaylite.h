// The dock window: the bar of tiles at a screen edge and the owner of the button model. It starts
// and closes the program's run, keeps the named operations of the model (EffaceBarreBoutons,
// DessineBarre, EcritBaseRegistre, RunApp...), and routes its messages through the parts that
// own them: the tiles' mouse (TileInput), the main button (MainButton), the button menu
// (ButtonCommands), the desktop strip (DesktopStrip), launching (Launcher), the modules on the bar
// (ModuleBar).
//
// Every change of buttons or options rebuilds the whole bar (EffaceBarreBoutons, DessineBarre)
// and rewrites the store (EcritBaseRegistre). Once FormClose has run, nothing writes the store.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/Hints.h"
#include "controls/IconCache.h"
#include "controls/KovaBtn.h"
#include "controls/TileHostWindow.h"
#include "core/Bouton.h"
#include "core/Config.h"
#include "core/SealableStore.h"
#include "core/Store.h"
#include "dialogs/DockOps.h"
#include "dock/ButtonCommands.h"
#include "dock/DesktopStrip.h"
#include "dock/DockPeers.h"
#include "dock/Launcher.h"
#include "dock/MainButton.h"
#include "dock/MainMenu.h"
#include "dock/ModuleBar.h"
#include "dock/TileInput.h"
#include "win/Handles.h"
#include "win/MessageChain.h"
#include "win/Registrations.h"

namespace ql {

inline constexpr wchar_t kDockTitle[] = L"Quaylite";
inline constexpr char kMainHint[] = "Quaylite";
inline constexpr int kHotKeyId = 0;  // the dock's one hot key

class TQuaylite final : public TileHostWindow, public DockOps {
 public:
  TQuaylite(KeyValueStore& store, TConfig& config, DockPeers& peers);
  ~TQuaylite() override;

  // Creates the dock window owned by `owner` and runs FormCreate, then creates the other windows
  // of the program in their order.
  bool Create(HWND owner);
  // Shows the bar (after the start-up lock, when one is due) and starts the task bar.
  void FormShow();
  // The start has reached the message loop: a later start may load pictures again.
  void StartReachedLoop();
  // The previous start died before its message loop: this one runs without icons and textures.
  bool PreviousStartDied() const { return previousStartDied_; }

  // The model and the named operations (DockOps for the dialogs).
  ButtonList& Boutons() override { return boutons_; }
  TConfig& Config() override { return cfg_; }
  void EffaceBarreBoutons() override;
  void DessineBarre() override;
  void EcritBaseRegistre() override;
  TKovaBtn* GetBtn(std::int32_t numero) const override;
  std::string MainIconPath() const override { return mainBtn_.IconPath(); }
  HBITMAP MainTexture() const override { return mainBtn_.Texture(); }
  bool Closed() const override { return closed_; }
  // (DockConfiguration.cpp)
  void RebuildMainMenu() override { CreeMenu(); }
  void SetDesktopIconsHidden(bool hide) override;
  void ResetHotKey() override;
  void UpdateTaskBar(bool wasOn, bool changed) override;

  TBouton* FindPtr(std::int32_t numero) const { return boutons_.FindPtr(numero); }
  void SauvePosBarre();
  void AfficheBarreBranche(bool open, const TBouton* record, int count);
  void HideBranch();
  // Launches the record behind the icon button numbered `numero` (modules never launch).
  void RunApp(std::int32_t numero);
  // The first record (bar, then members) whose BtnApp is `text`, such as a module kind; nullptr
  // when none. The task bar's "Send app to..." is enabled by FindPtrText(kModuleVirtualDesk).
  TBouton* FindPtrText(std::string_view text) const;
  // The task bar's "Send app to...": the window is minimised and every virtual screens module of
  // the bar files it under `screen` (1 to 4) at its next tick. Nothing without the module.
  void SendFenToScreen(WindowId window, int screen);
  // The virtual screens, while the bar has the module (kept across rebuilds).
  DeskScreens* Screens() const { return modules_.Screens(); }
  // Plays a sound file when sounds are on (PlaySnd) and the name is not empty.
  void PlaySnd(const std::string& file) const;
  // The main menu at a screen point.
  void PopupMainMenu(POINT screen);
  // The main menu (MainMenu.cpp), built at start and again after every accepted configuration.
  void CreeMenu();
  MainMenu& MainMenuPart() { return mainMenu_; }
  // "Quaylite Configuration" (DockConfiguration.cpp): the dialog, and what follows its OK.
  void ConfigurationClick();

  // The dock's own task bar (DockTaskBar.cpp). Start: created, filled and shown when its
  // settings say so; Stop: removed and the system's task bar given back; Rebuild: its buttons
  // made again after a change of its settings; Show: the task bar window shown or hidden;
  // Suspend and Resume: around the lock. All do nothing when the task bar is not running.
  void StartTaskBar();
  void StopTaskBar();
  void RebuildTaskBar();
  void ShowTaskBar(bool show);
  void SuspendTaskBar();
  void ResumeTaskBar();
  bool TaskBarRunning() const;
  // The tile of the bar or of the branch under a screen point (not the main button).
  TKovaBtn* TileAtScreen(POINT screen) const;
  // Whether the tile numbered `numero` shows a module.
  bool IsModuleTile(std::int32_t numero) const;

  // The parts, and the state that the task bar and the tests read.
  TileInput& Input() { return input_; }
  MainButton& MainButtonInput() { return mainInput_; }
  ButtonCommands& Commands() { return commands_; }
  DockPeers& Peers() { return peers_; }
  TBarreBranche& Branch() { return peers_.branch; }
  std::int32_t& DernierLance() { return launcher_.DernierLance; }
  bool BarreInscrite() const { return strip_.Registered(); }
  std::string BrancheOuverte = "0";
  bool SortieNormale = true;
  int LongueurBarre = 0;

  TKovaBtn& MainBtn() { return mainBtn_; }
  const TKovaBtn& MainBtn() const { return mainBtn_; }
  int TileSide() const { return mainBtn_.Width(); }
  std::size_t TileCount() const { return tiles_.size(); }
  HBITMAP BarTexture() const { return barTexture_.get(); }
  Hints& TileHints() { return hints_; }

  // Seams for the tests: how sounds are played and how the shell is asked for the desktop strip.
  std::function<void(const std::string&)> SoundPlayer;
  // How the lock tells of a refused password: a warning (the new passwords differ) or an error.
  std::function<void(const std::string& text, bool warning)> PasswordMessage;
  DesktopStrip& Strip() { return strip_; }

 private:
  LRESULT OwnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void FormCreate();
  void FormClose();
  void WMClose();
  void WMDropFiles(HDROP drop);
  void WMHotKey(WPARAM id);
  // The lock (Lock.cpp). `atStart`: the start-up lock, which locks even with the lock off.
  void LockWindows(bool atStart = false);
  // The password loop: returns once the right password is typed (`accepted` true).
  void CheckPasswd(bool& accepted);
  void RegisterDockHotKey();
  void PlaceWindow(int x, int y, int w, int h, bool repaint = true) const;

  SealableStore store_;  // sealed at the end of FormClose
  TConfig& cfg_;
  DockPeers& peers_;
  ButtonList boutons_;
  Hints hints_;
  IconCache icons_;  // shared by the bar and the branch; kept across rebuilds
  TKovaBtn mainBtn_;
  std::vector<std::unique_ptr<TKovaBtn>> tiles_;
  win::Bitmap barTexture_;
  MainMenu mainMenu_;  // MenuPrincipal
  Launcher launcher_;
  DesktopStrip strip_;
  TileInput input_;
  MainButton mainInput_;
  ButtonCommands commands_;
  ModuleBar modules_;
  win::HotKey hotKey_;
  win::DropTarget dropTarget_;
  win::MessageChain chain_;
  bool closed_ = false;
  bool previousStartDied_ = false;
};

// The main button's icon: the first "*.ico" file in `folder` (with its final "\"), else
// `program` itself.
std::string MainButtonIconPath(const std::wstring& folder, const std::wstring& program);

}  // namespace ql
