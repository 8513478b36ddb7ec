// The button menu: the popup of a right click on any tile of the bar or of the branch, and its
// commands for the tile it was opened on. Everything a command needs is read before the menu
// shows; after the menu, a message box or a dialog, a command goes on only while the dock is
// still open, and looks its record up again by number.
#pragma once

#include <cstdint>

#include "controls/KovaBtn.h"
#include "core/BarEdit.h"
#include "dock/MenuBoutons.h"

namespace ql {

class TQuaylite;

class ButtonCommands {
 public:
  explicit ButtonCommands(TQuaylite& dock) : dock_(dock) {}

  // Builds the menu (once, when the dock window exists).
  bool Build() { return menu_.Build(); }
  // The menu for `tile` at a screen point, and the command chosen.
  void MenuBoutonsPopup(TKovaBtn& tile, POINT screen);

  void TailleIconeClick(std::int32_t size);
  void AfficherNomClick();
  // Asks first when Confirm is set (`confirmation` is the question), then deletes.
  void SupprimerClick(std::int32_t numero, const std::string& confirmation);
  void EnvoyerVersClick(std::int32_t numero);
  void ChangerIconeClick(std::int32_t numero, TileKind kind);

  const MenuBoutons& Menu() const { return menu_; }

 private:
  TQuaylite& dock_;
  MenuBoutons menu_;
};

}  // namespace ql
