// MenuBMP: the main menu's 13 pictures (16 x 16, white is transparent), one per kind of entry,
// read from the program's resources.
#pragma once

#include <array>

#include "win/Handles.h"

namespace ql {

class MenuBMP {
 public:
  static constexpr int kCount = 13;
  static constexpr COLORREF kTransparent = RGB(255, 255, 255);

  // Loads the pictures of `module` (the program's own when nullptr). A picture that is missing
  // stays empty and its entry is drawn without one. True when all 13 were read.
  bool Load(HINSTANCE module = nullptr);

  // Picture `index` (0 to 12); nullptr for another index or a picture that could not be read.
  HBITMAP Image(int index) const;

 private:
  std::array<win::Bitmap, kCount> images_;
};

}  // namespace ql
