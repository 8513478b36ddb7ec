#include "core/RecyclerDrop.h"

namespace ql {

namespace {
// UTF-16 length of UTF-8 text: one per lead byte, two for the four-byte sequences.
std::size_t Utf16Length(const std::string& text) {
  std::size_t n = 0;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if ((b & 0xC0U) != 0x80U) n += b >= 0xF0U ? 2 : 1;
  }
  return n;
}
}  // namespace

std::string RecyclerList(const std::vector<std::string>& dropped) {
  std::string list;
  for (const std::string& name : dropped) {
    if (name.empty() || Utf16Length(name) >= kMaxRecycledName) continue;
    list.insert(0, name + "|");
  }
  return list;
}

}  // namespace ql
