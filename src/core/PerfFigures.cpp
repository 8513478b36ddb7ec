#include "core/PerfFigures.h"

#include <algorithm>
#include <cmath>

#include "core/Store.h"
#include "core/Text.h"

namespace ql {

namespace {

std::string DecimalU(std::uint64_t value) {
  std::string text;
  do {
    text.insert(text.begin(), static_cast<char>('0' + value % 10));
    value /= 10;
  } while (value != 0);
  return text;
}

// A whole unsigned decimal number of up to 19 digits.
std::optional<std::uint64_t> ParseUnsigned(std::string_view text) {
  if (text.empty() || text.size() > 19) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

// Up to `bytes` bytes of a binary value, low byte first; nothing for a missing, empty or
// non-binary value.
std::optional<std::uint32_t> LittleEndian(const StoreKey& key, std::string_view name, std::size_t bytes) {
  const auto value = key.Read(name);
  if (!value || value->type != ValueType::Binary || value->data.empty()) return std::nullopt;
  std::uint32_t n = 0;
  const std::size_t count = std::min(bytes, value->data.size());
  for (std::size_t i = 0; i < count; ++i) {
    n |= static_cast<std::uint32_t>(static_cast<unsigned char>(value->data[i])) << (8 * i);
  }
  return n;
}

}  // namespace

std::int64_t RoundHalfEven(double value) {
  if (!std::isfinite(value)) return 0;
  const double floor = std::floor(value);
  const double diff = value - floor;
  double result = floor;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0.0)) result = floor + 1.0;
  constexpr double kLimit = 9.0e18;
  return static_cast<std::int64_t>(std::clamp(result, -kLimit, kLimit));
}

bool MemoryFigure(const MemoryStatus& status, int selector, std::string& text) {
  switch (selector) {
    case 0:
      text = DecimalU(status.totalPhys >> 10);
      return true;
    case 1:
      text = DecimalU(status.availPhys >> 10);
      return true;
    case 2:
      text = DecimalU(status.totalPageFile >> 10);
      return true;
    case 3:
      text = DecimalU(status.availPageFile >> 10);
      return true;
    case 4:
      text = DecimalU(status.memoryLoad);
      return true;
    case 5: {
      // A total of 0 (a failed status call) is no division by zero: nothing is free.
      const double pct = status.totalPhys == 0 ? 0.0
                                               : static_cast<double>(status.availPhys) * 100.0 /
                                                     static_cast<double>(status.totalPhys);
      text = Decimal(RoundHalfEven(pct));
      return true;
    }
    default:
      return false;
  }
}

double UsedMemoryRatio(std::string_view totalKb, std::string_view freeKb) {
  const auto total = ParseUnsigned(totalKb);
  const auto avail = ParseUnsigned(freeKb);
  if (!total || !avail || *total == 0) return 0.0;
  return (static_cast<double>(*total) - static_cast<double>(*avail)) / static_cast<double>(*total);
}

std::int64_t FreeMemoryGauge(double usedRatio) { return 100 - RoundHalfEven(100.0 * usedRatio); }

std::string MemoryHint(std::string_view loadPct, std::string_view freeKb, std::string_view totalKb) {
  const std::uint64_t total = ParseUnsigned(totalKb).value_or(0);
  return "RAM USED : " + std::string(loadPct) + " %\rFREE RAM : " + std::string(freeKb) + "Ko / " +
         DecimalU(total / 1024 + 1) + "Mo";
}

std::optional<int> CpuUse(const CpuTimes& before, const CpuTimes& after) {
  if (after.idle < before.idle || after.kernel < before.kernel || after.user < before.user)
    return std::nullopt;
  const std::uint64_t idle = after.idle - before.idle;
  const std::uint64_t total = (after.kernel - before.kernel) + (after.user - before.user);
  if (total == 0) return std::nullopt;
  const std::uint64_t busy = total > idle ? total - idle : 0;
  const double pct = static_cast<double>(busy) * 100.0 / static_cast<double>(total);
  return static_cast<int>(std::clamp<std::int64_t>(RoundHalfEven(pct), 0, 100));
}

Win9xStats ReadWin9xStats(const StoreKey& statData) {
  Win9xStats stats;
  stats.cpu = LittleEndian(statData, kStatCpu, 2);
  stats.modem = LittleEndian(statData, kStatModem, 4);
  stats.threads = LittleEndian(statData, kStatThreads, 4);
  return stats;
}

std::string ModemLabel(std::uint32_t speed) { return speed == 9600 ? "NC" : DecimalU(speed); }

GaugeColumns PlanGauge(int x, int width, std::int64_t percent, const Rgb& start) {
  CheckColour(start);
  GaugeColumns g;
  g.start = start;
  g.firstShaded = x + 1;
  const int fill = GaugeFill(percent, width);
  g.shaded = std::max(fill, 0);
  // The empty part starts after the untouched column, wherever the fill ended (a negative
  // percentage leaves the whole bar empty from x + fill + 2, as the arithmetic says).
  g.firstEmpty = std::int64_t{x} + fill + 2;
  g.lastEmpty = std::int64_t{x} + width - 2;
  return g;
}

}  // namespace ql
