// Checks of picture files against their own headers and their size, made before the system's
// loaders see them: those loaders trust the headers, and a damaged icon, bitmap or program file
// (cut short, a bad offset, a bad count, random bytes over its resources) can crash them inside
// the dock. A file that fails is unreadable, as if it were missing. Every read is bounds-checked:
// any bytes at all give an answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace ql {

using ByteView = std::span<const unsigned char>;

// The bytes of a file, read on demand: a program file is checked from its headers and its
// resources only, without reading the rest.
class ByteSource {
 public:
  ByteSource() = default;
  ByteSource(const ByteSource&) = delete;
  ByteSource& operator=(const ByteSource&) = delete;
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Fills `out` with the bytes from `offset` on; false when they are not all there.
  virtual bool Read(std::uint64_t offset, std::span<unsigned char> out) = 0;
};

// A file held in memory.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(ByteView bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, std::span<unsigned char> out) override;

 private:
  ByteView bytes_;
};

// Larger icon and bitmap files are not read at all (unreadable); the resources of a program file
// are read up to this size.
inline constexpr std::uint64_t kMaxPictureBytes = 64ULL * 1024 * 1024;

// One icon image, as an .ico file or an RT_ICON resource holds it: a PNG stream, or a
// BITMAPINFOHEADER with its palette, colour mask and transparency mask.
bool IsSoundIconImage(ByteView image);

// A whole .ico file: its directory and every image it names.
bool IsSoundIcoFile(ByteView file);

// A whole .bmp file: file header, info header, palette, and pixel data that fits (an RLE stream
// that stays inside the picture and the file).
bool IsSoundBmpFile(ByteView file);

// A program, library or icon library, for icon extraction. In the 32/64-bit format: headers and
// section table, the resource tree of the icon groups and icons; in the 16-bit format: the
// resource table. Every group names icons that exist, and every icon image is sound. A sound
// program may have no icons at all.
bool IsSoundIconProgram(ByteSource& file);

// What a picture file is read as.
enum class PictureKind : std::uint8_t { Icon, Bitmap, Program };

// Whether `file` may be handed to the system's loader for that kind.
bool IsSoundPicture(PictureKind kind, ByteSource& file);

}  // namespace ql
