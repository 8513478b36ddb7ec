// The button context menu: the popup shown by a right click on any tile of the bar or of the
// branch, built from its table (core/MenuTable.h). The dock runs the chosen command.
#pragma once

#include <cstdint>

#include "win/PopupMenu.h"

namespace ql {

class MenuBoutons {
 public:
  // The tags of the menu's table.
  enum Command : UINT {
    kNone = 0,
    kChangerIcone = 1,  // "Button Properties"
    kTaille64 = 2,
    kTaille48 = 3,
    kTaille32 = 4,
    kTaille16 = 5,
    kAfficherNom = 6,  // "Label under icon"
    kSupprimer = 7,    // "Delete Button"
    kEnvoyerVers = 8,  // "Send button to..."
  };

  // Builds the menu and its three entry pictures.
  bool Build();
  HMENU handle() const { return menu_.handle(); }

  // Before the menu shows: checks the size entry equal to `taille` (none for another value) and
  // the label entry when `showName`; "Send button to..." only for an icon button.
  void Popup(std::int32_t taille, bool showName, bool iconButton) const;

  // Shows the menu at a screen point and returns the command chosen (kNone when dismissed).
  Command Track(HWND owner, POINT screen) const;

  // The icon size of a size command; 0 for any other command.
  static std::int32_t SizeOf(Command command);

  bool IsChecked(Command command) const;
  bool IsEnabled(Command command) const;

 private:
  win::PopupMenu menu_;
};

}  // namespace ql
