#include "controls/TileStyle.h"

#include "controls/KovaBtn.h"
#include "controls/Picture.h"

namespace ql {

void ShowTileTexture(TKovaBtn& tile, const std::string& ownTexture, HBITMAP fallback) {
  if (ownTexture.empty()) {
    tile.SetTexture(fallback);
    return;
  }
  win::Bitmap own = LoadTexture(ownTexture);
  tile.SetTexture(own.get());
}

void StyleTile(TKovaBtn& tile, const TBouton& record, const TConfig& cfg, HBITMAP barTexture,
               TilePlace place) {
  tile.SetColor(static_cast<COLORREF>(cfg.Couleur));
  ShowTileTexture(tile, record.Texture, barTexture);
  if (place == TilePlace::Preview) {
    tile.SetIconPath(record.IconPath);
    tile.SetIconSize(cfg.Taille);
    return;
  }
  tile.SetAutoSize(false);
  tile.SetIconSize(cfg.Taille);
  tile.SetIconSource(record.IconPath, record.IconIndex);
  tile.SetBorder(cfg.Relief);
  tile.SetTag(record.Numero);
  tile.SetHint(record.NomApp);
  tile.SetShowHint(true);
  tile.SetCaption(cfg.ShowName ? record.NomApp : std::string());
  if (place == TilePlace::Branch) {
    tile.SetShowDots(false);
    tile.SetGroupe(TGroupeState::gNone);
    return;
  }
  tile.SetShowDots(cfg.ShowDots);
  const TGroupeState mark = EdgeOf(cfg.Sens) == Edge::Left ? TGroupeState::gRight : TGroupeState::gLeft;
  tile.SetGroupe(record.HasMembers() ? mark : TGroupeState::gNone);
}

}  // namespace ql
