// What checking a picture file against its headers costs before the system's loader reads it:
// a 32 x 32 icon file, a 256 x 256 bitmap file (a texture) and shell32.dll (a library of some
// hundred icons), each checked and loaded many times. Wall time per file, the median of several
// series. Prints BENCH lines; fails only when a sound file is not found sound.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "../core/PictureFiles.h"
#include "BenchClock.h"
#include "controls/Picture.h"
#include "win/Utf.h"
#include "win/Win.h"

namespace {

constexpr int kSeries = 7;

// Median wall time of one call in microseconds, over kSeries series of `reps` calls.
double MicrosPerCall(int reps, const std::function<void()>& call) {
  std::vector<double> series;
  for (int s = 0; s < kSeries; ++s) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i) call();
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
    series.push_back(took.count() / reps);
  }
  return ql::bench::Median(series);
}

std::string WriteTemp(const std::string& name, const ql::test::FileBytes& bytes) {
  wchar_t tmp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, tmp);
  const std::string path = ql::win::Narrow(tmp) + name + std::to_string(::GetCurrentProcessId());
  std::ofstream out(ql::win::Widen(path).c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace

int main() {
  wchar_t sys[MAX_PATH] = {};
  ::GetSystemDirectoryW(sys, MAX_PATH);
  const std::string shell32 = ql::win::Narrow(sys) + "\\shell32.dll";
  const std::string ico = WriteTemp("qlbench.ico", ql::test::IcoFile({ql::test::IconImage(32)}));
  const std::string bmp = WriteTemp("qlbench.bmp", ql::test::BmpFile(256, 256, 24));

  struct File {
    const char* what;
    std::string path;
    ql::PictureKind kind;
    int reps;
    std::function<void()> load;
  };
  const std::vector<File> files = {
      {"ico 32x32", ico, ql::PictureKind::Icon, 400,
       [&ico] {
         ql::win::Icon icon(static_cast<HICON>(
             ::LoadImageW(nullptr, ql::win::Widen(ico).c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE)));
       }},
      {"bmp 256x256x24", bmp, ql::PictureKind::Bitmap, 100,
       [&bmp] {
         ql::win::Bitmap b(
             static_cast<HBITMAP>(::LoadImageW(nullptr, ql::win::Widen(bmp).c_str(), IMAGE_BITMAP, 0, 0,
                                               LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
       }},
      {"shell32.dll", shell32, ql::PictureKind::Program, 20,
       [&shell32] {
         HICON large = nullptr;
         HICON small = nullptr;
         if (::ExtractIconExW(ql::win::Widen(shell32).c_str(), 0, &large, &small, 1) > 0) {
           ql::win::Icon a(large);
           ql::win::Icon b(small);
         }
       }},
  };
  int status = 0;
  for (const File& f : files) {
    if (ql::CheckPictureFile(f.path, f.kind) != ql::PictureFile::Sound) {
      std::printf("%s: not found sound\n", f.what);
      status = 1;
      continue;
    }
    const double check = MicrosPerCall(f.reps, [&f] { (void)ql::CheckPictureFile(f.path, f.kind); });
    if (f.kind == ql::PictureKind::Program) {
      const double other = MicrosPerCall(f.reps, [&f] { (void)ql::CheckPictureFile(f.path, f.kind, 50); });
      std::printf("BENCH picture check %s icon 50: %.1f us per file\n", f.what, other);
    }
    const double load = MicrosPerCall(f.reps, f.load);
    std::printf("BENCH picture check %s: %.1f us per file, the loader %.1f us (median of %d series of %d)\n",
                f.what, check, load, kSeries, f.reps);
  }
  ::DeleteFileW(ql::win::Widen(ico).c_str());
  ::DeleteFileW(ql::win::Widen(bmp).c_str());
  return status;
}
