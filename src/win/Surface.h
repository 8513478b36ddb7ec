// Off-screen 32-bit surfaces: every tile and face is composed on one, then copied in one step.
#pragma once

#include <utility>

#include "win/Handles.h"
#include "win/Win.h"

namespace ql::win {

// A top-down 32-bit DIB section; nothing for an empty size. `bits` receives its pixels.
inline Bitmap TopDownBitmap(int width, int height, void** bits = nullptr) {
  if (width <= 0 || height <= 0) return {};
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  return Bitmap(
      ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits != nullptr ? bits : &pixels, nullptr, 0));
}

// A top-down 32-bit DIB section selected into its own memory DC; the bitmap is put back out of
// the DC before either goes.
class Surface {
 public:
  Surface(int width, int height) : bitmap_(TopDownBitmap(width, height)) {
    if (!bitmap_) return;
    dc_.reset(::CreateCompatibleDC(nullptr));
    if (dc_) old_ = ::SelectObject(dc_.get(), bitmap_.get());
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface() {
    if (old_ != nullptr) ::SelectObject(dc_.get(), old_);
  }
  explicit operator bool() const { return old_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  // Gives the bitmap away, out of the DC.
  Bitmap Release() {
    if (old_ != nullptr) ::SelectObject(dc_.get(), old_);
    old_ = nullptr;
    return std::move(bitmap_);
  }

 private:
  Bitmap bitmap_;
  MemoryDc dc_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace ql::win
