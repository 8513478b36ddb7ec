#include "core/Scramble.h"

namespace ql {

namespace {

constexpr std::uint32_t kMultiplier = 52845;
constexpr std::uint32_t kIncrement = 22719;

// The running key advances from the scrambled byte in both directions, so one routine serves:
// `scrambledIsOutput` tells which of input and output is the scrambled byte.
std::optional<std::string> Run(std::string_view text, std::uint32_t key, bool scrambledIsOutput) {
  if (text.size() > kMaxScrambleLength) return std::nullopt;
  std::string out(text.size(), '\0');
  std::uint32_t k = key;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto in = static_cast<std::uint8_t>(text[i]);
    auto res = static_cast<std::uint8_t>(in ^ ((k >> 8) & 0xFFU));
    out[i] = static_cast<char>(res);
    std::uint32_t s = scrambledIsOutput ? res : in;
    k = (k + s) * kMultiplier + kIncrement;
  }
  return out;
}

}  // namespace

std::optional<std::string> ScrambleText(std::string_view text, std::uint32_t key) {
  return Run(text, key, true);
}

std::optional<std::string> UnscrambleText(std::string_view text, std::uint32_t key) {
  return Run(text, key, false);
}

}  // namespace ql
