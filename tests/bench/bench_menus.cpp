// Building the shell menu of a folder of 500 items (450 files of nine kinds, 50 folders) against
// a raw pass over the same folder: the enumeration with one display-name and one icon-index query
// per item and nothing else. The two alternate, seven times each; the medians of the wall time
// are printed with their ratio. Prints BENCH lines; fails only when the menu was not built whole.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "MenuFiles.h"
#include "controls/MenuSys.h"
#include "core/ShellMenu.h"
#include "win/Utf.h"

namespace {

constexpr int kFiles = 450;
constexpr int kFolders = 50;
constexpr int kRuns = 7;

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// The pass the menu cannot be faster than.
std::size_t RawPass(IShellFolder* folder, LPCITEMIDLIST root) {
  ql::win::ComPtr<IEnumIDList> items;
  if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put()) != S_OK) return 0;
  std::size_t n = 0;
  LPITEMIDLIST raw = nullptr;
  while (items->Next(1, &raw, nullptr) == S_OK) {
    const ql::win::ItemIdList item(raw);
    const ql::win::ItemIdList full(::ILCombine(root, item.get()));
    SHFILEINFOW name{};
    ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(full.get()), 0, &name, sizeof name,
                     SHGFI_PIDL | SHGFI_DISPLAYNAME);
    SHFILEINFOW icon{};
    ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(full.get()), 0, &icon, sizeof icon,
                     SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    n += name.szDisplayName[0] != 0 && icon.iIcon >= 0 ? 1 : 0;
  }
  return n;
}

}  // namespace

int main() {
  const ql::test::ComScope com;
  ql::test::ScratchFolder folder("qlbenchmenus");
  const char* const kinds[] = {".txt", ".bmp", ".exe", ".ini", ".dll", ".qlx", ".wav", ".ico", ".doc"};
  for (int i = 0; i < kFiles; ++i) folder.File("Item " + std::to_string(i) + kinds[i % 9]);
  for (int i = 0; i < kFolders; ++i) folder.Dir("folder " + std::to_string(i));

  ql::win::ComPtr<IShellFolder> desktop;
  ql::win::ComPtr<IShellFolder> shellFolder;
  std::wstring path = ql::win::Widen(folder.path());
  LPITEMIDLIST raw = nullptr;
  if (FAILED(::SHGetDesktopFolder(desktop.put())) ||
      FAILED(desktop->ParseDisplayName(nullptr, nullptr, path.data(), nullptr, &raw, nullptr))) {
    std::printf("cannot reach %s\n", folder.path().c_str());
    return 1;
  }
  const ql::win::ItemIdList root(raw);
  if (FAILED(desktop->BindToObject(root.get(), nullptr, IID_IShellFolder,
                                   reinterpret_cast<void**>(shellFolder.put())))) {
    return 1;
  }

  ql::TMenuSys menu;
  std::vector<double> rawMs;
  std::vector<double> buildMs;
  for (int run = 0; run < kRuns; ++run) {
    Clock::time_point start = Clock::now();
    const std::size_t listed = RawPass(shellFolder.get(), root.get());
    rawMs.push_back(Ms(start));
    start = Clock::now();
    menu.BuildFolder(root.get(), 5);  // My Documents: sorted by caption, the most work
    buildMs.push_back(Ms(start));
    const auto items = static_cast<std::size_t>(kFiles + kFolders);
    if (listed != items || menu.EntryCount() != items) {
      std::printf("listed %zu, built %zu entries of %zu\n", listed, menu.EntryCount(), items);
      return 1;
    }
  }
  const double rawMedian = ql::bench::Median(rawMs);
  const double buildMedian = ql::bench::Median(buildMs);
  std::printf("BENCH menus_raw_pass: %.1f ms median wall for %d items (enumeration, name and icon index)\n",
              rawMedian, kFiles + kFolders);
  std::printf("BENCH menus_build: %.1f ms median wall for %d items (TMenuSys, sorted, icons drawn)\n",
              buildMedian, kFiles + kFolders);
  std::printf("BENCH menus_build_ratio: %.2f x the raw pass\n",
              rawMedian > 0 ? buildMedian / rawMedian : 0.0);
  return 0;
}
