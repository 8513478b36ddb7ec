// Test helpers: a memory DC over a 32-bit top-down DIB section whose pixels can be read back,
// and a reader for the pixels of any bitmap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "win/Handles.h"

namespace ql::test {

// The program's colours that the pixel tests look for.
namespace palette {
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kGrey = RGB(128, 128, 128);
inline constexpr COLORREF kSilver = RGB(192, 192, 192);
inline constexpr COLORREF kLabel = RGB(34, 36, 75);     // the label strips
inline constexpr COLORREF kMagenta = RGB(255, 0, 255);  // the transparent key
inline constexpr COLORREF kDark = RGB(85, 85, 85);      // the themed controls' dark grey
inline constexpr COLORREF kLight = RGB(170, 170, 170);  // and their light grey
}  // namespace palette

inline COLORREF FromBgra(std::uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }
inline std::uint32_t ToBgra(COLORREF c) {
  return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (static_cast<std::uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}

inline std::string ColorText(COLORREF c) {
  return "RGB(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
         std::to_string(GetBValue(c)) + ")";
}

// A W x H 32-bit DIB section selected into its own memory DC.
class Surface {
 public:
  Surface(int width, int height, COLORREF fill = RGB(0, 0, 0), int bitCount = 32)
      : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    old_ = ::SelectObject(dc_.get(), bitmap_.get());
    Fill(fill);
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface() { ::SelectObject(dc_.get(), old_); }

  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }

  void Fill(COLORREF c) {
    win::Brush brush(::CreateSolidBrush(c));
    const RECT r{0, 0, width_, height_};
    ::FillRect(dc_.get(), &r, brush.get());
  }
  void Set(int x, int y, COLORREF c) { ::SetPixelV(dc_.get(), x, y, c); }
  COLORREF At(int x, int y) const {
    ::GdiFlush();
    return ::GetPixel(dc_.get(), x, y) & 0xFFFFFF;
  }
  // A snapshot of every pixel, row by row.
  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> out;
    out.reserve(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) out.push_back(At(x, y));
    }
    return out;
  }

 private:
  int width_;
  int height_;
  win::MemoryDc dc_;
  win::Bitmap bitmap_;
  HGDIOBJ old_ = nullptr;
};

// Every pixel of a bitmap (any format), row by row from the top.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> data;
  COLORREF At(int x, int y) const {
    return data.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x));
  }
};

inline Pixels ReadPixels(HBITMAP bitmap) {
  Pixels p;
  BITMAP bm{};
  if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof bm, &bm) == 0) return p;
  p.width = bm.bmWidth;
  p.height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = p.width;
  bi.bmiHeader.biHeight = -p.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> raw(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
  win::MemoryDc dc(::CreateCompatibleDC(nullptr));
  ::GdiFlush();
  ::GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(p.height), raw.data(), &bi, DIB_RGB_COLORS);
  p.data.reserve(raw.size());
  for (std::uint32_t v : raw) p.data.push_back(FromBgra(v));
  return p;
}

// Live GDI objects of the process. Wine's GetGuiResources is a stub that returns 0; there the
// count comes from the handle table: a handle value without its high (generation) word names any
// live object in that slot, and the table has 65536 slots.
inline std::uint32_t GdiObjects() {
  const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (n != 0) return n;
  std::uint32_t live = 0;
  for (UINT_PTR slot = 1; slot < 0x10000; ++slot) {
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++live;
  }
  return live;
}
// Live USER objects, or 0 where the platform does not count them (Wine).
inline std::uint32_t UserObjects() { return ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS); }

}  // namespace ql::test
