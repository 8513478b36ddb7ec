// The screen and the pointer, as the dock's layout reads them.
#pragma once

#include "win/Win.h"

namespace ql::win {

inline int ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
inline int ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

inline POINT CursorPos() {
  POINT p{};
  ::GetCursorPos(&p);
  return p;
}

}  // namespace ql::win
