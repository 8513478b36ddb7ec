// TKovaGrpBox, the themed group box of the dialogs: an etched frame with a caption centred at its
// top. It is not the parent of the controls shown inside it but their sibling, kept at the bottom
// of the z-order, so the controls over it (every one WS_CLIPSIBLINGS) paint on top of it and the
// dialog keeps their notifications. The mouse passes through it; it never takes the focus.
//
// A new child window goes to the bottom of the z-order (that is what makes the tab order the order
// of creation), so the controls a dialog creates after its group box would end up under it. The
// group box therefore sinks to the bottom when it is created and once more when the code that
// created it returns to the message loop (a posted message); SinkToBottom does it at once.
#pragma once

#include <string>

#include "controls/KovaFace.h"
#include "win/Handles.h"

namespace ql {

class TKovaGrpBox : public TKovaFace {
 public:
  static constexpr const wchar_t* kClassName = L"TKovaGrpBox";

  TKovaGrpBox() = default;
  ~TKovaGrpBox() override;

  // A child window (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, id -1) at the bottom of the z-order.
  // The caption carries its own blanks, as in " Options ".
  bool Create(HWND parent, int x, int y, int width, int height, std::string caption);

  using TKovaFace::Caption;
  using TKovaFace::SetCaption;
  // Behind the caption (and the rest of the face); the button face colour by default.
  using TKovaFace::Color;
  using TKovaFace::SetColor;
  // Moves the group box under every sibling now.
  void SinkToBottom() const;

  // Stored only: the face is always drawn in the default dialog font ("MS Sans Serif" 8 points).
  void SetFont(HFONT font) { font_ = font; }
  HFONT Font() const { return font_; }

  win::Bitmap Compose() const override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  HFONT font_ = nullptr;
};

}  // namespace ql
