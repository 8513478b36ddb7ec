// Checks of picture files against their own headers and their size, made before the system's
// loaders see them: those loaders trust the headers, and a damaged icon, bitmap or program file
// (cut short, a bad offset, a bad count, random bytes over its resources) can crash them inside
// the dock. A file that fails is unreadable, as if it were missing. Every read is bounds-checked:
// any bytes at all give an answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

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
  // The `n` bytes from `offset` on: a view into the source's own memory when it holds the file,
  // else into `copy`, filled from the file. None when they are not all there.
  virtual std::optional<ByteView> View(std::uint64_t offset, std::uint64_t n,
                                       std::vector<unsigned char>& copy) = 0;
};

// A file held in memory.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(ByteView bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  std::optional<ByteView> View(std::uint64_t offset, std::uint64_t n,
                               std::vector<unsigned char>& copy) override;

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

// A program, library or icon library, for the extraction of icon `index` (the index-th icon group
// in the resources' order, or the group numbered -index when negative). In the 32/64-bit format:
// headers and section table, and the groups the loaders may read (that one and the first, which
// the shell shows) with the icons they name: every directory on the way in bounds, every group
// naming icons that exist, every icon sound; the other resources are not looked at. In the 16-bit
// format: the resource table, all its groups and icons. A sound program may have no icons at all.
bool IsSoundIconProgram(ByteSource& file, std::int32_t index = 0);

// What a picture file is read as.
enum class PictureKind : std::uint8_t { Icon, Bitmap, Program };

// Whether `file` may be handed to the system's loader for that kind (a program's for icon `index`).
bool IsSoundPicture(PictureKind kind, ByteSource& file, std::int32_t index = 0);

}  // namespace ql
