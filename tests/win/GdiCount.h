// Counting the GDI objects of this process, for leak tests. Windows answers GetGuiResources;
// Wine does not implement it, but accepts a handle's bare table index (high word zero), so there
// the live objects are counted by asking every index for its object type.
#pragma once

#include "win/Win.h"

namespace ql::testing {

inline DWORD CountGdiObjects() {
  const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported != 0) return reported;
  DWORD live = 0;
  for (UINT_PTR index = 1; index < 0x10000; ++index) {
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++live;
  }
  return live;
}

}  // namespace ql::testing
