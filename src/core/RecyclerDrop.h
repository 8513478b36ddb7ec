// The list the recycle bin tile hands to the shell for files dropped on it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ql {

// Names this long or longer (in UTF-16 characters, as the system counts them) are skipped.
inline constexpr std::size_t kMaxRecycledName = 255;

// The names in reverse drop order, each followed by "|" ("C|B|A|" for A, B, C); empty names and
// names of 255 characters or more are left out; empty when none remains.
std::string RecyclerList(const std::vector<std::string>& dropped);

}  // namespace ql
