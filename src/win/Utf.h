// UTF-8 inside the program, UTF-16 at the W API call.
#pragma once

#include <string>
#include <string_view>

namespace ql::win {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// The text in the system's code page (one byte per character there); a character that code page
// cannot hold becomes its default character.
std::string ToSystemCodePage(std::string_view utf8);

}  // namespace ql::win
