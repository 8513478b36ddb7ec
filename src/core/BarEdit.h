// Edits of the bar made with the mouse and the button menu: the exchange of two dragged tiles
// and the text of the delete confirmation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Bouton.h"

namespace ql {

enum class ExchangeKind : std::uint8_t {
  None,     // same record, unknown record, or one on the main bar and the other in a branch
  MainBar,  // two main-bar records: their members went with their contents
  Branch,   // two members: only the contents moved
};

// Exchanges the contents (BtnApp, NomApp, IconPath, IconIndex, Texture) of two records; on the
// main bar each record also takes the other's members.
ExchangeKind ExchangeButtons(TBouton* source, TBouton* target);

// What a deleted tile is, for the confirmation text.
enum class TileKind : std::uint8_t { Button, Group, Clock, VirtualDesk, SysInfo, Recycler };
TileKind TileKindOf(const TBouton& record);

// "Delete " + what + " ?": "button Notepad", "group Tools", "Clock button", ...
std::string DeleteConfirmation(TileKind kind, std::string_view hint);

}  // namespace ql
