// Small text helpers of the portable core. Strings are UTF-8; the case rules below touch ASCII
// letters only, which is what the registry and the dock's own comparisons need.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ql {

std::string ToLowerAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// A whole decimal integer with an optional sign and nothing else (no blanks); nothing for any
// other text or for a value outside 32 bits.
std::optional<std::int32_t> ParseDecimal(std::string_view text);

// Decimal text of a number, no padding.
std::string Decimal(std::int64_t value);

}  // namespace ql
