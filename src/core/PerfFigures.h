// The figures of the RAM/CPU statistics tile: the memory selectors of MemoryInfo and their
// rounding, the free-memory ratio, the two-line hint, processor use from two samples of the
// system's processor times, the Windows 95/98 statistics read from a store, and the columns and
// colours of a gauge bar. No window system here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/TileGeometry.h"

namespace ql {

class StoreKey;

// The system's memory status, in bytes (64-bit: machines have more than 4 GB).
struct MemoryStatus {
  std::uint64_t totalPhys = 0;
  std::uint64_t availPhys = 0;
  std::uint64_t totalPageFile = 0;
  std::uint64_t availPageFile = 0;
  std::uint32_t memoryLoad = 0;  // percent, as the system reports it
};

// Selector 0 total physical KB, 1 available physical KB, 2 total paging file KB, 3 available paging
// file KB, 4 memory load %, 5 available x 100 / total rounded to nearest, ties to even (0 for
// a total of 0). Any other selector leaves `text` as it is and answers false.
bool MemoryFigure(const MemoryStatus& status, int selector, std::string& text);

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4).
std::int64_t RoundHalfEven(double value);

// (total - free) / total from the two KB texts; 0 when either is no number or total is 0.
double UsedMemoryRatio(std::string_view totalKb, std::string_view freeKb);
// What the free-memory gauge shows: 100 - round(100 x ratio).
std::int64_t FreeMemoryGauge(double usedRatio);

// "RAM USED : <load> %" CR "FREE RAM : <free>Ko / <M>Mo", M = total KB / 1024 + 1 (0 + 1 when
// the total is no number).
std::string MemoryHint(std::string_view loadPct, std::string_view freeKb, std::string_view totalKb);

// The system's processor times (100 ns units); kernel includes idle, as the system reports them.
struct CpuTimes {
  std::uint64_t idle = 0;
  std::uint64_t kernel = 0;
  std::uint64_t user = 0;
};
// Processor use in percent between two samples (0..100); nothing when no time passed or the
// counters went backwards.
std::optional<int> CpuUse(const CpuTimes& before, const CpuTimes& after);

// The Windows 95/98 dynamic statistics ("PerfStats" keys below HKEY_DYN_DATA).
inline constexpr std::string_view kStatStartKey = "PerfStats\\StartSrv";
inline constexpr std::string_view kStatStartStatKey = "PerfStats\\StartStat";
inline constexpr std::string_view kStatStopKey = "PerfStats\\StopStat";
inline constexpr std::string_view kStatDataKey = "PerfStats\\StatData";
inline constexpr std::string_view kStatKernel = "KERNEL";
inline constexpr std::string_view kStatCpu = "KERNEL\\CPUUsage";
inline constexpr std::string_view kStatThreads = "KERNEL\\Threads";
inline constexpr std::string_view kStatModem = "Dial-Up Adapter\\ConnectSpeed";

// One read of the statistics' data key: each figure only when its value is there and holds
// enough bytes (processor use: the first two bytes, low byte first; the others: up to four bytes,
// low byte first).
struct Win9xStats {
  std::optional<std::uint32_t> cpu;
  std::optional<std::uint32_t> threads;
  std::optional<std::uint32_t> modem;
};
Win9xStats ReadWin9xStats(const StoreKey& statData);

// The modem label of a connection speed: "NC" for exactly 9600, the number otherwise.
std::string ModemLabel(std::uint32_t speed);

// The columns of a gauge (x, width) showing `percent` from colour `start`: the shaded columns
// first .. first + shaded - 1, darkening by 5 per column; one untouched column; then the
// empty columns up to x + width - 2 in the label colour. Throws std::out_of_range for a bad
// colour.
struct GaugeColumns {
  int firstShaded = 0;
  int shaded = 0;               // may be 0; never negative
  std::int64_t firstEmpty = 0;  // the column after the untouched one
  std::int64_t lastEmpty = 0;   // x + width - 2; nothing empty when below firstEmpty
  Rgb start;
  Rgb ShadeAt(int column) const { return GaugeShade(start, column - firstShaded); }
  std::int64_t Untouched() const { return firstEmpty - 1; }
};
GaugeColumns PlanGauge(int x, int width, std::int64_t percent, const Rgb& start);

}  // namespace ql
