// The hints of one top-level window: a single tooltip control that shows the hint of whichever
// child window or tile the mouse rests on. A child window is a tool of its own (TTF_IDISHWND) and
// the tooltip watches its mouse messages (TTF_SUBCLASS). A windowless tile is a rectangle tool of
// the window it is drawn on, named by a number; that window hands its mouse messages over with
// Relay (a TileHost does). Shown after 250 ms, hidden after 1000 ms, on a silver background.
//
// Why rectangle tools do not subclass: adding a subclassing tool costs the window property calls
// of SetWindowSubclass, most of the cost of building a bar of tiles under Wine, and when one of
// several subclassing tools of a window is deleted, Wine's tooltip stops watching the window for
// all of them.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

  // Rectangle tools: tool `id` of `window` covers `rect` (client coordinates of `window`) and has
  // the hint `text`; with !show or an empty text it has none.
  void SetRect(HWND window, UINT_PTR id, const RECT& rect, std::string_view text, bool show);
  // Moves the rectangle of an existing tool (nothing when it has no hint).
  void MoveRect(HWND window, UINT_PTR id, const RECT& rect);
  void Remove(HWND window, UINT_PTR id);
  bool Has(HWND window, UINT_PTR id) const;
  std::string Text(HWND window, UINT_PTR id) const;
  // A mouse message of a window with rectangle tools (any other message is ignored).
  void Relay(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) const;

 private:
  win::OwnedWindow tip_;
  HWND owner_ = nullptr;
  // The rectangle tools there are.
  std::vector<std::pair<HWND, UINT_PTR>> rectTools_;
};

// The hints of `window`'s tiles kept off while a menu of the program shows: a hint due once the
// pointer has rested on a tile would otherwise come up over the menu. A move off every tile first
// drops the hint that is about to show.
class HintsOff {
 public:
  HintsOff(const Hints& hints, HWND window);
  HintsOff(const HintsOff&) = delete;
  HintsOff& operator=(const HintsOff&) = delete;
  ~HintsOff();

 private:
  HWND tip_;
};

}  // namespace ql
