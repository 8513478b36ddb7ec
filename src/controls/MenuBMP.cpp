#include "controls/MenuBMP.h"

#include "resources/ResourceIds.h"

namespace ql {

namespace {

// The pictures are kept with the resources' magenta key; the menu's pictures have white for
// their transparent colour, so the key turns white here.
win::Bitmap WhiteKeyed(HINSTANCE module, int id) {
  win::Bitmap bmp(static_cast<HBITMAP>(
      ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  DIBSECTION dib{};
  if (!bmp || ::GetObjectW(bmp.get(), sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 24 ||
      dib.dsBm.bmBits == nullptr) {
    return bmp;
  }
  auto* bits = static_cast<BYTE*>(dib.dsBm.bmBits);
  for (LONG y = 0; y < dib.dsBm.bmHeight; ++y) {
    BYTE* row = bits + y * dib.dsBm.bmWidthBytes;
    for (LONG x = 0; x < dib.dsBm.bmWidth; ++x) {
      BYTE* px = row + x * 3;  // blue, green, red
      if (px[0] == 255 && px[1] == 0 && px[2] == 255) px[1] = 255;
    }
  }
  return bmp;
}

}  // namespace

bool MenuBMP::Load(HINSTANCE module) {
  if (module == nullptr) module = ::GetModuleHandleW(nullptr);
  bool all = true;
  for (int i = 0; i < kCount; ++i) {
    images_[static_cast<std::size_t>(i)] = WhiteKeyed(module, IDB_MAINMENU_FIRST + i);
    all = all && static_cast<bool>(images_[static_cast<std::size_t>(i)]);
  }
  return all;
}

HBITMAP MenuBMP::Image(int index) const {
  if (index < 0 || index >= kCount) return nullptr;
  return images_[static_cast<std::size_t>(index)].get();
}

}  // namespace ql
