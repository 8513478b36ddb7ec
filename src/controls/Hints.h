// The hints of one top-level window: a single tooltip control that shows the hint of whichever
// child window the mouse rests on. Each tool is the child window itself (TTF_IDISHWND) and the
// tooltip watches its mouse messages (TTF_SUBCLASS). Shown after 250 ms, hidden after 1000 ms, on
// a silver background.
#pragma once

#include <string>
#include <string_view>

#include "win/Handles.h"

namespace ql {

class Hints {
 public:
  static constexpr UINT kInitialDelayMs = 250;
  static constexpr UINT kAutoPopMs = 1000;
  static constexpr COLORREF kBackground = 0xC0C0C0;

  Hints() = default;
  Hints(const Hints&) = delete;
  Hints& operator=(const Hints&) = delete;
  ~Hints() = default;

  // Creates the tooltip window owned by `owner` (destroying any previous one); false on failure.
  bool Create(HWND owner);
  HWND hwnd() const { return tip_.get(); }

  // Gives `tool` the hint `text`; with !show or an empty text the tool has no hint.
  void Set(HWND tool, std::string_view text, bool show);
  void Remove(HWND tool);
  // Whether `tool` currently has a hint, and its text (UTF-8; empty when none).
  bool Has(HWND tool) const;
  std::string Text(HWND tool) const;

 private:
  win::OwnedWindow tip_;
  HWND owner_ = nullptr;
};

}  // namespace ql
