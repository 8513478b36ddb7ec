// TKovaStat, the RAM/CPU statistics face (module kind "SysInfo"): three gauges (free physical
// memory, memory load, processor use), the thread and modem labels and the two-line memory hint,
// refreshed every 300 ms while started; a left double click stops and starts it. The statistics
// are started when the face is made and stopped when it goes, whatever Start is.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "controls/TileFace.h"
#include "modules/Sysinfo.h"
#include "win/Handles.h"

namespace ql {

class TKovaStat final : public TileFace {
 public:
  static constexpr unsigned kTickMs = 300;
  static constexpr int kGaugeX = 20;
  static constexpr int kGaugeThickness = 6;
  static constexpr int kGaugeRamY = 5;
  static constexpr int kGaugeUseY = 17;
  static constexpr int kGaugeCpuY = 29;

  // `stats` overrides the system's statistics (tests); nullptr: the system's.
  explicit TKovaStat(TileSite& site, std::unique_ptr<SystemStats> stats = nullptr);
  ~TKovaStat() override;

  void Paint(win::Canvas& canvas, int width, int height) const override;
  unsigned TickMs() const override { return kTickMs; }
  bool Tick() override;
  // Stopped: the labels are emptied, the hint reads "INACTIVE", the gauges show empty.
  void Start(bool on) override;
  bool Started() const override { return start_; }
  bool Mouse(MouseAction action, const MouseEvent& e) override;
  std::string HintAt(POINT) const override { return hint_; }

  const std::string& Hint() const { return hint_; }
  const std::string& Threads() const { return threads_; }
  const std::string& Modem() const { return modem_; }
  // The percentages the gauges show; nothing for an empty gauge.
  std::optional<std::int64_t> RamGauge() const { return ram_; }
  std::optional<std::int64_t> UseGauge() const { return use_; }
  std::optional<std::int64_t> CpuGauge() const { return cpu_; }

 private:
  TileSite& site_;
  std::unique_ptr<SystemStats> stats_;
  bool start_ = false;
  std::string hint_;
  std::string threads_;
  std::string modem_;
  std::optional<std::int64_t> ram_;
  std::optional<std::int64_t> use_;
  std::optional<std::int64_t> cpu_;
  win::Font captionFont_;  // "small", 5 points
  win::Font labelFont_;    // "small", cell height 8
};

}  // namespace ql
