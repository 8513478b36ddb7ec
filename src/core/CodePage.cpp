#include "core/CodePage.h"

#include <array>
#include <cstdint>
#include <vector>

namespace ql {

namespace {

// Bytes 0x80 to 0x9F of Windows-1252; every other byte is the character of its own number.
constexpr std::array<char32_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// The code points of well-formed UTF-8 (no overlong forms, no surrogates); nothing otherwise.
std::optional<std::vector<char32_t>> Decode(std::string_view utf8) {
  std::vector<char32_t> out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<std::uint8_t>(utf8[i]);
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead < 0x80) {
      length = 1;
      c = lead;
    } else if ((lead & 0xE0U) == 0xC0U) {
      length = 2;
      c = lead & 0x1FU;
      least = 0x80;
    } else if ((lead & 0xF0U) == 0xE0U) {
      length = 3;
      c = lead & 0x0FU;
      least = 0x800;
    } else if ((lead & 0xF8U) == 0xF0U) {
      length = 4;
      c = lead & 0x07U;
      least = 0x10000;
    } else {
      return std::nullopt;
    }
    if (utf8.size() - i < length) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<std::uint8_t>(utf8[i + k]);
      if ((next & 0xC0U) != 0x80U) return std::nullopt;
      c = (c << 6) | (next & 0x3FU);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    out.push_back(c);
    i += length;
  }
  return out;
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<std::uint8_t>(ch);
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80U] : char32_t{b});
  }
  return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
  auto chars = Decode(utf8);
  if (!chars) return std::nullopt;
  std::string out;
  out.reserve(chars->size());
  for (char32_t c : *chars) {
    if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    std::size_t b = 0;
    while (b < kHigh.size() && kHigh[b] != c) ++b;
    if (b == kHigh.size()) return std::nullopt;
    out.push_back(static_cast<char>(0x80 + b));
  }
  return out;
}

std::optional<std::string> Utf8ToLatin1(std::string_view utf8) {
  auto chars = Decode(utf8);
  if (!chars) return std::nullopt;
  std::string out;
  out.reserve(chars->size());
  for (char32_t c : *chars) {
    if (c >= 0x100) return std::nullopt;
    out.push_back(static_cast<char>(c));
  }
  return out;
}

}  // namespace ql
