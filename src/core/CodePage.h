// 8-bit code pages, for values that older writers stored as one character per byte. The core
// cannot ask the system for its code page; Windows-1252 (the Western one) stands in for it
// where no system is at hand, in the memory store.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ql {

// Each byte as its Windows-1252 character, in UTF-8. The five bytes that code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same
// number, as the system's own conversion has it, so every byte comes back.
std::string Windows1252ToUtf8(std::string_view bytes);

// The reverse: nothing for text that is not UTF-8 or holds a character outside the code page.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

// Characters U+0000 to U+00FF as the bytes of the same number; nothing for anything else.
std::optional<std::string> Utf8ToLatin1(std::string_view utf8);

}  // namespace ql
