#include "core/Config.h"

namespace ql {

Edge EdgeOf(std::string_view sens) {
  if (sens == "G") return Edge::Left;
  if (sens == "H") return Edge::Top;
  return Edge::Right;
}

std::optional<char> HotKeyCharacter(std::string_view hotKey) {
  if (hotKey.size() < 6) return std::nullopt;
  return hotKey[5];
}

}  // namespace ql
