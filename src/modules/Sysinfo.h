// What the RAM/CPU tile asks of the system: the memory status (MemoryInfo and its wrappers) and
// the processor, thread and modem figures. On Windows 95/98 these come from the dynamic
// statistics under HKEY_DYN_DATA; on NT and later (and Wine), which have none, from the system's
// processor times and thread count. Every function newer than Windows 95 is looked up at run
// time, so the program starts on systems without it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/PerfFigures.h"
#include "core/Store.h"
#include "win/Win.h"

namespace ql {

// The memory status: the extended one where the system has it (all of a machine's memory, also
// beyond 2 GB in a 32-bit process), the classic one otherwise. Zeros when both fail.
MemoryStatus ReadMemoryStatus();

// One figure of the memory status as decimal text (selectors of MemoryFigure); any other
// selector leaves `text` as it is.
void MemoryInfo(int selector, std::string& text);
std::string TotalRamKo();
std::string FreeRamKo();
std::string MemoryLoadPct();
std::string FreeRamPct();

// The processor, thread and modem figures of one tick. Nothing in a field: keep what is shown.
struct SystemSample {
  std::optional<int> cpu;              // percent
  std::optional<std::string> threads;  // the label's text ("" when the system has no count)
  std::optional<std::string> modem;    // the label's text ("" without a dial-up adapter)
};

// The statistics for one RAM/CPU tile: started when made, stopped when it goes.
class SystemStats {
 public:
  // `dynData` overrides the HKEY_DYN_DATA statistics' store (tests); with nullptr, the system's
  // own is used on Windows 95/98 and none elsewhere.
  explicit SystemStats(std::unique_ptr<KeyValueStore> dynData = nullptr);
  SystemStats(const SystemStats&) = delete;
  SystemStats& operator=(const SystemStats&) = delete;
  ~SystemStats();

  // Whether the figures come from the Windows 95/98 statistics.
  bool FromDynData() const { return dynData_ != nullptr; }
  // The figures now; `nowMs` (GetTickCount) limits the thread count to one reading a second.
  SystemSample Sample(std::uint32_t nowMs);

 private:
  SystemSample SampleDynData();
  SystemSample SampleTimes(std::uint32_t nowMs);

  std::unique_ptr<KeyValueStore> dynData_;
  std::optional<CpuTimes> lastTimes_;
  std::optional<std::uint32_t> lastThreadsAt_;
};

}  // namespace ql
