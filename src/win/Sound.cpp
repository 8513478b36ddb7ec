#include "win/Sound.h"

#include "win/Utf.h"
#include "win/Win.h"

namespace ql::win {

void PlaySoundFile(std::string_view file) {
  if (file.empty()) return;
  ::PlaySoundW(Widen(file).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace ql::win
