// One way to style a tile from its record and the dock's options, for every place a tile shows a
// button: the bar, the branch and the dialogs' previews.
#pragma once

#include <cstdint>
#include <string>

#include "core/Bouton.h"
#include "core/Config.h"
#include "win/Win.h"

namespace ql {

class TKovaBtn;

enum class TilePlace : std::uint8_t {
  Bar,      // a button of the main bar: everything, a group's mark included
  Branch,   // a member in the branch bar: no group mark, no dots
  Preview,  // a dialog's preview: colour, icon file, icon size and texture
};

// Styles `tile` for `record`. `barTexture` is the bar's texture (the main button's; nullptr for
// none): a record without a texture of its own shows it. A record's own texture that is not a
// readable bitmap leaves the tile on its plain colour.
void StyleTile(TKovaBtn& tile, const TBouton& record, const TConfig& cfg, HBITMAP barTexture,
               TilePlace place);

// The record's own texture file loaded onto `tile`, or `fallback` when the file name is empty.
void ShowTileTexture(TKovaBtn& tile, const std::string& ownTexture, HBITMAP fallback);

}  // namespace ql
