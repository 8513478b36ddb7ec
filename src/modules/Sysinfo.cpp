#include "modules/Sysinfo.h"

#include "core/Store.h"
#include "core/Text.h"
#include "win/RegistryStore.h"

namespace ql {

namespace {

template <typename Fn>
Fn Lookup(const wchar_t* module, const char* name) {
  HMODULE m = ::GetModuleHandleW(module);
  if (m == nullptr) return nullptr;
  FARPROC proc = ::GetProcAddress(m, name);
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

using MemoryStatusExFn = BOOL(WINAPI*)(MEMORYSTATUSEX*);
using SystemTimesFn = BOOL(WINAPI*)(FILETIME*, FILETIME*, FILETIME*);

// PERFORMANCE_INFORMATION of psapi.h, which the program does not include; only the thread
// count is read.
struct PerformanceInfo {
  DWORD cb;
  SIZE_T commitTotal, commitLimit, commitPeak, physicalTotal, physicalAvailable, systemCache, kernelTotal,
      kernelPaged, kernelNonpaged, pageSize;
  DWORD handleCount, processCount, threadCount;
};
using PerformanceInfoFn = BOOL(WINAPI*)(PerformanceInfo*, DWORD);

std::uint64_t Ticks(const FILETIME& t) {
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

bool IsWindows9x() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#ifdef _MSC_VER
#pragma warning(suppress : 4996)  // the platform id is what is asked
#endif
  ::GetVersionExW(&info);
  return info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

// A read whose data is discarded: it starts or stops a statistic. Errors change nothing.
void Touch(KeyValueStore& store, std::string_view key, std::string_view value) {
  if (auto k = store.Open(key, false)) (void)k->Read(value);
}

}  // namespace

MemoryStatus ReadMemoryStatus() {
  MemoryStatus s;
  static const auto statusEx = Lookup<MemoryStatusExFn>(L"kernel32.dll", "GlobalMemoryStatusEx");
  if (statusEx != nullptr) {
    MEMORYSTATUSEX ex{};
    ex.dwLength = sizeof ex;
    if (statusEx(&ex) != FALSE) {
      s.totalPhys = ex.ullTotalPhys;
      s.availPhys = ex.ullAvailPhys;
      s.totalPageFile = ex.ullTotalPageFile;
      s.availPageFile = ex.ullAvailPageFile;
      s.memoryLoad = ex.dwMemoryLoad;
      return s;
    }
  }
  MEMORYSTATUS classic{};
  classic.dwLength = sizeof classic;
  ::GlobalMemoryStatus(&classic);
  s.totalPhys = classic.dwTotalPhys;
  s.availPhys = classic.dwAvailPhys;
  s.totalPageFile = classic.dwTotalPageFile;
  s.availPageFile = classic.dwAvailPageFile;
  s.memoryLoad = classic.dwMemoryLoad;
  return s;
}

void MemoryInfo(int selector, std::string& text) { MemoryFigure(ReadMemoryStatus(), selector, text); }

namespace {
std::string Figure(int selector) {
  std::string text;
  MemoryInfo(selector, text);
  return text;
}
}  // namespace

std::string TotalRamKo() { return Figure(0); }
std::string FreeRamKo() { return Figure(1); }
std::string MemoryLoadPct() { return Figure(4); }
std::string FreeRamPct() { return Figure(5); }

SystemStats::SystemStats(std::unique_ptr<KeyValueStore> dynData) : dynData_(std::move(dynData)) {
  if (!dynData_ && IsWindows9x()) dynData_ = std::make_unique<win::RegistryStore>(HKEY_DYN_DATA);
  if (dynData_) {
    Touch(*dynData_, kStatStartKey, kStatKernel);
    Touch(*dynData_, kStatStartStatKey, kStatCpu);
  } else {
    // The first processor sample: the first tick then has an interval to measure.
    (void)SampleTimes(::GetTickCount());
    lastThreadsAt_.reset();
  }
}

SystemStats::~SystemStats() {
  if (dynData_) Touch(*dynData_, kStatStopKey, kStatCpu);
}

SystemSample SystemStats::Sample(std::uint32_t nowMs) {
  return dynData_ ? SampleDynData() : SampleTimes(nowMs);
}

SystemSample SystemStats::SampleDynData() {
  SystemSample sample;
  const auto key = dynData_->Open(kStatDataKey, false);
  // A figure the statistics do not have shows nothing rather than an old or random number.
  const Win9xStats stats = key ? ReadWin9xStats(*key) : Win9xStats{};
  if (stats.cpu) sample.cpu = static_cast<int>(*stats.cpu);
  sample.modem = stats.modem ? ModemLabel(*stats.modem) : std::string();
  sample.threads = stats.threads ? Decimal(*stats.threads) : std::string();
  return sample;
}

SystemSample SystemStats::SampleTimes(std::uint32_t nowMs) {
  SystemSample sample;
  sample.modem = std::string();
  static const auto systemTimes = Lookup<SystemTimesFn>(L"kernel32.dll", "GetSystemTimes");
  FILETIME idle{}, kernel{}, user{};
  if (systemTimes != nullptr && systemTimes(&idle, &kernel, &user) != FALSE) {
    const CpuTimes now{Ticks(idle), Ticks(kernel), Ticks(user)};
    if (lastTimes_) sample.cpu = CpuUse(*lastTimes_, now);
    lastTimes_ = now;
  }
  // The thread count walks the system's process list: once a second is plenty.
  if (!lastThreadsAt_ || nowMs - *lastThreadsAt_ >= 1000) {
    lastThreadsAt_ = nowMs;
    static const auto performanceInfo = Lookup<PerformanceInfoFn>(L"kernel32.dll", "K32GetPerformanceInfo");
    PerformanceInfo info{};
    info.cb = sizeof info;
    sample.threads = performanceInfo != nullptr && performanceInfo(&info, sizeof info) != FALSE
                         ? Decimal(info.threadCount)
                         : std::string();
  }
  return sample;
}

}  // namespace ql
