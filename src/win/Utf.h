// UTF-8 inside the program, UTF-16 at the W API call.
#pragma once

#include <string>
#include <string_view>

namespace ql::win {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace ql::win
