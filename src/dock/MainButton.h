// The main button at the head of the bar: a left double click folds and unfolds the bar, a left
// press and drag moves the bar along its edge (for the whole drag: the pressed button keeps the
// mouse until it is released), a right press opens the main menu.
#pragma once

#include "controls/KovaBtn.h"
#include "controls/Mouse.h"

namespace ql {

class TQuaylite;

class MainButton {
 public:
  explicit MainButton(TQuaylite& dock) : dock_(dock) {}

  void Wire(TKovaBtn& mainBtn);

  void MainBtnMouseDown(const MouseEvent& e);
  void MainBtnMouseMove(const MouseEvent& e);

  // The cursor at the last left press on the main button, updated while the bar is dragged.
  POINT PosSouris{};

 private:
  void FoldBar();
  TQuaylite& dock_;
};

}  // namespace ql
