#include "core/PerfFigures.h"

#include <gtest/gtest.h>

#include <string>

#include "core/MemoryStore.h"
#include "core/RecyclerDrop.h"

namespace ql {
namespace {

constexpr std::uint64_t kMb = 1024ULL * 1024ULL;

TEST(MemoryFigures, SelectorsGiveKilobytesLoadAndRoundedPercent) {
  MemoryStatus s;
  s.totalPhys = 16384 * kMb;  // 16 GB: more than a 32-bit count holds
  s.availPhys = 6144 * kMb;
  s.totalPageFile = 3 * 1024;
  s.availPageFile = 1023;
  s.memoryLoad = 62;
  std::string t;
  ASSERT_TRUE(MemoryFigure(s, 0, t));
  EXPECT_EQ(t, "16777216");
  MemoryFigure(s, 1, t);
  EXPECT_EQ(t, "6291456");
  MemoryFigure(s, 2, t);
  EXPECT_EQ(t, "3");
  MemoryFigure(s, 3, t);
  EXPECT_EQ(t, "0");
  MemoryFigure(s, 4, t);
  EXPECT_EQ(t, "62");
  MemoryFigure(s, 5, t);
  EXPECT_EQ(t, "38");  // 37.5 -> 38 (ties to even)
  t = "kept";
  EXPECT_FALSE(MemoryFigure(s, 6, t));
  EXPECT_EQ(t, "kept");
  s.availPhys = s.totalPhys / 8 * 5 / 10;  // 6.25 %
  MemoryFigure(s, 5, t);
  EXPECT_EQ(t, "6");
  MemoryFigure(MemoryStatus{}, 5, t);
  EXPECT_EQ(t, "0");  // a failed status: no division by zero
}

TEST(MemoryFigures, RoundingIsHalfToEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(2.5001), 3);
}

TEST(MemoryFigures, FreeRatioGaugeAndHint) {
  EXPECT_DOUBLE_EQ(UsedMemoryRatio("1000", "250"), 0.75);
  EXPECT_EQ(FreeMemoryGauge(0.75), 25);
  EXPECT_EQ(FreeMemoryGauge(0.125), 88);                       // 12.5 -> 12
  EXPECT_EQ(FreeMemoryGauge(UsedMemoryRatio("0", "0")), 100);  // an error draws the gauge at 100
  EXPECT_EQ(FreeMemoryGauge(UsedMemoryRatio("x", "1")), 100);
  EXPECT_EQ(MemoryHint("42", "1234", "65536"), "RAM USED : 42 %\rFREE RAM : 1234Ko / 65Mo");
  EXPECT_EQ(MemoryHint("5", "1", "65535"), "RAM USED : 5 %\rFREE RAM : 1Ko / 64Mo");
  EXPECT_EQ(MemoryHint("90", "9", "16777216"), "RAM USED : 90 %\rFREE RAM : 9Ko / 16385Mo");
}

TEST(ProcessorUse, FromTwoSamplesOfTheSystemTimes) {
  const CpuTimes a{1000, 3000, 1000};
  EXPECT_EQ(CpuUse(a, {1750, 4000, 1000}), 25);  // 1000 passed, 750 idle
  EXPECT_EQ(CpuUse(a, {1000, 3500, 1500}), 100);
  EXPECT_EQ(CpuUse(a, {1500, 3500, 1000}), 0);
  EXPECT_EQ(CpuUse(a, a), std::nullopt);  // no time passed
  EXPECT_EQ(CpuUse(a, {900, 4000, 1000}), std::nullopt);
}

TEST(Win9xStatistics, EachFigureOnlyWhenItsValueIsThere) {
  MemoryStore store;
  auto key = store.Open(kStatDataKey, true);
  Win9xStats none = ReadWin9xStats(*key);
  EXPECT_FALSE(none.cpu || none.threads || none.modem);
  key->Write(kStatCpu, {ValueType::Binary, std::string("\x2A\x01\x77\x77", 4)});
  key->Write(kStatThreads, {ValueType::Binary, std::string("\x10\x01\x00\x00", 4)});
  key->Write(kStatModem, {ValueType::String, "9600"});  // not binary: not a number
  const Win9xStats s = ReadWin9xStats(*key);
  EXPECT_EQ(s.cpu, 0x012Au);  // the first two bytes, low byte first
  EXPECT_EQ(s.threads, 272u);
  EXPECT_FALSE(s.modem);
  EXPECT_EQ(ModemLabel(9600), "NC");
  EXPECT_EQ(ModemLabel(28800), "28800");
}

TEST(GaugePlan, ColumnsAndColoursOfTheSixtyFourPixelTile) {
  const Rgb start{255, 20, 110};
  // X 20, L 41: 0 draws no shaded column, leaves 21, empties 22..59.
  GaugeColumns g = PlanGauge(20, 41, 0, start);
  EXPECT_EQ(g.shaded, 0);
  EXPECT_EQ(g.Untouched(), 21);
  EXPECT_EQ(g.firstEmpty, 22);
  EXPECT_EQ(g.lastEmpty, 59);
  g = PlanGauge(20, 41, 50, start);
  EXPECT_EQ(g.firstShaded, 21);
  EXPECT_EQ(g.shaded, 19);  // 21..39
  EXPECT_EQ(g.Untouched(), 40);
  EXPECT_EQ(g.firstEmpty, 41);
  EXPECT_EQ(g.ShadeAt(21), start);
  EXPECT_EQ(g.ShadeAt(39), (Rgb{165, 0, 20}));
  g = PlanGauge(20, 41, 100, start);
  EXPECT_EQ(g.shaded, 38);  // 21..58
  EXPECT_EQ(g.Untouched(), 59);
  EXPECT_GT(g.firstEmpty, g.lastEmpty);  // nothing empty
}

TEST(GaugePlan, OtherWidthsAndBadColours) {
  GaugeColumns g = PlanGauge(20, 53 - 23, 100, {255, 128, 100});  // a 53-pixel tile: L = 30
  EXPECT_EQ(g.shaded, 27);
  EXPECT_EQ(g.lastEmpty, 48);
  g = PlanGauge(0, 53, 100, {20, 200, 255});
  EXPECT_EQ(g.shaded, 50);
  EXPECT_EQ(g.Untouched(), 51);
  EXPECT_EQ(g.ShadeAt(21), (Rgb{0, 100, 155}));
  g = PlanGauge(20, 77, 50, {0, 0, 0});
  EXPECT_EQ(g.shaded, 37);
  EXPECT_EQ(g.lastEmpty, 95);
  EXPECT_THROW(PlanGauge(0, 41, 10, {256, 0, 0}), std::out_of_range);
}

TEST(RecyclerDropList, ReverseOrderLongNamesSkipped) {
  EXPECT_EQ(RecyclerList({"A", "B", "C"}), "C|B|A|");
  EXPECT_EQ(RecyclerList({"A", std::string(255, 'x'), std::string(254, 'y')}), std::string(254, 'y') + "|A|");
  // Counted in characters, not bytes: 200 two-byte characters are 200 characters.
  std::string accented;
  for (int i = 0; i < 200; ++i) accented += "\xC3\xA9";
  EXPECT_EQ(RecyclerList({accented}), accented + "|");
  EXPECT_EQ(RecyclerList({std::string(300, 'x'), ""}), "");
}

}  // namespace
}  // namespace ql
