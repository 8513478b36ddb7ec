// The lock password is kept scrambled: a byte-wise stream with a 32-bit running key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ql {

inline constexpr std::uint32_t kPasswordKey = 4619;
inline constexpr std::size_t kMaxScrambleLength = 255;

// Nothing for texts longer than 255 bytes; UnscrambleText(ScrambleText(t, k), k) == t.
std::optional<std::string> ScrambleText(std::string_view text, std::uint32_t key);
std::optional<std::string> UnscrambleText(std::string_view text, std::uint32_t key);

}  // namespace ql
