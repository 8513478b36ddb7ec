#include "dock/TileInput.h"

#include <cstdlib>

#include "core/BarEdit.h"
#include "core/Text.h"
#include "dock/Quaylite.h"
#include "win/Screen.h"

namespace ql {

bool LeftAlone(const MouseEvent& e) {
  return e.button == MouseButton::Left && !e.right && !e.middle && !e.shift && !e.ctrl && !e.alt;
}

void TileInput::Wire(TKovaBtn& tile) {
  tile.OnMouseDown = [this](TKovaBtn& b, const MouseEvent& e) { BtnAppMouseDown(b, e); };
  tile.OnMouseMove = [this](TKovaBtn&, const MouseEvent& e) { BtnAppMouseMove(e); };
  tile.OnMouseUp = [this](TKovaBtn&, const MouseEvent& e) { BtnAppMouseUp(e); };
  tile.OnDblClick = [this](TKovaBtn& b) { BtnAppDblClick(b); };
  tile.OnContextMenu = [this](TKovaBtn& b, POINT screen) { dock_.Commands().MenuBoutonsPopup(b, screen); };
}

void TileInput::BtnAppMouseDown(TKovaBtn& tile, const MouseEvent& e) {
  if (e.doubleClick) return;
  if (e.button == MouseButton::Left && e.shift && !e.right && !e.middle && !e.ctrl && !e.alt) {
    // Shift-drag: starts once the mouse has moved by the system's drag threshold.
    dragSource_ = tile.Tag();
    dragStart_ = win::CursorPos();
    dragging_ = false;
    return;
  }
  if (!LeftAlone(e)) return;
  EndDrag();
  const std::int32_t n = tile.Tag();
  ButtonList& boutons = dock_.Boutons();
  TBarreBranche& branch = dock_.Branch();
  TBouton* openGroup = boutons.GetBranchePtr(ParseDecimal(dock_.BrancheOuverte).value_or(0));
  TBouton* record = boutons.FindPtr(n);
  TBouton* group = boutons.GetBranchePtr(n);
  const bool branchShown = branch.Visible();
  // A press on the open group closes its branch; on another group, opens that one (closing the
  // first); on a plain main-bar button, closes the branch; on a member, leaves it open.
  const bool sameGroupShown = group == openGroup && branchShown;
  if (!sameGroupShown && group != nullptr) {
    dock_.BrancheOuverte = std::to_string(n);
    if (branchShown) dock_.AfficheBarreBranche(false, record, 0);
    const BranchStyle style{&dock_.Config(), dock_.TileSide(), dock_.BarTexture(),
                            [this](TKovaBtn& b) { Wire(b); }};
    const int count = branch.CreeBarreBranche(group, style);
    dock_.AfficheBarreBranche(count > 0, group, count);
  } else if (sameGroupShown || (record != nullptr && record->NumBranche == 0)) {
    dock_.AfficheBarreBranche(false, record, 0);
  }
  if (group == nullptr && dock_.Config().SingleClick) dock_.RunApp(n);
}

void TileInput::BtnAppDblClick(TKovaBtn& tile) { dock_.RunApp(tile.Tag()); }

void TileInput::BtnAppMouseMove(const MouseEvent& e) {
  if (dragSource_ < 0) return;
  if (!e.left) {
    EndDrag();  // the press ended where the tile could not see it
    return;
  }
  const POINT c = win::CursorPos();
  if (!dragging_ && (std::abs(c.x - dragStart_.x) >= ::GetSystemMetrics(SM_CXDRAG) ||
                     std::abs(c.y - dragStart_.y) >= ::GetSystemMetrics(SM_CYDRAG))) {
    dragging_ = true;
  }
  if (dragging_) ::SetCursor(::LoadCursorW(nullptr, dock_.TileAtScreen(c) != nullptr ? IDC_SIZEALL : IDC_NO));
}

void TileInput::BtnAppMouseUp(const MouseEvent& e) {
  if (e.button != MouseButton::Left || dragSource_ < 0) return;
  const std::int32_t source = dragSource_;
  const bool dropped = dragging_;
  EndDrag();
  if (!dropped) return;
  // Only the tiles of the bar and of the branch accept a drop (modules included; the main
  // button and empty space do not).
  if (TKovaBtn* target = dock_.TileAtScreen(win::CursorPos())) BtnAppDragDrop(source, target->Tag());
}

void TileInput::EndDrag() {
  if (dragging_) ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  dragSource_ = -1;
  dragging_ = false;
}

void TileInput::BtnAppDragDrop(std::int32_t source, std::int32_t target) {
  ButtonList& boutons = dock_.Boutons();
  boutons.BoutonSource = boutons.FindPtr(source);
  boutons.BoutonCible = boutons.FindPtr(target);
  const ExchangeKind kind = ExchangeButtons(boutons.BoutonSource, boutons.BoutonCible);
  if (kind == ExchangeKind::None) return;
  if (kind == ExchangeKind::MainBar) dock_.HideBranch();
  // Each control keeps showing what it showed and moves to where its contents now are.
  TKovaBtn* a = dock_.GetBtn(source);
  TKovaBtn* b = dock_.GetBtn(target);
  if (a != nullptr && b != nullptr) {
    const int ax = a->Left();
    const int ay = a->Top();
    a->SetBounds(b->Left(), b->Top(), a->Width(), a->Height());
    b->SetBounds(ax, ay, b->Width(), b->Height());
    a->SetTag(target);
    b->SetTag(source);
  }
  dock_.EcritBaseRegistre();
}

}  // namespace ql
