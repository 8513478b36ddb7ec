// Times the dock's store on the real registry: rewriting a key of 200 buttons (into an empty
// key, over an unchanged key, after a deletion and an insertion that shift every entry), the
// start's recovery step when nothing is pending, and reading the key back.
// Prints "BENCH ..." lines; fails only when what is read back is wrong.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "core/ButtonStore.h"
#include "core/Config.h"
#include "win/RegistryStore.h"
#include "win/Utf.h"
#include "win/Win.h"

namespace {

constexpr int kRuns = 20;
constexpr int kMainBar = 160;
constexpr int kGroupEvery = 16;  // every 16th main-bar button is a group of four
constexpr int kMembers = 4;
constexpr int kTotal = kMainBar + kMainBar / kGroupEvery * kMembers;  // 200

// Counts the changes made through it, so each figure comes with the registry work behind it.
class CountingKey final : public ql::StoreKey {
 public:
  CountingKey(std::unique_ptr<ql::StoreKey> inner, long& changes)
      : inner_(std::move(inner)), changes_(changes) {}
  std::optional<ql::StoreValue> Read(std::string_view name) const override { return inner_->Read(name); }
  bool Write(std::string_view name, const ql::StoreValue& value) override {
    ++changes_;
    return inner_->Write(name, value);
  }
  bool Remove(std::string_view name) override {
    ++changes_;
    return inner_->Remove(name);
  }
  std::vector<std::string> Names() const override { return inner_->Names(); }

 private:
  std::unique_ptr<ql::StoreKey> inner_;
  long& changes_;
};

class CountingStore final : public ql::KeyValueStore {
 public:
  explicit CountingStore(ql::KeyValueStore& inner) : inner_(inner) {}
  std::unique_ptr<ql::StoreKey> Open(std::string_view path, bool create) override {
    auto key = inner_.Open(path, create);
    if (!key) return nullptr;
    return std::make_unique<CountingKey>(std::move(key), changes);
  }
  bool DeleteKey(std::string_view path) override {
    ++changes;
    return inner_.DeleteKey(path);
  }
  std::optional<std::string> CodePageBytes(std::string_view text) const override {
    return inner_.CodePageBytes(text);
  }
  long changes = 0;  // values written and removed, keys deleted

 private:
  ql::KeyValueStore& inner_;
};

void Fill(ql::ButtonList& list, int skipFirst) {
  for (int i = skipFirst; i < kMainBar; ++i) {
    const std::string n = std::to_string(i);
    ql::TBouton& r =
        list.Append({"Program " + n, "C:\\Programs\\tool" + n + ".exe|/x", "C:\\Icons\\set,1\\i" + n + ".ico",
                     i % 5 == 0 ? "C:\\Textures\\t" + n + ".bmp" : "", i % 7});
    if (i % kGroupEvery == 0) {
      for (int m = 0; m < kMembers; ++m) {
        const std::string mn = n + "." + std::to_string(m);
        list.AppendMember(r, {"Member " + mn, "C:\\Docs\\doc" + mn + ".txt", "shell32.dll", "", m});
      }
    }
  }
}

std::uint64_t Ticks(const FILETIME& t) {  // 100 ns units
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}
std::uint64_t ProcessCpuTicks() {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  return Ticks(kernel) + Ticks(user);
}
double Now() {
  LARGE_INTEGER count, frequency;
  ::QueryPerformanceCounter(&count);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}
using ql::bench::Median;

// Runs `prepare` (not timed) and `work` kRuns times; prints the medians. The process CPU time
// leaves out the registry server's own work and counts in steps of the system tick.
void Measure(const char* label, CountingStore& counting, const std::function<void()>& prepare,
             const std::function<void()>& work) {
  std::vector<double> wall, cpu;
  long changes = 0;
  for (int run = 0; run < kRuns; ++run) {
    prepare();
    counting.changes = 0;
    const std::uint64_t c0 = ProcessCpuTicks();
    const double t0 = Now();
    work();
    wall.push_back(Now() - t0);
    cpu.push_back(static_cast<double>(ProcessCpuTicks() - c0) * 1e-7);
    changes = counting.changes;
  }
  std::printf(
      "BENCH %s: median %.2f ms (min %.2f, max %.2f), process CPU median %.2f ms, %ld registry changes\n",
      label, Median(wall) * 1e3, *std::min_element(wall.begin(), wall.end()) * 1e3,
      *std::max_element(wall.begin(), wall.end()) * 1e3, Median(cpu) * 1e3, changes);
}

int CountRead(ql::KeyValueStore& store) {
  ql::ButtonList list;
  ql::LitBaseRegistre(store, list);
  list.RenumBtn(nullptr);
  return list.NbBoutons();
}

}  // namespace

int main() {
  const std::string base = "Software\\QuayliteBench\\" + std::to_string(::GetCurrentProcessId());
  const std::wstring wbase = ql::win::Widen(base);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, wbase.c_str());
  ql::win::RegistryStore registry(HKEY_CURRENT_USER, base);
  CountingStore store(registry);
  const std::wstring dockKey = ql::win::Widen(base + "\\" + std::string(ql::kDockKey));
  const ql::TConfig cfg;
  bool ok = true;
  auto check = [&](const char* what, int expected) {
    const int got = CountRead(registry);
    if (got != expected) {
      std::printf("bench_store: %s read back %d buttons instead of %d\n", what, got, expected);
      ok = false;
    }
  };

  ql::ButtonList full;
  Fill(full, 0);
  ql::ButtonList shorter;  // the first button deleted: every entry moves
  Fill(shorter, 1);
  full.RenumBtn(nullptr);
  shorter.RenumBtn(nullptr);
  const int shorterTotal = shorter.NbBoutons();

  const std::string n = std::to_string(kTotal);
  Measure(("EcritBaseRegistre " + n + " buttons, empty key").c_str(), store,
          [&] { ::RegDeleteTreeW(HKEY_CURRENT_USER, dockKey.c_str()); },
          [&] { ql::EcritBaseRegistre(store, cfg, 0, full); });
  check("a write into an empty key", kTotal);

  Measure(("EcritBaseRegistre " + n + " buttons, unchanged").c_str(), store, [] {},
          [&] { ql::EcritBaseRegistre(store, cfg, 0, full); });
  check("an unchanged rewrite", kTotal);

  Measure(("EcritBaseRegistre " + n + " buttons, first deleted").c_str(), store,
          [&] { ql::EcritBaseRegistre(store, cfg, 0, full); },
          [&] { ql::EcritBaseRegistre(store, cfg, 0, shorter); });
  check("a rewrite after a deletion", shorterTotal);

  Measure(("EcritBaseRegistre " + n + " buttons, one inserted in front").c_str(), store,
          [&] { ql::EcritBaseRegistre(store, cfg, 0, shorter); },
          [&] { ql::EcritBaseRegistre(store, cfg, 0, full); });
  check("a rewrite after an insertion", kTotal);

  // The first step of every start: nothing pending after a clean close.
  Measure(
      "RecoverStore, nothing pending", store, [] {}, [&] { ql::RecoverStore(store); });
  check("a recovery with nothing pending", kTotal);

  int read = 0;
  Measure(("LitBaseRegistre " + n + " buttons").c_str(), store, [] {}, [&] { read = CountRead(store); });
  if (read != kTotal) {
    std::printf("bench_store: LitBaseRegistre read %d buttons instead of %d\n", read, kTotal);
    ok = false;
  }

  ::RegDeleteTreeW(HKEY_CURRENT_USER, wbase.c_str());
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuayliteBench");
  return ok ? 0 : 1;
}
