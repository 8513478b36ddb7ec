// Mouse events the program's controls pass to their owners.
#pragma once

#include <cstdint>

namespace ql {

enum class MouseButton : std::uint8_t { None, Left, Right, Middle };

struct MouseEvent {
  MouseButton button = MouseButton::None;  // the button pressed or released; None for a move
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool left = false;  // buttons held when the event happened
  bool right = false;
  bool middle = false;
  bool doubleClick = false;  // the second press of a double click
  int x = 0;                 // client coordinates of the control
  int y = 0;
};

}  // namespace ql
